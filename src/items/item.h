#pragma once
// One object of the dump's items section, with the two statement texts the script gets for it.

#include <string>
#include <string_view>
#include <vector>

#include "driver/report.h"
#include "items/line_links.h"
#include "items/object_list.h"

struct Levels;

// The record of one item line: identity, place on the common grid, kind flags, the spawn
// statement and the property statements. A plain value, copied into the driver's lists.
class Item {
public:
    std::string id;
    std::string source_type;
    std::string object_name;
    int x = 0;
    int y = 0;
    int level = 0;
    std::string position;
    std::string spawn_text;
    std::string exvar_text;
    bool has_exvars = false;
    bool off_map = false;
    bool is_mirror = false;
    bool is_known = false;
    bool is_doorbutton = false;
    bool is_door = false;
    bool is_doorframe = false;
    bool is_switch = false;
    bool is_shooter = false;
    bool is_floordamager = false;
    std::string contents;

    // The dump line the record was read from, for reports.
    long line_number = 0;
    // True when every statement of the object is written as a Lua comment.
    bool commented = false;
    // Where the keyword groups record the line's targets and destination; set only while a
    // caller that wants them translates the line.
    LineLinks* links = nullptr;

    // Reads identity, place and kind from an item line and builds the spawn statement; returns
    // true when the object lies inside another one (level -1, not a pit). The line must have
    // passed item_line_problem.
    bool make_item(const std::string& line, const std::vector<int>& level_offset_x,
                   const std::vector<int>& level_offset_y, const ObjectList& names);

    // Translates the keyword properties of the line into the property statements; returns true
    // when the line names objects that this one carries or holds. With the levels, a destination
    // is also checked against the level's block and map.
    bool make_exvars(const std::string& line, const std::vector<int>& level_offset_x,
                     const std::vector<int>& level_offset_y, const ObjectList& names, Problems& problems,
                     const Levels* levels = nullptr);

    // Finishes the spawn statement of a held object with the link to its holder, when the
    // holder's list names it.
    void make_carry(const Item& holder);

    // Replaces a door button's property statements with the link to the door on its square.
    void make_doorb(const Item& door);

    // Writes every statement of the object as a Lua comment from now on.
    void comment_out();

    // True when both records stand on the same square: same column, row and level.
    bool comp_xyz(const Item& other) const;
};

// The tail that finishes the spawn statement of an object held by the holder of that identifier.
std::string holder_link(std::string_view holder_id);

// The property statement of a door button that targets its door; a comment when the button's
// statements are.
std::string door_link(std::string_view button_id, std::string_view door_id, bool commented);
