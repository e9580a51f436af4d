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

NameFlags ClassifiedNames::of(const std::string& listed_name, std::string_view type)
{
    if (const Kept* kept = kept_.find(&listed_name)) return kept->flags;
    const NameFlags flags = name_flags(listed_name, type);
    if (kept_.size() >= most_kept) return flags;
    kept_.slot_for(&listed_name) = {.name = &listed_name, .flags = flags};
    kept_.added();
    return flags;
}

ObjectFlags ClassifiedNames::suffixed(const std::string& listed_name, std::string_view type, std::size_t suffix,
                                      std::string_view written_name, ObjectFlags listed)
{
    const auto worked_out = [&] { return classified(NameStage::written, written_name, type, listed); };
    if (suffix == 0 || suffix > suffix_count || !kept_.find(&listed_name)) return worked_out();
    Kept& kept = kept_.slot_for(&listed_name);
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
