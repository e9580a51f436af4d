// The layout reader, the common grid and the map statements.

#include <gtest/gtest.h>

#include <sstream>

#include "layout/layout_reader.h"
#include "test_support.h"

namespace {

struct LayoutRun {
    Levels levels;
    Report report;
    std::string maps;
    std::string next_line;
};

// Reads a layout section text (the lines after "[Layout]") and writes its maps.
LayoutRun read_section(const std::string& text)
{
    std::istringstream in(text);
    LineReader reader(in);
    LayoutRun run;
    run.levels = read_layout(reader, run.report);
    std::ostringstream out;
    write_maps(run.levels, out);
    run.maps = out.str();
    reader.next(run.next_line);
    return run;
}

const std::string separator = "/" + std::string(78, '*') + "/\n";

} // namespace

TEST(Layout, WorkedExamplePlacesBothLevelsOnOneGrid)
{
    auto run = read_section("WALLSET(first)\nLIGHT(60)\nOFFSET(1,0)\nSIZE(3,2)\n111\n101\n"
                            "WALLSET(second)\nLIGHT(40)\nOFFSET(0,1)\nSIZE(2,2)\n11\n11\n" + separator + "after\n");
    EXPECT_TRUE(run.report.clean());
    EXPECT_EQ(run.maps, "kel_text2map(0, 4, 3, 60, 0, {\n\"0111\",\n\"0101\",\n\"0000\"\n} )\n"
                        "kel_text2map(1, 4, 3, 40, 1, {\n\"0000\",\n\"1100\",\n\"1100\",\n} )\n");
    EXPECT_EQ(run.next_line, "after");
    // The lines of each block and of its first map row, for the map page's problems.
    ASSERT_EQ(run.levels.levels.size(), 2u);
    EXPECT_EQ(run.levels.levels[0].line, 1);
    EXPECT_EQ(run.levels.levels[0].rows_line, 5);
    EXPECT_EQ(run.levels.levels[1].line, 7);
    EXPECT_EQ(run.levels.levels[1].rows_line, 11);
}

TEST(Layout, NegativeOffsetsRaiseEveryOffsetOnTheirAxis)
{
    auto run = read_section("WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(3,3)\n111\n111\n111\n"
                            "WALLSET\nLIGHT(1)\nOFFSET(-2,-1)\nSIZE(2,2)\n11\n11\n/*\n");
    ASSERT_EQ(run.levels.levels.size(), 2u);
    EXPECT_EQ(run.levels.offsets_x(), (std::vector<int>{2, 0}));
    EXPECT_EQ(run.levels.offsets_y(), (std::vector<int>{1, 0}));
    EXPECT_EQ(run.levels.grid_width, 5);
    EXPECT_EQ(run.levels.grid_height, 4);
}

TEST(Layout, SingleLevelAwayFromTheCornerHasTopFillAndNoBottomFill)
{
    auto run = read_section("WALLSET\nLIGHT(9)\nOFFSET(2,3)\nSIZE(4,5)\n1111\n1221\n1\n12345\n1111\n/*\n");
    EXPECT_EQ(run.levels.grid_width, 6);
    EXPECT_EQ(run.levels.grid_height, 8);
    EXPECT_EQ(run.maps, "kel_text2map(0, 6, 8, 9, 0, {\n\"000000\",\n\"000000\",\n\"000000\",\n"
                        "\"001111\",\n\"001221\",\n\"001\",\n\"0012345\",\n\"001111\",\n} )\n");
}

TEST(Layout, HeaderLinesAreTakenInTheirOrderOnly)
{
    // Three LIGHT lines are passed over, a fourth becomes the first map row; ITEM_PREFIX and
    // DESCRIPTION are skipped; lines before the first WALLSET are skipped even with "/*".
    auto run = read_section("junk /*\nWALLSET\nLIGHT(7)\nLIGHT(8)\nLIGHT(9)\nOFFSET(0,0)\nSIZE(2,1)\n"
                            "ITEM_PREFIX x\nDESCRIPTION y\nLIGHT row\nignored\n/*\n");
    ASSERT_EQ(run.levels.levels.size(), 1u);
    EXPECT_EQ(run.levels.levels[0].light, 7);
    EXPECT_EQ(run.levels.levels[0].rows, (std::vector<std::string>{"LIGHT row"}));
    // The row is kept as read; its width, other than SIZE's 2, is reported, and so is the row
    // after it, past the SIZE height.
    EXPECT_EQ(plain_lines(run.report),
              (std::vector<std::string>{"my_dungeon.txt:10: warning: map row 1 of level 0 is 9 squares wide where its SIZE says 2",
                                        "my_dungeon.txt:11: warning: level 0 has more map rows than its SIZE height of 1; "
                                        "this row and those after it are skipped"}));
}

