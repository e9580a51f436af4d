// The map page in a real browser: headless Chromium opens it, runs its script and hands back the
// document it built, which must hold what the board painted (every object of the shown level, the
// party, the links and labels), the problems, and nothing that a text of the dump made.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
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
// ("level=N") in its address and what the board painted in the element "board-boxes"; empty, and
// a failed test, when Chromium is missing or fails.
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
                                fragment + "&boxes' > '" + output.string() + "' 2> '" + (folder / "chromium.err").string() + "'";
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

// The first group of every match of the pattern in the text.
std::vector<std::string> matches(const std::string& text, const std::string& pattern)
{
    std::vector<std::string> found;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[1]);
    return found;
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
    const std::string board = text_of(dom, "board-boxes");
    const auto shown = matches(board, "\\{\"object\":(\\d+),");
    EXPECT_EQ(std::multiset<std::string>(shown.begin(), shown.end()), expected) << "level " << level;

    const bool party_here = model.entrance && model.entrance->level == level;
    EXPECT_EQ(board.find("\"party\":null") == std::string::npos, party_here) << "level " << level;

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
        const std::string board = text_of(dom, "board-boxes");
        for (const auto& kind : matches(board, "\"kind\":\"([^\"]*)\"")) kinds.insert(kind);
        for (const auto& kind : attribute_values(dom, "data-kind")) kinds.insert(kind);
        every_level += board;
    }
    // Every kind of symbol (in the legend or on the board), a commented object, every kind of link
    // and the marks of links to other levels.
    EXPECT_EQ(kinds.size(), all_kinds().size());
    for (const char* painted : {"\"commented\":true", "\"how\":\"target\"", "\"how\":\"door\"", "\"rings\":[{",
                                "\"text\":\"\u2192 level 1\"",
                                "\"text\":\"\u2190 level 0\""})
        EXPECT_NE(every_level.find(painted), std::string::npos) << painted;
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
    // The problem list holds the messages exactly as printed, the object name list's first.
    EXPECT_EQ(problem_entries(dom), run.messages);
    EXPECT_EQ(run.messages.front().rfind("obj_list.txt:1:", 0), 0u);
}

namespace {

// One arrow or destination ring the board painted: the objects it joins, and whether it is the
// selected object's own.
struct PaintedLink {
    std::string from;
    std::string to;
    bool mine;
};
std::vector<PaintedLink> painted_links(const std::string& board)
{
    std::vector<PaintedLink> links;
    const std::regex pattern("\\{\"from\":(-?\\d+),(?:\"to\":(-?\\d+),\"how\":\"\\w+\",)?\"mine\":(true|false)\\}");
    for (auto it = std::sregex_iterator(board.begin(), board.end(), pattern); it != std::sregex_iterator(); ++it)
        links.push_back({(*it)[1], (*it)[2], (*it)[3] == "true"});
    return links;
}

// The texts of links to other levels that the board painted, by the square they stand for
// ("x,y"): of the corner marks (kind "badge"), or of the labels shown (kind "label").
std::map<std::string, std::string> level_texts(const std::string& board, const std::string& kind = "badge")
{
    std::map<std::string, std::string> texts;
    const std::regex pattern("\\{\"" + kind + "\":\"([^\"]*)\",\"text\":\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(board.begin(), board.end(), pattern); it != std::sregex_iterator(); ++it)
        texts.emplace((*it)[1], (*it)[2]);
    return texts;
}

// Whether an element of that name carries every one of the attributes with its value.
bool has_element(const std::string& dom, const std::string& name,
                 const std::vector<std::pair<std::string, std::string>>& attributes)
{
    const std::regex pattern("<" + name + "( [^>]*)>");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), pattern); it != std::sregex_iterator(); ++it) {
        bool all = true;
        for (const auto& [attribute, value] : attributes)
            all = all && std::regex_search(std::string((*it)[1]), std::regex(" " + attribute + "=\"" + value + "\""));
        if (all) return true;
    }
    return false;
}

std::string index_of(const DungeonModel& model, const std::string& id)
{
    for (std::size_t i = 0; i < model.objects.size(); ++i)
        if (model.objects[i].id == id) return std::to_string(i);
    ADD_FAILURE() << "no object " << id;
    return "";
}

