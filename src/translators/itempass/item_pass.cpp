#include "itempass/item_pass.h"

#include <algorithm>
#include <functional>

#include "behaviour/exvars.h"
#include "behaviour/word_checks.h"
#include "itempass/item_line.h"
#include "records/held_list.h"
#include "text/lua_text.h"
#include "text/normalise.h"

namespace {

void count_unlisted_type(ItemLists& lists, const std::string& type, long line_number)
{
    const auto [found, inserted] = lists.unlisted_type_index.emplace(type, lists.unlisted_types.size());
    if (inserted) lists.unlisted_types.push_back({type, line_number, 0});
    ++lists.unlisted_types[found->second].count;
}

} // namespace

ItemList& ItemLists::list(ItemListId id)
{
    switch (id) {
    case ItemListId::doorframe: return doorframe_items;
    case ItemListId::door: return door_items;
    case ItemListId::doorbutton: return doorbutton_items;
    case ItemListId::container: return container_items;
    case ItemListId::contained: return contained_items;
    case ItemListId::other: return other_items;
    case ItemListId::unlisted: return unlisted_items;
    }
    return other_items;
}

ItemListId list_of(const Item& item, bool held, bool holder)
{
    if (held) return ItemListId::contained;
    if (holder) return ItemListId::container;
    if (item.is_doorframe) return ItemListId::doorframe;
    if (item.is_door) return ItemListId::door;
    if (item.is_doorbutton) return ItemListId::doorbutton;
    if (!item.is_known) return ItemListId::unlisted;
    return ItemListId::other;
}

void file_item_line(ItemLists& lists, const std::string& line, long line_number, const ItemSetting& setting,
                    Report& report, ItemWatcher* watcher)
{
    const LeadingTokens tokens = leading_tokens(line);
    if (auto problem = item_line_problem(tokens, setting.levels, setting.names)) {
        report.error(line_number, *problem);
        return;
    }
    const auto off_grid = item_grid_problem(tokens, setting.levels);
    if (off_grid) report.error(line_number, *off_grid);
    else if (auto problem = item_square_problem(tokens, setting.levels)) report.warning(line_number, *problem);
    Item item;
    item.line_number = line_number;
    const bool held = item.make_item(line, setting.offsets_x, setting.offsets_y, setting.names);
    Problems problems;
    item.links = watcher ? watcher->links_of_line(line_number, line) : nullptr;
    const bool holder =
        make_exvars(item, line, setting.offsets_x, setting.offsets_y, setting.names, problems, &setting.levels);
    item.links = nullptr;
    check_item_words(line, tokens, item, problems, lists.word_memory);
    report.add_all(line_number, problems);
    if (off_grid) item.comment_out(CommentReason::off_grid);
    if (!item.is_known && !setting.names.names_type(item.object_name))
        count_unlisted_type(lists, item.object_name, line_number);

    const std::size_t object = lists.filed++;
    // The facts count objects in 32 bits: an object beyond is refused, not numbered as another.
    if (object >= max_filed_objects) {
        --lists.filed;
        report.error(line_number, "the dump holds more objects than can be numbered; this one is left out");
        return;
    }
    const auto number = static_cast<FactNumber>(object);
    // Two objects written as one variable: the later assignment takes the name, so every
    // statement after it that names the variable reaches the later object only.
    if (const auto first = lists.names.add(item.id, line_number, held, item.comment_reason))
        report.warning(line_number, "object " + quoted(item.id) + " is written as TVK_" + force_us(item.id) +
                                        ", like the object of line " + std::to_string(*first));
    if (!item.commented && !item.target_list.empty())
        lists.target_lists.push_back(
            {.object = number, .list = lists.link_texts.keep(item.target_list)});
    if (!item.commented && !item.champion.empty())
        lists.mirror_champions.push_back(
            {.object = number, .list = lists.link_texts.keep(item.champion)});
    const ItemListId id = list_of(item, held, holder);
    ItemList& list = lists.list(id);
    // The statements that the linking finishes are records, read back one by one beside the facts.
    if (id == ItemListId::contained) list.spawns.append_record(item.spawn_text);
    else list.spawns.append(item.spawn_text);
    if (id == ItemListId::contained || id == ItemListId::doorbutton) list.exvars.append_record(item.exvar_text);
    else list.exvars.append(item.exvar_text);
    ++list.count;
    if (watcher) watcher->filed(object, item, id);

    switch (id) {
    case ItemListId::contained:
        lists.held_facts.push_back({.object = number,
                                    .reason = item.comment_reason,
                                    .id = lists.link_texts.keep(item.id),
                                    .contents = lists.link_texts.keep(item.contents)});
        break;
    case ItemListId::container:
        lists.holder_facts.push_back({.object = number,
                                      .commented = item.commented,
                                      .id = lists.link_texts.keep(item.id),
                                      .contents = lists.link_texts.keep(item.contents)});
        break;
    case ItemListId::door:
        lists.door_facts.push_back(
            {.object = number, .x = item.x, .y = item.y, .level = item.level, .id = lists.link_texts.keep(item.id)});
        break;
    case ItemListId::doorbutton:
        lists.button_facts.push_back({.object = number,
                                      .x = item.x,
                                      .y = item.y,
                                      .level = item.level,
                                      .commented = item.commented,
                                      .has_target = !item.target_list.empty(),
                                      .id = lists.link_texts.keep(item.id)});
        break;
    default:
        break;
    }
}

