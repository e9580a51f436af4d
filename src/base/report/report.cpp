#include "report/report.h"

#include "text/lua_text.h"
#include "text/utf8.h"

#include <algorithm>

#include "text/json_text.h"

std::ostream& operator<<(std::ostream& out, const Problem& problem)
{
    return out << (problem.severity == Severity::error ? "error: " : "warning: ") << problem.message << ' '
               << bracketed_name(problem);
}

void Problem::place_in(std::string_view line_text)
{
    if (column == 0) column = column_of(line_text, word);
    word = {};
}

std::size_t column_of(std::string_view line_text, std::string_view word)
{
    const std::less_equal<const char*> before;
    if (word.data() == nullptr || line_text.data() == nullptr) return 0;
    if (!before(line_text.data(), word.data()) || !before(word.data(), line_text.data() + line_text.size())) return 0;
    if (word.data() == line_text.data() + line_text.size()) return 0;
    return static_cast<std::size_t>(word.data() - line_text.data()) + 1;
}

std::string bracketed_name(const Problem& problem)
{
    const std::string name(kind_of(problem.id).name);
    if (problem.promoted) return "[-Werror=" + name + "]";
    return problem.severity == Severity::error ? "[" + name + "]" : "[-W" + name + "]";
}

namespace {
// Where a problem stands in printing order: the object name list first, then the dump; by line;
// then in the order found.
std::array<std::size_t, 3> place_of(const Problem& problem)
{
    return {problem.file == ProblemFile::object_list ? 0u : 1u, static_cast<std::size_t>(problem.line), problem.order};
}

// True when the problem comes before the other in printing order.
bool printed_before(const Problem& a, const Problem& b)
{
    return place_of(a) < place_of(b);
}

// Appends the printed form of one problem: "my_dungeon.txt:LINE[:COLUMN]: error: what is wrong [name]".
void append_line(std::string& out, const std::string& file_name, const Problem& problem)
{
    out += file_name;
    out += ':';
    out += std::to_string(problem.line);
    if (problem.column > 0) {
        out += ':';
        out += std::to_string(problem.column);
    }
    out += problem.severity == Severity::error ? ": error: " : ": warning: ";
    out += problem.message;
    out += ' ';
    out += bracketed_name(problem);
}

// "1 error", "2 errors".
std::string counted(std::size_t count, const char* singular, const char* plural)
{
    return std::to_string(count) + ' ' + (count == 1 ? singular : plural);
}
} // namespace

void Report::add(long line, const Problem& problem)
{
    const auto kind = static_cast<std::size_t>(problem.id);
    const Treatment treatment = policy_[kind];
    const bool warning = problem.severity == Severity::warning;
    if (warning && treatment == Treatment::silenced) return;
    const bool promoted = warning && treatment == Treatment::promoted;
    if (warning && !promoted) ++warnings_;
    else ++errors_;
    ++seen_[kind];
    Problem placed = problem;
    placed.line = line;
    placed.order = received_++;
    placed.word = {};
    if (promoted) {
        placed.severity = Severity::error;
        placed.promoted = true;
    }
    if (!keep_all_) {
        // A run that only prints keeps of each kind what the printed form shows: the first ones in
        // printing order and the one where the count of the others stands; a problem found
        // before the last of those takes its place.
        std::vector<Problem>& kept = capped_[kind];
        if (kept.size() > shown_per_kind) {
            if (!printed_before(placed, kept.front())) return;
            std::pop_heap(kept.begin(), kept.end(), printed_before);
            kept.pop_back();
        }
        kept.push_back(std::move(placed));
        std::push_heap(kept.begin(), kept.end(), printed_before);
        gathered_ = false;
        return;
    }
    if (!entries_.empty() && printed_before(placed, entries_.back())) sorted_ = false;
    entries_.push_back(std::move(placed));
}

void Report::add(MessageId kind, long line, std::string text, std::size_t column)
{
    Problem problem(kind, std::move(text));
    problem.column = column;
    add(line, problem);
}

