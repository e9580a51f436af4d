// Keeping large scripts loadable: the constants a statement gives, and the chunks that the
// script is written in once it would pass Lua 5.1's limit of constants per function.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
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


// The statements of a script read byte by byte: a line break ends one outside strings, comments
// ("--" to the line's end), parentheses and braces; the last may lack its line break.
std::vector<std::string> plain_statements(const std::string& script)
{
    std::vector<std::string> statements;
    std::size_t start = 0;
    char quote = 0;
    bool escaped = false;
    bool comment = false;
    char before = 0;
    int depth = 0;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (comment) {
            comment = c != '\n';
        } else if (quote) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '-' && before == '-') {
            comment = true;
        } else if (c == '(' || c == '{') {
            ++depth;
        } else if (c == ')' || c == '}') {
            --depth;
        }
        before = c;
        if (c == '\n' && !quote && !comment && depth <= 0) {
            statements.push_back(script.substr(start, i + 1 - start));
            start = i + 1;
            depth = 0;
            before = 0;
        }
    }
    if (start < script.size()) statements.push_back(script.substr(start));
    return statements;
}

// The constants of a statement read byte by byte, each as its kind and its bytes: "s" and the
// bytes of a name or of a string as written, "b" and the word true, false or nil, "n" and the
// bytes of a number's value ("-" before a number makes it negative; -0 is 0). Comments are read
// as plain_statements reads them: "--" opens one even right after a number's "e".
std::set<std::string> plain_constants(const std::string& text)
{
    static const std::set<std::string> keywords = {"and", "break", "do", "else", "elseif", "end", "false",
        "for", "function", "if", "in", "local", "nil", "not", "or", "repeat", "return", "then", "true",
        "until", "while"};
    const auto name_start = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
    const auto name_part = [&](char c) { return name_start(c) || std::isdigit(static_cast<unsigned char>(c)); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::set<std::string> constants;
    bool minus = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (c == '"' || c == '\'') {
            std::string bytes = "s";
            std::size_t j = i + 1;
            for (; j < text.size() && text[j] != c; ++j) {
                bytes += text[j];
                if (text[j] == '\\' && j + 1 < text.size()) bytes += text[++j];
                else if (text[j] == '\\') ++j;
            }
            constants.insert(bytes);
            i = j + 1;
            minus = false;
        } else if (name_start(c)) {
            std::size_t j = i;
            while (j < text.size() && name_part(text[j])) ++j;
            const std::string word = text.substr(i, j - i);
            if (word == "true" || word == "false" || word == "nil") constants.insert("b" + word);
            else if (!keywords.count(word)) constants.insert("s" + word);
            i = j;
            minus = false;
        } else if (digit(c) || (c == '.' && i + 1 < text.size() && digit(text[i + 1]))) {
            std::size_t j = i;
            // An exponent's sign, unless it is the first "-" of a comment.
            const auto sign = [&](std::size_t at) {
                return (text[at] == '+' || (text[at] == '-' && text.compare(at, 2, "--") != 0)) &&
                       (text[at - 1] == 'e' || text[at - 1] == 'E');
            };
            while (j < text.size() && (name_part(text[j]) || text[j] == '.' || sign(j))) ++j;
            double value = std::strtod(text.substr(i, j - i).c_str(), nullptr);
            if (minus) value = -value;
            if (value == 0) value = 0;
            char bytes[sizeof value];
            std::memcpy(bytes, &value, sizeof value);
            constants.insert("n" + std::string(bytes, sizeof bytes));
            i = j;
            minus = false;
        } else {
            if (c == '-') minus = true;
            else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') minus = false;
            ++i;
        }
    }
    return constants;
}

// The script written in chunks as plain_statements and plain_constants read it: a statement whose
// constants would pass the limit of its function starts a new chunk.
std::string plainly_chunked(const std::string& script, std::size_t limit)
{
    std::string written;
    std::set<std::string> constants;
    bool chunk_open = false;
    for (const std::string& statement : plain_statements(script)) {
        const std::set<std::string> own = plain_constants(statement);
        std::set<std::string> joined = constants;
        joined.insert(own.begin(), own.end());
        if (joined.size() > limit) {
            if (chunk_open) written += "end)() end\n";
            written += "do (function()\n";
            chunk_open = true;
            joined = own;
        }
        constants = std::move(joined);
        written += statement;
    }
    if (chunk_open && !script.empty() && script.back() != '\n') written += "\n";
    if (chunk_open) written += "end)() end\n";
    return written;
}

