#include "behaviour/word_checks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "behaviour/keywords.h"
#include "store/hash.h"
#include "text/chars.h"
#include "text/comma_list.h"
#include "text/trim.h"
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

// The word of the list that the text is near, or an empty view: the same word in another letter
// case before any other.
template <typename Words>
std::string_view near_one_of(std::string_view text, const Words& words)
{
    for (std::string_view word : words)
        if (equals_but_case(text, word)) return word;
    for (std::string_view word : words)
        if (is_near(text, word)) return word;
    return {};
}

// The keywords of the table as their texts, for near_one_of.
constexpr auto keyword_texts = [] {
    std::array<std::string_view, keyword_table.size()> texts{};
    std::transform(keyword_table.begin(), keyword_table.end(), texts.begin(), [](const Keyword& k) { return k.text; });
    return texts;
}();

// The keywords that stand alone, without a value, as whole words of a line (STATE: aside, whose
// word is read with the ":" keywords), and a mask of their lengths (bit n for a length n).
struct FlagKeywords {
    std::array<std::string_view, keyword_table.size()> texts{};
    std::size_t count = 0;
    std::uint32_t lengths = 0;
};
constexpr FlagKeywords flag_keywords = [] {
    FlagKeywords flags;
    for (const Keyword& keyword : keyword_table)
        if (is_flag_keyword(keyword)) {
            flags.texts[flags.count++] = keyword.text;
            if (keyword.text.size() >= 32) throw "a flag keyword longer than the mask of lengths";
            flags.lengths |= 1u << keyword.text.size();
        }
    return flags;
}();

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

// The message of a word that is no keyword but near one (or one in another letter case).
void report_near_keyword(std::string_view word, std::string_view near, Problems& problems)
{
    problems.emplace_back(MessageId::near_keyword,
                          "the word " + quoted(word) + " is no keyword; " + quoted(near) + " is meant? It is passed over",
                          word);
}

// Tells whether places of a line, asked in increasing order, lie inside a value of the line: after
// a "=(" up to the ")" after it, or in a sound reference after "SOUND:" up to the next "," or ")".
// Each mark of the line is read once and each search goes on where the one before found its end,
// so a line costs time in proportion to its length, however many places are asked.
class ValueSpans {
public:
    ValueSpans(std::string_view line, const KeywordScan& scan) : line_(line), marks_(scan.marks()) {}

    bool holds(std::size_t position)
    {
        for (; next_ < marks_.size() && marks_[next_] < position; ++next_) {
            const std::size_t mark = marks_[next_];
            std::size_t end = 0;
            if (line_[mark] == '=') end = next_end(close_, ")", mark + 2);
            else if (mark >= 5 && line_.substr(mark - 5, 6) == "SOUND:") end = next_end(sound_end_, ",)", mark);
            else continue;
            reach_ = std::max(reach_, end);
            any_ = true;
        }
        return any_ && reach_ >= position;
    }

private:
    // A found end: where the search began and what it found (the line's size for none).
    struct Found {
        std::size_t from = 0;
        std::size_t at = 0;
        bool known = false;
    };
    // The first of the end bytes at or after `from`, the line's size for none; the last search
    // answers while it began before `from` and found its end at or after it.
    std::size_t next_end(Found& found, std::string_view enders, std::size_t from)
    {
        if (!found.known || found.from > from || found.at < from)
            found = {from, std::min(line_.find_first_of(enders, from), line_.size()), true};
        return found.at;
    }

    std::string_view line_;
    const std::vector<std::size_t>& marks_;
    std::size_t next_ = 0;
    // The furthest end of the values begun so far, if any.
    std::size_t reach_ = 0;
    bool any_ = false;
    Found close_;
    Found sound_end_;
};

