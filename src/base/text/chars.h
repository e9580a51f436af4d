#pragma once
// The small tests on bytes, texts and numbers that every reader of the dump uses.

#include <cstdint>
#include <limits>
#include <string_view>

// True for the digits 0 to 9.
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// True for the bytes a Lua name may begin with: letters A to Z, a to z and "_".
constexpr bool is_name_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

// True for the bytes of a Lua name after its first: a name's first bytes and the digits.
constexpr bool is_name_part(char c) { return is_name_start(c) || is_digit(c); }

// True when the part stands anywhere in the text (case-sensitive).
constexpr bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// True when the value fits a 32-bit int.
constexpr bool fits_int(std::int64_t value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}
