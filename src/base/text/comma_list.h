#pragma once
// Reading a list of a value's parts, written with a "," between each two.

#include <string_view>

// Calls visit with every part of the list split at each ",", in order, as views into it; an empty
// list gives one empty part.
template <typename Visit>
void for_each_comma_part(std::string_view list, Visit visit)
{
    while (true) {
        const std::size_t comma = list.find(',');
        visit(list.substr(0, comma));
        if (comma == std::string_view::npos) return;
        list.remove_prefix(comma + 1);
    }
}
