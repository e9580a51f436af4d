// The checks of names: targets, held objects, mirrors' champions and door buttons are resolved
// against every object and champion of the dump once its last line is read.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "conversion/convert.h"
#include "test_support.h"

namespace {

const std::string separator = "/" + std::string(78, '*') + "/\n";
const std::string head = "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + separator +
                         "[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(3,3)\n111\n111\n111\n" + separator + "[Items]\n";
// The first item line is line 14.
const std::string names = "DOOR door_wood BUTTON doorbutton LEVER lever CHEST chest KEY key_gold TORCH torch "
                          "MIRROR mirror";
const std::string champion = "[Characters]\nch-x (X) (m) face:X_Y_X, (1,1,1) (0,0,0,0) (1,1,1,1,1,1)\n";

// The warnings of a dump's items (and what follows them), without the file name.
std::vector<std::string> warnings_of(const std::string& items)
{
    const auto run = convert_text(head + items, names);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < run.messages.size()) {
        const std::size_t end = run.messages.find('\n', start);
        std::string line = run.messages.substr(start, end - start);
        lines.push_back(line.substr(line.find(':') + 1));
        start = end + 1;
    }
    return lines;
}

// Where each problem of a dump's items points, as "LINE:COLUMN name" (column 0: the whole line).
std::vector<std::string> places_of(const std::string& items)
{
    std::istringstream dump(head + items);
    std::istringstream list(names);
    const ObjectList object_list = ObjectList::read(list);
    std::ostringstream script;
    Report report;
    convert(dump, script, object_list, report);
    std::vector<std::string> places;
    for (const Problem& problem : report.entries())
        places.push_back(std::to_string(problem.line) + ":" + std::to_string(problem.column) + " " +
                         std::string(kind_of(problem.id).name));
    return places;
}

} // namespace

TEST(References, ANameResolvedAfterTheLastLinePointsAtItsWord)
{
    const struct {
        std::string items;
        std::vector<std::string> places;
    } cases[] = {
        {"l LEVER 0 0 0 TARGET=(door-a , door-b)\ndoor-a DOOR 1 1 0\n", {"14:32 target"}},
        {"m MIRROR 1 1 0 HOLDS=(ch-y)\n", {"14:23 mirror-champion"}},
        {"g GHOST 1 1 0\n", {"14:3 unlisted-type"}},
        // A holder's list, a held holder's list (kept apart from the facts) and a later holder's.
        {"c CHEST 1 1 0 HOLDS=(bag)\nbag CHEST 0 0 -1 HOLDS=(gem-zz)\n", {"15:25 holds"}},
        {"c CHEST 1 1 0 HOLDS=(k)\nd CHEST 2 2 0 HOLDS=(x, k)\nk KEY 0 0 -1\n", {"15:25 held-twice", "15:22 holds"}},
    };
    for (const auto& c : cases) EXPECT_EQ(places_of(c.items), c.places) << c.items;
}

