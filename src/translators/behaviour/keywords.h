#pragma once
// Reading the values of an item line's keywords, as every keyword group and check does.

#include <optional>
#include <string_view>

#include "behaviour/keyword_scan.h"

// The value of a "=(" keyword that stands at the position: the text after it up to the first ")"
// after it, or to the end of the line; none when the position is npos (the keyword is absent).
std::optional<std::string_view> paren_value_at(std::string_view line, std::size_t position, std::string_view keyword);

// The value of a ":" keyword that stands at the position: the text after the first ":" from the
// position up to the nearest of the end characters, or to the end of the line; none for npos.
std::optional<std::string_view> colon_value_at(std::string_view line, std::size_t position, std::string_view enders);

// The state word of a line: the text after the "(" of the first "STATE=(" at or after the first
// "STATE", or after a ":" standing between the two, up to the next ")"; none without "STATE=(".
std::optional<std::string_view> state_word_of(std::string_view line, const KeywordScan& scan);
