#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "behaviour/exvars.h"
#include "conversion/convert.h"
#include "itempass/item_line.h"
#include "itempass/item_statements.h"

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

namespace {

// The lines of a file, without their line ends; none when there is no file.
std::vector<std::string> lines_of(const fs::path& path)
{
    std::vector<std::string> lines;
    std::istringstream text(read_file_or_empty(path));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

// A word for the shell, between single quotes.
std::string shell_word(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The start of the shell command that runs the converter: the program built beside the tests, or
// the command in D2L_CONVERTER (for example the Windows program through tests/wine/run_exe.sh).
std::string converter_command()
{
    const char* chosen = std::getenv("D2L_CONVERTER");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    return shell_word(D2L_BINARY);
}

// True for the files of a case folder that describe the run or its expected results rather than
// being its inputs.
bool is_expectation_file(const std::string& name)
{
    for (const char* expectation : {"status", "stderr.txt", "stdout.txt", "LUA_dungeon.lua", "engine.txt", "args",
                                    "folder", "previous.lua", "output", "stdout_begins.txt",
                                    "obj_list_after.txt"})
        if (name == expectation) return true;
    return false;
}

fs::path utf8_path(const std::string& name)
{
    return fs::path(std::u8string(name.begin(), name.end()));
}

} // namespace

RunResult run_converter_on(const fs::path& case_folder)
{
    const fs::path scratch = scratch_folder();
    const fs::path work = scratch / "run";
    const auto folder_lines = lines_of(case_folder / "folder");
    const fs::path inputs = folder_lines.empty() ? work : work / utf8_path(folder_lines.front());
    fs::create_directories(inputs);
    std::vector<std::string> input_names;
    for (const auto& entry : fs::directory_iterator(case_folder)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || is_expectation_file(name)) continue;
        fs::copy_file(entry.path(), inputs / name);
        input_names.push_back(name);
    }
    if (fs::exists(case_folder / "previous.lua")) fs::copy_file(case_folder / "previous.lua", inputs / "LUA_dungeon.lua");

    const auto arguments = lines_of(case_folder / "args");
    std::string command = "cd " + shell_word(work.string()) + " && " + converter_command();
    for (const auto& argument : arguments) command += " " + shell_word(argument);
    command += " < /dev/null > ../stdout.out 2> ../stderr.out";

    RunResult result;
    result.status = exit_status(std::system(command.c_str()));
    const auto output_lines = lines_of(case_folder / "output");
    result.script_path = output_lines.empty() ? inputs / "LUA_dungeon.lua" : work / utf8_path(output_lines.front());
    result.script = read_file_or_empty(result.script_path);
    result.messages = read_file_or_empty(scratch / "stderr.out");
    result.output = read_file_or_empty(scratch / "stdout.out");
    // A run that completes the object name list leaves it behind, as the case expects it.
    const bool list_expected = fs::exists(case_folder / "obj_list_after.txt");
    if (list_expected) result.list_after = read_file_or_empty(inputs / "obj_list.txt");
    for (const auto& entry : fs::recursive_directory_iterator(work)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), work);
        const std::string name = entry.path().filename().string();
        const bool known = std::find(input_names.begin(), input_names.end(), name) != input_names.end() ||
                           name == "LUA_dungeon.lua" || entry.path() == result.script_path ||
                           (list_expected && name == "obj_list.txt") ||
                           std::find(arguments.begin(), arguments.end(), relative.generic_string()) != arguments.end();
        if (!known) result.leftovers.push_back(relative.generic_string());
    }
    return result;
}

ProgramRun run_converter_in(const fs::path& folder, const std::vector<std::string>& arguments, const fs::path& output)
{
    const fs::path messages = scratch_folder() / "stderr.out";
    std::string command = "cd " + shell_word(folder.string()) + " && " + converter_command();
    for (const auto& argument : arguments) command += " " + shell_word(argument);
    command += " < /dev/null > " + shell_word(output.string()) + " 2> " + shell_word(messages.string());
    ProgramRun run;
    run.status = exit_status(std::system(command.c_str()));
    run.messages = read_file_or_empty(messages);
    return run;
}

