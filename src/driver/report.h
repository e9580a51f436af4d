#pragma once
// The problems found in one dump, each tied to the dump line it was found on.

#include <string>
#include <vector>

// Problems of one line, without a line number: filled by the readers of a single line.
using Problems = std::vector<std::string>;

// Every problem of a run, in the order found, as the lines printed on standard error.
class Report {
public:
    // Records one problem found on the given dump line (counted from 1).
    void add(long line, const std::string& what);
    // Records every problem of one line.
    void add_all(long line, const Problems& problems);

    bool clean() const { return lines_.empty(); }
    // The printed form of each problem: "my_dungeon.txt:LINE: what is wrong".
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

// A text from the dump as it stands in a report: between double quotes, control bytes escaped.
std::string quoted(const std::string& text);
