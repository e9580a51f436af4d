// The model of the map page: what a conversion hands over about levels, objects, links, the
// party and the problems.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "conversion/convert.h"
#include "page/model_recorder.h"

namespace {

const std::string separator = "/" + std::string(78, '*') + "/\n";

// Two levels: level 1 lies 2 columns left and 1 row up of level 0, so level 0 moves to (2,1).
const std::string small_dungeon = "[Main Data]\nENTRANCE...(1,0,1,SOUTH)\n" + separator +
                                  "[Layout]\nWALLSET\nLIGHT(5)\nOFFSET(0,0)\nSIZE(4,3)\n1111\n1001\n1111\n"
                                  "WALLSET\nLIGHT(9)\nOFFSET(-2,-1)\nSIZE(3,2)\n111\n101\n" +
                                  separator +
                                  "[Items]\n"
                                  "door-1 DOOR 1 1 0 NORTH\n"                               // line 19
                                  "btn-1 BUTTON 1 1 0 WEST\n"                               // 21
                                  "lever-1 LEVER 2 1 0 EAST TARGET=(door-1,gate) DELAY:2\n" // 22
                                  "chest-1 CHEST 2 1 0 HOLDS=(key-1,nothing)\n"             // 23
                                  "key-1 KEY 0 0 -1\n"                                      // 24
                                  "lost-1 KEY 0 0 -1\n"                                     // 25
                                  "tele-1 TELEPORTER 1 1 1 DESTINATION=(2,1,0) ROTATE:LEFT)\n" // 26
                                  "ghost-1 GHOST 1 1 1 HEALTH=(9)\n"                        // 27
                                  "pit-1 PIT 1 1 1 NORTH\n"                                 // 28
                                  "bad TORCH x 1 0\n"                                       // 29
                                  "gate DOOR 2 1 0\n" +                                     // 30
                                  separator + "[Characters]\nch-1 (One) (f) face:X_Y_ONE, (1,1,1) (0,0,0,0) (1,1,1,1,1,1)\n"
                                              "[Party]\nch-1\n";

const std::string names_text = "DOOR door_wood BUTTON doorbutton LEVER lever CHEST chest KEY key_iron "
                               "TELEPORTER teleporter PIT pit TORCH torch";

struct ModelRun {
    int status = 0;
    std::string script;
    DungeonModel model;
    Report report;
};

ModelRun run_with_model(const std::string& dump, const std::string& list = names_text)
{
    std::istringstream dump_stream(dump);
    std::istringstream list_stream(list);
    const ObjectList names = ObjectList::read(list_stream);
    std::ostringstream script;
    ModelRun run;
    ModelRecorder recorder;
    run.status = convert(dump_stream, script, names, run.report, &recorder);
    run.model = recorder.take_model(run.report);
    run.script = script.str();
    return run;
}

const MapObject& object_named(const DungeonModel& model, const std::string& id)
{
    for (const auto& object : model.objects)
        if (object.id == id) return object;
    ADD_FAILURE() << "no object " << id;
    static const MapObject none;
    return none;
}

std::string reference_id(const DungeonModel& model, const MapReference& reference)
{
    return reference.object ? model.objects.at(*reference.object).id : "(none)";
}

} // namespace

TEST(MapModel, LevelsAndObjectsStandOnTheCommonGrid)
{
    const auto run = run_with_model(small_dungeon);
    const DungeonModel& model = run.model;
    EXPECT_EQ(model.grid_width, 6);
    EXPECT_EQ(model.grid_height, 4);
    ASSERT_EQ(model.levels.size(), 2u);
    EXPECT_EQ(model.levels[0].offset_x, 2);
    EXPECT_EQ(model.levels[0].offset_y, 1);
    EXPECT_EQ(model.levels[1].light, 9);
    EXPECT_EQ(model.levels[1].rows, (std::vector<std::string>{"111", "101"}));

    // The skipped line 29 is no object; the others keep dump order.
    std::vector<std::string> ids;
    for (const auto& object : model.objects) ids.push_back(object.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"door-1", "btn-1", "lever-1", "chest-1", "key-1", "lost-1", "tele-1",
                                             "ghost-1", "pit-1", "gate"}));

    const MapObject& lever = object_named(model, "lever-1");
    EXPECT_EQ(lever.level, 0);
    EXPECT_EQ(lever.x, 4);
    EXPECT_EQ(lever.y, 2);
    EXPECT_EQ(lever.placement, "EAST");
    EXPECT_EQ(lever.line, 22);
    EXPECT_EQ(lever.line_text, "lever-1 LEVER 2 1 0 EAST TARGET=(door-1,gate) DELAY:2");
    EXPECT_EQ(lever.object_name, "lever_up");
    EXPECT_EQ(lever.properties, "exvar[TVK_lever_1]={target={TVK_door_1,TVK_gate},delay=2}\n");

    const MapObject& tele = object_named(model, "tele-1");
    EXPECT_EQ(tele.level, 1);
    EXPECT_EQ(tele.x, 1);
    EXPECT_EQ(tele.y, 1);
    // A pit has no placement in the script, and an object inside another one no square.
    EXPECT_EQ(object_named(model, "pit-1").placement, "");
    EXPECT_EQ(object_named(model, "key-1").level, -1);
}

