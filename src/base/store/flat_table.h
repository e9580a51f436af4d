#pragma once
// The converter's one hash table: entries in one flat array, found by linear probing.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>

// Room for count entries of this size, all zero bytes, to be given back with free_zeroed_bytes
// (with the same count and size); null when there is none. A block of 2 MB or more lies on pages
// of that size where the system offers them.
void* zeroed_bytes(std::size_t count, std::size_t size);
void free_zeroed_bytes(void* block, std::size_t count, std::size_t size);

// An array of entries that starts as zero bytes (zeroed_bytes): a large block comes as fresh pages
// that are zero already, so a table that grows need not write its new array twice (with zeros,
// then with the entries moved in). Entries are plain bytes: copied as they are and never
// destroyed.
template <typename Entry>
class ZeroedArray {
    static_assert(std::is_trivially_copyable_v<Entry> && std::is_trivially_destructible_v<Entry>);

public:
    ZeroedArray() = default;
    explicit ZeroedArray(std::size_t count) : entries_(static_cast<Entry*>(zeroed_bytes(count, sizeof(Entry)))), size_(count)
    {
        if (!entries_ && count != 0) throw std::bad_alloc();
    }
    ZeroedArray(ZeroedArray&& other) noexcept
        : entries_(std::exchange(other.entries_, nullptr)), size_(std::exchange(other.size_, 0))
    {
    }
    ZeroedArray& operator=(ZeroedArray&& other) noexcept
    {
        swap(other);
        return *this;
    }
    ZeroedArray(const ZeroedArray&) = delete;
    ZeroedArray& operator=(const ZeroedArray&) = delete;
    ~ZeroedArray() { free_zeroed_bytes(entries_, size_, sizeof(Entry)); }

    void swap(ZeroedArray& other) noexcept
    {
        std::swap(entries_, other.entries_);
        std::swap(size_, other.size_);
    }
    Entry& operator[](std::size_t i) { return entries_[i]; }
    const Entry& operator[](std::size_t i) const { return entries_[i]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Entry* begin() { return entries_; }
    Entry* end() { return entries_ + size_; }

private:
    Entry* entries_ = nullptr;
    std::size_t size_ = 0;
};

// A hash table whose entries stand side by side in one array. The traits say which entry is
// free, hash an entry or a key, and tell whether an entry holds a key; so an entry can be as
// small as an index, a pointer into kept text or a 64-bit key, where a node-based map costs
// several times as much per entry for a dungeon of a million objects.
//
// Traits needs: bool is_free(const Entry&); std::size_t hash_entry(const Entry&);
// std::size_t hash_key(const Key&); bool holds(const Entry&, const Key&). An Entry of zero bytes,
// which a default-made one must be, is free.
//
// The table grows once more than LoadQuarters / 4 of its slots would be taken, to no fewer than
// MinimumSlots (a power of two); both are constants, so the test before each insert is cheap.
template <typename Entry, typename Traits, std::size_t LoadQuarters = 3, std::size_t MinimumSlots = 1024>
class FlatTable {
public:
    explicit FlatTable(Traits traits = {}) : traits_(traits) {}

    // The entry that holds the key, or the free slot where it belongs; the caller fills a free
    // slot and calls added(). Makes room for one more entry first, so a search always ends.
    template <typename Key>
    Entry& slot_for(const Key& key)
    {
        if ((size_ + 1) * 4 > slots_.size() * LoadQuarters) grow();
        return slots_[position_of(key)];
    }

    // The entry that holds the key; null when none does.
    template <typename Key>
    const Entry* find(const Key& key) const
    {
        if (slots_.empty()) return nullptr;
        const Entry& entry = slots_[position_of(key)];
        return traits_.is_free(entry) ? nullptr : &entry;
    }

    // Asks the processor to bring the slot where a search for the key begins into its cache. A
    // table of a million entries is far larger than the cache: a search issued a little later,
    // after other work, then need not wait for memory. Changes nothing the table holds.
    template <typename Key>
    void prefetch(const Key& key) const
    {
        if (!slots_.empty()) __builtin_prefetch(&slots_[traits_.hash_key(key) & (slots_.size() - 1)]);
    }

    // Makes room for that many entries at once: a table whose size is known before it is filled
    // then never holds its old and new arrays together while it grows.
    void reserve(std::size_t count)
    {
        std::size_t wanted = MinimumSlots;
        while (count * 4 > wanted * LoadQuarters) wanted *= 2;
        if (wanted > slots_.size()) move_to(wanted);
    }

    // The traits the table was made with, to point them elsewhere when their owner moves.
    Traits& traits() { return traits_; }

    // Counts the entry just written into a free slot.
    void added() { ++size_; }
    // The number of entries.
    std::size_t size() const { return size_; }
    // Frees every slot, keeping the array for the entries to come.
    void clear()
    {
        for (Entry& entry : slots_) entry = Entry{};
        size_ = 0;
    }

private:
    template <typename Key>
    std::size_t position_of(const Key& key) const
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = traits_.hash_key(key) & mask;
        while (!traits_.is_free(slots_[slot]) && !traits_.holds(slots_[slot], key)) slot = (slot + 1) & mask;
        return slot;
    }

    void grow() { move_to(slots_.empty() ? MinimumSlots : slots_.size() * 2); }

    // Moves every entry into a new array of that many slots (a power of two).
    void move_to(std::size_t slot_count)
    {
        ZeroedArray<Entry> old(slot_count);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        // The entries are read in order but land anywhere: each one's place is asked for a few
        // entries ahead, so that the moves do not wait for memory one after the other.
        constexpr std::size_t ahead = 8;
        for (std::size_t i = 0; i < old.size(); ++i) {
            if (i + ahead < old.size() && !traits_.is_free(old[i + ahead]))
                __builtin_prefetch(&slots_[traits_.hash_entry(old[i + ahead]) & mask], 1);
            const Entry& entry = old[i];
            if (traits_.is_free(entry)) continue;
            std::size_t slot = traits_.hash_entry(entry) & mask;
            while (!traits_.is_free(slots_[slot])) slot = (slot + 1) & mask;
            slots_[slot] = entry;
        }
    }

    Traits traits_;
    ZeroedArray<Entry> slots_;
    std::size_t size_ = 0;
};
