#include "levels/levels.h"

bool Levels::holds_square(long number, long x, long y) const
{
    if (!is_level(number)) return false;
    const Level& level = levels[static_cast<std::size_t>(number)];
    return x >= 0 && y >= 0 && x < level.size_x && y < level.size_y;
}

GridSquare Levels::grid_square(long number, long x, long y) const
{
    const Level& level = levels[static_cast<std::size_t>(number)];
    return {.x = static_cast<long long>(x) + level.offset_x, .y = static_cast<long long>(y) + level.offset_y};
}

bool Levels::is_level(long number) const
{
    return number >= 0 && number < static_cast<long>(levels.size()) && levels[static_cast<std::size_t>(number)].complete;
}

std::vector<int> Levels::offsets_x() const
{
    std::vector<int> result;
    for (const auto& level : levels) result.push_back(level.complete ? level.offset_x : 0);
    return result;
}

std::vector<int> Levels::offsets_y() const
{
    std::vector<int> result;
    for (const auto& level : levels) result.push_back(level.complete ? level.offset_y : 0);
    return result;
}