// Statements of every kind of text whose reading is easy to get wrong: names and keywords,
// strings with escapes and both quotes, comments inside and outside strings, numbers in every
// form the reading takes, signs, parentheses and braces over several lines, and long brackets,
// which the writer never writes and so reads as plain bytes.
std::string generated_statements(std::size_t size)
{
    static const char* const pieces[] = {
        "a", "b1", "TVK_door_12", "_", "kel_spawn", "E", "e", "x", "and", "break", "do", "else", "elseif", "end",
        "for", "function", "if", "in", "local", "not", "or", "repeat", "return", "then", "until", "while",
        "End", "ends", "functions", "whilst", "thenx", "iff", "o", "nils", "truth", "fals", "falsey",
        "true", "false", "nil", "True", "nil_", "\"true\"", "\"nil\"", "\"x\"", "'x'", "\"\"", "''",
        "\"a\\\"b\"", "'a\\'b'", "'a\"b'", "\"a'b\"", "\"a\\\\\"", "'\\\\'", "\"a\\nb\"", "\"a\\tb\"",
        "\"--\"", "'--('", "\"x--(\"", "\"{\"", "')'", "\"line\nbreak\"",
        "0", "-0", "1", "-1", "15", "-15", "5.0", "0.5e1", "1e5", "1E+5", "1e-5", "-1e-5", "0x1F", "0X1f",
        ".5", "-.5", "1..2", "3_a", "1e", "123456789012345", "1234567890123456789",
        "1234567", "12345678", "99999999", "255", "256", "-255", "-256", "007", "10.5", "7e3", "42_", "1e--2", "2e-",
        "--", "-- a comment ( { \" '", "---", "--[[ x ]]", "- -", "-", " - ", "--x\n",
        "[[", "]]", "[=[", "]=]", "[[a\n]]", "--[[ x\n]]", "[[\"]]", "[==['(]==]",
        "=", ",", ";", "(", ")", "{", "}", "[", "]", "..", "+", "*", " ", "\t", "\r", "\n", "\n", "\n", "\n"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string script;
    while (script.size() < size) {
        script += pieces[pick(random)];
        // Unbalanced parentheses would hold the rest of the script in one statement.
        if (script.size() % 7 == 0) script += ")}\n";
    }
    return script;
}

// The script written through a chunking buffer in pieces of one size, each flushed or not.
std::string chunked_in_pieces(const std::string& script, std::size_t limit, std::size_t size, bool flushed)
{
    std::ostringstream out;
    ChunkingBuffer buffer(out, limit);
    std::ostream in(&buffer);
    for (std::size_t at = 0; at < script.size(); at += size) {
        in.write(script.data() + at, static_cast<std::streamsize>(std::min(size, script.size() - at)));
        if (flushed) in.flush();
    }
    buffer.finish();
    return out.str();
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
        {"x=1e--2,y\n", 2},                                  // x and 1: "--" after an "e" opens a comment
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

TEST(ChunkingBuffer, CountsAndSplitsAsAPlainByteByByteReadingDoes)
{
    const std::string script = generated_statements(100000);
    const std::vector<std::string> statements = plain_statements(script);
    ASSERT_GT(statements.size(), 3000u);
    std::vector<std::string> miscounted;
    for (const std::string& statement : statements)
        if (script_constants(statement).size() != plain_constants(statement).size()) miscounted.push_back(statement);
    EXPECT_EQ(miscounted, std::vector<std::string>{}) << "statements counted otherwise";

    // Limits that chunk from the first statement on (0: a chunk for every statement that has a
    // constant, so every statement's end shows), and one that leaves a start uncounted. Pieces of
    // one byte end every statement in a later piece than it began, where its end is read apart
    // from its constants; the whole script ends every statement where its constants are read.
    for (std::size_t limit : {0u, 8u, 40u, 300u}) {
        const std::string expected = plainly_chunked(script, limit);
        ASSERT_NE(expected.find("do (function()"), std::string::npos);
        std::vector<std::size_t> sizes = {script.size(), 997, 4096, 65535, 65536, 65537};
        for (std::size_t size = 1; size <= 64; ++size) sizes.push_back(size);
        std::vector<std::string> differing;
        for (std::size_t size : sizes) {
            if (chunked_in_pieces(script, limit, size, false) != expected) differing.push_back(std::to_string(size));
            if (chunked_in_pieces(script, limit, size, true) != expected) differing.push_back(std::to_string(size) + " flushed");
        }
        EXPECT_EQ(differing, std::vector<std::string>{}) << "limit " << limit << ": pieces of these sizes give another script";
    }
    EXPECT_EQ(chunked(script), script);
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

TEST(ConstantSet, CountsKeysAddedSoonOnceAskedAndGrowsPastLargePages)
{
    // Keys that wait for their probe count once the size is asked, however many wait, and the
    // bound that leaves them waiting is never below it; a table of 300,000 keys (4 MB of slots)
    // lies on the large pages where the system has them.
    constexpr std::uint64_t spread_out = 0x9E3779B97F4A7C15ULL;
    ConstantSet set;
    for (std::uint64_t key = 1; key <= 300000; ++key) {
        set.insert_soon(key * spread_out);
        if (key % 3 == 0) set.insert_soon((key - 1) * spread_out);
        if (key % 1000 == 7) {
            const std::size_t bound = set.size_at_most();
            ASSERT_EQ(set.size(), key);
            ASSERT_GE(bound, key);
        }
    }
    EXPECT_TRUE(set.contains(300000 * spread_out));
    EXPECT_FALSE(set.contains(300001 * spread_out));
    EXPECT_EQ(set.size(), 300000u);
}

TEST(ConstantSet, ForgetsKeysMetAgainWhenCleared)
{
    // Keys met twice are found again without the table; clearing must forget them too.
    ConstantSet set;
    for (int round = 0; round < 3; ++round) {
        for (std::uint64_t key = 1; key <= 3000; ++key) {
            EXPECT_TRUE(set.insert(key << 50));
            EXPECT_FALSE(set.insert(key << 50));
            EXPECT_FALSE(set.insert(key << 50));
        }
        EXPECT_EQ(set.size(), 3000u);
        set.clear();
    }
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