const std::string separator = "/" + std::string(78, '*') + "/\n";

// Three levels of 5 by 5 squares. On level 0, square (2,2) holds two levers that reach levels 1
// and 2, a teleporter to level 2 and a lever naming no object, and is the target of an object of
// level 2; square (1,1) holds one lever that reaches level 1 and door-c on level 0. Another lever
// and a teleporter link squares of level 0 only.
const std::string three_levels =
    "[Main Data]\nENTRANCE...(1,1,0,NORTH)\n" + separator + "[Layout]\n" +
    "WALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(5,5)\n11111\n10001\n10001\n10001\n11111\n"
    "WALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(5,5)\n11111\n10001\n10001\n10001\n11111\n"
    "WALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(5,5)\n11111\n10001\n10001\n10001\n11111\n" +
    separator +
    "[Items]\n"
    "lever-1 LEVER 2 2 0 NORTH TARGET=(door-a,door-b)\n"
    "lever-2 LEVER 2 2 0 EAST TARGET=(door-a)\n"
    "tele-1 TELEPORTER 2 2 0 DESTINATION=(3,3,2)\n"
    "lever-3 LEVER 2 2 0 SOUTH TARGET=(nowhere)\n"
    "lever-4 LEVER 1 1 0 WEST TARGET=(door-a,door-c)\n"
    "door-c DOOR 3 3 0\n"
    "gate-pull LEVER 3 1 0 NORTH TARGET=(door-c)\n"
    "tele-2 TELEPORTER 3 2 0 DESTINATION=(1,3,0)\n"
    "door-a DOOR 1 1 1\n"
    "key-lever KEY 2 2 1\n"
    "door-b DOOR 1 1 2\n"
    "plate-1 PLATE 3 3 2 TARGET=(lever-1)\n" +
    separator;

const std::string three_levels_names = "LEVER lever DOOR door_wood TELEPORTER teleporter KEY key_iron PLATE pressure_plate";

} // namespace

TEST(MapPageInBrowser, SelectingAnObjectPicksOutItsOwnLinksAndDimsTheOthers)
{
    const auto run = page_for(three_levels, three_levels_names);
    const std::string lever = index_of(run.model, "lever-4");
    const std::string dom = browser_dom(run.page, "select=lever-4");
    expect_page_shows_level(dom, run.model, 0);
    const std::string board = text_of(dom, "board-boxes");
    EXPECT_NE(board.find("\"selected\":" + lever + ","), std::string::npos);
    EXPECT_NE(board.find("\"faint\":0.1,"), std::string::npos) << "the other links are not dimmed";
    // lever-4's own line to door-c stands out; the other lever's line, the teleporter's line and
    // its destination do not.
    const auto links = painted_links(board);
    EXPECT_EQ(links.size(), 4u);
    std::size_t own = 0;
    for (const auto& link : links) {
        const bool its_own = link.from == lever || link.to == lever;
        own += its_own;
        EXPECT_EQ(link.mine, its_own) << link.from << " " << link.to;
    }
    EXPECT_EQ(own, 1u);
    // Only its square, which has a link to level 1, gets a label; every such square has a mark.
    const auto labels = level_texts(board, "label");
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels.count("1,1"), 1u);
    EXPECT_EQ(labels.at("1,1"), "\u2192 level 1");
    EXPECT_NE(board.find("\"text\":\"\u2192 level 1\",\"mine\":true"), std::string::npos);
    EXPECT_EQ(level_texts(board).size(), 2u);
}

TEST(MapPageInBrowser, LinksToOtherLevelsGetOneMarkPerSquareListingTheLevels)
{
    const auto run = page_for(three_levels, three_levels_names);
    const auto labels = level_texts(text_of(browser_dom(run.page, "level=0"), "board-boxes"));
    ASSERT_EQ(labels.size(), 2u);
    ASSERT_EQ(labels.count("2,2"), 1u);
    EXPECT_EQ(labels.at("2,2"), "\u2192 levels 1, 2 \u00b7 \u2190 level 2 \u00b7 \u2192 no such object");
    EXPECT_EQ(labels.at("1,1"), "\u2192 level 1");
    // On level 2: door-b's square, and the plate's square that the teleporter sends to.
    const auto arriving = level_texts(text_of(browser_dom(run.page, "level=2"), "board-boxes"));
    ASSERT_EQ(arriving.size(), 2u);
    ASSERT_EQ(arriving.count("3,3"), 1u);
    EXPECT_EQ(arriving.at("3,3"), "\u2192 level 0 \u00b7 \u2190 level 0");
    EXPECT_EQ(arriving.at("1,1"), "\u2190 level 0");
}

