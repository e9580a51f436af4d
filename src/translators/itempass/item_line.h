#pragma once
// The leading tokens of an item line and the rules they must keep.

#include <optional>
#include <string>
#include <string_view>

#include "levels/levels.h"
#include "records/object_list.h"
#include "report/report.h"
#include "text/tokens.h"

// The column, row and level of an item line, as its third to fifth tokens give them.
struct ItemPlace {
    int x = 0;
    int y = 0;
    int level = 0;
};

// The place of an item line, when its leading tokens give all three numbers as integers.
std::optional<ItemPlace> place_of(const LeadingTokens& line);

// What makes an item line unusable (too few tokens, a coordinate or level that is not an integer
// or not a level, -1 on a pit, an identifier that cannot be a Lua name); none for a usable line.
// Reads the leading tokens and the place read from them (none when they give none), as the item
// pass reads them once. Looks the type up in the list where the rules come to it (after the
// numbers and the identifier), and gives the list's name, null when it has none.
std::optional<Problem> item_line_problem(const LeadingTokens& line, const std::optional<ItemPlace>& place,
                                             const Levels& levels, const ObjectList& names,
                                             const std::string*& listed);

// For a usable line whose object stands on a level: a problem when its column or row on the
// common grid is negative (the level's offset cannot make up for it: no square of the grid is
// meant, and the spawn statement would not be a number); none otherwise.
std::optional<Problem> item_grid_problem(const LeadingTokens& line, const ItemPlace& place, const Levels& levels);

// For a usable line whose object stands on a level: a problem when its square lies outside that
// level's map (the object is still placed, as the dump says); none otherwise.
std::optional<Problem> item_square_problem(const LeadingTokens& line, const ItemPlace& place, const Levels& levels);
