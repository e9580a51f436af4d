#pragma once
// What an object is: the one table of rules that decides it from the object's name and dump type,
// the flags the rules give (read by the translators, the word checks and the map page), and the
// kind the map page draws.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/flat_table.h"
#include "store/hash.h"
#include "text/chars.h"

// One thing a rule of the table decides about an object.
enum class ObjectFlag : std::uint8_t {
    mirror,
    doorbutton,
    doorframe,
    shooter,
    floordamager,
    door,
    lever,
    switch_by_type,
    small_switch,
    pit_statement,
    pit,
    teleporter,
    teleporter_symbol,
    floortext,
    flask,
    bomb,
    torch,
    trigger,
    trigger_symbol,
};

// The flags an object's rules gave it.
struct ObjectFlags {
    std::uint32_t bits = 0;
    bool has(ObjectFlag flag) const { return (bits >> static_cast<unsigned>(flag) & 1u) != 0; }
    void set(ObjectFlag flag) { bits |= 1u << static_cast<unsigned>(flag); }
};

// How a rule tests the object.
enum class NameTest : std::uint8_t {
    // The object name is the word, whole.
    name_is,
    // The word stands anywhere in the object name (case-sensitive).
    name_contains,
    // The word stands anywhere in the dump type (never for an unlisted type: its type is X_UNKNOWN).
    type_contains,
};

// Which name a rule reads: the one the object name list gives (for an unlisted type, the dump's
// type text), or the one written into the script, with the suffix of a lever or switch.
enum class NameStage : std::uint8_t { listed, written };

// One rule: the flag it gives when its test holds, and what reads the flag. A rule that names a
// flag in `only_with` or `unless_flag` reads the flag an earlier row gave.
struct ObjectRule {
    ObjectFlag flag;
    NameTest test;
    std::string_view word;
    NameStage stage;
    // The rule does not hold when the object name contains this word (empty: no such condition).
    std::string_view unless_name_contains = {};
    // The rule holds only for an object that has (or has not) been given this flag before.
    bool has_condition = false;
    bool unless = false;
    ObjectFlag condition = ObjectFlag::mirror;
    // Who reads the flag: the script ("script: ...") and the map page's symbol ("page: ...").
    std::string_view read_by = {};
};

// Every rule, in the order it is applied. The rules on the written name run after the suffix of a
// lever or switch is added, so that suffix takes part in them ("lever_up" holds no "pit").
// Where the script and the page read one word by two tests, both rows stand side by side: the
// page draws every name that holds "teleporter" or "trigger" with their symbols, while the script
// gives "silent=true" and "opby_party_carry=true" only to the exact names.
// clang-format off
inline constexpr std::array<ObjectRule, 21> object_rules = {{
    // flag                        test                     word            stage
    {ObjectFlag::mirror,          NameTest::name_contains, "mirror",       NameStage::listed, {}, false, false, {},
     "script: HOLDS=( names the champion it holds, not held objects"},
    {ObjectFlag::doorbutton,      NameTest::name_contains, "doorbutton",   NameStage::listed, {}, false, false, {},
     "script: filed with the door buttons, linked to the door on its square; page: door button"},
    {ObjectFlag::doorframe,       NameTest::name_contains, "doorframe",    NameStage::listed, {}, false, false, {},
     "script: filed with the door frames; page: door frame"},
    {ObjectFlag::shooter,         NameTest::name_is,       "shooter",      NameStage::listed, {}, false, false, {},
     "script: the shooter group runs (SHOOTS=(, STRENGTH=(, TYPE=(DOUBLE)); page: shooter"},
    {ObjectFlag::floordamager,    NameTest::name_is,       "floordamager", NameStage::listed, {}, false, false, {},
     "script: the floor damage group runs (DAMAGE=(, TYPE=(); page: floor damager"},
    {ObjectFlag::door,            NameTest::name_contains, "door_",        NameStage::listed, {}, false, false, {},
     "script: filed with the doors; page: door"},
    {ObjectFlag::lever,           NameTest::name_contains, "lever",        NameStage::listed, {}, false, false, {},
     "script: a switch, its name gets \"_down\" with STATE:B, else \"_up\"; page: lever or switch"},
    {ObjectFlag::switch_by_type,  NameTest::type_contains, "SWITCH",       NameStage::listed, "eye", true, true,
     ObjectFlag::lever,
     "script: a switch (not when a lever), its name gets \"_pushed\" with STATE:B; page: lever or switch"},
    {ObjectFlag::small_switch,    NameTest::name_contains, "small",        NameStage::listed, {}, true, false,
     ObjectFlag::switch_by_type, "script: the switch never gets \"_pushed\""},
    {ObjectFlag::small_switch,    NameTest::name_contains, "tiny",         NameStage::listed, {}, true, false,
     ObjectFlag::switch_by_type, "script: the switch never gets \"_pushed\""},
    {ObjectFlag::pit_statement,   NameTest::name_is,       "pit",          NameStage::written, {}, false, false, {},
     "script: spawned by spawn_pit, without a placement word, never held"},
    {ObjectFlag::pit,             NameTest::name_is,       "pit",          NameStage::written, {}, false, false, {},
     "script: STATE=(CLOSED) disables it; page: pit"},
    {ObjectFlag::pit,             NameTest::name_is,       "ipit",         NameStage::written, {}, false, false, {},
     "script: STATE=(CLOSED) disables it; page: pit"},
    {ObjectFlag::teleporter,      NameTest::name_is,       "teleporter",   NameStage::written, {}, false, false, {},
     "script: \"silent=true\" in place of a missing sound"},
    {ObjectFlag::teleporter_symbol, NameTest::name_contains, "teleporter", NameStage::written, {}, false, false, {},
     "page: teleporter"},
    {ObjectFlag::floortext,       NameTest::name_is,       "floortext",    NameStage::written, {}, false, false, {},
     "script: \"color={255,255,255}\" and \"disable_self=true\" in its table; page: floor text"},
    {ObjectFlag::flask,           NameTest::name_contains, "flask_",       NameStage::written, {}, false, false, {},
     "script: always a table, CHARGE=( as \"power=\" 1 to 6; page: flask"},
    {ObjectFlag::bomb,            NameTest::name_contains, "bomb",         NameStage::written, {}, false, false, {},
     "script: always a table, CHARGE=( as \"power=\" 1 to 6; page: bomb"},
    {ObjectFlag::torch,           NameTest::name_contains, "torch",        NameStage::written, {}, false, false, {},
     "script: CHARGE=( is never written; page: torch"},
    {ObjectFlag::trigger,         NameTest::name_is,       "trigger",      NameStage::written, {}, false, false, {},
     "script: a looked-up OPBY=( object comes with \"opby_party_carry=true\""},
    {ObjectFlag::trigger_symbol,  NameTest::name_contains, "trigger",      NameStage::written, {}, false, false, {},
     "page: trigger"},
}};
// clang-format on

