#pragma once
// Whether a word the author wrote is a near miss of a word the converter knows.

#include <string_view>

// True when the word is the known one in another letter case, or at most two edits (a byte put
// in, left out or changed) away from it, letter case aside; false when it is the known word itself.
bool is_near(std::string_view word, std::string_view known);

// The byte with a small letter a to z made its capital; any other byte as it is.
constexpr char capital_of(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when the two texts are the same but for the letter case of A to Z.
inline bool equals_but_case(std::string_view text, std::string_view known)
{
    if (text.size() != known.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (capital_of(text[i]) != capital_of(known[i])) return false;
    return true;
}

// True when the known word stands in the text, letter case aside.
bool contains_but_case(std::string_view text, std::string_view known);