TEST(Layout, SeparatorBetweenBlocksEndsTheSection)
{
    auto run = read_section("WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,1)\n1\n/* end\nWALLSET\nLIGHT(1)\n");
    EXPECT_EQ(run.levels.levels.size(), 1u);
    EXPECT_EQ(run.next_line, "WALLSET");
}

TEST(Layout, RowsWithQuotesAreEscapedAndHeightZeroTakesNoRow)
{
    auto run = read_section("WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(2,1)\n\"\\\nWALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(2,0)\n/*\n");
    EXPECT_EQ(run.maps, "kel_text2map(0, 2, 1, 1, 0, {\n\"\\\"\\\\\",\n} )\n"
                        "kel_text2map(1, 2, 1, 1, 1, {\n\"00\"\n} )\n");
}

TEST(LayoutRuleBreaks, IncompleteBlocksAreReportedAndLeftOut)
{
    auto run = read_section("WALLSET\nOFFSET(0,0)\nSIZE(1,1)\n1\n"
                            "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(2,1)\n11\n"
                            "WALLSET\nLIGHT(x)\nOFFSET(0,0)\nSIZE(1,1)\n1\n/*\n");
    ASSERT_EQ(run.levels.levels.size(), 3u);
    EXPECT_FALSE(run.levels.is_level(0));
    EXPECT_TRUE(run.levels.is_level(1));
    EXPECT_FALSE(run.levels.is_level(2));
    EXPECT_EQ(plain_lines(run.report),
              (std::vector<std::string>{"my_dungeon.txt:2: error: level 0 has no LIGHT line; the level is left out",
                                        "my_dungeon.txt:11: error: level 2 has a LIGHT value that is not an integer in "
                                        "range; the level is left out"}));
    EXPECT_EQ(run.maps, "kel_text2map(1, 2, 1, 1, 1, {\n\"11\",\n} )\n");
}

TEST(LayoutRuleBreaks, EndOfInputKeepsTheCompleteLevels)
{
    auto cut_rows = read_section("WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,1)\n1\nWALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,3)\n1\n");
    EXPECT_TRUE(cut_rows.levels.is_level(0));
    EXPECT_FALSE(cut_rows.levels.is_level(1));
    EXPECT_EQ(cut_rows.report.lines().size(), 2u);
        // The cut level takes no part in the grid either.
    EXPECT_EQ(cut_rows.maps, "kel_text2map(0, 1, 1, 1, 0, {\n\"1\",\n} )\n");

    auto no_end = read_section("WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,1)\n1");
    EXPECT_TRUE(no_end.levels.is_level(0));
    EXPECT_EQ(no_end.report.lines().size(), 1u);

    auto no_block = read_section("nothing here\n/*\n");
    EXPECT_TRUE(no_block.levels.levels.empty());
    EXPECT_EQ(no_block.report.lines().size(), 1u);
}

TEST(LayoutRuleBreaks, HugeSizesAndOffsetsAreRefused)
{
    auto run = read_section("WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(99999,2)\n1\n1\n/*\n"
                            "WALLSET\nLIGHT(1)\nOFFSET(-2147483648,0)\nSIZE(1,1)\n1\n/*\n");
    EXPECT_FALSE(run.levels.is_level(0));
    EXPECT_FALSE(run.report.clean());
    EXPECT_EQ(run.maps, "");
}

TEST(LayoutRuleBreaks, LevelSidesUpTo1024SquaresAreConverted)
{
    struct Row {
        int width;
        int height;
        bool converted;
    };
    for (const Row& row : {Row{1024, 1024, true}, Row{1024, 1, true}, Row{1, 1024, true}, Row{1025, 1, false},
                           Row{1, 1025, false}}) {
        std::string text = "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(" + std::to_string(row.width) + "," +
                           std::to_string(row.height) + ")\n";
        for (int i = 0; i < row.height; ++i) text += std::string(static_cast<std::size_t>(row.width), '1') + "\n";
        auto run = read_section(text + "/*\n");
        EXPECT_EQ(run.levels.is_level(0), row.converted) << row.width << " by " << row.height;
        EXPECT_EQ(run.report.clean(), row.converted) << row.width << " by " << row.height;
        if (row.converted) {
            EXPECT_EQ(run.levels.grid_width, row.width);
            EXPECT_EQ(run.levels.grid_height, row.height);
            EXPECT_NE(run.maps.find("\"" + std::string(static_cast<std::size_t>(row.width), '1') + "\""),
                      std::string::npos);
        }
    }
}

