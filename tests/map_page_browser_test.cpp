// The map page in a real browser: headless Chromium opens it, runs its script and hands back the
// document it built, which must hold every object of the shown level, the party and the problems,
// and nothing that a text of the dump made.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "conversion/convert.h"
#include "page/map_page.h"
#include "page/model_recorder.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct PageRun {
    DungeonModel model;
    fs::path page;
    // The run's messages as printed.
    std::vector<std::string> messages;
};

// Converts a dump and object list text in memory and writes the model's page into a scratch folder.
PageRun page_for(const std::string& dump, const std::string& object_list)
{
    std::istringstream dump_stream(dump);
    std::istringstream list_stream(object_list);
    const ObjectList names = ObjectList::read(list_stream);
    std::ostringstream script;
    Report report;
    PageRun run;
    ModelRecorder recorder;
    convert(dump_stream, script, names, report, &recorder);
    run.model = recorder.take_model(report);
    run.messages = report.lines();
    run.page = scratch_folder() / "map.html";
    std::ofstream out(run.page, std::ios::binary);
    write_map_page(run.model, out);
    return run;
}

// The document Chromium built from the page after its scripts ran, with the given fragment
// ("level=N") in its address; empty, and a failed test, when Chromium is missing or fails.
std::string browser_dom(const fs::path& page, const std::string& fragment)
{
    const std::string chromium = D2L_CHROMIUM;
    EXPECT_FALSE(chromium.empty()) << "chromium was not found when the tests were configured: install the Debian "
                                      "package chromium and configure again";
    if (chromium.empty()) return "";
    const fs::path folder = page.parent_path();
    const fs::path profile = folder / ("profile" + fragment);
    const fs::path output = folder / "dom.html";
    const std::string command = "timeout 120 '" + chromium +
                                "' --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir='" +
                                profile.string() + "' --dump-dom 'file://" + fs::absolute(page).string() + "#" +
                                fragment + "' > '" + output.string() + "' 2> '" + (folder / "chromium.err").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << "chromium failed: " << read_file_or_empty(folder / "chromium.err");
    return read_file_or_empty(output);
}

