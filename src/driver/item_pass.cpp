#include "driver/item_pass.h"

#include <algorithm>
#include <cstring>

#include "items/item_line.h"
#include "text/normalise.h"

namespace {

// Texts are kept in blocks of this size; a longer text gets a block of its own.
constexpr std::size_t text_block_size = std::size_t{1} << 20;

void count_unlisted_type(ItemLists& lists, const std::string& type, long line_number)
{
    const auto [found, inserted] = lists.unlisted_type_index.emplace(type, lists.unlisted_types.size());
    if (inserted) lists.unlisted_types.push_back({type, line_number, 0});
    ++lists.unlisted_types[found->second].count;
}

} // namespace

std::string_view TextStore::keep(std::string_view text)
{
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < text.size()) {
        Block block;
        block.capacity = std::max(text_block_size, text.size());
        // Not zeroed: the system gives the pages memory only once they are written.
        block.bytes.reset(new char[block.capacity]);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    char* start = block.bytes.get() + block.used;
    if (!text.empty()) std::memcpy(start, text.data(), text.size());
    block.used += text.size();
    return {start, text.size()};
}

void TextStore::write_to(std::ostream& out) const
{
    for (const auto& block : blocks_) out.write(block.bytes.get(), static_cast<std::streamsize>(block.used));
}

namespace {

// The variable of an entry: its text up to the "=" that follows it in the kept statement.
std::string_view entry_variable(const char* variable)
{
    std::size_t size = 0;
    while (variable[size] != '=') ++size;
    return {variable, size};
}

std::size_t variable_hash(std::string_view variable) { return std::hash<std::string_view>{}(variable); }

// True when the kept variable is the one given; reads the kept text no further than its "=".
bool same_variable(const char* kept, std::string_view variable)
{
    for (std::size_t i = 0; i < variable.size(); ++i)
        if (kept[i] != variable[i]) return false;
    return kept[variable.size()] == '=';
}

} // namespace

std::size_t VariableLines::slot_of(std::string_view variable) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = variable_hash(variable) & mask;
    while (slots_[slot].variable && !same_variable(slots_[slot].variable, variable)) slot = (slot + 1) & mask;
    return slot;
}

void VariableLines::grow()
{
    std::vector<Entry> old(std::max<std::size_t>(1024, slots_.size() * 2));
    old.swap(slots_);
    for (const Entry& entry : old)
        if (entry.variable) slots_[slot_of(entry_variable(entry.variable))] = entry;
}

std::optional<long> VariableLines::first_line_or_add(std::string_view variable, long line)
{
    // At most three quarters of the slots are taken, so a search always ends at a free one.
    if ((size_ + 1) * 4 > slots_.size() * 3) grow();
    Entry& entry = slots_[slot_of(variable)];
    if (entry.variable) return entry.line;
    entry = {variable.data(), line};
    ++size_;
    return std::nullopt;
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
    const bool off_map = item.make_item(line, setting.offsets_x, setting.offsets_y, setting.names);
    Problems problems;
    item.links = watcher ? watcher->links_of_line(line_number, line) : nullptr;
    const bool holder =
        item.make_exvars(line, setting.offsets_x, setting.offsets_y, setting.names, problems, &setting.levels);
    item.links = nullptr;
    report.add_all(line_number, problems);
    if (off_grid) item.comment_out();
    if (!item.is_known && !setting.names.names_type(item.object_name))
        count_unlisted_type(lists, item.object_name, line_number);

    ItemList& list = off_map             ? lists.contained_items
                     : holder            ? lists.container_items
                     : item.is_doorframe ? lists.doorframe_items
                     : item.is_door      ? lists.door_items
                     : item.is_doorbutton ? lists.doorbutton_items
                     : !item.is_known    ? lists.unlisted_items
                                         : lists.other_items;
    const std::string_view spawn = list.spawns.keep(item.spawn_text);
    const std::string_view exvar = list.exvars.keep(item.exvar_text);
    ++list.count;
    if (watcher) {
        const FiledList filed = &list == &lists.contained_items    ? FiledList::held
                                : &list == &lists.container_items  ? FiledList::holder
                                : &list == &lists.door_items       ? FiledList::door
                                : &list == &lists.doorbutton_items ? FiledList::doorbutton
                                                                   : FiledList::other;
        watcher->filed(item, filed);
    }

    // Two objects written as one variable: the later assignment takes the name, so every
    // statement after it that names the variable reaches the later object only. The variable
    // stands in the kept spawn statement, between "TVK_" and "=".
    if (!item.commented) {
        const std::string_view variable = spawn.substr(4, spawn.find('=') - 4);
        if (const auto first = lists.variable_lines.first_line_or_add(variable, line_number))
            report.warning(line_number, "object " + quoted(item.id) + " is written as TVK_" + std::string(variable) +
                                            ", like the object of line " + std::to_string(*first));
    }

    if (&list == &lists.contained_items) {
        lists.held_facts.push_back({spawn, exvar, lists.link_texts.keep(item.id), lists.link_texts.keep(item.contents),
                                    line_number, no_link, item.commented, false});
    } else if (&list == &lists.container_items) {
        lists.holder_facts.push_back(
            {lists.link_texts.keep(item.id), lists.link_texts.keep(item.contents), line_number, item.commented});
    } else if (&list == &lists.door_items) {
        lists.door_facts.push_back({lists.link_texts.keep(item.id), item.x, item.y, item.level});
    } else if (&list == &lists.doorbutton_items) {
        lists.button_facts.push_back(
            {exvar, lists.link_texts.keep(item.id), item.x, item.y, item.level, item.commented, no_link});
    }
}

