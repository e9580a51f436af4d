#include "map/dungeon_model.h"

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

std::vector<std::string> kind_names()
{
    std::vector<std::string> names;
    for (int kind = 0; kind <= static_cast<int>(ObjectKind::other); ++kind)
        names.emplace_back(kind_name(static_cast<ObjectKind>(kind)));
    return names;
}
