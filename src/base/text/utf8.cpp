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

std::string_view wide_encoding_of(std::string_view first_line)
{
    if (first_line.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        first_line.starts_with(std::string_view("\0\0\xFE\xFF", 4)))
        return "UTF-32";
    if (first_line.starts_with("\xFF\xFE") || first_line.starts_with("\xFE\xFF")) return "UTF-16";
    // Without a mark: characters below U+0100 leave every other byte zero in UTF-16, and three
    // bytes of four in UTF-32, at the same places throughout (other binary files do not).
    const std::string_view start = first_line.substr(0, 256);
    if (start.size() < 4) return {};
    bool nonzero[4] = {};
    for (std::size_t i = 0; i < start.size(); ++i)
        if (start[i] != '\0') nonzero[i % 4] = true;
    const int zero_places = !nonzero[0] + !nonzero[1] + !nonzero[2] + !nonzero[3];
    if (zero_places == 3) return "UTF-32";
    if ((!nonzero[0] && !nonzero[2]) || (!nonzero[1] && !nonzero[3])) return "UTF-16";
    return {};
}
