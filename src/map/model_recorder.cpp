#include "map/model_recorder.h"

#include <algorithm>
#include <limits>
#include <map>
#include <tuple>

#include "behaviour/keywords.h"
#include "items/item_line.h"
#include "text/normalise.h"

LineLinks* ModelRecorder::links_of_line(long number, const std::string& line)
{
    RecordedLine& recorded = lines_[number];
    recorded = RecordedLine{line, {}};
    return &recorded.links;
}

void ModelRecorder::filed(const Item& item, FiledList list)
{
    items_.push_back({item, list});
    items_.back().item.links = nullptr;
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

// Per held identifier, the holder the item pass links it to: the first holder, in list order,
// that names it (its place among the filed records).
template <typename Filed>
std::unordered_map<std::string, std::size_t> holders_by_held(const std::vector<Filed>& items)
{
    std::unordered_map<std::string, std::size_t> holders;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& holder = items[i].item;
        if (items[i].list != FiledList::holder || holder.contents.empty()) continue;
        for (const auto name : held_identifiers(holder.contents)) holders.emplace(std::string(name), i);
    }
    return holders;
}

// Per square, the door a door button there is linked to: the last door on it.
template <typename Filed>
std::map<std::tuple<int, int, int>, std::size_t> doors_by_square(const std::vector<Filed>& items)
{
    std::map<std::tuple<int, int, int>, std::size_t> doors;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& door = items[i].item;
        if (items[i].list == FiledList::door) doors[{door.x, door.y, door.level}] = i;
    }
    return doors;
}

std::string commented_reason(const Item& item, FiledList list, const Item* holder)
{
    if (!item.commented) return "";
    if (!item.is_known) return "obj_list.txt does not name its type";
    if (list == FiledList::held && !holder) return "no object holds it";
    if (list == FiledList::held && holder->commented) return "the object that holds it is written as a comment";
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

DungeonModel ModelRecorder::model(const Levels& levels, const std::optional<Entrance>& entrance,
                                  const Report& report) const
{
    DungeonModel model;
    model.grid_width = levels.grid_width;
    model.grid_height = levels.grid_height;
    for (const Level& level : levels.levels)
        model.levels.push_back(
            MapLevel{level.light, level.offset_x, level.offset_y, level.size_x, level.size_y, level.rows, level.complete});

    const auto holders = holders_by_held(items_);
    const auto doors = doors_by_square(items_);
    // The records as the item pass finishes them: a held object linked to its holder or written
    // as a comment, a door button linked to the door on its square. Holders and doors stay as filed.
    std::vector<Item> linked;
    linked.reserve(items_.size());
    std::vector<std::optional<std::size_t>> holder_of(items_.size()), door_of(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        Item item = items_[i].item;
        if (items_[i].list == FiledList::held) {
            if (auto found = holders.find(item.id); found != holders.end()) {
                holder_of[i] = found->second;
                item.make_carry(items_[found->second].item);
            } else {
                item.comment_out();
            }
        } else if (items_[i].list == FiledList::doorbutton) {
            if (auto door = doors.find({item.x, item.y, item.level}); door != doors.end()) {
                door_of[i] = door->second;
                if (item.comp_xyz(items_[door->second].item)) item.make_doorb(items_[door->second].item);
            }
        }
        linked.push_back(std::move(item));
    }
    // The object each variable names in the script; an object written as a statement takes its
    // name from a commented one.
    std::unordered_map<std::string, std::size_t> by_variable;
    for (std::size_t i = 0; i < linked.size(); ++i) {
        auto [place, inserted] = by_variable.emplace(force_us(linked[i].id), i);
        if (!inserted && (!linked[i].commented || linked[place->second].commented)) place->second = i;
    }
    const auto reference_to = [&](const std::string& name) {
        MapReference reference{name, std::nullopt};
        auto found = by_variable.find(force_us(name));
        if (found != by_variable.end()) reference.object = found->second;
        return reference;
    };
    const auto reference_of = [&](std::size_t index) { return MapReference{linked[index].id, index}; };

    for (std::size_t i = 0; i < linked.size(); ++i) {
        const Item& item = linked[i];
        const FiledList list = items_[i].list;
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
        const Item* holder = holder_of[i] ? &linked[*holder_of[i]] : nullptr;
        object.commented = item.commented;
        object.commented_reason = commented_reason(item, list, holder);
        object.line = item.line_number;
        object.line_text = line;
        object.properties = item.exvar_text;
        if (holder_of[i]) object.holder = reference_of(*holder_of[i]);
        if (door_of[i]) object.door = reference_of(*door_of[i]);
        if (!item.contents.empty())
            for (const auto name : held_identifiers(item.contents)) object.holds.emplace_back(name);
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
