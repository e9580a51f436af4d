#pragma once
// Lists of names in an item line's values: the objects a holder names between the "(" of its
// keyword and the ")", and the parts of a target list.

#include <string_view>
#include <vector>

#include "text/comma_list.h"
#include "text/trim.h"

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
    for_each_comma_part(list, [&](std::string_view part) { visit(trimmed(part)); });
}
