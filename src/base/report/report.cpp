#include "report/report.h"

#include "text/lua_text.h"
#include "text/utf8.h"

Problem warning(std::string text)
{
    return Problem(std::move(text), Severity::warning);
}

std::ostream& operator<<(std::ostream& out, const Problem& problem)
{
    return out << (problem.severity == Severity::error ? "error: " : "warning: ") << problem.message;
}

namespace {
// Printed lines are passed to the sink in pieces of about this size.
constexpr std::size_t printed_piece = std::size_t{1} << 16;

// Appends the printed form of one problem: "my_dungeon.txt:LINE: error: what is wrong".
void append_line(std::string& out, const std::string& dump_name, long line, Severity severity,
                 const std::string& message)
{
    out += dump_name;
    out += ':';
    out += std::to_string(line);
    out += severity == Severity::error ? ": error: " : ": warning: ";
    out += message;
}
} // namespace

void Report::add(long line, const Problem& problem)
{
    if (problem.severity == Severity::error) ++errors_;
    else ++warnings_;
    if (keep_entries_) entries_.emplace_back(problem.message, problem.severity, line, problem.file);
    if (!sink_) return;
    append_line(printed_, name_of(problem.file), line, problem.severity, problem.message);
    printed_ += '\n';
    if (printed_.size() >= printed_piece) flush_printed();
}

void Report::print_to(std::ostream& sink, bool keep_entries)
{
    sink_ = &sink;
    keep_entries_ = keep_entries;
}

void Report::flush_printed()
{
    if (sink_ && !printed_.empty()) sink_->write(printed_.data(), static_cast<std::streamsize>(printed_.size()));
    printed_.clear();
}

void Report::add_all(long line, const Problems& problems)
{
    for (const auto& problem : problems) add(line, problem);
}

std::string printed_line(const std::string& file_name, const Problem& problem)
{
    std::string text;
    append_line(text, file_name, problem.line, problem.severity, problem.message);
    return text;
}

std::string program_line(std::string_view message)
{
    std::string text = "dungeon2lua: ";
    text += message;
    text += '\n';
    return text;
}

std::string Report::line_of(const Problem& entry) const
{
    return printed_line(name_of(entry.file), entry);
}

std::vector<std::string> Report::lines() const
{
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const auto& entry : entries_) result.push_back(line_of(entry));
    return result;
}

namespace {
// Appends a byte as \xNN.
void append_hex_escape(std::string& out, unsigned char byte)
{
    static const char hex_digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += hex_digits[byte >> 4];
    out += hex_digits[byte & 15u];
}
} // namespace

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t ascii_end = i;
        while (ascii_end < text.size() && static_cast<unsigned char>(text[ascii_end]) < 0x80) ++ascii_end;
        if (ascii_end > i) {
            out += lua_escape(text.substr(i, ascii_end - i));
            i = ascii_end;
            continue;
        }
        const std::size_t length = utf8_sequence_length(text.substr(i));
        // The control characters U+0080 to U+009F (C2 80 to C2 9F) are escaped byte by byte, as
        // the other control bytes are: a terminal may act on them.
        const bool control = length == 2 && static_cast<unsigned char>(text[i]) == 0xc2 &&
                             static_cast<unsigned char>(text[i + 1]) < 0xa0;
        if (length == 0 || control) {
            const std::size_t count = control ? 2 : 1;
            for (std::size_t k = 0; k < count; ++k) append_hex_escape(out, static_cast<unsigned char>(text[i + k]));
            i += count;
            continue;
        }
        out.append(text.substr(i, length));
        i += length;
    }
    out += '"';
    return out;
}
