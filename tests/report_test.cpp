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

TEST(Report, ProblemsOfTheObjectNameListNameTheListAndItsLine)
{
    std::ostringstream sink;
    Report report("castle/my_dungeon.txt", "castle/names.txt");
    report.print_to(sink, true);
    report.warning(4, "in the dump");
    report.add(3, Problem("in the list", Severity::warning, 3, ProblemFile::object_list));
    report.flush_printed();
    EXPECT_EQ(sink.str(), "castle/my_dungeon.txt:4: warning: in the dump\ncastle/names.txt:3: warning: in the list\n");
    EXPECT_EQ(report.lines(), (std::vector<std::string>{"castle/my_dungeon.txt:4: warning: in the dump",
                                                         "castle/names.txt:3: warning: in the list"}));
}

TEST(Quoted, ShowsEveryByteSoThatATerminalPrintsTheMessageWhole)
{
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"DOOR_IRON", "\"DOOR_IRON\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\x1b[2J\t", "\"\\027[2J\\009\""},
        {std::string("a\0b", 3), "\"a\\000b\""},
        // Well-formed UTF-8 stays as it is.
        {"Ch\xC3\xA2teau \xC5\x81\xC3\xB3\x64\xC5\xBA \xE2\x82\xAC \xF0\x9F\x97\x9D", "\"Ch\xC3\xA2teau \xC5\x81\xC3\xB3\x64\xC5\xBA \xE2\x82\xAC \xF0\x9F\x97\x9D\""},
        // Bytes that are not part of well-formed UTF-8: Latin-1, a cut sequence, an overlong form,
        // a surrogate, a byte-order mark cut short at the end.
        {"caf\xE9", "\"caf\\xE9\""},
        {"\xE2\x82x", "\"\\xE2\\x82x\""},
        {"\xC0\xAF", "\"\\xC0\\xAF\""},
        {"\xED\xA0\x80", "\"\\xED\\xA0\\x80\""},
        {"x\xEF\xBB", "\"x\\xEF\\xBB\""},
        // The control characters U+0080 to U+009F, which a terminal may act on.
        {"\xC2\x9B" "2J \xC2\xA0", "\"\\xC2\\x9B2J \xC2\xA0\""},
    };
    for (const auto& c : cases) EXPECT_EQ(::quoted(c.text), c.shown) << c.shown;
}