TEST(References, NamesThatReachNoObjectOrChampionAreReportedAtTheirLine)
{
    struct Case {
        const char* name;
        std::string items;
        std::vector<std::string> warnings;
    };
    const std::vector<Case> cases = {
        {"a target that is no object", "l LEVER 0 0 0 TARGET=(door-a,door-b)\ndoor-a DOOR 1 1 0\n",
         {"14: warning: the target \"door-b\" of \"l\" names no object; TVK_door_b is nil in the engine"}},
        {"a target named as the engine sees names", "l LEVER 0 0 0 TARGET=(door_a)\ndoor-a DOOR 1 1 0\n", {}},
        {"a target whose object is a comment", "l LEVER 0 0 0 TARGET=(g)\ng GHOST 1 1 0\n",
         {"14: warning: the target \"g\" of \"l\" names object \"g\", which is written as a comment (the object name "
          "list does not name its type); TVK_g is nil in the engine",
          "15: warning: the object name list does not name the type \"GHOST\": 1 object of it is written as a comment"}},
        {"a target inside nothing", "l LEVER 0 0 0 TARGET=(k)\nk KEY 0 0 -1\n",
         {"14: warning: the target \"k\" of \"l\" names object \"k\", which is written as a comment (no object holds "
          "it); TVK_k is nil in the engine",
          "15: error: no object holds object \"k\"; it is written as a comment"}},
        {"a holder naming no object", "c CHEST 1 1 0 HOLDS=(key-a, gem-zz)\nkey-a KEY 0 0 -1\n",
         {"14: warning: \"c\" holds \"gem-zz\", which is no object"}},
        {"a holder naming a variable", "c CHEST 1 1 0 HOLDS=(key_a)\nkey-a KEY 0 0 -1\n",
         {"14: warning: \"c\" holds \"key_a\", which matches object \"key-a\" only as a variable; a holder names what "
          "it holds by its identifier exactly as written",
          "15: error: no object holds object \"key-a\"; it is written as a comment"}},
        {"a holder naming an object on the map", "c CHEST 1 1 0 HOLDS=(t)\nt TORCH 2 2 0\n",
         {"14: warning: \"c\" holds \"t\", which stands on the map (its level is not -1), so it is not held"}},
        {"a mirror's champion that is never defined", "m MIRROR 1 1 0 HOLDS=(ch-y)\n" + champion,
         {"14: warning: the mirror \"m\" holds the champion \"ch-y\", which no champion line defines"}},
        {"a mirror's champion defined below", "m MIRROR 1 1 0 HOLDS=(ch-x)\n" + champion, {}},
        {"a door button with nothing to open", "b BUTTON 1 1 0\n",
         {"14: warning: the door button \"b\" has no door on its square and no target of its own; it opens nothing"}},
        {"a door button with a target", "b BUTTON 1 1 0 TARGET=(d)\nd DOOR 2 2 0\n", {}},
        {"a door button on its door's square, the door below it", "b BUTTON 1 1 0\nd DOOR 1 1 0\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(warnings_of(c.items), c.warnings);
    }
}

TEST(References, ScriptStaysAsItWasWhenNamesAreChecked)
{
    // The checks only add messages: the same dump with and without its mistake gives the same
    // statements for every object that both hold.
    const auto with_mistake = convert_text(head + "l LEVER 0 0 0 TARGET=(nobody)\n", names);
    EXPECT_NE(with_mistake.script.find("exvar[TVK_l]={target=TVK_nobody}\n"), std::string::npos);
    EXPECT_EQ(with_mistake.status, 0);
}

TEST(References, EdgesOfTheNameChecksSayWhatTheySayToday)
{
    // Messages are compared by place and key words: names and columns may be added to them.
    struct Case {
        const char* name;
        std::string items;
        std::vector<Said> said;
    };
    const auto at = [](int line, const char* severity, std::vector<std::string> words) {
        return Said{"my_dungeon.txt:" + std::to_string(line) + ": " + severity, std::move(words)};
    };
    const std::vector<Case> cases = {
        {"a door button off the grid is a comment and opens nothing silently", "b BUTTON -1 1 0\n",
         {at(14, "error", {"\"b\"", "-1,1", "written as a comment"})}},
        {"blanks in a target are dropped as in the variable", "l LEVER 0 0 0 TARGET=(door a)\ndoora DOOR 1 1 0\n", {}},
        {"an unlisted object's target is not checked", "g GHOST 1 1 0 TARGET=(nobody)\n",
         {at(14, "warning", {"\"GHOST\""})}},
        {"an unlisted held object named by a target gives the list's reason",
         "l LEVER 0 0 0 TARGET=(k)\nc CHEST 1 1 0 HOLDS=(k)\nk GEM 0 0 -1\n",
         {at(14, "warning", {"\"k\"", "the object name list does not name its type", "TVK_k"}),
          at(16, "warning", {"\"GEM\""})}},
        {"an unlisted object off the grid named by a target gives the list's reason",
         "l LEVER 0 0 0 TARGET=(g)\ng GHOST -1 1 0\n",
         {at(14, "warning", {"\"g\"", "the object name list does not name its type", "TVK_g"}),
          at(15, "error", {"\"g\"", "-1,1"}), at(15, "warning", {"\"GHOST\""})}},
        // Messages stand in the order of their lines.
        {"a later holder, then a held object without holder above it",
         "c1 CHEST 1 1 0 HOLDS=(k)\nk KEY 0 0 -1\no KEY 0 0 -1\nc2 CHEST 2 2 0 HOLDS=(k)\n",
         {at(16, "error", {"no object holds", "\"o\""}), at(17, "error", {"\"k\"", "\"c1\"", "\"c2\""})}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(messages_say(convert_text(head + c.items, names).messages, c.said));
    }
}
