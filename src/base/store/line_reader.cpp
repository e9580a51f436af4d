#include "store/line_reader.h"

bool LineReader::next(std::string& line)
{
    line.clear();
    if (at_end_ || !std::getline(in_, line)) {
        at_end_ = true;
        line.clear();
        return false;
    }
    ++line_number_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (in_.eof()) at_end_ = true;
    return true;
}
