#include "behaviour/exvars.h"

#include "behaviour/groups.h"

#include <array>
#include <utility>

#include "text/normalise.h"
#include "vocabulary/engine_names.h"
#include "vocabulary/keyword_table.h"

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
    unlisted_count = 0;
}

void append_joined_properties(std::string& out, Properties& p, ObjectFlags flags)
{
    bool first = true;
    const auto add = [&](std::string_view property) { append_property(out, first, property); };
    const auto flag = [&](bool set, std::string_view property) {
        if (set) add(property);
    };
    add(p.damage);
    add(p.charge);
    if (!p.sound.empty()) add(p.sound);
    else if (flags.has(ObjectFlag::teleporter)) add("silent=true");
    if (flags.has(ObjectFlag::floortext)) {
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

namespace {

using Group = void (*)(const LineContext&, Item&, Properties&);

// The function of each group of keyword_groups, by the group's number (none for `made`, which is
// read when the record is made).
constexpr std::array<Group, keyword_groups.size()> group_functions = [] {
    std::array<Group, keyword_groups.size()> functions{};
    for (const GroupRow& row : keyword_groups) {
        Group& function = functions[static_cast<std::size_t>(row.group)];
        switch (row.group) {
        case KeywordGroup::made: function = nullptr; break;
        case KeywordGroup::targets: function = read_targets; break;
        case KeywordGroup::charge: function = read_charge; break;
        case KeywordGroup::operated_by: function = read_operated_by; break;
        case KeywordGroup::destination: function = read_destination; break;
        case KeywordGroup::text: function = read_text; break;
        case KeywordGroup::disable_self: function = read_disable_self; break;
        case KeywordGroup::sound: function = read_sound; break;
        case KeywordGroup::destroy_item: function = read_destroy_item; break;
        case KeywordGroup::messages: function = read_messages; break;
        case KeywordGroup::weight_and_release: function = read_weight_and_release; break;
        case KeywordGroup::shooter: function = read_shooter; break;
        case KeywordGroup::floor_damage: function = read_floor_damage; break;
        case KeywordGroup::contents: function = read_contents; break;
        case KeywordGroup::generator: function = read_generator; break;
        case KeywordGroup::count: function = read_count; break;
        case KeywordGroup::health: function = read_health; break;
        case KeywordGroup::champion: function = read_champion; break;
        case KeywordGroup::state: function = read_state; break;
        }
    }
    return functions;
}();

// Runs the group of that row of keyword_groups when it reads the object. Its function and reader
// are known when compiled, so the call is direct and an "any" reader costs no test.
template <std::size_t row>
void run_group(const LineContext& context, Item& item, Properties& properties)
{
    constexpr Group group = group_functions[static_cast<std::size_t>(keyword_groups[row].group)];
    if constexpr (group != nullptr)
        if (reads(keyword_groups[row].reader, item.flags, item.is_generator)) group(context, item, properties);
}

// Runs the groups of every row, in the order of the table.
template <std::size_t... rows>
void run_groups(std::index_sequence<rows...>, const LineContext& context, Item& item, Properties& properties)
{
    (run_group<rows>(context, item, properties), ...);
}

} // namespace

bool make_exvars(Item& item, const std::string& line, const KeywordScan& scan, const std::vector<int>& level_offset_x,
                 const std::vector<int>& level_offset_y, const ObjectList& names, Problems& problems,
                 const Levels& levels, Properties& properties, LineLinks* links)
{
    item.exvar_text.clear();
    item.target_list.clear();
    item.champion.clear();
    item.has_exvars = item.is_generator = item.is_creature = false;
    properties.clear();
    const LineContext context{line, scan, level_offset_x, level_offset_y, names, problems, levels, links};

    // The groups run in the order of the table, each only for the objects it reads.
    run_groups(std::make_index_sequence<keyword_groups.size()>(), context, item, properties);

    // The statements are written straight into the item's text, which keeps its room from line to line.
    std::string& out = item.exvar_text;
    if (item.has_exvars) {
        if (!item.is_known) out += "--";
        out += engine::exvar;
        out += '[';
        out += engine::object_prefix;
        append_force_us(out, item.id);
        out += "]={";
        append_joined_properties(out, properties, item.flags);
        out += "}\n";
    }
    out += properties.disable_statement;
    out += properties.health_statements;
    item.kind = object_kind(item.flags, item.is_generator, item.is_creature, !item.contents.empty());
    return properties.carries;
}
