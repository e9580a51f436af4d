#include "sections/dump_headers.h"

#include <array>
#include <string>
#include <utility>

#include "text/fields.h"
#include "text/near.h"
#include "text/trim.h"

namespace {

// "/", 78 "*" and "/": the line between two sections.
const std::string separator_line = "/" + std::string(78, '*') + "/";

const std::array<std::pair<std::string_view, Header>, 5> bracketed = {{
    {"[Characters]", Header::characters},
    {"[Party]", Header::party},
    {"[Layout]", Header::layout},
    {"[Items]", Header::items},
    {"[Main Data]", Header::main_data},
}};

} // namespace

Header header_of(std::string_view line)
{
    if (line.empty()) return Header::none;
    if (line.front() == '[') {
        for (const auto& [text, header] : bracketed)
            if (line == text) return header;
        return Header::none;
    }
    return line == separator_line ? Header::separator : Header::none;
}

Header padded_header_of(std::string_view line)
{
    const std::string_view word = trimmed(line);
    if (word.size() == line.size()) return Header::none;
    return header_of(word);
}

std::string_view header_text(Header header)
{
    if (header == Header::separator) return separator_line;
    for (const auto& [text, bracketed_header] : bracketed)
        if (bracketed_header == header) return text;
    return {};
}

bool is_bracketed(Header header)
{
    return header != Header::none && header != Header::separator;
}

std::optional<std::string_view> near_header(std::string_view line)
{
    if (header_of(line) != Header::none) return std::nullopt;
    const std::string_view word = trimmed(line, is_blank);
    if (word.empty() || header_of(word) != Header::none) return std::nullopt;
    if (word.front() == '[' || word.back() == ']') {
        for (const auto& [text, header] : bracketed)
            if (word == text || is_near(word, text)) return text;
        return std::nullopt;
    }
    if (word.front() == '/' && (word == separator_line || is_near(word, separator_line)))
        return std::string_view(separator_line);
    return std::nullopt;
}
