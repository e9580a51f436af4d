#pragma once
// The conversion of one dump into one script, on streams, so that it runs the same in memory.

#include <istream>
#include <ostream>

#include "driver/report.h"
#include "items/object_list.h"
#include "map/dungeon_model.h"

// Exit status of a run that converted the dump with errors: the script is written, the problems reported.
constexpr int status_rule_broken = 2;
// Exit status of a run that converted nothing: a file could not be opened or written, or an
// argument was wrong.
constexpr int status_no_file = 1;

// Reads the dump, writes the whole script and reports every problem; returns 0 when the report
// holds no error (warnings allowed) and 2 when it holds one.
int convert(std::istream& dump, std::ostream& script, const ObjectList& names, Report& report);

// The same conversion, which also fills the model of what it converted, for the map page; the
// model's dump name is kept.
int convert(std::istream& dump, std::ostream& script, const ObjectList& names, Report& report, DungeonModel& model);
