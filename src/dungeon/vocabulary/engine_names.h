#pragma once
// The names of the target engine's Lua interface that the script uses: its functions, its
// property table and values, and the prefix of the objects' variables. The code that writes the
// statements spells them from here, and the check of champion names reads the same table.

#include <array>
#include <string_view>

namespace engine {
// The map statement of a level.
inline constexpr std::string_view text2map = "kel_text2map";
// The statement that makes an object, and the one that makes a pit.
inline constexpr std::string_view spawn = "kel_spawn";
inline constexpr std::string_view spawn_pit = "spawn_pit";
// The champion definitions, the roster and the party's starting place.
inline constexpr std::string_view add_champion = "kel_add_champion";
inline constexpr std::string_view champion_toparty = "kel_champion_toparty";
inline constexpr std::string_view party_place = "kel_party_place";
// The statements after an object's table: disabled at the start, and a creature's hit points.
inline constexpr std::string_view disable = "kel_disable";
inline constexpr std::string_view set_maxhp = "kel_set_maxhp";
inline constexpr std::string_view set_hp = "kel_set_hp";
// Around the item block, and at the script's end.
inline constexpr std::string_view spawnburst_begin = "kel_spawnburst_begin";
inline constexpr std::string_view spawnburst_end = "kel_spawnburst_end";
inline constexpr std::string_view translate = "dungeon_translate";
// The global table of every object's properties, and the dungeon's name.
inline constexpr std::string_view exvar = "exvar";
inline constexpr std::string_view dungeon_name = "dungeon_name";
// The place of a held object: inside the object that holds it.
inline constexpr std::string_view in_object = "IN_OBJ";
// The messages a trigger sends its targets.
inline constexpr std::string_view activate = "M_ACTIVATE";
inline constexpr std::string_view deactivate = "M_DEACTIVATE";
inline constexpr std::string_view toggle = "M_TOGGLE";
inline constexpr std::string_view destroy = "M_DESTROY";
// Every object of the items section is the variable of this prefix and its identifier.
inline constexpr std::string_view object_prefix = "TVK_";
} // namespace engine

// Every global name above (the placement words, which the engine also gives a meaning, are in
// word_lists.h; the object variables are every name with the prefix).
inline constexpr std::array<std::string_view, 20> engine_globals = {
    engine::text2map,   engine::spawn,      engine::spawn_pit,        engine::add_champion,
    engine::champion_toparty, engine::party_place, engine::disable,   engine::set_maxhp,
    engine::set_hp,     engine::spawnburst_begin, engine::spawnburst_end, engine::translate,
    engine::exvar,      engine::dungeon_name, engine::in_object,      engine::activate,
    engine::deactivate, engine::toggle,     engine::destroy,          engine::object_prefix,
};

// True when a champion variable of that name would overwrite a name that the script or the
// engine's Lua already gives a meaning: the engine's functions and values, the placement words,
// the object variables (the prefix and anything after it) and the globals of Lua 5.1 itself.
bool is_reserved_global(std::string_view name);
