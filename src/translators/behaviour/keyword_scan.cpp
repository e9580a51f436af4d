#include "behaviour/keyword_scan.h"

#include <cstdint>
#include <cstring>

#include "text/byte_words.h"

namespace {

constexpr bool is_capital(char c) { return c >= 'A' && c <= 'Z'; }

// The scanned texts that begin with one pair of bytes.
struct Bucket {
    std::array<std::uint8_t, 6> texts{};
    std::uint8_t count = 0;
};

// The buckets of the pairs that begin some scanned text (every scanned text begins with two
// capitals), and per pair of neighbouring bytes (the first byte in the low eight bits) what it
// may begin: nothing (0, most pairs of a line), a mark (1: ":" and anything, or "=("), a flag
// keyword's first two letters in another letter case (2), or the texts of bucket n (3 + n). One look-up per byte tells the scan to pass over it, where testing
// the byte and its neighbour for capitals and marks takes several.
struct PairTable {
    std::array<Bucket, 32> buckets{};
    std::size_t bucket_count = 0;
    std::array<std::uint8_t, 1 << 16> kinds{};
};

constexpr unsigned pair_of(char first, char second)
{
    return static_cast<unsigned char>(first) | static_cast<unsigned>(static_cast<unsigned char>(second)) << 8;
}

constexpr std::uint8_t mark_kind = 1;
constexpr std::uint8_t flag_case_kind = 2;
constexpr std::uint8_t first_bucket_kind = 3;

constexpr char small(char c) { return static_cast<char>(c - 'A' + 'a'); }

// Built when compiled; in static storage, not on the stack of the compiler's evaluation.
constexpr PairTable pair_table = [] {
    PairTable table;
    for (int second = 0; second < 256; ++second) table.kinds[pair_of(':', static_cast<char>(second))] = mark_kind;
    table.kinds[pair_of('=', '(')] = mark_kind;
    for (std::size_t k = 0; k < scanned_texts.size(); ++k) {
        const std::string_view text = scanned_texts[k];
        if (text.size() < 2 || !is_capital(text[0]) || !is_capital(text[1]))
            throw "a scanned text must begin with two capitals";
        std::uint8_t& kind = table.kinds[pair_of(text[0], text[1])];
        if (kind == 0) {
            if (table.bucket_count == table.buckets.size()) throw "too many pairs of capitals";
            kind = static_cast<std::uint8_t>(first_bucket_kind + table.bucket_count++);
        }
        Bucket& bucket = table.buckets[kind - first_bucket_kind];
        if (bucket.count == bucket.texts.size()) throw "too many scanned texts of one pair";
        bucket.texts[bucket.count++] = static_cast<std::uint8_t>(k);
        if (k >= keyword_table.size() || !is_flag_keyword(keyword_table[k])) continue;
        if (!is_capital(text[0]) || !is_capital(text[1])) throw "a flag keyword must begin with two letters";
        for (const unsigned pair : {pair_of(small(text[0]), text[1]), pair_of(text[0], small(text[1])),
                                    pair_of(small(text[0]), small(text[1]))})
            table.kinds[pair] = flag_case_kind;
    }
    return table;
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

// The kind of the pair of bytes at text (pair_of(text[0], text[1])), read as one load where the
// bytes stand in a word lowest first.
std::uint8_t kind_at(const char* text)
{
    if constexpr (bytes_low_first) {
        std::uint16_t pair;
        std::memcpy(&pair, text, sizeof pair);
        return pair_table.kinds[pair];
    } else {
        return pair_table.kinds[pair_of(text[0], text[1])];
    }
}

} // namespace

void KeywordScan::read(std::string_view line)
{
    first_.fill(std::string_view::npos);
    marks_.clear();
    flag_starts_.clear();
    const std::size_t size = line.size();
    const char* bytes = line.data();
    // What the pair of bytes at i may begin, noted.
    const auto note = [&](std::size_t i) {
        const std::uint8_t kind = kind_at(bytes + i);
        if (kind == 0) return;
        if (kind == mark_kind) {
            marks_.push_back(i);
            return;
        }
        if (kind == flag_case_kind) {
            flag_starts_.push_back(i);
            return;
        }
        const Bucket& bucket = pair_table.buckets[kind - first_bucket_kind];
        for (std::size_t n = 0; n < bucket.count; ++n) {
            const std::size_t k = bucket.texts[n];
            // Only the first occurrence counts; a later one is not compared at all.
            if (first_[k] == std::string_view::npos && stands_at(line, i, scanned_texts[k])) first_[k] = i;
        }
    };
    // Eight places at a time: most stretches of a line begin nothing, and one test tells so for all
    // eight (a place reads its byte and the next, so the last place of a block reads one byte on).
    std::size_t i = 0;
    for (; size - i >= 9; i += 8) {
        unsigned any = 0;
        for (std::size_t k = 0; k < 8; ++k) any |= kind_at(bytes + i + k);
        if (any == 0) continue;
        for (std::size_t k = 0; k < 8; ++k) note(i + k);
    }
    for (; i + 1 < size; ++i) note(i);
    // The last byte begins no scanned text, but may be a ":".
    if (size > 0 && line[size - 1] == ':') marks_.push_back(size - 1);
}

namespace {

// The bucket of scanned texts that begin with the text's first two bytes; null for none.
const Bucket* bucket_of(std::string_view text, std::size_t position)
{
    if (text.size() - position < 2) return nullptr;
    const std::uint8_t kind = pair_table.kinds[pair_of(text[position], text[position + 1])];
    return kind >= first_bucket_kind ? &pair_table.buckets[kind - first_bucket_kind] : nullptr;
}

} // namespace

const Keyword* keyword_named(std::string_view word)
{
    const Bucket* bucket = bucket_of(word, 0);
    if (!bucket) return nullptr;
    for (std::size_t n = 0; n < bucket->count; ++n) {
        const std::size_t k = bucket->texts[n];
        if (k < keyword_table.size() && scanned_texts[k] == word) return &keyword_table[k];
    }
    return nullptr;
}

void for_each_keyword_in(std::string_view text, KeywordVisit visit, void* context)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const Bucket* bucket = bucket_of(text, i);
        if (!bucket) continue;
        // The texts of a bucket stand in the order of the table; those after it are no keywords.
        for (std::size_t n = 0; n < bucket->count; ++n) {
            const std::size_t k = bucket->texts[n];
            if (k < keyword_table.size() && stands_at(text, i, scanned_texts[k])) visit(context, keyword_table[k], i);
        }
    }
}
