#pragma once
// The keywords of an item line: the groups that read them, in the order they run, which objects
// each group and keyword acts for, and the form of each keyword's value.

#include <array>
#include <cstddef>
#include <string_view>

#include "vocabulary/object_classes.h"

// The groups that read an item line's keywords, in the order they run. The first, `made`, reads
// when the object's record is made, before the others.
enum class KeywordGroup : unsigned char {
    made,
    targets,
    charge,
    operated_by,
    destination,
    text,
    disable_self,
    sound,
    destroy_item,
    messages,
    weight_and_release,
    shooter,
    floor_damage,
    contents,
    generator,
    count,
    health,
    champion,
    state,
};

// Which objects a group or keyword acts for.
enum class KeywordReader : unsigned char {
    // Every object (each group decides the rest itself).
    any,
    // Only shooters (the shooter rule of the object table).
    shooter,
    // Only floor damagers (the floor damager rule).
    floordamager,
    // Shooters (TYPE=(DOUBLE)) and floor damagers (the damage type).
    shooter_or_floordamager,
    // Only mirrors (the mirror rule).
    mirror,
    // Only objects whose line generates creatures (GENERATES=( ).
    generator,
};

// The form of a keyword's value.
enum class ValueForm : unsigned char {
    // Nothing: the keyword alone.
    bare,
    // The text after "(" up to the first ")" after it.
    parenthesised,
    // Names split at every "," of a parenthesised value.
    list,
    // A dump type word that the object name list translates (what --list-types lists).
    type_word,
    // The text after ":" up to the nearer of "," and ")".
    colon,
    // The text after ":" up to ")".
    colon_to_paren,
    // Integers with one separator between them.
    numbers,
    // A reference SOUND_group_name after ":".
    sound_reference,
};

// One group, with the objects it runs for.
struct GroupRow {
    KeywordGroup group;
    KeywordReader reader;
};

// Every group in the order it runs; a group runs only for the objects of its reader.
inline constexpr std::array<GroupRow, 19> keyword_groups = {{
    {KeywordGroup::made, KeywordReader::any},
    {KeywordGroup::targets, KeywordReader::any},
    {KeywordGroup::charge, KeywordReader::any},
    {KeywordGroup::operated_by, KeywordReader::any},
    {KeywordGroup::destination, KeywordReader::any},
    {KeywordGroup::text, KeywordReader::any},
    {KeywordGroup::disable_self, KeywordReader::any},
    {KeywordGroup::sound, KeywordReader::any},
    {KeywordGroup::destroy_item, KeywordReader::any},
    {KeywordGroup::messages, KeywordReader::any},
    {KeywordGroup::weight_and_release, KeywordReader::any},
    {KeywordGroup::shooter, KeywordReader::shooter},
    {KeywordGroup::floor_damage, KeywordReader::floordamager},
    {KeywordGroup::contents, KeywordReader::any},
    {KeywordGroup::generator, KeywordReader::any},
    {KeywordGroup::count, KeywordReader::any},
    {KeywordGroup::health, KeywordReader::any},
    {KeywordGroup::champion, KeywordReader::mirror},
    {KeywordGroup::state, KeywordReader::any},
}};

// One keyword: its text as the line writes it, the group that reads it, which objects it acts
// for, and the form of its value.
struct Keyword {
    std::string_view text;
    KeywordGroup group;
    KeywordReader reader;
    ValueForm form;
};

