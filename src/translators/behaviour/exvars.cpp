#include "behaviour/exvars.h"

#include "behaviour/groups.h"
#include "text/normalise.h"

namespace {

// Appends a property to the table being joined, with the "," that separates it from the one before.
void append_property(std::string& out, bool& first, std::string_view property)
{
    if (property.empty()) return;
    if (!first) out += ',';
    first = false;
    out += property;
}

} // namespace

void Properties::clear()
{
    for (std::string* part : {&damage, &charge, &sound, &shooter, &target, &opby, &destination, &text, &message,
                              &generator, &count, &champion, &disable_statement, &health_statements})
        part->clear();
    party = monster = thing = disable_self = destroy = const_weight = release = false;
    generator_mark = carries = false;
}

void append_joined_properties(std::string& out, Properties& p, const std::string& object_name)
{
    bool first = true;
    const auto add = [&](std::string_view property) { append_property(out, first, property); };
    const auto flag = [&](bool set, std::string_view property) {
        if (set) add(property);
    };
    add(p.damage);
    add(p.charge);
    if (!p.sound.empty()) add(p.sound);
    else if (object_name == "teleporter") add("silent=true");
    if (object_name == "floortext") {
        add("color={255,255,255}");
        p.disable_self = true;
    }
    add(p.shooter);
    add(p.target);
    add(p.opby);
    flag(p.party, "opby_party=true");
    flag(p.monster, "opby_monster=true");
    flag(p.thing, "opby_thing=true");
    flag(p.disable_self, "disable_self=true");
    flag(p.destroy, "destroy=true");
    flag(p.const_weight, "const_weight=true");
    flag(p.release, "release=true");
    add(p.destination);
    add(p.text);
    add(p.message);
    add(p.generator);
    add(p.count);
    add(p.champion);
}

bool make_exvars(Item& item, const std::string& line, const KeywordScan& scan, const std::vector<int>& level_offset_x,
                 const std::vector<int>& level_offset_y, const ObjectList& names, Problems& problems,
                 const Levels* levels, Properties& properties)
{
    item.exvar_text.clear();
    item.target_list.clear();
    item.champion.clear();
    item.has_exvars = item.is_generator = item.is_creature = false;
    properties.clear();
    const LineContext context{line, scan, level_offset_x, level_offset_y, names, problems, levels};

    using Group = void (*)(const LineContext&, Item&, Properties&);
    static constexpr Group groups[] = {
        read_targets,     read_charge,        read_operated_by, read_destination,        read_text,
        read_disable_self, read_sound,        read_destroy_item, read_messages,          read_weight_and_release,
        read_shooter,     read_floor_damage,  read_contents,    read_generator,          read_count,
        read_health,      read_champion,      read_state,
    };
    for (Group group : groups) group(context, item, properties);

    // The statements are written straight into the item's text, which keeps its room from line to line.
    std::string& out = item.exvar_text;
    if (item.has_exvars) {
        if (!item.is_known) out += "--";
        out += "exvar[TVK_";
        append_force_us(out, item.id);
        out += "]={";
        append_joined_properties(out, properties, item.object_name);
        out += "}\n";
    }
    out += properties.disable_statement;
    out += properties.health_statements;
    return properties.carries;
}

bool make_exvars(Item& item, const std::string& line, const std::vector<int>& level_offset_x,
                 const std::vector<int>& level_offset_y, const ObjectList& names, Problems& problems,
                 const Levels* levels)
{
    Properties properties;
    return make_exvars(item, line, KeywordScan(line), level_offset_x, level_offset_y, names, problems, levels,
                       properties);
}
