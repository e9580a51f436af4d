#pragma once
// One left-to-right pass over an item line that finds where each text the line's readers look
// for first stands, so that no reader searches the line itself.

#include <array>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <string_view>
#include <vector>

#include "vocabulary/keyword_table.h"
#include "vocabulary/word_lists.h"

// Every text that a reader looks for anywhere in the line: the keywords of the table, in its
// order, then the longer and shorter forms that some readers ask for (extra_forms).
inline constexpr std::array<std::string_view, keyword_table.size() + extra_forms.size()> scanned_texts = [] {
    std::array<std::string_view, keyword_table.size() + extra_forms.size()> texts{};
    std::size_t k = 0;
    for (const Keyword& keyword : keyword_table) texts[k++] = keyword.text;
    for (std::string_view extra : extra_forms) texts[k++] = extra;
    return texts;
}();

// The place of a text in scanned_texts (worked out when compiled, so a misspelt text does not build).
consteval std::size_t scanned(std::string_view text)
{
    for (std::size_t k = 0; k < scanned_texts.size(); ++k)
        if (scanned_texts[k] == text) return k;
    throw "not a scanned text";
}

// Where each scanned text first stands in one line: the same answer as line.find(text), for all
// of them at once. A text counts wherever it stands, inside another word or value too. The same
// pass notes where the line's words of keyword form can end: every ":" and every "=" before a
// "(", for the checks of those words. One scan can be reused line after line (its list of
// places keeps its room).
class KeywordScan {
public:
    KeywordScan() { first_.fill(std::string_view::npos); }
    explicit KeywordScan(std::string_view line) { read(line); }

    // Scans the line, forgetting the line before.
    void read(std::string_view line);

    // The position of the first occurrence of scanned_texts[text]; npos when the line lacks it.
    std::size_t first(std::size_t text) const { return first_[text]; }
    // True when the line holds scanned_texts[text].
    bool has(std::size_t text) const { return first_[text] != std::string_view::npos; }
    // The positions of the line's ":" and of its "=" followed by "(", in order.
    const std::vector<std::size_t>& marks() const { return marks_; }
    // The positions, in order, where a flag keyword (is_flag_keyword) in another letter case may
    // begin: wherever its first two letters stand, not both capitals (toggle, Toggle, tOGGLE).
    const std::vector<std::size_t>& flag_starts() const { return flag_starts_; }

private:
    std::array<std::size_t, scanned_texts.size()> first_;
    std::vector<std::size_t> marks_;
    std::vector<std::size_t> flag_starts_;
};

// The keyword of the table that the word is, whole; null when it is none.
const Keyword* keyword_named(std::string_view word);

// Calls visit(context, keyword, position) with every keyword of the table at every position of
// the text where it stands: in the order of the positions, and at one position in the order of
// the table.
using KeywordVisit = void (*)(void* context, const Keyword& keyword, std::size_t position);
void for_each_keyword_in(std::string_view text, KeywordVisit visit, void* context);

// The same with any callable visit(keyword, position), passed on without a copy of it (a
// std::function would make one, on the heap, for each text).
template <typename Visit>
void for_each_keyword_in(std::string_view text, Visit&& visit)
{
    using Callable = std::remove_reference_t<Visit>;
    for_each_keyword_in(
        text,
        [](void* context, const Keyword& keyword, std::size_t position) {
            (*static_cast<Callable*>(context))(keyword, position);
        },
        const_cast<void*>(static_cast<const void*>(std::addressof(visit))));
}
