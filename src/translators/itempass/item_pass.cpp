#include "itempass/item_pass.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "behaviour/exvars.h"
#include "behaviour/keyword_scan.h"
#include "behaviour/word_checks.h"
#include "itempass/item_line.h"
#include "itempass/item_statements.h"
#include "records/held_list.h"
#include "store/hash.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"

namespace {

// The record of a type that the list lacks, made where it is first met (line and column).
UnlistedType& unlisted_type(ItemLists& lists, std::string_view type, long line_number, std::size_t column)
{
    const auto [found, inserted] = lists.unlisted_type_index.emplace(type, lists.unlisted_types.size());
    if (inserted) lists.unlisted_types.push_back({std::string(type), line_number, column, 0, 0});
    return lists.unlisted_types[found->second];
}

} // namespace

std::size_t column_in_list(std::string_view list, std::size_t list_column, std::string_view name)
{
    if (list_column == 0) return 0;
    const std::size_t in_list = column_of(list, name);
    return in_list == 0 ? list_column : list_column + in_list - 1;
}

namespace {

// The seven lists, each spooling in blocks of that size.
template <std::size_t... Id>
std::array<ItemList, item_list_count> lists_of(std::size_t spool_block_size, std::index_sequence<Id...>)
{
    return {(static_cast<void>(Id), ItemList(spool_block_size))...};
}

} // namespace

ItemLists::ItemLists(std::size_t spool_block_size)
    : lists(lists_of(spool_block_size, std::make_index_sequence<item_list_count>()))
{
}

ItemListId list_of(const Item& item, bool held, bool holder)
{
    if (held) return ItemListId::contained;
    if (holder) return ItemListId::container;
    if (item.is(ObjectFlag::doorframe)) return ItemListId::doorframe;
    if (item.is(ObjectFlag::door)) return ItemListId::door;
    if (item.is(ObjectFlag::doorbutton)) return ItemListId::doorbutton;
    if (!item.is_known) return ItemListId::unlisted;
    return ItemListId::other;
}

namespace {

// Destroys the value and makes it anew in its place: an assignment of a new value would keep the
// room of the old value's texts.
template <typename Value>
void make_anew(Value& value)
{
    std::destroy_at(&value);
    std::construct_at(&value);
}

} // namespace

void ItemLists::release_line_work()
{
    make_anew(line);
}

namespace {

// The length from which a line's reused texts are given back once it is filed; shorter lines, nearly
// all of them, keep the room for the next.
constexpr std::size_t long_line = std::size_t{1} << 16;

// Gives the reused texts' room back when it goes, however the filing of a long line ends.
class LongLineRelease {
public:
    LongLineRelease(ItemLists& lists, const std::string& line) : lists_(lists), long_(line.size() >= long_line) {}
    LongLineRelease(const LongLineRelease&) = delete;
    LongLineRelease& operator=(const LongLineRelease&) = delete;
    ~LongLineRelease()
    {
        if (long_) lists_.release_line_work();
    }

private:
    ItemLists& lists_;
    bool long_;
};

} // namespace

