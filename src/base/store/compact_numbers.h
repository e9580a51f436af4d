#pragma once
// A long list of numbers that nearly all fit in 32 bits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

// Numbers one after the other, four bytes each instead of eight: a number too large for 32 bits
// (a line far beyond four thousand million, an offset past 4 GB) is kept aside, so none is cut.
class CompactNumbers {
public:
    // Adds a number at the end.
    void push_back(std::uint64_t number)
    {
        if (number >= far_mark) {
            far_.emplace_back(numbers_.size(), number);
            numbers_.push_back(far_mark);
        } else {
            numbers_.push_back(static_cast<std::uint32_t>(number));
        }
    }

    // The number at that place.
    std::uint64_t operator[](std::size_t place) const
    {
        const std::uint32_t number = numbers_[place];
        if (number != far_mark) return number;
        // The numbers kept aside are in the order of their places.
        const auto found = std::lower_bound(far_.begin(), far_.end(), place,
                                            [](const auto& far, std::size_t wanted) { return far.first < wanted; });
        return found->second;
    }

    std::size_t size() const { return numbers_.size(); }

private:
    // Marks a number kept aside.
    static constexpr std::uint32_t far_mark = std::numeric_limits<std::uint32_t>::max();

    std::vector<std::uint32_t> numbers_;
    std::vector<std::pair<std::size_t, std::uint64_t>> far_;
};
