#pragma once
// The behaviour translator: the keyword properties of an item line as the object's property statements.

#include <string>
#include <vector>

#include "behaviour/keyword_scan.h"
#include "behaviour/properties.h"
#include "levels/levels.h"
#include "records/item.h"
#include "records/object_list.h"
#include "report/report.h"

// Translates the keyword properties of the line, already scanned for its keywords, into the
// item's property statements; returns true when the line names objects that this one carries or
// holds. Sets the record's kind as well. A destination is also checked against the level's block and map. The properties are
// reused from the line before (emptied first), so that translating a line allocates nothing new.
// The targets and destination go to the links too, when given.
bool make_exvars(Item& item, const std::string& line, const KeywordScan& scan, const std::vector<int>& level_offset_x,
                 const std::vector<int>& level_offset_y, const ObjectList& names, Problems& problems,
                 const Levels& levels, Properties& properties, LineLinks* links = nullptr);