void file_item_line(ItemLists& lists, const std::string& line, long line_number, const ItemSetting& setting,
                    Report& report, ItemWatcher* watcher)
{
    const LongLineRelease release(lists, line);
    // The leading tokens, the numbers and the type's name are read once, for the checks and the record.
    const LeadingTokens tokens = leading_tokens(line);
    // The identifier's place in the names' table is fetched from memory while the line is read.
    const ObjectNames::Key name = ObjectNames::key_of(tokens.tokens[0]);
    lists.names.prefetch(name);
    const std::optional<ItemPlace> place = place_of(tokens);
    const std::string* listed = nullptr;
    if (auto problem = item_line_problem(tokens, place, setting.levels, setting.names, listed)) {
        report.add_all(line_number, {*problem}, line);
        ++lists.skipped;
        return;
    }
    const auto off_grid = item_grid_problem(tokens, *place, setting.levels);
    if (off_grid) report.add_all(line_number, {*off_grid}, line);
    else if (auto problem = item_square_problem(tokens, *place, setting.levels)) report.add_all(line_number, {*problem}, line);
    LineWork& work = lists.line;
    Item& item = work.item;
    item.line_number = line_number;
    const bool held =
        make_item(item, line, tokens, place->x, place->y, place->level, listed, setting.offsets_x, setting.offsets_y,
                  lists.classes);
    Problems& problems = work.problems;
    problems.clear();
    // Every keyword group and check reads the keywords' places from this one pass over the line.
    KeywordScan& scan = work.scan;
    scan.read(line);
    // The targets and destination are recorded only for a watcher, so that a plain conversion keeps nothing more.
    LineLinks* links = nullptr;
    if (watcher) {
        links = &work.links;
        *links = {};
    }
    const bool holder = make_exvars(item, line, scan, setting.offsets_x, setting.offsets_y, setting.names, problems,
                                    setting.levels, work.properties, links);
    check_item_words(line, tokens, scan, item, problems, lists.word_memory);
    if (!problems.empty()) report.add_all(line_number, problems, line);
    if (off_grid) comment_out(item, CommentReason::off_grid);
    if (!item.is_known && !setting.names.names_type(item.object_name))
        ++unlisted_type(lists, item.object_name, line_number, column_of(line, tokens.tokens[1])).count;
    const Properties& properties = work.properties;
    for (std::size_t w = 0; w < properties.unlisted_count; ++w) {
        const std::string_view word = properties.unlisted_words[w];
        ++unlisted_type(lists, word, line_number, column_of(line, word)).lookups;
    }

    const std::size_t object = lists.filed++;
    // The facts count objects in 32 bits: an object beyond is refused, not numbered as another.
    if (object >= max_filed_objects) {
        --lists.filed;
        ++lists.skipped;
        report.add(MessageId::too_many_objects, line_number,
                   "the dump holds more objects than can be numbered; this one is left out");
        return;
    }
    const auto number = static_cast<FactNumber>(object);
    // Two objects written as one variable: the later assignment takes the name, so every
    // statement after it that names the variable reaches the later object only.
    if (const auto first = lists.names.add(name, line_number, held, item.comment_reason))
        report.add(MessageId::same_variable, line_number,
                   "object " + quoted(item.id) + " is written as " + std::string(engine::object_prefix) +
                       force_us(item.id) + ", like the object of line " + std::to_string(*first),
                   column_of(line, tokens.tokens[0]));
    if (!item.commented && !item.target_list.empty())
        lists.target_lists.push_back(
            {.object = number, .column = narrow_column(item.target_list_column), .list = lists.link_texts.keep(item.target_list)});
    if (!item.commented && !item.champion.empty())
        lists.mirror_champions.push_back(
            {.object = number, .column = narrow_column(item.champion_column), .list = lists.link_texts.keep(item.champion)});
    const ItemListId id = list_of(item, held, holder);
    ItemList& list = lists.list(id);
    // The statements that the linking finishes are records, read back one by one beside the facts.
    if (id == ItemListId::contained) list.spawns.append_record(item.spawn_text);
    else list.spawns.append(item.spawn_text);
    if (id == ItemListId::contained || id == ItemListId::doorbutton) list.exvars.append_record(item.exvar_text);
    else list.exvars.append(item.exvar_text);
    ++list.count;
    if (watcher) watcher->filed(object, item, id, line, work.links);

    // The identifier, followed by the list of what the object holds, and the list's length.
    const auto identifier_and_list = [&] {
        const std::string_view kept = lists.link_texts.keep(item.id, item.contents);
        if (item.contents.size() < long_list) return std::pair(kept, static_cast<ListLength>(item.contents.size()));
        lists.long_lists.emplace(kept.data(), item.contents.size());
        return std::pair(kept, long_list);
    };
    switch (id) {
    case ItemListId::contained: {
        const auto [kept, size] = identifier_and_list();
        if (size > 0)
            lists.held_contents_columns.push_back(
                {.held = static_cast<FactNumber>(lists.held_facts.size()), .column = narrow_column(item.contents_column)});
        lists.held_facts.push_back({.object = number,
                                    .reason = item.comment_reason,
                                    .contents_size = size,
                                    .id = kept.substr(0, item.id.size())});
        break;
    }
    case ItemListId::container: {
        const auto [kept, size] = identifier_and_list();
        lists.holder_facts.push_back({.object = number,
                                      .commented = item.commented,
                                      .contents_size = size,
                                      .contents_column = narrow_column(item.contents_column),
                                      .id = kept.substr(0, item.id.size())});
        break;
    }
    case ItemListId::door:
        lists.door_facts.push_back({.object = number, .x = item.x, .y = item.y, .level = item.level});
        break;
    case ItemListId::doorbutton:
        lists.button_facts.push_back({.object = number,
                                      .x = item.x,
                                      .y = item.y,
                                      .level = item.level,
                                      .commented = item.commented,
                                      .has_target = !item.target_list.empty()});
        break;
    default:
        break;
    }
}

