#include "text/tokens.h"

#include "text/fields.h"

LeadingTokens leading_tokens(std::string_view line)
{
    LeadingTokens result;
    std::size_t i = 0;
    while (result.count < result.tokens.size()) {
        while (i < line.size() && is_blank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !is_blank(line[i])) ++i;
        if (i == start) break;
        result.tokens[result.count++] = line.substr(start, i - start);
    }
    return result;
}
