#pragma once
// What a conversion made of a dungeon, as the map page shows it: levels on the common grid,
// objects with their kind, square and links, the champions, the party and the problems.

#include <optional>
#include <string>
#include <vector>

#include "levels/levels.h"
#include "records/line_links.h"
#include "vocabulary/object_classes.h"
#include "report/report.h"

// An object that another one names (a target), with the object the name reaches, if any.
struct MapReference {
    std::string name;
    // Index into DungeonModel::objects; none when no object of the script has that name.
    std::optional<std::size_t> object;
};

// One object of the items section as the script places it.
struct MapObject {
    std::string id;
    // The type word of the dump.
    std::string dump_type;
    // The target engine's object name, with its state suffix; empty when obj_list.txt lacks the type.
    std::string object_name;
    ObjectKind kind = ObjectKind::other;
    // The square on the common grid; level -1 for an object inside another one (no square).
    int level = 0;
    int x = 0;
    int y = 0;
    // The placement word: a facing, a corner or CENTER.
    std::string placement;
    // True when every statement of the object is a Lua comment; the reason says why.
    bool commented = false;
    std::string commented_reason;
    long line = 0;
    std::string line_text;
    // The property statements the script holds for the object, as written.
    std::string properties;
    std::vector<MapReference> targets;
    // A door button's door (the door on its square).
    std::optional<MapReference> door;
    // A teleporter's destination.
    std::optional<LinkedSquare> destination;
    // The object that holds this one.
    std::optional<MapReference> holder;
    // The identifiers this object names as carried or held.
    std::vector<std::string> holds;
};

// The party's starting place on the common grid.
struct MapParty {
    int level = 0;
    int x = 0;
    int y = 0;
    std::string facing;
    long line = 0;
    // False when the script does not place the party there (the place breaks a rule).
    bool placed = false;
};

// Everything the page shows.
struct DungeonModel {
    // The dump's and the object name list's file names as the user gave them.
    std::string dump_name = "my_dungeon.txt";
    std::string list_name = "obj_list.txt";
    int grid_width = 0;
    int grid_height = 0;
    // The level blocks as read; one that is not complete is not built by the script.
    std::vector<Level> levels;
    // In the order of their lines in the dump.
    std::vector<MapObject> objects;
    // The champion variables the definitions assign, and the party's members in slot order.
    std::vector<std::string> champions;
    std::vector<std::string> party;
    std::optional<MapParty> entrance;
    std::vector<Problem> problems;
    // The closing count of the messages, as the run prints it; empty when there is none.
    std::string summary;
};
