#pragma once
// The converter's one hash function, which every table's keys are hashed with: a text's length
// and its bytes, eight at a time, each word mixed in with one multiply.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/byte_words.h"

// The hash with one more word in. For a given hash each word gives another result; every bit of
// the word reaches the top bits of the result (through the multiply) and, folded down, the low
// ones, so a table may take its slot from either end.
constexpr std::uint64_t hash_mixed(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ULL;
    return hash ^ (hash >> 32);
}

// The hash of a text of this many bytes before its bytes go in, from a seed that tells kinds of
// keys apart; the length first, so that texts that differ only in trailing zero bytes differ too.
constexpr std::uint64_t hash_start(std::uint64_t seed, std::size_t size) { return seed ^ (size * 0x100000001B3ULL); }

// The hash of the size bytes at text, of which readable may be read (a word read past the bytes
// saves a copy of the last few).
[[gnu::always_inline]] inline std::uint64_t bytes_hash(std::uint64_t seed, const char* text, std::size_t size, std::size_t readable)
{
    std::uint64_t hash = hash_start(seed, size);
    if (size == 0) return hash_mixed(hash, 0);
    std::size_t i = 0;
    for (; size - i > 8; i += 8) hash = hash_mixed(hash, word_at(text + i));
    return hash_mixed(hash, short_word(text + i, size - i, readable - i));
}

// A hash with its bits spread once more, for a table that takes its slot from the low bits: a
// word's last bytes reach only the hash's high bits and the middle ones folded from them, which
// one more multiply and fold bring down to the lowest.
constexpr std::uint64_t spread(std::uint64_t hash) { return hash_mixed(0, hash); }

// The hash of a text, spread for any table.
inline std::uint64_t text_hash(std::string_view text, std::uint64_t seed = 0)
{
    return spread(bytes_hash(seed, text.data(), text.size(), text.size()));
}
