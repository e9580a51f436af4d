#include "report/report.h"

#include "text/lua_text.h"

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
    if (keep_entries_) entries_.emplace_back(problem.message, problem.severity, line);
    if (!sink_) return;
    append_line(printed_, dump_name_, line, problem.severity, problem.message);
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

std::string Report::line_of(const Problem& entry) const
{
    std::string text;
    append_line(text, dump_name_, entry.line, entry.severity, entry.message);
    return text;
}

std::vector<std::string> Report::lines() const
{
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const auto& entry : entries_) result.push_back(line_of(entry));
    return result;
}

std::string quoted(std::string_view text)
{
    return "\"" + lua_escape(text) + "\"";
}
