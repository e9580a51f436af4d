#include "text/json_text.h"

#include "text/utf8.h"

namespace {

const char hex_digits[] = "0123456789abcdef";

void append_unicode_escape(std::string& out, unsigned code)
{
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex_digits[(code >> shift) & 0xfu];
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
