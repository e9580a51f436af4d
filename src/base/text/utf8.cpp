#include "text/utf8.h"

std::size_t utf8_sequence_length(std::string_view text)
{
    if (text.empty()) return 0;
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
