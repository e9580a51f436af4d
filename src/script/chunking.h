#pragma once
// Keeping a script loadable in Lua 5.1, which holds at most 262,143 constants (distinct names,
// strings, numbers and booleans) in one function, the main chunk included.

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The most constants one Lua 5.1 function can hold.
constexpr std::size_t lua_constant_limit = 262143;

// The constants a piece of script gives its function, each as a key that is equal for equal
// constants: the names and strings, numbers (a "-" before a number makes it negative) and
// booleans, each once. Comments are skipped.
std::vector<std::uint64_t> script_constants(std::string_view statement);

// A stream buffer that passes a script through statement by statement. Statements are passed as
// they are while the script's constants stay within the limit; from the first statement that
// would pass it, the rest of the script is written in chunks, each a function of its own that is
// called where it stands ("do (function()" ... "end)() end"), each within the limit. So a script
// within the limit is written byte for byte as it came, and a larger one still loads.
class ChunkingBuffer : public std::streambuf {
public:
    explicit ChunkingBuffer(std::ostream& out, std::size_t limit = lua_constant_limit) : out_(out), limit_(limit) {}

    // Writes what is left of the script and closes an open chunk.
    void finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

private:
    // Takes one byte: statements end at a line break outside strings, parentheses and braces.
    void take(char c);
    void write_statement();

    std::ostream& out_;
    std::size_t limit_;
    std::string pending_;
    // Where the reading of pending_ stands.
    char quote_ = 0;
    bool escaped_ = false;
    bool in_comment_ = false;
    int depth_ = 0;
    // The constants of the main function, then of the open chunk.
    std::unordered_set<std::uint64_t> constants_;
    bool chunk_open_ = false;
};