TEST(LayoutRuleBreaks, OffsetsUpTo1024SquaresAreConverted)
{
    const std::pair<const char*, bool> rows[] = {
        {"1024,0", true},  {"0,1024", true},  {"-1024,-1024", true}, {"1025,0", false},
        {"0,1025", false}, {"-1025,0", false}, {"0,-1025", false},
    };
    for (const auto& [offset, converted] : rows) {
        auto run = read_section(std::string("WALLSET\nLIGHT(1)\nOFFSET(") + offset + ")\nSIZE(1,1)\n1\n/*\n");
        EXPECT_EQ(run.levels.is_level(0), converted) << offset;
        EXPECT_EQ(run.report.clean(), converted) << offset;
    }
}

TEST(LayoutRuleBreaks, ManyLevelsOnAHugeGridStopAtTheMapBudget)
{
    // Two corners 2047 squares apart make a grid of 2048 by 2048 (4,194,304 squares); each
    // level is written on the whole grid, so only the first eight levels fit in the budget.
    std::string text = "WALLSET\nLIGHT(1)\nOFFSET(-1024,-1024)\nSIZE(1,1)\n1\n"
                       "WALLSET\nLIGHT(1)\nOFFSET(1023,1023)\nSIZE(1,1)\n1\n";
    for (int i = 0; i < 8; ++i) text += "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,1)\n1\n";
    std::istringstream in(text + "/*\n");
    LineReader reader(in);
    Report report;
    const Levels levels = read_layout(reader, report);
    EXPECT_EQ(levels.grid_width, 2048);
    EXPECT_TRUE(levels.is_level(7));
    EXPECT_FALSE(levels.is_level(8));
    EXPECT_FALSE(levels.is_level(9));
    EXPECT_EQ(plain_lines(report), (std::vector<std::string>{
                                  "my_dungeon.txt:51: error: level 8 is left out: the maps of all levels would pass 33554432 squares",
                                  "my_dungeon.txt:51: error: level 9 is left out: the maps of all levels would pass 33554432 squares"}));
}

TEST(Entrance, ReadsFourValuesWithOrWithoutBlanks)
{
    auto entrance = read_entrance("ENTRANCE...(5, 7, 0, 2)");
    ASSERT_TRUE(entrance);
    EXPECT_EQ(entrance->x, 5);
    EXPECT_EQ(entrance->y, 7);
    EXPECT_EQ(entrance->level, 0);
    EXPECT_EQ(entrance->facing, "2");
    EXPECT_FALSE(read_entrance("ENTRANCE...(5,7)"));
    EXPECT_FALSE(read_entrance("ENTRANCE... 5,7,0,2"));
}

// A header or a WALLSET line is never a map row: the level that runs into it is left out, and the
// line is read as what it is, so the rest of the dump is read. Rows past the SIZE height are reported.
TEST(Layout, HeadersAndWallsetLinesEndTheRowsOfALevel)
{
    struct Case {
        const char* name;
        std::string text;
        std::size_t levels;
        std::vector<bool> complete;
        std::string next_line;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"the separator as the last row", "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(2,2)\n11\n" + separator + "[Items]\n",
         1, {false}, "[Items]",
         {"my_dungeon.txt:6: error: level 0 has fewer map rows than its SIZE height; the level is left out"}},
        {"the next block's WALLSET as a row",
         "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(2,2)\n11\nWALLSET(b)\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,1)\n1\n/*\nafter\n", 2,
         {false, true}, "after",
         {"my_dungeon.txt:6: error: level 0 has fewer map rows than its SIZE height; the level is left out"}},
        {"a header without the line with /*", "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,1)\n1\n[Items]\n", 1, {true},
         "[Items]",
         {"my_dungeon.txt:6: warning: the layout section has no line with \"/*\" after its last level; it ends at the "
          "header \"[Items]\""}},
        {"a header as a row", "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,2)\n1\n[Items]\n", 1, {false}, "[Items]",
         {"my_dungeon.txt:6: error: level 0 has fewer map rows than its SIZE height; the level is left out"}},
        {"one row too many", "WALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(1,1)\n1\n1\n1\n/*\nafter\n", 1, {true}, "after",
         {"my_dungeon.txt:6: warning: level 0 has more map rows than its SIZE height of 1; this row and those after "
          "it are skipped"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = read_section(c.text);
        ASSERT_EQ(run.levels.levels.size(), c.levels);
        for (std::size_t i = 0; i < c.levels; ++i) EXPECT_EQ(run.levels.levels[i].complete, c.complete[i]) << i;
        EXPECT_EQ(run.next_line, c.next_line);
        EXPECT_EQ(plain_lines(run.report), c.messages);
    }
}