namespace {

// The groups of the held objects that share one identifier, found through a flat table of
// places in held_facts (at most half full), and the later holders of each group. A group is known
// by its first held object, its head, whose facts keep what the group's linking finds while it
// runs in `link`: the first holder that names the group, or else, with link_to_held, the first
// held object that names it. So the linking needs no record of its own per group.
class HeldGroups {
public:
    explicit HeldGroups(std::deque<HeldFacts>& held) : held_(held), heads_(Traits{&held})
    {
        // Made large enough at once: the table never holds its old and new arrays together.
        heads_.reserve(held.size());
        for (std::size_t i = 0; i < held.size(); ++i) {
            FactNumber& slot = heads_.slot_for(held[i].id);
            if (slot != 0) continue;
            slot = static_cast<FactNumber>(i + 1);
            heads_.added();
        }
    }
    HeldGroups(const HeldGroups&) = delete;
    HeldGroups& operator=(const HeldGroups&) = delete;

    // The place in held_facts of the head of the identifier's group; no_fact when no held object has it.
    FactNumber find(std::string_view id) const
    {
        const FactNumber* slot = heads_.find(id);
        return slot ? *slot - 1 : no_fact;
    }

    // Records holder as naming the group of that head, at that column of its line. A holder that
    // names the group again gives a later holder twice; each_later_holder gives it once.
    void add_holder(FactNumber head, FactNumber holder, std::size_t column)
    {
        HeldFacts& facts = held_[head];
        if (facts.link == no_fact) facts.link = holder;
        else if (facts.link != holder) later_.push_back({head, {holder, narrow_column(column)}});
    }

    // Sorts the later holders by group, each group's in the order found (a counting sort).
    void sort_later_holders()
    {
        if (later_.empty()) return;
        later_start_.assign(held_.size() + 1, 0);
        for (const auto& [head, holder] : later_) ++later_start_[head + 1];
        for (std::size_t g = 0; g < held_.size(); ++g) later_start_[g + 1] += later_start_[g];
        std::vector<std::size_t> next(later_start_.begin(), later_start_.end() - 1);
        later_holders_.resize(later_.size());
        for (const auto& [head, holder] : later_) later_holders_[next[head]++] = holder;
        std::vector<std::pair<FactNumber, LaterHolder>>().swap(later_);
    }

