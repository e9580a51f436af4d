#pragma once
// Whether a word the author wrote is a near miss of a word the converter knows.

#include <string_view>

// True when the word is the known one in another letter case, or at most two edits (a byte put
// in, left out or changed) away from it, letter case aside; false when it is the known word itself.
bool is_near(std::string_view word, std::string_view known);

// True when the two texts are the same but for the letter case of A to Z.
inline bool equals_but_case(std::string_view text, std::string_view known)
{
    if (text.size() != known.size()) return false;
    // Bit 0x20 tells the small letters from the capitals; any other difference decides.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char a = text[i];
        const char b = known[i];
        if (a == b) continue;
        if ((a ^ b) != 0x20) return false;
        const char capital = static_cast<char>(a & ~0x20);
        if (capital < 'A' || capital > 'Z') return false;
    }
    return true;
}

// True when the known word stands in the text, letter case aside.
bool contains_but_case(std::string_view text, std::string_view known);
