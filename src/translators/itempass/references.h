#pragma once
// The checks of the names that item lines give: targets, held objects, the champions of mirrors
// and the doors of door buttons, resolved once the last line is read (an object or champion may
// be defined below the line that names it).

#include "itempass/item_pass.h"
#include "party/party.h"
#include "report/report.h"

// Reports, as a warning at the line that gives it, every name that reaches no object or champion
// the script sets: a target that is no object's variable or whose object is written as a comment,
// a name in a holder's list that no object has exactly (or that stands on the map, not held), a
// champion that no champion line defines, a door button with neither a door nor a target.
// Runs after link_items.
void check_references(const ItemLists& lists, const ChampionNames& champions, Report& report);
