#pragma once
// The leading tokens of an item line and the rules they must keep.

#include <optional>
#include <string>
#include <string_view>

#include "levels/levels.h"
#include "records/object_list.h"
#include "text/tokens.h"

// What makes an item line unusable (too few tokens, a coordinate or level that is not an integer
// or not a level, -1 on a pit, an identifier that cannot be a Lua name); none for a usable line.
std::optional<std::string> item_line_problem(std::string_view line, const Levels& levels, const ObjectList& names);
// The same, from the line's leading tokens.
std::optional<std::string> item_line_problem(const LeadingTokens& line, const Levels& levels, const ObjectList& names);

// For a usable line whose object stands on a level: a problem when its column or row on the
// common grid is negative (the level's offset cannot make up for it: no square of the grid is
// meant, and the spawn statement would not be a number); none otherwise.
std::optional<std::string> item_grid_problem(std::string_view line, const Levels& levels);
std::optional<std::string> item_grid_problem(const LeadingTokens& line, const Levels& levels);

// For a usable line whose object stands on a level: a problem when its square lies outside that
// level's map (the object is still placed, as the dump says); none otherwise.
std::optional<std::string> item_square_problem(std::string_view line, const Levels& levels);
std::optional<std::string> item_square_problem(const LeadingTokens& line, const Levels& levels);
