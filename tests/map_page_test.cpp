// The map page as text: texts of the dump stay inside their JSON strings, and a large dungeon's
// page stays small.

#include <gtest/gtest.h>

#include <sstream>

#include "conversion/convert.h"
#include "text/json_text.h"
#include "page/map_page.h"
#include "page/model_recorder.h"
#include "page/page_assets.h"
#include "test_support.h"

namespace {

std::size_t count_of(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string page_of(const DungeonModel& model)
{
    std::ostringstream out;
    write_map_page(model, out);
    return out.str();
}

// A dungeon of ten levels of 64 by 64 squares with 10,000 objects, each with a target, a text
// and a placement, as a dump text.
std::string large_dump()
{
    const std::string separator = "/" + std::string(78, '*') + "/\n";
    std::string dump = "[Main Data]\nENTRANCE...(1,1,0,NORTH)\n" + separator + "[Layout]\n";
    for (int level = 0; level < 10; ++level) {
        dump += "WALLSET(stone)\nLIGHT(50)\nOFFSET(0,0)\nSIZE(64,64)\n";
        for (int row = 0; row < 64; ++row) dump += std::string(1, '1') + std::string(62, row % 2 ? '0' : '2') + "1\n";
    }
    dump += separator + "[Items]\n";
    for (int i = 0; i < 10000; ++i) {
        const int level = i / 1000;
        dump += "obj-" + std::to_string(i) + " LEVER " + std::to_string(1 + i % 62) + " " + std::to_string(1 + (i / 62) % 16) +
                " " + std::to_string(level) + " NORTH TARGET=(obj-" + std::to_string((i + 1) % 10000) +
                ") TEXT=(a text of a moderate length) TOGGLE\n";
    }
    return dump;
}

} // namespace

TEST(JsonString, EscapesWhatCouldEndTheStringOrTheScriptElement)
{
    EXPECT_EQ(json_string("plain text"), "\"plain text\"");
    EXPECT_EQ(json_string("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(json_string("</script><!--&"), "\"\\u003c/script\\u003e\\u003c!--\\u0026\"");
    EXPECT_EQ(json_string(std::string("\n\r\t\x01\x7f", 5)), "\"\\n\\u000d\\u0009\\u0001\\u007f\"");
    EXPECT_EQ(json_string(std::string("nul\0end", 7)), "\"nul\\u0000end\"");
}

TEST(JsonString, KeepsUtf8AndReplacesWhatIsNotUtf8)
{
    EXPECT_EQ(json_string("\xc3\xa9t\xc3\xa9 \xe2\x86\x92 \xf0\x9f\x97\x9d"), "\"\xc3\xa9t\xc3\xa9 \xe2\x86\x92 \xf0\x9f\x97\x9d\"");
    // Line and paragraph separators end a line of script in older engines.
    EXPECT_EQ(json_string("a\xe2\x80\xa8z\xe2\x80\xa9"), "\"a\\u2028z\\u2029\"");
    // A lone continuation byte, a cut sequence, an overlong "<", a surrogate, a value past U+10FFFF.
    EXPECT_EQ(json_string("\x80"), "\"\\ufffd\"");
    EXPECT_EQ(json_string("\xe2\x80"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(json_string("\xc0\xbc"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(json_string("\xed\xa0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(json_string("\xf4\x90\x80\x80"), "\"\\ufffd\\ufffd\\ufffd\\ufffd\"");
}

TEST(MapPage, TextsOfTheDumpCannotLeaveTheDataElement)
{
    DungeonModel model;
    const std::string hostile = "</script><script>alert(1)</script><!--\"'&";
    model.dump_name = hostile;
    model.levels.push_back(Level{.light = 1, .size_x = 2, .size_y = 1, .rows = {hostile}, .complete = true});
    MapObject object;
    object.id = hostile;
    object.dump_type = hostile;
    object.object_name = hostile;
    object.line_text = hostile;
    object.properties = hostile;
    object.placement = hostile;
    object.targets.push_back(MapReference{hostile, std::nullopt});
    object.holds = {hostile};
    model.objects.push_back(object);
    model.champions = {hostile};
    model.party = {hostile};
    model.entrance = MapParty{0, 0, 0, hostile, 1, false};
    model.problems.push_back(Problem(MessageId::item_line, hostile));
    model.problems.back().line = 1;
    const std::string page = page_of(model);
    // Only the page's own four script elements open and close; no comment opens.
    EXPECT_EQ(count_of(page, "<script"), 4u);
    EXPECT_EQ(count_of(page, "</script"), 4u);
    EXPECT_EQ(count_of(page, "<!--"), 0u);
    EXPECT_NE(page.find("\\u003c/script\\u003e\\u003cscript\\u003ealert(1)"), std::string::npos);
    EXPECT_EQ(page.find("alert(1)</"), std::string::npos);
}

TEST(MapPage, HoldsThePageFilesByteForByteAndTheKindsInOrder)
{
    const std::filesystem::path folder = std::filesystem::path(D2L_TESTS_DIR) / ".." / "src" / "map" / "page";
    EXPECT_EQ(page_style, read_file(folder / "page.css"));
    EXPECT_EQ(page_body, read_file(folder / "page.html"));
    EXPECT_EQ(page_script, read_file(folder / "page.js"));
    const std::string page = page_of(DungeonModel{});
    for (const char* part : {page_style, page_body, page_script}) EXPECT_NE(page.find(part), std::string::npos);
    EXPECT_NE(page.find("\"kinds\":[\"door\",\"door frame\",\"door button\",\"lever or switch\",\"trigger\","
                        "\"teleporter\",\"pit\",\"floor text\",\"shooter\",\"floor damager\",\"generator\","
                        "\"creature\",\"holder\",\"torch\",\"flask\",\"bomb\",\"other\"]"),
              std::string::npos);
}

TEST(MapPage, IsOneFileThatFetchesNothing)
{
    const std::string page = page_of(DungeonModel{});
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("default-src 'none'"), std::string::npos);
    for (const char* fetching : {" src=", " href=", "url(http", "@import", "fetch(", "XMLHttpRequest"})
        EXPECT_EQ(page.find(fetching), std::string::npos) << fetching;
}

TEST(MapPage, TenThousandObjectsOnTenLevelsStayWithinFiveMegabytes)
{
    std::istringstream dump(large_dump());
    std::istringstream list("LEVER lever");
    const ObjectList names = ObjectList::read(list);
    std::ostringstream script;
    Report report;
    ModelRecorder recorder;
    EXPECT_EQ(convert(dump, script, names, report, &recorder), 0);
    const DungeonModel model = recorder.take_model(report);
    ASSERT_EQ(model.objects.size(), 10000u);
    ASSERT_EQ(model.levels.size(), 10u);
    const std::string page = page_of(model);
    EXPECT_LE(page.size(), 5u * 1024 * 1024);
    EXPECT_EQ(count_of(page, "\"tg\":[[\"obj-"), 10000u);
}
