#include "store/flat_table.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

#if defined(__linux__) && defined(MADV_HUGEPAGE)
// The size of Linux's large pages, and the least block that is mapped on them.
constexpr std::size_t huge_page = std::size_t{2} << 20;

// The bytes of a block of count entries of this size on whole large pages; 0 for a block that
// takes the heap's way (a smaller one, or one too large to count).
std::size_t huge_block_bytes(std::size_t count, std::size_t size)
{
    if (size == 0 || count < huge_page / size || count > (SIZE_MAX - huge_page) / size) return 0;
    return (count * size + huge_page - 1) / huge_page * huge_page;
}
#endif

} // namespace

void* zeroed_bytes(std::size_t count, std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // A table of a million entries is probed all over: on pages of 2 MB its probes miss the
    // processor's table of pages far less often, and it is faulted in with one fault per 2 MB
    // instead of one per 4 KB. Mapped apart from the heap, its pages are fresh zeros and go back
    // to the system when the table lets them go, as it grows (so the peak memory is the same from
    // run to run).
    if (const std::size_t bytes = huge_block_bytes(count, size)) {
        void* area = mmap(nullptr, bytes + huge_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (area == MAP_FAILED) return nullptr;
        const auto first = reinterpret_cast<std::uintptr_t>(area);
        const std::uintptr_t start = (first + huge_page - 1) / huge_page * huge_page;
        if (start > first) munmap(area, start - first);
        munmap(reinterpret_cast<void*>(start + bytes), first + huge_page - start);
        madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);
        return reinterpret_cast<void*>(start);
    }
#endif
    return std::calloc(count, size);
}

void free_zeroed_bytes(void* block, [[maybe_unused]] std::size_t count, [[maybe_unused]] std::size_t size)
{
    if (!block) return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (const std::size_t bytes = huge_block_bytes(count, size)) {
        munmap(block, bytes);
        return;
    }
#endif
    std::free(block);
}
