#include "driver/item_pass.h"

#include <map>
#include <tuple>
#include <unordered_map>

#include "items/item_line.h"
#include "text/normalise.h"

namespace {

void comment_out(Item& item)
{
    item.commented = true;
    item.spawn_text = commented_out(item.spawn_text);
    item.exvar_text = commented_out(item.exvar_text);
}

void count_unlisted_type(ItemLists& lists, const std::string& type, long line_number)
{
    const auto [found, inserted] = lists.unlisted_type_index.emplace(type, lists.unlisted_types.size());
    if (inserted) lists.unlisted_types.push_back({type, line_number, 0});
    ++lists.unlisted_types[found->second].count;
}

} // namespace

void file_item_line(ItemLists& lists, const std::string& line, long line_number, const Levels& levels,
                    const ObjectList& names, Report& report, LineLinks* links)
{
    if (auto problem = item_line_problem(line, levels, names)) {
        report.error(line_number, *problem);
        return;
    }
    const auto off_grid = item_grid_problem(line, levels);
    if (off_grid) report.error(line_number, *off_grid);
    else if (auto problem = item_square_problem(line, levels)) report.warning(line_number, *problem);
    Item item;
    item.line_number = line_number;
    const auto offsets_x = levels.offsets_x();
    const auto offsets_y = levels.offsets_y();
    const bool off_map = item.make_item(line, offsets_x, offsets_y, names);
    Problems problems;
    item.links = links;
    const bool holder = item.make_exvars(line, offsets_x, offsets_y, names, problems, &levels);
    item.links = nullptr;
    report.add_all(line_number, problems);
    if (off_grid) comment_out(item);
    if (!item.is_known && !names.names_type(item.object_name)) count_unlisted_type(lists, item.object_name, line_number);
    // Two objects written as one variable: the later assignment takes the name, so every
    // statement after it that names the variable reaches the later object only.
    if (!item.commented) {
        const auto [first, inserted] = lists.variable_lines.emplace(force_us(item.id), line_number);
        if (!inserted)
            report.warning(line_number, "object " + quoted(item.id) + " is written as TVK_" + first->first +
                                            ", like the object of line " + std::to_string(first->second));
    }

    if (off_map) lists.contained_items.push_back(item);
    else if (holder) lists.container_items.push_back(item);
    else if (item.is_doorframe) lists.doorframe_items.push_back(item);
    else if (item.is_door) lists.door_items.push_back(item);
    else if (item.is_doorbutton) lists.doorbutton_items.push_back(item);
    else if (!item.is_known) lists.unlisted_items.push_back(item);
    else lists.other_items.push_back(item);
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

namespace {

// Per identifier, the records of a list whose contents name it, in list order.
std::unordered_map<std::string, std::vector<std::size_t>> index_by_held(const std::vector<Item>& holders)
{
    std::unordered_map<std::string, std::vector<std::size_t>> index;
    for (std::size_t i = 0; i < holders.size(); ++i) {
        if (holders[i].contents.empty()) continue;
        for (const auto& held : held_identifiers(holders[i].contents)) {
            auto& named_by = index[held];
            if (named_by.empty() || named_by.back() != i) named_by.push_back(i);
        }
    }
    return index;
}

} // namespace

void link_held_items(ItemLists& lists, Report& report)
{
    const auto holders = index_by_held(lists.container_items);
    const auto held_holders = index_by_held(lists.contained_items);
    for (auto& held : lists.contained_items) {
        auto found = holders.find(held.id);
        if (found == holders.end()) {
            auto inside_held = held_holders.find(held.id);
            if (inside_held != held_holders.end())
                report.error(held.line_number, "object " + quoted(held.id) + " is inside " +
                                                 quoted(lists.contained_items[inside_held->second.front()].id) +
                                                 ", which is itself held; it is written as a comment");
            else
                report.error(held.line_number, "no object holds object " + quoted(held.id) + "; it is written as a comment");
            comment_out(held);
            continue;
        }
        const auto& named_by = found->second;
        held.make_carry(lists.container_items[named_by.front()]);
        for (std::size_t k = 1; k < named_by.size(); ++k) {
            const Item& other = lists.container_items[named_by[k]];
            report.error(other.line_number, "object " + quoted(held.id) + " is already held by " +
                                              quoted(lists.container_items[named_by.front()].id) +
                                              "; " + quoted(other.id) + " does not hold it");
        }
    }
}

void link_door_buttons(ItemLists& lists)
{
    std::map<std::tuple<int, int, int>, std::size_t> last_door;
    for (std::size_t i = 0; i < lists.door_items.size(); ++i) {
        const Item& door = lists.door_items[i];
        last_door[{door.x, door.y, door.level}] = i;
    }
    for (auto& button : lists.doorbutton_items) {
        auto found = last_door.find({button.x, button.y, button.level});
        if (found == last_door.end()) continue;
        const Item& door = lists.door_items[found->second];
        if (button.comp_xyz(door)) button.make_doorb(door);
    }
}

void write_item_block(ItemLists& lists, std::ostream& out, Report& report)
{
    link_held_items(lists, report);
    link_door_buttons(lists);
    report_unlisted_types(lists, report);
    for (const auto* list : {&lists.doorframe_items, &lists.door_items, &lists.doorbutton_items, &lists.container_items,
                             &lists.contained_items, &lists.other_items, &lists.unlisted_items})
        for (const auto& item : *list) out << item.spawn_text;
    for (const auto* list : {&lists.door_items, &lists.doorbutton_items, &lists.container_items, &lists.contained_items,
                             &lists.other_items, &lists.unlisted_items})
        for (const auto& item : *list) out << item.exvar_text;
}