namespace {

// The held objects that share one identifier, and the records whose lists name it.
struct HeldGroup {
    // Its first record in held_facts, which gives the identifier.
    std::size_t first_held = no_link;
    // The first holder in holder_facts that names it, and the last one (to take each once).
    std::size_t first_holder = no_link;
    std::size_t last_holder = no_link;
    // The first record of held_facts that names it: a holder that is itself held.
    std::size_t held_holder = no_link;
    // True once its later holders were reported: for the group's first held object only, so
    // that many objects of one identifier named by many holders give one report per holder.
    bool later_holders_reported = false;
};

// The groups of the held objects, found by identifier through a flat table of group numbers
// (at most half full), and the later holders of each group.
class HeldGroups {
public:
    explicit HeldGroups(const std::deque<HeldFacts>& held) : held_(held)
    {
        std::size_t size = 16;
        while (size < 2 * held.size()) size *= 2;
        slots_.assign(size, 0);
        for (std::size_t i = 0; i < held.size(); ++i) {
            std::size_t& slot = slots_[slot_of(held[i].id)];
            if (slot != 0) continue;
            groups_.push_back({i});
            slot = groups_.size();
        }
    }

    // The group of the identifier; none when no held object has it.
    HeldGroup* find(std::string_view id)
    {
        const std::size_t slot = slots_[slot_of(id)];
        return slot == 0 ? nullptr : &groups_[slot - 1];
    }

    // Records holder as naming the group, once however often its list names the identifier.
    void add_holder(HeldGroup& group, std::size_t holder)
    {
        if (group.first_holder == no_link) group.first_holder = holder;
        else if (group.last_holder != holder) later_.push_back({number_of(group), holder});
        group.last_holder = holder;
    }

    // Sorts the later holders by group, each group's in the order found (a counting sort).
    void sort_later_holders()
    {
        if (later_.empty()) return;
        later_start_.assign(groups_.size() + 1, 0);
        for (const auto& [group, holder] : later_) ++later_start_[group + 1];
        for (std::size_t g = 0; g < groups_.size(); ++g) later_start_[g + 1] += later_start_[g];
        std::vector<std::size_t> next(later_start_.begin(), later_start_.end() - 1);
        later_holders_.resize(later_.size());
        for (const auto& [group, holder] : later_) later_holders_[next[group]++] = holder;
        std::vector<std::pair<std::size_t, std::size_t>>().swap(later_);
    }

    // Calls visit with every later holder of the group, in order; after sort_later_holders.
    template <typename Visit>
    void each_later_holder(const HeldGroup& group, Visit visit) const
    {
        if (later_start_.empty()) return;
        const std::size_t g = number_of(group);
        for (std::size_t i = later_start_[g]; i < later_start_[g + 1]; ++i) visit(later_holders_[i]);
    }

private:
    std::size_t number_of(const HeldGroup& group) const { return static_cast<std::size_t>(&group - groups_.data()); }

    std::size_t slot_of(std::string_view id) const
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = std::hash<std::string_view>{}(id) & mask;
        while (slots_[slot] != 0 && held_[groups_[slots_[slot] - 1].first_held].id != id) slot = (slot + 1) & mask;
        return slot;
    }

