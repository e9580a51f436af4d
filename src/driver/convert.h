#pragma once
// The conversion of one dump into one script, on streams, so that it runs the same in memory.

#include <istream>
#include <ostream>

#include "driver/report.h"
#include "items/object_list.h"

// Exit status of a run whose dump broke a rule: the script is written, the problems reported.
constexpr int status_rule_broken = 2;
// Exit status of a run that could not open one of its files.
constexpr int status_no_file = 1;

// Reads the dump, writes the whole script and reports every problem; returns 0 for a clean dump
// and 2 when the report holds problems.
int convert(std::istream& dump, std::ostream& script, const ObjectList& names, Report& report);
