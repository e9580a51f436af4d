// The item pass: sorting into the seven lists, linking, and the order of the item block.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <unistd.h>

#include "itempass/item_pass.h"
#include "test_support.h"

namespace {

Levels one_level()
{
    Levels levels;
    levels.read = true;
    levels.levels.resize(1);
    levels.levels[0].complete = true;
    levels.levels[0].size_x = levels.levels[0].size_y = 8;
    return levels;
}

const ObjectList& names()
{
    static const ObjectList list = [] {
        std::istringstream in("DOOR door_wood BUTTON doorbutton FRAME doorframe CHEST chest TORCH torch");
        return ObjectList::read(in);
    }();
    return list;
}

ItemLists file_lines(const std::vector<std::string>& lines, Report& report)
{
    ItemLists lists;
    const Levels levels = one_level();
    const ItemSetting setting(levels, names());
    long number = 0;
    for (const auto& line : lines) file_item_line(lists, line, ++number, setting, report);
    return lists;
}

std::string block_of(ItemLists& lists, Report& report)
{
    std::ostringstream out;
    link_items(lists, report);
    write_items(lists, out);
    return out.str();
}

} // namespace

TEST(ItemPass, SortsEveryRecordIntoOneList)
{
    Report report;
    auto lists = file_lines({"1 TORCH 0 0 0", "2 DOOR 3 4 0", "3 CHEST 1 1 0 CENTER HOLDS=(5)", "4 BUTTON 3 4 0",
                             "5 TORCH 0 0 -1", "6 GHOST 1 0 0", "7 FRAME 3 4 0", "8 CHEST 0 0 -1 HOLDS=(9)",
                             "9 DOOR 2 2 0 CENTER HOLDS=(1)"},
                            report);
    EXPECT_EQ(lists.list(ItemListId::other).count, 1u);
    EXPECT_EQ(lists.list(ItemListId::door).count, 1u);
    ASSERT_EQ(lists.list(ItemListId::container).count, 2u);
    EXPECT_EQ(lists.holder_facts[1].id, "9");
    EXPECT_EQ(lists.list(ItemListId::doorbutton).count, 1u);
    ASSERT_EQ(lists.list(ItemListId::contained).count, 2u);
    EXPECT_EQ(lists.held_facts[1].id, "8");
    EXPECT_EQ(lists.list(ItemListId::unlisted).count, 1u);
    EXPECT_EQ(lists.list(ItemListId::doorframe).count, 1u);
    EXPECT_TRUE(report.clean());
}

TEST(ItemPass, ButtonOnASquareWithTwoDoorsTargetsTheLaterDoor)
{
    Report report;
    auto lists = file_lines({"b BUTTON 3 3 0 NORTH", "d1 DOOR 3 3 0", "d2 DOOR 3 3 0", "d3 DOOR 3 3 1",
                             "lone BUTTON 5 5 0 COUNT=(2)"},
                            report);
    const std::string block = block_of(lists, report);
    EXPECT_NE(block.find("exvar[TVK_b]={target=TVK_d2}\n"), std::string::npos) << block;
    EXPECT_EQ(block.find("TVK_lone]={target"), std::string::npos) << block;
}

TEST(ItemPass, AHolderLinksOnlyTheHeldObjectsItsListNamesExactly)
{
    Report report;
    auto lists = file_lines({"chest-1 CHEST 0 0 0 CENTER HOLDS=(12, 10 ,x)", "10 TORCH 0 0 -1", "2 TORCH 0 0 -1",
                             "12 TORCH 0 0 0"},
                            report);
    const std::string block = block_of(lists, report);
    EXPECT_NE(block.find("\nTVK_10=kel_spawn(\"torch\",IN_OBJ,TVK_chest_1,-1,0)\n"), std::string::npos) << block;
    EXPECT_NE(block.find("\n--TVK_2=kel_spawn(\"torch\",\n"), std::string::npos) << block;
    EXPECT_NE(block.find("\nTVK_12=kel_spawn(\"torch\",0,0,0,CENTER)\n"), std::string::npos) << block;
    EXPECT_EQ(block.find("IN_OBJ,TVK_chest_1,-1,0)\nIN_OBJ"), std::string::npos) << block;
}

TEST(ItemPass, HeldObjectsTwoAndTwelveGoToTheirOwnHolders)
{
    Report report;
    auto lists = file_lines({"a CHEST 1 1 0 CENTER HOLDS=(12)", "b CHEST 2 2 0 CENTER HOLDS=(2)", "2 TORCH 0 0 -1",
                             "12 TORCH 0 0 -1"},
                            report);
    const std::string block = block_of(lists, report);
    EXPECT_NE(block.find("TVK_2=kel_spawn(\"torch\",IN_OBJ,TVK_b,-1,0)\n"), std::string::npos) << block;
    EXPECT_NE(block.find("TVK_12=kel_spawn(\"torch\",IN_OBJ,TVK_a,-1,0)\n"), std::string::npos) << block;
    EXPECT_TRUE(report.clean());
}

