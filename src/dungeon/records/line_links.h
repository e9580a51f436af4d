#pragma once
// What an item line links to, as its keyword groups read it: recorded only for a caller that asks
// (the map page), so that a plain conversion keeps nothing more.

#include <optional>
#include <string>
#include <vector>

// A destination square on the common grid.
struct LinkedSquare {
    int level = 0;
    int x = 0;
    int y = 0;
};

// The targets and the destination of one item line, as the script gets them.
struct LineLinks {
    // The target identifiers as the dump names them; empty when the line gives none or they are left out.
    std::vector<std::string> targets;
    std::optional<LinkedSquare> destination;
};
