// The groups of objects that make things: what a shooter shoots and how hard, a floor damager's
// damage, a generator's creature with its numbers, and an object's count.

#include "behaviour/groups.h"

#include "behaviour/keywords.h"
#include "behaviour/run_ins.h"
#include "behaviour/values.h"
#include "text/chars.h"
#include "text/lua_text.h"
#include "vocabulary/word_lists.h"

namespace {

// How a value is checked: a number the engine reads, or any value that may stand in code.
enum class Expected { number, code };

// The code value of a "=(" keyword when the line holds the keyword and its value passes the
// check; none otherwise (a failing value is reported).
std::optional<std::string_view> checked_paren_value(const LineContext& context, std::size_t keyword,
                                                    Expected expected = Expected::number)
{
    auto value = paren_value(context, keyword);
    if (!value) return std::nullopt;
    if (expected == Expected::code) return checked_code_value(scanned_texts[keyword], *value, context.problems);
    return checked_number_value(scanned_texts[keyword], *value, context.problems);
}

// The target engine name of a dump type word, or the word itself when the list has none (a word
// the list lacks is noted).
std::string_view object_name_of(const LineContext& context, Properties& properties, std::string_view word)
{
    const std::string* name = context.names.find(word);
    if (!name && context.names.lacks(word)) properties.note_unlisted(word);
    return name ? std::string_view(*name) : word;
}

// The digits that begin the text, or its first character when it does not begin with a digit.
std::string_view leading_digits(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && is_digit(text[end])) ++end;
    return text.substr(0, end == 0 ? 1 : end);
}

// The digits that end the text, or its last character when it does not end with a digit.
std::string_view trailing_digits(std::string_view text)
{
    std::size_t start = text.size();
    while (start > 0 && is_digit(text[start - 1])) --start;
    return text.substr(start == text.size() ? text.size() - 1 : start);
}

// Appends the ",min=" and ",max=" parts of a generator: the digits right after the "(" of
// NUMBERS=( and the digits right before the first ")" after it (NUMBERS=(2-12) gives 2 and 12),
// or the one character there when it is no digit; none when the ")" is missing (reported).
void append_numbers(std::string& out, const LineContext& context)
{
    const std::size_t found = context.scan.first(scanned("NUMBERS=("));
    if (found == std::string::npos) return;
    const std::size_t open = found + scanned_texts[scanned("NUMBERS=(")].size() - 1;
    const std::size_t close = context.line.find(')', open + 1);
    if (close == std::string::npos) {
        context.problems.emplace_back(MessageId::numbers, "NUMBERS=( has no \")\"; the minimum and maximum are left out",
                                      std::string_view(context.line).substr(found));
        return;
    }
    // The ")" stands after the "(", so both characters lie inside the line: the text from the
    // one after "(" up to ")" holds at least one character, the ")" itself.
    const std::string_view line(context.line);
    const std::string_view inside = line.substr(open + 1, close - open - 1);
    const std::string_view first = inside.empty() ? line.substr(open + 1, 1) : leading_digits(inside);
    const std::string_view last = inside.empty() ? line.substr(close - 1, 1) : trailing_digits(inside);
    const auto min = checked_number_value("NUMBERS=( minimum", first, context.problems);
    if (min) {
        out += ",min=";
        out += *min;
    }
    // A ")" missing before the next keyword gives the maximum of that keyword's value, which is
    // reported as that cause alone.
    const auto run_into = keyword_run_into(inside);
    const auto max = run_into ? checked_code_value("NUMBERS=( maximum", last, context.problems)
                              : checked_number_value("NUMBERS=( maximum", last, context.problems);
    if (max) {
        out += ",max=";
        out += *max;
    }
    if (run_into)
        context.problems.emplace_back(MessageId::value_run_in,
                                      run_in_text("NUMBERS=(", *run_into) + ", so its maximum is read as " +
                                          quoted(last),
                                      inside);
    const auto low = min ? whole_integer(*min) : std::nullopt;
    const auto high = max ? whole_integer(*max) : std::nullopt;
    if (low && high && *low > *high)
        context.problems.emplace_back(MessageId::value_range,
                                      "the NUMBERS=( minimum " + std::string(*min) + " is above its maximum " +
                                          std::string(*max) + "; both are written as they stand",
                                      inside);
}

} // namespace

void read_shooter(const LineContext& context, Item& item, Properties& properties)
{
    item.has_exvars = true;
    const auto missile = paren_value(context, scanned("SHOOTS=("));
    if (!missile) return;
    std::string& shooter = properties.shooter;
    shooter = has_keyword(context, scanned("TYPE=(DOUBLE)")) ? "double=true" : "double=false";
    if (*missile != shoots_any_object) {
        shooter += ",shoots=\"";
        append_lua_escape(shooter, object_name_of(context, properties, *missile));
        shooter += '"';
    }
    // The strength brings the comma that separates it from the missile part.
    if (auto strength = checked_paren_value(context, scanned("STRENGTH=("))) {
        shooter += ",power=";
        shooter += *strength;
    }
}

void read_floor_damage(const LineContext& context, Item& item, Properties& properties)
{
    item.has_exvars = true;
    std::string& damage = properties.damage;
    damage.clear();
    if (auto amount = checked_paren_value(context, scanned("DAMAGE=("))) {
        damage = "dmg_amt=";
        damage += *amount;
    }
    if (auto type = checked_paren_value(context, scanned("TYPE=("), Expected::code)) {
        if (!damage.empty()) damage += ",";
        damage += "dmg_type=";
        damage += *type;
    }
}

void read_generator(const LineContext& context, Item& item, Properties& properties)
{
    const auto creature = paren_value(context, scanned("GENERATES=("));
    if (!creature) return;
    item.has_exvars = item.is_generator = true;
    properties.generator_mark = true;
    std::string& generator = properties.generator;
    generator = "generates=\"";
    append_lua_escape(generator, object_name_of(context, properties, *creature));
    generator += '"';
    if (auto health = checked_paren_value(context, scanned("HEALTH=("))) {
        generator += ",hp=";
        generator += *health;
    }
    append_numbers(generator, context);
    if (auto time = colon_value(context, scanned("RECHARGE_TIME:"), ",)")) {
        if (auto regen = checked_number_value("RECHARGE_TIME:", *time, context.problems)) {
            generator += ",regen=";
            generator += *regen;
        }
    }
}

void read_count(const LineContext& context, Item& item, Properties& properties)
{
    if (!has_keyword(context, scanned("COUNT=("))) return;
    item.has_exvars = true;
    if (auto count = checked_paren_value(context, scanned("COUNT=("))) {
        // The counts the engine takes begin at -1; a lower one is a mistake.
        if (const auto number = whole_integer(*count); number && *number < -1)
            context.problems.emplace_back(MessageId::value_range,
                                          "the COUNT=( value " + quoted(*count) + " is below -1; it is written as it stands",
                                          *count);
        properties.count = "count=";
        properties.count += *count;
        properties.count += ' ';
    }
}
