#pragma once
// One conversion as the browser page asks for it: the bytes of the dump and of the object name
// list in; the exit status, the script, the messages and the map page out, each as the command
// line would give them for the same two files.

#include <string>
#include <string_view>

// What one conversion gives the page.
struct PageConversion {
    // 0 converted, 2 converted with errors (or, when strict, with warnings).
    int status = 0;
    // The bytes of the script, as LUA_dungeon.lua holds them.
    std::string script;
    // The messages, one line each, as the command line prints them on standard error.
    std::string messages;
    // The map page of the converted dungeon, as --map writes it.
    std::string map_page;
    // What the status line counts, as a JSON object: "errors" and "warnings" among the messages
    // of the dump and the object name list, "commented" the objects written as comments.
    std::string counts;
    // The object name list completed with the pairs the dump needs, as --update-list would write
    // it; empty when it needs none or cannot be completed.
    std::string completed_list;
    // What completing the list does, one line as --update-list prints it: how many pairs it adds,
    // or, after "dungeon2lua: ", why the list is left as it is.
    std::string list_completion;
};

// The name that the messages and the map page give the dump: the command line's, run in the
// dump's folder.
inline constexpr const char* page_dump_name = "my_dungeon.txt";

// Converts a dump with an object name list, both given as the bytes of their files, and writes
// the map page of the result; when strict, warnings count as errors for the status.
PageConversion page_conversion(std::string_view dump, std::string_view objects, bool strict);
