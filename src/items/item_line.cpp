#include "items/item_line.h"

#include <limits>

#include "driver/report.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "text/normalise.h"

std::vector<std::string> split_tokens(const std::string& line)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && is_blank(line[i])) ++i;
        std::size_t start = i;
        while (i < line.size() && !is_blank(line[i])) ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

namespace {
bool fits_int(long long value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}
} // namespace

std::optional<std::string> item_line_problem(const std::string& line, const Levels& levels, const ObjectList& names)
{
    const auto tokens = split_tokens(line);
    if (tokens.size() < 5) return "the item line has fewer than five tokens; it is skipped";
    int x = 0, y = 0, level = 0;
    if (!read_whole_int(tokens[2], x) || !read_whole_int(tokens[3], y) || !read_whole_int(tokens[4], level))
        return "the column, row or level of object " + quoted(tokens[0]) + " is not an integer; it is skipped";
    if (!is_word_text(force_us(tokens[0])))
        return "the identifier " + quoted(tokens[0]) + " is not made of letters, digits, \"_\" and \"-\"; it is skipped";
    // An unlisted object keeps its type as its name, so an unlisted type "pit" is a pit too.
    const bool pit = names.lookup(tokens[1]).value_or(tokens[1]) == "pit";
    if (level == -1) {
        if (pit) return "the pit " + quoted(tokens[0]) + " has level -1; it is skipped";
        return std::nullopt;
    }
    if (!levels.is_level(level))
        return "the level " + std::to_string(level) + " of object " + quoted(tokens[0]) + " is not a level of the layout; it is skipped";
    const Level& own = levels.levels[static_cast<std::size_t>(level)];
    if (!fits_int(static_cast<long long>(x) + own.offset_x) || !fits_int(static_cast<long long>(y) + own.offset_y))
        return "the square of object " + quoted(tokens[0]) + " is out of range; it is skipped";
    return std::nullopt;
}

std::optional<std::string> item_grid_problem(const std::string& line, const Levels& levels)
{
    const auto tokens = split_tokens(line);
    int x = 0, y = 0, level = 0;
    if (tokens.size() < 5 || !read_whole_int(tokens[2], x) || !read_whole_int(tokens[3], y) ||
        !read_whole_int(tokens[4], level) || !levels.is_level(level))
        return std::nullopt;
    const Level& own = levels.levels[static_cast<std::size_t>(level)];
    const long long grid_x = static_cast<long long>(x) + own.offset_x;
    const long long grid_y = static_cast<long long>(y) + own.offset_y;
    if (grid_x >= 0 && grid_y >= 0) return std::nullopt;
    return "object " + quoted(tokens[0]) + " stands at " + std::to_string(x) + "," + std::to_string(y) +
           " of level " + std::to_string(level) + ", which is " + std::to_string(grid_x) + "," +
           std::to_string(grid_y) + " on the common grid, left of or above every map; it is written as a comment";
}

std::optional<std::string> item_square_problem(const std::string& line, const Levels& levels)
{
    const auto tokens = split_tokens(line);
    int x = 0, y = 0, level = 0;
    if (tokens.size() < 5 || !read_whole_int(tokens[2], x) || !read_whole_int(tokens[3], y) ||
        !read_whole_int(tokens[4], level) || level == -1 || levels.holds_square(level, x, y))
        return std::nullopt;
    return "object " + quoted(tokens[0]) + " stands at " + std::to_string(x) + "," + std::to_string(y) +
           ", outside the map of level " + std::to_string(level);
}

std::string commented_out(const std::string& text)
{
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.rfind("--", 0) != 0) result += "--";
        result += line;
        result += "\n";
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return result;
}

std::vector<std::string> held_identifiers(const std::string& contents)
{
    std::string list = contents;
    if (!list.empty() && list.back() == ')') list.pop_back();
    std::vector<std::string> result;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = list.find(',', start);
        std::string element = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        std::size_t first = element.find_first_not_of(" \t");
        std::size_t last = element.find_last_not_of(" \t");
        result.push_back(first == std::string::npos ? std::string() : element.substr(first, last - first + 1));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return result;
}
