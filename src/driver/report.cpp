#include "driver/report.h"

#include "text/lua_text.h"

Problem warning(std::string text)
{
    return Problem(std::move(text), Severity::warning);
}

std::ostream& operator<<(std::ostream& out, const Problem& problem)
{
    return out << (problem.severity == Severity::error ? "error: " : "warning: ") << problem.message;
}

void Report::add(long line, const Problem& problem)
{
    entries_.push_back({line, problem.severity, problem.message});
    if (problem.severity == Severity::error) ++errors_;
}

void Report::add_all(long line, const Problems& problems)
{
    for (const auto& problem : problems) add(line, problem);
}

std::string Report::line_of(const ReportEntry& entry) const
{
    const char* kind = entry.severity == Severity::error ? ": error: " : ": warning: ";
    return dump_name_ + ":" + std::to_string(entry.line) + kind + entry.message;
}

std::vector<std::string> Report::lines() const
{
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (const auto& entry : entries_) result.push_back(line_of(entry));
    return result;
}

std::string quoted(const std::string& text)
{
    return "\"" + lua_escape(text) + "\"";
}
