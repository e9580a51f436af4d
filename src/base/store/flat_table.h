#pragma once
// The converter's one hash table: entries in one flat array, found by linear probing.

#include <cstddef>
#include <vector>

// A hash table whose entries stand side by side in one array. The traits say which entry is
// free, hash an entry or a key, and tell whether an entry holds a key; so an entry can be as
// small as an index, a pointer into kept text or a 64-bit key, where a node-based map costs
// several times as much per entry for a dungeon of a million objects.
//
// Traits needs: bool is_free(const Entry&); std::size_t hash_entry(const Entry&);
// std::size_t hash_key(const Key&); bool holds(const Entry&, const Key&). A default-made Entry
// is free.
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
        std::vector<Entry> old(slot_count);
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Entry& entry : old) {
            if (traits_.is_free(entry)) continue;
            std::size_t slot = traits_.hash_entry(entry) & mask;
            while (!traits_.is_free(slots_[slot])) slot = (slot + 1) & mask;
            slots_[slot] = entry;
        }
    }

    Traits traits_;
    std::vector<Entry> slots_;
    std::size_t size_ = 0;
};
