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
    // Hands the line read last back, so that the next read gives it again with its number: a
    // reader that met a line belonging to another part of the dump leaves it to that part.
    void put_back(const std::string& line);
    // True once a read has met the end of the input (and no line is handed back).
    bool at_end() const { return at_end_ && !put_back_; }
    // The number of the line read last, counted from 1 (0 before the first read).
    long line_number() const { return line_number_; }

private:
    std::istream& in_;
    long line_number_ = 0;
    bool at_end_ = false;
    bool put_back_ = false;
    std::string put_back_line_;
};
