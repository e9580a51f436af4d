#include "behaviour/keyword_scan.h"

#include <cstdint>

namespace {

// The index of a pair of capitals, the first two bytes of every scanned text.
constexpr std::size_t pair_of(char first, char second)
{
    return static_cast<std::size_t>(first - 'A') * 26 + static_cast<std::size_t>(second - 'A');
}

constexpr bool is_capital(char c) { return c >= 'A' && c <= 'Z'; }

// Per pair of capitals, the scanned texts that begin with it. Every scanned text begins with two
// capitals, so a byte that is no capital, or a capital followed by none, is passed over at once;
// at a pair of capitals only the few texts of that pair (at most five) are compared, and most
// pairs begin none. This spares comparing every capital of the line with a dozen texts.
struct PairIndex {
    std::array<std::array<std::uint8_t, 6>, 26 * 26> texts{};
    std::array<std::uint8_t, 26 * 26> count{};
};

constexpr PairIndex pair_index = [] {
    PairIndex index;
    for (std::size_t k = 0; k < scanned_texts.size(); ++k) {
        const std::string_view text = scanned_texts[k];
        if (text.size() < 2 || !is_capital(text[0]) || !is_capital(text[1]))
            throw "a scanned text must begin with two capitals";
        const std::size_t pair = pair_of(text[0], text[1]);
        if (index.count[pair] == index.texts[pair].size()) throw "too many scanned texts of one pair";
        index.texts[pair][index.count[pair]++] = static_cast<std::uint8_t>(k);
    }
    return index;
}();

// True when the text stands in the line at the position, its first two bytes known to match.
bool stands_at(std::string_view line, std::size_t position, std::string_view text)
{
    if (text.size() > line.size() - position) return false;
    // Compared byte by byte: the texts are short and most differ within a byte or two, where a
    // library comparison would cost a call each time.
    for (std::size_t i = 2; i < text.size(); ++i)
        if (line[position + i] != text[i]) return false;
    return true;
}

} // namespace

void KeywordScan::read(std::string_view line)
{
    first_.fill(std::string_view::npos);
    marks_.clear();
    const std::size_t size = line.size();
    for (std::size_t i = 0; i + 1 < size; ++i) {
        const char c = line[i];
        if (!is_capital(c)) {
            if (c == ':' || (c == '=' && line[i + 1] == '(')) marks_.push_back(i);
            continue;
        }
        if (!is_capital(line[i + 1])) continue;
        const std::size_t pair = pair_of(c, line[i + 1]);
        for (std::size_t n = 0; n < pair_index.count[pair]; ++n) {
            const std::size_t k = pair_index.texts[pair][n];
            // Only the first occurrence counts; a later one is not compared at all.
            if (first_[k] == std::string_view::npos && stands_at(line, i, scanned_texts[k])) first_[k] = i;
        }
    }
    // The last byte begins no scanned text, but may be a ":".
    if (size > 0 && line[size - 1] == ':') marks_.push_back(size - 1);
}
