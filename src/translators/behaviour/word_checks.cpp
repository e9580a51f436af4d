#include "behaviour/word_checks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "behaviour/keywords.h"
#include "store/hash.h"
#include "text/chars.h"
#include "text/lua_text.h"
#include "text/near.h"
#include "vocabulary/keyword_table.h"
#include "vocabulary/word_lists.h"

namespace {

// The words each check compares with, from the word lists: every placement word and the default,
// the states and the rotation words.
constexpr auto placement_checked = [] {
    std::array<std::string_view, placement_words.size() + 1> words{};
    std::copy(placement_words.begin(), placement_words.end(), words.begin());
    words.back() = default_placement;
    return words;
}();
constexpr auto state_checked = [] {
    std::array<std::string_view, state_words.size()> words{};
    std::transform(state_words.begin(), state_words.end(), words.begin(), [](const StateWord& s) { return s.word; });
    return words;
}();
constexpr auto rotation_checked = [] {
    std::array<std::string_view, rotation_words.size()> words{};
    std::transform(rotation_words.begin(), rotation_words.end(), words.begin(),
                   [](const RotationWord& r) { return r.word; });
    return words;
}();

// A part of the line: from begin up to end; empty when begin is npos.
struct Range {
    std::size_t begin = std::string::npos;
    std::size_t end = std::string::npos;
    bool holds(std::size_t position) const { return begin != std::string::npos && position >= begin && position < end; }
};

// The position after the line's first five tokens.
std::size_t after_leading_tokens(const std::string& line, const LeadingTokens& tokens)
{
    if (tokens.count < 5) return line.size();
    return static_cast<std::size_t>(tokens.tokens[4].data() + tokens.tokens[4].size() - line.data());
}

// The word of the list that the text is near, or an empty view.
template <std::size_t N>
std::string_view near_one_of(std::string_view text, const std::array<std::string_view, N>& words)
{
    for (std::string_view word : words)
        if (is_near(text, word)) return word;
    return {};
}

template <std::size_t N>
bool holds_one_of(std::string_view text, const std::array<std::string_view, N>& words)
{
    return std::any_of(std::begin(words), std::end(words), [&](std::string_view word) { return contains(text, word); });
}

// The place in the line where the scan found a keyword first, as a view for the message's column;
// empty when the scan has no place for it.
std::string_view keyword_at(const std::string& line, const KeywordScan& scan, std::size_t keyword)
{
    const std::size_t at = scan.first(keyword);
    if (at >= line.size()) return {};
    return std::string_view(line).substr(at, keyword_table[keyword].text.size());
}

bool is_keyword_byte(char c) { return (c >= 'A' && c <= 'Z') || is_digit(c) || c == '_'; }

// What the scan of a line's words found: which keywords of keyword form stand after its first
// five tokens (bit k for keyword_table[k]), and where its TEXT=( value lies.
struct LineWords {
    std::uint32_t present = 0;
    Range text;
    bool has(std::size_t keyword) const { return (present >> keyword & 1u) != 0; }
};

// Reads the words of keyword form (capitals, digits and "_", then "=(" or ":") after the first
// five tokens, at the marks the keyword scan found, passing over the TEXT=( value: reports those
// that no group knows but that are near one it knows, or that hold one and are read as it;
// notes the known ones.
LineWords scan_keyword_words(const std::string& line, const KeywordScan& scan, std::size_t from, Problems& problems)
{
    LineWords words;
    const auto note = [&](const Keyword& keyword) { words.present |= 1u << (&keyword - keyword_table.data()); };
    // A word of keyword form ends at its "=(" or ":": the keyword scan noted every such mark, and
    // the check reads back from each to the word's start.
    const std::string_view rest(line);
    std::size_t word_from = from;
    for (const std::size_t mark : scan.marks()) {
        if (mark < word_from) continue;
        const bool colon = line[mark] == ':';
        std::size_t start = mark;
        while (start > word_from && is_keyword_byte(line[start - 1])) --start;
        if (start == mark) continue;
        const std::size_t end = colon ? mark + 1 : mark + 2;
        const std::string_view word = rest.substr(start, end - start);
        if (const Keyword* known = keyword_named(word)) {
            note(*known);
            // A text is free: nothing inside it is a word of the line.
            if (known->text == "TEXT=(" && words.text.begin == std::string::npos) {
                words.text = {end, std::min(line.find(')', end), line.size())};
                word_from = words.text.end;
            }
            continue;
        }
        const auto held = std::find_if(keyword_table.begin(), keyword_table.end(),
                                       [&](const Keyword& keyword) { return word.ends_with(keyword.text); });
        if (held != keyword_table.end()) {
            note(*held);
            problems.emplace_back(MessageId::held_keyword,
                                  "the word " + quoted(word) + " is read as the keyword " + quoted(held->text) +
                                      ", which it holds",
                                  word);
            continue;
        }
        const auto near = std::find_if(keyword_table.begin(), keyword_table.end(),
                                       [&](const Keyword& keyword) { return is_near(word, keyword.text); });
        if (near != keyword_table.end())
            problems.emplace_back(MessageId::near_keyword,
                                  "the word " + quoted(word) + " is no keyword; " + quoted(near->text) +
                                      " is meant? It is passed over",
                                  word);
    }
    return words;
}

// A sixth token near a placement word without being one: the object stands at CENTER.
void check_placement(const LeadingTokens& tokens, const Item& item, Problems& problems)
{
    if (tokens.count < 6 || item.level == -1 || item.is(ObjectFlag::pit_statement)) return;
    const std::string_view word = tokens.tokens[5];
    if (std::find(placement_checked.begin(), placement_checked.end(), word) != placement_checked.end()) return;
    if (const std::string_view near = near_one_of(word, placement_checked); !near.empty())
        problems.emplace_back(MessageId::placement,
                              "the placement " + quoted(word) + " is not a placement word (" + quoted(near) +
                                  " is meant?); the object stands at CENTER",
                              word);
}

// A STATE=( word or ROTATE: value in which no word of its list stands, near one of them.
void check_closed_lists(const std::string& line, const KeywordScan& scan, const LineWords& words, Problems& problems)
{
    if (!words.has(keyword_index("STATE=(")) && !words.has(keyword_index("ROTATE:"))) return;
    if (const auto state = state_word_of(line, scan); state && !holds_one_of(*state, state_checked)) {
        if (const std::string_view near = near_one_of(*state, state_checked); !near.empty())
            problems.emplace_back(MessageId::state,
                                  "the state " + quoted(*state) + " is no state the converter knows (" +
                                      quoted(near) + " is meant?); it does nothing",
                                  *state);
    }
    if (const auto rotation = colon_value_at(line, scan.first(scanned("ROTATE:")), ")");
        rotation && !holds_one_of(*rotation, rotation_checked)) {
        if (const std::string_view near = near_one_of(*rotation, rotation_checked); !near.empty())
            problems.emplace_back(MessageId::rotation,
                                  "the rotation " + quoted(*rotation) + " names no facing or turn (" +
                                      quoted(near) + " is meant?); the object does not turn",
                                  *rotation);
    }
}

// The slot of a type in the memory of clean types.
std::size_t slot_of_type(std::string_view type)
{
    return static_cast<std::size_t>(text_hash(type)) & 255u;
}

// Keywords that act where the author did not mean them, or do nothing.
void check_misplaced_keywords(const std::string& line, const LeadingTokens& tokens, const KeywordScan& scan,
                              const LineWords& words, const Item& item, Problems& problems, WordCheckMemory& memory)
{
    for (std::size_t t = 0; t < 2 && t < tokens.count; ++t) {
        const std::string_view token = tokens.tokens[t];
        std::string* remembered = t == 1 ? &memory.clean_types[slot_of_type(token)] : nullptr;
        if (remembered && *remembered == token) continue;
        bool clean = true;
        for_each_keyword_in(token, [&](const Keyword& keyword, std::size_t) {
            clean = false;
            problems.emplace_back(MessageId::keyword_in_name,
                                  std::string(t == 0 ? "the identifier " : "the type ") + quoted(token) +
                                      " holds the keyword " + quoted(keyword.text) + ", which is read all the same",
                                  token);
        });
        if (remembered && clean) remembered->assign(token);
    }
    if (words.text.begin != std::string::npos) {
        const std::string_view value = std::string_view(line).substr(words.text.begin, words.text.end - words.text.begin);
        for_each_keyword_in(value, [&](const Keyword& keyword, std::size_t at) {
            if (scan.first(static_cast<std::size_t>(&keyword - keyword_table.data())) == words.text.begin + at)
                problems.emplace_back(MessageId::keyword_in_text,
                                      "the keyword " + quoted(keyword.text) +
                                          " stands inside the TEXT=( value, where it is read all the same",
                                      value.substr(at));
        });
    }
    if (words.has(keyword_index("DELAY:")) && !words.has(keyword_index("TARGET=(")))
        problems.emplace_back(MessageId::unused_keyword, "DELAY: does nothing without TARGET=(",
                              keyword_at(line, scan, keyword_index("DELAY:")));
    if (words.has(keyword_index("ROTATE:")) && !words.has(keyword_index("DESTINATION=(")))
        problems.emplace_back(MessageId::unused_keyword, "ROTATE: does nothing without DESTINATION=(",
                              keyword_at(line, scan, keyword_index("ROTATE:")));
    // The keywords that only some kinds of objects read; most lines hold none of them.
    static constexpr std::uint32_t kind_tied = [] {
        std::uint32_t mask = 0;
        for (std::size_t k = 0; k < keyword_table.size(); ++k)
            if (keyword_table[k].reader != KeywordReader::any) mask |= 1u << k;
        return mask;
    }();
    if (item.is_known && (words.present & kind_tied) != 0)
        for (std::size_t k = 0; k < keyword_table.size(); ++k)
            if ((words.present >> k & 1u) != 0 && !reads(keyword_table[k].reader, item.flags, item.is_generator))
                problems.emplace_back(MessageId::unused_keyword,
                                      std::string(keyword_table[k].text) + " does nothing for " + quoted(item.id) +
                                          ", whose object " + quoted(item.object_name) + " does not read it",
                                      keyword_at(line, scan, k));
    if (!words.has(keyword_index("TARGET=(")) || !scan.has(scanned("NULL"))) return;
    const auto targets = paren_value_at(line, scan.first(scanned("TARGET=(")), "TARGET=(");
    // A list of more than the one word NULL loses its other targets too.
    if (targets && contains(*targets, "NULL") && *targets != "NULL")
        problems.emplace_back(MessageId::null_target,
                              "NULL in TARGET=(" + std::string(*targets) + ") withdraws every target of the list",
                              targets->substr(targets->find("NULL")));
}

} // namespace

void check_item_words(const std::string& line, const LeadingTokens& tokens, const KeywordScan& scan, const Item& item,
                      Problems& problems, WordCheckMemory& memory)
{
    const LineWords words = scan_keyword_words(line, scan, after_leading_tokens(line, tokens), problems);
    check_placement(tokens, item, problems);
    check_closed_lists(line, scan, words, problems);
    check_misplaced_keywords(line, tokens, scan, words, item, problems, memory);
}
