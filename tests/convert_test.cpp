// The driver: sections, header quirks, the file skeleton, and the rule breaks it reports.

#include <gtest/gtest.h>

#include <sstream>

#include "conversion/convert.h"
#include "test_support.h"

namespace {

const std::string separator = "/" + std::string(78, '*') + "/\n";
const std::string header = "\ndungeon_name=\"VORHANE\"\n\n";
const std::string closing = "\nkel_spawnburst_end()\n\ndungeon_translate()\n";
const std::string one_level = "[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(1,1)\n1\n" + separator;
const std::string one_level_map = "\nkel_text2map(0, 1, 1, 5, 0, {\n\"1\",\n} )\n";
const std::string entrance = "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + separator;
const std::string placement = "\nkel_party_place(0,0,0,NORTH)\n\n";
// Two champions for the roster lines to name, and what their section writes.
const std::string champions = "[Characters]\nch-7 (Seven) (m) face:X_Y_SEVEN, (1,1,1) (0,0,0,0) (1,1,1,1,1,1)\n"
                              "ch1 (One) (f) face:X_Y_ONE, (1,1,1) (0,0,0,0) (1,1,1,1,1,1)\n";
const std::string champion_definitions =
    "\nch_7=kel_add_champion(\"port_seven\",\"Seven\",\"\",10,10,10,10,10,10,10,10,10,500,0,0,0,0)\n"
    "ch1=kel_add_champion(\"port_one\",\"One\",\"\",10,10,10,10,10,10,10,10,10,500,0,0,0,0)\n";

} // namespace

TEST(Driver, AnInputWithoutAHeaderLineIsNotADumpAndGivesNothing)
{
    // An empty input, text, a script, a picture, UTF-16 text, headers that are not whole lines.
    for (const std::string& input : {std::string(), std::string("hello\n"), header + closing,
                                      std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
                                      std::string("\xFF\xFE[\0L\0a\0y\0o\0u\0t\0]\0\n\0", 20),
                                      separator + "[Layout] x\n[layout]\n"}) {
        auto run = convert_text(input, "TORCH torch TORCH\n");
        EXPECT_EQ(run.status, 1) << input;
        EXPECT_EQ(run.script + run.messages, "") << input;
    }
    // One header line anywhere makes a dump, a byte-order mark before it aside.
    auto run = convert_text("some words\n\xEF\xBB\xBF[Party]\n", "");
    EXPECT_EQ(run.status, 1);
    run = convert_text("\xEF\xBB\xBF[Party]\n", "");
    EXPECT_EQ(run.script, header + "\n" + closing);
    EXPECT_EQ(run.messages, "my_dungeon.txt:1: error: the dump has no entrance line; the party is not placed\n");
}

TEST(Driver, CleanDumpPrintsNothing)
{
    auto run = convert_text(entrance + one_level, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.messages, "");
    EXPECT_EQ(run.script, header + "\n" + one_level_map + closing + placement);
}

TEST(Driver, CarriageReturnsAndAMissingLastLineEndChangeNothing)
{
    std::string crlf;
    for (char c : entrance + one_level) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    crlf.pop_back();
    crlf.pop_back();
    auto run = convert_text(crlf, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.script, header + "\n" + one_level_map + closing + placement);
}

// The message for an input that is not a dump says what its text shows, and nothing it does not.
TEST(Driver, AnInputWithoutAHeaderLineSaysWhatItsTextShows)
{
    const struct {
        std::string input;
        const char* says;
    } cases[] = {
        {std::string("\xFF\xFE[\0L\0", 6), "my_dungeon.txt is UTF-16 text, whose header lines"},
        {std::string("\0[\0L\0a\0y", 8), "my_dungeon.txt is UTF-16 text"},
        {std::string("[\0\0\0L\0\0\0", 8), "my_dungeon.txt is UTF-32 text"},
        {"DOOR door_wood\n# the levers\n\nLEVER lever\n", "; it reads as an object name list: were the dump and the object name list swapped?"},
        {"hello, world\n", "header line)"},
        {"TORCH\n", "header line)"},
        {std::string("GIF89a\1\0\1\0\200\0\0\377", 14), "header line)"},
    };
    for (const auto& c : cases) {
        std::istringstream dump(c.input);
        std::ostringstream script;
        Report report;
        NotADump why;
        EXPECT_EQ(convert(dump, script, ObjectList(), report, nullptr, &why), status_no_file);
        const std::string message = not_a_dump_message("my_dungeon.txt", why);
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_TRUE(message.ends_with(c.says) || std::string_view(c.says).starts_with("my_dungeon")) << message;
    }
}

