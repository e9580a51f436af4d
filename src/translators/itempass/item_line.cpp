#include "itempass/item_line.h"

#include <limits>

#include "records/item.h"
#include "vocabulary/object_classes.h"
#include "report/report.h"
#include "text/chars.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "text/normalise.h"

namespace {

// True when force_us makes the token a Lua name's letters, digits and "_": a token holds no
// blank, so its bytes must be those or "-". Tested in place, without the normalised copy.
bool is_identifier_token(std::string_view token)
{
    for (char c : token)
        if (!is_name_part(c) && c != '-') return false;
    return true;
}

} // namespace

std::optional<ItemPlace> place_of(const LeadingTokens& line)
{
    ItemPlace place;
    if (line.count < 5 || !read_whole_int(line.tokens[2], place.x) || !read_whole_int(line.tokens[3], place.y) ||
        !read_whole_int(line.tokens[4], place.level))
        return std::nullopt;
    return place;
}

std::optional<Problem> item_line_problem(const LeadingTokens& line, const std::optional<ItemPlace>& place,
                                             const Levels& levels, const ObjectList& names,
                                             const std::string*& listed)
{
    const auto& [tokens, count] = line;
    listed = nullptr;
    const auto skipped = [](std::string text, std::string_view about) {
        return Problem(MessageId::item_line, std::move(text), about);
    };
    if (count < 5) return skipped("the item line has fewer than five tokens; it is skipped", {});
    if (!place) {
        // The first of the three numbers that is none.
        int number = 0;
        std::size_t k = 2;
        while (k < 4 && read_whole_int(tokens[k], number)) ++k;
        return skipped("the column, row or level of object " + quoted(tokens[0]) + " is not an integer; it is skipped",
                       tokens[k]);
    }
    if (!is_identifier_token(tokens[0]))
        return skipped("the identifier " + quoted(tokens[0]) +
                           " is not made of letters, digits, \"_\" and \"-\"; it is skipped",
                       tokens[0]);
    listed = names.find(tokens[1]);
    // An unlisted object keeps its type as its name, so an unlisted type "pit" is a pit too.
    const bool pit = passes_rule<ObjectFlag::pit_statement>(listed ? std::string_view(*listed) : tokens[1]);
    const int level = place->level;
    if (level == -1) {
        if (pit) return skipped("the pit " + quoted(tokens[0]) + " has level -1; it is skipped", tokens[4]);
        return std::nullopt;
    }
    if (!levels.is_level(level))
        return skipped("the level " + std::to_string(level) + " of object " + quoted(tokens[0]) +
                           " is not a level of the layout; it is skipped",
                       tokens[4]);
    const GridSquare square = levels.grid_square(level, place->x, place->y);
    if (!fits_int(square.x) || !fits_int(square.y))
        return skipped("the square of object " + quoted(tokens[0]) + " is out of range; it is skipped", tokens[2]);
    return std::nullopt;
}

std::optional<Problem> item_grid_problem(const LeadingTokens& line, const ItemPlace& place, const Levels& levels)
{
    if (!levels.is_level(place.level)) return std::nullopt;
    const auto [grid_x, grid_y] = levels.grid_square(place.level, place.x, place.y);
    if (grid_x >= 0 && grid_y >= 0) return std::nullopt;
    return Problem(MessageId::off_grid,
                   "object " + quoted(line.tokens[0]) + " stands at " + std::to_string(place.x) + "," +
                       std::to_string(place.y) + " of level " + std::to_string(place.level) + ", which is " +
                       std::to_string(grid_x) + "," + std::to_string(grid_y) +
                       " on the common grid, left of or above every map; it is written as a comment",
                   line.tokens[2]);
}

std::optional<Problem> item_square_problem(const LeadingTokens& line, const ItemPlace& place, const Levels& levels)
{
    if (place.level == -1 || levels.holds_square(place.level, place.x, place.y)) return std::nullopt;
    return Problem(MessageId::outside_map,
                   "object " + quoted(line.tokens[0]) + " stands at " + std::to_string(place.x) + "," +
                       std::to_string(place.y) + ", outside the map of level " + std::to_string(place.level),
                   line.tokens[2]);
}