TEST(ItemPass, HolderThatListsAnObjectTwiceLinksItOnceWithoutAReport)
{
    for (const char* holder : {"h CHEST 1 1 0 CENTER HOLDS=(5,5)", "h CHEST 1 1 0 CENTER HOLDS=(5, 5 )",
                               "h CHEST 1 1 0 CENTER CARRYING=(5,5)"}) {
        Report report;
        auto lists = file_lines({holder, "5 TORCH 0 0 -1"}, report);
        const std::string block = block_of(lists, report);
        EXPECT_EQ(block, "TVK_h=kel_spawn(\"chest\",0,1,1,CENTER)\n"
                         "TVK_5=kel_spawn(\"torch\",IN_OBJ,TVK_h,-1,0)\n")
            << holder;
        EXPECT_TRUE(report.clean()) << holder << ": " << report.lines().front();
    }
}

TEST(ItemPass, BlockOrderIsSpawnsThenPropertiesWithoutTheFrames)
{
    Report report;
    auto lists = file_lines({"t TORCH 0 0 0 COUNT=(1)", "f FRAME 1 1 0 COUNT=(2)", "d DOOR 1 1 0 COUNT=(3)"}, report);
    EXPECT_EQ(block_of(lists, report), "TVK_f=kel_spawn(\"doorframe\",0,1,1,CENTER)\n"
                                       "TVK_d=kel_spawn(\"door_wood\",0,1,1,CENTER)\n"
                                       "TVK_t=kel_spawn(\"torch\",0,0,0,CENTER)\n"
                                       "exvar[TVK_d]={count=3 }\n"
                                       "exvar[TVK_t]={count=1 }\n");
}

TEST(ItemPass, TwoObjectsWrittenAsOneVariableAreReported)
{
    // "a-1" and "a_1" both become TVK_a_1; an unlisted object's spawn is a comment and assigns nothing.
    Report report;
    file_lines({"a-1 TORCH 1 1 0", "a_1 CHEST 2 2 0", "a-1 GHOST 3 3 0", "b TORCH 1 1 0"}, report);
    EXPECT_EQ(plain_lines(report), std::vector<std::string>{"my_dungeon.txt:2: warning: object \"a_1\" is written as TVK_a_1, like the object of line 1"});
}

TEST(ItemPass, HundredThousandLinkedObjectsConvert)
{
    std::string dump = "[Main Data]\nENTRANCE...(0,0,0,NORTH)\n[Layout]\nWALLSET\nLIGHT(1)\nOFFSET(0,0)\nSIZE(32,32)\n";
    for (int row = 0; row < 32; ++row) dump += std::string(32, '1') + "\n";
    dump += "/*\n[Items]\n";
    for (int i = 0; i < 25000; ++i) {
        const std::string square = std::to_string(i % 32) + " " + std::to_string(i / 32 % 32) + " 0";
        const std::string n = std::to_string(i);
        dump += "h" + n + " CHEST " + square + " CENTER HOLDS=(a" + n + ")\n";
        dump += "a" + n + " TORCH 0 0 -1\n";
        dump += "d" + n + " DOOR " + square + "\n";
        dump += "b" + n + " BUTTON " + square + "\n";
    }
    // Speed is measured by the benchmark; this checks that every holder and door finds its own.
    auto run = convert_text(dump, "CHEST chest TORCH torch DOOR door_x BUTTON doorbutton");
    EXPECT_EQ(run.status, 0) << run.messages.substr(0, 500);
    EXPECT_NE(run.script.find("TVK_a24999=kel_spawn(\"torch\",IN_OBJ,TVK_h24999,-1,0)\n"), std::string::npos);
    EXPECT_NE(run.script.find("exvar[TVK_b24999]={target=TVK_d24999}\n"), std::string::npos);
}

TEST(ItemPass, LaterHoldersAreReportedPerHeldObjectInTheOrderOfTheirLines)
{
    Report report;
    auto lists = file_lines({"x TORCH 0 0 -1", "y TORCH 0 0 -1", "a CHEST 1 1 0 CENTER HOLDS=(x,y)",
                             "b CHEST 1 2 0 CENTER HOLDS=(y,x,y)", "c CHEST 1 3 0 CENTER HOLDS=(x)"},
                            report);
    const std::string block = block_of(lists, report);
    EXPECT_NE(block.find("TVK_x=kel_spawn(\"torch\",IN_OBJ,TVK_a,-1,0)\n"), std::string::npos);
    EXPECT_NE(block.find("TVK_y=kel_spawn(\"torch\",IN_OBJ,TVK_a,-1,0)\n"), std::string::npos);
    const std::vector<std::string> expected = {
        "my_dungeon.txt:4: error: object \"x\" is already held by \"a\"; \"b\" does not hold it",
        "my_dungeon.txt:4: error: object \"y\" is already held by \"a\"; \"b\" does not hold it",
        "my_dungeon.txt:5: error: object \"x\" is already held by \"a\"; \"c\" does not hold it",
    };
    EXPECT_EQ(plain_lines(report), expected);
}

