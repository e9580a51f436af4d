#include "text/normalise.h"

std::string force_us(std::string_view text)
{
    std::string result(text.size(), '\0');
    std::size_t size = 0;
    for (char c : text) {
        if (c == ' ') continue;
        result[size++] = (c == '-') ? '_' : c;
    }
    result.resize(size);
    return result;
}

void append_force_us(std::string& out, std::string_view text)
{
    for (char c : text) {
        if (c == ' ') continue;
        out += (c == '-') ? '_' : c;
    }
}

std::string force_lc(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return result;
}
