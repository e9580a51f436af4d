#pragma once
// The object name list: which target engine object stands for each dump object type.

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The pairs of "obj_list.txt", read once: white-space separated tokens taken two at a time,
// dump type then target object name.
class ObjectList {
public:
    // Reads every pair of the list; the first pair of a type wins, a token without a partner is dropped.
    static ObjectList read(std::istream& in);

    // The target object name of a dump type word; none when the list has no pair for the word or
    // pairs it with "X_UNKNOWN".
    std::optional<std::string> lookup(std::string_view word) const;
    // The same without a copy: the name in the list, or null.
    const std::string* find(std::string_view word) const;

    // True when the list has a pair for the word at all, "X_UNKNOWN" included.
    bool names_type(std::string_view word) const { return names_.contains(word); }

    // Adds a pair as if it stood at the end of the list (the first pair of a type still wins).
    void add(const std::string& type, const std::string& name);

private:
    // Hashes texts and views alike, so that a view of a word finds its pair without a copy.
    struct WordHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view word) const { return std::hash<std::string_view>{}(word); }
    };
    std::unordered_map<std::string, std::string, WordHash, std::equal_to<>> names_;
};
