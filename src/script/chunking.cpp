#include "script/chunking.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool is_name_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_name_part(char c) { return is_name_start(c) || is_digit(c); }

// A 64-bit key of a constant: its kind and its bytes.
std::uint64_t key_of(char kind, std::string_view bytes)
{
    std::uint64_t hash = 1469598103934665603ULL;
    const auto mix = [&](unsigned char byte) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    };
    mix(static_cast<unsigned char>(kind));
    for (char c : bytes) mix(static_cast<unsigned char>(c));
    return hash;
}

bool is_keyword(std::string_view word)
{
    static constexpr std::string_view keywords[] = {"and",   "break", "do",  "else", "elseif", "end",
                                                    "for",   "function", "if", "in", "local", "not",
                                                    "or",    "repeat", "return", "then", "until", "while"};
    return std::find(std::begin(keywords), std::end(keywords), word) != std::end(keywords);
}

} // namespace

std::vector<std::uint64_t> script_constants(std::string_view text)
{
    std::vector<std::uint64_t> keys;
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
            std::size_t j = i + 1;
            while (j < text.size() && text[j] != c) j += text[j] == '\\' ? 2u : 1u;
            const std::size_t end = std::min(j, text.size());
            keys.push_back(key_of('s', text.substr(i + 1, end - i - 1)));
            i = end + 1;
            minus = false;
            continue;
        }
        if (is_name_start(c)) {
            std::size_t j = i;
            while (j < text.size() && is_name_part(text[j])) ++j;
            const std::string_view word = text.substr(i, j - i);
            // A name is its text as a string constant; true, false and nil are constants too.
            if (word == "true" || word == "false" || word == "nil") keys.push_back(key_of('b', word));
            else if (!is_keyword(word)) keys.push_back(key_of('s', word));
            i = j;
            minus = false;
            continue;
        }
        if (is_digit(c) || (c == '.' && i + 1 < text.size() && is_digit(text[i + 1]))) {
            std::size_t j = i;
            while (j < text.size() && (is_name_part(text[j]) || text[j] == '.' ||
                                       ((text[j] == '+' || text[j] == '-') && (text[j - 1] == 'e' || text[j - 1] == 'E'))))
                ++j;
            double value = std::strtod(std::string(text.substr(i, j - i)).c_str(), nullptr);
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
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

ChunkingBuffer::int_type ChunkingBuffer::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof())) take(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
}

std::streamsize ChunkingBuffer::xsputn(const char* text, std::streamsize count)
{
    for (std::streamsize i = 0; i < count; ++i) take(text[i]);
    return count;
}

void ChunkingBuffer::take(char c)
{
    pending_ += c;
    if (in_comment_) {
        if (c == '\n') in_comment_ = false;
        else return;
    } else if (quote_) {
        if (escaped_) escaped_ = false;
        else if (c == '\\') escaped_ = true;
        else if (c == quote_) quote_ = 0;
        return;
    } else if (c == '"' || c == '\'') {
        quote_ = c;
        return;
    } else if (c == '-' && pending_.size() >= 2 && pending_[pending_.size() - 2] == '-') {
        in_comment_ = true;
        return;
    } else if (c == '(' || c == '{') {
        ++depth_;
    } else if (c == ')' || c == '}') {
        --depth_;
    }
    if (c == '\n' && depth_ <= 0) write_statement();
}

void ChunkingBuffer::write_statement()
{
    const std::vector<std::uint64_t> keys = script_constants(pending_);
    // Adds the statement's constants to the function's; when that passes the limit, takes them
    // back out and returns false.
    const auto fits = [&] {
        std::vector<std::uint64_t> added;
        for (std::uint64_t key : keys)
            if (constants_.insert(key).second) added.push_back(key);
        if (constants_.size() <= limit_) return true;
        for (std::uint64_t key : added) constants_.erase(key);
        return false;
    };
    // The statement that would pass the limit of the main function, or of the open chunk,
    // starts a new chunk.
    if (!fits()) {
        if (chunk_open_) out_ << "end)() end\n";
        chunk_open_ = true;
        out_ << "do (function()\n";
        constants_.clear();
        constants_.insert(keys.begin(), keys.end());
    }
    out_ << pending_;
    pending_.clear();
    depth_ = 0;
}

void ChunkingBuffer::finish()
{
    if (!pending_.empty()) {
        // A script that does not end in a line break: its last statement closes the chunk on a line of its own.
        const bool last_line_open = pending_.back() != '\n';
        write_statement();
        if (chunk_open_ && last_line_open) out_ << "\n";
    }
    if (chunk_open_) out_ << "end)() end\n";
    chunk_open_ = false;
}