TEST(HeaderQuirks, CharactersFollowedByPartyStartsBothInOnePass)
{
    auto run = convert_text(entrance + one_level + champions + "[Characters]\n[Party]\nch-7\n", "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.script, header + "\n" + one_level_map + champion_definitions + "\n\nkel_champion_toparty(0,ch_7)\n" +
                              closing + placement);
}

// The line read at once after "[Party]" is tested as a header again: "[Characters]" there starts
// its section rather than being lost as a roster line.
TEST(HeaderQuirks, PartyDirectlyFollowedByCharactersStartsTheCharacters)
{
    auto run = convert_text(entrance + one_level + "[Party]\n" + champions + "[Party]\nch-7\n", "");
    EXPECT_EQ(run.script, header + "\n" + one_level_map + "\n" + champion_definitions +
                              "\nkel_champion_toparty(0,ch_7)\n" + closing + placement);
    EXPECT_EQ(run.messages, "");
}

TEST(HeaderQuirks, HeadersMustMatchTheWholeLineExactly)
{
    // A near header is no roster line, and a padded header of the section being read is passed over:
    // both are only reported.
    auto run = convert_text(entrance + one_level + champions + "[Party]\nch1\n[party]\n[Party] \n", "");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(messages_say(run.messages, {{"my_dungeon.txt:16: warning", {"\"[party]\""}},
                                            {"my_dungeon.txt:17: warning", {"\"[Party] \"", "passed over"}}}));
    EXPECT_EQ(run.script, header + "\n" + one_level_map + champion_definitions + "\nkel_champion_toparty(0,ch1)\n" +
                              closing + placement);
}

TEST(HeaderQuirks, ItemsTwiceBeginsTheBurstTwiceAndEndsItOnce)
{
    auto run = convert_text(entrance + one_level + "[Items]\n[Items]\n", "");
    EXPECT_EQ(run.script, header + "\n" + one_level_map + "\nkel_spawnburst_begin()\n\nkel_spawnburst_begin()\n" +
                              closing + placement);
}

