#pragma once
// Completing an object name list: the list as it stands, byte for byte, then one pair
// "TYPE X_UNKNOWN" for each word the dump looks up that the list has no pair for, in order of
// first use, under a comment line that says they were added. The command line's --update-list and
// the browser page's "add the missing types" both read this one decision.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "records/object_list.h"

// A word of the object name list that is a header line of a dump ("[Layout]"), with its place.
struct HeaderInList {
    std::string word;
    long line = 0;
    std::size_t column = 0;
};

// The first word of the list that is a header line of a dump: the sign that a dump was given as
// the list; none when the list holds none.
std::optional<HeaderInList> header_in_list(const ObjectList& list);

// Why the list as read cannot be completed, as the message says it (without the program's name);
// none when it can. Pairs appended to a list with an odd number of words would pair up one word
// off, those appended to a list in UTF-16 or UTF-32 would not be read, and those appended to a
// dump given as the list would become lines of the dump; such a list is left as it is.
std::optional<std::string> completion_refusal(const ObjectList& list, const std::string& list_name);

// The list completed, once a conversion has noted which words the dump looks up in it.
struct CompletedList {
    // The list's bytes, then the added lines, with the list's own line ends.
    std::string bytes;
    // How many pairs were added; 0 when the list already names every word (bytes are then the list's).
    std::size_t added = 0;
    // What was done, as one line for the author: "obj_list.txt: 4 pairs added; ...".
    std::string summary;
};

// Completes the list of those bytes, which completion_refusal() accepted; `list` is the list read
// from them after the conversion.
CompletedList completed_list(std::string bytes, const ObjectList& list, const std::string& list_name);
