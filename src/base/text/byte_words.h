#pragma once
// Tests of eight bytes at once: a word of eight bytes of a text, and masks that mark with its
// high bit each byte of the word that passes a test. The scans of names, blanks and escapes that
// run over every byte of a dump or a script read their bytes this way.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// A one in each byte of a word, each byte's high bit, and each byte's seven low bits.
inline constexpr std::uint64_t byte_ones = 0x0101010101010101ULL;
inline constexpr std::uint64_t byte_highs = 0x8080808080808080ULL;
inline constexpr std::uint64_t byte_lows = 0x7F7F7F7F7F7F7F7FULL;

// True where words are read in the order of the text's bytes, lowest byte first: the scans below
// find the first marked byte from the low end.
inline constexpr bool bytes_low_first = std::endian::native == std::endian::little;

// The low `size` (one to seven) bytes of a word, the others zero.
constexpr std::uint64_t low_bytes(std::size_t size) { return ~std::uint64_t{0} >> (64 - 8 * size); }

// The high bit of each byte of the word that is the byte b; no other bit (no carry runs from one
// byte into the next, so every byte is told exactly).
constexpr std::uint64_t bytes_equal(std::uint64_t word, unsigned char b)
{
    const std::uint64_t x = word ^ (byte_ones * b);
    return ~(((x & byte_lows) + byte_lows) | x | byte_lows);
}

// The high bit of each byte of the word below `bound` (at most 0x80); no other bit.
constexpr std::uint64_t bytes_below(std::uint64_t word, unsigned char bound)
{
    // For a byte b below 0x80, b + (0x80 - bound) has its high bit set exactly when b >= bound
    // and carries nothing into the next byte.
    return ~((word & byte_lows) + byte_ones * static_cast<unsigned char>(0x80 - bound)) & ~word & byte_highs;
}

// The high bit of each byte of the word that is white space as the dump's readers take it: a
// blank, a tab, a line break, a vertical tab, a form feed or a carriage return (9 to 13 and 32).
constexpr std::uint64_t blank_bytes(std::uint64_t word)
{
    return bytes_equal(word, ' ') | (bytes_below(word, 14) & ~bytes_below(word, 9));
}

// The place in the word (0 to 7) of the first byte that a non-zero mask marks.
constexpr std::size_t first_marked(std::uint64_t mask) { return static_cast<std::size_t>(std::countr_zero(mask)) / 8; }

// The eight bytes at text as one word.
inline std::uint64_t word_at(const char* text)
{
    std::uint64_t word;
    std::memcpy(&word, text, sizeof word);
    return word;
}

// The first size (one to eight) bytes at text as one word, the others zero; readable bytes may be
// read from text. With eight readable, one load and a mask save a copy of a few bytes.
inline std::uint64_t short_word(const char* text, std::size_t size, std::size_t readable)
{
    if (readable >= 8) {
        const unsigned dropped_bits = static_cast<unsigned>(64 - 8 * size);
        if constexpr (bytes_low_first) return word_at(text) & (~std::uint64_t{0} >> dropped_bits);
        else return word_at(text) & (~std::uint64_t{0} << dropped_bits);
    }
    std::uint64_t word = 0;
    std::memcpy(&word, text, size);
    return word;
}

// The offset of the first byte of text from `from` on (before size) that ends a scan: a byte that
// `marked` marks in its word, eight bytes tested at once, or (for the last few bytes, and where
// words are not read lowest byte first) one that `ends` tells alone; size for none, and `from`
// itself when it lies past size. The two must tell the same bytes.
template <typename Marked, typename Ends>
[[gnu::always_inline]] inline std::size_t scan_end(const char* text, std::size_t from, std::size_t size, Marked marked, Ends ends)
{
    std::size_t i = from;
    if constexpr (bytes_low_first)
        for (; i + 8 <= size; i += 8)
            if (const std::uint64_t found = marked(word_at(text + i)); found != 0) return i + first_marked(found);
    while (i < size && !ends(text[i])) ++i;
    return i;
}
