#pragma once
// Lists of names in an item line's values: the objects a holder names between the "(" of its
// keyword and the ")", and the parts of a target list.

#include <string_view>
#include <vector>

// The identifiers a holder's contents list names: split at every ",", the closing ")" removed,
// blanks and tabs around each identifier dropped; views into the list.
std::vector<std::string_view> held_identifiers(std::string_view contents);

// Calls visit with each identifier that held_identifiers gives, in order, without building a list.
template <typename Visit>
void for_each_held_identifier(std::string_view contents, Visit visit);

// Calls visit with each name of a list: split at every ",", blanks and tabs around each dropped.
template <typename Visit>
void for_each_listed_name(std::string_view list, Visit visit);

template <typename Visit>
void for_each_held_identifier(std::string_view contents, Visit visit)
{
    if (!contents.empty() && contents.back() == ')') contents.remove_suffix(1);
    for_each_listed_name(contents, visit);
}

template <typename Visit>
void for_each_listed_name(std::string_view list, Visit visit)
{
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        std::string_view element = list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const std::size_t first = element.find_first_not_of(" \t");
        const std::size_t last = element.find_last_not_of(" \t");
        visit(first == std::string_view::npos ? std::string_view() : element.substr(first, last - first + 1));
        if (comma == std::string_view::npos) return;
        start = comma + 1;
    }
}
