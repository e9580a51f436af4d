#pragma once
// The leading tokens of an item line and the rules they must keep.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/levels.h"
#include "items/object_list.h"

// The first six white-space separated tokens of an item line, as views into the line.
struct LeadingTokens {
    std::array<std::string_view, 6> tokens;
    // How many of the six the line has.
    std::size_t count = 0;
};

// The leading tokens of a line, in order; the rest of the line is not read.
LeadingTokens leading_tokens(std::string_view line);

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

// The identifiers a holder's contents list names: split at every ",", the closing ")" removed,
// blanks and tabs around each identifier dropped; views into the list.
std::vector<std::string_view> held_identifiers(std::string_view contents);

// Calls visit with each identifier that held_identifiers gives, in order, without building a list.
template <typename Visit>
void for_each_held_identifier(std::string_view contents, Visit visit);

// The text with "--" in front of every line that does not begin with it yet; a text without a
// final line break gets one.
std::string commented_out(std::string_view text);

template <typename Visit>
void for_each_held_identifier(std::string_view contents, Visit visit)
{
    if (!contents.empty() && contents.back() == ')') contents.remove_suffix(1);
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = contents.find(',', start);
        std::string_view element = contents.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const std::size_t first = element.find_first_not_of(" \t");
        const std::size_t last = element.find_last_not_of(" \t");
        visit(first == std::string_view::npos ? std::string_view() : element.substr(first, last - first + 1));
        if (comma == std::string_view::npos) return;
        start = comma + 1;
    }
}
