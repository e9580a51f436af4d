#include "text/fields.h"

#include "text/chars.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

void FieldReader::skip_blanks()
{
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

bool FieldReader::read_int(int& value)
{
    if (failed_) return false;
    skip_blanks();
    std::size_t start = pos_;
    std::size_t i = pos_;
    if (i < text_.size() && (text_[i] == '-' || text_[i] == '+')) ++i;
    std::size_t digits = i;
    while (i < text_.size() && is_digit(text_[i])) ++i;
    if (i == digits) return fail();
    long long result = 0;
    for (std::size_t k = digits; k < i; ++k) {
        result = result * 10 + (text_[k] - '0');
        if (result > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return fail();
    }
    if (text_[start] == '-') result = -result;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return fail();
    value = static_cast<int>(result);
    pos_ = i;
    return true;
}

bool FieldReader::read_real(double& value)
{
    if (failed_) return false;
    skip_blanks();
    std::size_t i = pos_;
    if (i < text_.size() && (text_[i] == '-' || text_[i] == '+')) ++i;
    std::size_t mantissa = i;
    while (i < text_.size() && is_digit(text_[i])) ++i;
    bool whole_digits = i > mantissa;
    bool fraction_digits = false;
    if (i < text_.size() && text_[i] == '.') {
        std::size_t fraction = ++i;
        while (i < text_.size() && is_digit(text_[i])) ++i;
        fraction_digits = i > fraction;
    }
    if (!whole_digits && !fraction_digits) return fail();
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text_.size() && (text_[e] == '-' || text_[e] == '+')) ++e;
        std::size_t exponent = e;
        while (e < text_.size() && is_digit(text_[e])) ++e;
        if (e > exponent) i = e;
    }
    std::string number(text_.substr(pos_, i - pos_));
    value = std::strtod(number.c_str(), nullptr);
    pos_ = i;
    return true;
}

bool FieldReader::read_separator()
{
    if (failed_) return false;
    skip_blanks();
    if (pos_ >= text_.size()) return fail();
    ++pos_;
    return true;
}

bool FieldReader::read_word(std::string& word)
{
    if (failed_) return false;
    skip_blanks();
    std::size_t start = pos_;
    while (pos_ < text_.size() && !is_blank(text_[pos_])) ++pos_;
    if (pos_ == start) return fail();
    word.assign(text_.substr(start, pos_ - start));
    return true;
}

bool FieldReader::skip_past(char c)
{
    if (failed_) return false;
    std::size_t found = text_.find(c, pos_);
    if (found == std::string_view::npos) {
        pos_ = text_.size();
        return fail();
    }
    pos_ = found + 1;
    return true;
}

std::optional<std::string> first_parenthesised(std::string_view line)
{
    std::size_t open = line.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    std::size_t close = line.find(')', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(line.substr(open + 1, close - open - 1));
}

bool read_whole_int(std::string_view text, int& value)
{
    // The usual case, a sign and at most nine digits, cannot leave the range of int.
    const std::size_t first = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (text.size() > first && text.size() - first <= 9 &&
        std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first), text.end(), is_digit)) {
        int result = 0;
        for (std::size_t i = first; i < text.size(); ++i) result = result * 10 + (text[i] - '0');
        value = text[0] == '-' ? -result : result;
        return true;
    }
    FieldReader reader(text);
    if (text.empty() || is_blank(text.front())) return false;
    return reader.read_int(value) && reader.position() == text.size();
}
