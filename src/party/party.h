#pragma once
// The party's roster statements and its placement at the entrance.

#include <optional>
#include <string>

#include "driver/levels.h"
#include "driver/report.h"

// The statement that puts the champion named by a roster line into the given party slot; none
// (and a problem) when the line is not a Lua name after normalisation.
std::optional<std::string> roster_statement(int slot, const std::string& line, Problems& problems);

// The statement that places the party at the entrance on the common grid, with its line breaks;
// none (and a problem) when the entrance level is not a level or the facing cannot stand in code.
std::optional<std::string> party_placement(const Entrance& entrance, const Levels& levels, Problems& problems);
