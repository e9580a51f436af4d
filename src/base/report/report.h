#pragma once
// The problems found in one dump and its object name list, each tied to the line it was found on
// and marked as an error (something of the dump is left out, skipped or written as a comment) or a
// warning (the dump is written as it stands, but looks wrong).

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// How bad a problem is: an error loses part of the dump; a warning only flags it.
enum class Severity { error, warning };

// The file whose line a problem names.
enum class ProblemFile : std::uint8_t { dump, object_list };

// One problem: its line (counted from 1; 0 while a reader of a single line holds it, before
// the report places it), its kind and what is wrong. A bare text is an error; warnings are made
// with warning().
struct Problem {
    Problem(std::string text, Severity kind = Severity::error, long at = 0, ProblemFile in = ProblemFile::dump)
        : line(at), severity(kind), file(in), message(std::move(text))
    {
    }
    Problem(const char* text) : Problem(std::string(text)) {}

    long line = 0;
    Severity severity;
    ProblemFile file = ProblemFile::dump;
    std::string message;

    bool operator==(const Problem&) const = default;
};

// A warning about one line: the dump is written as it stands.
Problem warning(std::string text);

// The problem's text, as test failures and logs show it.
std::ostream& operator<<(std::ostream& out, const Problem& problem);

// The problems of one line, in the order found.
using Problems = std::vector<Problem>;

// The printed form of a problem of the named file: "my_dungeon.txt:LINE: error: what is wrong".
std::string printed_line(const std::string& file_name, const Problem& problem);

// The printed form of a message about the run itself (its files, its arguments), not a line of an
// input: "dungeon2lua: what is wrong".
std::string program_line(std::string_view message);

// Every problem of a run, in the order found.
class Report {
public:
    // The report of a dump and an object name list that messages name as given
    // ("castle/my_dungeon.txt", "castle/obj_list.txt").
    explicit Report(std::string dump_name = "my_dungeon.txt", std::string list_name = "obj_list.txt")
        : dump_name_(std::move(dump_name)), list_name_(std::move(list_name))
    {
    }

    // Records an error found on the given dump line.
    void error(long line, const std::string& what) { add(line, Problem(what, Severity::error)); }
    // Records a warning found on the given dump line.
    void warning(long line, const std::string& what) { add(line, Problem(what, Severity::warning)); }
    // Records one problem of the given line of the problem's file, with its kind.
    void add(long line, const Problem& problem);
    // Records every problem of one line.
    void add_all(long line, const Problems& problems);

    // From now on, prints each problem to the sink as it is found, in its printed form; the
    // problems are kept as entries as well only when keep_entries is true. Printed lines are
    // gathered and reach the sink at the latest when flush_printed() is called.
    void print_to(std::ostream& sink, bool keep_entries);
    // Passes every printed line gathered so far to the sink.
    void flush_printed();

    // True when nothing was reported at all.
    bool clean() const { return errors_ == 0 && warnings_ == 0; }
    // True when at least one error was reported.
    bool has_errors() const { return errors_ > 0; }
    // True when at least one warning was reported.
    bool has_warnings() const { return warnings_ > 0; }
    // The problems found, unless they are only printed.
    const std::vector<Problem>& entries() const { return entries_; }
    // The printed form of each problem: "my_dungeon.txt:LINE: error: what is wrong".
    std::vector<std::string> lines() const;
    // The printed form of one problem.
    std::string line_of(const Problem& entry) const;
    // The name that messages give the file of a problem.
    const std::string& name_of(ProblemFile file) const { return file == ProblemFile::dump ? dump_name_ : list_name_; }

private:
    std::string dump_name_;
    std::string list_name_;
    std::vector<Problem> entries_;
    std::size_t errors_ = 0;
    std::size_t warnings_ = 0;
    std::ostream* sink_ = nullptr;
    bool keep_entries_ = true;
    // Printed lines not yet passed to the sink.
    std::string printed_;
};

// A text from the dump as it stands in a report: between double quotes, backslash, double quote
// and control bytes escaped as in Lua (\\, \", \027), and every byte that is not part of
// well-formed UTF-8 as \xNN, so that a terminal shows the message whole.
std::string quoted(std::string_view text);
