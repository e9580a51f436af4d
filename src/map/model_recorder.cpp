#include "map/model_recorder.h"

#include <algorithm>
#include <limits>
#include <map>
#include <tuple>

#include "behaviour/keywords.h"
#include "items/item_line.h"
#include "text/normalise.h"

LineLinks* ModelRecorder::item_line(long number, const std::string& line)
{
    RecordedLine& recorded = lines_[number];
    recorded = RecordedLine{line, {}};
    return &recorded.links;
}

void ModelRecorder::champion(const std::string& variable) { champions_.push_back(variable); }

void ModelRecorder::party_member(const std::string& variable) { party_.push_back(variable); }

void ModelRecorder::party_placed(bool placed) { party_placed_ = placed; }

ObjectKind kind_of(const Item& item, const std::string& line)
{
    const std::string& name = item.object_name;
    if (item.is_doorframe) return ObjectKind::doorframe;
    if (item.is_door) return ObjectKind::door;
    if (item.is_doorbutton) return ObjectKind::doorbutton;
    if (item.is_switch) return ObjectKind::lever_or_switch;
    if (name.find("trigger") != std::string::npos) return ObjectKind::trigger;
    if (name.find("teleporter") != std::string::npos) return ObjectKind::teleporter;
    if (name == "pit" || name == "ipit") return ObjectKind::pit;
    if (item.is_shooter) return ObjectKind::shooter;
    if (item.is_floordamager) return ObjectKind::floordamager;
    if (has_keyword(line, "GENERATES=(")) return ObjectKind::generator;
    if (has_keyword(line, "HEALTH=(") || has_keyword(line, "CARRYING=(")) return ObjectKind::creature;
    if (!item.contents.empty()) return ObjectKind::holder;
    return ObjectKind::other;
}

namespace {

// Where a record was filed, for the links that only some lists take part in.
enum class Filed { held, holder, door, doorbutton, other };

struct FiledItem {
    const Item* item;
    Filed list;
};

std::vector<FiledItem> all_items(const ItemLists& items)
{
    std::vector<FiledItem> all;
    const std::pair<const std::vector<Item>*, Filed> lists[] = {
        {&items.contained_items, Filed::held},     {&items.container_items, Filed::holder},
        {&items.doorframe_items, Filed::other},    {&items.door_items, Filed::door},
        {&items.doorbutton_items, Filed::doorbutton}, {&items.unlisted_items, Filed::other},
        {&items.other_items, Filed::other},
    };
    for (const auto& [list, filed] : lists)
        for (const Item& item : *list) all.push_back({&item, filed});
    std::stable_sort(all.begin(), all.end(),
                     [](const FiledItem& a, const FiledItem& b) { return a.item->line_number < b.item->line_number; });
    return all;
}

// Per held identifier, the holder the item pass linked it to: the first holder, in list order,
// that names it.
std::unordered_map<std::string, const Item*> holders_by_held(const ItemLists& items)
{
    std::unordered_map<std::string, const Item*> holders;
    for (const Item& holder : items.container_items) {
        if (holder.contents.empty()) continue;
        for (const auto& name : held_identifiers(holder.contents)) holders.emplace(name, &holder);
    }
    return holders;
}

// Per square, the door a door button there is linked to: the last door on it.
std::map<std::tuple<int, int, int>, const Item*> doors_by_square(const ItemLists& items)
{
    std::map<std::tuple<int, int, int>, const Item*> doors;
    for (const Item& door : items.door_items) doors[{door.x, door.y, door.level}] = &door;
    return doors;
}

std::string commented_reason(const Item& item, Filed list, const Item* holder)
{
    if (!item.commented) return "";
    if (!item.is_known) return "obj_list.txt does not name its type";
    if (list == Filed::held && !holder) return "no object holds it";
    if (list == Filed::held && holder->commented) return "the object that holds it is written as a comment";
    return "it breaks a rule (see the problems of its line)";
}

// The problems of the report with their lines and kinds.
std::vector<MapProblem> problems_of(const Report& report)
{
    std::vector<MapProblem> problems;
    for (const auto& entry : report.entries())
        problems.push_back(MapProblem{entry.line, entry.severity == Severity::error, entry.message});
    return problems;
}

} // namespace

