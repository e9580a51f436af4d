// Champion definitions: how a champion line is read, written, and refused when it breaks its rules.

#include <gtest/gtest.h>

#include <string>

#include "party/champion.h"
#include "test_support.h"

namespace {

const std::string orrin_line =
    "ch-7 (Orrin) TITLE (the Pale) (m) face:IMG_FACE_ORRIN, (45,30,12) (2.9,0,1.5,0) (40,35,30,42,38,36)";
const std::string mira_line = "ch-8 (Mira) (f) face:IMG_FACE_MIRA, (38,44,20) (0,1,3.7,2) (30,45,40,33,40,42)";

// The definition of a title-less champion line built around the given number groups.
std::string numbers_line(const std::string& first, const std::string& reals, const std::string& second)
{
    return "c (N) (f) face:IMG_FACE_N, (" + first + ") (" + reals + ") (" + second + ")";
}

std::string definition(const std::string& line)
{
    Problems problems;
    auto statement = make_char(line, problems);
    EXPECT_TRUE(problems.empty()) << line << ": " << (problems.empty() ? "" : problems.front().message);
    return statement.value_or("(none)");
}

// Expects the line to be left out with exactly one problem, and returns that problem.
std::string refusal(const std::string& line)
{
    Problems problems;
    auto statement = make_char(line, problems);
    EXPECT_FALSE(statement) << line << " gave " << statement.value_or("");
    EXPECT_EQ(problems.size(), 1u) << line;
    return problems.empty() ? std::string() : problems.front().message;
}

TEST(ChampionDefinition, WorkedExamplesAreWrittenByteForByte)
{
    EXPECT_EQ(definition(orrin_line),
              "ch_7=kel_add_champion(\"port_orrin\",\"Orrin\",\"the Pale\","
              "450,300,120,400,350,300,420,380,360,500,2,0,1,0)");
    EXPECT_EQ(definition(mira_line),
              "ch_8=kel_add_champion(\"port_mira\",\"Mira\",\"\","
              "380,440,200,300,450,400,330,400,420,500,0,1,3,2)");
}

TEST(ChampionDefinition, TitleIsTakenOnlyWhenTheLineHoldsTitleInCapitals)
{
    // TITLE inside the group is part of the title text.
    EXPECT_EQ(definition("ch (Orrin) (TITLE the Pale) (m) face:IMG_FACE_O, (1,2,3) (0,0,0,0) (1,2,3,4,5,6)"),
              "ch=kel_add_champion(\"port_o\",\"Orrin\",\"TITLE the Pale\",10,20,30,10,20,30,40,50,60,500,0,0,0,0)");
    // In lower case the word is filler: the line has no title group and no title.
    EXPECT_EQ(definition("ch (Orrin) title (m) face:IMG_FACE_O, (1,2,3) (0,0,0,0) (1,2,3,4,5,6)"),
              "ch=kel_add_champion(\"port_o\",\"Orrin\",\"\",10,20,30,10,20,30,40,50,60,500,0,0,0,0)");
    // Read without TITLE, a title group shifts the numbers by one group and is refused.
    EXPECT_NE(refusal("ch (Orrin) title (the Pale) (m) face:IMG_FACE_O, (1,2,3) (0,0,0,0) (1,2,3,4,5,6)").find(
                  "6 parenthesised groups where it needs 5"),
              std::string::npos);
}

TEST(ChampionDefinition, PortraitIsLowerCasedAfterTheSecondUnderscore)
{
    EXPECT_EQ(definition("c (N) (f) face:IMG_FACE_Old-Man Two, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)"),
              "c=kel_add_champion(\"port_old-man two\",\"N\",\"\",0,0,0,0,0,0,0,0,0,500,0,0,0,0)");
    // Only the text up to the first "," after the second "_" counts, further "_" included.
    EXPECT_EQ(definition("c (N) (f) face:A_B_C_D,E, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)"),
              "c=kel_add_champion(\"port_c_d\",\"N\",\"\",0,0,0,0,0,0,0,0,0,500,0,0,0,0)");
    // The portrait reference may stand after the number groups.
    EXPECT_EQ(definition("c (N) (f) (0,0,0) (0,0,0,0) (0,0,0,0,0,0) face:IMG_FACE_LAST,"),
              "c=kel_add_champion(\"port_last\",\"N\",\"\",0,0,0,0,0,0,0,0,0,500,0,0,0,0)");
}

TEST(ChampionDefinition, NumbersAreScaledTruncatedAndOrdered)
{
    EXPECT_EQ(definition(numbers_line("0,7,1", "0.99,3.7,-1.5,-0.5", "1,2,3,4,5,6")),
              "c=kel_add_champion(\"port_n\",\"N\",\"\",0,70,10,10,20,30,40,50,60,500,0,3,-1,0)");
    // Negative integers keep their minus sign.
    EXPECT_EQ(definition(numbers_line("-4,5,6", "1,2,3,4", "-1,0,0,0,0,-9")),
              "c=kel_add_champion(\"port_n\",\"N\",\"\",-40,50,60,-10,0,0,0,0,-90,500,1,2,3,4)");
    // The largest values whose products and truncations fit a 32-bit integer.
    EXPECT_EQ(definition(numbers_line("214748364,-214748364,0", "2147483520.9,-2147483648,0,0", "0,0,0,0,0,0")),
              "c=kel_add_champion(\"port_n\",\"N\",\"\",2147483640,-2147483640,0,0,0,0,0,0,0,500,"
              "2147483520,-2147483648,0,0)");
}

TEST(ChampionDefinition, RealsAtTheEdgesOfTheirNotationAndPrecision)
{
    struct Row {
        const char* reals;
        const char* written; // the last four numbers, or nullptr when the champion is refused
    };
    const Row rows[] = {
        {"0.99999999,0.9999999,1.5e1,1e+1", "1,0,15,10"}, // single precision rounds the first up to 1
        {"-0.99999999,1E0,.5,7.", "-1,1,0,7"},
        {"1e,0,0,0", nullptr},  // an exponent without digits leaves the "e" to stand for a separator
        {"0,0,0,1e", nullptr},  // ... or as text after the last real
        {"0,0,0,1e+", nullptr},
    };
    for (const Row& row : rows) {
        const std::string line = numbers_line("0,0,0", row.reals, "0,0,0,0,0,0");
        if (row.written)
            EXPECT_EQ(definition(line), std::string("c=kel_add_champion(\"port_n\",\"N\",\"\",0,0,0,0,0,0,0,0,0,500,") +
                                            row.written + ")");
        else
            EXPECT_NE(refusal(line).find("real group"), std::string::npos) << row.reals;
    }
}

TEST(ChampionDefinition, BlanksAndOtherSeparatorsInsideGroupsReadTheSame)
{
    const std::string expected = "c=kel_add_champion(\"port_n\",\"N\",\"\",450,300,120,400,350,300,420,380,360,500,2,0,1,0)";
    EXPECT_EQ(definition(numbers_line(" 45 , 30 , 12 ", " 2.9 , 0 , 1.5 , 0 ", "40 ,35, 30 ,42,38 , 36")), expected);
    // Any single non-blank character separates two numbers.
    EXPECT_EQ(definition(numbers_line("45;30;12", "2.9/0/1.5/0", "40;35 ;30:42.38|36")), expected);
}

TEST(ChampionDefinitionInLua, NameTitleAndPortraitCannotLeaveTheirStrings)
{
    const std::string line =
        "c (Or\"rin\\) TITLE (the \"Pale\", os.exit--]]) (m) face:IMG_FACE_O\"X, (1,2,3) (0,0,0,0) (1,2,3,4,5,6)";
    const std::string statement = definition(line);
    EXPECT_EQ(statement, "c=kel_add_champion(\"port_o\\\"x\",\"Or\\\"rin\\\\\",\"the \\\"Pale\\\", os.exit--]]\","
                         "10,20,30,10,20,30,40,50,60,500,0,0,0,0)");
    expect_lua_text_compiles(statement + "\n");
    // Control bytes inside the name are written as escapes.
    EXPECT_EQ(definition("c (a\tb\rc) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)"),
              "c=kel_add_champion(\"port_z\",\"a\\009b\\013c\",\"\",0,0,0,0,0,0,0,0,0,500,0,0,0,0)");
}

TEST(ChampionDefinition, IdentifierMustBeALuaNameAfterNormalisation)
{
    EXPECT_EQ(definition("  my-hero\t(N) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)").substr(0, 8), "my_hero=");
    for (const std::string identifier : {"7ch", "end", "ch.7", ";ch", "ch(N)", "[Characters]", "x=os.exit()--"}) {
        const std::string problem = refusal(identifier + " (N) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)");
        EXPECT_NE(problem.find("is not a Lua name"), std::string::npos) << problem;
    }
    EXPECT_NE(refusal(" \t ").find("the champion identifier \"\" is not a Lua name"), std::string::npos);
}

TEST(ChampionDefinition, IdentifierThatWouldOverwriteANeededNameIsRefused)
{
    // The definition assigns a global: an engine function, exvar, an object variable or a Lua
    // library replaced by a champion would break every later statement that uses it.
    const std::string tail = " (N) (f) face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)";
    for (const std::string identifier : {"kel_spawn", "exvar", "TVK_7", "EAST", "IN_OBJ", "M_TOGGLE", "os", "string"}) {
        const std::string problem = refusal(identifier + tail);
        EXPECT_NE(problem.find("would overwrite a name the script or the engine needs"), std::string::npos) << problem;
    }
    // Names that only resemble them stay champions.
    for (const std::string identifier : {"kel_spawn2", "Exvar", "TVK", "tvk_7", "east", "os_"})
        EXPECT_EQ(definition(identifier + tail).substr(0, identifier.size() + 1), identifier + "=");
}

TEST(ChampionDefinition, BrokenParenthesesAndMissingGroupsAreRefused)
{
    const std::string tail = " face:X_Y_Z, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)";
    EXPECT_EQ(refusal("c (N (f)" + tail),
              "the champion line has a \"(\" inside a parenthesised group; the champion is left out");
    EXPECT_EQ(refusal("c N) (f)" + tail),
              "the champion line has a \")\" without a \"(\" before it; the champion is left out");
    EXPECT_EQ(refusal("c (N) (f)" + tail.substr(0, tail.size() - 1)),
              "the champion line has a \"(\" without a \")\" after it; the champion is left out");
    EXPECT_EQ(refusal("c (N)" + tail),
              "the champion line has 4 parenthesised groups where it needs 5; the champion is left out");
    EXPECT_EQ(refusal("c (N) TITLE (f)" + tail),
              "the champion line has 5 parenthesised groups where it needs 6 (it holds TITLE); the champion is left out");
    EXPECT_EQ(refusal("c (N) (f)" + tail + " (extra)"),
              "the champion line has 6 parenthesised groups where it needs 5; the champion is left out");
    // TITLE inside the portrait reference asks for a title group that is not there.
    EXPECT_NE(refusal("c (N) (f) face:IMG_TITLE_X, (0,0,0) (0,0,0,0) (0,0,0,0,0,0)").find("(it holds TITLE)"),
              std::string::npos);
}

TEST(ChampionDefinition, BrokenPortraitReferencesAreRefused)
{
    const std::string groups = " (0,0,0) (0,0,0,0) (0,0,0,0,0,0)";
    EXPECT_EQ(refusal("c (N) (f) face IMG_FACE_X," + groups),
              "the champion line has no portrait reference (no \":\"); the champion is left out");
    EXPECT_EQ(refusal("c (N) (f) face:IMGFACE_X," + groups),
              "the portrait reference of the champion line has fewer than two \"_\" after its \":\"; "
              "the champion is left out");
    EXPECT_EQ(refusal("c (N) (f) face:IMG_FACE_X (0;0;0) (0;0;0;0) (0;0;0;0;0;0)"),
              "the portrait reference of the champion line has no \",\" after its second \"_\"; "
              "the champion is left out");
    // A ":" inside the name is in front of the portrait reference.
    EXPECT_NE(refusal("c (Sir:A_B_C,D) (f) face:IMG_FACE_X," + groups).find("runs into a parenthesised group"),
              std::string::npos);
    // The "," after the second "_" only stands inside a group.
    EXPECT_NE(refusal("c (N) (f) face:IMG_FACE_X (0,0,0) (0,0,0,0) (0,0,0,0,0,0)").find("runs into"),
              std::string::npos);
}

TEST(ChampionDefinition, UnreadableNumbersAreRefusedNeverHalfWritten)
{
    EXPECT_EQ(refusal(numbers_line("45,x,12", "0,0,0,0", "0,0,0,0,0,0")),
              "the first integer group \"(45,x,12)\" of the champion line is not 3 integers that fit the "
              "champion's numbers; the champion is left out");
    EXPECT_EQ(refusal(numbers_line("0,0,0", "0,0,1e39,0", "0,0,0,0,0,0")),
              "the real group \"(0,0,1e39,0)\" of the champion line is not 4 reals that fit the champion's "
              "numbers; the champion is left out");
    EXPECT_EQ(refusal(numbers_line("0,0,0", "0,0,0,0", "0,0,0,0,0")),
              "the second integer group \"(0,0,0,0,0)\" of the champion line is not 6 integers that fit the "
              "champion's numbers; the champion is left out");
    const std::string bad_groups[][3] = {
        {"1,2", "0,0,0,0", "0,0,0,0,0,0"},             // a number too few
        {"1,2,3,4", "0,0,0,0", "0,0,0,0,0,0"},         // a number too many
        {"1 2 3", "0,0,0,0", "0,0,0,0,0,0"},           // blanks are no separator
        {"214748365,0,0", "0,0,0,0", "0,0,0,0,0,0"},   // times 10 overflows
        {"-214748365,0,0", "0,0,0,0", "0,0,0,0,0,0"},  // times 10 overflows below
        {"99999999999,0,0", "0,0,0,0", "0,0,0,0,0,0"}, // does not fit before scaling
        {"0,0,0", "2147483648,0,0,0", "0,0,0,0,0,0"},  // truncation does not fit
        {"0,0,0", "1e10,0,0,0", "0,0,0,0,0,0"},
        {"0,0,0", "nan,0,0,0", "0,0,0,0,0,0"},
        {"0,0,0", "1.5f,0,0,0", "0,0,0,0,0,0"},
        {"0,0,0", ",0,0,0", "0,0,0,0,0,0"},
        {"0,0,0", "0,0,0,0", "0,0,0,0,0,"},
        {"0,0,0", "0,0,0,0", ""},
    };
    for (const auto& group : bad_groups) refusal(numbers_line(group[0], group[1], group[2]));
}

} // namespace
