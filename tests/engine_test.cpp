// The stand-in engine: that it accepts what the engine takes and names what the engine would
// refuse, and that the sample dungeon loads in it without a finding.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// Two 3 by 2 levels, the frame most scripts below build on: lines 1 to 8 of the script.
const std::string two_maps = "kel_text2map(0, 3, 2, 60, 0, {\n\"111\",\n\"101\",\n} )\n"
                             "kel_text2map(1, 3, 2, 40, 1, {\n\"111\",\n\"111\"\n} )\n";

} // namespace

TEST(StandInEngine, AcceptsAWholeDungeon)
{
    const std::string script = "\ndungeon_name=\"VORHANE\"\n" + two_maps +
                               "ch_a=kel_add_champion(\"port_a\",\"A\",\"\",1,2,3,4,5,6,7,8,9,500,0,0,0,0)\n"
                               "kel_champion_toparty(0,ch_a)\n"
                               "kel_spawnburst_begin()\n"
                               "TVK_c=kel_spawn(\"chest\",1,2,1,CENTER)\n"
                               "TVK_k=kel_spawn(\"key\",IN_OBJ,TVK_c,-1,0)\n"
                               "TVK_p=spawn_pit(0,0,0)\n"
                               "--TVK_u=kel_spawn(\"GONE\",0,9,9,CENTER)\n"
                               "exvar[TVK_p]={target=TVK_c,msg=M_TOGGLE}\n"
                               "kel_disable(TVK_p)\nkel_set_maxhp(TVK_c,5)\nkel_set_hp(TVK_c,5)\n"
                               "kel_spawnburst_end()\ndungeon_translate()\nkel_party_place(1,2,1,EAST)\n";
    EXPECT_EQ(engine_findings_of_text(script), "");
}

TEST(StandInEngine, NamesMapsThatDoNotShareOneGrid)
{
    EXPECT_EQ(engine_findings_of_text(two_maps + "kel_text2map(2, 4, 2, 1, 1, {\n\"1111\",\n\"1111\",\n} )\n"),
              "LUA_dungeon.lua:9: level 2 is 4 by 2 where the first map is 3 by 2\n");
    EXPECT_EQ(engine_findings_of_text("kel_text2map(0, 3, 2, 1, 0, {\n\"11\",\n\"111\",\n} )\n"),
              "LUA_dungeon.lua:1: row 1 of level 0 is \"11\", not 3 squares wide\n");
    EXPECT_EQ(engine_findings_of_text("kel_text2map(0, 3, 2, 1, 0, {\n\"111\",\n} )\n"),
              "LUA_dungeon.lua:1: level 0 has 1 rows where it is 2 high\n");
    EXPECT_EQ(engine_findings_of_text(two_maps + "kel_text2map(1, 3, 2, 1, 0, {\"111\",\"111\"} )\n"),
              "LUA_dungeon.lua:9: level 1 is made twice\n");
}

TEST(StandInEngine, NamesObjectsOffTheLevelsOrTheGrid)
{
    const std::string script = two_maps + "TVK_a=kel_spawn(\"a\",2,0,0,CENTER)\n"
                                          "TVK_b=kel_spawn(\"b\",0,3,0,NORTH)\n"
                                          "TVK_c=spawn_pit(1,0,-1)\n"
                                          "TVK_d=kel_spawn(\"d\",0,0,0,UP)\n"
                                          "TVK_e=kel_spawn(\"e\",0,_1,0,CENTER)\n";
    EXPECT_EQ(engine_findings_of_text(script),
              "LUA_dungeon.lua:9: the object \"a\" stands on level 2, which no map made\n"
              "LUA_dungeon.lua:10: the object \"b\" stands at 3,0, outside the 3 by 2 grid\n"
              "LUA_dungeon.lua:11: the pit stands at 0,-1, outside the 3 by 2 grid\n"
              "LUA_dungeon.lua:12: the object \"d\" has the placement nil\n"
              "LUA_dungeon.lua:13: the object \"e\" stands at nil,0, outside the 3 by 2 grid\n");
}

