// The groups of objects that make things: what a shooter shoots and how hard, a floor damager's
// damage, a generator's creature with its numbers, and an object's count.

#include "behaviour/groups.h"

#include "behaviour/keywords.h"
#include "behaviour/values.h"
#include "text/lua_text.h"

namespace {

// The code value of a "=(" keyword when the line holds the keyword and its value passes the
// check; none otherwise (a failing value is reported).
std::optional<std::string> checked_paren_value(const LineContext& context, const std::string& keyword)
{
    auto value = paren_value(context, keyword);
    if (!value) return std::nullopt;
    return checked_code_value(keyword, *value, context.problems);
}

// The target engine name of a dump type word, or the word itself when the list has none.
std::string object_name_of(const LineContext& context, const std::string& word)
{
    return context.names.lookup(word).value_or(word);
}

// The ",min=" and ",max=" parts of a generator: the single characters right after the "(" of
// NUMBERS=( and right before the first ")" after it; none when the ")" is missing (reported).
std::string numbers_of(const LineContext& context)
{
    const std::string keyword = "NUMBERS=(";
    const std::size_t found = context.line.find(keyword);
    if (found == std::string::npos) return "";
    const std::size_t open = found + keyword.size() - 1;
    const std::size_t close = context.line.find(')', open + 1);
    if (close == std::string::npos) {
        context.problems.push_back("NUMBERS=( has no \")\"; the minimum and maximum are left out");
        return "";
    }
    // The ")" stands after the "(", so both characters lie inside the line.
    std::string numbers;
    if (auto min = checked_code_value("NUMBERS=( minimum", context.line.substr(open + 1, 1), context.problems))
        numbers += ",min=" + *min;
    if (auto max = checked_code_value("NUMBERS=( maximum", context.line.substr(close - 1, 1), context.problems))
        numbers += ",max=" + *max;
    return numbers;
}

} // namespace

void read_shooter(const LineContext& context, Item& item, Properties& properties)
{
    if (!item.is_shooter) return;
    item.has_exvars = true;
    const auto missile = paren_value(context, "SHOOTS=(");
    if (!missile) return;
    std::string shooter = has_keyword(context, "TYPE=(DOUBLE)") ? "double=true" : "double=false";
    if (*missile != "OBJECT") shooter += ",shoots=\"" + lua_escape(object_name_of(context, *missile)) + "\"";
    // The strength brings the comma that separates it from the missile part.
    if (auto strength = checked_paren_value(context, "STRENGTH=(")) shooter += ",power=" + *strength;
    properties.shooter = shooter;
}

void read_floor_damage(const LineContext& context, Item& item, Properties& properties)
{
    if (!item.is_floordamager) return;
    item.has_exvars = true;
    std::string damage;
    if (auto amount = checked_paren_value(context, "DAMAGE=(")) damage = "dmg_amt=" + *amount;
    if (auto type = checked_paren_value(context, "TYPE=(")) {
        if (!damage.empty()) damage += ",";
        damage += "dmg_type=" + *type;
    }
    properties.damage = damage;
}

void read_generator(const LineContext& context, Item& item, Properties& properties)
{
    const auto creature = paren_value(context, "GENERATES=(");
    if (!creature) return;
    item.has_exvars = item.is_generator = true;
    properties.generator_mark = true;
    std::string generator = "generates=\"" + lua_escape(object_name_of(context, *creature)) + "\"";
    if (auto health = checked_paren_value(context, "HEALTH=(")) generator += ",hp=" + *health;
    generator += numbers_of(context);
    if (auto time = colon_value(context, "RECHARGE_TIME:", ",)")) {
        if (auto regen = checked_code_value("RECHARGE_TIME:", *time, context.problems)) generator += ",regen=" + *regen;
    }
    properties.generator = generator;
}

void read_count(const LineContext& context, Item& item, Properties& properties)
{
    if (!has_keyword(context, "COUNT=(")) return;
    item.has_exvars = true;
    if (auto count = checked_paren_value(context, "COUNT=(")) properties.count = "count=" + *count + " ";
}