TEST(MapPageInBrowser, SearchSelectsTheBestMatchOnItsLevelAndListsTheOthers)
{
    const auto run = page_for(three_levels, three_levels_names);
    // Any case; an identifier the text equals comes first, though it stands later in the dump.
    std::string dom = browser_dom(run.page, "find=DOOR-A");
    EXPECT_EQ(text_of(dom, "script-errors"), "");
    EXPECT_TRUE(has_element(dom, "button", {{"class", "current"}, {"data-level", "1"}})) << "level 1 was not opened";
    EXPECT_NE(dom.find("<div id=\"info\"><h3>door-a</h3>"), std::string::npos);
    EXPECT_NE(text_of(dom, "board-boxes").find("\"selected\":" + index_of(run.model, "door-a") + ","), std::string::npos);
    // Part of an identifier: those it begins first, then the others, each in dump order.
    dom = browser_dom(run.page, "find=lever");
    const std::size_t list = dom.find("<ul id=\"find-results\"");
    ASSERT_NE(list, std::string::npos);
    std::vector<std::string> found;
    for (const auto& index : attribute_values(dom.substr(list, dom.find("</ul>", list) - list), "data-goto"))
        found.push_back(run.model.objects.at(std::stoul(index)).id);
    EXPECT_EQ(found, (std::vector<std::string>{"lever-1", "lever-2", "lever-3", "lever-4", "key-lever"}));
    EXPECT_NE(dom.find("<div id=\"info\"><h3>lever-1</h3>"), std::string::npos);
    dom = browser_dom(run.page, "find=%3Cnone%3E");
    EXPECT_NE(dom.find("no identifier holds \"&lt;none&gt;\""), std::string::npos);
}

TEST(MapPageInBrowser, KindsAndTheirOrderComeFromTheData)
{
    auto run = page_for(read_file(fs::path(D2L_EXAMPLES_DIR) / "my_dungeon.txt"),
                        read_file(fs::path(D2L_EXAMPLES_DIR) / "obj_list.txt"));
    // The page as the converter would write it with other kinds: a new one, and the rest reversed.
    std::string page = read_file(run.page);
    const std::string kinds = "\"kinds\":[";
    const std::size_t from = page.find(kinds);
    ASSERT_NE(from, std::string::npos);
    const std::size_t to = page.find(']', from);
    const std::vector<std::string> names = {"portal",     "other",      "bomb",          "flask",
                                            "torch",      "holder",     "creature",      "generator",
                                            "floor damager", "shooter", "floor text",    "pit",
                                            "teleporter", "trigger",    "lever or switch", "door button",
                                            "door frame", "door"};
    std::string list;
    for (const auto& name : names) list += (list.empty() ? "\"" : ",\"") + name + "\"";
    page.replace(from + kinds.size(), to - from - kinds.size(), list);
    const std::string pit = "\"kind\":\"pit\"";
    ASSERT_EQ(count_of(page, pit), 1u);
    page.replace(page.find(pit), pit.size(), "\"kind\":\"portal\"");
    write_file(run.page, page);

    const std::string dom = browser_dom(run.page, "level=0");
    EXPECT_EQ(text_of(dom, "script-errors"), "");
    std::vector<std::string> legend;
    const std::regex row("<div class=\"row\" data-kind=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), row); it != std::sregex_iterator(); ++it)
        legend.push_back((*it)[1]);
    EXPECT_EQ(legend, names);
    // A kind the script has no look for is drawn with a look of its own and counted in the header.
    EXPECT_NE(text_of(dom, "board-boxes").find("\"kind\":\"portal\""), std::string::npos);
    EXPECT_NE(dom.find(">portal 1, other "), std::string::npos);
}
