#include "text/lua_text.h"

#include <array>

#include "text/byte_words.h"
#include "text/chars.h"
#include "text/trim.h"

bool is_lua_number(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    std::size_t digits = i;
    while (i < text.size() && is_digit(text[i])) ++i;
    if (i == digits) return false;
    if (i < text.size() && text[i] == '.') {
        std::size_t fraction = ++i;
        while (i < text.size() && is_digit(text[i])) ++i;
        if (i == fraction) return false;
    }
    return i == text.size();
}

std::string lua_escape(std::string_view text)
{
    std::string result;
    append_lua_escape(result, text);
    return result;
}

namespace {

// True for the bytes a Lua string holds as they are: all but "\\", the quote and control bytes.
constexpr bool is_plain_in_string(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return c != '\\' && c != '"' && byte >= 32 && byte != 127;
}

// The high bit of each byte of the word that a Lua string must escape.
constexpr std::uint64_t escaped_bytes(std::uint64_t word)
{
    return bytes_below(word, 32) | bytes_equal(word, 127) | bytes_equal(word, '\\') | bytes_equal(word, '"');
}

} // namespace

void append_lua_escape(std::string& out, std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        // A run of bytes that need no escape is appended at once, not byte by byte.
        const std::size_t run = i;
        i = scan_end(text.data(), i, text.size(), escaped_bytes, [](char c) { return !is_plain_in_string(c); });
        out.append(text.data() + run, i - run);
        if (i == text.size()) return;
        const char c = text[i++];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else {
            out += '\\';
            out += static_cast<char>('0' + byte / 100);
            out += static_cast<char>('0' + byte / 10 % 10);
            out += static_cast<char>('0' + byte % 10);
        }
    }
}

bool is_word_text(std::string_view text)
{
    for (char c : text)
        if (!is_name_start(c) && !is_digit(c)) return false;
    return true;
}

bool is_lua_name(std::string_view text)
{
    return !text.empty() && is_name_start(text.front()) && is_word_text(text) && !is_lua_keyword(text);
}

bool is_code_value(std::string_view text)
{
    text = trimmed(text);
    return is_lua_number(text) || is_lua_name(text);
}

std::string commented_out(std::string_view text)
{
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.starts_with("--")) result += "--";
        result += line;
        result += "\n";
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return result;
}
