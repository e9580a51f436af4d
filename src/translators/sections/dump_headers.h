#pragma once
// The six whole lines that divide a dump into sections.

#include <optional>
#include <string_view>

// A header line of the dump; none for every other line.
enum class Header { none, characters, party, layout, items, main_data, separator };

// The header that the whole line is, compared exactly; none for every other line.
Header header_of(std::string_view line);

// True for the five bracketed headers ("[Items]", ...), the separator not included.
bool is_bracketed(Header header);

// The header that the line is once the blanks and tabs around it are dropped, when it has some
// ("[Items] "); none for a header written exactly and for every other line.
Header padded_header_of(std::string_view line);

// The header's text as a dump writes it ("[Items]", or the separator line).
std::string_view header_text(Header header);

// The header that the line, blanks around it aside, is a near miss of ("[items]", "[Item]");
// none when it is a header itself, a header with blanks or tabs around it, or near none.
std::optional<std::string_view> near_header(std::string_view line);
