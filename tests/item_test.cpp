// Item records: the item line and its spawn statement, the links to holders and doors.

#include <gtest/gtest.h>

#include <sstream>

#include "itempass/item_line.h"
#include "itempass/item_statements.h"
#include "records/held_list.h"
#include "records/item.h"
#include "test_support.h"
#include "text/lua_text.h"

namespace {

ObjectList names_of(const std::string& pairs)
{
    std::istringstream in(pairs);
    return ObjectList::read(in);
}

const ObjectList worked_names =
    names_of("TYPE_LEVER lever TYPE_SWITCH button TYPE_PIT pit TYPE_TORCH torch\n");

// Level 0 has the column offset 2 and the row offset 1.
const Levels& worked_levels()
{
    static const Levels levels = levels_at({{2, 1}});
    return levels;
}

Item item_from(const std::string& line, const ObjectList& names = worked_names)
{
    return translated_line(line, names, worked_levels()).item;
}

// What item_line_problem says of a line, from its leading tokens as the item pass reads them.
std::optional<std::string> line_problem(const std::string& line, const Levels& levels, const ObjectList& names)
{
    const LeadingTokens tokens = leading_tokens(line);
    const std::string* listed = nullptr;
    const auto problem = item_line_problem(tokens, place_of(tokens), levels, names, listed);
    if (!problem) return std::nullopt;
    return problem->message;
}

} // namespace

TEST(MakeItem, WorkedTableGivesTheSpawnStatements)
{
    struct Row {
        const char* line;
        bool off_map;
        const char* spawn;
    };
    const Row rows[] = {
        {"7 TYPE_LEVER 3 4 0 WEST STATE:B", false, "TVK_7=kel_spawn(\"lever_down\",0,5,5,WEST)\n"},
        {"7 TYPE_LEVER 3 4 0 WEST", false, "TVK_7=kel_spawn(\"lever_up\",0,5,5,WEST)\n"},
        {"8 TYPE_SWITCH 1 1 0 north STATE:B", false, "TVK_8=kel_spawn(\"button_pushed\",0,3,2,CENTER)\n"},
        {"9 TYPE_PIT 3 4 0 SOUTH", false, "TVK_9=spawn_pit(0,5,5)\n"},
        {"10 TYPE_TORCH 0 0 -1 CENTER", true, "TVK_10=kel_spawn(\"torch\","},
        {"A-1 TYPE_GHOST 1 1 0 EAST", false, "--TVK_A_1=kel_spawn(\"TYPE_GHOST\",0,3,2,EAST)\n"},
    };
    for (const auto& row : rows) {
        const Item item = item_from(row.line);
        EXPECT_EQ(item.off_map, row.off_map) << row.line;
        EXPECT_EQ(item.spawn_text, row.spawn) << row.line;
    }
    EXPECT_TRUE(is_switch(item_from("7 TYPE_LEVER 3 4 0 WEST").flags));
    EXPECT_FALSE(item_from("A-1 TYPE_GHOST 1 1 0 EAST").is_known);
    Item held = item_from("10 TYPE_TORCH 5 6 -1");
    EXPECT_EQ(held.x, 5);
    EXPECT_EQ(held.y, 6);
}

TEST(MakeItem, EachPlacementWordStandsAsItselfAndAnyOtherWordIsTheCentre)
{
    const std::pair<const char*, const char*> rows[] = {
        {"NORTHWEST", "NORTHWEST"}, {"NORTHEAST", "NORTHEAST"}, {"SOUTHWEST", "SOUTHWEST"},
        {"SOUTHEAST", "SOUTHEAST"}, {"NORTH", "NORTH"},         {"SOUTH", "SOUTH"},
        {"WEST", "WEST"},           {"EAST", "EAST"},           {"NORTHWES", "CENTER"},
        {"north", "CENTER"},        {"CENTRE", "CENTER"},       {"", "CENTER"},
    };
    for (const auto& [word, position] : rows)
        EXPECT_EQ(item_from(std::string("1 TYPE_TORCH 0 0 0 ") + word).spawn_text,
                  std::string("TVK_1=kel_spawn(\"torch\",0,2,1,") + position + ")\n")
            << word;
}

