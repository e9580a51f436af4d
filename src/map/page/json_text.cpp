#include "page/json_text.h"

namespace {

const char hex_digits[] = "0123456789abcdef";

void append_unicode_escape(std::string& out, unsigned code)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex_digits[(code >> shift) & 0xfu];
}

// The length of the well-formed UTF-8 sequence of two to four bytes at the start of the text; 0
// when the bytes there are not one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t utf8_sequence_length(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto continuation = [&](std::size_t i) { return i < text.size() && (byte(i) & 0xc0u) == 0x80u; };
    const unsigned first = byte(0);
    if (first >= 0xc2 && first <= 0xdf) return continuation(1) ? 2 : 0;
    if (first >= 0xe0 && first <= 0xef) {
        if (!continuation(1) || !continuation(2)) return 0;
        if (first == 0xe0 && byte(1) < 0xa0) return 0;
        if (first == 0xed && byte(1) >= 0xa0) return 0;
        return 3;
    }
    if (first >= 0xf0 && first <= 0xf4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
        if (first == 0xf0 && byte(1) < 0x90) return 0;
        if (first == 0xf4 && byte(1) >= 0x90) return 0;
        return 4;
    }
    return 0;
}

} // namespace

std::string json_string(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c == '"') out += "\\\"";
            else if (c == '\\') out += "\\\\";
            else if (c == '\n') out += "\\n";
            else if (c < 0x20 || c == 0x7f || c == '<' || c == '>' || c == '&') append_unicode_escape(out, c);
            else out += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::size_t length = utf8_sequence_length(text.substr(i));
        if (length == 0) {
            append_unicode_escape(out, 0xfffd);
            ++i;
            continue;
        }
        // U+2028 and U+2029 (E2 80 A8 and E2 80 A9) end a line in older script engines.
        if (length == 3 && c == 0xe2 && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xa8 || static_cast<unsigned char>(text[i + 2]) == 0xa9))
            append_unicode_escape(out, static_cast<unsigned char>(text[i + 2]) == 0xa8 ? 0x2028u : 0x2029u);
        else
            out.append(text.substr(i, length));
        i += length;
    }
    out += '"';
    return out;
}
