#pragma once
// The command line: which files a run reads and writes, whether it only checks the dump or lists
// its types, and how strict its exit status is.

#include <optional>
#include <string>
#include <vector>

#include "report/report.h"

// What the arguments ask for. Names are UTF-8, as the user gave them.
struct Options {
    // A folder holding my_dungeon.txt, or the dump file itself; none for the current folder.
    std::optional<std::string> path;
    // Where the script goes instead of LUA_dungeon.lua beside the dump: a file, a folder to hold
    // LUA_dungeon.lua, or "-" for standard output.
    std::optional<std::string> output;
    // The object name list to read instead of obj_list.txt beside the dump.
    std::optional<std::string> objects;
    // Where to write the map page of the converted dungeon; "-" for standard output; none for no page.
    std::optional<std::string> map;
    // Warnings count as errors for the exit status (--strict, -Werror).
    bool strict = false;
    // What the run does with each kind of message (-Wno-NAME, -Werror=NAME).
    MessagePolicy messages{};
    // Print every message, with no cap per kind.
    bool all_messages = false;
    // Print the messages as one JSON document instead of lines.
    bool json_messages = false;
    // Append a pair for each type the dump looks up and the list lacks to the object name list,
    // and write no script.
    bool update_list = false;
    // Convert and print the messages, but write no file.
    bool check = false;
    // Print the object name list's pairs for the words the dump looks up, and write no file.
    bool list_types = false;
    // Print the usage text and stop.
    bool help = false;
    // Print the name and version and stop.
    bool version = false;
};

// The options of a command line, or what is wrong with it (one line, without the program's name).
struct ParsedOptions {
    Options options;
    std::optional<std::string> error;
};

// Reads the arguments after the program's name: options (long ones also as --name=value), at
// most one PATH, and "--" before a PATH that begins with "-".
ParsedOptions parse_options(const std::vector<std::string>& arguments);

// The usage text that --help prints.
std::string usage_text();

// The program's name and version, then its copyright and licence, as --version prints them.
std::string version_text();
