#include "text/normalise.h"

std::string force_us(std::string_view text)
{
    std::string result;
    append_force_us(result, text);
    return result;
}

void append_force_us(std::string& out, std::string_view text)
{
    // Written through a pointer into room made once, not byte by byte through the string's
    // checks of its room: identifiers are normalised for nearly every statement.
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* next = out.data() + start;
    for (char c : text) {
        if (c == ' ') continue;
        *next++ = (c == '-') ? '_' : c;
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
}

std::string force_lc(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return result;
}