namespace {

// The held objects that share one identifier, and the records whose lists name it.
struct HeldGroup {
    // Its first record in held_facts, which gives the identifier.
    FactNumber first_held = no_fact;
    // The first holder in holder_facts that names it, and the last one (to take each once).
    FactNumber first_holder = no_fact;
    FactNumber last_holder = no_fact;
    // The first record of held_facts that names it: a holder that is itself held.
    FactNumber held_holder = no_fact;
    // True once its later holders were reported: for the group's first held object only, so
    // that many objects of one identifier named by many holders give one report per holder.
    bool later_holders_reported = false;
};

// The groups of the held objects, found by identifier through a flat table of group numbers
// (at most half full), and the later holders of each group. Places and group numbers are facts'
// numbers, in 32 bits: there are no more of either than objects.
class HeldGroups {
public:
    explicit HeldGroups(const std::deque<HeldFacts>& held) : slots_(Traits{&held, &groups_})
    {
        // Room for a group per held object at once: the pages of groups that never come are never
        // touched, and neither the groups nor the table move while they fill.
        groups_.reserve(held.size());
        slots_.reserve(held.size());
        for (std::size_t i = 0; i < held.size(); ++i) {
            FactNumber& slot = slots_.slot_for(held[i].id);
            if (slot != 0) continue;
            groups_.push_back({.first_held = static_cast<FactNumber>(i)});
            slot = static_cast<FactNumber>(groups_.size());
            slots_.added();
        }
    }
    HeldGroups(const HeldGroups&) = delete;
    HeldGroups& operator=(const HeldGroups&) = delete;

    // The group of the identifier; none when no held object has it.
    HeldGroup* find(std::string_view id)
    {
        const FactNumber* slot = slots_.find(id);
        return slot ? &groups_[*slot - 1] : nullptr;
    }

    // Records holder as naming the group, once however often its list names the identifier.
    void add_holder(HeldGroup& group, FactNumber holder)
    {
        if (group.first_holder == no_fact) group.first_holder = holder;
        else if (group.last_holder != holder) later_.push_back({number_of(group), holder});
        group.last_holder = holder;
    }

    // Sorts the later holders by group, each group's in the order found (a counting sort).
    void sort_later_holders()
    {
        if (later_.empty()) return;
        // Sized to the later holders' count, which a dump of many objects may take past 32 bits.
        later_start_.assign(groups_.size() + 1, 0);
        for (const auto& [group, holder] : later_) ++later_start_[group + 1];
        for (std::size_t g = 0; g < groups_.size(); ++g) later_start_[g + 1] += later_start_[g];
        std::vector<std::size_t> next(later_start_.begin(), later_start_.end() - 1);
        later_holders_.resize(later_.size());
        for (const auto& [group, holder] : later_) later_holders_[next[group]++] = holder;
        std::vector<std::pair<FactNumber, FactNumber>>().swap(later_);
    }

    // Calls visit with every later holder of the group, in order; after sort_later_holders.
    template <typename Visit>
    void each_later_holder(const HeldGroup& group, Visit visit) const
    {
        if (later_start_.empty()) return;
        const FactNumber g = number_of(group);
        for (std::size_t i = later_start_[g]; i < later_start_[g + 1]; ++i) visit(later_holders_[i]);
    }

private:
    FactNumber number_of(const HeldGroup& group) const { return static_cast<FactNumber>(&group - groups_.data()); }

