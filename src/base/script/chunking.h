#pragma once
// Keeping a script loadable in Lua 5.1, which holds at most 262,143 constants (distinct names,
// strings, numbers and booleans) in one function, the main chunk included.

#include <array>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "store/flat_table.h"
#include "store/hash.h"

// The most constants one Lua 5.1 function can hold.
constexpr std::size_t lua_constant_limit = 262143;

// The constants a piece of script gives its function, each as a key that is equal for equal
// constants: the names and strings, numbers (a "-" before a number makes it negative) and
// booleans, each once. Comments are skipped.
std::vector<std::uint64_t> script_constants(std::string_view statement);

// Adds the keys of script_constants(statement) to keys, in the order met, duplicates included.
void add_script_constants(std::string_view statement, std::vector<std::uint64_t>& keys);

// A set of constant keys in one flat table, cheap to fill and to empty.
class ConstantSet {
public:
    // The number of keys, once the waiting ones are added.
    std::size_t size()
    {
        insert_waiting();
        return table_.size();
    }
    bool contains(std::uint64_t key)
    {
        insert_waiting();
        return table_.find(stored(key)) != nullptr;
    }
    // A bound of size() that adds no waiting key: the keys that insert_soon keeps may all be new.
    std::size_t size_at_most() const { return table_.size() + waiting_count_; }
    // Adds the key; false when it was there already. The check of the recent keys, which finds
    // most keys of a script, is defined here to be taken inline by the loops over a statement's
    // keys; the probe of the table is a call of its own, so that those loops stay small and the
    // common key costs no call (whose saving and restoring of registers cost more than the check).
    bool insert(std::uint64_t key)
    {
        key = stored(key);
        std::uint64_t& recent = recent_[key >> recent_shift];
        if (recent == key) return false;
        return insert_into_table(key, recent);
    }
    // Adds the key by the time size() is asked: its place in the table is asked for from memory now
    // and probed some statements later, so that the probes in a table larger than the cache do not
    // wait for memory one after the other.
    void insert_soon(std::uint64_t key)
    {
        key = stored(key);
        if (recent_[key >> recent_shift] == key) return;
        table_.prefetch(key);
        waiting_[waiting_count_++] = key;
        if (waiting_count_ == waiting_.size()) insert_waiting();
    }
    void clear()
    {
        table_.clear();
        recent_.fill(0);
        waiting_count_ = 0;
    }

private:
    // Adds the keys that insert_soon keeps waiting.
    void insert_waiting()
    {
        for (std::size_t i = 0; i < waiting_count_; ++i) insert(waiting_[i]);
        waiting_count_ = 0;
    }
    // Adds a stored key that is not the recent one at its place; false when the table held it.
    bool insert_into_table(std::uint64_t key, std::uint64_t& recent);
    // Zero marks a free slot; a key of zero is kept as one.
    static std::uint64_t stored(std::uint64_t key) { return key == 0 ? 1 : key; }
    struct Traits {
        static bool is_free(std::uint64_t entry) { return entry == 0; }
        // A key's low bits may be alike for many keys: a multiply brings all of them to the bits
        // the slot is taken from.
        static std::size_t hash_entry(std::uint64_t entry) { return static_cast<std::size_t>(spread(entry)); }
        static std::size_t hash_key(std::uint64_t key) { return hash_entry(key); }
        static bool holds(std::uint64_t entry, std::uint64_t key) { return entry == key; }
    };
    FlatTable<std::uint64_t, Traits> table_;
    // Keys found in the table again lately, each where its top bits place it: a constant that
    // most statements repeat (a common name, a small number) is found with one compare instead
    // of a probe through the table.
    static constexpr unsigned recent_shift = 54;
    std::array<std::uint64_t, std::size_t{1} << (64 - recent_shift)> recent_{};
    // The keys that insert_soon has taken and not yet added: a few statements' worth.
    std::array<std::uint64_t, 32> waiting_{};
    std::size_t waiting_count_ = 0;
};

// Where the reading of a statement stands when a piece of the script ends before the statement:
// inside a string or a comment, just after a "-" (which a "-" at the start of the next piece
// makes a comment), and how deep inside parentheses and braces.
struct StatementState {
    char quote = 0;
    // The string's last byte was a backslash, which escapes the next piece's first.
    bool escaped = false;
    bool in_comment = false;
    bool dash = false;
    int depth = 0;
    // True when the next piece begins inside something this state opened.
    bool is_open() const { return quote != 0 || in_comment || dash; }
};

// A stream buffer that passes a script through statement by statement. Statements are passed as
// they are while the script's constants stay within the limit; from the first statement that
// would pass it, the rest of the script is written in chunks, each a function of its own that is
// called where it stands ("do (function()" ... "end)() end"), each within the limit. So a script
// within the limit is written byte for byte as it came, and a larger one still loads.
class ChunkingBuffer : public std::streambuf {
public:
    explicit ChunkingBuffer(std::ostream& out, std::size_t limit = lua_constant_limit);

    // Writes what is left of the script and closes an open chunk.
    void finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Splits what the put area holds into statements and empties it.
    void take_put_area();
    // Takes bytes: statements end at a line break outside strings, parentheses and braces.
    void take(const char* text, std::size_t count);
    // Passes one whole statement, in a new chunk when its constants would pass the limit; counted
    // when they have been added to the function's constants already. The statement is written
    // when the run of statements it joins is.
    void write_statement(std::string_view statement, bool counted);
    // Adds the statement to the run of statements passed last when it follows them in the bytes
    // taken; else writes that run and starts another.
    void join_run(std::string_view statement);
    // Writes the run of statements passed last.
    void write_run();
    // Adds the constants of the statement to the function's.
    void add_keys(std::string_view statement);
    // Counts the constants of the statements passed before counting began.
    void count_passed_statements();

    std::ostream& out_;
    std::size_t limit_;
    std::vector<char> put_area_;
    // A statement begun in a piece taken earlier, and where its reading stands.
    std::string pending_;
    StatementState reader_;
    // Statements passed but not yet written: one write for many saves a call of the stream per
    // statement.
    std::string_view run_;
    // While the script is short enough that it cannot hold more constants than the limit, its
    // statements are passed without counting, and kept (with where each ends) in case counting
    // begins later.
    bool counting_ = false;
    std::size_t uncounted_bound_ = 0;
    std::string passed_;
    std::vector<std::size_t> passed_ends_;
    // The constants of the main function, then of the open chunk, and the keys of a statement
    // read apart.
    ConstantSet constants_;
    std::vector<std::uint64_t> keys_;
    bool chunk_open_ = false;
};
