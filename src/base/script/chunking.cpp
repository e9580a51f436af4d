#include "script/chunking.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "text/chars.h"
#include "text/lua_text.h"

namespace {

// The key of a constant is a 64-bit hash of its kind and its bytes. A name's or a string's bytes
// go in eight at a time (one multiply per word where a byte-wise hash takes one per byte), after
// its length, so that texts that differ only in trailing zero bytes differ too.
constexpr std::uint64_t text_seed = 0x736372697074ULL;    // names and strings
constexpr std::uint64_t number_seed = 0x6e756d626572ULL;  // numbers, by their value
constexpr std::uint64_t boolean_seed = 0x626f6f6cULL;     // true, false and nil

// The hash with one more word in. For a given hash each word gives another result; every bit of
// the word reaches the top bits of the result (through the multiply), which the constant set's
// cache of recent keys is taken from, and the bits from the 24th up.
constexpr std::uint64_t mixed(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ULL;
    return hash ^ (hash >> 32);
}

// The key of a number's bits: a value differs from its neighbours mostly in its top bits, which
// this mix spreads over all of the key's.
constexpr std::uint64_t finished(std::uint64_t hash, std::uint64_t word)
{
    hash ^= word;
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ULL;
    return hash ^ (hash >> 33);
}

// The hash of a name or string of this many bytes before its bytes go in.
std::uint64_t text_start(std::size_t size) { return text_seed ^ (size * 0x100000001B3ULL); }

// The eight bytes at text as one word.
std::uint64_t word_at(const char* text)
{
    std::uint64_t word;
    std::memcpy(&word, text, sizeof word);
    return word;
}

// The first size (one to eight) bytes at text as one word, the others zero; readable bytes may be
// read from text. With eight readable, one load and a mask save a copy of a few bytes.
std::uint64_t short_word(const char* text, std::size_t size, std::size_t readable)
{
    if (readable >= 8) {
        const unsigned dropped_bits = static_cast<unsigned>(64 - 8 * size);
        if constexpr (std::endian::native == std::endian::little) return word_at(text) & (~std::uint64_t{0} >> dropped_bits);
        else return word_at(text) & (~std::uint64_t{0} << dropped_bits);
    }
    std::uint64_t word = 0;
    std::memcpy(&word, text, size);
    return word;
}

// The key of a name or a string written as these bytes (of which readable may be read).
[[gnu::always_inline]] inline std::uint64_t text_key(const char* text, std::size_t size, std::size_t readable)
{
    std::uint64_t hash = text_start(size);
    if (size == 0) return mixed(hash, 0);
    std::size_t i = 0;
    for (; size - i > 8; i += 8) hash = mixed(hash, word_at(text + i));
    return mixed(hash, short_word(text + i, size - i, readable - i));
}

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

constexpr PackedReservedWords packed_reserved_words = [] {
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

// The key of a number of this value; -0 and 0 are one.
std::uint64_t number_key(double value)
{
    if (value == 0) value = 0;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return finished(number_seed, bits);
}

// The keys of the numbers 0 to 255, then of their negatives, made once when the program starts
// (by number_key itself, so that they are the keys it gives).
const auto small_number_keys = [] {
    std::array<std::uint64_t, 512> keys{};
    for (int value = 0; value < 256; ++value) {
        keys[static_cast<std::size_t>(value)] = number_key(value);
        keys[static_cast<std::size_t>(256 + value)] = number_key(-value);
    }
    return keys;
}();

// The key of a number written as plain digits (at most fifteen) of this value, negative after a
// "-"; a small one, the usual case, from the table (a lookup instead of a conversion and a hash).
std::uint64_t whole_number_key(std::uint64_t value, bool minus)
{
    if (value < 256) return small_number_keys[static_cast<std::size_t>(value) + (minus ? 256 : 0)];
    const double number = static_cast<double>(value);
    return number_key(minus ? -number : number);
}

// The key of true, false or nil, given as short_word gives it.
std::uint64_t boolean_key(std::uint64_t word) { return mixed(boolean_seed, word); }

// What a byte starts when the constants of a statement are read.
enum class ByteKind : unsigned char { other, blank, line_break, name, digit, dot, quote, minus, open, close };

constexpr auto byte_kinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        ByteKind& kind = kinds[static_cast<std::size_t>(byte)];
        if (is_name_start(c)) kind = ByteKind::name;
        else if (is_digit(c)) kind = ByteKind::digit;
        else if (c == ' ' || c == '\t' || c == '\r') kind = ByteKind::blank;
        else if (c == '\n') kind = ByteKind::line_break;
        else if (c == '.') kind = ByteKind::dot;
        else if (c == '"' || c == '\'') kind = ByteKind::quote;
        else if (c == '-') kind = ByteKind::minus;
        else if (c == '(' || c == '{') kind = ByteKind::open;
        else if (c == ')' || c == '}') kind = ByteKind::close;
    }
    return kinds;
}();
ByteKind kind_of(char c) { return byte_kinds[static_cast<unsigned char>(c)]; }

