#pragma once
// Helpers shared by the tests: files, runs of the converter, and the Lua 5.1 tools.

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/types.h>
#include <vector>

#include "levels/levels.h"
#include "records/item.h"
#include "records/object_list.h"
#include "report/report.h"

// The whole content of a file; the test fails when it cannot be read.
std::string read_file(const std::filesystem::path& path);
// The whole content of a file, or the empty text when there is none.
std::string read_file_or_empty(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& text);

// The printed lines of a report without their columns and names ("FILE:LINE: warning: TEXT"),
// for tests of what a message says; the columns and names have tests of their own.
std::vector<std::string> plain_lines(const Report& report);

// A fresh empty folder under the system's temporary folder.
std::filesystem::path scratch_folder();

// What one run of the converter program left behind.
struct RunResult {
    int status = -1;
    std::string script;
    std::string messages;
    std::string output;
    std::filesystem::path script_path;
    // The object name list after the run, when the case expects one (obj_list_after.txt).
    std::string list_after;
    // Files in the run's folder that are neither inputs nor the script nor a file the arguments name.
    std::vector<std::string> leftovers;
};

// Runs the converter program in a scratch folder on copies of a case folder's files: its inputs
// (my_dungeon.txt, obj_list.txt and any other file that is not an expectation) go into the
// scratch folder, or into the subfolder that the file `folder` names; `previous.lua` stands there as LUA_dungeon.lua before the run; `args` holds the
// arguments, one a line. The script read back is the one beside the inputs, or the one at the path
// (from the run's folder) that the file `output` names.
RunResult run_converter_on(const std::filesystem::path& case_folder);

// What one run of the converter program told: its exit status and its messages.
struct ProgramRun {
    int status = -1;
    std::string messages;
};
// Runs the converter program in `folder` with the arguments, its standard output going to the
// file `output` (a device such as /dev/full too).
ProgramRun run_converter_in(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                            const std::filesystem::path& output);
// Starts the built program with the arguments and returns at once with its process id; its
// messages go to the file `messages`, its standard output nowhere.
pid_t start_converter(const std::vector<std::string>& arguments, const std::filesystem::path& messages);

// Runs the in-memory conversion on a dump text and an object name list text.
struct MemoryRun {
    int status = -1;
    std::string script;
    std::string messages;
};
MemoryRun convert_text(const std::string& dump, const std::string& object_list);

// Fails the test unless luac5.1 accepts the script file (and fails when luac5.1 is missing).
void expect_lua_compiles(const std::filesystem::path& script);
// What the stand-in engine finds when it runs the script file under lua5.1: one line per thing the
// engine would refuse, nothing for a script it accepts (and a failed test when lua5.1 is missing).
std::string engine_findings(const std::filesystem::path& script);
// The same for a script text.
std::string engine_findings_of_text(const std::string& script);

// Fails the test unless luac5.1 accepts the script text.
void expect_lua_text_compiles(const std::string& script);
// True when luac5.1 accepts the script text (and a failed test when luac5.1 is missing).
bool lua_accepts_text(const std::string& script);

// A message as a test expects it: where it is ("my_dungeon.txt:14: warning", "obj_list.txt:0:
// error", or "dungeon2lua" for the program's own lines) and words its text holds. A message that
// later gains a name or a column still matches.
struct Said {
    std::string where;
    std::vector<std::string> words;
};
// Whether the messages, one a line, are the expected ones in the same order.
::testing::AssertionResult messages_say(const std::string& messages, const std::vector<Said>& expected);

// Helper for tests: complete levels of 100 by 100 squares with these column and row offsets.
Levels levels_at(const std::vector<std::pair<int, int>>& offsets);

// Helper for tests: one item line through make_item and make_exvars, as the item pass runs them
// (without the pass's checks of the line, which it must pass): the record, whether it holds
// objects, and the problems of its values.
struct TranslatedLine {
    Item item;
    bool holder = false;
    Problems problems;
};
TranslatedLine translated_line(const std::string& line, const ObjectList& names, const Levels& levels);