// The flags the rules of one stage give a name; `type` is the dump type the type tests read, and
// `flags` holds what the rules before gave (the listed stage's for the written stage).
ObjectFlags classified(NameStage stage, std::string_view name, std::string_view type, ObjectFlags flags = {});

// The flags of an object whose listed name and type are these: the listed stage's, and the
// written stage's when the written name is the listed one (no lever or switch suffix).
struct NameFlags {
    ObjectFlags listed;
    ObjectFlags written;
};

// The flags that both stages of the rules give a name and type, its written name being the
// listed one.
NameFlags name_flags(std::string_view name, std::string_view type);

// The flags of each pair of the object name list that a conversion met, worked out by the rules
// once: a dungeon has a few hundred kinds of object and many thousands of each. A pair is known
// by the address of its name in the list, which stands while the list does; past a bound of
// pairs (a list of made-up types) the rules run for each object, so memory stays small.
class ClassifiedNames {
public:
    // The flags of an object of the listed pair whose name is `listed_name` (the list's own text)
    // and whose dump type is `type`.
    NameFlags of(const std::string& listed_name, std::string_view type);
    // The written stage's flags of an object of that listed pair, met by of() before, whose
    // written name is the listed one with the suffix numbered `suffix` (1 to 3) of a lever or
    // switch; `listed` are the listed stage's flags.
    ObjectFlags suffixed(const std::string& listed_name, std::string_view type, std::size_t suffix,
                         std::string_view written_name, ObjectFlags listed);

    // The number of suffixes a lever or switch may get.
    static constexpr std::size_t suffix_count = 3;

private:
    struct Kept {
        const std::string* name = nullptr;
        NameFlags flags;
        // Per suffix, its written stage's flags once worked out (bit suffix - 1 of known).
        std::array<ObjectFlags, suffix_count> suffixed{};
        std::uint8_t known = 0;
    };
    struct Traits {
        static bool is_free(const Kept& kept) { return kept.name == nullptr; }
        // The low bits of an address are alike for every name; the hash spreads the others.
        static std::size_t hash_key(const std::string* name)
        {
            return static_cast<std::size_t>(spread(reinterpret_cast<std::uintptr_t>(name)));
        }
        static std::size_t hash_entry(const Kept& kept) { return hash_key(kept.name); }
        static bool holds(const Kept& kept, const std::string* name) { return kept.name == name; }
    };

    static constexpr std::size_t most_kept = 4096;
    // By the address of the name, at most half taken.
    FlatTable<Kept, Traits, 2, 256> kept_;
};

// The place in object_rules of the first rule that gives the flag.
constexpr std::size_t first_rule_of(ObjectFlag flag)
{
    std::size_t i = 0;
    while (object_rules[i].flag != flag) ++i;
    return i;
}

// True when the name passes the first rule that gives the flag, a rule on the object name alone
// (for a line that has no record yet).
template <ObjectFlag flag>
constexpr bool passes_rule(std::string_view name)
{
    constexpr ObjectRule rule = object_rules[first_rule_of(flag)];
    static_assert(rule.test != NameTest::type_contains, "a rule on the name alone");
    if constexpr (rule.test == NameTest::name_is) return name == rule.word;
    else return contains(name, rule.word);
}

// True for a lever or a switch (the lever rule or the switch rule held).
inline bool is_switch(ObjectFlags flags)
{
    return flags.has(ObjectFlag::lever) || flags.has(ObjectFlag::switch_by_type);
}

// What an object is, as one word: the symbol the map page draws and the group a message names.
// In the order the page lists them.
enum class ObjectKind {
    door,
    doorframe,
    doorbutton,
    lever_or_switch,
    trigger,
    teleporter,
    pit,
    floortext,
    shooter,
    floordamager,
    generator,
    creature,
    holder,
    torch,
    flask,
    bomb,
    other,
};

// The name of a kind as the page and the messages give it ("door button").
const char* kind_name(ObjectKind kind);

// Every kind, in the order above.
std::span<const ObjectKind> all_kinds();

// The kind of a translated object, the first that applies: from its flags (door frame, door, door
// button, lever or switch, trigger, teleporter, pit, shooter, floor damager), from what its
// keyword groups found (generator, creature, holder), then from its flags again (floor text,
// torch, flask, bomb); other.
ObjectKind object_kind(ObjectFlags flags, bool generator, bool creature, bool holder);