TEST(MapModel, KindsFollowTheObjectAndItsLine)
{
    const auto run = run_with_model(small_dungeon);
    const DungeonModel& model = run.model;
    EXPECT_EQ(object_named(model, "door-1").kind, ObjectKind::door);
    EXPECT_EQ(object_named(model, "btn-1").kind, ObjectKind::doorbutton);
    EXPECT_EQ(object_named(model, "lever-1").kind, ObjectKind::lever_or_switch);
    EXPECT_EQ(object_named(model, "chest-1").kind, ObjectKind::holder);
    EXPECT_EQ(object_named(model, "key-1").kind, ObjectKind::other);
    EXPECT_EQ(object_named(model, "tele-1").kind, ObjectKind::teleporter);
    EXPECT_EQ(object_named(model, "ghost-1").kind, ObjectKind::creature);
    EXPECT_EQ(object_named(model, "pit-1").kind, ObjectKind::pit);
}

TEST(MapModel, LinksReachTheirObjects)
{
    const auto run = run_with_model(small_dungeon);
    const DungeonModel& model = run.model;

    const MapObject& lever = object_named(model, "lever-1");
    ASSERT_EQ(lever.targets.size(), 2u);
    EXPECT_EQ(lever.targets[0].name, "door-1");
    EXPECT_EQ(reference_id(model, lever.targets[0]), "door-1");
    // A target named after the line that names it still reaches the object of that name.
    EXPECT_EQ(reference_id(model, lever.targets[1]), "gate");

    const MapObject& button = object_named(model, "btn-1");
    ASSERT_TRUE(button.door);
    EXPECT_EQ(reference_id(model, *button.door), "door-1");

    const MapObject& key = object_named(model, "key-1");
    ASSERT_TRUE(key.holder);
    EXPECT_EQ(reference_id(model, *key.holder), "chest-1");
    EXPECT_EQ(object_named(model, "chest-1").holds, (std::vector<std::string>{"key-1", "nothing"}));
    EXPECT_FALSE(object_named(model, "lost-1").holder);

    // The destination is a square of the common grid: level 0's offsets are added.
    const MapObject& tele = object_named(model, "tele-1");
    ASSERT_TRUE(tele.destination);
    EXPECT_EQ(tele.destination->level, 0);
    EXPECT_EQ(tele.destination->x, 4);
    EXPECT_EQ(tele.destination->y, 2);
}

TEST(MapModel, CommentedObjectsAreMarkedWithTheirReason)
{
    const auto run = run_with_model(small_dungeon);
    const DungeonModel& model = run.model;
    const MapObject& ghost = object_named(model, "ghost-1");
    EXPECT_TRUE(ghost.commented);
    EXPECT_EQ(ghost.object_name, "");
    EXPECT_EQ(ghost.dump_type, "GHOST");
    EXPECT_EQ(ghost.commented_reason, "the object name list does not name its type");
    const MapObject& lost = object_named(model, "lost-1");
    EXPECT_TRUE(lost.commented);
    EXPECT_EQ(lost.commented_reason, "no object holds it");
    EXPECT_FALSE(object_named(model, "key-1").commented);
    EXPECT_FALSE(object_named(model, "door-1").commented);
}

TEST(MapModel, PartyChampionsAndProblems)
{
    const auto run = run_with_model(small_dungeon);
    const DungeonModel& model = run.model;
    ASSERT_TRUE(model.entrance);
    EXPECT_EQ(model.entrance->level, 1);
    EXPECT_EQ(model.entrance->x, 1);
    EXPECT_EQ(model.entrance->y, 0);
    EXPECT_EQ(model.entrance->facing, "SOUTH");
    EXPECT_EQ(model.entrance->line, 2);
    EXPECT_TRUE(model.entrance->placed);
    EXPECT_EQ(model.champions, (std::vector<std::string>{"ch_1"}));
    EXPECT_EQ(model.party, (std::vector<std::string>{"ch_1"}));

    // Every problem of the report, with its line: the skipped line and the object nobody holds.
    ASSERT_EQ(model.problems.size(), run.report.lines().size());
    std::vector<long> lines;
    for (const auto& problem : model.problems) lines.push_back(problem.line);
    EXPECT_NE(std::find(lines.begin(), lines.end(), 29), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), 25), lines.end());
}

