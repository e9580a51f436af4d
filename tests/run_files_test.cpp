// A run on files: which files the options name, and that the old script survives every failure.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "files/run_files.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const char* const small_dump =
    "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(1,1)\n1\n/*\n";

struct FileRun {
    int status;
    std::string out;
    std::string err;
};

FileRun run_files(const Options& options)
{
    std::ostringstream out, err;
    const int status = run_with_options(options, out, err);
    return {status, out.str(), err.str()};
}

// The names of the files in a folder, sorted.
std::vector<std::string> files_in(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(RunFiles, NamesTheFilesBesideTheDumpAsTheUserWroteThem)
{
    const fs::path folder = scratch_folder();
    const std::string castle = folder.string();
    Options none;
    Options in_folder;
    in_folder.path = castle;
    Options in_folder_slash;
    in_folder_slash.path = castle + "/";
    Options dump_file;
    dump_file.path = castle + "/keep.txt";
    Options bare_file;
    bare_file.path = "keep.txt";
    Options named;
    named.path = castle;
    named.output = "-";
    named.objects = "names.txt";

    struct Expected {
        const Options& options;
        std::string dump, objects, script;
    } cases[] = {
        {none, "my_dungeon.txt", "obj_list.txt", "LUA_dungeon.lua"},
        {in_folder, castle + "/my_dungeon.txt", castle + "/obj_list.txt", castle + "/LUA_dungeon.lua"},
        {in_folder_slash, castle + "/my_dungeon.txt", castle + "/obj_list.txt", castle + "/LUA_dungeon.lua"},
        {dump_file, castle + "/keep.txt", castle + "/obj_list.txt", castle + "/LUA_dungeon.lua"},
        {bare_file, "keep.txt", "obj_list.txt", "LUA_dungeon.lua"},
        {named, castle + "/my_dungeon.txt", "names.txt", "standard output"},
    };
    for (const auto& c : cases) {
        const RunFiles files = files_of(c.options);
        EXPECT_EQ(files.dump_name, c.dump);
        EXPECT_EQ(files.objects_name, c.objects);
        EXPECT_EQ(files.script_name, c.script);
    }
    EXPECT_TRUE(files_of(named).script_to_standard_output);
    EXPECT_EQ(temporary_script_path(folder / "LUA_dungeon.lua", "1f").parent_path(), folder);
}

TEST(RunFiles, AFailedRenameKeepsWhatStoodThereAndLeavesNoTemporaryFile)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "my_dungeon.txt", small_dump);
    write_file(folder / "obj_list.txt", "");
    // A folder where the script should go: the conversion succeeds, the final rename cannot.
    fs::create_directories(folder / "LUA_dungeon.lua" / "inside");
    Options options;
    options.path = folder.string();
    const FileRun result = run_files(options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("dungeon2lua: cannot write " + folder.string() + "/LUA_dungeon.lua: ", 0), 0u)
        << result.err;
    EXPECT_TRUE(fs::is_directory(folder / "LUA_dungeon.lua" / "inside"));
    EXPECT_EQ(files_in(folder), (std::vector<std::string>{"LUA_dungeon.lua", "my_dungeon.txt", "obj_list.txt"}));
}

TEST(RunFiles, ReplacesAnOldScriptWholeAndPrintsProblemsUnderTheGivenName)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "keep.txt", std::string(small_dump) + "[Items]\nx GHOST 0 0 0\n");
    write_file(folder / "obj_list.txt", "");
    write_file(folder / "LUA_dungeon.lua", std::string(100000, '-'));
    Options options;
    options.path = (folder / "keep.txt").string();
    const FileRun result = run_files(options);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, (folder / "keep.txt").string() +
                              ":11: warning: the object name list does not name the type \"GHOST\": 1 object of it "
                              "is written as a comment\n" +
                              (folder / "obj_list.txt").string() +
                              ":0: warning: the object name list is empty: every object of the dump is written as a "
                              "comment\n");
    const std::string script = read_file(folder / "LUA_dungeon.lua");
    EXPECT_EQ(script.rfind("\ndungeon_name=", 0), 0u);
    EXPECT_EQ(files_in(folder), (std::vector<std::string>{"LUA_dungeon.lua", "keep.txt", "obj_list.txt"}));

    options.strict = true;
    EXPECT_EQ(run_files(options).status, 2);
}

TEST(RunFiles, ADumpThatIsAFolderIsNotOpened)
{
    const fs::path folder = scratch_folder();
    fs::create_directories(folder / "my_dungeon.txt");
    Options options;
    options.path = folder.string();
    const FileRun result = run_files(options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "dungeon2lua: cannot open " + folder.string() + "/my_dungeon.txt: Is a directory\n");
}

TEST(RunFilesMapPage, WritesThePageBesideTheSameScriptAndNamesTheDumpAsGiven)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "my_dungeon.txt", std::string(small_dump) + "[Items]\nx GHOST 0 0 0\n");
    write_file(folder / "obj_list.txt", "");
    Options options;
    options.path = folder.string();
    const FileRun plain = run_files(options);
    const std::string plain_script = read_file(folder / "LUA_dungeon.lua");

    options.map = (folder / "map.html").string();
    const FileRun with_page = run_files(options);
    EXPECT_EQ(with_page.status, plain.status);
    EXPECT_EQ(with_page.err, plain.err);
    EXPECT_EQ(read_file(folder / "LUA_dungeon.lua"), plain_script);
    const std::string page = read_file(folder / "map.html");
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("\"dump\":\"" + folder.string() + "/my_dungeon.txt\""), std::string::npos);
    EXPECT_NE(page.find("\"type\":\"GHOST\""), std::string::npos);
    EXPECT_EQ(files_in(folder), (std::vector<std::string>{"LUA_dungeon.lua", "map.html", "my_dungeon.txt", "obj_list.txt"}));
}

TEST(RunFilesMapPage, APageThatCannotBeWrittenConvertsNothing)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "my_dungeon.txt", small_dump);
    write_file(folder / "obj_list.txt", "");
    write_file(folder / "LUA_dungeon.lua", "-- kept\n");
    Options options;
    options.path = folder.string();
    options.map = (folder / "nowhere" / "map.html").string();
    FileRun result = run_files(options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "dungeon2lua: cannot write " + *options.map + ": No such file or directory\n");
    EXPECT_EQ(read_file(folder / "LUA_dungeon.lua"), "-- kept\n");

    // A page that would stand where the script or the object name list is.
    for (const char* taken : {"LUA_dungeon.lua", "obj_list.txt"}) {
        options.map = (folder / "." / taken).string();
        result = run_files(options);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("would replace the"), std::string::npos) << result.err;
    }
    EXPECT_EQ(read_file(folder / "LUA_dungeon.lua"), "-- kept\n");
    EXPECT_EQ(files_in(folder), (std::vector<std::string>{"LUA_dungeon.lua", "my_dungeon.txt", "obj_list.txt"}));

    // A page whose place is a folder: the script is written, the page cannot replace the folder.
    fs::create_directories(folder / "page" / "inside");
    options.map = (folder / "page").string();
    result = run_files(options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("dungeon2lua: cannot write " + *options.map + ": ", 0), 0u) << result.err;
    EXPECT_TRUE(fs::is_directory(folder / "page" / "inside"));
    EXPECT_EQ(files_in(folder), (std::vector<std::string>{"LUA_dungeon.lua", "my_dungeon.txt", "obj_list.txt", "page"}));
}
