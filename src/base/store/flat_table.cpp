#include "store/flat_table.h"

#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void* zeroed_bytes(std::size_t count, std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // A table of a million entries is probed all over: on pages of 2 MB its probes miss the
    // processor's table of pages far less often, and it is faulted in with one fault per 2 MB
    // instead of one per 4 KB. The block is zeroed here: aligned_alloc may give room used before.
    constexpr std::size_t huge_page = std::size_t{2} << 20;
    if (size != 0 && count >= huge_page / size && count <= SIZE_MAX / size) {
        const std::size_t bytes = (count * size + huge_page - 1) / huge_page * huge_page;
        if (void* block = std::aligned_alloc(huge_page, bytes)) {
            madvise(block, bytes, MADV_HUGEPAGE);
            std::memset(block, 0, bytes);
            return block;
        }
    }
#endif
    return std::calloc(count, size);
}
