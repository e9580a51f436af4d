#include "records/held_list.h"

std::vector<std::string_view> held_identifiers(std::string_view contents)
{
    std::vector<std::string_view> result;
    for_each_held_identifier(contents, [&](std::string_view held) { result.push_back(held); });
    return result;
}
