// The party: roster statements, the roster slot over a whole run, the characters and party
// sections as the driver hands them on, and the placement at the entrance.

#include <gtest/gtest.h>

#include <string>

#include "party/party.h"
#include "test_support.h"

namespace {

// Two levels; level 1 lies at (20,5) on the common grid.
const std::string two_level_layout = "[Layout]\n"
                                     "WALLSET(a)\nLIGHT(10)\nOFFSET(0,0)\nSIZE(1,1)\n1\n"
                                     "WALLSET(b)\nLIGHT(20)\nOFFSET(20,5)\nSIZE(1,1)\n1\n"
                                     "/******************************************************************************/\n";

Levels levels_at(std::initializer_list<std::pair<int, int>> offsets)
{
    Levels levels;
    levels.read = true;
    for (auto [x, y] : offsets) {
        Level level;
        level.offset_x = x;
        level.offset_y = y;
        level.size_x = 1;
        level.size_y = 1;
        level.rows = {"1"};
        level.complete = true;
        levels.levels.push_back(level);
    }
    return levels;
}

Entrance entrance_at(int x, int y, int level, const std::string& facing)
{
    Entrance entrance;
    entrance.x = x;
    entrance.y = y;
    entrance.level = level;
    entrance.facing = facing;
    return entrance;
}

std::string placement(const Entrance& entrance, const Levels& levels)
{
    Problems problems;
    auto statement = party_placement(entrance, levels, problems);
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front());
    return statement.value_or("(none)");
}

std::string roster(int slot, const std::string& line)
{
    Problems problems;
    auto statement = roster_statement(slot, line, problems);
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front());
    return statement.value_or("(none)");
}

// The text of the script between its header and its closing statements.
std::string section_output(const std::string& script)
{
    const std::string header = "\ndungeon_name=\"VORHANE\"\n\n";
    const std::size_t end = script.find("\nkel_spawnburst_end()");
    if (script.compare(0, header.size(), header) != 0 || end == std::string::npos) return "(malformed) " + script;
    return script.substr(header.size(), end - header.size());
}

TEST(RosterStatement, NamesTheChampionVariableInItsSlot)
{
    EXPECT_EQ(roster(0, "ch-7"), "kel_champion_toparty(0,ch_7)");
    EXPECT_EQ(roster(3, "ch 7"), "kel_champion_toparty(3,ch7)");
    EXPECT_EQ(roster(12, " Orrin_the-2nd "), "kel_champion_toparty(12,Orrin_the_2nd)");
}

TEST(RosterStatement, LineThatIsNoLuaNameIsReportedAndLeftOut)
{
    for (const std::string line : {"7ch", "end", "ch.7", ";ch-7", "[Characters]", "ch\t7", "x)os.exit(", " "}) {
        Problems problems;
        EXPECT_FALSE(roster_statement(0, line, problems)) << line;
        ASSERT_EQ(problems.size(), 1u) << line;
        EXPECT_NE(problems.front().find("does not name a champion identifier"), std::string::npos);
    }
}

TEST(PartyPlacement, StandsAtTheEntranceOnTheCommonGrid)
{
    const Levels levels = levels_at({{0, 0}, {20, 5}});
    EXPECT_EQ(placement(entrance_at(3, 4, 1, "EAST"), levels), "\nkel_party_place(1,23,9,EAST)\n");
    EXPECT_EQ(placement(entrance_at(3, 4, 0, "2"), levels), "\nkel_party_place(0,3,4,2)\n");
    // Values are not normalised: a negative position keeps its minus sign.
    EXPECT_EQ(placement(entrance_at(-30, -1, 1, "-1"), levels), "\nkel_party_place(1,-10,4,-1)\n");
}

TEST(PartyPlacement, EntranceOffTheLevelsOrWithAFacingOutsideCodeIsReported)
{
    Levels levels = levels_at({{0, 0}, {20, 5}});
    levels.levels.push_back(Level{}); // a level block that could not be read
    const struct {
        Entrance entrance;
        const char* problem;
    } cases[] = {
        {entrance_at(0, 0, -1, "EAST"), "the entrance level -1 is not a level; the party is not placed"},
        {entrance_at(0, 0, 3, "EAST"), "the entrance level 3 is not a level; the party is not placed"},
        {entrance_at(0, 0, 2, "EAST"), "the entrance level 2 is not a level; the party is not placed"},
        {entrance_at(0, 0, 0, "EAST)os.exit("),
         "the entrance facing \"EAST)os.exit(\" is not a word or number; the party is not placed"},
        {entrance_at(0, 0, 0, "end"), "the entrance facing \"end\" is not a word or number; the party is not placed"},
    };
    for (const auto& c : cases) {
        Problems problems;
        EXPECT_FALSE(party_placement(c.entrance, levels, problems));
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems.front(), c.problem);
    }
}

