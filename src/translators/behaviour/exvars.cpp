#include "behaviour/exvars.h"

#include "behaviour/groups.h"
#include "text/normalise.h"

namespace {

void append_property(std::string& table, const std::string& property)
{
    if (property.empty()) return;
    if (!table.empty()) table += ",";
    table += property;
}

void append_flag(std::string& table, bool flag, const char* text)
{
    if (flag) append_property(table, text);
}

} // namespace

std::string joined_properties(Properties& p, const std::string& object_name)
{
    std::string table;
    append_property(table, p.damage);
    append_property(table, p.charge);
    if (!p.sound.empty()) append_property(table, p.sound);
    else if (object_name == "teleporter") append_property(table, "silent=true");
    if (object_name == "floortext") {
        append_property(table, "color={255,255,255}");
        p.disable_self = true;
    }
    append_property(table, p.shooter);
    append_property(table, p.target);
    append_property(table, p.opby);
    append_flag(table, p.party, "opby_party=true");
    append_flag(table, p.monster, "opby_monster=true");
    append_flag(table, p.thing, "opby_thing=true");
    append_flag(table, p.disable_self, "disable_self=true");
    append_flag(table, p.destroy, "destroy=true");
    append_flag(table, p.const_weight, "const_weight=true");
    append_flag(table, p.release, "release=true");
    append_property(table, p.destination);
    append_property(table, p.text);
    append_property(table, p.message);
    append_property(table, p.generator);
    append_property(table, p.count);
    append_property(table, p.champion);
    return table;
}

bool make_exvars(Item& item, const std::string& line, const std::vector<int>& level_offset_x,
                 const std::vector<int>& level_offset_y, const ObjectList& names, Problems& problems,
                 const Levels* levels)
{
    item.exvar_text.clear();
    item.target_list.clear();
    item.champion.clear();
    item.has_exvars = item.is_generator = item.is_creature = false;
    Properties properties;
    const LineContext context{line, level_offset_x, level_offset_y, names, problems, levels};

    using Group = void (*)(const LineContext&, Item&, Properties&);
    static constexpr Group groups[] = {
        read_targets,     read_charge,        read_operated_by, read_destination,        read_text,
        read_disable_self, read_sound,        read_destroy_item, read_messages,          read_weight_and_release,
        read_shooter,     read_floor_damage,  read_contents,    read_generator,          read_count,
        read_health,      read_champion,      read_state,
    };
    for (Group group : groups) group(context, item, properties);

    if (item.has_exvars) {
        if (!item.is_known) item.exvar_text += "--";
        item.exvar_text += "exvar[TVK_";
        item.exvar_text += force_us(item.id);
        item.exvar_text += "]={";
        item.exvar_text += joined_properties(properties, item.object_name);
        item.exvar_text += "}\n";
    }
    item.exvar_text += properties.disable_statement;
    item.exvar_text += properties.health_statements;
    return properties.carries;
}
