#include "records/object_kind.h"

#include <array>

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
    case ObjectKind::shooter: return "shooter";
    case ObjectKind::floordamager: return "floor damager";
    case ObjectKind::generator: return "generator";
    case ObjectKind::creature: return "creature";
    case ObjectKind::holder: return "holder";
    case ObjectKind::other: return "other";
    }
    return "other";
}

std::span<const ObjectKind> all_kinds()
{
    static constexpr std::array kinds = {
        ObjectKind::door,       ObjectKind::doorframe, ObjectKind::doorbutton,   ObjectKind::lever_or_switch,
        ObjectKind::trigger,    ObjectKind::teleporter, ObjectKind::pit,         ObjectKind::shooter,
        ObjectKind::floordamager, ObjectKind::generator, ObjectKind::creature,   ObjectKind::holder,
        ObjectKind::other,
    };
    return kinds;
}

ObjectKind object_kind(const Item& item)
{
    const std::string& name = item.object_name;
    if (item.is_doorframe) return ObjectKind::doorframe;
    if (item.is_door) return ObjectKind::door;
    if (item.is_doorbutton) return ObjectKind::doorbutton;
    if (item.is_switch) return ObjectKind::lever_or_switch;
    if (name.find("trigger") != std::string::npos) return ObjectKind::trigger;
    if (name.find("teleporter") != std::string::npos) return ObjectKind::teleporter;
    if (is_pit_name(name)) return ObjectKind::pit;
    if (item.is_shooter) return ObjectKind::shooter;
    if (item.is_floordamager) return ObjectKind::floordamager;
    if (item.is_generator) return ObjectKind::generator;
    if (item.is_creature) return ObjectKind::creature;
    if (!item.contents.empty()) return ObjectKind::holder;
    return ObjectKind::other;
}
