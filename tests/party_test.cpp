// The party: roster statements, the placement at the entrance, and the quirks of the characters
// and party headers. Whole runs with both sections are the party_ cases under tests/cases.

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
        level.size_x = 5;
        level.size_y = 5;
        level.rows.assign(5, "11111");
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
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front().message);
    return statement.value_or("(none)");
}

const ChampionNames defined = {"ch_7", "ch7", "Orrin_the_2nd", "kel_spawn", "exvar", "os"};

std::string roster(int slot, const std::string& line)
{
    Problems problems;
    auto statement = roster_statement(slot, line, defined, problems);
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front().message);
    return statement.value_or("(none)");
}

TEST(RosterStatement, NamesTheChampionVariableInItsSlot)
{
    EXPECT_EQ(roster(0, "ch-7"), "kel_champion_toparty(0,ch_7)");
    EXPECT_EQ(roster(3, "ch 7"), "kel_champion_toparty(3,ch7)");
    EXPECT_EQ(roster(12, " Orrin_the-2nd "), "kel_champion_toparty(12,Orrin_the_2nd)");
}

TEST(RosterStatement, LineThatIsNoLuaNameIsReportedAndLeftOut)
{
    for (const std::string line : {"7ch", "end", "ch.7", ";ch-7", "[Characters]", "ch\t7", "x)os.exit(", " ",
                                  "kel_spawn", "exvar", "TVK_door", "os"}) {
        Problems problems;
        EXPECT_FALSE(roster_statement(0, line, defined, problems)) << line;
        ASSERT_EQ(problems.size(), 1u) << line;
        EXPECT_NE(problems.front().message.find("does not name a champion identifier"), std::string::npos);
    }
}

TEST(RosterStatement, ChampionNotDefinedBeforeIsReportedAndLeftOut)
{
    Problems problems;
    EXPECT_FALSE(roster_statement(0, "ch-8", defined, problems));
    EXPECT_EQ(problems, Problems{Problem(MessageId::roster,
                                         "the roster line \"ch-8\" names no champion defined before it; it is left out")});
    EXPECT_EQ(defined_champion("ch_7=kel_add_champion(\"port_a\",\"A=B\",\"\",1)"), "ch_7");
}

TEST(PartySections, RosterBeforeItsChampionAndAnUndefinedNameUseNoSlot)
{
    const MemoryRun run = convert_text("[Party]\nlate\n[Characters]\nlate (L) (m) face:X_Y_Z, (1,1,1) (0,0,0,0) (1,1,1,1,1,1)\n"
                                       "[Party]\nnobody\nlate\n",
                                       "");
    EXPECT_NE(run.script.find("\nkel_champion_toparty(0,late)\n"), std::string::npos) << run.script;
    EXPECT_EQ(run.script.find("kel_champion_toparty(1"), std::string::npos) << run.script;
    EXPECT_NE(run.messages.find("my_dungeon.txt:2: error: the roster line \"late\" names no champion defined before it"),
              std::string::npos) << run.messages;
    EXPECT_NE(run.messages.find("my_dungeon.txt:6: error: the roster line \"nobody\" names no champion"), std::string::npos);
}

TEST(PartyPlacement, StandsAtTheEntranceOnTheCommonGrid)
{
    const Levels levels = levels_at({{0, 0}, {20, 5}});
    EXPECT_EQ(placement(entrance_at(3, 4, 1, "EAST"), levels), "\nkel_party_place(1,23,9,EAST)\n");
    EXPECT_EQ(placement(entrance_at(3, 4, 0, "2"), levels), "\nkel_party_place(0,3,4,2)\n");
}

TEST(PartyPlacement, EntranceOutsideItsLevelsMapIsPlacedWithAWarning)
{
    // The engine cannot start the party there; the author is told, the statement stays as the dump says.
    const Levels levels = levels_at({{0, 0}, {20, 5}});
    for (auto [x, y] : {std::pair{5, 0}, {0, 5}, {-30, -1}}) {
        Problems problems;
        auto statement = party_placement(entrance_at(x, y, 1, "-1"), levels, problems);
        ASSERT_TRUE(statement);
        EXPECT_EQ(*statement, "\nkel_party_place(1," + std::to_string(x + 20) + "," + std::to_string(y + 5) + ",-1)\n");
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems.front(), Problem(MessageId::entrance_outside, "the entrance " + std::to_string(x) + "," +
                                                                             std::to_string(y) + " lies outside the map of level 1"));
    }
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
         "the entrance facing \"EAST)os.exit(\" is not NORTH, EAST, SOUTH, WEST or a number; the party is not placed"},
        {entrance_at(0, 0, 0, "end"), "the entrance facing \"end\" is not NORTH, EAST, SOUTH, WEST or a number; the party is not placed"},
        {entrance_at(0, 0, 0, "east"), "the entrance facing \"east\" is not NORTH, EAST, SOUTH, WEST or a number; the party is not placed"},
        {entrance_at(0, 0, 0, "CENTER"), "the entrance facing \"CENTER\" is not NORTH, EAST, SOUTH, WEST or a number; the party is not placed"},
    };
    for (const auto& c : cases) {
        Problems problems;
        EXPECT_FALSE(party_placement(c.entrance, levels, problems));
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems.front().message, c.problem);
    }
}

TEST(PartySections, HeaderQuirksOfCharactersAndParty)
{
    // "[Characters]" directly followed by "[Party]" opens both in one pass, and "[Party]" followed by
    // "[Characters]" too; a ";" line of the characters section is a champion line.
    const MemoryRun run = convert_text("[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + two_level_layout +
                                           "[Characters]\nok (K) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)\n"
                                           "[Characters]\n[Party]\n[Characters]\nok\n"
                                           "[Characters]\n;c (N) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)\n",
                                       "");
    EXPECT_NE(run.script.find(",500,0,0,0,0)\n\n\n\n\n\n"), std::string::npos) << run.script;
    EXPECT_EQ(run.messages,
              "my_dungeon.txt:20: error: the champion line has 0 parenthesised groups where it needs 5; the champion is left out\n"
              "my_dungeon.txt:22: error: the champion identifier \";c\" is not a Lua name; the champion is left out\n");
    EXPECT_EQ(run.status, 2);
}

TEST(PartySections, PlacementUsesTheShiftedOffsets)
{
    // Level 1 had the most negative offsets; after the shift it lies at (0,0).
    const MemoryRun run = convert_text("[Main Data]\nENTRANCE...(1,1,1,WEST)\n"
                                       "[Layout]\n"
                                       "WALLSET(a)\nLIGHT(10)\nOFFSET(0,0)\nSIZE(1,1)\n1\n"
                                       "WALLSET(b)\nLIGHT(20)\nOFFSET(-4,-2)\nSIZE(2,2)\n11\n11\n"
                                       "/******************************************************************************/\n",
                                       "");
    EXPECT_EQ(run.messages, "");
    EXPECT_NE(run.script.find("\n\nkel_party_place(1,1,1,WEST)\n\n"), std::string::npos) << run.script;
}

} // namespace
