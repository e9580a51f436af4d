// Keeping large scripts loadable: the constants a statement gives, and the chunks that the
// script is written in once it would pass Lua 5.1's limit of constants per function.

#include <gtest/gtest.h>

#include <sstream>

#include "script/chunking.h"
#include "test_support.h"

namespace {

std::string chunked(const std::string& script, std::size_t limit = lua_constant_limit)
{
    std::ostringstream out;
    ChunkingBuffer buffer(out, limit);
    std::ostream in(&buffer);
    in << script;
    buffer.finish();
    return out.str();
}

// Statements that give exactly `count` distinct constants: a name and a string each, one name
// alone when the count is odd.
std::string statements_with_constants(std::size_t count)
{
    std::string script;
    for (std::size_t i = 0; i < count / 2; ++i) script += "n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"\n";
    if (count % 2) script += "z=z\n";
    return script;
}

} // namespace

TEST(ScriptConstants, CountsWhatLuaKeepsAsConstantsOnce)
{
    const std::pair<const char*, std::size_t> rows[] = {
        {"TVK_a=kel_spawn(\"torch\",0,5,5,WEST)\n", 6},
        {"x=\"x\"\n", 1},                                    // a name is a string constant
        {"--TVK_a=kel_spawn(\"torch\",0,5,5,WEST)\n", 0},     // comments give none
        {"a(1,-1,5,5.0,0.5e1,-0,0)\n", 5},                   // a, 1, -1, 5 and 0 (-0 is 0)
        {"exvar[TVK_b]={opby_party=true,release=true}\n", 5}, // exvar, TVK_b, two keys, true
        {"do (function()\nend)() end\n", 0},
        {"t(\"a\\\"b\",'q')\n", 3},
        {"t(\"a\\nb\",\"a\\tb\",'a\\'b','a\\\"b')\n", 5}, // strings differing in an escaped byte
        {"t(true,\"true\",false,\"false\",nil,\"nil\")\n", 7},    // values, not the strings of their names
    };
    for (const auto& [text, count] : rows) EXPECT_EQ(script_constants(text).size(), count) << text;
}

TEST(ChunkingBuffer, WritesStatementsInChunksOnlyFromWhereTheLimitWouldPass)
{
    // Within the limit, every byte stays as it came.
    const std::string small = "\nname=\"V\"\n\nkel_text2map(0, 2, {\n\"1)\",\n\"--\"\n} )\n--x(\nlast()";
    EXPECT_EQ(chunked(small, 9), small);
    // a and 1, b and 2: four constants; c and 3 pass a limit of 4, so a chunk starts there, and
    // the next statement that would pass the chunk's own limit starts the next chunk.
    EXPECT_EQ(chunked("a=1\nb=2\n\nc=3\nd=4\ne=3\nf=1\n", 4),
              "a=1\nb=2\n\ndo (function()\nc=3\nd=4\nend)() end\ndo (function()\ne=3\nf=1\nend)() end\n");
    // A statement that runs over several lines stays whole; a last line without a line break
    // closes its chunk on a line of its own.
    EXPECT_EQ(chunked("a=1\nt({\n\"x\",\n\"y\"\n})\nu()", 2),
              "a=1\ndo (function()\nt({\n\"x\",\n\"y\"\n})\nend)() end\ndo (function()\nu()\nend)() end\n");
}

TEST(ChunkingBuffer, MinusSignsApartAreNoComment)
{
    // "-46,-": two minus signs with plain bytes between them; a comment would swallow the ")"
    // and join the lines after it into one statement.
    EXPECT_EQ(chunked("ch=f(-46,-15,26)\nb=2\nc=3\n", 5),
              "ch=f(-46,-15,26)\ndo (function()\nb=2\nc=3\nend)() end\n");
}

TEST(ChunkingBuffer, PiecesOfEverySizeGiveWhatTheWholeScriptGives)
{
    // Over twice the buffer's 64 KB put area, with every kind of text whose reading can be cut
    // by a piece's end; a limit small enough that chunks open all along.
    std::string script;
    for (int i = 0; script.size() < 150000; ++i) {
        const std::string n = std::to_string(i);
        script += "ch_" + n + "=kel_add_champion(\"port_" + n + "\",\"O\\\"r\\\\\",-46,-15," + n + ")\n"
                  "-- a comment with \"quote, ( and -" + n + "\n"
                  "kel_text2map(" + n + ", 2, {\n\"1)\",\n'--\\'(" + n + "',\n} )\r\n"
                  "exvar[TVK_" + n + "]={text=\"x--(\",n=-" + n + ",m=1 - -2}\n\n";
    }
    script += "last()";
    constexpr std::size_t limit = 40;
    const std::string whole = chunked(script, limit);
    ASSERT_NE(whole.find("do (function()"), std::string::npos);

    const auto fed = [&](std::size_t size, bool flushed) {
        std::ostringstream out;
        ChunkingBuffer buffer(out, limit);
        std::ostream in(&buffer);
        for (std::size_t at = 0; at < script.size(); at += size) {
            if (size == 1 && !flushed) in.put(script[at]);
            else in.write(script.data() + at, static_cast<std::streamsize>(std::min(size, script.size() - at)));
            if (flushed) in.flush();
        }
        buffer.finish();
        return out.str();
    };
    std::vector<std::size_t> sizes;
    for (std::size_t size = 1; size <= 80; ++size) sizes.push_back(size);
    for (std::size_t size : {997u, 4096u, 65535u, 65536u, 65537u, 100000u}) sizes.push_back(size);
    std::vector<std::string> differing;
    for (std::size_t size : sizes) {
        if (fed(size, false) != whole) differing.push_back(std::to_string(size));
        if (fed(size, true) != whole) differing.push_back(std::to_string(size) + " flushed");
    }
    EXPECT_EQ(differing, std::vector<std::string>{}) << "pieces of these sizes give another script";
}

TEST(ConstantSet, HoldsEachKeyOnceThroughGrowthAndClearing)
{
    ConstantSet set;
    for (std::uint64_t key = 0; key < 5000; ++key) EXPECT_TRUE(set.insert(key * 0x9E3779B97F4A7C15ULL));
    EXPECT_FALSE(set.insert(0));
    EXPECT_EQ(set.size(), 5000u);
    EXPECT_TRUE(set.contains(4999 * 0x9E3779B97F4A7C15ULL));
    EXPECT_FALSE(set.contains(2));
    set.clear();
    EXPECT_EQ(set.size(), 0u);
    EXPECT_FALSE(set.contains(0));
}

TEST(ChunkingBufferInLua, ScriptsAtTheLimitStayAsTheyAreAndLargerOnesLoad)
{
    const std::string at_limit = statements_with_constants(lua_constant_limit);
    EXPECT_EQ(chunked(at_limit), at_limit);
    EXPECT_TRUE(lua_accepts_text(at_limit));

    // Long scripts of few constants are never chunked, however many bytes they have.
    std::string repeated;
    for (int i = 0; i < 100000; ++i) repeated += "a=1\nb=\"x\"\n";
    EXPECT_EQ(chunked(repeated), repeated);

    const std::string past_limit = statements_with_constants(lua_constant_limit + 1);
    EXPECT_FALSE(lua_accepts_text(past_limit));
    const std::string written = chunked(past_limit);
    EXPECT_NE(written, past_limit);
    EXPECT_TRUE(lua_accepts_text(written));
}
