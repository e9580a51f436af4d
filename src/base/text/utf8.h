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

// The wide encoding ("UTF-16" or "UTF-32") that the first line of a file is written in, by its
// byte-order mark or by its zero bytes (a text of single bytes holds none); empty for any other
// text. A line end splits such a text anywhere, so only the first line is asked.
std::string_view wide_encoding_of(std::string_view first_line);

// What an author does about a file in a wide encoding, after "... is NAME text".
inline constexpr std::string_view wide_encoding_advice =
    "save it again as UTF-8 (in the editor's \"Save as\", choose the encoding UTF-8) and convert again";