    // Calls visit with every later holder of the group of that head, once each, in order, and the
    // column where it first names the group; after sort_later_holders. The holders were met in
    // order, so a holder found twice stands twice in a row.
    template <typename Visit>
    void each_later_holder(FactNumber head, Visit visit) const
    {
        if (later_start_.empty()) return;
        for (std::size_t i = later_start_[head]; i < later_start_[head + 1]; ++i)
            if (i == later_start_[head] || later_holders_[i].holder != later_holders_[i - 1].holder)
                visit(later_holders_[i].holder, later_holders_[i].column);
    }

private:
    // Head place + 1 per slot, 0 for a free slot.
    struct Traits {
        const std::deque<HeldFacts>* held;
        static bool is_free(FactNumber slot) { return slot == 0; }
        std::size_t hash_entry(FactNumber slot) const { return hash_key((*held)[slot - 1].id); }
        static std::size_t hash_key(std::string_view id) { return static_cast<std::size_t>(text_hash(id)); }
        bool holds(FactNumber slot, std::string_view id) const { return (*held)[slot - 1].id == id; }
    };

    // A holder that names a group after its first holder, and where it names it.
    struct LaterHolder {
        FactNumber holder = no_fact;
        NarrowColumn column = 0;
    };

    std::deque<HeldFacts>& held_;
    // At most half full: a held identifier looked up by every holder that names it.
    FlatTable<FactNumber, Traits, 2, 16> heads_;
    // (head, holder) as found, then the holders sorted by group with where each group's begin
    // (a count of later holders, which a dump of many objects may take past 32 bits).
    std::vector<std::pair<FactNumber, LaterHolder>> later_;
    std::vector<LaterHolder> later_holders_;
    std::vector<std::size_t> later_start_;
};

// Squares of the common grid as keys: a door button finds the door for which comp_xyz holds.
struct SameSquare {
    bool operator()(const GridPlace& one, const GridPlace& other) const { return comp_xyz(one, other); }
};

struct SquareHash {
    std::size_t operator()(const GridPlace& square) const
    {
        const auto part = [](int value) { return std::uint64_t{static_cast<unsigned int>(value)}; };
        return static_cast<std::size_t>(hash_mixed(hash_mixed(0, part(square.x) << 32 | part(square.y)), part(square.level)));
    }
};

// Links every held object to the first holder that names it; a held object without a holder
// becomes a comment and is reported, as is every later holder that names it.
void link_held_items(ItemLists& lists, Report& report)
{
    // Every identifier of a held object is looked up once per time a list names it, so the pass
    // takes time in proportion to the lists and the records, however they name each other.
    HeldGroups groups(lists.held_facts);
    // A name that no held object has is kept for the checks of names, with its column.
    const auto each_named_group = [&](const auto& holder, std::size_t list_column, auto visit) {
        if (holder.contents_size == 0) return;
        const std::string_view list = contents_of(lists, holder);
        for_each_held_identifier(list, [&](std::string_view named) {
            const std::size_t column = column_in_list(list, list_column, named);
            if (const FactNumber head = groups.find(named); head != no_fact) visit(head, column);
            else if (!named.empty())
                lists.unheld_names.push_back({lists.names.line_of(holder.object), column, holder.id, named});
        });
    };
    for (std::size_t i = 0; i < lists.holder_facts.size(); ++i)
        each_named_group(lists.holder_facts[i], lists.holder_facts[i].contents_column,
                         [&](FactNumber head, std::size_t column) { groups.add_holder(head, static_cast<FactNumber>(i), column); });
    // The columns stand in the order of the held objects, so one pass beside them finds each.
    std::size_t next_column = 0;
    for (std::size_t i = 0; i < lists.held_facts.size(); ++i) {
        const std::vector<HeldListColumn>& columns = lists.held_contents_columns;
        std::size_t list_column = 0;
        if (next_column < columns.size() && columns[next_column].held == i) list_column = columns[next_column++].column;
        each_named_group(lists.held_facts[i], list_column, [&](FactNumber head, std::size_t) {
            // Only while no holder names the group, and only the first such held object.
            HeldFacts& group = lists.held_facts[head];
            if (group.link != no_fact) return;
            group.link = static_cast<FactNumber>(i);
            group.link_to_held = true;
        });
    }
    groups.sort_later_holders();

    const auto comment_out = [](HeldFacts& held, CommentReason why) {
        held.comment_out = true;
        if (held.reason == CommentReason::none) held.reason = why;
    };
    for (std::size_t i = 0; i < lists.held_facts.size(); ++i) {
        HeldFacts& held = lists.held_facts[i];
        // The head comes first in its group: what it found holds for the group's later objects.
        const FactNumber head = groups.find(held.id);
        const HeldFacts& group = lists.held_facts[head];
        const long line = lists.names.line_of(held.object);
        if (group.link == no_fact || group.link_to_held) {
            if (group.link_to_held) {
                report.add(MessageId::held_by_held, line, "object " + quoted(held.id) + " is inside " +
                                       quoted(lists.held_facts[group.link].id) +
                                       ", which is itself held; it is written as a comment");
                held.link = group.link;
                held.link_to_held = true;
                comment_out(held, CommentReason::holder_held);
            } else {
                report.add(MessageId::no_holder, line,
                           "no object holds object " + quoted(held.id) + "; it is written as a comment");
                comment_out(held, CommentReason::no_holder);
            }
            continue;
        }
        held.link = group.link;
        const HolderFacts& holder = lists.holder_facts[held.link];
        if (holder.commented && held.reason == CommentReason::none) comment_out(held, CommentReason::holder_commented);
        // Its later holders are reported once, at the head, however many objects the group has.
        if (i != head) continue;
        groups.each_later_holder(head, [&](FactNumber later, std::size_t column) {
            const HolderFacts& other = lists.holder_facts[later];
            report.add(MessageId::held_twice, lists.names.line_of(other.object),
                       "object " + quoted(held.id) + " is already held by " + quoted(holder.id) + "; " + quoted(other.id) +
                           " does not hold it",
                       column);
        });
    }
}

// The doors of one square: the last, which a door button there opens, how many, and, for a
// square of several doors with a button, the first few doors' names.
struct SquareDoors {
    FactNumber last = no_fact;
    FactNumber count = 0;
    bool named = false;
    FactNumber listed = 0;
    std::string names;
};

// At most this many doors of one square are named in a message.
constexpr FactNumber named_doors = 4;

// Links every door button to the last door on its square; a button whose square holds several
// doors is reported, with them.
void link_door_buttons(ItemLists& lists, Report& report)
{
    std::unordered_map<GridPlace, SquareDoors, SquareHash, SameSquare> doors;
    const auto square_of = [](const auto& facts) { return GridPlace{facts.x, facts.y, facts.level}; };
    for (std::size_t i = 0; i < lists.door_facts.size(); ++i) {
        SquareDoors& square = doors[square_of(lists.door_facts[i])];
        square.last = static_cast<FactNumber>(i);
        ++square.count;
    }
    bool several = false;
    for (auto& button : lists.button_facts) {
        auto found = doors.find(square_of(button));
        if (found == doors.end()) continue;
        button.link = found->second.last;
        if (found->second.count > 1) several = found->second.named = true;
    }
    if (!several) return;
    for (const DoorFacts& door : lists.door_facts) {
        SquareDoors& square = doors[square_of(door)];
        if (!square.named || square.listed == named_doors) continue;
        square.names += (square.listed++ == 0 ? "" : ", ") + quoted(lists.names.id_of(door.object));
    }
    for (const auto& button : lists.button_facts) {
        if (button.link == no_fact) continue;
        const SquareDoors& square = doors[square_of(button)];
        if (square.count < 2) continue;
        const std::string more = square.count > named_doors
                                      ? " and " + std::to_string(square.count - named_doors) + " more"
                                      : std::string();
        report.add(MessageId::button_doors, lists.names.line_of(button.object),
                       "the door button " + quoted(lists.names.id_of(button.object)) + " shares its square with " +
                           std::to_string(square.count) + " doors (" + square.names + more +
                           "); it opens the last of them, " +
                           quoted(lists.names.id_of(lists.door_facts[button.link].object)));
    }
}

// Reports, at its first item line, every dump type that the object name list does not name, with
// how many objects of it are written as comments.
void report_unlisted_types(const ItemLists& lists, Report& report)
{
    const auto counted = [](long count, std::string_view one, std::string_view many) {
        return std::to_string(count) + " " + std::string(count == 1 ? one : many);
    };
    for (const auto& unlisted : lists.unlisted_types) {
        std::string text = "the object name list does not name the type " + quoted(unlisted.type) + ": ";
        if (unlisted.count > 0)
            text += counted(unlisted.count, "object of it is written as a comment", "objects of it are written as comments");
        if (unlisted.count > 0 && unlisted.lookups > 0) text += ", and ";
        if (unlisted.lookups > 0)
            text += counted(unlisted.lookups, "line names", "lines name") +
                    " it as a missile, a creature or an OPBY=( object, where it is written as it stands";
        report.add(MessageId::unlisted_type, unlisted.first_line, text, unlisted.column);
    }
}

// Writes a held object's spawn statement: its spooled text, finished with the link to its holder,
// and as a comment when the linking said so.
void write_held_spawn(const HeldFacts& held, std::string_view spawn, const ItemLists& lists, std::ostream& out)
{
    const bool linked = held.link != no_fact && !held.link_to_held;
    if (!linked && !held.comment_out) {
        out << spawn;
        return;
    }
    std::string text(spawn);
    if (linked) make_carry(text, lists.holder_facts[held.link].id);
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
    link_door_buttons(lists, report);
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
        const std::size_t linked = held.link_to_held ? object_of(lists.held_facts, held.link)
                                                     : object_of(lists.holder_facts, held.link);
        result.held.push_back({.object = held.object, .linked = linked, .reason = held.reason});
    }
    result.buttons.reserve(lists.button_facts.size());
    for (const auto& button : lists.button_facts)
        result.buttons.push_back({.object = button.object, .linked = object_of(lists.door_facts, button.link)});
    return result;
}

