#include "itempass/object_names.h"

#include <limits>

#include "text/normalise.h"

namespace {

constexpr std::uint8_t held_mark = 0x80;

} // namespace

ObjectNames::Key ObjectNames::key_of(std::string_view name)
{
    // 31 bits: the slot keeps another bit beside them.
    return {name, static_cast<std::uint32_t>(variable_hash(name)) & ~written_bit};
}

bool ObjectNames::Traits::holds(const Slot& slot, const Key& key) const
{
    return slot.hash() == key.hash && same_variable(names->id_of(slot.first - 1), key.name);
}

ObjectNames::ObjectNames(ObjectNames&& other) noexcept
    : ids_(std::move(other.ids_)), starts_(std::move(other.starts_)), states_(std::move(other.states_)),
      lines_(std::move(other.lines_)), by_variable_(std::move(other.by_variable_))
{
    by_variable_.traits().names = this;
}

ObjectNames& ObjectNames::operator=(ObjectNames&& other) noexcept
{
    ids_ = std::move(other.ids_);
    starts_ = std::move(other.starts_);
    states_ = std::move(other.states_);
    lines_ = std::move(other.lines_);
    by_variable_ = std::move(other.by_variable_);
    by_variable_.traits().names = this;
    return *this;
}

std::optional<long> ObjectNames::add(const Key& key, long line, bool held, CommentReason reason)
{
    const std::string_view id = key.name;
    const std::size_t object = states_.size();
    starts_.push_back(ids_.size());
    ids_.append(id);
    // Line numbers are never below 1; a number that were would come back all the same.
    lines_.push_back(static_cast<std::uint64_t>(line));
    states_.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(reason) | (held ? held_mark : 0)));
    // The item pass files no more than max_filed_objects, so object + 1 fits the table's 32 bits.
    const auto number = static_cast<std::uint32_t>(object + 1);
    Slot& slot = by_variable_.slot_for(key);
    if (slot.free()) {
        slot.first = slot.last = number;
        slot.hash_and_written = key.hash;
        by_variable_.added();
    }
    if (reason != CommentReason::none) return std::nullopt;
    if (slot.written()) {
        slot.last = number;
        return line_of(slot.first - 1);
    }
    slot.first = slot.last = number;
    slot.hash_and_written |= written_bit;
    return std::nullopt;
}

void ObjectNames::set_reason(std::size_t object, CommentReason reason)
{
    if (object < states_.size())
        states_[object] = static_cast<std::uint8_t>((states_[object] & held_mark) | static_cast<std::uint8_t>(reason));
}

std::size_t ObjectNames::object_named(std::string_view name) const
{
    const Slot* slot = by_variable_.find(key_of(name));
    if (!slot) return no_object;
    return slot->last - 1;
}

std::string_view ObjectNames::id_of(std::size_t object) const
{
    const auto start = static_cast<std::size_t>(starts_[object]);
    const std::size_t end = object + 1 < starts_.size() ? static_cast<std::size_t>(starts_[object + 1]) : ids_.size();
    return std::string_view(ids_).substr(start, end - start);
}

long ObjectNames::line_of(std::size_t object) const { return static_cast<long>(lines_[object]); }

CommentReason ObjectNames::reason_of(std::size_t object) const
{
    return static_cast<CommentReason>(states_[object] & ~held_mark);
}

bool ObjectNames::is_held(std::size_t object) const { return (states_[object] & held_mark) != 0; }
