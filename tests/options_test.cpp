// The command line: options in their usual forms, and every way an argument can be wrong.

#include <gtest/gtest.h>

#include "cli/options.h"

namespace {

struct Accepted {
    std::vector<std::string> arguments;
    std::optional<std::string> path;
    std::optional<std::string> output;
    std::optional<std::string> objects;
    bool strict;
};

struct Refused {
    std::vector<std::string> arguments;
    std::string error;
};

} // namespace

TEST(Options, AcceptsEachOptionInItsUsualForms)
{
    const std::optional<std::string> none;
    const Accepted cases[] = {
        {{}, none, none, none, false},
        {{"castle"}, "castle", none, none, false},
        {{"-o", "out.lua", "castle"}, "castle", "out.lua", none, false},
        {{"-oout.lua"}, none, "out.lua", none, false},
        {{"--output", "-"}, none, "-", none, false},
        // A value of one character attached to a short option.
        {{"-o-"}, none, "-", none, false},
        {{"--output=a=b.lua"}, none, "a=b.lua", none, false},
        {{"--objects", "names.txt", "--strict"}, none, none, "names.txt", true},
        {{"--objects=names.txt", "dump.txt"}, "dump.txt", none, "names.txt", false},
        // A PATH that begins with "-" after "--"; a lone "-" is a PATH too.
        {{"--", "-odd"}, "-odd", none, none, false},
        {{"-"}, "-", none, none, false},
        // The last of a repeated option wins, as with most tools.
        {{"-o", "a.lua", "-o", "b.lua"}, none, "b.lua", none, false},
    };
    for (const auto& c : cases) {
        const ParsedOptions parsed = parse_options(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments.front();
        ASSERT_FALSE(parsed.error) << shown << ": " << *parsed.error;
        EXPECT_EQ(parsed.options.path, c.path) << shown;
        EXPECT_EQ(parsed.options.output, c.output) << shown;
        EXPECT_EQ(parsed.options.objects, c.objects) << shown;
        EXPECT_EQ(parsed.options.strict, c.strict) << shown;
    }
}

TEST(Options, HelpAndVersionAreFlagsAnywhere)
{
    EXPECT_TRUE(parse_options({"castle", "-h"}).options.help);
    EXPECT_TRUE(parse_options({"--help"}).options.help);
    EXPECT_TRUE(parse_options({"--version", "castle"}).options.version);
    const Options checking = parse_options({"--list-types", "castle", "--check", "--objects=n.txt"}).options;
    EXPECT_TRUE(checking.check && checking.list_types);
    // One of the script and the page may go to standard output.
    EXPECT_FALSE(parse_options({"--map", "-", "-o", "out.lua"}).error);
    EXPECT_FALSE(parse_options({"--map=-"}).error);
    EXPECT_NE(usage_text().find("--objects FILE"), std::string::npos);
    EXPECT_EQ(version_text().rfind("dungeon2lua ", 0), 0u);
}

TEST(Options, RefusesUnknownOptionsMissingValuesAndASecondPath)
{
    const Refused cases[] = {
        {{"--frobnicate"}, "unknown option \"--frobnicate\" (see dungeon2lua --help)"},
        {{"-x"}, "unknown option \"-x\" (see dungeon2lua --help)"},
        {{"--strict=yes"}, "unknown option \"--strict\" (see dungeon2lua --help)"},
        {{"-o"}, "option \"-o\" needs a value (see dungeon2lua --help)"},
        {{"castle", "--objects"}, "option \"--objects\" needs a value (see dungeon2lua --help)"},
        {{"--output="}, "option \"--output\" needs a value (see dungeon2lua --help)"},
        {{"a", "b"}, "more than one PATH: \"b\" (see dungeon2lua --help)"},
        // Control bytes of an argument never reach the terminal as they are.
        {{"--\x1b[2J"}, "unknown option \"--\\027[2J\" (see dungeon2lua --help)"},
        // A short option is named whole as typed.
        {{"-help"}, "unknown option \"-help\" (see dungeon2lua --help)"},
        {{"-x\xE9"}, "unknown option \"-x\\xE9\" (see dungeon2lua --help)"},
        // The runs that write no file refuse the options that name a file to write.
        {{"--check", "-o", "out.lua"}, "option \"--check\" writes no file and cannot go with \"-o\" (see dungeon2lua --help)"},
        {{"--output=-", "--check"}, "option \"--check\" writes no file and cannot go with \"--output\" (see dungeon2lua --help)"},
        {{"--list-types", "--map", "map.html"},
         "option \"--list-types\" writes no file and cannot go with \"--map\" (see dungeon2lua --help)"},
        {{"-o", "-", "--map=-"}, "the script and the map page cannot both go to standard output (see dungeon2lua --help)"},
    };
    for (const auto& c : cases) {
        const ParsedOptions parsed = parse_options(c.arguments);
        ASSERT_TRUE(parsed.error) << c.arguments.back();
        EXPECT_EQ(*parsed.error, c.error);
    }
}