void write_items(ItemLists& lists, std::ostream& out, ItemWatcher* watcher)
{
    // The spawn statements of the lists in the order of their ids; the held objects' are finished
    // with their links.
    for (std::size_t i = 0; i < item_list_count; ++i) {
        const auto id = static_cast<ItemListId>(i);
        if (id != ItemListId::contained) {
            lists.list(id).spawns.write_to(out);
            continue;
        }
        TextSpool::Reader spawns(lists.list(id).spawns);
        for (const auto& held : lists.held_facts) write_held_spawn(held, spawns.next_record(), lists, out);
    }
    // Then the property statements of all but the door frames (which have none of their own), the
    // door buttons' and held objects' as the linking finished them.
    for (std::size_t i = 0; i < item_list_count; ++i) {
        const auto id = static_cast<ItemListId>(i);
        if (id == ItemListId::doorframe) continue;
        if (id == ItemListId::doorbutton) {
            TextSpool::Reader exvars(lists.list(id).exvars);
            for (const auto& button : lists.button_facts) {
                const std::string_view exvar = exvars.next_record();
                if (button.link == no_fact) write_finished(exvar, button.object, out, watcher);
                else
                    write_finished(make_doorb(lists.names.id_of(button.object),
                                              lists.names.id_of(lists.door_facts[button.link].object),
                                              button.commented),
                                   button.object, out, watcher);
            }
        } else if (id == ItemListId::contained) {
            TextSpool::Reader exvars(lists.list(id).exvars);
            for (const auto& held : lists.held_facts) {
                const std::string_view exvar = exvars.next_record();
                if (held.comment_out) write_finished(commented_out(exvar), held.object, out, watcher);
                else write_finished(exvar, held.object, out, watcher);
            }
        } else {
            lists.list(id).exvars.write_to(out);
        }
    }
}

ObjectTally object_tally(const ItemLists& lists)
{
    ObjectTally tally;
    tally.skipped = lists.skipped;
    for (std::size_t object = 0; object < lists.filed; ++object)
        ++(lists.names.reason_of(object) == CommentReason::none ? tally.written : tally.commented);
    return tally;
}
