// The one-pass keyword scan of an item line against a plain substring search of the line.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "behaviour/keyword_scan.h"

namespace {

// The positions of every ":" and every "=" followed by "(", found byte by byte.
std::vector<std::size_t> searched_marks(const std::string& line)
{
    std::vector<std::size_t> marks;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == ':' || (line[i] == '=' && i + 1 < line.size() && line[i + 1] == '(')) marks.push_back(i);
    return marks;
}

// The positions where a flag keyword's first two letters stand, not both capitals, pair by pair.
std::vector<std::size_t> searched_flag_starts(const std::string& line)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    const auto capital = [](char c) { return c >= 'A' && c <= 'Z'; };
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        if (capital(line[i]) && capital(line[i + 1])) continue;
        for (const Keyword& keyword : keyword_table)
            if (is_flag_keyword(keyword) && lower(line[i]) == lower(keyword.text[0]) &&
                lower(line[i + 1]) == lower(keyword.text[1])) {
                starts.push_back(i);
                break;
            }
    }
    return starts;
}

// Checks, for every scanned text, that the scan places its first occurrence where a search does,
// and that it notes the marks that end words of keyword form where a search finds them; the scan
// is reused, as the item pass reuses it, so a line must not keep anything of the line before.
void expect_scan_as_search(const std::string& line)
{
    static KeywordScan scan;
    scan.read(line);
    for (std::size_t k = 0; k < scanned_texts.size(); ++k)
        EXPECT_EQ(scan.first(k), line.find(scanned_texts[k])) << scanned_texts[k] << " in " << line;
    EXPECT_EQ(scan.marks(), searched_marks(line)) << line;
    EXPECT_EQ(scan.flag_starts(), searched_flag_starts(line)) << line;
}

} // namespace

TEST(KeywordScan, PlacesEveryKeywordWhereASearchOfTheLineDoes)
{
    const std::vector<std::string> lines = {
        "",
        "A",
        "1 TYPE_ALTAR 1 1 0 CENTER",
        // One keyword inside another: DEACTIVATE holds ACTIVATE, STATE:B holds STATE: and STATE.
        "1 TYPE_ALTAR 1 1 0 CENTER DEACTIVATE",
        "1 TYPE_ALTAR 1 1 0 CENTER DEACTIVATE ACTIVATE",
        "1 TYPE_LEVER 1 1 0 CENTER STATE:B STATE=(OPEN)",
        "1 TYPE_LEVER 1 1 0 CENTER STATE=(OPEN) STATE:B",
        "1 TYPE_ALTAR 1 1 0 CENTER SUBTARGET=(a) TARGET=(b)",
        "1 TYPE_SHOOTER 1 1 0 CENTER TYPE=(TYPE=(DOUBLE) SHOOTS=(X)",
        "1 TYPE_ALTAR 1 1 0 CENTER ACTION=(X) ACTION=(DESTROY)",
        "1 TYPE_ALTAR 1 1 0 CENTER SOUND:SOUND:NULL",
        // Keywords inside values and identifiers.
        "TARGET=( TYPE_ALTAR 1 1 0 CENTER TEXT=(OPEN THE TARGET=(DOOR) NOW) TARGET=(d)",
        "DISABLE_SELF TYPE_ALTAR 1 1 0 CENTER OPBY=(TOGGLE,RELEASE)",
        "1 TYPE_ALTAR 1 1 0 CENTER TARGET=(NULL,NULLNULL) DELAY:5, DELAY:6",
        // Repeats, and keywords cut off by the end of the line.
        "1 TYPE_ALTAR 1 1 0 CENTER HEALTH=(1) HEALTH=(2) COUNT=(3) COUNT=(",
        "1 TYPE_ALTAR 1 1 0 CENTER ACTION=(DESTRO",
        "1 TYPE_ALTAR 1 1 0 CENTER CONSTANT_WEIGH",
        "RECHARGE_TIME:",
        ":",
        "=",
        "=(:=(=",
        "NUMBERS=(1-5)GENERATES=(RAT)HEALTH=(4)RECHARGE_TIME:3)",
        // Other letter cases and bytes around the capitals are no keyword.
        "1 TYPE_ALTAR 1 1 0 CENTER target=( Target=( TARGET =( \xC3\x84TARGET=(\x01",
        std::string("1 TYPE_ALTAR 1 1 0 CENTER ") + '\0' + "TOGGLE" + '\0' + "RELEASE",
    };
    for (const std::string& line : lines) expect_scan_as_search(line);
}

TEST(KeywordScan, AgreesWithASearchOnLinesOfKeywordPiecesInAnyOrder)
{
    // Lines glued from whole keywords, their beginnings and ends, and bytes that often stand
    // around them, so that keywords overlap, repeat and break off in every way.
    std::vector<std::string> pieces;
    for (std::string_view text : scanned_texts) {
        pieces.emplace_back(text);
        pieces.emplace_back(text.substr(0, text.size() / 2));
        pieces.emplace_back(text.substr(text.size() / 2));
    }
    for (const char* other : {" ", "(", ")", ",", ":", "=", "_", "a", "1", "B", "S", "=(", "toggle", "Release", "dI"})
        pieces.emplace_back(other);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int line_number = 0; line_number < 20000; ++line_number) {
        std::string line;
        for (int n = length(random); n > 0; --n) line += pieces[piece(random)];
        expect_scan_as_search(line);
        if (HasFailure()) return;
    }
}
