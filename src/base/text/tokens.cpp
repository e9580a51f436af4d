#include "text/tokens.h"

#include "text/byte_words.h"
#include "text/fields.h"

LeadingTokens leading_tokens(std::string_view line)
{
    LeadingTokens result;
    std::size_t i = 0;
    while (result.count < result.tokens.size()) {
        while (i < line.size() && is_blank(line[i])) ++i;
        const std::size_t start = i;
        // The bytes of a token are tested eight at a time.
        i = scan_end(line.data(), i, line.size(), blank_bytes, is_blank);
        if (i == start) break;
        result.tokens[result.count++] = line.substr(start, i - start);
    }
    return result;
}
