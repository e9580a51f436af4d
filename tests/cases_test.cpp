// End-to-end cases: every folder under tests/cases holds the files of one run (my_dungeon.txt,
// obj_list.txt; optionally the arguments in args, a subfolder for the inputs in folder, a script
// that stands before the run in previous.lua), the script expected beside the inputs afterwards
// (LUA_dungeon.lua; none when absent), the exit status expected (status), the messages expected
// on standard error (stderr.txt) and on standard output (stdout.txt), and what the stand-in engine
// finds when it runs the script (engine.txt; none when absent); a long standard output may be given
// by its beginning (stdout_begins.txt), and the object name list expected after the run in
// obj_list_after.txt (for a run that completes it). The converter runs in a scratch
// folder, and must leave no other file behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The case folders as the build found them (a generated list, so that a new folder rebuilds this).
std::vector<std::string> case_names()
{
    std::vector<std::string> names = {
#include "case_names.inc"
    };
    std::sort(names.begin(), names.end());
    return names;
}

class ConversionCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ConversionCase, WritesTheExpectedScriptStatusAndMessages)
{
    const fs::path folder = fs::path(D2L_CASES_DIR) / GetParam();
    const RunResult run = run_converter_on(folder);

    const int expected_status = std::stoi(read_file(folder / "status"));
    EXPECT_EQ(run.status, expected_status);
    EXPECT_EQ(run.messages, read_file_or_empty(folder / "stderr.txt"));
    // A long output (a map page) is given by its beginning, in stdout_begins.txt.
    if (fs::exists(folder / "stdout_begins.txt")) {
        const std::string beginning = read_file(folder / "stdout_begins.txt");
        EXPECT_EQ(run.output.substr(0, beginning.size()), beginning);
    } else {
        EXPECT_EQ(run.output, read_file_or_empty(folder / "stdout.txt"));
    }
    EXPECT_EQ(run.script, read_file_or_empty(folder / "LUA_dungeon.lua"));
    EXPECT_TRUE(run.leftovers.empty()) << "left behind: " << run.leftovers.front();
    if (fs::exists(folder / "obj_list_after.txt")) {
        EXPECT_EQ(run.list_after, read_file(folder / "obj_list_after.txt"));
    }
    // A script that the run wrote (not one it left as it was) must load, and the engine take it.
    const bool written = fs::exists(run.script_path) && run.script != read_file_or_empty(folder / "previous.lua");
    if (run.status != 1 && written) {
        expect_lua_compiles(run.script_path);
        EXPECT_EQ(engine_findings(run.script_path), read_file_or_empty(folder / "engine.txt"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConversionCase, ::testing::ValuesIn(case_names()),
                         [](const auto& param_info) { return param_info.param; });

} // namespace
