#include "text/normalise.h"

#include <cstring>

#include "store/hash.h"
#include "text/byte_words.h"

std::string force_us(std::string_view text)
{
    std::string result;
    append_force_us(result, text);
    return result;
}

namespace {

// Eight bytes of an identifier without blanks as its variable has them: "-" becomes "_".
constexpr std::uint64_t variable_word(std::uint64_t word)
{
    return word + (bytes_equal(word, '-') >> 7) * static_cast<std::uint64_t>('_' - '-');
}

} // namespace

void append_force_us(std::string& out, std::string_view text)
{
    // Written through a pointer into room made once, not byte by byte through the string's
    // checks of its room: identifiers are normalised for nearly every statement. Eight bytes
    // without a blank, the usual case, are written as one word.
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* next = out.data() + start;
    std::size_t i = 0;
    for (; text.size() - i >= 8; i += 8) {
        const std::uint64_t word = word_at(text.data() + i);
        if (bytes_equal(word, ' ') != 0) break;
        const std::uint64_t variable = variable_word(word);
        std::memcpy(next, &variable, sizeof variable);
        next += 8;
    }
    for (; i < text.size(); ++i)
        if (!is_dropped_in_variable(text[i])) *next++ = variable_byte(text[i]);
    out.resize(static_cast<std::size_t>(next - out.data()));
}

bool same_variable(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (true) {
        while (i < a.size() && is_dropped_in_variable(a[i])) ++i;
        while (j < b.size() && is_dropped_in_variable(b[j])) ++j;
        if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
        if (variable_byte(a[i]) != variable_byte(b[j])) return false;
        ++i;
        ++j;
    }
}

namespace {

// The hash of the variable, made as text: for identifiers with blanks, which the variable drops.
std::uint64_t dropped_variable_hash(std::string_view id)
{
    // A usual identifier's variable is made on the stack, without an allocation.
    char bytes[64];
    if (id.size() > sizeof bytes) return text_hash(force_us(id));
    std::size_t size = 0;
    for (char c : id)
        if (!is_dropped_in_variable(c)) bytes[size++] = variable_byte(c);
    return text_hash(std::string_view(bytes, size));
}

} // namespace

std::uint64_t variable_hash(std::string_view id)
{
    // An identifier without blanks (every one the dump gives an object) keeps its length in its
    // variable: its words are hashed as text_hash hashes them, each with "-" turned into "_" at once.
    const std::size_t size = id.size();
    if (size == 0) return text_hash(id);
    std::uint64_t hash = hash_start(0, size);
    std::size_t i = 0;
    for (; size - i > 8; i += 8) {
        const std::uint64_t word = word_at(id.data() + i);
        if (bytes_equal(word, ' ') != 0) return dropped_variable_hash(id);
        hash = hash_mixed(hash, variable_word(word));
    }
    const std::uint64_t last = short_word(id.data() + i, size - i, size - i);
    if (bytes_equal(last, ' ') != 0) return dropped_variable_hash(id);
    return spread(hash_mixed(hash, variable_word(last)));
}

std::string force_lc(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return result;
}
