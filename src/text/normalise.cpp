#include "text/normalise.h"

std::string force_us(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c == ' ') continue;
        result += (c == '-') ? '_' : c;
    }
    return result;
}

std::string force_lc(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return result;
}
