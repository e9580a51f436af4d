// The report: problems printed as they are found, and what decides the exit status.

#include <gtest/gtest.h>

#include <sstream>

#include "report/report.h"

TEST(Report, PrintsEachProblemAsFoundAndKeepsEntriesOnlyWhenAsked)
{
    for (const bool keep : {false, true}) {
        std::ostringstream sink;
        Report report("castle/my_dungeon.txt");
        report.print_to(sink, keep);
        EXPECT_TRUE(report.clean());
        report.warning(10, "a warning");
        report.add_all(17, {Problem("an error"), warning("another warning")});
        report.flush_printed();
        EXPECT_EQ(sink.str(), "castle/my_dungeon.txt:10: warning: a warning\n"
                              "castle/my_dungeon.txt:17: error: an error\n"
                              "castle/my_dungeon.txt:17: warning: another warning\n");
        EXPECT_EQ(report.entries().size(), keep ? 3u : 0u);
        EXPECT_FALSE(report.clean());
        EXPECT_TRUE(report.has_errors());
        EXPECT_TRUE(report.has_warnings());
    }
    // Many problems reach the sink whole and in order, however they are gathered.
    std::ostringstream sink;
    Report report;
    report.print_to(sink, false);
    std::string expected;
    for (long line = 1; line <= 5000; ++line) {
        report.warning(line, "only a warning");
        expected += "my_dungeon.txt:" + std::to_string(line) + ": warning: only a warning\n";
    }
    report.flush_printed();
    EXPECT_EQ(sink.str(), expected);
    EXPECT_FALSE(report.has_errors());
    EXPECT_TRUE(report.has_warnings());
}

TEST(Quoted, ShowsEveryByteSoThatATerminalPrintsTheMessageWhole)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a\"b\\c\x1b[2J", R"("a\"b\\c\027[2J")"},
        // Well-formed UTF-8 stays; other bytes (Latin-1, a cut sequence, an overlong form, a
        // surrogate) and the control characters U+0080 to U+009F are shown as \xNN.
        {"Ch\xC3\xA2teau \xE2\x82\xAC \xF0\x9F\x97\x9D", "\"Ch\xC3\xA2teau \xE2\x82\xAC \xF0\x9F\x97\x9D\""},
        {"caf\xE9 \xE2\x82x \xC0\xAF \xED\xA0\x80", R"("caf\xE9 \xE2\x82x \xC0\xAF \xED\xA0\x80")"},
        {"\xC2\x9B" "2J \xC2\xA0", "\"\\xC2\\x9B2J \xC2\xA0\""},
        // The first and the last of them.
        {"\xC2\x80\xC2\x9F", R"("\xC2\x80\xC2\x9F")"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(::quoted(text), shown) << shown;
}