void Report::add_all(long line, const Problems& problems, std::string_view line_text)
{
    for (const auto& problem : problems) {
        if (problem.word.empty() || problem.column > 0) {
            add(line, problem);
            continue;
        }
        Problem placed = problem;
        placed.place_in(line_text);
        add(line, placed);
    }
}

const std::vector<Problem>& Report::entries() const
{
    if (!gathered_) {
        entries_.clear();
        for (const auto& kept : capped_) entries_.insert(entries_.end(), kept.begin(), kept.end());
        gathered_ = true;
        sorted_ = false;
    }
    if (!sorted_) {
        // The order found breaks no tie: it is part of the place.
        std::sort(entries_.begin(), entries_.end(), printed_before);
        sorted_ = true;
    }
    return entries_;
}

std::string printed_line(const std::string& file_name, const Problem& problem)
{
    std::string text;
    append_line(text, file_name, problem);
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
    result.reserve(entries().size());
    for (const auto& entry : entries()) result.push_back(line_of(entry));
    return result;
}

std::string closing_line(const Report& report)
{
    if (report.clean()) return "";
    std::string line = counted(report.error_count(), "error", "errors") + " and " +
                       counted(report.warning_count(), "warning", "warnings");
    if (const auto& objects = report.objects())
        line += "; " + counted(objects->written, "object", "objects") + " written, " +
                std::to_string(objects->commented) + " written as comments, " + std::to_string(objects->skipped) +
                " skipped";
    return line;
}

void write_messages(std::ostream& out, const Report& report, bool all, bool closing)
{
    std::array<std::size_t, message_kind_count> printed{};
    std::string text;
    for (const Problem& entry : report.entries()) {
        const auto kind = static_cast<std::size_t>(entry.id);
        const std::size_t count = printed[kind]++;
        if (all || count < shown_per_kind) {
            append_line(text, report.name_of(entry.file), entry);
            text += '\n';
        } else if (count == shown_per_kind) {
            // At the place of the first problem not shown, how many of its kind are not shown.
            const std::size_t more = report.count_of(entry.id) - shown_per_kind;
            text += report.name_of(entry.file) + ':' + std::to_string(entry.line) + ": note: " +
                    std::to_string(more) + " more " + (more == 1 ? "message " : "messages ") + bracketed_name(entry) +
                    " from here on " + (more == 1 ? "is" : "are") + " not shown (--all-messages shows every message)\n";
        }
        if (text.size() >= (std::size_t{1} << 16)) {
            out << text;
            text.clear();
        }
    }
    if (closing && !report.clean()) text += closing_line(report) + '\n';
    out << text;
}

void write_messages_json(std::ostream& out, const Report& report, int status, const std::optional<std::string>& failure)
{
    std::string text = "{\"messages\":[";
    bool first = true;
    for (const Problem& entry : report.entries()) {
        text += first ? "\n" : ",\n";
        first = false;
        text += "{\"file\":" + json_string(report.name_of(entry.file)) + ",\"line\":" + std::to_string(entry.line) +
                ",\"column\":" + std::to_string(entry.column) + ",\"severity\":\"" +
                (entry.severity == Severity::error ? "error" : "warning") + "\",\"name\":" +
                json_string(kind_of(entry.id).name) + ",\"promoted\":" + (entry.promoted ? "true" : "false") +
                ",\"text\":" + json_string(entry.message) + "}";
        if (text.size() >= (std::size_t{1} << 16)) {
            out << text;
            text.clear();
        }
    }
    if (failure) {
        text += first ? "\n" : ",\n";
        text += "{\"severity\":\"failure\",\"text\":" + json_string(*failure) + "}";
    }
    text += "\n],\"errors\":" + std::to_string(report.error_count()) +
            ",\"warnings\":" + std::to_string(report.warning_count());
    if (const auto& objects = report.objects(); objects && !failure)
        text += ",\"objects\":{\"written\":" + std::to_string(objects->written) +
                ",\"commented\":" + std::to_string(objects->commented) +
                ",\"skipped\":" + std::to_string(objects->skipped) + "}";
    text += ",\"status\":" + std::to_string(status) + "}\n";
    out << text;
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