// Every keyword, in the order of the groups that read them; a keyword found anywhere in the line
// counts, even inside another word or value. Some groups read a keyword of an earlier group as
// well: the champion group a mirror's HOLDS=(, the generator group HEALTH=(, the shooter group
// TYPE=(DOUBLE). The words inside values are in word_lists.h.
inline constexpr std::array<Keyword, 29> keyword_table = {{
    {"STATE:", KeywordGroup::made, KeywordReader::any, ValueForm::bare},
    {"TARGET=(", KeywordGroup::targets, KeywordReader::any, ValueForm::list},
    {"DELAY:", KeywordGroup::targets, KeywordReader::any, ValueForm::colon},
    {"CHARGE=(", KeywordGroup::charge, KeywordReader::any, ValueForm::parenthesised},
    {"OPBY=(", KeywordGroup::operated_by, KeywordReader::any, ValueForm::type_word},
    {"DESTINATION=(", KeywordGroup::destination, KeywordReader::any, ValueForm::numbers},
    {"ROTATE:", KeywordGroup::destination, KeywordReader::any, ValueForm::colon_to_paren},
    {"TEXT=(", KeywordGroup::text, KeywordReader::any, ValueForm::parenthesised},
    {"DISABLE_SELF", KeywordGroup::disable_self, KeywordReader::any, ValueForm::bare},
    {"SOUND:", KeywordGroup::sound, KeywordReader::any, ValueForm::sound_reference},
    {"DESTROY_ITEM", KeywordGroup::destroy_item, KeywordReader::any, ValueForm::bare},
    {"ACTIVATE", KeywordGroup::messages, KeywordReader::any, ValueForm::bare},
    {"DEACTIVATE", KeywordGroup::messages, KeywordReader::any, ValueForm::bare},
    {"TOGGLE", KeywordGroup::messages, KeywordReader::any, ValueForm::bare},
    {"ACTION=(", KeywordGroup::messages, KeywordReader::any, ValueForm::parenthesised},
    {"CONSTANT_WEIGHT", KeywordGroup::weight_and_release, KeywordReader::any, ValueForm::bare},
    {"RELEASE", KeywordGroup::weight_and_release, KeywordReader::any, ValueForm::bare},
    {"SHOOTS=(", KeywordGroup::shooter, KeywordReader::shooter, ValueForm::type_word},
    {"STRENGTH=(", KeywordGroup::shooter, KeywordReader::shooter, ValueForm::parenthesised},
    {"DAMAGE=(", KeywordGroup::floor_damage, KeywordReader::floordamager, ValueForm::parenthesised},
    {"TYPE=(", KeywordGroup::floor_damage, KeywordReader::shooter_or_floordamager, ValueForm::parenthesised},
    {"CARRYING=(", KeywordGroup::contents, KeywordReader::any, ValueForm::list},
    {"HOLDS=(", KeywordGroup::contents, KeywordReader::any, ValueForm::list},
    {"GENERATES=(", KeywordGroup::generator, KeywordReader::any, ValueForm::type_word},
    {"NUMBERS=(", KeywordGroup::generator, KeywordReader::generator, ValueForm::parenthesised},
    {"RECHARGE_TIME:", KeywordGroup::generator, KeywordReader::generator, ValueForm::colon},
    {"COUNT=(", KeywordGroup::count, KeywordReader::any, ValueForm::parenthesised},
    {"HEALTH=(", KeywordGroup::health, KeywordReader::any, ValueForm::parenthesised},
    {"STATE=(", KeywordGroup::state, KeywordReader::any, ValueForm::parenthesised},
}};

// The keywords stand in the order of their groups, and the groups in their own order.
static_assert([] {
    for (std::size_t g = 0; g < keyword_groups.size(); ++g)
        if (static_cast<std::size_t>(keyword_groups[g].group) != g) return false;
    for (std::size_t k = 1; k < keyword_table.size(); ++k)
        if (keyword_table[k].group < keyword_table[k - 1].group) return false;
    return true;
}());

// True for the keywords that stand alone as whole words of a line, without a value (STATE: aside,
// whose word is read with the ":" keywords): the flags and messages.
constexpr bool is_flag_keyword(const Keyword& keyword)
{
    return keyword.form == ValueForm::bare && !keyword.text.ends_with(':');
}

// The place in the table of a keyword that the table holds (worked out when compiled).
consteval std::size_t keyword_index(std::string_view text)
{
    for (std::size_t k = 0; k < keyword_table.size(); ++k)
        if (keyword_table[k].text == text) return k;
    throw "not a keyword of the table";
}

// True when an object with these flags, whose line does (or does not) generate creatures, is one
// that the reader names.
constexpr bool reads(KeywordReader reader, ObjectFlags flags, bool generator)
{
    switch (reader) {
    case KeywordReader::any: return true;
    case KeywordReader::shooter: return flags.has(ObjectFlag::shooter);
    case KeywordReader::floordamager: return flags.has(ObjectFlag::floordamager);
    case KeywordReader::shooter_or_floordamager:
        return flags.has(ObjectFlag::shooter) || flags.has(ObjectFlag::floordamager);
    case KeywordReader::mirror: return flags.has(ObjectFlag::mirror);
    case KeywordReader::generator: return generator;
    }
    return true;
}
