#include "store/line_reader.h"

#include "text/utf8.h"

void LineReader::put_back(const std::string& line)
{
    put_back_line_ = line;
    put_back_ = true;
}

bool LineReader::next(std::string& line)
{
    if (put_back_) {
        put_back_ = false;
        line.swap(put_back_line_);
        return true;
    }
    line.clear();
    if (at_end_ || !std::getline(in_, line)) {
        at_end_ = true;
        line.clear();
        return false;
    }
    ++line_number_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A byte-order mark is no part of the text: the file reads as it would without it.
    if (line_number_ == 1 && line.starts_with(byte_order_mark)) line.erase(0, byte_order_mark.size());
    if (in_.eof()) at_end_ = true;
    return true;
}
