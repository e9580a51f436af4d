#pragma once
// Whether a word the author wrote is a near miss of a word the converter knows.

#include <string_view>

// True when the word is the known one in another letter case, or at most two edits (a byte put
// in, left out or changed) away from it, letter case aside; false when it is the known word itself.
bool is_near(std::string_view word, std::string_view known);

// True when the two texts are the same but for the letter case of A to Z.
bool equals_but_case(std::string_view text, std::string_view known);

// True when the known word stands in the text, letter case aside.
bool contains_but_case(std::string_view text, std::string_view known);