// What the scan of a line's words found: which keywords of keyword form stand after its first
// five tokens (bit k for keyword_table[k]), and where its TEXT=( value lies; which keywords stand
// there as whole words twice, with the places of their first two whole words.
struct LineWords {
    std::uint32_t present = 0;
    Range text;
    std::uint32_t whole = 0;
    std::uint32_t twice = 0;
    // Read only for the keywords of `whole` and `twice`, so left as they are until written.
    std::array<std::size_t, keyword_table.size()> first_whole;
    std::array<std::size_t, keyword_table.size()> second_whole;
    bool has(std::size_t keyword) const { return (present >> keyword & 1u) != 0; }
};

// A word of keyword form with small letters: reported, outside the line's values, when it is a
// keyword but for letter case or near one, unless a keyword in capitals ends it (which is read as
// it would be after any other byte). True when reported.
bool reported_small_word(ValueSpans& values, std::size_t start, std::string_view word, Problems& problems)
{
    if (std::any_of(keyword_table.begin(), keyword_table.end(),
                    [&](const Keyword& keyword) { return word.ends_with(keyword.text); }) ||
        values.holds(start))
        return false;
    const std::string_view near = near_one_of(word, keyword_texts);
    if (near.empty()) return false;
    report_near_keyword(word, near, problems);
    return true;
}

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
    ValueSpans values(line, scan);
    for (const std::size_t mark : scan.marks()) {
        if (mark < word_from) continue;
        const bool colon = line[mark] == ':';
        std::size_t start = mark;
        while (start > word_from && is_keyword_byte(line[start - 1])) --start;
        // The word may go on before its capitals, in small letters.
        std::size_t wide = start;
        while (wide > word_from && is_name_part(line[wide - 1])) --wide;
        const std::size_t end = colon ? mark + 1 : mark + 2;
        if (wide < start && reported_small_word(values, wide, rest.substr(wide, end - wide), problems)) continue;
        if (start == mark) continue;
        const std::string_view word = rest.substr(start, end - start);
        if (const Keyword* known = keyword_named(word)) {
            note(*known);
            const std::size_t k = static_cast<std::size_t>(known - keyword_table.data());
            const std::uint32_t bit = 1u << k;
            if ((words.whole & bit) == 0) {
                words.whole |= bit;
                words.first_whole[k] = start;
            } else if ((words.twice & bit) == 0) {
                words.twice |= bit;
                words.second_whole[k] = start;
            }
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
        if (const std::string_view near = near_one_of(word, keyword_texts); !near.empty())
            report_near_keyword(word, near, problems);
    }
    return words;
}

// A sixth token near a placement word without being one: the object stands at CENTER.
void check_placement(const LeadingTokens& tokens, const Item& item, Problems& problems)
{
    if (tokens.count < 6 || item.level == -1 || item.is(ObjectFlag::pit_statement)) return;
    const std::string_view word = tokens.tokens[5];
    if (std::find(placement_checked.begin(), placement_checked.end(), word) != placement_checked.end()) return;
    // Another word places the object at CENTER, as this one says in any letter case.
    if (equals_but_case(word, default_placement)) return;
    if (const std::string_view near = near_one_of(word, placement_checked); !near.empty())
        problems.emplace_back(MessageId::placement,
                              "the placement " + quoted(word) + " is not a placement word (" + quoted(near) +
                                  " is meant?); the object stands at CENTER",
                              word);
}

// The word of the list that a state or rotation value means: one of them but for letter case or
// blanks around it, or (for a list whose words are found inside the value) standing in it in
// another letter case, before one it is near; empty for none.
template <std::size_t N>
std::string_view meant_one_of(std::string_view value, const std::array<std::string_view, N>& words, bool found_inside)
{
    const std::string_view word = trimmed(value);
    for (std::string_view known : words)
        if (equals_but_case(word, known)) return known;
    if (found_inside)
        for (std::string_view known : words)
            if (contains_but_case(word, known)) return known;
    return near_one_of(value, words);
}

