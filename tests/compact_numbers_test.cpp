// The list of numbers kept in four bytes each: a number beyond 32 bits comes back whole.

#include <gtest/gtest.h>

#include <cstdint>

#include "store/compact_numbers.h"

TEST(CompactNumbers, EveryNumberComesBackWholeAtItsPlace)
{
    const std::uint64_t numbers[] = {0,           1,          0xFFFFFFFEu, 0xFFFFFFFFu, 0x100000000u, 7,
                                     0xFFFFFFFFu, 5000000000u, 42,         UINT64_MAX,  0xFFFFFFFEu};
    CompactNumbers compact;
    for (const auto number : numbers) compact.push_back(number);
    ASSERT_EQ(compact.size(), std::size(numbers));
    for (std::size_t i = 0; i < std::size(numbers); ++i) EXPECT_EQ(compact[i], numbers[i]) << "place " << i;
}
