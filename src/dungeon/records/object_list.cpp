#include "records/object_list.h"

#include <algorithm>

#include "store/line_reader.h"
#include "text/fields.h"
#include "text/utf8.h"

namespace {

const char* const unknown_name = "X_UNKNOWN";

// A warning at a line (and the column, when about one word) of the object name list.
Problem list_warning(MessageId kind, std::string text, long line, std::size_t column = 0)
{
    Problem problem(kind, std::move(text));
    problem.line = line;
    problem.column = column;
    problem.file = ProblemFile::object_list;
    return problem;
}

// True when the list could hold the word: it is not empty and has no white space.
bool is_listable(std::string_view word)
{
    return !word.empty() && std::none_of(word.begin(), word.end(), is_blank);
}

// A word of the list, its line and its column (in bytes from 1).
struct ListWord {
    std::string text;
    long line = 0;
    std::size_t column = 0;
};

// True when the line is a comment: its first character that is no blank is "#". No type of a dump
// begins with "#".
bool is_comment_line(std::string_view line)
{
    const auto first = std::find_if_not(line.begin(), line.end(), is_blank);
    return first != line.end() && *first == '#';
}

} // namespace

ObjectList ObjectList::read(std::istream& in)
{
    ObjectList list;
    LineReader reader(in);
    std::string line;
    std::size_t words = 0;
    ListWord type;
    ListWord previous;
    // The first line that is written as whole pairs (an even number of words) but begins in the
    // middle of a pair: the sign of a word lost before it, which shifts every later pair.
    std::optional<Problem> shifted_line;
    while (reader.next(line)) {
        const long number = reader.line_number();
        if (number == 1) list.wide_encoding_ = wide_encoding_of(line);
        if (is_comment_line(line)) continue;
        std::size_t line_words = 0;
        const std::size_t first_word = words;
        std::string first_text;
        std::size_t first_column = 0;
        // The type whose name the line's first word becomes when the line begins in the middle of a pair.
        const ListWord before = !shifted_line && words % 2 == 1 ? previous : ListWord{};
        std::size_t at = 0;
        while (at < line.size()) {
            while (at < line.size() && is_blank(line[at])) ++at;
            const std::size_t start = at;
            while (at < line.size() && !is_blank(line[at])) ++at;
            if (at == start) break;
            ListWord word{line.substr(start, at - start), number, start + 1};
            if (line_words == 0) {
                first_text = word.text;
                first_column = word.column;
            }
            // Only a line that begins with "#" is a comment: elsewhere such a word shifts the pairs.
            if (word.text[0] == '#')
                list.hash_words_.push_back(list_warning(MessageId::list_hash_word, "the word " + quoted(word.text) +
                                                            " begins with \"#\" but not its line, so it is no "
                                                            "comment: it is read as a word of a pair",
                                                        number, word.column));
            ++line_words;
            if (words++ % 2 == 0) {
                type = word;
            } else {
                list.add(type.text, word.text, type.line, word.line);
                list.pairs_.back().type_column = type.column;
                list.pairs_.back().name_column = word.column;
            }
            previous = std::move(word);
        }
        if (!shifted_line && line_words > 0 && line_words % 2 == 0 && first_word % 2 == 1)
            shifted_line = list_warning(MessageId::list_odd, "the object name list has an odd number of words: " + quoted(first_text) +
                                            " at the start of this line is read as the name of " + quoted(before.text) +
                                            " (line " + std::to_string(before.line) +
                                            "), and every pair after it is shifted by one word",
                                        number, first_column);
    }
    list.last_line_ = reader.line_number();
    if (words % 2 == 1) {
        list.odd_words_ = shifted_line ? *shifted_line
                                       : list_warning(MessageId::list_last_word,
                                                      "the object name list has an odd number of words: its last word, " +
                                                          quoted(previous.text) + ", has no name and is ignored",
                                                      previous.line, previous.column);
    }
    return list;
}

