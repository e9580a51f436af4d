#include "script/chunking.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "script/constant_keys.h"
#include "text/chars.h"

namespace {

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


// What read_statement returns when the text ends before the statement does.
constexpr std::size_t end_unknown = std::string_view::npos;

// How the text given to read_statement ends: inside the script, so that a name, number or string
// that reaches its end may go on in the next piece; or with the script (or with the statement).
enum class TextEnd { piece, script };

// Keys read into a list, in the order met, duplicates included.
struct KeyList {
    std::vector<std::uint64_t>& keys;
    void add(std::uint64_t key) const { keys.push_back(key); }
};

// Keys read straight into a function's constants (no list to fill and read again).
struct KeySet {
    ConstantSet& constants;
    void add(std::uint64_t key) const { constants.insert_soon(key); }
};

// No keys: a statement read for its end alone.
struct NoKeys {
    void add(std::uint64_t) const {}
};

// Gives the key of a name of one to eight bytes, given as short_word gives it, unless it is a
// keyword; small when it begins with a small letter.
template <typename Keys>
[[gnu::always_inline]] inline void add_short_name(std::uint64_t word, std::size_t length, bool small, const Keys& keys)
{
    const NameKind kind = small ? short_name_kind(word, length) : NameKind::plain;
    if (kind == NameKind::plain) keys.add(short_text_key(word, length));
    else if (kind == NameKind::boolean) keys.add(boolean_key(word));
}

// Skips the byte at text[i] when it is one that ends no statement and holds no constant (",",
// "=" and the like, which follow most constants): a test instead of a turn of the reading loop.
[[gnu::always_inline]] inline void skip_other(const char* text, std::size_t& i, std::size_t size)
{
    if (i < size && kind_of(text[i]) == ByteKind::other) ++i;
}

// Reads on through the part of a statement that the piece before left open (a comment, a string,
// or a "-" that a "-" here makes a comment) and returns where plain reading goes on, or
// end_unknown when the part goes on past this text too. Text is not empty.
std::size_t read_open_part(const char* text, std::size_t size, StatementState& state)
{
    if (state.dash) {
        state.dash = false;
        if (text[0] == '-') state.in_comment = true;
    }
    if (state.in_comment) {
        const void* end = std::memchr(text, '\n', size);
        if (!end) return end_unknown;
        state.in_comment = false;
        // The line break is read next, as a blank or the statement's end.
        return static_cast<std::size_t>(static_cast<const char*>(end) - text);
    }
    if (state.quote) {
        std::size_t j = state.escaped ? 1 : 0;
        state.escaped = false;
        for (;;) {
            j = string_stop(text, j, size, state.quote);
            if (j >= size) {
                state.escaped = j > size;
                return end_unknown;
            }
            if (text[j] == state.quote) break;
            j += 2; // a backslash and the byte it escapes
        }
        state.quote = 0;
        return j + 1;
    }
    return 0;
}

// Reads a statement at the start of text, after the part that state says an earlier piece began,
// and gives the keys of its constants to keys, in the order met: returns the offset just past the
// line break that ends it, a line break outside strings, comments ("--" to the line's end),
// parentheses and braces. This is the one reading of a statement, for its end and its constants
// alike. When a piece of the script ends before the statement does, returns end_unknown and
// leaves in state where the reading stands (keys of constants that reach the piece's end are not
// given: the statement is counted whole once it ends). When the text ends with the script,
// returns its size.
template <TextEnd End, typename Keys>
std::size_t read_statement(const char* text, std::size_t size, StatementState& state, const Keys& keys)
{
    constexpr bool piece = End == TextEnd::piece;
    if (size == 0) return piece ? end_unknown : 0;
    std::size_t i = 0;
    if (state.is_open()) {
        i = read_open_part(text, size, state);
        if (i == end_unknown) return end_unknown;
    }
    int depth = state.depth;
    bool minus = false;
    // The statement goes on in the next piece; a "-" at the end may open a comment with its first byte.
    const auto goes_on = [&] {
        state.depth = depth;
        state.dash = text[size - 1] == '-';
        return end_unknown;
    };
    while (i < size) {
        const char c = text[i];
        switch (kind_of(c)) {
        case ByteKind::blank:
            ++i;
            break;
        case ByteKind::line_break:
            ++i;
            if (depth <= 0) {
                state = StatementState{};
                return i;
            }
            break;
        case ByteKind::minus:
            if (i + 1 < size && text[i + 1] == '-') {
                const void* end = std::memchr(text + i, '\n', size - i);
                if (piece && !end) {
                    state.depth = depth;
                    state.in_comment = true;
                    return end_unknown;
                }
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
            if (piece && j >= size) {
                state.depth = depth;
                state.quote = c;
                state.escaped = j > size;
                return end_unknown;
            }
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
            if (bytes_low_first && size - i >= 16) {
                // Most names are shorter than sixteen bytes: the two words that hold one are
                // loaded once, for its end and for its key.
                const std::uint64_t first = word_at(text + i);
                const std::uint64_t first_stops = non_name_bytes(first) & byte_highs;
                if (first_stops) {
                    const std::size_t length = first_marked(first_stops);
                    add_short_name(first & low_bytes(length), length, small, keys);
                    j = i + length;
                } else {
                    const std::uint64_t second = word_at(text + i + 8);
                    const std::uint64_t second_stops = non_name_bytes(second) & byte_highs;
                    if (!second_stops) {
                        j = name_end(text, i + 16, size);
                        if (piece && j == size) return goes_on();
                        keys.add(text_key(text + i, j - i, size - i));
                    } else {
                        const std::size_t rest = first_marked(second_stops);
                        if (rest == 0) add_short_name(first, 8, small, keys);
                        else keys.add(two_word_text_key(first, second & low_bytes(rest), 8 + rest));
                        j = i + 8 + rest;
                    }
                }
            } else {
                j = name_end(text, i, size);
                if (piece && j == size) return goes_on();
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
            if (piece && j == size) return goes_on();
            if (j == i || j - i > 15 || (j < size && (is_name_byte(text[j]) || text[j] == '.'))) {
                // An exponent's sign is part of the number, unless a "-" after it opens a comment.
                const auto exponent_sign = [&](std::size_t at) {
                    return (text[at] == '+' || (text[at] == '-' && !(at + 1 < size && text[at + 1] == '-'))) &&
                           (text[at - 1] == 'e' || text[at - 1] == 'E');
                };
                while (j < size && (is_name_byte(text[j]) || text[j] == '.' || exponent_sign(j))) ++j;
                if (piece && j == size) return goes_on();
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
    return piece ? goes_on() : size;
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
    for (std::size_t at = 0; at < text.size();) {
        StatementState state;
        at += read_statement<TextEnd::script>(text.data() + at, text.size() - at, state, KeyList{keys});
    }
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

void ChunkingBuffer::take(const char* text, std::size_t count)
{
    std::size_t at = 0;
    if (!pending_.empty()) {
        // A statement begun in an earlier piece is read on where its reading stopped.
        const std::size_t end = read_statement<TextEnd::piece>(text, count, reader_, NoKeys{});
        if (end == end_unknown) {
            pending_.append(text, count);
            return;
        }
        pending_.append(text, end);
        write_statement(pending_, false);
        write_run();
        pending_.clear();
        at = end;
    }
    while (at < count) {
        // Once counting has begun, each statement is read once, for its end and its constants
        // together, where it stands; before, for its end alone.
        const bool counted = counting_;
        StatementState state;
        const std::size_t end = counted ? read_statement<TextEnd::piece>(text + at, count - at, state, KeySet{constants_})
                                        : read_statement<TextEnd::piece>(text + at, count - at, state, NoKeys{});
        if (end == end_unknown) {
            // The statement goes on in the next piece; it is counted whole once it ends.
            reader_ = state;
            pending_.assign(text + at, count - at);
            break;
        }
        // The bound, which leaves the keys waiting, answers for nearly every statement; near the
        // limit write_statement counts them.
        if (counted && constants_.size_at_most() <= limit_ && !run_.empty() && run_.data() + run_.size() == text + at) {
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
        reader_ = StatementState{};
        if (chunk_open_ && last_line_open) out_ << "\n";
    }
    if (chunk_open_) out_ << "end)() end\n";
    chunk_open_ = false;
}
