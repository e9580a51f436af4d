#pragma once
// One object of the dump's items section, with the two statement texts the script gets for it.

#include <cstdint>
#include <string>

#include "vocabulary/object_classes.h"

// Why every statement of an object is written as a Lua comment.
enum class CommentReason : std::uint8_t {
    none,
    // The object name list does not name its type (or names it X_UNKNOWN).
    unlisted_type,
    // Its square on the common grid is left of or above every level's map.
    off_grid,
    // It lies inside another object (level -1), and no holder names it.
    no_holder,
    // The first object that names it is itself held.
    holder_held,
    // The object that holds it is written as a comment.
    holder_commented,
};

// The reason as the map page and the messages give it: "no object holds it", ...
const char* comment_reason_text(CommentReason reason);

// The record of one item line: identity, place on the common grid, what the object is, the spawn
// statement and the property statements. A plain value: the item pass fills one record per line
// (reusing it from line to line) and keeps what the linking and the writing need of it.
class Item {
public:
    std::string id;
    std::string source_type;
    std::string object_name;
    int x = 0;
    int y = 0;
    int level = 0;
    std::string position;
    std::string spawn_text;
    std::string exvar_text;
    bool has_exvars = false;
    // True when the object is held inside another object (level -1, not a pit): it has no square
    // of its own, and its spawn statement waits for the link to its holder.
    bool off_map = false;
    bool is_known = false;
    // What the rules of the object table gave the object (object_classes.h).
    ObjectFlags flags;
    // Set by the behaviour groups: the line generates creatures, or gives hit points or carried objects.
    bool is_generator = false;
    bool is_creature = false;
    // The kind the map page draws, from the flags and what the behaviour groups found.
    ObjectKind kind = ObjectKind::other;
    std::string contents;
    // The TARGET=( list as the line gives it, when the property statements name targets.
    std::string target_list;
    // The champion a mirror holds, as the line names it, when its property statements name one.
    std::string champion;
    // Where each of the three texts above begins in the line, in bytes from 1, for the messages
    // about a name in them; set with the text.
    std::size_t contents_column = 0;
    std::size_t target_list_column = 0;
    std::size_t champion_column = 0;

    // The dump line the record was read from, for reports.
    long line_number = 0;
    // True when every statement of the object is written as a Lua comment, and why.
    bool commented = false;
    CommentReason comment_reason = CommentReason::none;

    // True when the rules of the object table gave the object that flag.
    bool is(ObjectFlag flag) const { return flags.has(flag); }
};
