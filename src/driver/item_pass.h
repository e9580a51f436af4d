#pragma once
// The objects of the items section: filed while the dump is read, linked and written after it.

#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "driver/levels.h"
#include "driver/report.h"
#include "items/item.h"
#include "items/object_list.h"

// Texts that wait for the end of the input, one after the other in large blocks that never
// move, so that a view of a kept text stays valid while more texts are kept.
class TextStore {
public:
    // Keeps the text after those kept before and returns a view of it.
    std::string_view keep(std::string_view text);
    // Writes every kept text in the order kept.
    void write_to(std::ostream& out) const;

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
        std::size_t capacity = 0;
    };
    std::vector<Block> blocks_;
};

// The dump line of the first object written as each object variable, to find a second one. Each
// entry is a view of the variable where it stands in a kept spawn statement (ended by its "=")
// and the line: a flat table, far smaller than a map of views, for a million objects.
class VariableLines {
public:
    // Records the variable, which must stand in kept text followed by "=", with its line; when
    // the variable was recorded before, returns the line recorded first instead.
    std::optional<long> first_line_or_add(std::string_view variable, long line);

private:
    struct Entry {
        const char* variable = nullptr;
        long line = 0;
    };
    std::size_t slot_of(std::string_view variable) const;
    void grow();

    std::vector<Entry> slots_;
    std::size_t size_ = 0;
};

// What the linking passes read of each record of the lists they link, and what they found: one
// small record per list, holding only what that list's pass needs.
constexpr std::size_t no_link = static_cast<std::size_t>(-1);

// A held object: its statements (written one by one, finished with the link), its identifier and
// what it holds itself.
struct HeldFacts {
    std::string_view spawn;
    std::string_view exvar;
    std::string_view id;
    std::string_view contents;
    long line_number = 0;
    // Its holder in holder_facts; no_link when it has none.
    std::size_t link = no_link;
    bool commented = false;
    // True when its statements become comments when written (no holder, or a commented holder).
    bool comment_out = false;
};

// A holder: its identifier and the list of what it holds.
struct HolderFacts {
    std::string_view id;
    std::string_view contents;
    long line_number = 0;
    bool commented = false;
};

// A door: its identifier and square.
struct DoorFacts {
    std::string_view id;
    int x = 0;
    int y = 0;
    int level = 0;
};

// A door button: its property statements (replaced by the link to its door), identifier and square.
struct ButtonFacts {
    std::string_view exvar;
    std::string_view id;
    int x = 0;
    int y = 0;
    int level = 0;
    bool commented = false;
    // Its door in door_facts; no_link when none stands on its square.
    std::size_t link = no_link;
};

// A dump type that the object name list lacks: where it first stood and how many objects of it
// were written as comments.
struct UnlistedType {
    std::string type;
    long first_line = 0;
    long count = 0;
};

// One of the lists the objects are sorted into, in the order of their lines in the dump: the
// texts of its records back to back, so that a list is written as a whole.
struct ItemList {
    TextStore spawns;
    TextStore exvars;
    std::size_t count = 0;
};

// The seven lists of the items section, and what tells two objects of one variable apart.
struct ItemLists {
    ItemList contained_items;
    ItemList container_items;
    ItemList doorframe_items;
    ItemList door_items;
    ItemList doorbutton_items;
    ItemList unlisted_items;
    ItemList other_items;
    // What the linking passes read of the held objects, holders, doors and door buttons, in list order.
    std::deque<HeldFacts> held_facts;
    std::deque<HolderFacts> holder_facts;
    std::deque<DoorFacts> door_facts;
    std::deque<ButtonFacts> button_facts;
    // Texts of the linking facts that the statements do not hold.
    TextStore link_texts;
    // The dump line of the first object written as each object variable, to find a second one.
    VariableLines variable_lines;
    // The dump types that the object name list does not name at all, in the order first met.
    std::vector<UnlistedType> unlisted_types;
    // Per such type, its place in unlisted_types.
    std::unordered_map<std::string, std::size_t> unlisted_type_index;
};

// The list a record was filed into, as far as the linking passes tell them apart.
enum class FiledList { held, holder, door, doorbutton, other };

// Told of each object as it is filed, for a caller that wants more than the script (the map page);
// a plain conversion has none.
class ItemWatcher {
public:
    virtual ~ItemWatcher() = default;
    // Where the targets and destination of the item line are to be recorded.
    virtual LineLinks* links_of_line(long number, const std::string& line) = 0;
    // The record of an object as it was filed, before the linking passes.
    virtual void filed(const Item& item, FiledList list) = 0;
};

// What every item line is read against: the levels, their offsets on the common grid (worked
// out once, not per line) and the object name list.
struct ItemSetting {
    ItemSetting(const Levels& of_levels, const ObjectList& list)
        : levels(of_levels), offsets_x(of_levels.offsets_x()), offsets_y(of_levels.offsets_y()), names(list)
    {
    }

    const Levels& levels;
    std::vector<int> offsets_x;
    std::vector<int> offsets_y;
    const ObjectList& names;
};

// Turns one item line into a record and files it into its list; a line that breaks the rules of
// an item line is reported and skipped. A watcher, when given, is told of the line and its record.
void file_item_line(ItemLists& lists, const std::string& line, long line_number, const ItemSetting& setting,
                    Report& report, ItemWatcher* watcher = nullptr);

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