TEST(MakeItem, NameTestsSetTheKindFlagsAndSuffixes)
{
    auto names = names_of("SWITCH_EYE eye_switch SWITCH_SMALL small_button SWITCH_TINY tiny_button LEVER_SWITCH lever_wall "
                          "SH shooter SHX shooterx FD floordamager FD2 floordamager2 M mirror2 P pit_small "
                          "D door_iron DB doorbutton DF doorframe");
    EXPECT_FALSE(is_switch(item_from("1 SWITCH_EYE 0 0 0 STATE:B", names).flags));
    EXPECT_EQ(item_from("1 SWITCH_EYE 0 0 0 STATE:B", names).object_name, "eye_switch");
    EXPECT_TRUE(is_switch(item_from("1 SWITCH_SMALL 0 0 0 STATE:B", names).flags));
    EXPECT_EQ(item_from("1 SWITCH_SMALL 0 0 0 STATE:B", names).object_name, "small_button");
    EXPECT_EQ(item_from("1 SWITCH_TINY 0 0 0 xSTATE:Bx", names).object_name, "tiny_button");
    EXPECT_EQ(item_from("1 LEVER_SWITCH 0 0 0 STATE:B", names).object_name, "lever_wall_down");
    EXPECT_TRUE(item_from("1 SH 0 0 0", names).is(ObjectFlag::shooter));
    EXPECT_FALSE(item_from("1 SHX 0 0 0", names).is(ObjectFlag::shooter));
    EXPECT_TRUE(item_from("1 FD 0 0 0", names).is(ObjectFlag::floordamager));
    EXPECT_FALSE(item_from("1 FD2 0 0 0", names).is(ObjectFlag::floordamager));
    EXPECT_TRUE(item_from("1 M 0 0 0", names).is(ObjectFlag::mirror));
    EXPECT_EQ(item_from("1 P 3 4 0 SOUTH", names).spawn_text, "TVK_1=kel_spawn(\"pit_small\",0,5,5,SOUTH)\n");
    EXPECT_TRUE(item_from("1 D 0 0 0", names).is(ObjectFlag::door));
    EXPECT_TRUE(item_from("1 DB 0 0 0", names).is(ObjectFlag::doorbutton));
    EXPECT_TRUE(item_from("1 DF 0 0 0", names).is(ObjectFlag::doorframe));
    Item unlisted_button = item_from("1 old_doorbutton 0 0 0", names);
    EXPECT_TRUE(unlisted_button.is(ObjectFlag::doorbutton));
    EXPECT_FALSE(unlisted_button.is_known);
    EXPECT_FALSE(is_switch(item_from("1 UNLISTED_SWITCH 0 0 0", names).flags));
}

TEST(MakeItem, ObjectNamesAreEscapedAndNegativeSquaresUseUnderscores)
{
    auto names = names_of("Q a\"b");
    EXPECT_EQ(item_from("1 Q -5 0 0", names).spawn_text, "TVK_1=kel_spawn(\"a\\\"b\",0,_3,1,CENTER)\n");
    EXPECT_EQ(item_from("1 say\"hi 0 0 0", names).spawn_text, "--TVK_1=kel_spawn(\"say\\\"hi\",0,2,1,CENTER)\n");
}

TEST(ItemLineRules, UnusableLinesAreNamed)
{
    Levels levels;
    levels.levels.resize(1);
    levels.levels[0].complete = true;
    auto names = names_of("PIT pit");
    EXPECT_TRUE(line_problem("1 A 0 0", levels, names));
    EXPECT_EQ(line_problem("a GEM 1 2", levels, names), "the item line has fewer than five tokens; it is skipped");
    EXPECT_TRUE(line_problem("1 A x 0 0", levels, names));
    EXPECT_TRUE(line_problem("1 A 0 0 0.5", levels, names));
    EXPECT_TRUE(line_problem("1 A 0 0 1", levels, names));
    EXPECT_TRUE(line_problem("1 A 0 0 -2", levels, names));
    EXPECT_TRUE(line_problem("1 PIT 0 0 -1", levels, names));
    EXPECT_TRUE(line_problem("a.b A 0 0 0", levels, names));
    EXPECT_TRUE(line_problem("1 A 2147483647 0 0", levels, names) == std::nullopt);
    EXPECT_FALSE(line_problem("A-1 A 0 0 0", levels, names));
    EXPECT_FALSE(line_problem("1 A 0 0 -1", levels, names));
}

TEST(LinkStatements, CarryCompXyzAndDoorbAreWhatThePassWrites)
{
    Item torch = item_from("10 TYPE_TORCH 0 0 -1");
    make_carry(torch.spawn_text, "chest-1");
    EXPECT_EQ(torch.spawn_text, "TVK_10=kel_spawn(\"torch\",IN_OBJ,TVK_chest_1,-1,0)\n");

    // The placement words play no part; the level does.
    const Item north = item_from("1 TYPE_TORCH 3 4 0 NORTH");
    const Item center = item_from("2 TYPE_LEVER 3 4 0");
    EXPECT_TRUE(comp_xyz({north.x, north.y, north.level}, {center.x, center.y, center.level}));
    EXPECT_FALSE(comp_xyz({north.x, north.y, north.level}, {center.x, center.y, 1}));

    EXPECT_EQ(make_doorb("b-1", "Big Door-2", false), "exvar[TVK_b_1]={target=TVK_BigDoor_2}\n");
    EXPECT_EQ(make_doorb("b-1", "Big Door-2", true), "--exvar[TVK_b_1]={target=TVK_BigDoor_2}\n");
}

TEST(HeldIdentifiers, SplitsTheListAndDropsTheClosingParenthesis)
{
    EXPECT_EQ(held_identifiers("40,41)"), (std::vector<std::string_view>{"40", "41"}));
    EXPECT_EQ(held_identifiers(" a ,\tb-2 )"), (std::vector<std::string_view>{"a", "b-2"}));
    EXPECT_EQ(held_identifiers("a,,b"), (std::vector<std::string_view>{"a", "", "b"}));
}

TEST(CommentedOut, CommentsEveryLineOnce)
{
    EXPECT_EQ(commented_out("TVK_1=kel_spawn(\"a\","), "--TVK_1=kel_spawn(\"a\",\n");
    EXPECT_EQ(commented_out("a\n--b\n"), "--a\n--b\n");
    EXPECT_EQ(commented_out(""), "");
}
