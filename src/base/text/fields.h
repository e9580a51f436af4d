#pragma once
// Reading numbers and words from a text field by field, the way the dump writes its values:
// blanks before each item skipped, one separator character between two numbers.

#include <optional>
#include <string>
#include <string_view>

// A cursor over one text that reads integers, reals, separators and words in turn. Every read
// that fails leaves the reader failed; reads never go past the end of the text.
class FieldReader {
public:
    explicit FieldReader(std::string_view text, std::size_t start = 0) : text_(text), pos_(start) {}

    // Reads an optional sign and at least one digit into value; fails on no digit or on overflow.
    bool read_int(int& value);
    // Reads a decimal real (sign, digits, fraction, exponent) into value.
    bool read_real(double& value);
    // Reads one non-blank character, the separator between two numbers.
    bool read_separator();
    // Reads the characters up to the next blank or the end; fails when nothing is left.
    bool read_word(std::string& word);
    // Discards everything up to and including the next occurrence of c; fails when there is none.
    bool skip_past(char c);

    bool failed() const { return failed_; }
    std::size_t position() const { return pos_; }

private:
    void skip_blanks();
    bool fail() { failed_ = true; return false; }

    std::string_view text_;
    std::size_t pos_;
    bool failed_ = false;
};

// True for the bytes that the dump's readers treat as white space.
inline bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text strictly between the first "(" of the line and the first ")" after it; none when the
// line lacks either.
std::optional<std::string> first_parenthesised(std::string_view line);

// True when the whole text is an optional sign followed by digits and fits a 32-bit integer.
bool read_whole_int(std::string_view text, int& value);