// True for the bytes of a name after its first.
constexpr auto name_bytes = [] {
    std::array<bool, 256> marks{};
    for (int byte = 0; byte < 256; ++byte) marks[static_cast<std::size_t>(byte)] = is_name_part(static_cast<char>(byte));
    return marks;
}();
bool is_name_byte(char c) { return name_bytes[static_cast<unsigned char>(c)]; }

// Marks with its high bit each byte of the word that cannot be part of a name (a letter, a digit
// or "_"). For a byte b below 0x80, b + (0x80 - t) has its high bit set exactly when b >= t and
// carries nothing into the next byte, so each range takes two additions for all eight bytes.
std::uint64_t non_name_bytes(std::uint64_t word)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const std::uint64_t low = word & ~highs;
    const std::uint64_t folded = low | ones * 0x20; // capitals as small letters
    const std::uint64_t letters = (folded + ones * (0x80 - 'a')) & ~(folded + ones * (0x80 - 'z' - 1));
    const std::uint64_t digits = (low + ones * (0x80 - '0')) & ~(low + ones * (0x80 - '9' - 1));
    const std::uint64_t not_underscores = (low ^ ones * '_') + ~highs;
    return (~(letters | digits) & not_underscores) | word;
}

constexpr std::uint64_t high_bits = 0x8080808080808080ULL;

// The low `size` (one to seven) bytes of a word, the others zero.
constexpr std::uint64_t low_bytes(std::size_t size) { return ~std::uint64_t{0} >> (64 - 8 * size); }

// The offset just past the name bytes in text from `from` on. Eight bytes are tested at a time
// (some twenty operations a word, where a byte at a time takes five or six a byte).
[[gnu::always_inline]] inline std::size_t name_end(const char* text, std::size_t from, std::size_t size)
{
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        for (; size - i >= 8; i += 8) {
            const std::uint64_t stops = non_name_bytes(word_at(text + i)) & high_bits;
            if (stops) return i + static_cast<std::size_t>(std::countr_zero(stops)) / 8;
        }
    }
    while (i < size && is_name_byte(text[i])) ++i;
    return i;
}

// True for the bytes that may change how a statement's end is found; the others are skipped.
constexpr auto structural_bytes = [] {
    std::array<bool, 256> marks{};
    for (char mark : std::string_view("\"'-(){}\n")) marks[static_cast<unsigned char>(mark)] = true;
    return marks;
}();
bool is_structural(char c) { return structural_bytes[static_cast<unsigned char>(c)]; }

// The offset of the first quote byte or backslash in text from `from` on; size when none. Eight
// bytes are tested at a time (a few operations per word instead of two compares per byte).
[[gnu::always_inline]] inline std::size_t string_stop(const char* text, std::size_t from, std::size_t size, char quote)
{
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ULL;
        constexpr std::uint64_t highs = 0x8080808080808080ULL;
        const std::uint64_t quotes = ones * static_cast<unsigned char>(quote);
        const std::uint64_t backslashes = ones * static_cast<unsigned char>('\\');
        for (; i + 8 <= size; i += 8) {
            const std::uint64_t word = word_at(text + i);
            const std::uint64_t a = word ^ quotes;
            const std::uint64_t b = word ^ backslashes;
            // The lowest marked byte is the first zero byte of a or b (a borrow marks only bytes above it).
            const std::uint64_t found = (((a - ones) & ~a) | ((b - ones) & ~b)) & highs;
            if (found) return i + static_cast<std::size_t>(std::countr_zero(found)) / 8;
        }
    }
    while (i < size && text[i] != quote && text[i] != '\\') ++i;
    return i;
}

// The value of a number as Lua reads it; plain digits, the usual case, without strtod.
double number_value(std::string_view digits)
{
    if (digits.size() <= 15 && std::all_of(digits.begin(), digits.end(), is_digit)) {
        std::uint64_t value = 0;
        for (char c : digits) value = value * 10 + static_cast<std::uint64_t>(c - '0');
        return static_cast<double>(value);
    }
    return std::strtod(std::string(digits).c_str(), nullptr);
}

// What read_constants returns when it cannot tell the statement's end from the bytes it has.
constexpr std::size_t end_unknown = std::string_view::npos;

