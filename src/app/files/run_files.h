#pragma once
// A run on files, as the command line asks for it: finds the dump, the object name list and the
// script, converts, replaces the script only with a complete new one, and prints the messages.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/options.h"

// The files of one run, each with the name that messages give it (as the user wrote it).
struct RunFiles {
    std::filesystem::path dump;
    std::string dump_name;
    std::filesystem::path objects;
    std::string objects_name;
    // Empty when the script goes to standard output.
    std::filesystem::path script;
    std::string script_name;
    bool script_to_standard_output = false;
    // The map page; empty when none is asked for or when it goes to standard output.
    std::filesystem::path map;
    std::string map_name;
    bool map_to_standard_output = false;
};

// The files that the options name: the dump (PATH itself, or my_dungeon.txt in the folder PATH or
// in the current folder), and obj_list.txt and LUA_dungeon.lua beside the dump unless named (a
// script named as an existing folder is LUA_dungeon.lua in it); the map page only when named.
RunFiles files_of(const Options& options);

// The name of the temporary file that a file (the script or the map page) is written to before it
// replaces `target`: in the same folder, so that the replacement is a rename; the tag makes it unique.
std::filesystem::path temporary_path_for(const std::filesystem::path& target, const std::string& tag);

// Converts as the options say; messages go to err, the usage text, the listed types and a script
// or page on standard output to out. Returns the exit status: 0 converted, 1 nothing converted,
// 2 converted with errors.
int run_with_options(const Options& options, std::ostream& out, std::ostream& err);

// Parses the arguments (after the program's name) and runs them; a wrong argument is one message
// and status 1, with no file touched.
int run_command_line(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
