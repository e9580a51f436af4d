// A run on files: which files the options name, and that the old script survives every failure.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "files/run_files.h"
#include "store/text_spool.h"
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

// Checks the condition every few milliseconds for up to ten seconds; true once it holds.
template <typename Condition>
bool eventually(Condition condition)
{
    for (int tries = 0; tries < 2000; ++tries) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

// A temporary file of the waiting statements that takes every write and fails every read.
fs::path unreadable_spool_path;
std::FILE* unreadable_spool() { return std::fopen(unreadable_spool_path.c_str(), "wb"); }

// Makes the spools of the runs in its lifetime use that maker of temporary files.
class SpoolFilesMadeBy {
public:
    explicit SpoolFilesMadeBy(TextSpool::FileMaker maker) : old_(TextSpool::spool_file_maker())
    {
        TextSpool::set_spool_file_maker(maker);
    }
    ~SpoolFilesMadeBy() { TextSpool::set_spool_file_maker(old_); }
    SpoolFilesMadeBy(const SpoolFilesMadeBy&) = delete;
    SpoolFilesMadeBy& operator=(const SpoolFilesMadeBy&) = delete;

private:
    TextSpool::FileMaker old_;
};

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
    EXPECT_EQ(temporary_path_for(folder / "LUA_dungeon.lua", "1f").parent_path(), folder);
    EXPECT_EQ(temporary_path_for(folder / "LUA_dungeon.lua", "1f"), folder / ".LUA_dungeon.lua.1f.tmp");
}

TEST(RunFiles, StatementsThatCannotBeReadBackConvertNothingAndKeepTheOldScript)
{
    unreadable_spool_path = scratch_folder() / "spool";
    const SpoolFilesMadeBy unreadable(&unreadable_spool);
    const fs::path folder = scratch_folder();
    // More spawn statements than one block of a spool holds.
    std::string dump = std::string(small_dump) + "[Items]\n";
    for (int i = 0; i < 40000; ++i) dump += "t" + std::to_string(i) + " TORCH 0 0 0\n";
    write_file(folder / "my_dungeon.txt", dump);
    write_file(folder / "obj_list.txt", "TORCH torch");
    write_file(folder / "LUA_dungeon.lua", "old");
    Options options;
    options.path = folder.string();
    const FileRun to_file = run_files(options);
    EXPECT_EQ(to_file.status, 1);
    EXPECT_EQ(to_file.err, "dungeon2lua: cannot write " + folder.string() +
                               "/LUA_dungeon.lua: a temporary file of the waiting statements cannot be read back: " +
                               std::generic_category().message(EBADF) + "\n");
    EXPECT_EQ(read_file(folder / "LUA_dungeon.lua"), "old");
    EXPECT_EQ(files_in(folder), (std::vector<std::string>{"LUA_dungeon.lua", "my_dungeon.txt", "obj_list.txt"}));

    options.output = "-";
    const FileRun to_output = run_files(options);
    EXPECT_EQ(to_output.status, 1);
    EXPECT_NE(to_output.err.find("dungeon2lua: cannot write standard output: a temporary file"), std::string::npos)
        << to_output.err;
    options.output.reset();
    options.check = true;
    const FileRun checked = run_files(options);
    EXPECT_EQ(checked.status, 1);
    EXPECT_EQ(checked.err.rfind("dungeon2lua: a temporary file of the waiting statements cannot be read back: ", 0), 0u)
        << checked.err;
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
    EXPECT_EQ(result.status, 2);
    // The empty list is the one message: the types it lacks are not reported one by one.
    EXPECT_EQ(result.err, (folder / "obj_list.txt").string() +
                              ":0: error: the object name list is empty: every object of the dump is written as a "
                              "comment [list-empty]\n"
                              "1 error and 0 warnings; 0 objects written, 1 written as comments, 0 skipped\n");
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

TEST(RunFilesProgram, StandardOutputThatCannotBeWrittenConvertsNothing)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "my_dungeon.txt", small_dump);
    write_file(folder / "obj_list.txt", "");
    const ProgramRun run = run_converter_in(folder, {"-o", "-"}, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.messages.rfind("dungeon2lua: ", 0), 0u) << run.messages;
    EXPECT_NE(run.messages.find("standard output"), std::string::npos) << run.messages;
}

TEST(RunFilesProgram, ListingTheTypesIntoTheListItReadsSaysThatTheShellEmptiedIt)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "my_dungeon.txt", std::string(small_dump) + "[Items]\nx GHOST 0 0 0\n");
    write_file(folder / "obj_list.txt", "GHOST ghost\n");
    // As "dungeon2lua --list-types > obj_list.txt" does: the shell empties the list first.
    const ProgramRun run = run_converter_in(folder, {"--list-types"}, folder / "obj_list.txt");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.messages, "obj_list.txt:0: warning: standard output is the object name list, which the shell emptied "
                            "before it was read: pairs it held are lost; --update-list completes a list "
                            "[-Wlist-emptied]\n");
    EXPECT_EQ(read_file(folder / "obj_list.txt"), "GHOST X_UNKNOWN\n");
    // Into another file, nothing is said.
    EXPECT_EQ(run_converter_in(folder, {"--list-types"}, folder / "types.txt").messages, "");
}

