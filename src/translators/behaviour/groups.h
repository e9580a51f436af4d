#pragma once
// The keyword groups of the behaviour translator, each filling its part of the properties.
// They run in the order of keyword_groups, each only for the objects its row names; later groups
// may overwrite what earlier ones set.

#include "behaviour/properties.h"
#include "records/item.h"

// 1: "TARGET=(" with its list and "DELAY:".
void read_targets(const LineContext& context, Item& item, Properties& properties);
// 2: the power of flasks and bombs, the charge of other objects.
void read_charge(const LineContext& context, Item& item, Properties& properties);
// 3: "OPBY=(" and what operates the object.
void read_operated_by(const LineContext& context, Item& item, Properties& properties);
// 4: "DESTINATION=(" with "ROTATE:".
void read_destination(const LineContext& context, Item& item, Properties& properties);
// 5: "TEXT=(".
void read_text(const LineContext& context, Item& item, Properties& properties);
// 6: "DISABLE_SELF".
void read_disable_self(const LineContext& context, Item& item, Properties& properties);
// 7: "SOUND:".
void read_sound(const LineContext& context, Item& item, Properties& properties);
// 8: "DESTROY_ITEM".
void read_destroy_item(const LineContext& context, Item& item, Properties& properties);
// 9: the messages; the last one found wins.
void read_messages(const LineContext& context, Item& item, Properties& properties);
// 10: "CONSTANT_WEIGHT", then "RELEASE".
void read_weight_and_release(const LineContext& context, Item& item, Properties& properties);
// 11: what a shooter shoots and how hard (shooters only).
void read_shooter(const LineContext& context, Item& item, Properties& properties);
// 12: a floor damager's damage (floor damagers only).
void read_floor_damage(const LineContext& context, Item& item, Properties& properties);
// 13: the objects carried ("CARRYING=(") or held ("HOLDS=(").
void read_contents(const LineContext& context, Item& item, Properties& properties);
// 14: a generator's creature, hit points, numbers and regeneration.
void read_generator(const LineContext& context, Item& item, Properties& properties);
// 15: "COUNT=(".
void read_count(const LineContext& context, Item& item, Properties& properties);
// 16: a creature's hit points.
void read_health(const LineContext& context, Item& item, Properties& properties);
// 17: the champion a mirror holds (mirrors only).
void read_champion(const LineContext& context, Item& item, Properties& properties);
// 18: an initial state that disables the object.
void read_state(const LineContext& context, Item& item, Properties& properties);
