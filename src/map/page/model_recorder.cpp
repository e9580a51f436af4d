#include "page/model_recorder.h"

#include <algorithm>
#include <limits>

#include "records/held_list.h"
#include "vocabulary/object_classes.h"

void ModelRecorder::filed(std::size_t object, const Item& item, ItemListId, const std::string& line,
                          const LineLinks& links)
{
    if (model_.objects.size() != object) return;
    MapObject& recorded = model_.objects.emplace_back();
    recorded.id = item.id;
    recorded.dump_type = item.is_known ? item.source_type : item.object_name;
    recorded.object_name = item.is_known ? item.object_name : "";
    recorded.kind = item.kind;
    recorded.level = item.level;
    recorded.x = item.x;
    recorded.y = item.y;
    recorded.placement = recorded.kind == ObjectKind::pit || item.level < 0 ? "" : item.position;
    recorded.commented = item.commented;
    recorded.commented_reason = comment_reason_text(item.comment_reason);
    recorded.line = item.line_number;
    recorded.line_text = line;
    recorded.properties = item.exvar_text;
    for (const auto& target : links.targets) recorded.targets.push_back({target, std::nullopt});
    recorded.destination = links.destination;
    if (!item.contents.empty())
        for (const auto name : held_identifiers(item.contents)) recorded.holds.emplace_back(name);
}

void ModelRecorder::finished_properties(std::size_t object, std::string_view properties)
{
    if (object < model_.objects.size()) model_.objects[object].properties = properties;
}

void ModelRecorder::champion(const std::string& variable) { model_.champions.push_back(variable); }

void ModelRecorder::party_member(const std::string& variable) { model_.party.push_back(variable); }

namespace {

// A reference to a recorded object, by its identifier and number.
MapReference reference_to(const DungeonModel& model, std::size_t object)
{
    return {model.objects[object].id, object};
}

// The party's starting place on the common grid, as the script places it.
MapParty party_at(const Entrance& entrance, const Levels& levels, bool placed)
{
    MapParty party{entrance.level, entrance.x, entrance.y, entrance.facing, entrance.line_number, placed};
    if (!levels.is_level(entrance.level)) return party;
    const GridSquare square = levels.grid_square(entrance.level, entrance.x, entrance.y);
    constexpr long long low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    // A square beyond the range of the grid's numbers stands nowhere on the page.
    if (square.x < low || square.x > high || square.y < low || square.y > high) party.level = -1;
    party.x = static_cast<int>(std::clamp(square.x, low, high));
    party.y = static_cast<int>(std::clamp(square.y, low, high));
    return party;
}

} // namespace

void ModelRecorder::finished(const ConvertedDungeon& dungeon)
{
    model_.grid_width = dungeon.levels.grid_width;
    model_.grid_height = dungeon.levels.grid_height;
    model_.levels = dungeon.levels.levels;

    const std::size_t count = model_.objects.size();
    for (const ObjectLink& held : dungeon.links.held) {
        if (held.object >= count) continue;
        MapObject& object = model_.objects[held.object];
        if (held.linked < count) object.holder = reference_to(model_, held.linked);
        if (held.reason != CommentReason::none) {
            object.commented = true;
            object.commented_reason = comment_reason_text(held.reason);
        }
    }
    for (const ObjectLink& button : dungeon.links.buttons)
        if (button.object < count && button.linked < count)
            model_.objects[button.object].door = reference_to(model_, button.linked);

    for (MapObject& object : model_.objects)
        for (MapReference& target : object.targets)
            if (const std::size_t named = dungeon.names.object_named(target.name); named < count) target.object = named;

    if (dungeon.entrance) model_.entrance = party_at(*dungeon.entrance, dungeon.levels, dungeon.party_placed);
}

DungeonModel ModelRecorder::take_model(const Report& report)
{
    DungeonModel model = std::move(model_);
    model.problems = report.entries();
    model.summary = closing_line(report);
    model.list_name = report.name_of(ProblemFile::object_list);
    return model;
}
