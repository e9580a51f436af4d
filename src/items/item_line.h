#pragma once
// The leading tokens of an item line and the rules they must keep.

#include <optional>
#include <string>
#include <vector>

#include "driver/levels.h"
#include "items/object_list.h"

// The white-space separated tokens of a line, in order.
std::vector<std::string> split_tokens(const std::string& line);

// What makes an item line unusable (too few tokens, a coordinate or level that is not an integer
// or not a level, -1 on a pit, an identifier that cannot be a Lua name); none for a usable line.
std::optional<std::string> item_line_problem(const std::string& line, const Levels& levels, const ObjectList& names);

// For a usable line whose object stands on a level: a problem when its column or row on the
// common grid is negative (the level's offset cannot make up for it: no square of the grid is
// meant, and the spawn statement would not be a number); none otherwise.
std::optional<std::string> item_grid_problem(const std::string& line, const Levels& levels);

// For a usable line whose object stands on a level: a problem when its square lies outside that
// level's map (the object is still placed, as the dump says); none otherwise.
std::optional<std::string> item_square_problem(const std::string& line, const Levels& levels);

// The identifiers a holder's contents list names: split at every ",", the closing ")" removed,
// blanks and tabs around each identifier dropped.
std::vector<std::string> held_identifiers(const std::string& contents);

// The text with "--" in front of every line that does not begin with it yet; a text without a
// final line break gets one.
std::string commented_out(const std::string& text);