TEST(HeaderQuirks, LinesAfterTheSeparatorAreIgnored)
{
    auto run = convert_text(entrance + one_level + "ENTRANCE...(9,9,9,WEST)\n[Main Data]\n" + separator +
                                "ENTRANCE...(9,9,9,WEST)\n",
                            "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.script, header + "\n" + one_level_map + "\n" + closing + placement);
}

TEST(DriverRuleBreaks, EntranceOnNoLevelOrWithABadFacingIsNotPlaced)
{
    auto bad_level = convert_text("[Main Data]\nENTRANCE...(0,0,3,NORTH)\n" + separator + one_level, "");
    EXPECT_EQ(bad_level.status, 2);
    EXPECT_EQ(bad_level.script, header + "\n" + one_level_map + closing);
    EXPECT_EQ(bad_level.messages, "my_dungeon.txt:2: error: the entrance level 3 is not a level; the party is not placed\n");

    auto bad_facing = convert_text("[Main Data]\nENTRANCE...(0,0,0,os.exit)\n" + separator + one_level, "");
    EXPECT_EQ(bad_facing.script, header + "\n" + one_level_map + closing);
    EXPECT_EQ(bad_facing.status, 2);
}

TEST(DriverRuleBreaks, SecondLayoutSectionIsReportedAndIgnored)
{
    auto run = convert_text(entrance + one_level + one_level, "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.script, header + "\n" + one_level_map + "\n" + closing + placement);
    EXPECT_EQ(run.messages, "my_dungeon.txt:11: error: a second layout section is ignored\n");
}

TEST(DriverRuleBreaks, ItemsBeforeTheLayoutAreSkipped)
{
    auto run = convert_text(entrance + "[Items]\n1 TORCH 0 0 0\n" + one_level, "TORCH torch\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.messages, "my_dungeon.txt:4: error: the items section stands before the layout section, whose levels "
                            "its objects stand on; every object of it is skipped (the layout section must come first)\n");
}

TEST(DriverRuleBreaks, EndOfInputInsideTheLayoutStillEndsTheRun)
{
    auto run = convert_text(entrance + "[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(1,4)\n1\n", "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.script, header + "\n\n" + closing);
}

// A line near a section header is reported with the header meant; other bracketed lines are
// sections the converter does not read. An item line that no section reads is reported. The
// script stays as it was.
TEST(Driver, NearHeadersAndItemLinesOutsideEverySectionAreReported)
{
    const std::string items = "[Items]\nt1 TORCH 0 0 0\n";
    struct Case {
        const char* name;
        std::string dump;
        std::string messages;
    };
    const std::vector<Case> cases = {
        {"lower case", entrance + one_level + "[items]\nt1 TORCH 0 0 0\n",
         "my_dungeon.txt:11: error: \"[items]\" is not a section header; the header is written \"[Items]\"; 1 "
         "non-empty line below it (line 12) is not read as that section\n"},
        {"a letter missing", entrance + one_level + "[Item]\n",
         "my_dungeon.txt:11: warning: \"[Item]\" is not a section header; the header is written \"[Items]\"\n"},
        {"a trailing blank", "[Main data]\n" + one_level + "[Items] \n",
         "my_dungeon.txt:1: warning: \"[Main data]\" is not a section header; the header is written \"[Main Data]\"\n"
         "my_dungeon.txt:9: warning: the header \"[Items] \" has blanks or tabs around it; it is read as the header "
         "\"[Items]\"\n"
         "my_dungeon.txt:9: error: the dump has no entrance line; the party is not placed\n"},
        {"a separator one star short", entrance + one_level + "/" + std::string(77, '*') + "/\n",
         "my_dungeon.txt:11: warning: \"/" + std::string(77, '*') +
             "/\" is not a section header; the header is written \"/" + std::string(78, '*') + "/\"\n"},
        {"a section of its own", entrance + one_level + "[Notes]\nsome text\n" + items, ""},
        {"a bracketed line in the items section", entrance + one_level + items + "[Notes]\n",
         "my_dungeon.txt:13: warning: the line \"[Notes]\" starts no section the converter reads; it is passed over, "
         "and the items section goes on below it\n"},
        {"an item after the separator", entrance + one_level + items + separator + "t2 TORCH 0 0 0\n; t3 TORCH\n",
         "my_dungeon.txt:14: warning: the object \"t2\" stands after a separator line and before the next header, "
         "where no section reads it; it is not read\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = convert_text(c.dump, "TORCH torch");
        EXPECT_EQ(run.messages, c.messages);
    }
}

TEST(ListChecks, TheDumpLooksUpItemTypesAndTheObjectWordsOfItsKeywordsAndHearsOfTheListLast)
{
    std::istringstream dump(entrance + one_level + "[Items]\n1 TRIGGER 0 0 0 CENTER OPBY=(KEY_IRON)\n"
                            "2 ALTAR 0 0 0 CENTER OPBY=(MONSTER)\n3 ALTAR 0 0 0 CENTER OPBY=(PARTY)\n"
                            "4 SHOOTER 0 0 0 CENTER SHOOTS=(FIREBALL)\n5 SHOOTER 0 0 0 CENTER SHOOTS=(OBJECT)\n"
                            "6 GENERATOR 0 0 0 CENTER GENERATES=(RAT)\n7 TORCH 0 0 0 CENTER OPBY=(MY KEY)\n");
    std::istringstream list_text("SHOOTER shooter TORCH torch\nGENERATOR ALTAR\n");
    const ObjectList names = ObjectList::read(list_text);
    names.find("NOT_IN_THE_DUMP");
    std::ostringstream script;
    Report report;
    EXPECT_EQ(convert(dump, script, names, report), 0);
    // Not the flag words of OPBY=(, not SHOOTS=(OBJECT), not a word that no list can hold.
    EXPECT_EQ(names.looked_up(),
              (std::vector<std::string>{"TRIGGER", "KEY_IRON", "ALTAR", "SHOOTER", "FIREBALL", "GENERATOR", "RAT", "TORCH"}));
    EXPECT_EQ(plain_lines(report).front(), "obj_list.txt:2: warning: the type \"GENERATOR\" is named \"ALTAR\", which is "
                                     "itself a type of the dump; a word may be missing before it");
}

TEST(HeaderQuirks, EdgesOfTheLayoutAndHeadersSayWhatTheySayToday)
{
    // Messages are compared by place and key words: names and columns may be added to them.
    struct Case {
        const char* name;
        std::string dump;
        std::vector<Said> said;
        // A statement the script holds, or (after a '!') one it must not hold.
        std::vector<std::string> script_parts;
    };
    const auto at = [](int line, const char* severity, std::vector<std::string> words) {
        return Said{"my_dungeon.txt:" + std::to_string(line) + ": " + severity, std::move(words)};
    };
    const auto level = [](const std::string& size_and_rows) {
        return "[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\n" + size_and_rows + separator;
    };
    const std::string three = level("SIZE(3,3)\n111\n111\n111\n");
    const std::string torch = "t TORCH 1 1 0\n";
    const std::vector<Case> cases = {
        {"a row narrower than its SIZE width is written as it stands",
         entrance + level("SIZE(4,3)\n1111\n101\n1111\n") + "[Items]\n" + torch,
         {at(10, "warning", {"row 2", "3 squares", "4"})}, {"\"101\",\n", "TVK_t=kel_spawn("}},
        {"a header with trailing blanks is read as that header", entrance + three + "[Items]  \n" + torch,
         {at(13, "warning", {"\"[Items]  \"", "blanks", "\"[Items]\""})}, {"TVK_t=", "kel_spawnburst_begin"}},
        {"a header without its bracket is no header, and loses the line below it", entrance + three + "[Items\n" + torch,
         {at(13, "error", {"\"[Items\"", "\"[Items]\"", "1 non-empty line", "line 14"})}, {"!TVK_t="}},
        {"an item line after the main data's separator is not read",
         "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n" + separator + "t0 TORCH 1 1 0\n" + three + "[Items]\n" + torch,
         {at(4, "warning", {"\"t0\"", "not read"})}, {"!TVK_t0=", "TVK_t=kel_spawn("}},
        {"a destination inside a level wider than high",
         entrance + level("SIZE(4,3)\n1111\n1001\n1111\n") + "[Items]\nt TELE 1 1 0 CENTER DESTINATION=(3,1,0)\n",
         {}, {"exvar[TVK_t]={silent=true,x=3,y=1,lev=0}\n"}},
        {"a sound with an empty name is left out", entrance + three + "[Items]\nd DOOR 1 1 0 SOUND:SOUND_DOOR_\n",
         {at(14, "error", {"\"SOUND:SOUND_DOOR_\"", "left out"})}, {"exvar[TVK_d]={}\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto run = convert_text(c.dump, "DOOR door_wood TELE teleporter TORCH torch");
        EXPECT_TRUE(messages_say(run.messages, c.said));
        for (const auto& part : c.script_parts) {
            if (part[0] == '!') EXPECT_EQ(run.script.find(part.substr(1)), std::string::npos) << part << "\n" << run.script;
            else EXPECT_NE(run.script.find(part), std::string::npos) << part << "\n" << run.script;
        }
    }
}