// A STATE=( word that is no state as it stands, and a ROTATE: value in which no word of its list
// stands, but which mean one of them: either does nothing. A rotation beside a destination that
// means none of them is reported as well.
void check_closed_lists(const std::string& line, const KeywordScan& scan, const LineWords& words, Problems& problems)
{
    if (!words.has(keyword_index("STATE=(")) && !words.has(keyword_index("ROTATE:"))) return;
    if (const auto state = state_word_of(line, scan);
        state && std::find(state_checked.begin(), state_checked.end(), *state) == state_checked.end()) {
        // A word that holds a state (CLOSED_FOR_GOOD) may be a state of the engine's own.
        const std::string_view meant = holds_one_of(*state, state_checked) && trimmed(*state) == *state
                                           ? std::string_view()
                                           : meant_one_of(*state, state_checked, false);
        if (!meant.empty())
            problems.emplace_back(MessageId::state,
                                  "the state " + quoted(*state) + " is no state the converter knows (" +
                                      quoted(meant) + " is meant?); it does nothing",
                                  *state);
    }
    const auto rotation = colon_value_at(line, scan.first(scanned("ROTATE:")), ")");
    if (!rotation || holds_one_of(*rotation, rotation_checked)) return;
    if (const std::string_view meant = meant_one_of(*rotation, rotation_checked, true); !meant.empty())
        problems.emplace_back(MessageId::rotation,
                              "the rotation " + quoted(*rotation) + " names no facing or turn (" + quoted(meant) +
                                  " is meant?); the object does not turn",
                              *rotation);
    else if (words.has(keyword_index("DESTINATION=(")))
        problems.emplace_back(MessageId::rotation,
                              "the rotation " + quoted(*rotation) + " names no facing or turn; the object does not turn",
                              *rotation);
}

// A flag keyword written as a whole word in another letter case (toggle, Toggle), after the first
// five tokens and outside the line's values. Only the places where the scan saw a flag's first
// two letters, not both capitals, can begin one.
void check_flag_words(const std::string& line, const LeadingTokens& tokens, const KeywordScan& scan,
                      Problems& problems)
{
    if (tokens.count < 6 || scan.flag_starts().empty()) return;
    const std::string_view rest(line);
    const std::size_t from = static_cast<std::size_t>(tokens.tokens[5].data() - line.data());
    ValueSpans values(line, scan);
    for (const std::size_t start : scan.flag_starts()) {
        if (start < from || (start > from && !is_space_or_tab(rest[start - 1]))) continue;
        std::size_t end = start;
        while (end < rest.size() && end - start < 32 && !is_space_or_tab(rest[end])) ++end;
        const std::string_view token = rest.substr(start, end - start);
        if (token.size() >= 32 || (flag_keywords.lengths >> token.size() & 1u) == 0) continue;
        for (std::size_t f = 0; f < flag_keywords.count; ++f) {
            const std::string_view flag = flag_keywords.texts[f];
            if (flag.size() != token.size() || !equals_but_case(token, flag)) continue;
            if (token != flag && !values.holds(start)) report_near_keyword(token, flag, problems);
            break;
        }
    }
}

// The words of OPBY=( that say who operates the object, in another letter case: looked up as
// object types, or passed over.
void check_operator_words(const std::string& line, const KeywordScan& scan, const LineWords& words,
                          Problems& problems)
{
    if (!words.has(keyword_index("OPBY=("))) return;
    const auto list = paren_value_at(line, scan.first(scanned("OPBY=(")), "OPBY=(");
    if (!list) return;
    for_each_comma_part(*list, [&](std::string_view part) {
        const std::string_view word = trimmed(part);
        for (const OperatorWord& known : operator_words)
            if (word != known.word && equals_but_case(word, known.word)) {
                problems.emplace_back(MessageId::operator_case,
                                      "the word " + quoted(word) + " in OPBY=( is no word of who operates the object; " +
                                          quoted(known.word) + " is meant? It is read as an object type",
                                      word);
                return;
            }
    });
}