TEST(ItemPass, ManyObjectsOfOneIdentifierNamedByManyHoldersGiveOneReportPerLaterHolder)
{
    // Reported once per later holder, not once per held object and holder: the report stays in
    // proportion to the dump.
    Report report;
    auto lists = file_lines({"x TORCH 0 0 -1", "x TORCH 0 0 -1", "x TORCH 0 0 -1", "a CHEST 1 1 0 CENTER HOLDS=(x)",
                             "b CHEST 1 2 0 CENTER HOLDS=(x)", "c CHEST 1 3 0 CENTER HOLDS=(x)"},
                            report);
    block_of(lists, report);
    std::vector<std::string> already_held;
    for (const auto& line : plain_lines(report))
        if (line.find("is already held") != std::string::npos) already_held.push_back(line);
    const std::vector<std::string> expected = {
        "my_dungeon.txt:5: error: object \"x\" is already held by \"a\"; \"b\" does not hold it",
        "my_dungeon.txt:6: error: object \"x\" is already held by \"a\"; \"c\" does not hold it",
    };
    EXPECT_EQ(already_held, expected);
}

TEST(ItemPass, AHolderNamingAnIdentifierNoObjectHasBesideAFullChestLinksTheChest)
{
    // Sixteen held objects fill the table of held identifiers to its growth point; the second
    // holder's "nobody" must then be looked up in it and not found.
    std::vector<std::string> lines;
    std::string contents;
    for (int i = 0; i < 16; ++i) {
        lines.push_back("o" + std::to_string(i) + " TORCH 0 0 -1");
        contents += (i ? "," : "") + std::string("o") + std::to_string(i);
    }
    lines.push_back("h CHEST 1 1 0 CENTER HOLDS=(" + contents + ")");
    lines.push_back("g CHEST 2 2 0 CENTER HOLDS=(nobody)");
    const auto linked = [&] {
        Report report;
        auto lists = file_lines(lines, report);
        return std::pair(block_of(lists, report), report);
    };
    // A table with no free slot left would search for "nobody" for ever: first in a child process
    // that an alarm ends.
    ASSERT_EXIT(
        {
            ::alarm(10);
            linked();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    const auto [block, report] = linked();
    for (int i = 0; i < 16; ++i)
        EXPECT_NE(block.find("TVK_o" + std::to_string(i) + "=kel_spawn(\"torch\",IN_OBJ,TVK_h,-1,0)\n"), std::string::npos)
            << i;
    EXPECT_TRUE(report.clean()) << report.lines().front();
}

TEST(ItemPass, UnlistedObjectsOfOneIdentifierAreNotReportedAsOneVariable)
{
    // Their spawns are comments: neither assigns the variable.
    Report report;
    file_lines({"g GHOST 1 1 0", "g GHOST 2 2 0"}, report);
    EXPECT_TRUE(report.clean()) << report.lines().front();
}

TEST(ItemPass, AnObjectInsideTwoHeldHoldersIsReportedAsInsideTheFirst)
{
    Report report;
    auto lists = file_lines({"x TORCH 0 0 -1", "p CHEST 0 0 -1 HOLDS=(x)", "q CHEST 0 0 -1 HOLDS=(x)"}, report);
    block_of(lists, report);
    ASSERT_FALSE(report.lines().empty());
    EXPECT_EQ(plain_lines(report).front(),
              "my_dungeon.txt:1: error: object \"x\" is inside \"p\", which is itself held; it is written as a comment");
}

namespace {

// Records the finished property statements that the writing tells of.
class FinishedRecorder : public ItemWatcher {
public:
    void filed(std::size_t, const Item&, ItemListId, const std::string&, const LineLinks&) override {}
    void finished_properties(std::size_t object, std::string_view properties) override
    {
        finished.emplace_back(object, properties);
    }
    std::vector<std::pair<std::size_t, std::string>> finished;
};

// The item block, the report and what the watcher was told, for lists spooled in blocks of that size.
struct WrittenBlock {
    std::string block;
    std::vector<std::string> report;
    std::vector<std::pair<std::size_t, std::string>> finished;
};

WrittenBlock written_with_blocks_of(std::size_t block_size, const std::vector<std::string>& lines)
{
    ItemLists lists(block_size);
    Report report;
    const Levels levels = one_level();
    const ItemSetting setting(levels, names());
    FinishedRecorder watcher;
    long number = 0;
    for (const auto& line : lines) file_item_line(lists, line, ++number, setting, report, &watcher);
    link_items(lists, report);
    std::ostringstream out;
    write_items(lists, out, &watcher);
    return {out.str(), plain_lines(report), watcher.finished};
}

} // namespace

TEST(ItemPass, HeldObjectsAndButtonsAreFinishedTheSameWhenTheirStatementsWereSpooled)
{
    // Linked, unlinked and commented held objects and buttons, with statements shorter and longer
    // than a block of the spool, and ones that are empty.
    const std::string many_words = "COUNT=(" + std::string(90, '7') + ") ";
    const std::vector<std::string> lines = {
        "h CHEST 1 1 0 CENTER HOLDS=(a,b,long" + std::string(40, 'x') + ")",
        "a TORCH 0 0 -1",
        "b TORCH 0 0 -1 " + many_words,
        "long" + std::string(40, 'x') + " TORCH 0 0 -1 " + many_words,
        "lost TORCH 0 0 -1 COUNT=(2)",
        "d DOOR 3 3 0",
        "b1 BUTTON 3 3 0 NORTH COUNT=(1)",
        "b2 BUTTON 5 5 0 " + many_words,
        "b3 BUTTON 6 6 0",
        "g GHOST 0 0 -1",
        "t TORCH 2 2 0 " + many_words,
    };
    const WrittenBlock in_memory = written_with_blocks_of(TextSpool::default_block_size, lines);
    for (const std::size_t block : {std::size_t{1}, std::size_t{16}, std::size_t{100}}) {
        const WrittenBlock spooled = written_with_blocks_of(block, lines);
        EXPECT_EQ(spooled.block, in_memory.block) << "block of " << block;
        EXPECT_EQ(spooled.report, in_memory.report) << "block of " << block;
        EXPECT_EQ(spooled.finished, in_memory.finished) << "block of " << block;
    }
    EXPECT_NE(in_memory.block.find("TVK_a=kel_spawn(\"torch\",IN_OBJ,TVK_h,-1,0)\n"), std::string::npos);
    EXPECT_NE(in_memory.block.find("--TVK_lost=kel_spawn(\"torch\",\n"),
              std::string::npos)
        << in_memory.block;
    EXPECT_NE(in_memory.block.find("--exvar[TVK_lost]={count=2 }\n"), std::string::npos);
    ASSERT_EQ(in_memory.finished.size(), 8u);
    EXPECT_EQ(in_memory.finished[0], std::pair(std::size_t{6}, std::string("exvar[TVK_b1]={target=TVK_d}\n")));
}

TEST(ItemPass, ALongLineGivesItsRoomBackAndTheNextLineIsTranslatedAfresh)
{
    // A chest that holds thousands of objects, then a torch: the reused record must not keep the
    // chest's list, nor carry any of it into the torch.
    std::string chest = "c CHEST 1 1 0 CENTER HOLDS=(";
    for (int i = 0; i < 20000; ++i) chest += "gem-" + std::to_string(i) + ",";
    chest += "last)";
    Report report;
    ItemLists lists = file_lines({chest, "t TORCH 1 1 0 CENTER"}, report);
    EXPECT_LT(lists.line.item.contents.capacity(), std::size_t{1} << 16);
    EXPECT_LT(lists.line.scan.marks().capacity(), std::size_t{1} << 13);
    const std::string block = block_of(lists, report);
    EXPECT_NE(block.find("TVK_t=kel_spawn(\"torch\",0,1,1,CENTER)\n"), std::string::npos) << block;
    EXPECT_EQ(block.find("TVK_t=kel_spawn(\"torch\",0,1,1,CENTER)\nexvar"), std::string::npos) << block;
}

TEST(ItemPass, ALastLineOfSixtyFourKilobytesGivesItsRoomBack)
{
    // A line of exactly 65536 bytes is long, also when no line follows it.
    std::string chest = "c CHEST 1 1 0 CENTER HOLDS=(";
    for (int i = 0; chest.size() < (std::size_t{1} << 16) - 20; ++i) chest += "gem-" + std::to_string(i) + ",";
    chest += "last)";
    chest.append((std::size_t{1} << 16) - chest.size(), ' ');
    ASSERT_EQ(chest.size(), std::size_t{1} << 16);
    Report report;
    ItemLists lists = file_lines({chest}, report);
    EXPECT_LT(lists.line.item.contents.capacity(), std::size_t{1} << 12);
    EXPECT_LT(lists.line.scan.marks().capacity(), std::size_t{1} << 13);
}