    // Group number + 1 per slot, 0 for a free slot; the identifier is that of the group's first held object.
    struct Traits {
        const std::deque<HeldFacts>* held;
        const std::vector<HeldGroup>* groups;
        static bool is_free(FactNumber slot) { return slot == 0; }
        std::size_t hash_entry(FactNumber slot) const { return hash_key(id_of(slot)); }
        static std::size_t hash_key(std::string_view id) { return std::hash<std::string_view>{}(id); }
        bool holds(FactNumber slot, std::string_view id) const { return id_of(slot) == id; }
        std::string_view id_of(FactNumber slot) const { return (*held)[(*groups)[slot - 1].first_held].id; }
    };

    std::vector<HeldGroup> groups_;
    // At most half full: a held identifier looked up by every holder that names it.
    FlatTable<FactNumber, Traits, 2, 16> slots_;
    // (group, holder) as found, then the holders sorted by group with where each group's begin.
    std::vector<std::pair<FactNumber, FactNumber>> later_;
    std::vector<FactNumber> later_holders_;
    std::vector<std::size_t> later_start_;
};

// A square of the common grid, as a key.
struct Square {
    int x;
    int y;
    int level;
    bool operator==(const Square&) const = default;
};

struct SquareHash {
    std::size_t operator()(const Square& square) const
    {
        const auto part = [](int value) { return static_cast<std::size_t>(static_cast<unsigned int>(value)); };
        return (part(square.x) * 0x9E3779B1u) ^ (part(square.y) * 0x85EBCA77u) ^ (part(square.level) * 0xC2B2AE3Du);
    }
};

// Links every held object to the first holder that names it; a held object without a holder
// becomes a comment and is reported, as is every later holder that names it.
void link_held_items(ItemLists& lists, Report& report)
{
    // Every identifier of a held object is looked up once per time a list names it, so the pass
    // takes time in proportion to the lists and the records, however they name each other.
    HeldGroups groups(lists.held_facts);
    // A name that no held object has is kept for the checks of names.
    const auto each_named_group = [&](const auto& holder, auto visit) {
        if (holder.contents.empty()) return;
        for_each_held_identifier(holder.contents, [&](std::string_view named) {
            if (HeldGroup* group = groups.find(named)) visit(*group);
            else if (!named.empty())
                lists.unheld_names.push_back({lists.names.line_of(holder.object), holder.id, named});
        });
    };
    for (std::size_t i = 0; i < lists.holder_facts.size(); ++i)
        each_named_group(lists.holder_facts[i],
                         [&](HeldGroup& group) { groups.add_holder(group, static_cast<FactNumber>(i)); });
    for (std::size_t i = 0; i < lists.held_facts.size(); ++i)
        each_named_group(lists.held_facts[i], [&](HeldGroup& group) {
            if (group.held_holder == no_fact) group.held_holder = static_cast<FactNumber>(i);
        });
    groups.sort_later_holders();

    const auto comment_out = [](HeldFacts& held, CommentReason why) {
        held.comment_out = true;
        if (held.reason == CommentReason::none) held.reason = why;
    };
    for (auto& held : lists.held_facts) {
        HeldGroup& group = *groups.find(held.id);
        const long line = lists.names.line_of(held.object);
        if (group.first_holder == no_fact) {
            if (group.held_holder != no_fact) {
                report.error(line, "object " + quoted(held.id) + " is inside " +
                                                 quoted(lists.held_facts[group.held_holder].id) +
                                                 ", which is itself held; it is written as a comment");
                held.held_holder = group.held_holder;
                comment_out(held, CommentReason::holder_held);
            } else {
                report.error(line,
                             "no object holds object " + quoted(held.id) + "; it is written as a comment");
                comment_out(held, CommentReason::no_holder);
            }
            continue;
        }
        const HolderFacts& holder = lists.holder_facts[group.first_holder];
        held.link = group.first_holder;
        if (holder.commented && held.reason == CommentReason::none) comment_out(held, CommentReason::holder_commented);
        if (group.later_holders_reported) continue;
        group.later_holders_reported = true;
        groups.each_later_holder(group, [&](FactNumber later) {
            const HolderFacts& other = lists.holder_facts[later];
            report.error(lists.names.line_of(other.object), "object " + quoted(held.id) + " is already held by " +
                                              quoted(holder.id) + "; " + quoted(other.id) +
                                              " does not hold it");
        });
    }
}

// Links every door button to the last door on its square.
void link_door_buttons(ItemLists& lists)
{
    std::unordered_map<Square, FactNumber, SquareHash> last_door;
    for (std::size_t i = 0; i < lists.door_facts.size(); ++i) {
        const DoorFacts& door = lists.door_facts[i];
        last_door[{door.x, door.y, door.level}] = static_cast<FactNumber>(i);
    }
    for (auto& button : lists.button_facts) {
        auto found = last_door.find({button.x, button.y, button.level});
        if (found != last_door.end()) button.link = found->second;
    }
}

// Reports, at its first item line, every dump type that the object name list does not name, with
// how many objects of it are written as comments.
void report_unlisted_types(const ItemLists& lists, Report& report)
{
    for (const auto& unlisted : lists.unlisted_types) {
        const bool one = unlisted.count == 1;
        report.warning(unlisted.first_line, "the object name list does not name the type " + quoted(unlisted.type) +
                                                ": " + std::to_string(unlisted.count) + (one ? " object" : " objects") +
                                                " of it " + (one ? "is" : "are") + " written as " +
                                                (one ? "a comment" : "comments"));
    }
}

// Writes a held object's spawn statement: its spooled text, finished with the link to its holder,
// and as a comment when the linking said so.
void write_held_spawn(const HeldFacts& held, std::string_view spawn, const ItemLists& lists, std::ostream& out)
{
    if (held.link == no_fact && !held.comment_out) {
        out << spawn;
        return;
    }
    std::string text(spawn);
    if (held.link != no_fact) text += holder_link(lists.holder_facts[held.link].id);
    out << (held.comment_out ? commented_out(text) : text);
}

// Writes property statements that the linking finished, and tells the watcher of them.
void write_finished(std::string_view text, std::size_t object, std::ostream& out, ItemWatcher* watcher)
{
    out << text;
    if (watcher) watcher->finished_properties(object, text);
}

} // namespace

