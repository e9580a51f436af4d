#include "script/constant_keys.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

std::uint64_t number_key(double value)
{
    if (value == 0) value = 0;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return hash_mixed(number_seed, bits);
}

// Made once when the program starts, by number_key itself, so that they are the keys it gives.
const std::array<std::uint64_t, 512> small_number_keys = [] {
    std::array<std::uint64_t, 512> keys{};
    for (int value = 0; value < 256; ++value) {
        keys[static_cast<std::size_t>(value)] = number_key(value);
        keys[static_cast<std::size_t>(256 + value)] = number_key(-value);
    }
    return keys;
}();

double number_value(std::string_view digits)
{
    if (digits.size() <= 15 && std::all_of(digits.begin(), digits.end(), is_digit)) {
        std::uint64_t value = 0;
        for (char c : digits) value = value * 10 + static_cast<std::uint64_t>(c - '0');
        return static_cast<double>(value);
    }
    return std::strtod(std::string(digits).c_str(), nullptr);
}
