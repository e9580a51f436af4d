#pragma once
// The leading tokens of a line: the words an item line begins with.

#include <array>
#include <string_view>

// The first six white-space separated tokens of an item line, as views into the line.
struct LeadingTokens {
    std::array<std::string_view, 6> tokens;
    // How many of the six the line has.
    std::size_t count = 0;
};

// The leading tokens of a line, in order; the rest of the line is not read.
LeadingTokens leading_tokens(std::string_view line);