// Keys read into a list, in the order met, duplicates included.
struct KeyList {
    std::vector<std::uint64_t>& keys;
    void add(std::uint64_t key) const { keys.push_back(key); }
};

// Keys read straight into a function's constants (no list to fill and read again).
struct KeySet {
    ConstantSet& constants;
    void add(std::uint64_t key) const { constants.insert(key); }
};

// Gives the key of a name of one to eight bytes, given as short_word gives it, unless it is a
// keyword; small when it begins with a small letter.
template <typename Keys>
[[gnu::always_inline]] inline void add_short_name(std::uint64_t word, std::size_t length, bool small, const Keys& keys)
{
    const NameKind kind = small ? short_name_kind(word, length) : NameKind::plain;
    if (kind == NameKind::plain) keys.add(mixed(text_start(length), word));
    else if (kind == NameKind::boolean) keys.add(boolean_key(word));
}

// Skips the byte at text[i] when it is one that ends no statement and holds no constant (",",
// "=" and the like, which follow most constants): a test instead of a turn of the reading loop.
[[gnu::always_inline]] inline void skip_other(const char* text, std::size_t& i, std::size_t size)
{
    if (i < size && kind_of(text[i]) == ByteKind::other) ++i;
}

// Reads the constants of a statement at the start of text and gives their keys to keys, in the
// order met. With ToStatementEnd, stops just past the line break that ends the statement and
// returns that offset, so that a statement is read once for its end and its constants; returns
// end_unknown when text ends before the statement does (after giving the keys of the constants
// that end before text does), and where a number ends in "e-" right before another "-": such a
// "--" opens a comment for the reading of the statement's end but not for the constants. Without,
// reads the whole text and returns its size.
template <bool ToStatementEnd, typename Keys>
std::size_t read_constants(const char* text, std::size_t size, const Keys& keys)
{
    bool minus = false;
    int depth = 0;
    std::size_t i = 0;
    while (i < size) {
        const char c = text[i];
        switch (kind_of(c)) {
        case ByteKind::blank:
            ++i;
            break;
        case ByteKind::line_break:
            ++i;
            if (ToStatementEnd && depth <= 0) return i;
            break;
        case ByteKind::minus:
            if (i + 1 < size && text[i + 1] == '-') {
                const void* end = std::memchr(text + i, '\n', size - i);
                // The line break is read next, as a blank or the statement's end.
                i = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : size;
            } else {
                minus = true;
                ++i;
            }
            break;
        case ByteKind::open:
            ++depth;
            minus = false;
            ++i;
            break;
        case ByteKind::close:
            --depth;
            minus = false;
            ++i;
            break;
        case ByteKind::quote: {
            // The writer escapes every string the same way, so equal strings are spelt alike.
            std::size_t j = i + 1;
            for (;;) {
                j = string_stop(text, j, size, c);
                if (j >= size || text[j] == c) break;
                j += 2; // a backslash and the byte it escapes
            }
            if (ToStatementEnd && j >= size) return end_unknown;
            const std::size_t end = std::min(j, size);
            keys.add(text_key(text + i + 1, end - (i + 1), size - (i + 1)));
            i = end + 1;
            minus = false;
            skip_other(text, i, size);
            break;
        }
        case ByteKind::name: {
            // A name is its text as a string constant; true, false and nil are constants too. All
            // of these and every keyword are in small letters and no longer than eight bytes.
            const bool small = c >= 'a' && c <= 'z';
            std::size_t j;
            if (std::endian::native == std::endian::little && size - i >= 16) {
                // Most names are shorter than sixteen bytes: the two words that hold one are
                // loaded once, for its end and for its key.
                const std::uint64_t first = word_at(text + i);
                const std::uint64_t first_stops = non_name_bytes(first) & high_bits;
                if (first_stops) {
                    const std::size_t length = static_cast<std::size_t>(std::countr_zero(first_stops)) / 8;
                    add_short_name(first & low_bytes(length), length, small, keys);
                    j = i + length;
                } else {
                    const std::uint64_t second = word_at(text + i + 8);
                    const std::uint64_t second_stops = non_name_bytes(second) & high_bits;
                    if (!second_stops) {
                        j = name_end(text, i + 16, size);
                        if (ToStatementEnd && j == size) return end_unknown;
                        keys.add(text_key(text + i, j - i, size - i));
                    } else {
                        const std::size_t rest = static_cast<std::size_t>(std::countr_zero(second_stops)) / 8;
                        if (rest == 0) add_short_name(first, 8, small, keys);
                        else keys.add(mixed(mixed(text_start(8 + rest), first), second & low_bytes(rest)));
                        j = i + 8 + rest;
                    }
                }
            } else {
                j = name_end(text, i, size);
                if (ToStatementEnd && j == size) return end_unknown;
                const std::size_t length = j - i;
                if (length > 8) keys.add(text_key(text + i, length, size - i));
                else add_short_name(short_word(text + i, length, size - i), length, small, keys);
            }
            i = j;
            minus = false;
            skip_other(text, i, size);
            break;
        }
        case ByteKind::dot:
            if (i + 1 >= size || !is_digit(text[i + 1])) {
                minus = false;
                ++i;
                break;
            }
            [[fallthrough]];
        case ByteKind::digit: {
            // Plain digits, the usual case, are read with their value in one pass.
            std::size_t j = i;
            std::uint64_t digits_value = 0;
            for (; j < size && is_digit(text[j]); ++j) digits_value = digits_value * 10 + static_cast<std::uint64_t>(text[j] - '0');
            if (ToStatementEnd && j == size) return end_unknown;
            if (j == i || j - i > 15 || (j < size && (is_name_byte(text[j]) || text[j] == '.'))) {
                while (j < size && (is_name_byte(text[j]) || text[j] == '.' ||
                                    ((text[j] == '+' || text[j] == '-') && (text[j - 1] == 'e' || text[j - 1] == 'E'))))
                    ++j;
                if (ToStatementEnd && (j == size || (text[j - 1] == '-' && text[j] == '-'))) return end_unknown;
                const double value = number_value(std::string_view(text + i, j - i));
                keys.add(number_key(minus ? -value : value));
            } else {
                keys.add(whole_number_key(digits_value, minus));
            }
            i = j;
            minus = false;
            skip_other(text, i, size);
            break;
        }
        case ByteKind::other:
            minus = false;
            ++i;
            break;
        }
    }
    return ToStatementEnd ? end_unknown : size;
}

} // namespace

