#pragma once
// Line-by-line reading of the dump with line numbers.

#include <istream>
#include <string>

// Reads the dump (or the object name list) one line at a time, without its line end (a carriage
// return before the line feed included) and without a byte-order mark at the start of the first
// line, and counts the lines read.
class LineReader {
public:
    explicit LineReader(std::istream& in) : in_(in) {}

    // Reads the next line into line; at the end of the input the line is empty and false returned.
    bool next(std::string& line);
    // True once a read has met the end of the input.
    bool at_end() const { return at_end_; }
    // The number of the line read last, counted from 1 (0 before the first read).
    long line_number() const { return line_number_; }

private:
    std::istream& in_;
    long line_number_ = 0;
    bool at_end_ = false;
};
