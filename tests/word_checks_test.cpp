// The words of an item line that look like a mistake: each gives a warning at its line, and the
// script stays as it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::string separator = "/" + std::string(78, '*') + "/\n";
const std::string head = "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + separator +
                         "[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(3,3)\n111\n111\n111\n" + separator + "[Items]\n";
const std::string names = "DOOR door_wood LEVER lever TELE teleporter SHOOTER shooter DAMAGER floordamager "
                          "GEN generator ALTAR altar PIT pit TRIG trigger RAT rat ZOMBIE zombie X x FIREBALL fireball "
                          "KEY_IRON key_iron";

// The messages of one item line (line 14) after its script, and whether the script is the one of
// the line without its mistaken words.
std::string messages_of(const std::string& line)
{
    return convert_text(head + line + "\n", names).messages;
}

std::string warning_at_14(const std::string& what)
{
    return "my_dungeon.txt:14: warning: " + what + "\n";
}

} // namespace

TEST(WordChecks, MistakesInAnItemLineAreReportedAtItsLine)
{
    struct Case {
        const char* line;
        std::string messages;
    };
    const std::vector<Case> cases = {
        {"l LEVER 0 0 0 NORTH TARGT=(d)",
         warning_at_14("the word \"TARGT=(\" is no keyword; \"TARGET=(\" is meant? It is passed over")},
        {"g GEN 1 1 0 CENTER GENERATES=(RAT) HEALHT=(5)",
         warning_at_14("the word \"HEALHT=(\" is no keyword; \"HEALTH=(\" is meant? It is passed over")},
        {"t TELE 1 1 0 CENTER DESTINATON=(1,1,0)",
         warning_at_14("the word \"DESTINATON=(\" is no keyword; \"DESTINATION=(\" is meant? It is passed over")},
        {"l LEVER 0 0 0 NORTH SUBTARGET=(d)\nd DOOR 1 1 0",
         warning_at_14("the word \"SUBTARGET=(\" is read as the keyword \"TARGET=(\", which it holds")},
        {"a ALTAR 1 1 0 CENTER WEIGHT=(5) COLOUR:RED", ""},
        {"l LEVER 0 0 0 NROTH", warning_at_14("the placement \"NROTH\" is not a placement word (\"NORTH\" is meant?); "
                                              "the object stands at CENTER")},
        {"l LEVER 0 0 0 north", warning_at_14("the placement \"north\" is not a placement word (\"NORTH\" is meant?); "
                                              "the object stands at CENTER")},
        {"l LEVER 0 0 0 CENTER", ""},
        {"d DOOR 1 1 0 STATE=(CLOSSED)", warning_at_14("the state \"CLOSSED\" is no state the converter knows "
                                                       "(\"CLOSED\" is meant?); it does nothing")},
        {"d DOOR 1 1 0 STATE=(OPEN) OPBY=(ZOMBIE)", ""},
        {"t TELE 1 1 0 CENTER DESTINATION=(1,1,0) ROTATE:LFET)",
         warning_at_14("the rotation \"LFET\" names no facing or turn (\"LEFT\" is meant?); the object does not turn")},
        {"a ALTAR 1 1 0 CENTER TEXT=(DO NOT RELEASE)",
         warning_at_14("the keyword \"RELEASE\" stands inside the TEXT=( value, where it is read all the same")},
        {"DISABLE_SELF ALTAR 1 1 0",
         warning_at_14("the identifier \"DISABLE_SELF\" holds the keyword \"DISABLE_SELF\", which is read all the same")},
        {"a ALTAR 1 1 0 CENTER DELAY:3", warning_at_14("DELAY: does nothing without TARGET=(")},
        {"a ALTAR 1 1 0 CENTER ROTATE:LEFT)", warning_at_14("ROTATE: does nothing without DESTINATION=(")},
        {"a ALTAR 1 1 0 CENTER DAMAGE=(5)",
         warning_at_14("DAMAGE=( does nothing for \"a\", whose object \"altar\" does not read it")},
        {"a ALTAR 1 1 0 CENTER SHOOTS=(X)",
         warning_at_14("SHOOTS=( does nothing for \"a\", whose object \"altar\" does not read it")},
        {"f DAMAGER 1 1 0 CENTER DAMAGE=(5) TYPE=(3)", ""},
        {"s SHOOTER 1 1 0 NORTH SHOOTS=(X) STRENGTH=(4) TYPE=(DOUBLE)", ""},
        {"a ALTAR 1 1 0 CENTER NUMBERS=(1-2)",
         warning_at_14("NUMBERS=( does nothing for \"a\", whose object \"altar\" does not read it")},
        {"l LEVER 0 0 0 NORTH TARGET=(d,NULL)\nd DOOR 1 1 0",
         warning_at_14("NULL in TARGET=(d,NULL) withdraws every target of the list")},
        {"l LEVER 0 0 0 NORTH TARGET=(NULL) DELAY:2", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(messages_of(c.line), c.messages);
    }
}

TEST(WordChecks, WellFormedLinesOfEveryKindAreSilent)
{
    const std::string items = "d DOOR 1 1 0 NORTH STATE=(CLOSED)\n"
                              "l LEVER 0 0 0 EAST STATE:B OPBY=(PARTY) TARGET=(d, t) DELAY:5, TOGGLE SOUND:SOUND_STD_LEVER)\n"
                              "t TELE 2 2 0 CENTER DESTINATION=(1,1,0) ROTATE:180)\n"
                              "s SHOOTER 1 0 0 SOUTH SHOOTS=(FIREBALL) STRENGTH=(40) TYPE=(DOUBLE)\n"
                              "f DAMAGER 1 2 0 CENTER DAMAGE=(12) TYPE=(3)\n"
                              "g GEN 0 2 0 CENTER GENERATES=(RAT) HEALTH=(30) NUMBERS=(1-3) RECHARGE_TIME:20)\n"
                              "a ALTAR 2 1 0 WEST TEXT=(WELCOME, TRAVELLER) COUNT=(3) CHARGE=(7) ACTION=(DESTROY)\n"
                              "p PIT 2 0 0 STATE=(OPEN)\n"
                              "tr TRIG 0 1 0 CENTER TARGET=(p) OPBY=(KEY_IRON) DEACTIVATE DESTROY_ITEM DISABLE_SELF "
                              "CONSTANT_WEIGHT RELEASE\n";
    const auto run = convert_text(head + items, names);
    EXPECT_EQ(run.messages, "");
    EXPECT_EQ(run.status, 0);
}

TEST(WordChecks, EdgesOfTheChecksSayWhatTheySayToday)
{
    // Messages are compared by place and key words: names and columns may be added to them.
    struct Case {
        const char* line;
        std::vector<Said> said;
        const char* names = "";
    };
    const auto warning = [](int line, std::vector<std::string> words) {
        return Said{"my_dungeon.txt:" + std::to_string(line) + ": warning", std::move(words)};
    };
    const std::vector<Case> cases = {
        // Only the first TEXT=( value is searched for keywords.
        {"a ALTAR 1 1 0 CENTER TEXT=(DO NOT RELEASE THE WATER) TEXT=(x)",
         {warning(14, {"TEXT=(", "twice", "the first"}), warning(14, {"\"RELEASE\"", "TEXT=("})}},
        // SUBTARGET=( is read as TARGET=(, so DELAY: has its target.
        {"l LEVER 0 0 0 NORTH SUBTARGET=(door-a) DELAY:5\ndoor-a DOOR 1 1 0",
         {warning(14, {"\"SUBTARGET=(\"", "\"TARGET=(\""})}},
        // A held object has no placement: its sixth token is not checked.
        {"c ALTAR 1 1 0 CENTER HOLDS=(k)\nk TRIG 0 0 -1 NROTH", {}},
        // A listed type that holds a keyword is reported at every line of it.
        {"t1 TOGGLE_TORCH 1 1 0\nt2 TOGGLE_TORCH 1 1 0",
         {warning(14, {"\"TOGGLE_TORCH\"", "\"TOGGLE\""}), warning(15, {"\"TOGGLE_TORCH\"", "\"TOGGLE\""})},
         " TOGGLE_TORCH torch"},
        // An unlisted object is a comment: what it would read is not checked.
        {"s SHOOTERX 1 1 0 NORTH SHOOTS=(X)", {warning(14, {"\"SHOOTERX\"", "written as a comment"})}},
        // A byte of 0x80 or more after a near-keyword ends the word.
        {"a ALTAR 1 1 0 CENTER SOUDN:\xc3\xa9", {warning(14, {"\"SOUDN:\"", "\"SOUND:\""})}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_TRUE(messages_say(convert_text(head + c.line + "\n", names + c.names).messages, c.said));
    }
}

TEST(WordChecks, ValuesAndLetterCaseAreCheckedWhereTheyAreRead)
{
    struct Case {
        const char* line;
        std::vector<Said> said;
    };
    const auto warning = [](std::vector<std::string> words) { return Said{"my_dungeon.txt:14: warning", std::move(words)}; };
    const std::vector<Case> cases = {
        // Legal look-alikes of the mistakes say nothing.
        {"l LEVER 0 0 0 NORTH TARGET=(d) DEACTIVATE\nd DOOR 1 1 0", {}},
        {"l LEVER 0 0 0 NORTH TARGET=(d) SOUND:NULL TOGGLE\nd DOOR 1 1 0", {}},
        {"l LEVER 0 0 0 NORTH TARGET=(d) SOUND:SOUND_STD_BIG LEVER, TOGGLE\nd DOOR 1 1 0", {}},
        {"a ALTAR 1 1 0 center COUNT=(0) COUNT=(0) TEXT=(pull, then toggle: target x, release)", {}},
        {"l LEVER 0 0 0 NORTH TARGET=(d, toggle) DELAY:1, ACTIVATE\nd DOOR 1 1 0\ntoggle DOOR 1 1 0", {}},
        {"g GEN 1 1 0 CENTER GENERATES=(RAT) HEALTH=(0) NUMBERS=(2-2)", {}},
        {"t TELE 1 1 0 CENTER DESTINATION=(1,1,0) ROTATE:LEFT DISABLE_SELF)", {}},
        // Words in another letter case name the word they are; SUBTARGET=( is no second TARGET=(.
        {"l LEVER 0 0 0 NORTH SUBTARGET=(d) TARGET=(e)\nd DOOR 1 1 0\ne DOOR 1 1 0", {warning({"SUBTARGET=("})}},
        {"l LEVER 0 0 0 southeast", {warning({"\"southeast\"", "\"SOUTHEAST\" is meant"})}},
        {"t TELE 1 1 0 CENTER DESTINATION=(1,1,0) ROTATE:Right)", {warning({"\"Right\"", "\"RIGHT\" is meant"})}},
        {"d DOOR 1 1 0 STATE=( invisible )", {warning({"\"INVISIBLE\" is meant"})}},
        {"a ALTAR 1 1 0 CENTER OPBY=(ZOMBIE, all)", {warning({"\"all\" in OPBY=(", "\"ALL\""})}},
        {"a ALTAR 1 1 0 CENTER Disable_Self", {warning({"\"Disable_Self\"", "\"DISABLE_SELF\""})}},
        // Which of two values is read, and which message wins.
        {"d DOOR 1 1 0 STATE=(OPEN) STATE=(CLOSED)", {warning({"STATE=( stands twice", "the first, \"OPEN\""})}},
        {"a ALTAR 1 1 0 CENTER SOUND:SOUND_STD_A, SOUND:NULL", {warning({"SOUND:NULL is read"})}},
        {"l LEVER 0 0 0 NORTH TARGET=(d) REACTIVATE DEACTIVATE\nd DOOR 1 1 0",
         {warning({"ACTIVATE and DEACTIVATE", "DEACTIVATE, the later"})}},
        {"a ALTAR 1 1 0 CENTER TOGGLE ACTIVATE ACTION=(DESTROY)",
         {warning({"ACTIVATE, TOGGLE and ACTION=(DESTROY)", "ACTION=(DESTROY), the later"})}},
        // A rotation runs into a keyword harmfully only when the text after it turns the object too.
        {"t TELE 1 1 0 CENTER DESTINATION=(1,1,0 ROTATE:WEST TEXT=(NORTH)",
         {warning({"DESTINATION=(", "\"ROTATE:\""}), warning({"ROTATE:", "\"NORTH\" decides"})}},
        {"i FLASK 1 1 0 CENTER CHARGE=(-1)", {warning({"charge -1", "flask's power level is 1"})}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_TRUE(messages_say(convert_text(head + c.line + "\n", names + " FLASK flask_oil").messages, c.said));
    }
}
