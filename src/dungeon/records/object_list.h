#pragma once
// The object name list: which target engine object stands for each dump object type, which
// words a conversion looked up in it, and what in the list looks like an author's mistake.

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "report/report.h"
#include "store/hash.h"

// One pair of the list as written: a dump type, its target object name and the lines of both
// words (a pair may stand on two lines).
struct ListPair {
    std::string type;
    std::string name;
    long type_line = 0;
    long name_line = 0;
    std::size_t type_column = 0;
    std::size_t name_column = 0;
};

// The pairs of "obj_list.txt", read once: white-space separated words taken two at a time,
// dump type then target object name, whatever the lines; a line whose first character that is no
// blank is "#" is a comment. Looking a word up notes it, so that
// after a conversion the list knows which words the dump needs from it, in order of first use.
class ObjectList {
public:
    // Reads every pair of the list; the first pair of a type wins, a word without a partner is
    // dropped. A byte-order mark at the start is skipped.
    static ObjectList read(std::istream& in);

    // The target object name of a dump type word, as it stands in the list; null when the list has
    // no pair for the word or pairs it with "X_UNKNOWN". Notes the word as looked up.
    const std::string* find(std::string_view word) const;
    // The name as find() gives it, without noting the word: for words of the dump that are no
    // object type.
    const std::string* find_unnoted(std::string_view word) const;

    // True when the list has a pair for the word at all, "X_UNKNOWN" included.
    bool names_type(std::string_view word) const { return first_pair_.contains(word); }
    // True when a lookup notes the word as one the list lacks: a word the list could hold that has
    // no pair (what --list-types lists as "X_UNKNOWN").
    bool lacks(std::string_view word) const;

    // Adds a pair as if it stood at the end of the list (the first pair of a type still wins).
    void add(const std::string& type, const std::string& name, long type_line = 0, long name_line = 0);

    // Forgets which words were looked up, before a conversion notes its own.
    void forget_lookups() const;
    // The words looked up since, each once, in order of first use; only words that the list
    // could hold (not empty, without white space).
    const std::vector<std::string>& looked_up() const { return looked_up_; }
    // True when the word was looked up since.
    bool was_looked_up(std::string_view word) const;

    // The pairs in the order written, later pairs of a type included.
    const std::vector<ListPair>& pairs() const { return pairs_; }
    // True when the list has an odd number of words, so that a pair appended would pair up one word off.
    bool has_odd_words() const { return odd_words_.has_value(); }
    // "UTF-16" or "UTF-32" when the list is written so, whose words cannot be read; empty otherwise.
    std::string_view wide_encoding() const { return wide_encoding_; }

    // What in the list looks like a mistake, by what the conversion looked up in it: an odd
    // number of words, a word beginning with "#" inside a line, a type named again with another
    // name, a name that is itself a type the dump looks up, an empty list that the dump needs, a
    // list in a wide encoding. At the list's lines, in line order: errors where later pairs are
    // shifted or the list cannot be used at all, warnings otherwise. A list in a wide encoding has
    // that one problem.
    Problems problems() const;

    // False when the list as a whole cannot serve the conversion: it is in a wide encoding, or it
    // is empty while the dump looked words up in it.
    bool usable() const { return wide_encoding_.empty() && !(pairs_.empty() && !odd_words_ && !looked_up_.empty()); }

private:
    // Hashes texts and views alike, so that a view of a word finds its pair without a copy.
    struct WordHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view word) const { return static_cast<std::size_t>(text_hash(word)); }
    };

    // The name of a pair as lookups give it: null for "X_UNKNOWN".
    const std::string* name_of_pair(std::size_t pair) const;
    // Notes a word as looked up, once; `pair` is the index of its first pair, or none.
    void note(std::string_view word, std::optional<std::size_t> pair) const;

    std::vector<ListPair> pairs_;
    // The first pair of each type, by index into pairs_.
    std::unordered_map<std::string, std::size_t, WordHash, std::equal_to<>> first_pair_;
    // The list's last line, and its odd-word warning when it has an odd number of words.
    long last_line_ = 0;
    std::optional<Problem> odd_words_;
    // "UTF-16" or "UTF-32" when the list is written so; empty otherwise.
    std::string_view wide_encoding_;
    // The words that begin with "#" without beginning their line.
    Problems hash_words_;

    // The lookups since forget_lookups(): per pair whether its type was looked up, the looked-up
    // words the list has no pair for, and every looked-up word in order.
    mutable std::vector<bool> pair_looked_up_;
    mutable std::unordered_set<std::string, WordHash, std::equal_to<>> unpaired_looked_up_;
    mutable std::vector<std::string> looked_up_;
};

// The pairs that an author starts or completes a list from: one line "TYPE NAME" per word the
// dump looked up, in order of first use, with the list's name or "X_UNKNOWN" where it has none.
std::string looked_up_pairs_text(const ObjectList& list);
