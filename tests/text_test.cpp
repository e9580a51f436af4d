// Identifier normalisation, the escaping of quoted texts and the check of code values.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/hash.h"
#include "test_support.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "text/near.h"
#include "text/normalise.h"
#include "text/tokens.h"

TEST(ForceUs, DropsSpacesAndTurnsHyphensIntoUnderscores)
{
    EXPECT_EQ(force_us(""), "");
    EXPECT_EQ(force_us("   "), "");
    EXPECT_EQ(force_us("Big Door-2"), "BigDoor_2");
    EXPECT_EQ(force_us("  a  b "), "ab");
    EXPECT_EQ(force_us("-5"), "_5");
    EXPECT_EQ(force_us("a\tb_c"), "a\tb_c");
    EXPECT_EQ(force_us("\xA0x\r"), "\xA0x\r");
}

TEST(ForceUs, SameVariableAndItsHashFollowForceUsWithoutBuildingIt)
{
    // Identifiers past the 64 bytes that the hash builds on the stack take the other way.
    const std::string long_id = std::string(40, 'd') + " - " + std::string(40, 'e');
    const std::string long_variable = std::string(40, 'd') + "_" + std::string(40, 'e');
    const std::pair<std::string, std::string> rows[] = {
        {"door-1", "door_1"}, {"door 1", "door1"}, {" a b ", "ab"}, {"a-b", "a b"}, {"", "   "},
        {"x", "y"},           {"a\tb", "ab"},      {"ab", "abc"},   {long_id, long_variable}, {long_id, "d"},
        // Eight bytes at a time: a "-" or blank on each side of a word's end, and bytes one bit
        // away from "-" and " " that are neither.
        {"abcdefg-h", "abcdefg_h"}, {"abcdefgh-", "abcdefgh_"}, {"-bcdefghijklmnop-", "_bcdefghijklmnop_"},
        {"abcdefghij k", "abcdefghijk"}, {"\xAD\xA0-\x2C\x21\x5F", "\xAD\xA0_\x2C\x21-"}};
    for (const auto& [a, b] : rows) {
        EXPECT_EQ(same_variable(a, b), force_us(a) == force_us(b)) << a << " / " << b;
        EXPECT_EQ(same_variable(b, a), force_us(a) == force_us(b)) << a << " / " << b;
        EXPECT_EQ(variable_hash(a), text_hash(force_us(a))) << a;
        EXPECT_EQ(variable_hash(b), text_hash(force_us(b))) << b;
    }
}

TEST(ForceLc, LowersOnlyTheAsciiCapitals)
{
    EXPECT_EQ(force_lc(""), "");
    EXPECT_EQ(force_lc("Sound_A-1"), "sound_a-1");
    EXPECT_EQ(force_lc("\xC9 X"), "\xC9 x");
}

TEST(LuaEscape, EscapesQuotesBackslashesAndControlBytes)
{
    EXPECT_EQ(lua_escape("plain text 123"), "plain text 123");
    EXPECT_EQ(lua_escape("a\"b"), "a\\\"b");
    EXPECT_EQ(lua_escape("a\\b"), "a\\\\b");
    EXPECT_EQ(lua_escape("\t"), "\\009");
    EXPECT_EQ(lua_escape(std::string("\0", 1)), "\\000");
    EXPECT_EQ(lua_escape("\n\r\x1f\x7f"), "\\010\\013\\031\\127");
    EXPECT_EQ(lua_escape("\xC9t\xE9"), "\xC9t\xE9");
}

TEST(WordAtATime, TokensEscapesAndVariablesFollowTheirByteRulesAtEveryPlaceOfAWord)
{
    // Each byte value at each place of two words and a bit, with words of plain bytes around it:
    // the scans that test eight bytes at once must give what a byte at a time gives.
    const auto tokens_of = [](std::string_view text) {
        std::vector<std::string> tokens;
        std::size_t i = 0;
        while (tokens.size() < 6) {
            while (i < text.size() && is_blank(text[i])) ++i;
            const std::size_t start = i;
            while (i < text.size() && !is_blank(text[i])) ++i;
            if (i == start) break;
            tokens.emplace_back(text.substr(start, i - start));
        }
        return tokens;
    };
    const auto escaped = [](std::string_view text) {
        std::string out;
        for (char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '\\' || c == '"') out += std::string("\\") + c;
            else if (byte < 32 || byte == 127) out += "\\" + std::string(3 - std::to_string(byte).size(), '0') + std::to_string(byte);
            else out += c;
        }
        return out;
    };
    const auto variable = [](std::string_view text) {
        std::string out;
        for (char c : text)
            if (c != ' ') out += c == '-' ? '_' : c;
        return out;
    };
    std::vector<std::string> differing;
    for (int byte = 0; byte < 256; ++byte)
        for (std::size_t place = 0; place < 18; ++place) {
            std::string text = "abcdefgh ijklmnopq";
            text[place] = static_cast<char>(byte);
            std::vector<std::string> tokens;
            const LeadingTokens leading = leading_tokens(text);
            for (std::size_t t = 0; t < leading.count; ++t) tokens.emplace_back(leading.tokens[t]);
            const std::string where = std::to_string(byte) + " at " + std::to_string(place);
            if (tokens != tokens_of(text)) differing.push_back("tokens, " + where);
            if (lua_escape(text) != escaped(text)) differing.push_back("escape, " + where);
            if (force_us(text) != variable(text)) differing.push_back("variable, " + where);
        }
    EXPECT_EQ(differing, std::vector<std::string>{});
}

