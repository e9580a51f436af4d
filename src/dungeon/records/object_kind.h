#pragma once
// What an object is, as one word: the symbol the map page draws and the group a message names.

#include <span>

#include "records/item.h"

// The kinds of objects, in the order the map page lists them.
enum class ObjectKind {
    door,
    doorframe,
    doorbutton,
    lever_or_switch,
    trigger,
    teleporter,
    pit,
    shooter,
    floordamager,
    generator,
    creature,
    holder,
    other,
};

// The name of a kind as the page and the messages give it ("door button").
const char* kind_name(ObjectKind kind);

// Every kind, in the order above.
std::span<const ObjectKind> all_kinds();

// The kind of a translated object: from its kind flags, its object name and what its keyword
// groups found (a generator, a creature's hit points or carried objects, held objects).
ObjectKind object_kind(const Item& item);
