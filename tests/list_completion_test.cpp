// Completing an object name list: the list's bytes kept, one pair per missing word appended with
// the list's own line ends, and the lists that are refused because appended pairs would be lost
// or would damage them.

#include <gtest/gtest.h>

#include <sstream>

#include "conversion/list_completion.h"

namespace {

// The list read from its bytes, with the words looked up as a conversion would look them up.
ObjectList looked_up_in(const std::string& bytes, const std::vector<std::string>& words)
{
    std::istringstream in(bytes);
    ObjectList list = ObjectList::read(in);
    for (const auto& word : words) list.find(word);
    return list;
}

} // namespace

TEST(ListCompletion, KeepsTheListsBytesAndAppendsTheMissingWordsWithItsLineEnds)
{
    const std::string comment =
        "# added by dungeon2lua --update-list: replace each X_UNKNOWN with the target engine's object name";
    const struct {
        std::string list;
        std::string completed;
    } rows[] = {
        {"# doors\r\nDOOR door  \r\n", "# doors\r\nDOOR door  \r\n" + comment + "\r\nRAT X_UNKNOWN\r\nKEY X_UNKNOWN\r\n"},
        {"DOOR door", "DOOR door\n" + comment + "\nRAT X_UNKNOWN\nKEY X_UNKNOWN\n"},
        {"", comment + "\nDOOR X_UNKNOWN\nRAT X_UNKNOWN\nKEY X_UNKNOWN\n"},
    };
    for (const auto& row : rows) {
        const ObjectList list = looked_up_in(row.list, {"DOOR", "RAT", "DOOR", "KEY"});
        ASSERT_FALSE(completion_refusal(list, "obj_list.txt")) << row.list;
        const CompletedList completed = completed_list(row.list, list, "obj_list.txt");
        EXPECT_EQ(completed.bytes, row.completed);
        EXPECT_EQ(completed.summary.substr(0, 27), "obj_list.txt: " + std::to_string(completed.added) + " pairs added");
    }
    const ObjectList whole = looked_up_in("DOOR door RAT X_UNKNOWN", {"RAT", "DOOR"});
    const CompletedList same = completed_list("DOOR door RAT X_UNKNOWN", whole, "obj_list.txt");
    EXPECT_EQ(same.added, 0u);
    EXPECT_EQ(same.bytes, "DOOR door RAT X_UNKNOWN");
    EXPECT_EQ(same.summary, "obj_list.txt: no pair added: the list names every type the dump looks up");
}

TEST(ListCompletion, RefusesAListThatAppendedPairsWouldShiftMissOrTurnIntoLinesOfADump)
{
    const struct {
        std::string list;
        std::string refusal;
    } rows[] = {
        {"DOOR door\nLEVER\n", "has an odd number of words"},
        {std::string("\xFF\xFE" "D\0O\0O\0R\0 \0d\0\n\0", 16), "is UTF-16 text, to which pairs cannot be added"},
        {"[Layout]\nWALLSET(stone)\n", "holds the header \"[Layout]\": it is a dungeon dump"},
    };
    for (const auto& row : rows) {
        const auto refusal = completion_refusal(looked_up_in(row.list, {"RAT"}), "castle/obj_list.txt");
        ASSERT_TRUE(refusal) << row.refusal;
        EXPECT_EQ(refusal->rfind("the object name list castle/obj_list.txt ", 0), 0u) << *refusal;
        EXPECT_NE(refusal->find(row.refusal), std::string::npos) << *refusal;
    }
}
