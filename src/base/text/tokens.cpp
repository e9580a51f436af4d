#include "text/tokens.h"

#include "text/byte_words.h"
#include "text/fields.h"

namespace {

// The offset of the first white space byte from `from` on; the line's size for none. The bytes of
// a token are tested eight at a time.
std::size_t token_end(std::string_view line, std::size_t from)
{
    std::size_t i = from;
    if constexpr (bytes_low_first)
        for (; line.size() - i >= 8; i += 8)
            if (const std::uint64_t blanks = blank_bytes(word_at(line.data() + i)); blanks != 0) return i + first_marked(blanks);
    while (i < line.size() && !is_blank(line[i])) ++i;
    return i;
}

} // namespace

LeadingTokens leading_tokens(std::string_view line)
{
    LeadingTokens result;
    std::size_t i = 0;
    while (result.count < result.tokens.size()) {
        while (i < line.size() && is_blank(line[i])) ++i;
        const std::size_t start = i;
        i = token_end(line, i);
        if (i == start) break;
        result.tokens[result.count++] = line.substr(start, i - start);
    }
    return result;
}