TEST(PartySections, WorkedExampleIsWrittenWhereTheSectionsStand)
{
    const MemoryRun run = convert_text(
        "[Main Data]\nENTRANCE...(3,4,1,EAST)\n" + two_level_layout +
            "[Characters]\n"
            "ch-7 (Orrin) TITLE (the Pale) (m) face:IMG_FACE_ORRIN, (45,30,12) (2.9,0,1.5,0) (40,35,30,42,38,36)\n"
            "\n"
            "ch-8 (Mira) (f) face:IMG_FACE_MIRA, (38,44,20) (0,1,3.7,2) (30,45,40,33,40,42)\n"
            "[Party]\nch-7\nch-8\n",
        "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.messages, "");
    const std::string sections = section_output(run.script);
    const std::string expected_tail =
        "\n"
        "ch_7=kel_add_champion(\"port_orrin\",\"Orrin\",\"the Pale\",450,300,120,400,350,300,420,380,360,500,2,0,1,0)\n"
        "ch_8=kel_add_champion(\"port_mira\",\"Mira\",\"\",380,440,200,300,450,400,330,400,420,500,0,1,3,2)\n"
        "\n"
        "kel_champion_toparty(0,ch_7)\n"
        "kel_champion_toparty(1,ch_8)\n";
    ASSERT_GE(sections.size(), expected_tail.size());
    EXPECT_EQ(sections.substr(sections.size() - expected_tail.size()), expected_tail);
    const std::string ending = "\ndungeon_translate()\n\nkel_party_place(1,23,9,EAST)\n\n";
    ASSERT_GE(run.script.size(), ending.size());
    EXPECT_EQ(run.script.substr(run.script.size() - ending.size()), ending);
    expect_lua_text_compiles(run.script);
}

TEST(PartySections, RosterSlotCountsOverTheWholeRunSkippingEmptyAndRefusedLines)
{
    const MemoryRun run = convert_text("[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + two_level_layout +
                                           "[Party]\na\n\nb\n7c\n"
                                           "/******************************************************************************/\n"
                                           "ignored\n"
                                           "[Party]\n\nc d\n",
                                       "");
    const std::string sections = section_output(run.script);
    const std::string after_maps = "} )\n";
    EXPECT_EQ(sections.substr(sections.rfind(after_maps) + after_maps.size()),
              "\n"
              "kel_champion_toparty(0,a)\n"
              "kel_champion_toparty(1,b)\n"
              "\n"
              "kel_champion_toparty(2,cd)\n");
    EXPECT_EQ(run.messages, "my_dungeon.txt:19: the roster line \"7c\" does not name a champion identifier; "
                            "it is left out\n");
    EXPECT_EQ(run.status, 2);
}

TEST(PartySections, HeaderQuirksOfCharactersAndParty)
{
    // "[Characters]" directly followed by "[Party]" opens both in one pass; the "[Characters]" line
    // after "[Party]" is a roster line, and a ";" line of the characters section a champion line.
    const MemoryRun run = convert_text("[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + two_level_layout +
                                           "[Characters]\n[Party]\n[Characters]\nok\n"
                                           "[Characters]\n;c (N) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)\n",
                                       "");
    EXPECT_NE(section_output(run.script).find("\n\n\nkel_champion_toparty(0,ok)\n\n"), std::string::npos)
        << run.script;
    EXPECT_EQ(run.messages,
              "my_dungeon.txt:17: the roster line \"[Characters]\" does not name a champion identifier; it is left out\n"
              "my_dungeon.txt:20: the champion identifier \";c\" is not a Lua name; the champion is left out\n");
    EXPECT_EQ(run.status, 2);
}

TEST(PartySections, ChampionLinesThatBreakTheirRulesAreReportedAndNotWritten)
{
    const MemoryRun run = convert_text("[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + two_level_layout +
                                           "[Characters]\n"
                                           "a (N\"]]) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)\n"
                                           "b (N) (f) face:X_Y_Z, (0,0,0) (0,0,0,0)\n"
                                           "c (N) (f) face:X_Y_Z, (0,0,0) (0,0,zero,0) (0,0,0,0,0,0)\n",
                                       "");
    EXPECT_NE(run.script.find("\na=kel_add_champion(\"port_z\",\"N\\\"]]\",\"\",0,0,0,0,0,0,0,0,0,500,0,0,0,0)\n"
                              "\nkel_spawnburst_end()"),
              std::string::npos)
        << run.script;
    EXPECT_EQ(run.messages,
              "my_dungeon.txt:17: the champion line has 4 parenthesised groups where it needs 5; the champion is "
              "left out\n"
              "my_dungeon.txt:18: the real group \"(0,0,zero,0)\" of the champion line is not 4 reals that fit the "
              "champion's numbers; the champion is left out\n");
    EXPECT_EQ(run.status, 2);
    expect_lua_text_compiles(run.script);
}

TEST(PartySections, PlacementUsesTheShiftedOffsetsOrIsReportedWhenItCannotStand)
{
    const std::string negative_layout = "[Layout]\n"
                                        "WALLSET(a)\nLIGHT(10)\nOFFSET(0,0)\nSIZE(1,1)\n1\n"
                                        "WALLSET(b)\nLIGHT(20)\nOFFSET(-4,-2)\nSIZE(1,1)\n1\n"
                                        "/******************************************************************************/\n";
    const MemoryRun shifted = convert_text("[Main Data]\nENTRANCE...(1,1,1,WEST)\n" + negative_layout, "");
    EXPECT_EQ(shifted.messages, "");
    EXPECT_NE(shifted.script.find("\n\nkel_party_place(1,1,1,WEST)\n\n"), std::string::npos) << shifted.script;

    const MemoryRun missing = convert_text(two_level_layout, "");
    EXPECT_EQ(missing.messages, "my_dungeon.txt:12: the dump has no entrance line; the party is not placed\n");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.script.find("kel_party_place"), std::string::npos);

    const MemoryRun off_levels = convert_text("[Main Data]\nENTRANCE...(1,1,2,WEST)\n" + two_level_layout, "");
    EXPECT_EQ(off_levels.messages, "my_dungeon.txt:2: the entrance level 2 is not a level; the party is not placed\n");
    EXPECT_EQ(off_levels.script.find("kel_party_place"), std::string::npos);
    expect_lua_text_compiles(off_levels.script);
}

} // namespace
