#pragma once
// What the item pass decided about the objects of the items section: the list each object was
// filed in, the holder of each held object and the door of each door button, or why an object is
// written as a comment. The script, the messages and the map page all read these decisions.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/item.h"

// The number of no object.
constexpr std::size_t no_object = static_cast<std::size_t>(-1);

// How many objects a dump may file: objects are counted in 32 bits (their facts and names are
// kept per object, so half their size is worth it), with one number left for none. The item pass
// refuses, with an error, every object beyond; nothing else checks.
constexpr std::size_t max_filed_objects = std::uint32_t{0xFFFFFFFF};

// The seven lists the objects are filed in, in the order the item block writes their spawn statements.
enum class ItemListId : std::uint8_t {
    // Frames of doors, doors and door buttons come first: the buttons' links need their doors.
    doorframe,
    door,
    doorbutton,
    // Holders before what they hold: a held object's spawn statement names its holder.
    container,
    contained,
    other,
    // Objects whose type the object name list does not name, written as comments at the end.
    unlisted,
};

// The number of lists.
constexpr std::size_t item_list_count = static_cast<std::size_t>(ItemListId::unlisted) + 1;

// The decision about one held object or one door button. Objects are numbered from 0 in the
// order of their item lines, counting only the lines that were filed.
struct ObjectLink {
    std::size_t object = no_object;
    // The holder of a held object, the door of a door button; no_object when there is none. For a
    // held object whose first holder is itself held, that holder (no link is written then).
    std::size_t linked = no_object;
    // Why a held object is written as a comment (its own reason first); none when it is not.
    CommentReason reason = CommentReason::none;
};

// Every decision of the linking, in the order of the objects' lines.
struct LinkResult {
    std::vector<ObjectLink> held;
    std::vector<ObjectLink> buttons;
};
