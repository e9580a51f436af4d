#include "store/text_store.h"

#include <algorithm>
#include <cstring>

namespace {

// Texts are kept in blocks of this size; a longer text gets a block of its own.
constexpr std::size_t text_block_size = std::size_t{1} << 20;

} // namespace

std::string_view TextStore::keep(std::string_view text) { return keep(text, {}); }

std::string_view TextStore::keep(std::string_view first, std::string_view second)
{
    const std::size_t size = first.size() + second.size();
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < size) {
        Block block;
        block.capacity = std::max(text_block_size, size);
        // Not zeroed: the system gives the pages memory only once they are written.
        block.bytes.reset(new char[block.capacity]);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    char* start = block.bytes.get() + block.used;
    if (!first.empty()) std::memcpy(start, first.data(), first.size());
    if (!second.empty()) std::memcpy(start + first.size(), second.data(), second.size());
    block.used += size;
    return {start, size};
}

void TextStore::write_to(std::ostream& out) const
{
    for (const auto& block : blocks_) out.write(block.bytes.get(), static_cast<std::streamsize>(block.used));
}