TEST(RunFilesProgram, MessagesAsJsonAreOneDocumentThatAParserReads)
{
    const fs::path folder = scratch_folder();
    write_file(folder / "my_dungeon.txt",
               std::string(small_dump) + "[Items]\nx GHOST 0 0 0\ny KEY 0 0 0 TEXT=(caf\xE9 \"<b>\")\n");
    write_file(folder / "obj_list.txt", "KEY key\n");
    const fs::path messages = folder / "messages.json";
    const ProgramRun run = run_converter_in(folder, {"--check", "--messages=json"}, "/dev/null");
    EXPECT_EQ(run.status, 0);
    write_file(messages, run.messages);
    const std::string check =
        "import json,sys; d=json.load(open(sys.argv[1])); m=d['messages']; "
        "assert [(x['line'],x['severity'],x['name']) for x in m]==[(11,'warning','unlisted-type')], m; "
        "assert d['errors']==0 and d['warnings']==1 and d['status']==0, d; "
        "assert d['objects']=={'written':1,'commented':1,'skipped':0}, d; "
        "assert m[0]['file']=='my_dungeon.txt' and m[0]['text'].startswith('the object name list does not name'), m";
    EXPECT_EQ(std::system(("/usr/bin/python3 -c \"" + check + "\" " + messages.string()).c_str()), 0) << run.messages;
    // A run that stops is one document too, with the line that stopped it.
    const ProgramRun stopped = run_converter_in(folder, {"--messages=json", "--objects", "none.txt"}, "/dev/null");
    EXPECT_EQ(stopped.status, 1);
    write_file(messages, stopped.messages);
    EXPECT_EQ(std::system(("/usr/bin/python3 -c \"import json,sys; d=json.load(open(sys.argv[1])); "
                           "assert d['status']==1 and d['messages'][-1]['severity']=='failure'\" " +
                           messages.string()).c_str()),
              0)
        << stopped.messages;
}

TEST(RunFilesProgram, AnInterruptRemovesTheTemporaryFilesKeepsTheOldScriptAndEndsByTheSignal)
{
    // The dump is a FIFO, so the run stands still, converting, until the test writes the rest.
    for (const bool with_page : {false, true}) {
        const fs::path folder = scratch_folder();
        const fs::path dump = folder / "my_dungeon.txt";
        ASSERT_EQ(::mkfifo(dump.c_str(), 0600), 0);
        write_file(folder / "obj_list.txt", "");
        write_file(folder / "LUA_dungeon.lua", "-- old\n");
        std::vector<std::string> arguments{dump.string()};
        if (with_page) arguments.insert(arguments.end(), {"--map", (folder / "m.html").string()});
        const pid_t child = start_converter(arguments, scratch_folder() / "stderr.out");
        ASSERT_GT(child, 0);

        int fifo = -1;
        const bool opened = eventually([&] { return (fifo = ::open(dump.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; });
        const std::string part = "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n";
        if (opened) {
            EXPECT_EQ(::write(fifo, part.data(), part.size()), static_cast<ssize_t>(part.size()));
        }
        // Once the program has read all that was written, it is converting into its temporary script.
        std::string temporary;
        const bool converting = opened && eventually([&] {
            int unread = -1;
            ::ioctl(fifo, FIONREAD, &unread);
            for (const auto& entry : fs::directory_iterator(folder)) {
                const std::string name = entry.path().filename().string();
                if (name.starts_with(".LUA_dungeon.lua.") && name.ends_with(".tmp")) temporary = name;
            }
            return unread == 0 && !temporary.empty();
        });
        EXPECT_TRUE(converting) << "no temporary script .LUA_dungeon.lua.<tag>.tmp appeared";
        ::kill(child, converting ? SIGINT : SIGKILL);
        int raw = 0;
        const bool ended = eventually([&] { return ::waitpid(child, &raw, WNOHANG) == child; });
        if (!ended) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &raw, 0);
        }
        if (fifo >= 0) ::close(fifo);
        EXPECT_TRUE(ended) << "the program went on after the interrupt";
        EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == SIGINT) << "status " << raw;
        EXPECT_EQ(read_file(folder / "LUA_dungeon.lua"), "-- old\n");
        EXPECT_EQ(files_in(folder), (std::vector<std::string>{"LUA_dungeon.lua", "my_dungeon.txt", "obj_list.txt"}))
            << (with_page ? "with" : "without") << " a map page";
    }
}

TEST(RunFiles, CheckAndListTypesEndWithTheStatusTheyEndWithToday)
{
    // Messages are compared by place and key words: names and columns may be added to them.
    const std::string dump = "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\n"
                             "SIZE(1,1)\n1\n/*\n[Items]\nt TORCH 0 0 0\nx TORCH q 0 0\n";
    struct Case {
        const char* name;
        bool check, list_types;
        // The object name list; none when there is no file.
        std::optional<std::string> list;
        int status;
        std::vector<std::pair<std::string, std::vector<std::string>>> said;
    };
    const std::vector<Case> cases = {
        {"a check that lists the types needs the list", true, true, std::nullopt, 1,
         {{"dungeon2lua", {"cannot open", "obj_list.txt"}}}},
        {"listing the types alone ends well on a dump with an error", false, true, "TORCH torch", 0, {}},
        // Changes when a list of one word is reported as such.
        {"a list of one word is odd, not empty", true, false, "TORCH", 2,
         {{"obj_list.txt:1: warning", {"odd number of words", "\"TORCH\""}},
          {"my_dungeon.txt:11: warning", {"\"TORCH\"", "written as a comment"}},
          {"my_dungeon.txt:12: error", {"\"x\""}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = scratch_folder();
        write_file(folder / "my_dungeon.txt", dump);
        if (c.list) write_file(folder / "obj_list.txt", *c.list);
        Options options;
        options.path = folder.string();
        options.check = c.check;
        options.list_types = c.list_types;
        const FileRun run = run_files(options);
        EXPECT_EQ(run.status, c.status);
        std::vector<Said> said;
        for (const auto& [where, words] : c.said)
            said.push_back({where == "dungeon2lua" ? where : (folder / where).string(), words});
        EXPECT_TRUE(messages_say(run.err, said));
    }
}
