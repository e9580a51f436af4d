// The object name list: pairs of a word stream whatever its lines, the words a conversion looked
// up in it, and the warnings at the list's lines for what looks like an author's mistake.

#include <gtest/gtest.h>

#include <sstream>

#include "records/object_list.h"

namespace {

ObjectList list_of(const std::string& text)
{
    std::istringstream in(text);
    return ObjectList::read(in);
}

// The list's warnings after the words were looked up, each as "LINE: message".
std::vector<std::string> warnings_of(const std::string& text, const std::vector<std::string>& looked_up)
{
    const ObjectList list = list_of(text);
    for (const auto& word : looked_up) list.find(word);
    std::vector<std::string> shown;
    for (const Problem& problem : list.problems()) {
        EXPECT_EQ(problem.severity, Severity::warning);
        EXPECT_EQ(problem.file, ProblemFile::object_list);
        shown.push_back(std::to_string(problem.line) + ": " + problem.message);
    }
    return shown;
}

} // namespace

TEST(ObjectList, FirstPairWinsAndXUnknownIsNotFound)
{
    auto names = list_of("A one\nA two B X_UNKNOWN\tC three D");
    EXPECT_EQ(names.lookup("A"), "one");
    EXPECT_EQ(names.lookup("B"), std::nullopt);
    EXPECT_EQ(names.lookup("C"), "three");
    EXPECT_EQ(names.lookup("D"), std::nullopt);
    EXPECT_EQ(names.lookup("a"), std::nullopt);
}

TEST(ObjectList, PairsTheWordStreamWhateverItsLines)
{
    const struct {
        std::string text;
        std::string door;
    } cases[] = {
        {"DOOR door_iron\n", "door_iron"},
        {"TORCH torch DOOR door_iron\n", "door_iron"},
        {"DOOR\n\n   door_iron\n", "door_iron"},
        {"DOOR\tdoor_iron\r\n", "door_iron"},
        {"\xEF\xBB\xBF" "DOOR door_iron\n", "door_iron"},
        {"DOOR door_iron DOOR door_wood\n", "door_iron"},
        {"\xEF\xBB\xBF" "DOOR door_iron\r\nDOOR door_wood", "door_iron"},
    };
    for (const auto& c : cases) {
        const ObjectList list = list_of(c.text);
        EXPECT_EQ(list.lookup("DOOR"), c.door) << c.text;
    }
    // A pair split over two lines keeps both lines; a mark before the first type is no part of it.
    const ObjectList split = list_of("\xEF\xBB\xBF" "A a\nB\nb\n");
    ASSERT_EQ(split.pairs().size(), 2u);
    EXPECT_EQ(split.pairs()[0].type, "A");
    EXPECT_EQ(split.pairs()[1].type_line, 2);
    EXPECT_EQ(split.pairs()[1].name_line, 3);
}

TEST(ObjectList, NotesTheWordsLookedUpOnceInOrderOfFirstUse)
{
    const ObjectList list = list_of("DOOR door_iron GHOST X_UNKNOWN TORCH torch\n");
    list.find("GHOST");
    list.lookup("RAT");
    list.find("DOOR");
    list.find("GHOST");
    list.lookup("RAT");
    list.find_unnoted("TORCH");
    // Words that the list cannot hold are not noted: an empty word, one with white space.
    list.find("");
    list.find("MY KEY");
    EXPECT_EQ(list.looked_up(), (std::vector<std::string>{"GHOST", "RAT", "DOOR"}));
    EXPECT_TRUE(list.was_looked_up("RAT"));
    EXPECT_FALSE(list.was_looked_up("TORCH"));
    EXPECT_EQ(looked_up_pairs_text(list), "GHOST X_UNKNOWN\nRAT X_UNKNOWN\nDOOR door_iron\n");

    list.forget_lookups();
    EXPECT_TRUE(list.looked_up().empty());
    EXPECT_FALSE(list.was_looked_up("DOOR"));
    EXPECT_EQ(looked_up_pairs_text(list), "");
}

TEST(ObjectListProblems, EachMistakeIsOneWarningAtTheLineThatHoldsIt)
{
    using Warnings = std::vector<std::string>;
    const std::vector<std::string> door_and_frame = {"DOOR_IRON", "DOOR_FRAME", "LEVER"};
    const struct {
        std::string text;
        std::vector<std::string> looked_up;
        Warnings warnings;
    } cases[] = {
        // Sound lists: one pair a line, several pairs a line, a pair over two lines, repeated
        // pairs with the same name, a name that is its own type.
        {"DOOR_IRON door_iron\nDOOR_FRAME doorframe\n", door_and_frame, {}},
        {"DOOR_IRON door_iron DOOR_FRAME\ndoorframe\nDOOR_IRON door_iron\nLEVER LEVER\n", door_and_frame, {}},
        // A line that lost its name: every later pair is read one word late.
        {"LEVER lever\nDOOR_IRON\nDOOR_FRAME doorframe\n",
         door_and_frame,
         {"3: the object name list has an odd number of words: \"DOOR_FRAME\" at the start of this line is read "
          "as the name of \"DOOR_IRON\" (line 2), and every pair after it is shifted by one word",
          "3: the type \"DOOR_IRON\" is named \"DOOR_FRAME\", which is itself a type of the dump; a word may be "
          "missing before it"}},
        // A pair split over two lines before the lost name is no sign of it.
        {"LEVER\nlever\nDOOR_IRON door_iron\nTORCH\nDOOR_FRAME doorframe\n",
         door_and_frame,
         {"5: the object name list has an odd number of words: \"DOOR_FRAME\" at the start of this line is read "
          "as the name of \"TORCH\" (line 4), and every pair after it is shifted by one word",
          "5: the type \"TORCH\" is named \"DOOR_FRAME\", which is itself a type of the dump; a word may be "
          "missing before it"}},
        // A last word without a name.
        {"DOOR_IRON door_iron\nDOOR_FRAME\n",
         door_and_frame,
         {"2: the object name list has an odd number of words: its last word, \"DOOR_FRAME\", has no name and is "
          "ignored"}},
        // Names in the place of types, from two lost words or a pair written the wrong way round.
        {"door_iron DOOR_IRON\n",
         door_and_frame,
         {"1: the type \"door_iron\" is named \"DOOR_IRON\", which is itself a type of the dump; a word may be "
          "missing before it"}},
        // A name that is a type the dump does not look up is no sign.
        {"DOOR_IRON TORCH\n", door_and_frame, {}},
        // A type named again with another name: the first pair wins.
        {"DOOR_IRON door_iron\nLEVER lever\n\nDOOR_IRON door_wood\n",
         door_and_frame,
         {"4: the type \"DOOR_IRON\" is named again, as \"door_wood\"; the first pair, \"door_iron\" on line 1, "
          "wins"}},
        // An empty list that the dump needs, at its last line; one that it does not need.
        {"", door_and_frame, {"0: the object name list is empty: every object of the dump is written as a comment"}},
        {"\n  \n", door_and_frame, {"2: the object name list is empty: every object of the dump is written as a comment"}},
        {"", {}, {}},
        // The culprit as the author wrote it, bytes that are not UTF-8 shown as \xNN.
        {"K\xE9Y key\nK\xE9Y k\xE9y\n",
         door_and_frame,
         {"2: the type \"K\\xE9Y\" is named again, as \"k\\xE9y\"; the first pair, \"key\" on line 1, wins"}},
    };
    for (const auto& c : cases) EXPECT_EQ(warnings_of(c.text, c.looked_up), c.warnings) << c.text;
}
