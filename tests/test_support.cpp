#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "driver/convert.h"

namespace fs = std::filesystem;

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << "cannot read " << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string read_file_or_empty(const fs::path& path)
{
    if (!fs::exists(path)) return {};
    return read_file(path);
}

void write_file(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

fs::path scratch_folder()
{
    static std::atomic<int> counter{0};
    fs::path folder = fs::temp_directory_path() /
                      ("d2l_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

namespace {
int exit_status(int raw)
{
    if (raw == -1 || !WIFEXITED(raw)) return -1;
    return WEXITSTATUS(raw);
}
} // namespace

RunResult run_converter_on(const fs::path& case_folder)
{
    const fs::path folder = scratch_folder();
    for (const char* name : {"my_dungeon.txt", "obj_list.txt"})
        if (fs::exists(case_folder / name)) fs::copy_file(case_folder / name, folder / name);
    const std::string command =
        "cd '" + folder.string() + "' && '" + std::string(D2L_BINARY) + "' 2> stderr.out";
    RunResult result;
    result.status = exit_status(std::system(command.c_str()));
    result.script_path = folder / "LUA_dungeon.lua";
    result.script = read_file_or_empty(result.script_path);
    result.messages = read_file_or_empty(folder / "stderr.out");
    return result;
}

MemoryRun convert_text(const std::string& dump, const std::string& object_list)
{
    std::istringstream dump_stream(dump);
    std::istringstream list_stream(object_list);
    std::ostringstream script;
    const ObjectList names = ObjectList::read(list_stream);
    Report report;
    MemoryRun run;
    run.status = convert(dump_stream, script, names, report);
    run.script = script.str();
    for (const auto& line : report.lines()) run.messages += line + "\n";
    return run;
}

void expect_lua_compiles(const fs::path& script)
{
    const std::string luac = D2L_LUAC;
    ASSERT_FALSE(luac.empty()) << "luac5.1 was not found when the tests were configured: install the Debian package "
                                  "lua5.1 and configure again";
    const std::string command = "'" + luac + "' -p '" + script.string() + "' 2>&1";
    EXPECT_EQ(exit_status(std::system(command.c_str())), 0) << "luac5.1 rejects " << script;
}

void expect_lua_text_compiles(const std::string& script)
{
    const fs::path path = scratch_folder() / "script.lua";
    write_file(path, script);
    expect_lua_compiles(path);
}

std::string engine_findings(const fs::path& script)
{
    const std::string lua = D2L_LUA;
    EXPECT_FALSE(lua.empty()) << "lua5.1 was not found when the tests were configured: install the Debian package "
                                 "lua5.1 and configure again";
    if (lua.empty()) return "(lua5.1 missing)";
    const fs::path output = script.parent_path() / "engine.out";
    const std::string command = "'" + lua + "' '" + std::string(D2L_TESTS_DIR) + "/engine/stand_in.lua' '" +
                                script.string() + "' > '" + output.string() + "' 2>&1";
    const int status = exit_status(std::system(command.c_str()));
    EXPECT_EQ(status, 0) << "the stand-in engine did not run: " << read_file_or_empty(output);
    return read_file_or_empty(output);
}

std::string engine_findings_of_text(const std::string& script)
{
    const fs::path path = scratch_folder() / "LUA_dungeon.lua";
    write_file(path, script);
    return engine_findings(path);
}