void ObjectList::add(const std::string& type, const std::string& name, long type_line, long name_line)
{
    first_pair_.emplace(type, pairs_.size());
    pairs_.push_back({type, name, type_line, name_line});
    pair_looked_up_.push_back(false);
}

const std::string* ObjectList::find(std::string_view word) const
{
    auto found = first_pair_.find(word);
    note(word, found == first_pair_.end() ? std::nullopt : std::optional<std::size_t>(found->second));
    return found == first_pair_.end() ? nullptr : name_of_pair(found->second);
}

bool ObjectList::lacks(std::string_view word) const
{
    return is_listable(word) && !names_type(word);
}

const std::string* ObjectList::find_unnoted(std::string_view word) const
{
    auto found = first_pair_.find(word);
    return found == first_pair_.end() ? nullptr : name_of_pair(found->second);
}

const std::string* ObjectList::name_of_pair(std::size_t pair) const
{
    const std::string& name = pairs_[pair].name;
    return name == unknown_name ? nullptr : &name;
}

void ObjectList::note(std::string_view word, std::optional<std::size_t> pair) const
{
    if (pair) {
        if (pair_looked_up_[*pair]) return;
        pair_looked_up_[*pair] = true;
    } else {
        if (unpaired_looked_up_.find(word) != unpaired_looked_up_.end() || !is_listable(word)) return;
        unpaired_looked_up_.emplace(word);
    }
    looked_up_.emplace_back(word);
}

void ObjectList::forget_lookups() const
{
    std::fill(pair_looked_up_.begin(), pair_looked_up_.end(), false);
    unpaired_looked_up_.clear();
    looked_up_.clear();
}

bool ObjectList::was_looked_up(std::string_view word) const
{
    auto found = first_pair_.find(word);
    if (found != first_pair_.end()) return pair_looked_up_[found->second];
    return unpaired_looked_up_.find(word) != unpaired_looked_up_.end();
}

Problems ObjectList::problems() const
{
    Problems problems;
    if (!wide_encoding_.empty()) {
        problems.push_back(list_warning(MessageId::list_encoding,
                                        "the object name list is " + std::string(wide_encoding_) +
                                            " text, whose words the converter cannot read, so every object is written "
                                            "as a comment; " + std::string(wide_encoding_advice),
                                        1));
        return problems;
    }
    if (pairs_.empty() && !odd_words_ && hash_words_.empty()) {
        if (!looked_up_.empty())
            problems.push_back(
                list_warning(MessageId::list_empty, "the object name list is empty: every object of the dump is written as a comment", last_line_));
        return problems;
    }
    if (odd_words_) problems.push_back(*odd_words_);
    problems.insert(problems.end(), hash_words_.begin(), hash_words_.end());
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const ListPair& pair = pairs_[i];
        const ListPair& first = pairs_[first_pair_.find(pair.type)->second];
        if (&first != &pair && first.name != pair.name)
            problems.push_back(list_warning(MessageId::list_twice, "the type " + quoted(pair.type) + " is named again, as " + quoted(pair.name) +
                                                "; the first pair, " + quoted(first.name) + " on line " +
                                                std::to_string(first.name_line) + ", wins",
                                            pair.type_line, pair.type_column));
        if (pair.name != pair.type && was_looked_up(pair.name))
            problems.push_back(list_warning(MessageId::list_name_is_type, "the type " + quoted(pair.type) + " is named " + quoted(pair.name) +
                                                ", which is itself a type of the dump; a word may be missing before it",
                                            pair.name_line, pair.name_column));
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    return problems;
}

std::string looked_up_pairs_text(const ObjectList& list)
{
    std::string text;
    for (const std::string& word : list.looked_up()) {
        const std::string* name = list.find_unnoted(word);
        text += word;
        text += ' ';
        text += name ? *name : unknown_name;
        text += '\n';
    }
    return text;
}
