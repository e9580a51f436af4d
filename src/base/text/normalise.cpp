#include "text/normalise.h"

#include "store/hash.h"

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
    for (char c : text)
        if (!is_dropped_in_variable(c)) *next++ = variable_byte(c);
    out.resize(static_cast<std::size_t>(next - out.data()));
}

bool same_variable(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (true) {
        while (i < a.size() && is_dropped_in_variable(a[i])) ++i;
        while (j < b.size() && is_dropped_in_variable(b[j])) ++j;
        if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
        if (variable_byte(a[i]) != variable_byte(b[j])) return false;
        ++i;
        ++j;
    }
}

std::uint64_t variable_hash(std::string_view id)
{
    // A usual identifier's variable is made on the stack, without an allocation.
    char bytes[64];
    if (id.size() > sizeof bytes) return text_hash(force_us(id));
    std::size_t size = 0;
    for (char c : id)
        if (!is_dropped_in_variable(c)) bytes[size++] = variable_byte(c);
    return text_hash(std::string_view(bytes, size));
}

std::string force_lc(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return result;
}
