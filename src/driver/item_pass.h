#pragma once
// The objects of the items section: filed while the dump is read, linked and written after it.

#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "driver/levels.h"
#include "driver/report.h"
#include "items/item.h"
#include "items/object_list.h"

// The seven lists the objects are sorted into, each in the order of its lines in the dump.
struct ItemLists {
    std::vector<Item> contained_items;
    std::vector<Item> container_items;
    std::vector<Item> doorframe_items;
    std::vector<Item> door_items;
    std::vector<Item> doorbutton_items;
    std::vector<Item> unlisted_items;
    std::vector<Item> other_items;
    // The dump line of the first object written as each object variable, to find a second one.
    std::unordered_map<std::string, long> variable_lines;
};

// Turns one item line into a record and files it into its list; a line that breaks the rules of
// an item line is reported and skipped.
void file_item_line(ItemLists& lists, const std::string& line, long line_number, const Levels& levels,
                    const ObjectList& names, Report& report);

// Links every held object to the first holder that names it; a held object without a holder
// becomes a comment and is reported, as is every later holder that names it.
void link_held_items(ItemLists& lists, Report& report);

// Links every door button to the last door on its square.
void link_door_buttons(ItemLists& lists);

// Runs both linking passes and writes the spawn statements, then the property statements.
void write_item_block(ItemLists& lists, std::ostream& out, Report& report);