TEST(MapModel, WhatThePageIsToldOfHeldObjectsButtonsTargetsAndTheList)
{
    auto dump = small_dungeon;
    dump.replace(dump.find("key-1 KEY 0 0 -1"), 16, "key-1 KEY 0 0 -1 NORTH");
    // A list that names a type twice: its warning is the list's.
    const auto run = run_with_model(dump, names_text + " KEY key_gold");
    const DungeonModel& model = run.model;
    // A held object stands nowhere, so it has no placement.
    EXPECT_EQ(object_named(model, "key-1").placement, "");
    // A door button's link to its door is among its properties.
    EXPECT_EQ(object_named(model, "btn-1").properties, "exvar[TVK_btn_1]={target=TVK_door_1}\n");
    // A target that names no object is given by its name alone.
    auto lever_dump = dump;
    lever_dump.replace(lever_dump.find("TARGET=(door-1,gate)"), 20, "TARGET=(nobody,gate)");
    const auto lever_run = run_with_model(lever_dump);
    const MapObject& lever = object_named(lever_run.model, "lever-1");
    ASSERT_EQ(lever.targets.size(), 2u);
    EXPECT_EQ(lever.targets[0].name, "nobody");
    EXPECT_FALSE(lever.targets[0].object);
    // Only a comment has a reason.
    for (const auto& object : model.objects)
        EXPECT_EQ(object.commented_reason.empty(), !object.commented) << object.id;
    // The list's problems are marked as the list's, before the dump's.
    ASSERT_FALSE(model.problems.empty());
    EXPECT_EQ(model.problems.front().file, ProblemFile::object_list);
    EXPECT_EQ(model.problems.front().line, 1);
    EXPECT_EQ(model.problems.back().file, ProblemFile::dump);
}

TEST(MapModel, AnEntranceThatIsNotPlacedIsStillShown)
{
    auto dump = small_dungeon;
    dump.replace(dump.find("SOUTH"), 5, "UP");
    const auto run = run_with_model(dump);
    ASSERT_TRUE(run.model.entrance);
    EXPECT_FALSE(run.model.entrance->placed);
    EXPECT_EQ(run.model.entrance->facing, "UP");
}

TEST(MapModel, AskingForTheModelLeavesScriptAndStatusAsTheyAre)
{
    const auto run = run_with_model(small_dungeon);
    std::istringstream dump_stream(small_dungeon);
    std::istringstream list_stream(names_text);
    const ObjectList names = ObjectList::read(list_stream);
    std::ostringstream script;
    Report report;
    EXPECT_EQ(convert(dump_stream, script, names, report), run.status);
    EXPECT_EQ(script.str(), run.script);
    EXPECT_EQ(report.lines(), run.report.lines());
}

namespace {

// The variable of an object's identifier in the script.
std::string variable_of(const std::string& id)
{
    std::string variable = "TVK_";
    for (char c : id)
        if (c != ' ') variable += c == '-' ? '_' : c;
    return variable;
}

bool has_line_starting(const std::string& script, const std::string& start)
{
    return script.starts_with(start) || script.find("\n" + start) != std::string::npos;
}

bool reported(const Report& report, long line, const std::string& part)
{
    for (const auto& problem : report.entries())
        if (problem.line == line && problem.message.find(part) != std::string::npos) return true;
    return false;
}

} // namespace

// On every end-to-end case, what the page says of holders, doors and comments is what the script
// writes and the report says.
TEST(MapModel, HoldersDoorsAndCommentsAgreeWithTheScriptOnEveryCase)
{
    std::size_t checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(D2L_CASES_DIR)) {
        std::ifstream dump_file(entry.path() / "my_dungeon.txt", std::ios::binary);
        std::ifstream list_file(entry.path() / "obj_list.txt", std::ios::binary);
        if (!dump_file || !list_file) continue;
        SCOPED_TRACE(entry.path().filename().string());
        const ObjectList names = ObjectList::read(list_file);
        std::ostringstream script_stream;
        Report report;
        ModelRecorder recorder;
        convert(dump_file, script_stream, names, report, &recorder);
        const DungeonModel model = recorder.take_model(report);
        const std::string script = script_stream.str();
        for (const MapObject& object : model.objects) {
            const std::string variable = variable_of(object.id);
            const std::string spawn = variable + "=";
            EXPECT_TRUE(has_line_starting(script, (object.commented ? "--" : "") + spawn)) << object.id;
            if (object.holder && !object.commented) {
                EXPECT_NE(script.find(spawn + "kel_spawn(\"" + object.object_name + "\",IN_OBJ," +
                                      variable_of(object.holder->name) + ",-1,0)\n"),
                          std::string::npos)
                    << object.id;
            }
            if (object.door) {
                EXPECT_TRUE(has_line_starting(script, std::string(object.commented ? "--" : "") + "exvar[" +
                                                          variable + "]={target=" + variable_of(object.door->name) +
                                                          "}\n"))
                    << object.id;
            }
            if (object.commented_reason == "no object holds it") {
                EXPECT_TRUE(reported(report, object.line, "no object holds object")) << object.id;
            }
            if (object.commented_reason == "the object that holds it is itself held") {
                ASSERT_TRUE(object.holder) << object.id;
                EXPECT_TRUE(reported(report, object.line, "is inside \"" + object.holder->name + "\", which is itself held"))
                    << object.id;
            }
            if (object.commented_reason == "its square is left of or above the common grid") {
                EXPECT_TRUE(reported(report, object.line, "left of or above every map")) << object.id;
            }
            EXPECT_EQ(object.commented, !object.commented_reason.empty()) << object.id;
            ++checked;
        }
    }
    EXPECT_GT(checked, 100u);
}
