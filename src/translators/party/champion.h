#pragma once
// Champion definitions from the lines of the characters section.

#include <optional>
#include <string>

#include "report/report.h"

// The champion definition of one champion line, without a line break; none (and the problems)
// when the line breaks the rules of a champion line.
std::optional<std::string> make_char(std::string line, Problems& problems);
