#include "script/chunking.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "text/chars.h"
#include "text/lua_text.h"

namespace {

// The key of a constant is a 64-bit hash of its kind and its bytes, built byte by byte.
class KeyHash {
public:
    explicit KeyHash(char kind) { mix(kind); }
    void mix(char byte)
    {
        hash_ ^= static_cast<unsigned char>(byte);
        hash_ *= 1099511628211ULL;
    }
    std::uint64_t key() const { return hash_; }

private:
    std::uint64_t hash_ = 1469598103934665603ULL;
};

std::uint64_t key_of(char kind, std::string_view bytes)
{
    KeyHash hash(kind);
    for (char c : bytes) hash.mix(c);
    return hash.key();
}

// True for the bytes of a name after its first.
constexpr auto name_bytes = [] {
    std::array<bool, 256> marks{};
    for (int byte = 0; byte < 256; ++byte) marks[static_cast<std::size_t>(byte)] = is_name_part(static_cast<char>(byte));
    return marks;
}();
bool is_name_byte(char c) { return name_bytes[static_cast<unsigned char>(c)]; }

// True for the bytes that may change how the chunking buffer reads a script; it skips the others.
constexpr auto structural_bytes = [] {
    std::array<bool, 256> marks{};
    for (char mark : std::string_view("\"'-(){}\n")) marks[static_cast<unsigned char>(mark)] = true;
    return marks;
}();
bool is_structural(char c) { return structural_bytes[static_cast<unsigned char>(c)]; }

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

} // namespace

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
    bool minus = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            const std::size_t end = text.find('\n', i);
            i = end == std::string_view::npos ? text.size() : end;
            continue;
        }
        if (c == '"' || c == '\'') {
            // The writer escapes every string the same way, so equal strings are spelt alike.
            KeyHash hash('s');
            std::size_t j = i + 1;
            while (j < text.size() && text[j] != c) {
                hash.mix(text[j]);
                if (text[j] == '\\' && j + 1 < text.size()) hash.mix(text[j + 1]);
                j += text[j] == '\\' ? 2u : 1u;
            }
            keys.push_back(hash.key());
            i = std::min(j, text.size()) + 1;
            minus = false;
            continue;
        }
        if (is_name_start(c)) {
            KeyHash hash('s');
            std::size_t j = i;
            for (; j < text.size() && is_name_byte(text[j]); ++j) hash.mix(text[j]);
            const std::string_view word = text.substr(i, j - i);
            // A name is its text as a string constant; true, false and nil are constants too. All
            // of these and every keyword are in small letters.
            const bool small = c >= 'a' && c <= 'z';
            if (small && (word == "true" || word == "false" || word == "nil")) keys.push_back(key_of('b', word));
            else if (!small || !is_lua_keyword(word)) keys.push_back(hash.key());
            i = j;
            minus = false;
            continue;
        }
        if (is_digit(c) || (c == '.' && i + 1 < text.size() && is_digit(text[i + 1]))) {
            std::size_t j = i;
            while (j < text.size() && (is_name_part(text[j]) || text[j] == '.' ||
                                       ((text[j] == '+' || text[j] == '-') && (text[j - 1] == 'e' || text[j - 1] == 'E'))))
                ++j;
            double value = number_value(text.substr(i, j - i));
            if (minus) value = -value;
            if (value == 0) value = 0; // -0 and 0 are one constant
            char bytes[sizeof value];
            std::memcpy(bytes, &value, sizeof value);
            keys.push_back(key_of('n', std::string_view(bytes, sizeof bytes)));
            i = j;
            minus = false;
            continue;
        }
        if (c == '-') minus = true;
        else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') minus = false;
        ++i;
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
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < count) {
        // Runs of bytes that change nothing are skipped at once: plain code, the inside of a
        // string up to a quote or backslash, a comment up to its line break.
        if (in_comment_) {
            const void* end = std::memchr(text + i, '\n', count - i);
            if (!end) {
                i = count;
                break;
            }
            i = static_cast<std::size_t>(static_cast<const char*>(end) - text);
        } else if (quote_ && !escaped_) {
            while (i < count && text[i] != quote_ && text[i] != '\\') ++i;
            if (i == count) break;
        } else if (!quote_) {
            const std::size_t from = i;
            while (i < count && !is_structural(text[i])) ++i;
            if (i > from) last_ = text[i - 1];
            if (i == count) break;
        }
        const char c = text[i++];
        const char before = last_;
        last_ = c;
        if (in_comment_) {
            in_comment_ = false;
        } else if (quote_) {
            if (escaped_) escaped_ = false;
            else if (c == '\\') escaped_ = true;
            else if (c == quote_) quote_ = 0;
            continue;
        } else if (c == '"' || c == '\'') {
            quote_ = c;
            continue;
        } else if (c == '-' && before == '-') {
            in_comment_ = true;
            continue;
        } else if (c == '(' || c == '{') {
            ++depth_;
        } else if (c == ')' || c == '}') {
            --depth_;
        }
        if (c == '\n' && depth_ <= 0) {
            pending_.append(text + start, i - start);
            start = i;
            write_statement();
        }
    }
    pending_.append(text + start, count - start);
}

bool ChunkingBuffer::fits(const std::vector<std::uint64_t>& keys)
{
    // A statement that does not fit starts a new function, whose constants begin with its own, so
    // the ones added here need not be taken out again.
    for (std::uint64_t key : keys) constants_.insert(key);
    return constants_.size() <= limit_;
}

void ChunkingBuffer::count_passed_statements()
{
    std::size_t start = 0;
    for (std::size_t end : passed_ends_) {
        keys_.clear();
        add_script_constants(std::string_view(passed_).substr(start, end - start), keys_);
        fits(keys_);
        start = end;
    }
    counting_ = true;
    std::string().swap(passed_);
    std::vector<std::size_t>().swap(passed_ends_);
}

void ChunkingBuffer::write_statement()
{
    if (!counting_) {
        if (passed_.size() + pending_.size() <= uncounted_bound_) {
            out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
            passed_ += pending_;
            passed_ends_.push_back(passed_.size());
            pending_.clear();
            depth_ = 0;
            last_ = 0;
            return;
        }
        count_passed_statements();
    }
    keys_.clear();
    add_script_constants(pending_, keys_);
    // The statement that would pass the limit of the main function, or of the open chunk,
    // starts a new chunk.
    if (!fits(keys_)) {
        if (chunk_open_) out_ << "end)() end\n";
        chunk_open_ = true;
        out_ << "do (function()\n";
        constants_.clear();
        for (std::uint64_t key : keys_) constants_.insert(key);
    }
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
    depth_ = 0;
    last_ = 0;
}

void ChunkingBuffer::finish()
{
    take_put_area();
    if (!pending_.empty()) {
        // A script that does not end in a line break: its last statement closes the chunk on a line of its own.
        const bool last_line_open = pending_.back() != '\n';
        write_statement();
        if (chunk_open_ && last_line_open) out_ << "\n";
    }
    if (chunk_open_) out_ << "end)() end\n";
    chunk_open_ = false;
}