DungeonModel ModelRecorder::model(const Levels& levels, const ItemLists& items, const std::optional<Entrance>& entrance,
                                  const Report& report) const
{
    DungeonModel model;
    model.grid_width = levels.grid_width;
    model.grid_height = levels.grid_height;
    for (const Level& level : levels.levels)
        model.levels.push_back(
            MapLevel{level.light, level.offset_x, level.offset_y, level.size_x, level.size_y, level.rows, level.complete});

    const auto filed = all_items(items);
    const auto holders = holders_by_held(items);
    const auto doors = doors_by_square(items);
    // The object each variable names in the script; an object written as a statement takes its
    // name from a commented one.
    std::unordered_map<std::string, std::size_t> by_variable;
    std::unordered_map<const Item*, std::size_t> index_of;
    for (std::size_t i = 0; i < filed.size(); ++i) {
        const Item& item = *filed[i].item;
        index_of[&item] = i;
        auto [place, inserted] = by_variable.emplace(force_us(item.id), i);
        if (!inserted && (!item.commented || filed[place->second].item->commented)) place->second = i;
    }
    const auto reference_to = [&](const std::string& name) {
        MapReference reference{name, std::nullopt};
        auto found = by_variable.find(force_us(name));
        if (found != by_variable.end()) reference.object = found->second;
        return reference;
    };
    const auto reference_of = [&](const Item& item) { return MapReference{item.id, index_of.at(&item)}; };

    for (const auto& [item_pointer, list] : filed) {
        const Item& item = *item_pointer;
        const auto recorded = lines_.find(item.line_number);
        const std::string line = recorded == lines_.end() ? std::string() : recorded->second.text;
        MapObject object;
        object.id = item.id;
        object.dump_type = item.is_known ? item.source_type : item.object_name;
        object.object_name = item.is_known ? item.object_name : "";
        object.kind = kind_of(item, line);
        object.level = item.level;
        object.x = item.x;
        object.y = item.y;
        object.placement = object.kind == ObjectKind::pit || item.level < 0 ? "" : item.position;
        const Item* holder = nullptr;
        if (list == Filed::held)
            if (auto found = holders.find(item.id); found != holders.end()) holder = found->second;
        object.commented = item.commented;
        object.commented_reason = commented_reason(item, list, holder);
        object.line = item.line_number;
        object.line_text = line;
        object.properties = item.exvar_text;
        if (holder) object.holder = reference_of(*holder);
        if (list == Filed::doorbutton)
            if (auto door = doors.find({item.x, item.y, item.level}); door != doors.end())
                object.door = reference_of(*door->second);
        if (!item.contents.empty()) object.holds = held_identifiers(item.contents);
        if (recorded != lines_.end()) {
            for (const auto& target : recorded->second.links.targets) object.targets.push_back(reference_to(target));
            if (const auto& square = recorded->second.links.destination)
                object.destination = MapSquare{square->level, square->x, square->y};
        }
        model.objects.push_back(std::move(object));
    }

    model.champions = champions_;
    model.party = party_;
    if (entrance) {
        MapParty party{entrance->level, entrance->x, entrance->y, entrance->facing, entrance->line_number,
                       party_placed_};
        if (levels.is_level(entrance->level)) {
            const Level& level = levels.levels[static_cast<std::size_t>(entrance->level)];
            const long long x = static_cast<long long>(entrance->x) + level.offset_x;
            const long long y = static_cast<long long>(entrance->y) + level.offset_y;
            constexpr long long low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
            // A square beyond the range of the grid's numbers stands nowhere on the page.
            if (x < low || x > high || y < low || y > high) party.level = -1;
            party.x = static_cast<int>(std::clamp(x, low, high));
            party.y = static_cast<int>(std::clamp(y, low, high));
        }
        model.entrance = party;
    }
    model.problems = problems_of(report);
    return model;
}