std::size_t count_of(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The values of one attribute on every element of the document that carries it.
std::vector<std::string> attribute_values(const std::string& dom, const std::string& attribute)
{
    std::vector<std::string> values;
    const std::regex pattern(" " + attribute + "=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), pattern); it != std::sregex_iterator(); ++it)
        values.push_back((*it)[1]);
    return values;
}

// The text of the element with the given id, up to its first child element or its end.
std::string text_of(const std::string& dom, const std::string& id)
{
    const std::string open = "id=\"" + id + "\">";
    const std::size_t start = dom.find(open);
    if (start == std::string::npos) return "(no element " + id + ")";
    const std::size_t from = start + open.size();
    return dom.substr(from, dom.find('<', from) - from);
}

// The checks every page must pass once its scripts ran: no script error, the symbols of exactly
// the objects of the shown level, the party on its level, one entry per problem.
void expect_page_shows_level(const std::string& dom, const DungeonModel& model, int level)
{
    EXPECT_NE(dom.find("data-ready=\"yes\""), std::string::npos) << "the page's script did not finish";
    EXPECT_EQ(text_of(dom, "script-errors"), "");

    std::multiset<std::string> expected;
    for (std::size_t i = 0; i < model.objects.size(); ++i)
        if (model.objects[i].level == level) expected.insert(std::to_string(i));
    const auto shown = attribute_values(dom, "data-object");
    EXPECT_EQ(std::multiset<std::string>(shown.begin(), shown.end()), expected) << "level " << level;
    EXPECT_EQ(count_of(dom, "<g class=\"sym"), expected.size());

    const bool party_here = model.entrance && model.entrance->level == level;
    EXPECT_EQ(count_of(dom, "id=\"party-marker\""), party_here ? 1u : 0u) << "level " << level;

    const std::size_t list = dom.find("<ol id=\"problems\">");
    ASSERT_NE(list, std::string::npos);
    const std::string problems = dom.substr(list, dom.find("</ol>", list) - list);
    EXPECT_EQ(count_of(problems, "<li"), std::max<std::size_t>(1, model.problems.size()));
}

// The texts of the entries of the page's problem list, as the page shows them.
std::vector<std::string> problem_entries(const std::string& dom)
{
    const std::size_t list = dom.find("<ol id=\"problems\">");
    const std::string problems = dom.substr(list, dom.find("</ol>", list) - list);
    std::vector<std::string> entries;
    const std::regex entry("<li[^>]*>([^<]*)</li>");
    for (auto it = std::sregex_iterator(problems.begin(), problems.end(), entry); it != std::sregex_iterator(); ++it) {
        std::string text = (*it)[1];
        for (const auto& [escaped, plain] : {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
            for (std::size_t at = text.find(escaped); at != std::string::npos; at = text.find(escaped, at + 1))
                text.replace(at, escaped.size(), plain);
        entries.push_back(text);
    }
    return entries;
}

} // namespace

TEST(MapPageInBrowser, SampleDungeonShowsEveryObjectKindLinkAndTheParty)
{
    // The page as the program writes it; the model of the same conversion says what it must show.
    auto run = page_for(read_file(fs::path(D2L_EXAMPLES_DIR) / "my_dungeon.txt"),
                        read_file(fs::path(D2L_EXAMPLES_DIR) / "obj_list.txt"));
    const fs::path folder = run.page.parent_path() / "sample";
    fs::create_directories(folder);
    for (const char* name : {"my_dungeon.txt", "obj_list.txt"})
        fs::copy_file(fs::path(D2L_EXAMPLES_DIR) / name, folder / name);
    const std::string command = "cd '" + folder.string() + "' && '" + std::string(D2L_BINARY) + "' --map map.html";
    ASSERT_EQ(std::system(command.c_str()), 0);
    run.page = folder / "map.html";
    ASSERT_EQ(run.model.levels.size(), 2u);
    std::set<std::string> kinds;
    std::string every_level;
    for (int level = 0; level < 2; ++level) {
        const std::string dom = browser_dom(run.page, "level=" + std::to_string(level));
        expect_page_shows_level(dom, run.model, level);
        for (const auto& kind : attribute_values(dom, "data-kind")) kinds.insert(kind);
        every_level += dom;
    }
    // Every kind of symbol, a commented object, and every kind of link.
    EXPECT_EQ(kinds.size(), 13u);
    EXPECT_NE(every_level.find("class=\"sym commented\""), std::string::npos);
    for (const char* link : {"link link-target", "link link-door", "class=\"destination-mark\"", "\u2192 level 1",
                             "\u2190 level 0"})
        EXPECT_NE(every_level.find(link), std::string::npos) << link;
}

TEST(MapPageInBrowser, HostileTextsMakeNoElement)
{
    const std::string separator = "/" + std::string(78, '*') + "/\n";
    const std::string hostile = "</script><injected-a>\"'&amp;<!--";
    const std::string dump =
        "[Main Data]\nENTRANCE...(0,0,0," + hostile + ")\n" + separator +
        "[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(3,2)\n1<injected-row>1\n</script><!--\n" + separator +
        "[Items]\n"
        "t1 </script><injected-type> 1 1 0 NORTH TEXT=(</script><injected-text>)\n"
        "t2 TORCH 1 1 0 " + hostile + " TARGET=(x</script><injected-target>)\n"
        "</script><injected-id>\xE9 TORCH 1 1 0\n"
        "t3 TORCH 0 0 0 HOLDS=(</script><injected-held>)\n" +
        separator + "[Characters]\nch-1 (</script><injected-name>) (f) face:X_Y_ONE, (1,1,1) (0,0,0,0) (1,1,1,1,1,1)\n"
                    "[Party]\n" + hostile + "\n";
    const auto run = page_for(dump, "TORCH torch </script><injected-list>");
    ASSERT_GE(run.model.problems.size(), 3u);
    const std::string dom = browser_dom(run.page, "level=0");
    expect_page_shows_level(dom, run.model, 0);
    EXPECT_EQ(dom.find("<injected"), std::string::npos);
    // The texts are shown, as text.
    EXPECT_NE(dom.find("the identifier \"&lt;/script&gt;&lt;injected-id&gt;\\xE9\""), std::string::npos);
    // The problem list holds the messages exactly as printed, the object name list's included.
    EXPECT_EQ(problem_entries(dom), run.messages);
    EXPECT_EQ(run.messages.back().rfind("obj_list.txt:1: warning: ", 0), 0u);
}
