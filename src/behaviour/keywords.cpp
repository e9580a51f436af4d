#include "behaviour/keywords.h"

bool has_keyword(const std::string& line, const std::string& keyword)
{
    return line.find(keyword) != std::string::npos;
}

std::optional<std::string> paren_value(const std::string& line, const std::string& keyword)
{
    std::size_t found = line.find(keyword);
    if (found == std::string::npos) return std::nullopt;
    std::size_t start = found + keyword.size();
    std::size_t close = line.find(')', start);
    return line.substr(start, close == std::string::npos ? std::string::npos : close - start);
}

bool paren_closed(const std::string& line, const std::string& keyword)
{
    std::size_t found = line.find(keyword);
    return found != std::string::npos && line.find(')', found + keyword.size()) != std::string::npos;
}

std::optional<std::string> colon_value(const std::string& line, const std::string& keyword, const std::string& enders)
{
    std::size_t found = line.find(keyword);
    if (found == std::string::npos) return std::nullopt;
    std::size_t colon = line.find(':', found);
    std::size_t start = colon + 1;
    std::size_t end = line.find_first_of(enders, start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> split_list(const std::string& value)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = value.find(',', start);
        parts.push_back(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}
