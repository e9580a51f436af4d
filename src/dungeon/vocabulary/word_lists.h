#pragma once
// The words an item line gives inside its tokens and values, each list once: placements, states,
// rotations, the words of OPBY=(, and the longer and shorter forms of keywords that some groups
// look for.

#include <array>
#include <string_view>

// The placement words of an item line's sixth token, each written as itself; any other word
// places the object at the default placement.
inline constexpr std::array<std::string_view, 8> placement_words = {
    "NORTHWEST", "NORTHEAST", "SOUTHWEST", "SOUTHEAST", "NORTH", "SOUTH", "WEST", "EAST",
};
inline constexpr std::string_view default_placement = "CENTER";

// When a state word of STATE=( disables the object at the start.
enum class StateEffect : unsigned char {
    // Never: the state the object has anyway.
    none,
    // Always: kel_disable after its table.
    disables,
    // Only for pits.
    disables_pits,
};

// The state words the converter knows, whole words, with what each does.
struct StateWord {
    std::string_view word;
    StateEffect effect;
};
inline constexpr std::array<StateWord, 6> state_words = {{
    {"OPEN", StateEffect::disables},
    {"CLOSED", StateEffect::disables_pits},
    {"ACTIVE", StateEffect::none},
    {"INACTIVE", StateEffect::disables},
    {"VISIBLE", StateEffect::none},
    {"INVISIBLE", StateEffect::disables},
}};

// The words of a ROTATE: value, in the order they are tried (the first the value holds wins),
// with what each appends to the destination.
struct RotationWord {
    std::string_view word;
    std::string_view property;
};
inline constexpr std::array<RotationWord, 7> rotation_words = {{
    {"NORTH", ",face=NORTH"},
    {"WEST", ",face=WEST"},
    {"SOUTH", ",face=SOUTH"},
    {"EAST", ",face=EAST"},
    {"LEFT", ",spin=3"},
    {"RIGHT", ",spin=1"},
    {"180", ",spin=2"},
}};

// The words of OPBY=( that say who operates the object, each found anywhere in the list, and
// what each sets; a list without them names an object type.
struct OperatorWord {
    std::string_view word;
    bool party;
    bool monster;
    bool thing;
    bool spell;
    bool mouse;
};
inline constexpr std::array<OperatorWord, 6> operator_words = {{
    // word      party  monster thing  spell  mouse
    {"MOUSE", false, false, false, false, true},
    {"PARTY", true, false, false, false, false},
    {"MONSTER", false, true, false, false, false},
    {"OBJECT", false, false, true, false, false},
    {"SPELL", false, false, false, true, false},
    {"ALL", true, true, true, true, false},
}};

// Anywhere in an item line: the lever is down, the switch pushed (suffix rules of object_classes.h).
inline constexpr std::string_view pressed_state = "STATE:B";

// The longer and shorter forms of keywords that some groups look for anywhere in the line:
// "SOUND:NULL" silences, "ACTION=(DESTROY)" is a message, "TYPE=(DOUBLE)" a double shooter;
// "STATE" starts the search of the state word, "STATE:B" turns a lever down and pushes a switch;
// "NULL" in a target list withdraws it.
inline constexpr std::array<std::string_view, 6> extra_forms = {
    "SOUND:NULL", "ACTION=(DESTROY)", "TYPE=(DOUBLE)", "STATE", pressed_state, "NULL",
};

// The words of a SHOOTS=( value that names no object type: the shooter shoots what lies in it.
inline constexpr std::string_view shoots_any_object = "OBJECT";
