#include "store/text_store.h"

#include <algorithm>
#include <cstring>

namespace {

// Texts are kept in blocks of this size; a longer text gets a block of its own.
constexpr std::size_t text_block_size = std::size_t{1} << 20;

} // namespace

std::string_view TextStore::keep(std::string_view text)
{
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < text.size()) {
        Block block;
        block.capacity = std::max(text_block_size, text.size());
        // Not zeroed: the system gives the pages memory only once they are written.
        block.bytes.reset(new char[block.capacity]);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    char* start = block.bytes.get() + block.used;
    if (!text.empty()) std::memcpy(start, text.data(), text.size());
    block.used += text.size();
    return {start, text.size()};
}

void TextStore::write_to(std::ostream& out) const
{
    for (const auto& block : blocks_) out.write(block.bytes.get(), static_cast<std::streamsize>(block.used));
}
