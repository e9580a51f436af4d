// The groups of what an object is or holds: the objects it carries, a creature's hit points, the
// champion in a mirror and an initial state that disables the object.

#include "behaviour/groups.h"

#include "behaviour/keywords.h"
#include "behaviour/values.h"
#include "text/lua_text.h"
#include "text/normalise.h"

namespace {

// True when a state word leaves the object disabled at the start: open, inactive and invisible
// objects, and closed pits.
bool disables(const std::string& word, const std::string& object_name)
{
    if (word == "OPEN" || word == "INACTIVE" || word == "INVISIBLE") return true;
    return word == "CLOSED" && is_pit_name(object_name);
}

} // namespace

void read_contents(const LineContext& context, Item& item, Properties& properties)
{
    const char* keyword = "CARRYING=(";
    if (has_keyword(context, keyword)) {
        item.is_creature = true;
    } else {
        if (item.is_mirror) return;
        keyword = "HOLDS=(";
        if (!has_keyword(context, keyword)) return;
    }
    properties.carries = true;
    item.contents = *paren_value(context.line, keyword);
    if (paren_closed(context.line, keyword)) item.contents += ")";
}

void read_health(const LineContext& context, Item& item, Properties& properties)
{
    // A generator's HEALTH=( is the hit points of what it generates.
    if (properties.generator_mark) return;
    const auto value = paren_value(context, "HEALTH=(");
    if (!value) return;
    item.is_creature = true;
    const auto health = checked_code_value("HEALTH=(", *value, context.problems);
    if (!health) return;
    const std::string object = "(TVK_" + force_us(item.id) + "," + *health + ")\n";
    properties.health_statements =
        comment_mark(item) + "kel_set_maxhp" + object + comment_mark(item) + "kel_set_hp" + object;
}

void read_champion(const LineContext& context, Item& item, Properties& properties)
{
    if (!item.is_mirror) return;
    const auto word = paren_value(context, "HOLDS=(");
    if (!word) return;
    item.has_exvars = true;
    // The champion definitions name their variables by the same normalised identifier.
    const std::string champion = force_us(*word);
    if (!is_lua_name(champion)) {
        context.problems.push_back("the champion " + quoted(*word) +
                                   " in HOLDS=( is not a champion identifier; it is left out");
        return;
    }
    properties.champion = "champion=" + champion + " ";
    item.champion = *word;
}

void read_state(const LineContext& context, Item& item, Properties& properties)
{
    const auto word = state_word_of(context.line);
    if (!word || !disables(*word, item.object_name)) return;
    properties.disable_statement = comment_mark(item) + "kel_disable(TVK_" + force_us(item.id) + ")\n";
}
