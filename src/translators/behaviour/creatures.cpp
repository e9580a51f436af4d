// The groups of what an object is or holds: the objects it carries, a creature's hit points, the
// champion in a mirror and an initial state that disables the object.

#include "behaviour/groups.h"

#include "behaviour/keywords.h"
#include "behaviour/run_ins.h"
#include "behaviour/values.h"
#include "text/lua_text.h"
#include "text/trim.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"
#include "vocabulary/word_lists.h"

namespace {

// True when a state word leaves the object disabled at the start (state_words: open, inactive
// and invisible objects, and closed pits).
bool disables(std::string_view word, const Item& item)
{
    for (const StateWord& state : state_words)
        if (word == state.word)
            return state.effect == StateEffect::disables ||
                   (state.effect == StateEffect::disables_pits && item.is(ObjectFlag::pit));
    return false;
}

// Appends one statement that names the object: the comment mark, the call, "(" and the object's
// variable, then the rest.
void append_object_call(std::string& out, const Item& item, std::string_view call, std::string_view rest)
{
    out += comment_mark(item);
    out += call;
    out += '(';
    out += engine::object_prefix;
    append_force_us(out, item.id);
    out += rest;
}

} // namespace

void read_contents(const LineContext& context, Item& item, Properties& properties)
{
    std::size_t keyword = scanned("CARRYING=(");
    if (has_keyword(context, keyword)) {
        item.is_creature = true;
    } else {
        if (item.is(ObjectFlag::mirror)) return;
        keyword = scanned("HOLDS=(");
        if (!has_keyword(context, keyword)) return;
    }
    properties.carries = true;
    const std::string_view contents = *paren_value(context, keyword);
    // A list that runs into the next keyword holds that keyword in its last name, which then
    // names no object: the missing ")" is the cause to tell.
    if (const auto run_into = keyword_run_into(contents))
        context.problems.emplace_back(MessageId::holds_run_in,
                                      run_in_text(scanned_texts[keyword], *run_into) + ", so its last name reads " +
                                          quoted(trimmed(contents.substr(contents.rfind(',') + 1))),
                                      contents);
    item.contents = contents;
    item.contents_column = column_of(context.line, contents);
    if (paren_closed(context, keyword)) item.contents += ")";
}

void read_health(const LineContext& context, Item& item, Properties& properties)
{
    // A generator's HEALTH=( is the hit points of what it generates.
    if (properties.generator_mark) return;
    const auto value = paren_value(context, scanned("HEALTH=("));
    if (!value) return;
    item.is_creature = true;
    const auto health = checked_number_value("HEALTH=(", *value, context.problems);
    if (!health) return;
    if (const auto points = whole_integer(*health); points && *points <= 0)
        context.problems.emplace_back(MessageId::value_range,
                                      "the HEALTH=( value " + quoted(*health) +
                                          " gives 0 hit points or fewer; it is written as it stands",
                                      *health);
    std::string& out = properties.health_statements;
    for (std::string_view call : {engine::set_maxhp, engine::set_hp}) {
        append_object_call(out, item, call, ",");
        out += *health;
        out += ")\n";
    }
}

void read_champion(const LineContext& context, Item& item, Properties& properties)
{
    const auto word = paren_value(context, scanned("HOLDS=("));
    if (!word) return;
    item.has_exvars = true;
    // The champion definitions name their variables by the same normalised identifier.
    properties.champion = "champion=";
    append_force_us(properties.champion, *word);
    if (!is_lua_name(std::string_view(properties.champion).substr(9))) {
        properties.champion.clear();
        context.problems.emplace_back(MessageId::holds_champion,
                                      "the champion " + quoted(*word) +
                                          " in HOLDS=( is not a champion identifier; it is left out",
                                      *word);
        return;
    }
    properties.champion += ' ';
    item.champion = *word;
    item.champion_column = column_of(context.line, *word);
}

void read_state(const LineContext& context, Item& item, Properties& properties)
{
    const auto word = state_word_of(context.line, context.scan);
    if (!word || !disables(*word, item)) return;
    append_object_call(properties.disable_statement, item, engine::disable, ")\n");
}
