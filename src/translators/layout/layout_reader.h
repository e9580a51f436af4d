#pragma once
// Reading the layout section and the entrance line, and writing the map statement of each level.

#include <optional>
#include <ostream>
#include <string>

#include "levels/levels.h"
#include "report/report.h"
#include "store/line_reader.h"

// Reads the four entrance values from the parenthesised text of an entrance line; none when they
// cannot be read.
std::optional<Entrance> read_entrance(const std::string& line);

// Reads the rest of a layout section from the reader, up to and including the line holding "/*"
// after the last block, reporting what breaks its rules; the levels are shifted onto the common grid.
Levels read_layout(LineReader& reader, Report& report);

// The map statement of one complete level on the common grid.
std::string map_statement(const Levels& levels, int number);

// Writes the map statements of every complete level, level 0 first.
void write_maps(const Levels& levels, std::ostream& out);
