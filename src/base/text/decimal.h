#pragma once
// Writing whole numbers into a text in decimal, as std::to_string does, without a text of their own.

#include <charconv>
#include <cstdint>
#include <string>

// Appends the decimal form of the value to out ("-" before a negative one).
inline void append_decimal(std::string& out, std::int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, static_cast<std::size_t>(end - digits));
}
