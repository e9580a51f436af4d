#pragma once
// The party's roster statements and its placement at the entrance.

#include <optional>
#include <string>
#include <unordered_set>

#include "levels/levels.h"
#include "report/report.h"

// The champion variables that definitions have assigned so far in the script.
using ChampionNames = std::unordered_set<std::string>;

// The variable a champion definition statement assigns (the text before its "=").
std::string defined_champion(const std::string& definition);

// The statement that puts the champion named by a roster line into the given party slot; none
// (and a problem) when the line, after normalisation, is not the variable of a champion defined
// before it.
std::optional<std::string> roster_statement(int slot, const std::string& line, const ChampionNames& champions,
                                            Problems& problems);

// The statement that places the party at the entrance on the common grid, with its line breaks;
// none (and a problem) when the entrance level is not a level or the facing is not a direction or
// a number. An entrance outside its level's map is placed all the same, and reported.
std::optional<std::string> party_placement(const Entrance& entrance, const Levels& levels, Problems& problems);
