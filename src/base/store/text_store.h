#pragma once
// Texts kept until the end of the input, back to back.

#include <cstddef>
#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

// Texts that wait for the end of the input, one after the other in large blocks that never
// move, so that a view of a kept text stays valid while more texts are kept.
class TextStore {
public:
    // Keeps the text after those kept before and returns a view of it.
    std::string_view keep(std::string_view text);
    // Keeps two texts back to back, in one block, and returns a view of both: a record that keeps
    // a view of the first finds the second right after it, without a view of its own.
    std::string_view keep(std::string_view first, std::string_view second);
    // Writes every kept text in the order kept.
    void write_to(std::ostream& out) const;

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
        std::size_t capacity = 0;
    };
    std::vector<Block> blocks_;
};
