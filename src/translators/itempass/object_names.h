#pragma once
// Every object's names, as the checks look them up once the last line is read: the identifier as
// the dump writes it (holders link by that) and the variable the script gives it (targets name
// objects by that, as the engine does).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "itempass/item_links.h"
#include "records/item.h"
#include "store/compact_numbers.h"
#include "store/flat_table.h"

// The identifiers of the filed objects, back to back, and one table from each variable to its
// objects. Small per object: the identifier's bytes, where they begin and the object's line (four
// bytes each), one byte of state, and a share of the table (twelve bytes a slot).
class ObjectNames {
public:
    ObjectNames() = default;
    ObjectNames(const ObjectNames&) = delete;
    ObjectNames& operator=(const ObjectNames&) = delete;
    // The table's traits point at the names they belong to, so a move points them anew.
    ObjectNames(ObjectNames&& other) noexcept;
    ObjectNames& operator=(ObjectNames&& other) noexcept;

    // An identifier with the hash of its variable, worked out once for the look-ups of it.
    struct Key {
        std::string_view name;
        std::uint32_t hash;
    };
    static Key key_of(std::string_view name);

    // Adds the next filed object (numbered from 0, below max_filed_objects): its identifier, its
    // dump line, whether it lies inside another object, and why it is written as a comment (none
    // when it is not). For an object written as a statement whose variable an earlier such object
    // has, returns the line of that first one: the later assignment takes the name from it.
    std::optional<long> add(const Key& id, long line, bool held, CommentReason reason);
    std::optional<long> add(std::string_view id, long line, bool held, CommentReason reason)
    {
        return add(key_of(id), line, held, reason);
    }
    // Brings the table's place for the identifier into the processor's cache, so that adding it
    // after the rest of its line is read need not wait for memory.
    void prefetch(const Key& id) const { by_variable_.prefetch(id); }
    // Records the linking's reason for a held object written as a comment.
    void set_reason(std::size_t object, CommentReason reason);

    // The object whose variable the name gives (as the engine sees names: "door-1" and "door_1"
    // are one): the last one written as a statement, or else the first one; no_object for none.
    std::size_t object_named(std::string_view name) const;
    // The identifier of an object as the dump writes it.
    std::string_view id_of(std::size_t object) const;
    // Why an object is written as a comment; none when it is not.
    CommentReason reason_of(std::size_t object) const;
    // True when the object lies inside another one (level -1).
    bool is_held(std::size_t object) const;
    // The dump line of an object.
    long line_of(std::size_t object) const;

private:
    // One variable's objects (object numbers + 1): until one of them is written as a statement,
    // the first object twice; from then on the first and the last ones written as statements. So
    // `first` always has the variable, and `last` is the object that the variable names.
    struct Slot {
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        // The hash of the variable in the low 31 bits, kept so that growing and most comparisons
        // need no identifier; the high bit is set once an object of it is written as a statement.
        std::uint32_t hash_and_written = 0;
        // 0 for a free slot.
        bool free() const { return first == 0; }
        std::uint32_t hash() const { return hash_and_written & ~written_bit; }
        bool written() const { return (hash_and_written & written_bit) != 0; }
    };
    static constexpr std::uint32_t written_bit = 0x80000000u;
    struct Traits {
        const ObjectNames* names;
        static bool is_free(const Slot& slot) { return slot.free(); }
        static std::size_t hash_entry(const Slot& slot) { return slot.hash(); }
        static std::size_t hash_key(const Key& key) { return key.hash; }
        bool holds(const Slot& slot, const Key& key) const;
    };

    std::string ids_;
    CompactNumbers starts_;
    // Per object: its comment reason, and 0x80 when it is held.
    std::vector<std::uint8_t> states_;
    CompactNumbers lines_;
    FlatTable<Slot, Traits> by_variable_{Traits{this}};
};
