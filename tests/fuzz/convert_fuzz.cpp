// Fuzz target: any bytes as the dump, with the fixed object name list below or, when the input
// holds a NUL byte, with the list that stands before it. A run fails when the converter
// ends with a status other than 0 or 2 (or 1 for an input that is not a dump, which must give
// no script and no problem), when the script does not load as Lua 5.1, when running
// it against do-nothing engine functions does anything the script's statements cannot (overwrite
// a name outside the script's own, raise an error, run without end), or when a dump that the
// converter found clean gives a script that the stand-in engine would refuse, or when the one-pass
// keyword scan of a line places a keyword elsewhere than a plain search of the line does.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include "behaviour/keyword_scan.h"
#include "conversion/convert.h"
#include "records/object_list.h"
#include "text/lua_text.h"
#include "vocabulary/engine_names.h"

namespace {

// Every object kind the converter knows by its target name, under the type words of the seeds.
const char* const object_list_text =
    "TYPE_TRIGGER trigger TYPE_TELEPORTER teleporter TYPE_FLOORTEXT floortext TYPE_FLASK flask_blue\n"
    "TYPE_BOMB bomb_fire TYPE_TORCH torch TYPE_SHOOTER shooter TYPE_DAMAGER floordamager\n"
    "TYPE_GENERATOR generator TYPE_PIT pit TYPE_IPIT ipit TYPE_MIRROR mirror TYPE_LEVER lever\n"
    "TYPE_SWITCH button TYPE_ALTAR altar TYPE_CHEST chest TYPE_RAT rat TYPE_KEY key_gold\n"
    "FIREBALL fireball_missile TYPE_DOOR door_wood TYPE_DOORB doorbutton TYPE_EYE eye_switch\n"
    "TYPE_SMALL small_switch TYPE_TINY tiny_button TYPE_SPIT pit_small TYPE_GONE X_UNKNOWN\n"
    "TORCH_WALL torch_holder DOOR_IRON door_iron DOOR_FRAME doorframe DOOR_BUTTON doorbutton\n"
    "LEVER_WALL lever PLATE_SWITCH pressure_plate WALL_SWITCH button CHEST chest KEY_IRON key_iron\n"
    "COIN_GOLD coin_gold FLASK_HEAL flask_heal BOMB_FIRE bomb_fire PIT pit TRIGGER trigger\n"
    "TELEPORTER teleporter FLOOR_TEXT floortext SHOOTER shooter GENERATOR generator RAT giant_rat\n"
    "BONE bone FLOOR_DAMAGER floordamager MIRROR mirror GHOST X_UNKNOWN\n";

const ObjectList& object_list()
{
    static const ObjectList list = [] {
        std::istringstream in(object_list_text);
        return ObjectList::read(in);
    }();
    return list;
}

[[noreturn]] void fail(const std::string& why, const std::string& script)
{
    std::fprintf(stderr, "%s\n--- script ---\n%s\n", why.c_str(), script.c_str());
    std::abort();
}

int new_object(lua_State* L)
{
    lua_newtable(L);
    return 1;
}

int nothing(lua_State*) { return 0; }

// A global read: the engine's names are in the environment itself, anything else is nil.
int read_global(lua_State* L)
{
    lua_pushnil(L);
    return 1;
}

// A global write: only the script's own variables may be assigned.
int write_global(lua_State* L)
{
    std::size_t length = 0;
    const char* key = lua_type(L, 2) == LUA_TSTRING ? lua_tolstring(L, 2, &length) : nullptr;
    if (!key) return luaL_error(L, "assignment to a global that is not a name");
    const std::string name(key, length);
    const bool own = name == "dungeon_name" || name.starts_with("TVK_") || !is_reserved_global(name);
    if (!own)
        return luaL_error(L, "assignment to the engine's or Lua's global %s", key);
    lua_rawset(L, 1);
    return 0;
}

void runaway(lua_State* L, lua_Debug*) { luaL_error(L, "the script runs without end"); }

// The environment the script runs in: engine functions that do nothing, the engine's values, and
// a metatable that keeps every other name out.
void push_engine(lua_State* L)
{
    lua_newtable(L);
    for (const char* name : {"kel_spawn", "spawn_pit", "kel_add_champion"}) {
        lua_pushcfunction(L, new_object);
        lua_setfield(L, -2, name);
    }
    for (const char* name : {"kel_text2map", "kel_champion_toparty", "kel_party_place", "kel_disable",
                             "kel_set_maxhp", "kel_set_hp", "kel_spawnburst_begin", "kel_spawnburst_end",
                             "dungeon_translate"}) {
        lua_pushcfunction(L, nothing);
        lua_setfield(L, -2, name);
    }
    int value = 1;
    for (const char* name : {"NORTHWEST", "NORTHEAST", "SOUTHWEST", "SOUTHEAST", "NORTH", "SOUTH", "WEST", "EAST",
                             "CENTER", "IN_OBJ", "M_ACTIVATE", "M_DEACTIVATE", "M_TOGGLE", "M_DESTROY"}) {
        lua_pushinteger(L, value++);
        lua_setfield(L, -2, name);
    }
    lua_newtable(L);
    lua_setfield(L, -2, "exvar");
    lua_newtable(L);
    lua_pushcfunction(L, read_global);
    lua_setfield(L, -2, "__index");
    lua_pushcfunction(L, write_global);
    lua_setfield(L, -2, "__newindex");
    lua_setmetatable(L, -2);
}

// The stand-in engine's check, loaded once: a function from a script's text to its findings.
lua_State* stand_in()
{
    static lua_State* const L = [] {
        lua_State* state = luaL_newstate();
        luaL_openlibs(state);
        if (luaL_loadfile(state, D2L_STAND_IN) != 0 || lua_pcall(state, 0, 1, 0) != 0 || !lua_isfunction(state, -1)) {
            std::fprintf(stderr, "cannot load the stand-in engine %s\n", D2L_STAND_IN);
            std::abort();
        }
        lua_setfield(state, LUA_REGISTRYINDEX, "stand_in_check");
        return state;
    }();
    return L;
}

// What the stand-in engine refuses in the script, one finding a line.
std::string engine_findings(const std::string& script)
{
    lua_State* L = stand_in();
    lua_getfield(L, LUA_REGISTRYINDEX, "stand_in_check");
    lua_pushlstring(L, script.data(), script.size());
    if (lua_pcall(L, 1, 1, 0) != 0) {
        std::string error = lua_tostring(L, -1) ? lua_tostring(L, -1) : "(no message)";
        lua_pop(L, 1);
        return "the stand-in engine fails: " + error + "\n";
    }
    std::string findings;
    const int count = static_cast<int>(lua_objlen(L, -1));
    for (int i = 1; i <= count; ++i) {
        lua_rawgeti(L, -1, i);
        findings += lua_tostring(L, -1) ? lua_tostring(L, -1) : "?";
        findings += "\n";
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    return findings;
}

void check_script(const std::string& script)
{
    lua_State* L = luaL_newstate();
    if (!L) std::abort();
    if (luaL_loadbuffer(L, script.data(), script.size(), "=LUA_dungeon.lua") != 0)
        fail(std::string("the script does not load: ") + lua_tostring(L, -1), script);
    push_engine(L);
    lua_setfenv(L, -2);
    lua_sethook(L, runaway, LUA_MASKCOUNT, 50'000'000);
    if (lua_pcall(L, 0, 0, 0) != 0) {
        const char* message = lua_tostring(L, -1);
        fail(std::string("the script fails: ") + (message ? message : "(no message)"), script);
    }
    lua_close(L);
}

// Every line of the input scanned for keywords in one pass must give, for every scanned text,
// the place a plain substring search gives.
void check_keyword_scan(std::string_view input)
{
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, end);
        const KeywordScan scan(line);
        for (std::size_t k = 0; k < scanned_texts.size(); ++k)
            if (scan.first(k) != line.find(scanned_texts[k]))
                fail("the keyword scan places " + std::string(scanned_texts[k]) + " elsewhere than a search",
                     std::string(line));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Up to a first NUL byte, the input is the object name list; the rest is the dump. An input
    // without one is a dump read with the fixed list.
    const std::string input(reinterpret_cast<const char*>(data), size);
    check_keyword_scan(input);
    const std::size_t separator = input.find('\0');
    ObjectList own_list;
    if (separator != std::string::npos) {
        std::istringstream list(input.substr(0, separator));
        own_list = ObjectList::read(list);
    }
    const ObjectList& names = separator == std::string::npos ? object_list() : own_list;
    std::istringstream dump(separator == std::string::npos ? input : input.substr(separator + 1));
    std::ostringstream script;
    Report report;
    const int status = convert(dump, script, names, report);
    if (status == status_no_file) {
        if (!script.str().empty() || !report.clean()) fail("an input that is not a dump gives output", script.str());
        return 0;
    }
    if (status != 0 && status != status_rule_broken) fail("status " + std::to_string(status), script.str());
    if ((status == 0) == report.has_errors()) fail("the status does not match the report", script.str());
    check_script(script.str());
    // Warnings flag what the engine may refuse; a dump with no finding at all must give a script it takes.
    if (report.clean()) {
        const std::string findings = engine_findings(script.str());
        if (!findings.empty()) fail("a clean dump gives a script the engine refuses:\n" + findings, script.str());
    }
    return 0;
}
