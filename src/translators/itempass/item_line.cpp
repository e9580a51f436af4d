#include "itempass/item_line.h"

#include <limits>

#include "records/item.h"
#include "report/report.h"
#include "text/chars.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "text/normalise.h"

std::optional<std::string> item_line_problem(std::string_view line, const Levels& levels, const ObjectList& names)
{
    return item_line_problem(leading_tokens(line), levels, names);
}

std::optional<std::string> item_line_problem(const LeadingTokens& line, const Levels& levels, const ObjectList& names)
{
    const auto& [tokens, count] = line;
    if (count < 5) return "the item line has fewer than five tokens; it is skipped";
    int x = 0, y = 0, level = 0;
    if (!read_whole_int(tokens[2], x) || !read_whole_int(tokens[3], y) || !read_whole_int(tokens[4], level))
        return "the column, row or level of object " + quoted(tokens[0]) + " is not an integer; it is skipped";
    if (!is_word_text(force_us(tokens[0])))
        return "the identifier " + quoted(tokens[0]) + " is not made of letters, digits, \"_\" and \"-\"; it is skipped";
    // An unlisted object keeps its type as its name, so an unlisted type "pit" is a pit too.
    const std::string* name = names.find(tokens[1]);
    const bool pit = spawns_as_pit(name ? std::string_view(*name) : tokens[1]);
    if (level == -1) {
        if (pit) return "the pit " + quoted(tokens[0]) + " has level -1; it is skipped";
        return std::nullopt;
    }
    if (!levels.is_level(level))
        return "the level " + std::to_string(level) + " of object " + quoted(tokens[0]) + " is not a level of the layout; it is skipped";
    const GridSquare square = levels.grid_square(level, x, y);
    if (!fits_int(square.x) || !fits_int(square.y))
        return "the square of object " + quoted(tokens[0]) + " is out of range; it is skipped";
    return std::nullopt;
}

std::optional<std::string> item_grid_problem(std::string_view line, const Levels& levels)
{
    return item_grid_problem(leading_tokens(line), levels);
}

namespace {

// The column, row and level of an item line, when its leading tokens give all three as integers.
struct ItemPlace {
    int x = 0;
    int y = 0;
    int level = 0;
};

std::optional<ItemPlace> place_of(const LeadingTokens& line)
{
    ItemPlace place;
    if (line.count < 5 || !read_whole_int(line.tokens[2], place.x) || !read_whole_int(line.tokens[3], place.y) ||
        !read_whole_int(line.tokens[4], place.level))
        return std::nullopt;
    return place;
}

} // namespace

std::optional<std::string> item_grid_problem(const LeadingTokens& line, const Levels& levels)
{
    const auto place = place_of(line);
    if (!place || !levels.is_level(place->level)) return std::nullopt;
    const auto [grid_x, grid_y] = levels.grid_square(place->level, place->x, place->y);
    if (grid_x >= 0 && grid_y >= 0) return std::nullopt;
    return "object " + quoted(line.tokens[0]) + " stands at " + std::to_string(place->x) + "," +
           std::to_string(place->y) + " of level " + std::to_string(place->level) + ", which is " +
           std::to_string(grid_x) + "," + std::to_string(grid_y) +
           " on the common grid, left of or above every map; it is written as a comment";
}

std::optional<std::string> item_square_problem(std::string_view line, const Levels& levels)
{
    return item_square_problem(leading_tokens(line), levels);
}

std::optional<std::string> item_square_problem(const LeadingTokens& line, const Levels& levels)
{
    const auto place = place_of(line);
    if (!place || place->level == -1 || levels.holds_square(place->level, place->x, place->y)) return std::nullopt;
    return "object " + quoted(line.tokens[0]) + " stands at " + std::to_string(place->x) + "," +
           std::to_string(place->y) + ", outside the map of level " + std::to_string(place->level);
}
