#include "text/near.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace {

constexpr std::size_t most_edits = 2;

// The edit distance of the two words, letter case aside. The caller keeps the words short: their
// lengths differ by at most most_edits and one of them is a known word.
std::size_t distance(std::string_view a, std::string_view b)
{
    // One row of the table; known words are short, so it mostly stands on the stack.
    std::array<std::size_t, 64> small{};
    std::vector<std::size_t> large;
    if (b.size() >= small.size()) large.resize(b.size() + 1);
    std::size_t* row = large.empty() ? small.data() : large.data();
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t changed = diagonal + (capital_of(a[i - 1]) == capital_of(b[j - 1]) ? 0 : 1);
            row[j] = std::min({changed, above + 1, row[j - 1] + 1});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

bool is_near(std::string_view word, std::string_view known)
{
    // A word much longer or shorter than the known one is more edits away than counted here.
    if (word == known || word.size() > known.size() + most_edits || known.size() > word.size() + most_edits)
        return false;
    return distance(word, known) <= most_edits;
}

bool contains_but_case(std::string_view text, std::string_view known)
{
    for (std::size_t at = 0; at + known.size() <= text.size(); ++at)
        if (equals_but_case(text.substr(at, known.size()), known)) return true;
    return false;
}