void link_items(ItemLists& lists, Report& report)
{
    link_held_items(lists, report);
    link_door_buttons(lists);
    report_unlisted_types(lists, report);
    for (const auto& held : lists.held_facts)
        if (held.comment_out) lists.names.set_reason(held.object, held.reason);
}

LinkResult link_result(const ItemLists& lists)
{
    const auto object_of = [](const auto& facts, FactNumber place) -> std::size_t {
        return place == no_fact ? no_object : facts[place].object;
    };
    LinkResult result;
    result.held.reserve(lists.held_facts.size());
    for (const auto& held : lists.held_facts) {
        const std::size_t linked = held.link != no_fact ? object_of(lists.holder_facts, held.link)
                                                        : object_of(lists.held_facts, held.held_holder);
        result.held.push_back({.object = held.object, .linked = linked, .reason = held.reason});
    }
    result.buttons.reserve(lists.button_facts.size());
    for (const auto& button : lists.button_facts)
        result.buttons.push_back({.object = button.object, .linked = object_of(lists.door_facts, button.link)});
    return result;
}

void write_items(ItemLists& lists, std::ostream& out, ItemWatcher* watcher)
{
    lists.doorframe_items.spawns.write_to(out);
    lists.door_items.spawns.write_to(out);
    lists.doorbutton_items.spawns.write_to(out);
    lists.container_items.spawns.write_to(out);
    {
        TextSpool::Reader spawns(lists.contained_items.spawns);
        for (const auto& held : lists.held_facts) write_held_spawn(held, spawns.next_record(), lists, out);
    }
    lists.other_items.spawns.write_to(out);
    lists.unlisted_items.spawns.write_to(out);

    lists.door_items.exvars.write_to(out);
    {
        TextSpool::Reader exvars(lists.doorbutton_items.exvars);
        for (const auto& button : lists.button_facts) {
            const std::string_view exvar = exvars.next_record();
            if (button.link == no_fact) write_finished(exvar, button.object, out, watcher);
            else write_finished(door_link(button.id, lists.door_facts[button.link].id, button.commented), button.object, out, watcher);
        }
    }
    lists.container_items.exvars.write_to(out);
    {
        TextSpool::Reader exvars(lists.contained_items.exvars);
        for (const auto& held : lists.held_facts) {
            const std::string_view exvar = exvars.next_record();
            if (held.comment_out) write_finished(commented_out(exvar), held.object, out, watcher);
            else write_finished(exvar, held.object, out, watcher);
        }
    }
    lists.other_items.exvars.write_to(out);
    lists.unlisted_items.exvars.write_to(out);
}
