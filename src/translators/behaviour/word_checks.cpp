#include "behaviour/word_checks.h"

#include <algorithm>
#include <string_view>

#include "behaviour/keyword_table.h"
#include "behaviour/keywords.h"
#include "text/chars.h"
#include "text/lua_text.h"
#include "text/near.h"

namespace {

constexpr std::string_view placement_words[] = {"NORTHWEST", "NORTHEAST", "SOUTHWEST", "SOUTHEAST", "NORTH",
                                                "SOUTH",     "WEST",      "EAST",      "CENTER"};
constexpr std::string_view state_words[] = {"OPEN", "CLOSED", "ACTIVE", "INACTIVE", "VISIBLE", "INVISIBLE"};
constexpr std::string_view rotation_words[] = {"NORTH", "WEST", "SOUTH", "EAST", "LEFT", "RIGHT", "180"};

// A part of the line: from begin up to end; empty when begin is npos.
struct Range {
    std::size_t begin = std::string::npos;
    std::size_t end = std::string::npos;
    bool holds(std::size_t position) const { return begin != std::string::npos && position >= begin && position < end; }
};

// The free text of the line: the value of its TEXT=( up to the next ")" or the end of the line.
Range text_range(const std::string& line)
{
    const std::size_t keyword = line.find("TEXT=(");
    if (keyword == std::string::npos) return {};
    const std::size_t begin = keyword + 6;
    return {begin, std::min(line.find(')', begin), line.size())};
}

// The position after the line's first five tokens.
std::size_t after_leading_tokens(const std::string& line, const LeadingTokens& tokens)
{
    if (tokens.count < 5) return line.size();
    return static_cast<std::size_t>(tokens.tokens[4].data() + tokens.tokens[4].size() - line.data());
}

// The word of the list that the text is near, or an empty view.
template <std::size_t N>
std::string_view near_one_of(std::string_view text, const std::string_view (&words)[N])
{
    for (std::string_view word : words)
        if (is_near(text, word)) return word;
    return {};
}

template <std::size_t N>
bool holds_one_of(std::string_view text, const std::string_view (&words)[N])
{
    return std::any_of(std::begin(words), std::end(words), [&](std::string_view word) { return contains(text, word); });
}

bool is_keyword_byte(char c) { return (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_'; }

// Calls visit with every keyword of the table that starts at some position of the text, and the position.
template <typename Visit>
void each_keyword_in(std::string_view text, Visit visit)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Every keyword begins with a capital: a text of small letters and digits holds none.
        if (text[i] < 'A' || text[i] > 'Z') continue;
        for (const Keyword& keyword : keyword_table)
            if (keyword.text.front() == text[i] && text.substr(i).starts_with(keyword.text)) visit(keyword, i);
    }
}

// Words of keyword form (capitals, digits and "_", then "=(" or ":") that no group knows but
// that are near one it knows, or that hold one and are read as it.
void check_keyword_words(const std::string& line, std::size_t from, const Range& text, Problems& problems)
{
    std::size_t i = from;
    while (i < line.size()) {
        if (text.holds(i)) {
            i = text.end;
            continue;
        }
        if (!is_keyword_byte(line[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && is_keyword_byte(line[i])) ++i;
        std::size_t end = i;
        if (i + 1 < line.size() && line[i] == '=' && line[i + 1] == '(') end = i + 2;
        else if (i < line.size() && line[i] == ':') end = i + 1;
        else continue;
        const std::string_view word = std::string_view(line).substr(start, end - start);
        if (known_keyword(word)) continue;
        const auto held = std::find_if(keyword_table.begin(), keyword_table.end(),
                                       [&](const Keyword& keyword) { return word.ends_with(keyword.text); });
        if (held != keyword_table.end()) {
            problems.push_back(warning("the word " + quoted(word) + " is read as the keyword " + quoted(held->text) +
                                       ", which it holds"));
            continue;
        }
        const auto near = std::find_if(keyword_table.begin(), keyword_table.end(),
                                       [&](const Keyword& keyword) { return is_near(word, keyword.text); });
        if (near != keyword_table.end())
            problems.push_back(warning("the word " + quoted(word) + " is no keyword; " + quoted(near->text) +
                                       " is meant? It is passed over"));
    }
}

// A sixth token near a placement word without being one: the object stands at CENTER.
void check_placement(const LeadingTokens& tokens, const Item& item, Problems& problems)
{
    if (tokens.count < 6 || item.level == -1 || spawns_as_pit(item.object_name)) return;
    const std::string_view word = tokens.tokens[5];
    if (std::find(std::begin(placement_words), std::end(placement_words), word) != std::end(placement_words)) return;
    if (const std::string_view near = near_one_of(word, placement_words); !near.empty())
        problems.push_back(warning("the placement " + quoted(word) + " is not a placement word (" + quoted(near) +
                                   " is meant?); the object stands at CENTER"));
}

// A STATE=( word or ROTATE: value in which no word of its list stands, near one of them.
void check_closed_lists(const std::string& line, Problems& problems)
{
    if (const auto state = state_word_of(line); state && !holds_one_of(*state, state_words)) {
        if (const std::string_view near = near_one_of(*state, state_words); !near.empty())
            problems.push_back(warning("the state " + quoted(*state) + " is no state the converter knows (" +
                                       quoted(near) + " is meant?); it does nothing"));
    }
    if (const auto rotation = colon_value(line, "ROTATE:", ")"); rotation && !holds_one_of(*rotation, rotation_words)) {
        if (const std::string_view near = near_one_of(*rotation, rotation_words); !near.empty())
            problems.push_back(warning("the rotation " + quoted(*rotation) + " names no facing or turn (" +
                                       quoted(near) + " is meant?); the object does not turn"));
    }
}

// True when the object reads the keyword.
bool reads(const Keyword& keyword, const Item& item)
{
    switch (keyword.reader) {
    case KeywordReader::any: return true;
    case KeywordReader::shooter: return item.is_shooter;
    case KeywordReader::floordamager: return item.is_floordamager;
    case KeywordReader::shooter_or_floordamager: return item.is_shooter || item.is_floordamager;
    case KeywordReader::generator: return item.is_generator;
    }
    return true;
}

// Keywords that act where the author did not mean them, or do nothing.
void check_misplaced_keywords(const std::string& line, const LeadingTokens& tokens, const Range& text,
                              const Item& item, Problems& problems)
{
    for (std::size_t t = 0; t < 2 && t < tokens.count; ++t)
        each_keyword_in(tokens.tokens[t], [&](const Keyword& keyword, std::size_t) {
            problems.push_back(warning(std::string(t == 0 ? "the identifier " : "the type ") + quoted(tokens.tokens[t]) +
                                       " holds the keyword " + quoted(keyword.text) + ", which is read all the same"));
        });
    if (text.begin != std::string::npos) {
        const std::string_view value = std::string_view(line).substr(text.begin, text.end - text.begin);
        each_keyword_in(value, [&](const Keyword& keyword, std::size_t at) {
            if (line.find(keyword.text) == text.begin + at)
                problems.push_back(warning("the keyword " + quoted(keyword.text) +
                                           " stands inside the TEXT=( value, where it is read all the same"));
        });
    }
    if (has_keyword(line, "DELAY:") && !has_keyword(line, "TARGET=("))
        problems.push_back(warning("DELAY: does nothing without TARGET=("));
    if (has_keyword(line, "ROTATE:") && !has_keyword(line, "DESTINATION=("))
        problems.push_back(warning("ROTATE: does nothing without DESTINATION=("));
    if (item.is_known)
        for (const Keyword& keyword : keyword_table)
            if (!reads(keyword, item) && has_keyword(line, keyword.text))
                problems.push_back(warning(std::string(keyword.text) + " does nothing for " + quoted(item.id) +
                                           ", whose object " + quoted(item.object_name) + " does not read it"));
    if (const auto targets = paren_value(line, "TARGET=("); targets && has_keyword(*targets, "NULL")) {
        const auto parts = split_list(*targets);
        if (parts.size() > 1 || parts.front() != "NULL")
            problems.push_back(warning("NULL in TARGET=(" + *targets + ") withdraws every target of the list"));
    }
}

} // namespace

void check_item_words(const std::string& line, const LeadingTokens& tokens, const Item& item, Problems& problems)
{
    const Range text = text_range(line);
    check_keyword_words(line, after_leading_tokens(line, tokens), text, problems);
    check_placement(tokens, item, problems);
    check_closed_lists(line, problems);
    check_misplaced_keywords(line, tokens, text, item, problems);
}
