// The conversion that the browser page runs: for the same two files it must give what the command
// line gives, run in the dump's folder with --map: the script's bytes, the messages, the status
// (with and without --strict) and the map page.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "browser/page_conversion.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct CommandLineRun {
    int status = -1;
    std::string script;
    std::string messages;
    std::string map_page;
};

// Runs the program in a folder holding the two files as my_dungeon.txt and obj_list.txt.
CommandLineRun command_line_run(const std::string& dump, const std::string& objects, bool strict)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "my_dungeon.txt", dump);
    write_file(folder / "obj_list.txt", objects);
    const std::string command = "cd '" + folder.string() + "' && '" + D2L_BINARY + "' --map map.html" +
                                (strict ? " --strict" : "") + " < /dev/null 2> messages.out";
    const int raw = std::system(command.c_str());
    CommandLineRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.script = read_file_or_empty(folder / "LUA_dungeon.lua");
    run.messages = read_file_or_empty(folder / "messages.out");
    run.map_page = read_file_or_empty(folder / "map.html");
    return run;
}

void expect_same_as_command_line(const std::string& dump, const std::string& objects, bool strict,
                                 const std::string& what)
{
    const CommandLineRun expected = command_line_run(dump, objects, strict);
    const PageConversion page = page_conversion(dump, objects, strict);
    EXPECT_EQ(page.status, expected.status) << what;
    EXPECT_EQ(page.script, expected.script) << what;
    EXPECT_EQ(page.messages, expected.messages) << what;
    EXPECT_EQ(page.map_page, expected.map_page) << what;
}

const std::string separator = "/" + std::string(78, '*') + "/";

} // namespace

TEST(PageConversion, GivesWhatTheCommandLineGivesForTheSameFiles)
{
    const std::string sample = read_file(fs::path(D2L_EXAMPLES_DIR) / "my_dungeon.txt");
    const std::string sample_objects = read_file(fs::path(D2L_EXAMPLES_DIR) / "obj_list.txt");
    expect_same_as_command_line(sample, sample_objects, false, "the sample");
    expect_same_as_command_line("", "", false, "two empty files");

    const fs::path warnings = fs::path(D2L_CASES_DIR) / "cli_warnings_only";
    const std::string warned = read_file(warnings / "my_dungeon.txt");
    const std::string warned_objects = read_file(warnings / "obj_list.txt");
    expect_same_as_command_line(warned, warned_objects, false, "warnings only");
    expect_same_as_command_line(warned, warned_objects, true, "warnings only, strict");
    EXPECT_EQ(page_conversion(warned, warned_objects, false).status, 0);
    EXPECT_EQ(page_conversion(warned, warned_objects, true).status, 2);
}

TEST(PageConversion, CountsTheProblemsAndTheObjectsWrittenAsComments)
{
    const std::string dump = "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + separator +
                             "\n[Layout]\nWALLSET(w)\nLIGHT(5)\nOFFSET(0,0)\nSIZE(2,1)\n11\n" + separator +
                             "\n[Items]\nn1 FLOOR_TEXT 0 0 0 CENTER\nx1 GHOST 1 0 0\nx1 GHOST 1 0 0\n";
    const PageConversion page = page_conversion(dump, "FLOOR_TEXT floortext\n", false);
    std::size_t errors = 0, warnings = 0;
    for (std::size_t at = 0; (at = page.messages.find(": error: ", at)) != std::string::npos; ++at) ++errors;
    for (std::size_t at = 0; (at = page.messages.find(": warning: ", at)) != std::string::npos; ++at) ++warnings;
    EXPECT_GT(errors + warnings, 0u);
    EXPECT_EQ(page.counts, "{\"errors\":" + std::to_string(errors) + ",\"warnings\":" + std::to_string(warnings) +
                               ",\"commented\":2}");
}

TEST(PageConversion, TakesTheFilesAsBytesWhateverTheyHold)
{
    // Windows line ends, a NUL byte, bytes that are not UTF-8 and markup in the texts.
    const std::string dump = std::string("[Main Data]\r\nENTRANCE...(0,0,0,NORTH)\r\n") + separator +
                             "\r\n[Layout]\r\nWALLSET(w)\r\nLIGHT(5)\r\nOFFSET(0,0)\r\nSIZE(2,1)\r\n1\xff\r\n" + separator +
                             "\r\n[Items]\r\nn1 FLOOR_TEXT 0 0 0 CENTER TEXT=(a\xfe</script>" + std::string(1, '\0') +
                             "b\")\r\nx<b> GHOST 1 0 0\r\n";
    const std::string objects = std::string("FLOOR_TEXT floor\xe9text\r\n\0\nGHOST", 29);
    expect_same_as_command_line(dump, objects, false, "bytes");
    const PageConversion page = page_conversion(dump, objects, false);
    EXPECT_NE(page.script.find("a\xfe</script>\\000b"), std::string::npos) << "the script keeps the dump's bytes";
}
