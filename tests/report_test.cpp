// The report: problems printed as they are found, and what decides the exit status.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "report/report.h"

namespace {
// A problem of the object name list at a line.
Problem list_problem(long line)
{
    Problem problem(MessageId::list_twice, "a list warning");
    problem.file = ProblemFile::object_list;
    problem.line = line;
    return problem;
}

std::string printed(const Report& report, bool all = false)
{
    std::ostringstream out;
    write_messages(out, report, all, true);
    return out.str();
}
} // namespace

TEST(Report, PrintsTheListFirstThenTheDumpInLineOrderWithNamesColumnsAndTheCount)
{
    Report report("castle/my_dungeon.txt", "castle/obj_list.txt");
    EXPECT_EQ(printed(report), "");
    report.add(MessageId::target, 30, "found last, line 30");
    report.add(MessageId::map_row_width, 10, "a warning");
    const std::string line = "k1 KEY 1 1 0 NROTH";
    report.add_all(17, {Problem(MessageId::item_line, "an error"),
                        Problem(MessageId::placement, "another warning", std::string_view(line).substr(13))},
                   line);
    report.add(list_problem(4).line, list_problem(4));
    report.set_objects({.written = 7, .commented = 1, .skipped = 1});
    EXPECT_EQ(printed(report), "castle/obj_list.txt:4: warning: a list warning [-Wlist-twice]\n"
                               "castle/my_dungeon.txt:10: warning: a warning [-Wmap-row-width]\n"
                               "castle/my_dungeon.txt:17: error: an error [item-line]\n"
                               "castle/my_dungeon.txt:17:14: warning: another warning [-Wplacement]\n"
                               "castle/my_dungeon.txt:30: warning: found last, line 30 [-Wtarget]\n"
                               "1 error and 4 warnings; 7 objects written, 1 written as comments, 1 skipped\n");
    EXPECT_TRUE(report.has_errors());
}

TEST(Report, SilencesAndPromotesWarningsByNameButNeverSilencesAnError)
{
    Report report;
    MessagePolicy policy{};
    policy[static_cast<std::size_t>(MessageId::target)] = Treatment::silenced;
    policy[static_cast<std::size_t>(MessageId::placement)] = Treatment::promoted;
    policy[static_cast<std::size_t>(MessageId::item_line)] = Treatment::silenced;
    report.set_policy(policy);
    report.add(MessageId::target, 1, "silenced");
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(printed(report), "");
    report.add(MessageId::placement, 2, "promoted");
    report.add(MessageId::item_line, 3, "an error stays");
    EXPECT_EQ(printed(report), "my_dungeon.txt:2: error: promoted [-Werror=placement]\n"
                               "my_dungeon.txt:3: error: an error stays [item-line]\n"
                               "2 errors and 0 warnings\n");
}

TEST(Report, ShowsTwentyOfANameInLineOrderAndHowManyMoreAtTheNextOnesPlace)
{
    for (const bool keep_all : {false, true}) {
        Report report;
        if (!keep_all) report.keep_only_printed();
        // Found partly from the last line up, as names resolved at the end may be: the first
        // twenty lines are shown; a run that only prints keeps few, in whatever order found.
        for (long line = 60; line >= 1; --line) report.add(MessageId::target, line, "t");
        for (long line = 61; line <= 100; ++line) report.add(MessageId::target, line, "t");
        report.add(MessageId::placement, 500, "p");
        std::string expected;
        for (long line = 1; line <= 20; ++line)
            expected += "my_dungeon.txt:" + std::to_string(line) + ": warning: t [-Wtarget]\n";
        expected += "my_dungeon.txt:21: note: 80 more messages [-Wtarget] from here on are not shown "
                    "(--all-messages shows every message)\n"
                    "my_dungeon.txt:500: warning: p [-Wplacement]\n"
                    "0 errors and 101 warnings\n";
        EXPECT_EQ(printed(report), expected);
        EXPECT_EQ(report.entries().size(), keep_all ? 101u : 22u);
        const std::string all = printed(report, true);
        EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), keep_all ? 102 : 23);
    }
}

TEST(Report, WritesOneJsonDocument)
{
    Report report;
    report.add(MessageId::near_keyword, 2, "the word \"caf\\xE9\"", 5);
    std::ostringstream out;
    write_messages_json(out, report, 1, std::string("cannot write x"));
    EXPECT_EQ(out.str(), "{\"messages\":[\n"
                         "{\"file\":\"my_dungeon.txt\",\"line\":2,\"column\":5,\"severity\":\"warning\","
                         "\"name\":\"near-keyword\",\"promoted\":false,\"text\":\"the word \\\"caf\\\\xE9\\\"\"},\n"
                         "{\"severity\":\"failure\",\"text\":\"cannot write x\"}\n"
                         "],\"errors\":0,\"warnings\":1,\"status\":1}\n");
}

TEST(MessageKinds, NamesAreUniqueAndFoundByName)
{
    for (const MessageKind& kind : message_kinds) {
        EXPECT_EQ(message_named(kind.name), kind.id) << kind.name;
        EXPECT_EQ(&kind_of(kind.id), &kind);
        EXPECT_TRUE(kind.example.find(kind.severity == Severity::error ? ": error: " : ": warning: ") !=
                    std::string_view::npos)
            << kind.name;
    }
    EXPECT_FALSE(message_named("no-such-message"));
    // The guide shows the table that the program reads, row for row.
    std::ifstream guide(std::string(D2L_TESTS_DIR) + "/../docs/guide.md");
    const std::string text((std::istreambuf_iterator<char>(guide)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<!-- message table: begin -->\n" + message_table_markdown() + "<!-- message table: end -->"),
              std::string::npos)
        << "write this table into docs/guide.md:\n"
        << message_table_markdown();
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
