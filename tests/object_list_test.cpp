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
        EXPECT_EQ(problem.file, ProblemFile::object_list);
        shown.push_back((problem.severity == Severity::error ? "error " : "") + std::to_string(problem.line) + ": " +
                        problem.message);
    }
    return shown;
}

} // namespace

TEST(ObjectList, FirstPairWinsAndXUnknownIsNotFound)
{
    auto names = list_of("A one\nA two B X_UNKNOWN\tC three D");
    ASSERT_NE(names.find("A"), nullptr);
    EXPECT_EQ(*names.find("A"), "one");
    EXPECT_EQ(names.find("B"), nullptr);
    ASSERT_NE(names.find("C"), nullptr);
    EXPECT_EQ(*names.find("C"), "three");
    EXPECT_EQ(names.find("D"), nullptr);
    EXPECT_EQ(names.find("a"), nullptr);
}

TEST(ObjectList, NotesTheWordsLookedUpOnceInOrderOfFirstUse)
{
    const ObjectList list = list_of("DOOR door_iron GHOST X_UNKNOWN TORCH torch\n");
    // Not noted: a word looked up without noting, a word that no list can hold.
    for (const char* word : {"GHOST", "RAT", "DOOR", "GHOST", "RAT", "", "MY KEY"}) list.find(word);
    list.find_unnoted("TORCH");
    EXPECT_EQ(looked_up_pairs_text(list), "GHOST X_UNKNOWN\nRAT X_UNKNOWN\nDOOR door_iron\n");
    list.forget_lookups();
    EXPECT_EQ(looked_up_pairs_text(list), "");
}

// A mistake that shifts later pairs, or leaves the list of no use, is an error; the others warnings.
TEST(ObjectListProblems, EachMistakeIsOneProblemAtTheLineThatHoldsIt)
{
    const std::vector<std::string> types = {"DOOR_IRON", "DOOR_FRAME", "LEVER"};
    const std::string shifted = ": the object name list has an odd number of words: \"DOOR_FRAME\" at the start of this "
                                "line is read as the name of ";
    const std::string named_as_type = " is named \"DOOR_FRAME\", which is itself a type of the dump; a word may be "
                                      "missing before it";
    const std::string empty = ": the object name list is empty: every object of the dump is written as a comment";
    const auto wide_of = [](const char* encoding) {
        return ": the object name list is " + std::string(encoding) +
               " text, whose words the converter cannot read, so every object is written as a comment; save it "
               "again as UTF-8 (in the editor's \"Save as\", choose the encoding UTF-8) and convert again";
    };
    const struct {
        std::string text;
        std::vector<std::string> looked_up;
        std::vector<std::string> warnings;
    } cases[] = {
        // Several pairs a line, a pair over two lines, a pair repeated, a name that is its own type.
        {"DOOR_IRON door_iron DOOR_FRAME\ndoorframe\nDOOR_IRON door_iron\nLEVER LEVER\n", types, {}},
        // A line that lost its name, after a pair split over two lines (no sign of it).
        {"LEVER\nlever\nDOOR_IRON\nDOOR_FRAME doorframe\n",
         types,
         {"error 4" + shifted + "\"DOOR_IRON\" (line 3), and every pair after it is shifted by one word",
          "4: the type \"DOOR_IRON\"" + named_as_type}},
        {"DOOR_IRON door_iron\nLEVER\n", types,
         {"2: the object name list has an odd number of words: its last word, \"LEVER\", has no name and is ignored"}},
        // A pair written the wrong way round; a name that is a type the dump does not look up.
        {"door_frame DOOR_FRAME\nDOOR_IRON TORCH\n", types, {"1: the type \"door_frame\"" + named_as_type}},
        {"DOOR_IRON door_iron\n\nDOOR_IRON door_wood\n",
         types,
         {"3: the type \"DOOR_IRON\" is named again, as \"door_wood\"; the first pair, \"door_iron\" on line 1, wins"}},
        {"", types, {"error 0" + empty}},
        {"\n\n", types, {"error 2" + empty}},
        // UTF-16 and UTF-32 text, with and without a byte-order mark: that one error, nothing else.
        {std::string("\xFF\xFEL\0E\0V\0E\0R\0 \0l\0\n\0", 18), types, {"error 1" + wide_of("UTF-16")}},
        {std::string("L\0E\0V\0E\0R\0 \0l\0\n\0", 16), {}, {"error 1" + wide_of("UTF-16")}},
        {std::string("L\0\0\0 \0\0\0l\0\0\0", 12), {}, {"error 1" + wide_of("UTF-32")}},
        {"", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(warnings_of(c.text, c.looked_up), c.warnings) << c.text;
}