TEST(StandInEngine, NamesHoldersAndExvarKeysThatAreNoObjectsYet)
{
    const std::string script = two_maps + "TVK_k=kel_spawn(\"key\",IN_OBJ,TVK_c,-1,0)\n"
                                          "TVK_c=kel_spawn(\"chest\",0,1,1,CENTER)\n"
                                          "exvar[TVK_c]={count=1}\n"
                                          "exvar[\"TVK_c\"]={count=2}\n"
                                          "kel_disable(ch_x)\n"
                                          "exvar[TVK_missing]={count=3}\n"
                                          "kel_party_place(0,1,1,EAST)\n";
    // The nil key stops the script where the engine stops too: nothing after it runs.
    EXPECT_EQ(engine_findings_of_text(script),
              "LUA_dungeon.lua:9: the holder of the object \"key\" is nil, not an object made before\n"
              "LUA_dungeon.lua:12: the exvar key is \"TVK_c\", not an object made before\n"
              "LUA_dungeon.lua:13: what kel_disable disables is nil, not an object made before\n"
              "the script stops: LUA_dungeon.lua:14: table index is nil\n");
}

TEST(StandInEngine, NamesRosterEntriesAndPartyPlacesTheEngineRefuses)
{
    const std::string script = two_maps + "kel_champion_toparty(0,ch_later)\n"
                                          "ch_later=kel_add_champion(\"p\",\"L\",\"\",1,2,3,4,5,6,7,8,9,500,0,0,0)\n"
                                          "kel_party_place(3,0,0,EAST)\n"
                                          "kel_party_place(0,0,2,EAST)\n"
                                          "kel_party_place(0,0,0,AHEAD)\n";
    EXPECT_EQ(engine_findings_of_text(script),
              "LUA_dungeon.lua:9: party slot 0 takes nil, not a champion defined before\n"
              "LUA_dungeon.lua:10: the champion \"L\" has 13 numbers, not 14\n"
              "LUA_dungeon.lua:11: the party stands on level 3, which no map made\n"
              "LUA_dungeon.lua:12: the party stands at 0,2, outside the 3 by 2 grid\n"
              "LUA_dungeon.lua:13: the party faces nil\n");
}

TEST(StandInEngine, NamesScriptsThatReplaceTheEngineOrDoNotLoad)
{
    EXPECT_EQ(engine_findings_of_text("kel_spawn=kel_add_champion(\"p\",\"N\",\"\",1,2,3,4,5,6,7,8,9,500,0,0,0,0)\n"),
              "LUA_dungeon.lua:1: the script replaces the engine's \"kel_spawn\"\n");
    EXPECT_EQ(engine_findings_of_text("kel_text2map(0, 1, 1, 1, 0, {\n\"1\"\")\n} )\n"),
              "the script does not load: LUA_dungeon.lua:2: unfinished string near '\")'\n");
    EXPECT_EQ(engine_findings_of_text("while true do end\n"),
              "the script stops: LUA_dungeon.lua:1: the script runs without end\n");
}

TEST(StandInEngineSample, ConvertsCleanlyAndLoadsInTheStandInEngine)
{
    const RunResult run = run_converter_on(D2L_EXAMPLES_DIR);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.messages, "");
    expect_lua_compiles(run.script_path);
    EXPECT_EQ(engine_findings(run.script_path), "");
    // Every kind of object the converter knows stands in it.
    for (const char* part : {"=spawn_pit(", ",IN_OBJ,", "exvar[", "kel_disable(", "kel_set_hp(", "kel_add_champion(",
                             "kel_champion_toparty(", "kel_party_place(", "\nkel_text2map(1,"})
        EXPECT_NE(run.script.find(part), std::string::npos) << part;
}
