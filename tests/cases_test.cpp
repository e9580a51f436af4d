// End-to-end cases: every folder under tests/cases holds the files of one run (my_dungeon.txt,
// obj_list.txt), the script expected (LUA_dungeon.lua), the exit status expected (status) and the
// messages expected on standard error (stderr.txt), and what the stand-in engine finds when it
// runs the script (engine.txt; none when the file is absent). The converter runs in a scratch folder.

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
    EXPECT_EQ(run.script, read_file(folder / "LUA_dungeon.lua"));
    if (run.status != 1) {
        expect_lua_compiles(run.script_path);
        EXPECT_EQ(engine_findings(run.script_path), read_file_or_empty(folder / "engine.txt"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConversionCase, ::testing::ValuesIn(case_names()),
                         [](const auto& param_info) { return param_info.param; });

} // namespace
