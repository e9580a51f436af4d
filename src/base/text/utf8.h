#pragma once
// UTF-8 as the converter meets it: well-formed sequences, and the byte-order mark that some
// editors write at the start of a text file.

#include <cstddef>
#include <string_view>

// The byte-order mark (EF BB BF) that some editors write at the start of a UTF-8 file.
inline constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 sequence of two to four bytes at the start of the text; 0
// when the bytes there are not one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t utf8_sequence_length(std::string_view text);