// Two whole words of one keyword with other values: the converter reads one of them.
void check_keywords_twice(const std::string& line, const KeywordScan& scan, const LineWords& words,
                          Problems& problems)
{
    if (words.twice == 0) return;
    for (std::size_t k = 0; k < keyword_table.size(); ++k) {
        if ((words.twice >> k & 1u) == 0) continue;
        const Keyword& keyword = keyword_table[k];
        // A flag has no value, and ACTION=( counts only as ACTION=(DESTROY), wherever it stands.
        if (keyword.form == ValueForm::bare || keyword.text == "ACTION=(") continue;
        // The one read is the first only when the keyword's first place is the first whole word.
        if (scan.first(k) != words.first_whole[k]) continue;
        const auto value_at = [&](std::size_t at) {
            if (keyword.text.ends_with("=(")) return trimmed(*paren_value_at(line, at, keyword.text));
            return trimmed(*colon_value_at(line, at, keyword.form == ValueForm::colon_to_paren ? ")" : ",)"));
        };
        const std::string_view first = value_at(words.first_whole[k]);
        const std::string_view second = value_at(words.second_whole[k]);
        if (first == second) continue;
        std::string read = "the first, " + quoted(first) + ", is read";
        if (keyword.text == "TYPE=(" && (first == "DOUBLE" || second == "DOUBLE")) continue;
        if (keyword.text == "SOUND:" && scan.has(scanned("SOUND:NULL")))
            read = "SOUND:NULL is read wherever it stands: the object has no sound";
        if (keyword.text == "STATE=(") {
            const auto state = state_word_of(line, scan);
            if (!state || trimmed(*state) != first) continue;
        }
        problems.emplace_back(MessageId::keyword_twice,
                              std::string(keyword.text) + " stands twice on the line, with the values " +
                                  quoted(first) + " and " + quoted(second) + "; " + read,
                              std::string_view(line).substr(words.second_whole[k], keyword.text.size()));
    }
}

// Two of the messages on one line: the later in the order they are read wins.
void report_messages(const std::string& line, const KeywordScan& scan, Problems& problems)
{
    static constexpr std::array<std::size_t, 4> messages = {scanned("ACTIVATE"), scanned("DEACTIVATE"),
                                                            scanned("TOGGLE"), scanned("ACTION=(DESTROY)")};
    std::array<bool, 4> found = {scan.has(messages[0]), scan.has(messages[1]), scan.has(messages[2]),
                                 scan.has(messages[3])};
    std::size_t count = std::size_t{found[0]} + found[1] + found[2] + found[3];
    if (count < 2) return;
    // ACTIVATE counts only where it stands outside a DEACTIVATE (which holds it).
    if (found[0] && found[1]) {
        bool alone = false;
        for (std::size_t at = scan.first(messages[0]); at != std::string::npos && !alone; at = line.find("ACTIVATE", at + 1))
            alone = at < 2 || line.compare(at - 2, 2, "DE") != 0;
        if (!alone) {
            found[0] = false;
            --count;
        }
    }
    if (count < 2) return;
    std::string named;
    std::size_t winner = 0;
    std::size_t listed = 0;
    for (std::size_t m = 0; m < messages.size(); ++m) {
        if (!found[m]) continue;
        if (listed > 0) named += ++listed == count ? " and " : ", ";
        else listed = 1;
        named += scanned_texts[messages[m]];
        winner = m;
    }
    const std::string_view wins = scanned_texts[messages[winner]];
    problems.emplace_back(MessageId::message_conflict,
                          "the line holds " + named + "; " + std::string(wins) +
                              ", the later of them in the order ACTIVATE, DEACTIVATE, TOGGLE, ACTION=(DESTROY), wins",
                          std::string_view(line).substr(scan.first(messages[winner]), wins.size()));
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
    check_flag_words(line, tokens, scan, problems);
    check_operator_words(line, scan, words, problems);
    check_keywords_twice(line, scan, words, problems);
    report_messages(line, scan, problems);
    check_misplaced_keywords(line, tokens, scan, words, item, problems, memory);
}
