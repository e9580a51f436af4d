#pragma once
// One object of the dump's items section, with the two statement texts the script gets for it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/line_links.h"
#include "records/object_list.h"
#include "text/tokens.h"

// Why every statement of an object is written as a Lua comment.
enum class CommentReason : std::uint8_t {
    none,
    // The object name list does not name its type (or names it X_UNKNOWN).
    unlisted_type,
    // Its square on the common grid is left of or above every level's map.
    off_grid,
    // It lies inside another object (level -1), and no holder names it.
    no_holder,
    // The first object that names it is itself held.
    holder_held,
    // The object that holds it is written as a comment.
    holder_commented,
};

// The reason as the map page and the messages give it: "no object holds it", ...
const char* comment_reason_text(CommentReason reason);

// True for the object names that spawn as a pit statement rather than as an object.
inline bool spawns_as_pit(std::string_view object_name) { return object_name == "pit"; }

// True for the object names of pits, the plain and the illusory one (a closed one starts disabled).
inline bool is_pit_name(std::string_view object_name) { return object_name == "pit" || object_name == "ipit"; }

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
    // Set by the behaviour groups: the line generates creatures, or gives hit points or carried objects.
    bool is_generator = false;
    bool is_creature = false;
    std::string contents;
    // The TARGET=( list as the line gives it, when the property statements name targets.
    std::string target_list;
    // The champion a mirror holds, as the line names it, when its property statements name one.
    std::string champion;

    // The dump line the record was read from, for reports.
    long line_number = 0;
    // True when every statement of the object is written as a Lua comment, and why.
    bool commented = false;
    CommentReason comment_reason = CommentReason::none;
    // Where the keyword groups record the line's targets and destination; set only while a
    // caller that wants them translates the line.
    LineLinks* links = nullptr;

    // Reads identity, place and kind from an item line and builds the spawn statement; returns
    // true when the object lies inside another one (level -1, not a pit). The line must have
    // passed item_line_problem.
    bool make_item(const std::string& line, const std::vector<int>& level_offset_x,
                   const std::vector<int>& level_offset_y, const ObjectList& names);
    // The same from what was read of the line before: its leading tokens, the column, row and
    // level they give, and the list's name of its type (null when the list has none). Every field
    // it reads and the comment state are set anew, so one record can be reused line after line
    // (its texts keep their room).
    bool make_item(const std::string& line, const LeadingTokens& tokens, int column, int row, int level_number,
                   const std::string* listed, const std::vector<int>& level_offset_x,
                   const std::vector<int>& level_offset_y);

    // Finishes the spawn statement of a held object with the link to its holder, when the
    // holder's list names it.
    void make_carry(const Item& holder);

    // Replaces a door button's property statements with the link to the door on its square.
    void make_doorb(const Item& door);

    // Writes every statement of the object as a Lua comment from now on; the first reason given stays.
    void comment_out(CommentReason why);

    // True when both records stand on the same square: same column, row and level.
    bool comp_xyz(const Item& other) const;
};

// The tail that finishes the spawn statement of an object held by the holder of that identifier.
std::string holder_link(std::string_view holder_id);

// The property statement of a door button that targets its door; a comment when the button's
// statements are.
std::string door_link(std::string_view button_id, std::string_view door_id, bool commented);