TEST(LuaEscapeInLua, KeepsEveryByteWhenLuaReadsTheStringBack)
{
    std::string every_byte;
    for (int c = 0; c < 256; ++c) every_byte += static_cast<char>(c);
    // A digit right after an escaped byte must not be read as part of its code.
    every_byte += "\x01" "23";
    expect_lua_text_compiles("local s=\"" + lua_escape(every_byte) + "\"\n");
}

TEST(CodeValue, AcceptsNumbersAndNamesOnly)
{
    for (const char* good : {"5", "-12", "3.25", "-0.5", " 7 ", "\t8", "EAST", "_x1", "M_TOGGLE"})
        EXPECT_TRUE(is_code_value(good)) << good;
    for (const char* bad : {"", " ", "5.", ".5", "--5", "5e3", "0x10", "1 2", "a.b", "end", "nil", "true",
                            "5)", "x=1", "\"a\"", "1;os.exit()", "-", "a-b"})
        EXPECT_FALSE(is_code_value(bad)) << bad;
}

TEST(LuaName, RejectsLeadingDigitsKeywordsAndOtherBytes)
{
    EXPECT_TRUE(is_lua_name("ch_7"));
    EXPECT_TRUE(is_lua_name("_"));
    EXPECT_FALSE(is_lua_name("7ch"));
    EXPECT_FALSE(is_lua_name("while"));
    EXPECT_FALSE(is_lua_name(""));
    EXPECT_FALSE(is_lua_name("a b"));
    EXPECT_TRUE(is_word_text(""));
    EXPECT_TRUE(is_word_text("12ab_"));
    EXPECT_FALSE(is_word_text("a.b"));
}

TEST(FieldReader, ReadsNumbersWithSeparatorsAndBlanks)
{
    FieldReader reader(" 5 , -7,0 , EAST rest");
    int x = 0, y = 0, level = 1;
    std::string word;
    EXPECT_TRUE(reader.read_int(x) && reader.read_separator() && reader.read_int(y) && reader.read_separator() &&
                reader.read_int(level) && reader.read_separator() && reader.read_word(word));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, -7);
    EXPECT_EQ(level, 0);
    EXPECT_EQ(word, "EAST");
}

TEST(FieldReader, FailsOnMissingDigitsOverflowAndTheEnd)
{
    int value = 0;
    EXPECT_FALSE(FieldReader("x1").read_int(value));
    EXPECT_FALSE(FieldReader("-").read_int(value));
    EXPECT_FALSE(FieldReader("2147483648").read_int(value));
    EXPECT_TRUE(FieldReader("-2147483648").read_int(value));
    EXPECT_EQ(value, -2147483647 - 1);
    FieldReader reader("5");
    EXPECT_TRUE(reader.read_int(value));
    EXPECT_FALSE(reader.read_separator());
    EXPECT_FALSE(reader.read_int(value));
    double real = 0;
    EXPECT_TRUE(FieldReader("2.9").read_real(real));
    EXPECT_DOUBLE_EQ(real, 2.9);
    EXPECT_FALSE(FieldReader(".").read_real(real));
}

TEST(WholeInt, AcceptsOnlyAWholeSignedNumber)
{
    int value = 0;
    EXPECT_TRUE(read_whole_int("-1", value));
    EXPECT_EQ(value, -1);
    EXPECT_FALSE(read_whole_int("3abc", value));
    EXPECT_FALSE(read_whole_int("", value));
    EXPECT_FALSE(read_whole_int("99999999999", value));
    // Both sides of the nine digits that need no range check, and the ends of the range.
    const std::pair<const char*, int> whole[] = {{"+7", 7},           {"-0", 0},
                                                 {"999999999", 999999999}, {"-1000000000", -1000000000},
                                                 {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, expected] : whole) {
        EXPECT_TRUE(read_whole_int(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text : {"-", "+", "2147483648", "-2147483649", " 1", "1 ", "--1", "1-"})
        EXPECT_FALSE(read_whole_int(text, value)) << text;
}

TEST(Near, OtherLetterCaseOrAtMostTwoEditsAway)
{
    struct Case {
        const char* word;
        const char* known;
        bool near;
    };
    const Case cases[] = {
        {"north", "NORTH", true},     {"NROTH", "NORTH", true},    {"TARGT=(", "TARGET=(", true},
        {"CLOSSED", "CLOSED", true},  {"[Item]", "[Items]", true}, {"NORTH", "NORTH", false},
        {"WEIGHT=(", "HEIGHT=(", true}, {"NAME=(", "TEXT=(", false}, {"TARGETXYZ=(", "TARGET=(", false},
        {"", "AB", true},             {"", "ABC", false},          {"ABCDE", "VWXYZ", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_near(c.word, c.known), c.near) << c.word << " ~ " << c.known;
    // A long word is ruled out by its length alone, without a table of its size.
    EXPECT_FALSE(is_near(std::string(100000, 'A'), "NORTH"));
    EXPECT_TRUE(is_near(std::string(99, 'A') + "B", std::string(100, 'A')));
}
