#pragma once
// The keys of a script's constants and the scans of its bytes that find them: the pieces the
// chunking writer's reading of a statement is made of. Inline, since that reading runs over every
// byte of a large script and takes them into its loop.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/hash.h"
#include "text/byte_words.h"
#include "text/chars.h"
#include "text/lua_text.h"

// The key of a constant is the hash of its kind and its bytes: equal for equal constants.
inline constexpr std::uint64_t text_seed = 0x736372697074ULL;    // names and strings
inline constexpr std::uint64_t number_seed = 0x6e756d626572ULL;  // numbers, by their value
inline constexpr std::uint64_t boolean_seed = 0x626f6f6cULL;     // true, false and nil

// The key of a name or a string written as these bytes (of which readable may be read).
[[gnu::always_inline]] inline std::uint64_t text_key(const char* text, std::size_t size, std::size_t readable)
{
    return bytes_hash(text_seed, text, size, readable);
}

// The key of a name or string of up to eight bytes, given as short_word gives them.
constexpr std::uint64_t short_text_key(std::uint64_t word, std::size_t size) { return hash_mixed(hash_start(text_seed, size), word); }

// The key of a name of nine to sixteen bytes, given as its first word and the rest as short_word
// gives it: text_key's result without a loop.
constexpr std::uint64_t two_word_text_key(std::uint64_t first, std::uint64_t rest, std::size_t size)
{
    return hash_mixed(hash_mixed(hash_start(text_seed, size), first), rest);
}

// The key of a number of this value; -0 and 0 are one.
std::uint64_t number_key(double value);

// The keys of the numbers 0 to 255, then of their negatives (number_key's own).
extern const std::array<std::uint64_t, 512> small_number_keys;

// The key of a number written as plain digits (at most fifteen) of this value, negative after a
// "-"; a small one, the usual case, from the table (a lookup instead of a conversion and a hash).
inline std::uint64_t whole_number_key(std::uint64_t value, bool minus)
{
    if (value < 256) return small_number_keys[static_cast<std::size_t>(value) + (minus ? 256 : 0)];
    const double number = static_cast<double>(value);
    return number_key(minus ? -number : number);
}

// The value of a number as Lua reads it; plain digits, the usual case, without strtod.
double number_value(std::string_view digits);

// The key of true, false or nil, given as short_word gives it.
constexpr std::uint64_t boolean_key(std::uint64_t word) { return hash_mixed(boolean_seed, word); }

// A word of up to eight bytes as short_word gives it, made at compile time.
constexpr std::uint64_t packed(std::string_view word)
{
    std::uint64_t packed_word = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const std::uint64_t byte = static_cast<unsigned char>(word[i]);
        packed_word |= std::endian::native == std::endian::little ? byte << (8 * i) : byte << (56 - 8 * i);
    }
    return packed_word;
}

// What a name of small letters stands for: the booleans and nil are constants, keywords are none.
enum class NameKind { plain, keyword, boolean };

// Lua's reserved words packed as short_word packs a name, each in its own slot of a small table
// whose slot is the top bits of the word times a multiplier chosen so that no two share one: a
// name of up to eight bytes is told from all of them with one multiply and one compare, where a
// compare with each word of its length takes a loop of up to five. Free slots hold zero, which
// no name packs to.
struct PackedReservedWords {
    static constexpr unsigned slot_bits = 6;
    std::uint64_t multiplier = 0;
    std::array<std::uint64_t, std::size_t{1} << slot_bits> words{};
    std::array<NameKind, std::size_t{1} << slot_bits> kinds{};
    // The slot of a packed word.
    constexpr std::size_t slot_of(std::uint64_t word) const { return static_cast<std::size_t>((word * multiplier) >> (64 - slot_bits)); }
};

inline constexpr PackedReservedWords packed_reserved_words = [] {
    PackedReservedWords table;
    for (std::uint64_t candidate = 0x9E3779B97F4A7C15ULL;; candidate += 0x5851F42D4C957F2EULL) {
        table = PackedReservedWords{};
        table.multiplier = candidate | 1;
        bool apart = true;
        for (const std::string_view word : lua_reserved_words) {
            const std::size_t slot = table.slot_of(packed(word));
            if (table.words[slot] != 0) {
                apart = false;
                break;
            }
            const bool constant = word == "true" || word == "false" || word == "nil";
            table.words[slot] = packed(word);
            table.kinds[slot] = constant ? NameKind::boolean : NameKind::keyword;
        }
        if (apart) return table;
    }
}();

// The kind of a name of up to eight bytes, given as short_word gives it.
[[gnu::always_inline]] inline NameKind short_name_kind(std::uint64_t word, std::size_t size)
{
    if (size > 8) return NameKind::plain;
    const std::size_t slot = packed_reserved_words.slot_of(word);
    return packed_reserved_words.words[slot] == word ? packed_reserved_words.kinds[slot] : NameKind::plain;
}

// True for the bytes of a name after its first, as a table.
inline constexpr auto name_bytes = [] {
    std::array<bool, 256> marks{};
    for (int byte = 0; byte < 256; ++byte) marks[static_cast<std::size_t>(byte)] = is_name_part(static_cast<char>(byte));
    return marks;
}();
inline bool is_name_byte(char c) { return name_bytes[static_cast<unsigned char>(c)]; }

// Marks with its high bit each byte of the word that cannot be part of a name (a letter, a digit
// or "_"). For a byte b below 0x80, b + (0x80 - t) has its high bit set exactly when b >= t and
// carries nothing into the next byte, so each range takes two additions for all eight bytes.
inline std::uint64_t non_name_bytes(std::uint64_t word)
{
    const std::uint64_t low = word & ~byte_highs;
    const std::uint64_t folded = low | byte_ones * 0x20; // capitals as small letters
    const std::uint64_t letters = (folded + byte_ones * (0x80 - 'a')) & ~(folded + byte_ones * (0x80 - 'z' - 1));
    const std::uint64_t digits = (low + byte_ones * (0x80 - '0')) & ~(low + byte_ones * (0x80 - '9' - 1));
    const std::uint64_t not_underscores = (low ^ byte_ones * '_') + ~byte_highs;
    return (~(letters | digits) & not_underscores) | word;
}

// The offset just past the name bytes in text from `from` on. Eight bytes are tested at a time
// (some twenty operations a word, where a byte at a time takes five or six a byte).
[[gnu::always_inline]] inline std::size_t name_end(const char* text, std::size_t from, std::size_t size)
{
    return scan_end(
        text, from, size, [](std::uint64_t word) { return non_name_bytes(word) & byte_highs; },
        [](char c) { return !is_name_byte(c); });
}

// The offset of the first quote byte or backslash in text from `from` on; size when none. Eight
// bytes are tested at a time (a few operations per word instead of two compares per byte).
[[gnu::always_inline]] inline std::size_t string_stop(const char* text, std::size_t from, std::size_t size, char quote)
{
    const std::uint64_t quotes = byte_ones * static_cast<unsigned char>(quote);
    const std::uint64_t backslashes = byte_ones * static_cast<unsigned char>('\\');
    // The lowest marked byte is the first zero byte of a or b (a borrow marks only bytes above it).
    const auto marked = [&](std::uint64_t word) {
        const std::uint64_t a = word ^ quotes;
        const std::uint64_t b = word ^ backslashes;
        return (((a - byte_ones) & ~a) | ((b - byte_ones) & ~b)) & byte_highs;
    };
    return scan_end(text, from, size, marked, [&](char c) { return c == quote || c == '\\'; });
}
