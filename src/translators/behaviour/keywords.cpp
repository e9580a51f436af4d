#include "behaviour/keywords.h"

#include "behaviour/properties.h"

std::optional<std::string_view> paren_value_at(std::string_view line, std::size_t position, std::string_view keyword)
{
    if (position == std::string_view::npos) return std::nullopt;
    const std::size_t start = position + keyword.size();
    const std::size_t close = line.find(')', start);
    return line.substr(start, close == std::string_view::npos ? std::string_view::npos : close - start);
}

std::optional<std::string_view> colon_value_at(std::string_view line, std::size_t position, std::string_view enders)
{
    if (position == std::string_view::npos) return std::nullopt;
    // Every ":" keyword holds its ":", so one is found.
    const std::size_t start = line.find(':', position) + 1;
    const std::size_t end = line.find_first_of(enders, start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::optional<std::string_view> state_word_of(std::string_view line, const KeywordScan& scan)
{
    const std::size_t first = scan.first(scanned("STATE"));
    // Every "STATE=(" holds a "STATE", so the first "STATE=(" is also the first at or after it.
    const std::size_t keyword = scan.first(scanned("STATE=("));
    if (first == std::string_view::npos || keyword == std::string_view::npos) return std::nullopt;
    const std::size_t open = keyword + 6;
    const std::size_t colon = line.find(':', first);
    const std::size_t start = (colon != std::string_view::npos && colon < open ? colon : open) + 1;
    const std::size_t close = line.find(')', start);
    return line.substr(start, close == std::string_view::npos ? std::string_view::npos : close - start);
}

std::optional<std::string_view> paren_value(const LineContext& context, std::size_t text)
{
    return paren_value_at(context.line, context.scan.first(text), scanned_texts[text]);
}

bool paren_closed(const LineContext& context, std::size_t text)
{
    const std::size_t found = context.scan.first(text);
    return found != std::string_view::npos &&
           context.line.find(')', found + scanned_texts[text].size()) != std::string_view::npos;
}

std::optional<std::string_view> colon_value(const LineContext& context, std::size_t text, std::string_view enders)
{
    return colon_value_at(context.line, context.scan.first(text), enders);
}