bool ConstantSet::insert_into_table(std::uint64_t key, std::uint64_t& recent)
{
    std::uint64_t& slot = table_.slot_for(key);
    if (slot == key) {
        recent = key;
        return false;
    }
    slot = key;
    table_.added();
    return true;
}

std::vector<std::uint64_t> script_constants(std::string_view text)
{
    std::vector<std::uint64_t> keys;
    add_script_constants(text, keys);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

void add_script_constants(std::string_view text, std::vector<std::uint64_t>& keys)
{
    read_constants<false>(text.data(), text.size(), KeyList{keys});
}

namespace {

// Bytes that the chunking buffer gathers before it splits them into statements.
constexpr std::size_t put_area_size = std::size_t{1} << 16;

// Every constant takes at least two bytes of script, except those written with one byte (a
// one-letter name, a digit, a digit after "-"), of which there are fewer than this many.
constexpr std::size_t one_byte_constants = 128;

} // namespace

ChunkingBuffer::ChunkingBuffer(std::ostream& out, std::size_t limit)
    : out_(out), limit_(limit), put_area_(put_area_size),
      // A script of n bytes holds at most one_byte_constants + n / 2 constants.
      uncounted_bound_(limit > one_byte_constants ? 2 * (limit - one_byte_constants) : 0)
{
    setp(put_area_.data(), put_area_.data() + put_area_.size());
}

ChunkingBuffer::int_type ChunkingBuffer::overflow(int_type c)
{
    take_put_area();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize ChunkingBuffer::xsputn(const char* text, std::streamsize count)
{
    // Small pieces are gathered; a large one (a kept block of statements) is read where it stands.
    if (count <= epptr() - pptr()) {
        std::memcpy(pptr(), text, static_cast<std::size_t>(count));
        pbump(static_cast<int>(count));
        return count;
    }
    take_put_area();
    take(text, static_cast<std::size_t>(count));
    return count;
}

int ChunkingBuffer::sync()
{
    take_put_area();
    return 0;
}

void ChunkingBuffer::take_put_area()
{
    take(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(put_area_.data(), put_area_.data() + put_area_.size());
}

std::size_t ChunkingBuffer::StatementReader::end_in(const char* text, std::size_t count)
{
    std::size_t i = 0;
    while (i < count) {
        // Runs of bytes that change nothing are skipped at once: plain code, the inside of a
        // string up to a quote or backslash, a comment up to its line break.
        if (in_comment) {
            const void* end = std::memchr(text + i, '\n', count - i);
            if (!end) return std::string_view::npos;
            i = static_cast<std::size_t>(static_cast<const char*>(end) - text);
        } else if (quote && !escaped) {
            i = string_stop(text, i, count, quote);
            if (i == count) return std::string_view::npos;
        } else if (!quote) {
            const std::size_t from = i;
            while (i < count && !is_structural(text[i])) ++i;
            if (i > from) last = text[i - 1];
            if (i == count) return std::string_view::npos;
        }
        const char c = text[i++];
        const char before = last;
        last = c;
        if (in_comment) {
            in_comment = false;
        } else if (quote) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == quote) quote = 0;
            continue;
        } else if (c == '"' || c == '\'') {
            quote = c;
            continue;
        } else if (c == '-' && before == '-') {
            in_comment = true;
            continue;
        } else if (c == '(' || c == '{') {
            ++depth;
        } else if (c == ')' || c == '}') {
            --depth;
        }
        if (c == '\n' && depth <= 0) return i;
    }
    return std::string_view::npos;
}

void ChunkingBuffer::take(const char* text, std::size_t count)
{
    std::size_t at = 0;
    if (!pending_.empty()) {
        // A statement begun in an earlier piece is read on where its reading stopped.
        const std::size_t end = reader_.end_in(text, count);
        if (end == std::string_view::npos) {
            pending_.append(text, count);
            return;
        }
        pending_.append(text, end);
        reader_ = StatementReader{};
        write_statement(pending_, false);
        write_run();
        pending_.clear();
        at = end;
    }
    while (at < count) {
        // Once counting has begun, each statement is read once, for its end and its constants
        // together, where it stands.
        std::size_t end = end_unknown;
        if (counting_) end = read_constants<true>(text + at, count - at, KeySet{constants_});
        const bool counted = end != end_unknown;
        if (!counted) {
            // Before, and for the rare statement that that reading cannot end and the one that
            // goes on into the next piece, the statement is read for its end alone.
            StatementReader reader;
            end = reader.end_in(text + at, count - at);
            if (end == std::string_view::npos) {
                reader_ = reader;
                pending_.assign(text + at, count - at);
                break;
            }
        }
        if (counted && constants_.size() <= limit_ && !run_.empty() && run_.data() + run_.size() == text + at) {
            // The usual counted statement, within the limit and right after the run: it joins the
            // run here, saving the calls of write_statement and join_run per statement.
            run_ = std::string_view(run_.data(), run_.size() + end);
        } else {
            write_statement(std::string_view(text + at, end), counted);
        }
        at += end;
    }
    write_run();
}

void ChunkingBuffer::add_keys(std::string_view statement)
{
    keys_.clear();
    add_script_constants(statement, keys_);
    for (std::uint64_t key : keys_) constants_.insert(key);
}

void ChunkingBuffer::count_passed_statements()
{
    std::size_t start = 0;
    for (std::size_t end : passed_ends_) {
        add_keys(std::string_view(passed_).substr(start, end - start));
        start = end;
    }
    counting_ = true;
    std::string().swap(passed_);
    std::vector<std::size_t>().swap(passed_ends_);
}

void ChunkingBuffer::write_run()
{
    if (!run_.empty()) out_.write(run_.data(), static_cast<std::streamsize>(run_.size()));
    run_ = {};
}

void ChunkingBuffer::write_statement(std::string_view statement, bool counted)
{
    if (!counting_) {
        if (passed_.size() + statement.size() <= uncounted_bound_) {
            passed_ += statement;
            passed_ends_.push_back(passed_.size());
            join_run(statement);
            return;
        }
        count_passed_statements();
    }
    if (!counted) add_keys(statement);
    // The statement that would pass the limit of the main function, or of the open chunk, starts
    // a new chunk. Its function's constants begin with its own, so the ones added to the full
    // function's need not be taken out again.
    if (constants_.size() > limit_) {
        write_run();
        if (chunk_open_) out_ << "end)() end\n";
        chunk_open_ = true;
        out_ << "do (function()\n";
        constants_.clear();
        add_keys(statement);
    }
    join_run(statement);
}

void ChunkingBuffer::join_run(std::string_view statement)
{
    if (!run_.empty() && run_.data() + run_.size() == statement.data()) {
        run_ = std::string_view(run_.data(), run_.size() + statement.size());
    } else {
        write_run();
        run_ = statement;
    }
}

void ChunkingBuffer::finish()
{
    take_put_area();
    if (!pending_.empty()) {
        // A script that does not end in a line break: its last statement closes the chunk on a line of its own.
        const bool last_line_open = pending_.back() != '\n';
        write_statement(pending_, false);
        write_run();
        pending_.clear();
        reader_ = StatementReader{};
        if (chunk_open_ && last_line_open) out_ << "\n";
    }
    if (chunk_open_) out_ << "end)() end\n";
    chunk_open_ = false;
}
