#pragma once
// The dungeon's geometry: the level blocks of the layout section on the common grid they share,
// and the party's entrance.

#include <string>
#include <vector>

// One level block of the layout section.
struct Level {
    int light = 0;
    int offset_x = 0;
    int offset_y = 0;
    int size_x = 0;
    int size_y = 0;
    std::vector<std::string> rows;
    // False when the block lacked a header line, a value or rows; such a level is not written
    // and nothing can stand on it.
    bool complete = false;
    // The dump lines of its WALLSET line and of its first map row (0 when it has none).
    long line = 0;
    long rows_line = 0;
};

// A square on the common grid: a level's column and row plus its offsets, in a range wide enough
// for any int the dump gives.
struct GridSquare {
    long long x = 0;
    long long y = 0;
};

// Every level of the layout section, numbered from 0 in block order, with offsets shifted onto
// the common grid.
struct Levels {
    std::vector<Level> levels;
    int grid_width = 0;
    int grid_height = 0;
    // True once a layout section has been read.
    bool read = false;

    // True when the number names a complete level.
    bool is_level(long number) const;
    // True when the column and row (before the offsets) lie on the map of that complete level.
    bool holds_square(long number, long x, long y) const;
    // The square on the common grid of a column and row of that complete level's own map.
    GridSquare grid_square(long number, long x, long y) const;
    // Per level, its column offset on the common grid (0 for an incomplete level).
    std::vector<int> offsets_x() const;
    // Per level, its row offset on the common grid (0 for an incomplete level).
    std::vector<int> offsets_y() const;
};

// The party's starting place as the last readable entrance line gave it.
struct Entrance {
    int x = 0;
    int y = 0;
    int level = 0;
    std::string facing;
    long line_number = 0;
    // The columns (in bytes from 1) of the square's x, the level and the facing in the line.
    std::size_t square_column = 0;
    std::size_t level_column = 0;
    std::size_t facing_column = 0;
};
