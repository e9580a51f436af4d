#pragma once
// The statements of an object's record: its spawn statement as its item line gives it, and the
// links that the item pass finishes it with (make_carry for a held object and its holder,
// comp_xyz and make_doorb for a door button and the door on its square).

#include <string>
#include <string_view>
#include <vector>

#include "records/item.h"
#include "vocabulary/object_classes.h"
#include "text/tokens.h"

// Reads identity, place and what the object is from an item line and builds its spawn statement
// into the record; returns true when the object is held inside another one (off_map). `tokens`
// are the line's leading tokens, column, row and level the numbers they give, and `listed` the
// object name list's name for the type (null when the list has none); the line must have passed
// item_line_problem. `classes` keeps what the rules gave each name met before. Every field it
// reads and the comment state are set anew, so one record can be reused line after line (its
// texts keep their room).
bool make_item(Item& item, const std::string& line, const LeadingTokens& tokens, int column, int row, int level,
               const std::string* listed, const std::vector<int>& level_offset_x, const std::vector<int>& level_offset_y,
               ClassifiedNames& classes);

// Writes every statement of the object as a Lua comment from now on; the first reason given stays.
void comment_out(Item& item, CommentReason why);

// Finishes the unfinished spawn statement of a held object with the link to the holder of that
// identifier.
void make_carry(std::string& spawn_text, std::string_view holder_id);

// A square of the common grid: column and row after the level offsets, and the level.
struct GridPlace {
    int x = 0;
    int y = 0;
    int level = 0;
};

// True when both stand on the same square: same column, row and level (the placement words play
// no part). A door button is linked to the door for which this holds.
inline bool comp_xyz(const GridPlace& one, const GridPlace& other)
{
    return one.x == other.x && one.y == other.y && one.level == other.level;
}

// The property statement that replaces a door button's own: its table with the door on its square
// as its only target; a comment when the button's statements are.
std::string make_doorb(std::string_view button_id, std::string_view door_id, bool commented);
