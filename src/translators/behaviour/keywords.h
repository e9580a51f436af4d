#pragma once
// Finding keywords in an item line and taking their values, as every keyword group does.

#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The pairs of neighbouring bytes of a line, hashed into a small set of bits: a keyword with a
// pair that the line lacks cannot stand in it, which spares most searches of the keyword groups.
class KeywordFilter {
public:
    explicit KeywordFilter(std::string_view line);
    // False when the keyword cannot stand in the line; true when it may.
    bool may_hold(std::string_view keyword) const;

private:
    static std::size_t pair_bit(char first, char second)
    {
        return (static_cast<unsigned char>(first) * 31u + static_cast<unsigned char>(second)) & 4095u;
    }
    std::bitset<4096> pairs_;
};

// True when the keyword stands anywhere in the line (case-sensitive).
bool has_keyword(std::string_view line, std::string_view keyword);

// The value of a keyword ending in "=(": the text after its first occurrence up to the first ")"
// after it, or to the end of the line; none when the keyword is absent.
std::optional<std::string> paren_value(std::string_view line, std::string_view keyword);

// True when the first occurrence of a "=(" keyword has a ")" after it.
bool paren_closed(std::string_view line, std::string_view keyword);

// The value of a keyword ending in ":": the text after the first ":" from the keyword's position
// up to the nearest of the end characters, or to the end of the line; none when absent.
std::optional<std::string> colon_value(std::string_view line, std::string_view keyword, std::string_view enders);

// The parts of a list value split at every ",", in order; an empty value gives one empty part.
std::vector<std::string> split_list(const std::string& value);

// The state word of a line: the text after the "(" of the first "STATE=(" at or after the first
// "STATE", or after a ":" standing between the two, up to the next ")"; none without "STATE=(".
std::optional<std::string> state_word_of(const std::string& line);
