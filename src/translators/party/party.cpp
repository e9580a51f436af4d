#include "party/party.h"

#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"

namespace {

// True when the party can face that way in the engine: one of the four directions or a number.
bool is_facing(const std::string& word)
{
    for (const char* direction : {"NORTH", "EAST", "SOUTH", "WEST"})
        if (word == direction) return true;
    return is_code_value(word) && !is_lua_name(word);
}

} // namespace

std::string defined_champion(const std::string& definition)
{
    return definition.substr(0, definition.find('='));
}

std::optional<std::string> roster_statement(int slot, const std::string& line, const ChampionNames& champions,
                                            Problems& problems)
{
    const std::string name = force_us(line);
    if (!is_lua_name(name) || is_reserved_global(name)) {
        problems.emplace_back(MessageId::roster, "the roster line " + quoted(line) + " does not name a champion identifier; it is left out");
        return std::nullopt;
    }
    // The engine takes only a champion it already has: a name defined later, or never, is nil here.
    if (!champions.contains(name)) {
        problems.emplace_back(MessageId::roster, "the roster line " + quoted(line) + " names no champion defined before it; it is left out");
        return std::nullopt;
    }
    return std::string(engine::champion_toparty) + "(" + std::to_string(slot) + "," + name + ")";
}

std::optional<std::string> party_placement(const Entrance& entrance, const Levels& levels, Problems& problems)
{
    if (!levels.is_level(entrance.level)) {
        problems.emplace_back(MessageId::entrance, "the entrance level " + std::to_string(entrance.level) + " is not a level; the party is not placed");
        problems.back().column = entrance.level_column;
        return std::nullopt;
    }
    if (!is_facing(entrance.facing)) {
        problems.emplace_back(MessageId::entrance, "the entrance facing " + quoted(entrance.facing) +
                           " is not NORTH, EAST, SOUTH, WEST or a number; the party is not placed");
        problems.back().column = entrance.facing_column;
        return std::nullopt;
    }
    // Placed all the same, as the dump says; the author learns that the engine will refuse it.
    if (!levels.holds_square(entrance.level, entrance.x, entrance.y)) {
        problems.emplace_back(MessageId::entrance_outside, "the entrance " + std::to_string(entrance.x) + "," +
                                                               std::to_string(entrance.y) + " lies outside the map of level " +
                                                               std::to_string(entrance.level));
        problems.back().column = entrance.square_column;
    }
    const GridSquare square = levels.grid_square(entrance.level, entrance.x, entrance.y);
    return "\n" + std::string(engine::party_place) + "(" + std::to_string(entrance.level) + "," + std::to_string(square.x) + "," +
           std::to_string(square.y) +
           "," + entrance.facing + ")\n";
}
