#include "vocabulary/object_classes.h"

#include "text/chars.h"

namespace {

// True when the rule's test holds for the name and type.
bool test_holds(const ObjectRule& rule, std::string_view name, std::string_view type)
{
    switch (rule.test) {
    case NameTest::name_is: return name == rule.word;
    case NameTest::name_contains: return contains(name, rule.word);
    case NameTest::type_contains: return contains(type, rule.word);
    }
    return false;
}

} // namespace

ObjectFlags classified(NameStage stage, std::string_view name, std::string_view type, ObjectFlags flags)
{
    for (const ObjectRule& rule : object_rules) {
        if (rule.stage != stage) continue;
        if (rule.has_condition && flags.has(rule.condition) == rule.unless) continue;
        if (!test_holds(rule, name, type)) continue;
        if (!rule.unless_name_contains.empty() && contains(name, rule.unless_name_contains)) continue;
        flags.set(rule.flag);
    }
    return flags;
}

NameFlags name_flags(std::string_view name, std::string_view type)
{
    NameFlags flags;
    flags.listed = classified(NameStage::listed, name, type);
    flags.written = classified(NameStage::written, name, type, flags.listed);
    return flags;
}

ClassifiedNames::Kept& ClassifiedNames::slot_of(const std::string* name)
{
    const std::size_t mask = slots_.size() - 1;
    // The low bits of an address are alike for every name; a multiply spreads the others.
    const auto address = reinterpret_cast<std::uintptr_t>(name);
    std::size_t slot = static_cast<std::size_t>((address >> 3) * 0x9E3779B97F4A7C15ULL >> 40) & mask;
    while (slots_[slot].name && slots_[slot].name != name) slot = (slot + 1) & mask;
    return slots_[slot];
}

NameFlags ClassifiedNames::of(const std::string& listed_name, std::string_view type)
{
    if (slots_.empty()) slots_.resize(256);
    Kept& kept = slot_of(&listed_name);
    if (kept.name) return kept.flags;
    const NameFlags flags = name_flags(listed_name, type);
    if (taken_ >= most_kept) return flags;
    kept = {&listed_name, flags};
    if (++taken_ * 2 > slots_.size()) {
        std::vector<Kept> old(slots_.size() * 2);
        old.swap(slots_);
        for (const Kept& each : old)
            if (each.name) slot_of(each.name) = each;
    }
    return flags;
}

ObjectFlags ClassifiedNames::suffixed(const std::string& listed_name, std::string_view type, std::size_t suffix,
                                      std::string_view written_name, ObjectFlags listed)
{
    const auto worked_out = [&] { return classified(NameStage::written, written_name, type, listed); };
    if (slots_.empty() || suffix == 0 || suffix > suffix_count) return worked_out();
    Kept& kept = slot_of(&listed_name);
    if (!kept.name) return worked_out();
    const auto bit = static_cast<std::uint8_t>(1u << (suffix - 1));
    if ((kept.known & bit) == 0) {
        kept.suffixed[suffix - 1] = worked_out();
        kept.known = static_cast<std::uint8_t>(kept.known | bit);
    }
    return kept.suffixed[suffix - 1];
}

const char* kind_name(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::door: return "door";
    case ObjectKind::doorframe: return "door frame";
    case ObjectKind::doorbutton: return "door button";
    case ObjectKind::lever_or_switch: return "lever or switch";
    case ObjectKind::trigger: return "trigger";
    case ObjectKind::teleporter: return "teleporter";
    case ObjectKind::pit: return "pit";
    case ObjectKind::floortext: return "floor text";
    case ObjectKind::shooter: return "shooter";
    case ObjectKind::floordamager: return "floor damager";
    case ObjectKind::generator: return "generator";
    case ObjectKind::creature: return "creature";
    case ObjectKind::holder: return "holder";
    case ObjectKind::torch: return "torch";
    case ObjectKind::flask: return "flask";
    case ObjectKind::bomb: return "bomb";
    case ObjectKind::other: return "other";
    }
    return "other";
}

std::span<const ObjectKind> all_kinds()
{
    static constexpr std::array kinds = {
        ObjectKind::door,      ObjectKind::doorframe,    ObjectKind::doorbutton, ObjectKind::lever_or_switch,
        ObjectKind::trigger,   ObjectKind::teleporter,   ObjectKind::pit,        ObjectKind::floortext,
        ObjectKind::shooter,   ObjectKind::floordamager, ObjectKind::generator,  ObjectKind::creature,
        ObjectKind::holder,    ObjectKind::torch,        ObjectKind::flask,      ObjectKind::bomb,
        ObjectKind::other,
    };
    return kinds;
}

ObjectKind object_kind(ObjectFlags flags, bool generator, bool creature, bool holder)
{
    if (flags.has(ObjectFlag::doorframe)) return ObjectKind::doorframe;
    if (flags.has(ObjectFlag::door)) return ObjectKind::door;
    if (flags.has(ObjectFlag::doorbutton)) return ObjectKind::doorbutton;
    if (is_switch(flags)) return ObjectKind::lever_or_switch;
    if (flags.has(ObjectFlag::trigger_symbol)) return ObjectKind::trigger;
    if (flags.has(ObjectFlag::teleporter_symbol)) return ObjectKind::teleporter;
    if (flags.has(ObjectFlag::pit)) return ObjectKind::pit;
    if (flags.has(ObjectFlag::shooter)) return ObjectKind::shooter;
    if (flags.has(ObjectFlag::floordamager)) return ObjectKind::floordamager;
    if (generator) return ObjectKind::generator;
    if (creature) return ObjectKind::creature;
    if (holder) return ObjectKind::holder;
    if (flags.has(ObjectFlag::floortext)) return ObjectKind::floortext;
    if (flags.has(ObjectFlag::torch)) return ObjectKind::torch;
    if (flags.has(ObjectFlag::flask)) return ObjectKind::flask;
    if (flags.has(ObjectFlag::bomb)) return ObjectKind::bomb;
    return ObjectKind::other;
}
