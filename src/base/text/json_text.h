#pragma once
// JSON string literals that may stand inside an HTML script element.

#include <string>
#include <string_view>

// The text as a JSON string literal, quotes included: quote, backslash and control bytes escaped
// as JSON needs, and "<", ">", "&", U+2028 and U+2029 as \u escapes, so that no text can close the
// script element, open a comment or end a line of script. Bytes that are not UTF-8 become U+FFFD.
std::string json_string(std::string_view text);
