#pragma once
// Trimming the blanks around a text.

#include <string_view>

// True for the blanks that may stand around a word inside a line: spaces and tabs.
constexpr bool is_space_or_tab(char c) { return c == ' ' || c == '\t'; }

// The text without the bytes at either end for which blank is true (spaces and tabs unless said).
template <typename Blank = bool (*)(char)>
constexpr std::string_view trimmed(std::string_view text, Blank blank = is_space_or_tab)
{
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}