    const std::deque<HeldFacts>& held_;
    // Group number + 1 per slot; 0 for a free slot.
    std::vector<std::size_t> slots_;
    std::vector<HeldGroup> groups_;
    // (group, holder) as found, then the holders sorted by group with where each group's begin.
    std::vector<std::pair<std::size_t, std::size_t>> later_;
    std::vector<std::size_t> later_holders_;
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

} // namespace

void link_held_items(ItemLists& lists, Report& report)
{
    // Every identifier of a held object is looked up once per time a list names it, so the pass
    // takes time in proportion to the lists and the records, however they name each other.
    HeldGroups groups(lists.held_facts);
    const auto each_named_group = [&](std::string_view contents, auto visit) {
        if (contents.empty()) return;
        for_each_held_identifier(contents, [&](std::string_view named) {
            if (HeldGroup* group = groups.find(named)) visit(*group);
        });
    };
    for (std::size_t i = 0; i < lists.holder_facts.size(); ++i)
        each_named_group(lists.holder_facts[i].contents, [&](HeldGroup& group) { groups.add_holder(group, i); });
    for (std::size_t i = 0; i < lists.held_facts.size(); ++i)
        each_named_group(lists.held_facts[i].contents, [&](HeldGroup& group) {
            if (group.held_holder == no_link) group.held_holder = i;
        });
    groups.sort_later_holders();

    for (auto& held : lists.held_facts) {
        HeldGroup& group = *groups.find(held.id);
        if (group.first_holder == no_link) {
            if (group.held_holder != no_link)
                report.error(held.line_number, "object " + quoted(held.id) + " is inside " +
                                                 quoted(lists.held_facts[group.held_holder].id) +
                                                 ", which is itself held; it is written as a comment");
            else
                report.error(held.line_number,
                             "no object holds object " + quoted(held.id) + "; it is written as a comment");
            held.commented = held.comment_out = true;
            continue;
        }
        const HolderFacts& holder = lists.holder_facts[group.first_holder];
        held.link = group.first_holder;
        if (holder.commented && !held.commented) held.commented = held.comment_out = true;
        if (group.later_holders_reported) continue;
        group.later_holders_reported = true;
        groups.each_later_holder(group, [&](std::size_t later) {
            const HolderFacts& other = lists.holder_facts[later];
            report.error(other.line_number, "object " + quoted(held.id) + " is already held by " +
                                              quoted(holder.id) + "; " + quoted(other.id) +
                                              " does not hold it");
        });
    }
}

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

void link_door_buttons(ItemLists& lists)
{
    std::unordered_map<Square, std::size_t, SquareHash> last_door;
    for (std::size_t i = 0; i < lists.door_facts.size(); ++i) {
        const DoorFacts& door = lists.door_facts[i];
        last_door[{door.x, door.y, door.level}] = i;
    }
    for (auto& button : lists.button_facts) {
        auto found = last_door.find({button.x, button.y, button.level});
        if (found != last_door.end()) button.link = found->second;
    }
}

namespace {

void write_held_spawn(const HeldFacts& held, const ItemLists& lists, std::ostream& out)
{
    if (held.link == no_link && !held.comment_out) {
        out << held.spawn;
        return;
    }
    std::string text(held.spawn);
    if (held.link != no_link) text += holder_link(lists.holder_facts[held.link].id);
    out << (held.comment_out ? commented_out(text) : text);
}

} // namespace

void write_item_block(ItemLists& lists, std::ostream& out, Report& report)
{
    // Every line is filed: the first variables are no longer needed, and the linking needs room.
    lists.variable_lines = VariableLines();
    link_held_items(lists, report);
    link_door_buttons(lists);
    report_unlisted_types(lists, report);

    lists.doorframe_items.spawns.write_to(out);
    lists.door_items.spawns.write_to(out);
    lists.doorbutton_items.spawns.write_to(out);
    lists.container_items.spawns.write_to(out);
    for (const auto& held : lists.held_facts) write_held_spawn(held, lists, out);
    lists.other_items.spawns.write_to(out);
    lists.unlisted_items.spawns.write_to(out);

    lists.door_items.exvars.write_to(out);
    for (const auto& button : lists.button_facts) {
        if (button.link == no_link) out << button.exvar;
        else out << door_link(button.id, lists.door_facts[button.link].id, button.commented);
    }
    lists.container_items.exvars.write_to(out);
    for (const auto& held : lists.held_facts) {
        if (held.comment_out) out << commented_out(held.exvar);
        else out << held.exvar;
    }
    lists.other_items.exvars.write_to(out);
    lists.unlisted_items.exvars.write_to(out);
}