pid_t start_converter(const std::vector<std::string>& arguments, const fs::path& messages)
{
    std::vector<std::string> words{D2L_BINARY};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    const int failed = posix_spawn(&child, D2L_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(failed, 0) << "cannot start " << D2L_BINARY;
    return failed ? -1 : child;
}

std::vector<std::string> plain_lines(const Report& report)
{
    std::vector<std::string> lines;
    for (Problem entry : report.entries()) {
        entry.column = 0;
        std::string line = report.line_of(entry);
        line.resize(line.size() - bracketed_name(entry).size() - 1);
        lines.push_back(std::move(line));
    }
    return lines;
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
    for (const auto& line : plain_lines(report)) run.messages += line + "\n";
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

bool lua_accepts_text(const std::string& script)
{
    const std::string luac = D2L_LUAC;
    EXPECT_FALSE(luac.empty()) << "luac5.1 was not found when the tests were configured";
    const fs::path path = scratch_folder() / "script.lua";
    write_file(path, script);
    const std::string command = "'" + luac + "' -p '" + path.string() + "' > /dev/null 2>&1";
    return exit_status(std::system(command.c_str())) == 0;
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

namespace {

// Where a message is, as a Said gives it: the file, line and severity without a column, or the
// program's name.
std::pair<std::string, std::string> where_and_text(const std::string& line)
{
    for (const std::string severity : {": warning: ", ": error: "}) {
        const std::size_t at = line.find(severity);
        if (at == std::string::npos) continue;
        std::string place = line.substr(0, at);
        // file:line:column gives file:line.
        const std::size_t last = place.rfind(':');
        if (last != std::string::npos && place.find(':') != last) place.erase(last);
        return {place + severity.substr(0, severity.size() - 2), line.substr(at + severity.size())};
    }
    const std::size_t colon = line.find(": ");
    return {line.substr(0, colon), colon == std::string::npos ? "" : line.substr(colon + 2)};
}

} // namespace

::testing::AssertionResult messages_say(const std::string& messages, const std::vector<Said>& expected)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < messages.size();) {
        const std::size_t end = messages.find('\n', start);
        // The closing count ("2 errors and 5 warnings; ...") is no message.
        if (start < messages.size() && messages[start] >= '0' && messages[start] <= '9') {
            start = end == std::string::npos ? messages.size() : end + 1;
            continue;
        }
        lines.push_back(messages.substr(start, end - start));
        start = end == std::string::npos ? messages.size() : end + 1;
    }
    if (lines.size() != expected.size())
        return ::testing::AssertionFailure() << expected.size() << " messages expected, got:\n" << messages;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto [where, text] = where_and_text(lines[i]);
        if (where != expected[i].where)
            return ::testing::AssertionFailure() << "message " << i + 1 << " is not at " << expected[i].where << ":\n"
                                                 << messages;
        for (const auto& word : expected[i].words)
            if (text.find(word) == std::string::npos)
                return ::testing::AssertionFailure() << "message " << i + 1 << " lacks \"" << word << "\":\n"
                                                     << messages;
    }
    return ::testing::AssertionSuccess();
}

Levels levels_at(const std::vector<std::pair<int, int>>& offsets)
{
    Levels levels;
    levels.read = true;
    for (const auto& [x, y] : offsets) {
        Level& level = levels.levels.emplace_back();
        level.complete = true;
        level.offset_x = x;
        level.offset_y = y;
        level.size_x = level.size_y = 100;
    }
    return levels;
}

TranslatedLine translated_line(const std::string& line, const ObjectList& names, const Levels& levels)
{
    TranslatedLine translated;
    const LeadingTokens tokens = leading_tokens(line);
    const std::optional<ItemPlace> place = place_of(tokens);
    if (!place) {
        ADD_FAILURE() << "not an item line: " << line;
        return translated;
    }
    const std::vector<int> offsets_x = levels.offsets_x();
    const std::vector<int> offsets_y = levels.offsets_y();
    ClassifiedNames classes;
    make_item(translated.item, line, tokens, place->x, place->y, place->level, names.find(tokens.tokens[1]), offsets_x,
              offsets_y, classes);
    Properties properties;
    translated.holder = make_exvars(translated.item, line, KeywordScan(line), offsets_x, offsets_y, names,
                                    translated.problems, levels, properties);
    return translated;
}
