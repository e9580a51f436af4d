#pragma once
// The problems found in one dump and its object name list, each tied to the line (and, where it
// is about a word, the column) it was found on, and named by its kind of message; printed in the
// order of the files' lines, with a closing count.

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "report/messages.h"

// The file whose line a problem names.
enum class ProblemFile : std::uint8_t { dump, object_list };

// One problem: its kind, its line (counted from 1; 0 while a reader of a single line holds it,
// before the report places it), its column in bytes from 1 (0 when it is about the whole line)
// and what is wrong. The severity is its kind's, or an error when the run promotes its kind.
struct Problem {
    // A problem of the given kind; `about` is the word of the line it is about, a view into the
    // line, which the reader that holds the line turns into the column (place_in).
    Problem(MessageId kind, std::string text, std::string_view about = {})
        : severity(kind_of(kind).severity), id(kind), message(std::move(text)), word(about)
    {
    }

    // Sets the column from the word the problem is about, when that word stands in the line.
    void place_in(std::string_view line_text);

    long line = 0;
    std::size_t column = 0;
    Severity severity;
    MessageId id;
    // True when the run made this warning an error (-Werror=NAME).
    bool promoted = false;
    ProblemFile file = ProblemFile::dump;
    std::string message;
    // The word of the line the problem is about, until place_in() turns it into the column;
    // never read through.
    std::string_view word;
    // The order in which the report received it.
    std::size_t order = 0;

    // Problems are alike when they say the same of the same place.
    bool operator==(const Problem& other) const
    {
        return line == other.line && column == other.column && severity == other.severity && id == other.id &&
               file == other.file && message == other.message;
    }
};

// The problem's text, as test failures and logs show it.
std::ostream& operator<<(std::ostream& out, const Problem& problem);

// The problems of one line, in the order found.
using Problems = std::vector<Problem>;

// The column (in bytes from 1) of a word that is a view into the line; 0 when it is none.
std::size_t column_of(std::string_view line_text, std::string_view word);

// The name a problem is printed with: [-Wname] for a warning, [-Werror=name] for a warning made an
// error, [name] for an error.
std::string bracketed_name(const Problem& problem);

// The printed form of a problem of the named file: "my_dungeon.txt:LINE[:COLUMN]: error: what is wrong [name]".
std::string printed_line(const std::string& file_name, const Problem& problem);

// The printed form of a message about the run itself (its files, its arguments), not a line of an
// input: "dungeon2lua: what is wrong".
std::string program_line(std::string_view message);

// What a run does with each kind of message: shows it as its kind says, silences a warning
// (-Wno-NAME), or makes a warning an error (-Werror=NAME).
enum class Treatment : std::uint8_t { shown, silenced, promoted };
using MessagePolicy = std::array<Treatment, message_kind_count>;

// What became of the objects of the items section: written as statements, written as comments,
// or skipped (no statement at all).
struct ObjectTally {
    std::size_t written = 0;
    std::size_t commented = 0;
    std::size_t skipped = 0;
};

// How many messages of one kind the printed form shows before it says how many more there are.
inline constexpr std::size_t shown_per_kind = 20;

// Every problem of a run, ordered for printing: the object name list's by line, then the dump's by
// line, problems of one line in the order found.
class Report {
public:
    // The report of a dump and an object name list that messages name as given
    // ("castle/my_dungeon.txt", "castle/obj_list.txt").
    explicit Report(std::string dump_name = "my_dungeon.txt", std::string list_name = "obj_list.txt")
        : dump_name_(std::move(dump_name)), list_name_(std::move(list_name))
    {
    }

    // What the run does with each kind of message; set before the first problem.
    void set_policy(const MessagePolicy& policy) { policy_ = policy; }
    // From now on keeps of each kind only the problems that the printed form can show (the first
    // shown_per_kind in printing order and the one where the count of the others stands), and
    // counts the others: for a run that only prints, so that very many problems, in whatever order
    // they are found, take little memory.
    void keep_only_printed() { keep_all_ = false; }

    // Records one problem found on the given line of the problem's file; a silenced kind is dropped.
    void add(long line, const Problem& problem);
    // Records a problem of the given kind found on the given dump line, at the column (0: none).
    void add(MessageId kind, long line, std::string text, std::size_t column = 0);
    // Records every problem of one line, placing each that is about a word of the line's text.
    void add_all(long line, const Problems& problems, std::string_view line_text = {});

    // Notes what became of the objects, for the closing count.
    void set_objects(const ObjectTally& tally) { objects_ = tally; }
    const std::optional<ObjectTally>& objects() const { return objects_; }

    // True when nothing was reported at all (silenced warnings are not reported).
    bool clean() const { return errors_ == 0 && warnings_ == 0; }
    bool has_errors() const { return errors_ > 0; }
    bool has_warnings() const { return warnings_ > 0; }
    std::size_t error_count() const { return errors_; }
    std::size_t warning_count() const { return warnings_; }
    // How many problems of a kind were reported, those not kept included.
    std::size_t count_of(MessageId kind) const { return seen_[static_cast<std::size_t>(kind)]; }

    // The problems kept, in printing order: every problem unless keep_only_printed() was called.
    const std::vector<Problem>& entries() const;
    // The printed form of each problem kept, in printing order, without the cap.
    std::vector<std::string> lines() const;
    // The printed form of one problem.
    std::string line_of(const Problem& entry) const;
    // The name that messages give the file of a problem.
    const std::string& name_of(ProblemFile file) const { return file == ProblemFile::dump ? dump_name_ : list_name_; }

private:
    std::string dump_name_;
    std::string list_name_;
    MessagePolicy policy_{};
    bool keep_all_ = true;
    // Every problem kept; unless keep_all_, gathered from `capped_` when asked for.
    mutable std::vector<Problem> entries_;
    mutable bool sorted_ = true;
    // Unless keep_all_: per kind, the problems kept, at most shown_per_kind + 1, as a heap whose
    // top is the last in printing order (the first to go when one before it comes).
    std::array<std::vector<Problem>, message_kind_count> capped_;
    mutable bool gathered_ = true;
    std::size_t errors_ = 0;
    std::size_t warnings_ = 0;
    std::size_t received_ = 0;
    std::array<std::size_t, message_kind_count> seen_{};
    std::optional<ObjectTally> objects_;
};

// The closing count of a run: "2 errors and 5 warnings; 37 objects written, 3 written as comments,
// 1 skipped"; empty when the report holds no problem.
std::string closing_line(const Report& report);

// Writes the report as text: every problem in order, at most shown_per_kind of each kind unless
// `all` (a note at the place of the next says how many more there are), then the closing count
// when `closing` and there is a problem.
void write_messages(std::ostream& out, const Report& report, bool all, bool closing);

// Writes the report as one JSON document: the problems in order (file, line, column, severity,
// name, text), the counts, the exit status, and the line that stopped the run (`failure`, without
// the program's name) as an entry without file or line.
void write_messages_json(std::ostream& out, const Report& report, int status,
                         const std::optional<std::string>& failure);

// A text from the dump as it stands in a report: between double quotes, backslash, double quote
// and control bytes escaped as in Lua (\\, \", \027), and every byte that is not part of
// well-formed UTF-8 as \xNN, so that a terminal shows the message whole.
std::string quoted(std::string_view text);
