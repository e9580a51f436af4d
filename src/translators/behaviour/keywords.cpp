#include "behaviour/keywords.h"

#include "behaviour/keyword_table.h"

KeywordFilter::KeywordFilter(std::string_view line)
{
    for (std::size_t i = 1; i < line.size(); ++i) pairs_[pair_bit(line[i - 1], line[i])] = true;
}

bool KeywordFilter::may_hold(std::string_view keyword) const
{
    for (std::size_t i = 1; i < keyword.size(); ++i)
        if (!pairs_[pair_bit(keyword[i - 1], keyword[i])]) return false;
    return true;
}

bool has_keyword(std::string_view line, std::string_view keyword)
{
    return line.find(keyword) != std::string_view::npos;
}

std::optional<std::string> paren_value(std::string_view line, std::string_view keyword)
{
    std::size_t found = line.find(keyword);
    if (found == std::string_view::npos) return std::nullopt;
    std::size_t start = found + keyword.size();
    std::size_t close = line.find(')', start);
    return std::string(line.substr(start, close == std::string_view::npos ? std::string_view::npos : close - start));
}

bool paren_closed(std::string_view line, std::string_view keyword)
{
    std::size_t found = line.find(keyword);
    return found != std::string_view::npos && line.find(')', found + keyword.size()) != std::string_view::npos;
}

std::optional<std::string> colon_value(std::string_view line, std::string_view keyword, std::string_view enders)
{
    std::size_t found = line.find(keyword);
    if (found == std::string_view::npos) return std::nullopt;
    std::size_t colon = line.find(':', found);
    std::size_t start = colon + 1;
    std::size_t end = line.find_first_of(enders, start);
    return std::string(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::vector<std::string> split_list(const std::string& value)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = value.find(',', start);
        parts.push_back(value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return parts;
        start = comma + 1;
    }
}

std::optional<std::string> state_word_of(const std::string& line)
{
    const std::size_t first = line.find("STATE");
    if (first == std::string::npos) return std::nullopt;
    const std::size_t keyword = line.find("STATE=(", first);
    if (keyword == std::string::npos) return std::nullopt;
    const std::size_t open = keyword + 6;
    const std::size_t colon = line.find(':', first);
    const std::size_t start = (colon != std::string::npos && colon < open ? colon : open) + 1;
    const std::size_t close = line.find(')', start);
    return line.substr(start, close == std::string::npos ? std::string::npos : close - start);
}

const Keyword* known_keyword(std::string_view text)
{
    for (const Keyword& keyword : keyword_table)
        if (keyword.text == text) return &keyword;
    return nullptr;
}
