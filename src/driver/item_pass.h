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

// A dump type that the object name list lacks: where it first stood and how many objects of it
// were written as comments.
struct UnlistedType {
    std::string type;
    long first_line = 0;
    long count = 0;
};

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
    // The dump types that the object name list does not name at all, in the order first met.
    std::vector<UnlistedType> unlisted_types;
    // Per such type, its place in unlisted_types.
    std::unordered_map<std::string, std::size_t> unlisted_type_index;
};

// Turns one item line into a record and files it into its list; a line that breaks the rules of
// an item line is reported and skipped. When links is given, the line's targets and destination
// are recorded there.
void file_item_line(ItemLists& lists, const std::string& line, long line_number, const Levels& levels,
                    const ObjectList& names, Report& report, LineLinks* links = nullptr);

// Links every held object to the first holder that names it; a held object without a holder
// becomes a comment and is reported, as is every later holder that names it.
void link_held_items(ItemLists& lists, Report& report);

// Links every door button to the last door on its square.
void link_door_buttons(ItemLists& lists);

// Reports, at its first item line, every dump type that the object name list does not name, with
// how many objects of it are written as comments.
void report_unlisted_types(const ItemLists& lists, Report& report);

// Runs both linking passes and writes the spawn statements, then the property statements.
void write_item_block(ItemLists& lists, std::ostream& out, Report& report);
