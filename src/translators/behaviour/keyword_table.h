#pragma once
// The keywords that the behaviour groups look for in an item line, in the order the groups run.

#include <array>
#include <string_view>

// Which objects a keyword does something for.
enum class KeywordReader {
    // Every object (each group decides the rest itself).
    any,
    // Only shooters (their object name is "shooter").
    shooter,
    // Only floor damagers ("floordamager").
    floordamager,
    // Shooters (TYPE=(DOUBLE)) and floor damagers (the damage type).
    shooter_or_floordamager,
    // Only objects whose line generates creatures (GENERATES=( ).
    generator,
};

// One keyword: its text as the line writes it, the group that reads it, and which objects it acts for.
struct Keyword {
    std::string_view text;
    int group;
    KeywordReader reader;
};

// Every keyword, in the order of the groups (1 to 18) that read them; a keyword found anywhere in
// the line counts, even inside another word or value. "STATE:" (group 0) is read when the object
// is made ("STATE:B" turns a lever down). Inside values the groups look for more words: the
// flags of OPBY=( (MOUSE, PARTY, MONSTER, OBJECT, SPELL, ALL), NULL in TARGET=( and SOUND:,
// DOUBLE in TYPE=(, DESTROY in ACTION=(.
inline constexpr std::array<Keyword, 29> keyword_table = {{
    {"TARGET=(", 1, KeywordReader::any},
    {"DELAY:", 1, KeywordReader::any},
    {"CHARGE=(", 2, KeywordReader::any},
    {"OPBY=(", 3, KeywordReader::any},
    {"DESTINATION=(", 4, KeywordReader::any},
    {"ROTATE:", 4, KeywordReader::any},
    {"TEXT=(", 5, KeywordReader::any},
    {"DISABLE_SELF", 6, KeywordReader::any},
    {"SOUND:", 7, KeywordReader::any},
    {"DESTROY_ITEM", 8, KeywordReader::any},
    {"ACTIVATE", 9, KeywordReader::any},
    {"DEACTIVATE", 9, KeywordReader::any},
    {"TOGGLE", 9, KeywordReader::any},
    {"ACTION=(", 9, KeywordReader::any},
    {"CONSTANT_WEIGHT", 10, KeywordReader::any},
    {"RELEASE", 10, KeywordReader::any},
    {"SHOOTS=(", 11, KeywordReader::shooter},
    {"STRENGTH=(", 11, KeywordReader::shooter},
    {"DAMAGE=(", 12, KeywordReader::floordamager},
    {"TYPE=(", 12, KeywordReader::shooter_or_floordamager},
    {"CARRYING=(", 13, KeywordReader::any},
    {"HOLDS=(", 13, KeywordReader::any},
    {"GENERATES=(", 14, KeywordReader::any},
    {"NUMBERS=(", 14, KeywordReader::generator},
    {"RECHARGE_TIME:", 14, KeywordReader::generator},
    {"COUNT=(", 15, KeywordReader::any},
    {"HEALTH=(", 16, KeywordReader::any},
    {"STATE=(", 18, KeywordReader::any},
    {"STATE:", 0, KeywordReader::any},
}};

// The place in the table of a keyword that the table holds (worked out when compiled).
consteval std::size_t keyword_index(std::string_view text)
{
    for (std::size_t k = 0; k < keyword_table.size(); ++k)
        if (keyword_table[k].text == text) return k;
    throw "not a keyword of the table";
}
