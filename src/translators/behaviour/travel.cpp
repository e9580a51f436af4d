// The groups of charges, destinations, texts and sounds: the power of flasks and bombs, the
// charge of other objects, where a teleporter sends things and how they face, an object's text
// and its sound.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "behaviour/groups.h"
#include "behaviour/keywords.h"
#include "behaviour/run_ins.h"
#include "behaviour/values.h"
#include "levels/levels.h"
#include "text/chars.h"
#include "text/decimal.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/word_lists.h"

namespace {

// The charge a flask or bomb reads from its CHARGE=( value: the integer at its start, blanks
// before it skipped; 1 when none can be read (an overflowing number cannot be read either).
int charge_of(std::string_view value)
{
    FieldReader reader(value);
    int charge = 0;
    return reader.read_int(charge) ? charge : 1;
}

// The power level, 1 to 6, of a charge from 0 upward; the pattern repeats every 100. Computed in
// 64 bits so that no charge overflows; C++ division and remainder truncate toward zero.
std::int64_t power_level_of(int charge)
{
    return (static_cast<std::int64_t>(charge) * 6 / 100) % 6 + 1;
}

// A value read for its number although it runs into the next keyword: reported, the number read
// all the same.
void check_number_run_in(const LineContext& context, std::string_view keyword, std::string_view value)
{
    if (const auto run_into = keyword_run_into(value))
        context.problems.emplace_back(MessageId::value_run_in,
                                      run_in_text(keyword, *run_into) + "; its numbers are read all the same", value);
}

// The charge of a flask or bomb read from its value: one outside 0 to 99 wraps round to another
// power level.
void check_read_charge(const LineContext& context, const Item& item, std::string_view value, int charge)
{
    check_number_run_in(context, "CHARGE=(", value);
    if (charge >= 0 && charge <= 99) return;
    context.problems.emplace_back(MessageId::value_range,
                                  "the charge " + std::to_string(charge) + " of CHARGE=( lies outside 0 to 99; the " +
                                      (item.is(ObjectFlag::flask) ? "flask" : "bomb") + "'s power level is " +
                                      std::to_string(power_level_of(charge)) + " (the levels repeat every 100)",
                                  value);
}

// The word of rotation_words that decides the facing or turn of a ROTATE: value: the first that
// the value holds; null for none.
const RotationWord* rotation_word_of(std::string_view value)
{
    for (const RotationWord& rotation : rotation_words)
        if (contains(value, rotation.word)) return &rotation;
    return nullptr;
}

// The facing or turn on arrival that a ROTATE: value names, the first match in rotation_words.
std::string_view rotation_of(std::string_view value)
{
    const RotationWord* rotation = rotation_word_of(value);
    return rotation ? rotation->property : "";
}

// Writes the destination property "x=..,y=..,lev=.." of a DESTINATION=( value on the common grid
// into out; false, with the problem recorded, when its numbers cannot be read, its level is not a
// level or the square does not fit. The square goes to links too, when given.
bool write_destination(std::string& out, std::string_view value, const LineContext& context, LineLinks* links)
{
    FieldReader reader(value);
    int dx = 0, dy = 0, level = 0;
    if (!(reader.read_int(dx) && reader.read_separator() && reader.read_int(dy) && reader.read_separator() &&
          reader.read_int(level))) {
        context.problems.emplace_back(MessageId::destination,
                                      "the DESTINATION=( value " + quoted(value) +
                                          " is not three integers; the destination is left out",
                                      value);
        return false;
    }
    // A level whose block was incomplete is not written, so nothing can arrive on it.
    if (level < 0 || static_cast<std::size_t>(level) >= context.level_offset_x.size() ||
        static_cast<std::size_t>(level) >= context.level_offset_y.size() ||
        !context.levels.is_level(level)) {
        context.problems.emplace_back(MessageId::destination,
                                      "the DESTINATION=( level " + std::to_string(level) +
                                          " is not a level of the layout; the destination is left out",
                                      value);
        return false;
    }
    const auto index = static_cast<std::size_t>(level);
    const std::int64_t x = std::int64_t{context.level_offset_x[index]} + dx;
    const std::int64_t y = std::int64_t{context.level_offset_y[index]} + dy;
    if (!fits_int(x) || !fits_int(y)) {
        context.problems.emplace_back(MessageId::destination,
                                      "the DESTINATION=( square " + quoted(value) +
                                          " is out of range; the destination is left out",
                                      value);
        return false;
    }
    if (!context.levels.holds_square(level, dx, dy))
        context.problems.emplace_back(MessageId::destination_outside,
                                      "the DESTINATION=( square " + std::to_string(dx) + "," + std::to_string(dy) +
                                          " lies outside the map of level " + std::to_string(level),
                                      value);
    if (links) links->destination = LinkedSquare{level, static_cast<int>(x), static_cast<int>(y)};
    out = "x=";
    append_decimal(out, x);
    out += ",y=";
    append_decimal(out, y);
    out += ",lev=";
    append_decimal(out, level);
    return true;
}

// The name of a sound reference SOUND_group_name that starts at the SOUND: keyword's position:
// the text after the second "_" of its "SOUND_" up to the next "," or ")"; none when the
// reference does not have that form.
std::optional<std::string_view> sound_name_of(std::string_view line, std::size_t keyword)
{
    const std::size_t reference_end = std::min(line.find_first_of(",)", keyword), line.size());
    const std::size_t sound = line.find("SOUND_", keyword);
    if (sound == std::string_view::npos || sound >= reference_end) return std::nullopt;
    const std::size_t second = line.find('_', sound + 6);
    if (second == std::string_view::npos || second >= reference_end || second + 1 == reference_end) return std::nullopt;
    return line.substr(second + 1, reference_end - second - 1);
}

} // namespace

void read_charge(const LineContext& context, Item& item, Properties& properties)
{
    const auto value = paren_value(context, scanned("CHARGE=("));
    if (item.is(ObjectFlag::flask) || item.is(ObjectFlag::bomb)) {
        item.has_exvars = true;
        const int charge = value ? charge_of(*value) : 1;
        properties.charge = "power=";
        append_decimal(properties.charge, power_level_of(charge));
        if (value) check_read_charge(context, item, *value, charge);
        return;
    }
    // A torch's charge is never written.
    if (item.is(ObjectFlag::torch) || !value) return;
    item.has_exvars = true;
    if (auto charge = checked_number_value("CHARGE=(", *value, context.problems)) {
        properties.charge = "charge=";
        properties.charge += *charge;
    }
}

void read_destination(const LineContext& context, Item& item, Properties& properties)
{
    const auto value = paren_value(context, scanned("DESTINATION=("));
    if (!value) return;
    item.has_exvars = true;
    if (!write_destination(properties.destination, *value, context, context.links)) return;
    check_number_run_in(context, "DESTINATION=(", *value);
    const auto rotation = colon_value(context, scanned("ROTATE:"), ")");
    if (!rotation) return;
    properties.destination += rotation_of(*rotation);
    // A ROTATE: value ends only at ")": a keyword after it matters only when its text turns the
    // object as well.
    if (const auto run_into = keyword_run_into(*rotation)) {
        const std::string_view after = rotation->substr(rotation->find(*run_into));
        if (rotation_word_of(after))
            context.problems.emplace_back(MessageId::value_run_in,
                                          run_in_text("ROTATE:", *run_into) + ", so it reads " + quoted(*rotation) +
                                              ", in which " + quoted(rotation_word_of(*rotation)->word) +
                                              " decides the turn",
                                          *rotation);
    }
}

void read_text(const LineContext& context, Item& item, Properties& properties)
{
    const auto value = paren_value(context, scanned("TEXT=("));
    if (!value) return;
    item.has_exvars = true;
    // Every backslash of the text is written as "/".
    std::string text(*value);
    std::replace(text.begin(), text.end(), '\\', '/');
    // The text ends at its first ")": one that opened a "(" of its own is cut short.
    if (const std::size_t open = value->find('('); open != std::string_view::npos)
        context.problems.emplace_back(MessageId::text_paren,
                                      "the TEXT=( value " + quoted(*value) + " holds \"(\"; the text ends at the first \")\", "
                                      "so it may be cut short",
                                      value->substr(open));
    properties.text = "text=\"";
    append_lua_escape(properties.text, text);
    properties.text += '"';
}

void read_sound(const LineContext& context, Item& item, Properties& properties)
{
    const std::size_t keyword = context.scan.first(scanned("SOUND:"));
    if (keyword == std::string_view::npos || has_keyword(context, scanned("SOUND:NULL"))) return;
    item.has_exvars = true;
    auto name = sound_name_of(context.line, keyword);
    if (!name) {
        const std::size_t end = context.line.find_first_of(",)", keyword);
        const std::string_view sound =
            std::string_view(context.line).substr(keyword, end == std::string::npos ? end : end - keyword);
        context.problems.emplace_back(MessageId::sound,
                                      "the sound " + quoted(sound) +
                                          " is not of the form SOUND:SOUND_group_name; it is left out",
                                      sound);
        return;
    }
    // A sound name may hold a blank, so it is written as read; one that runs into a keyword is
    // reported.
    if (const auto run_into = keyword_run_into(*name))
        context.problems.emplace_back(MessageId::sound_run_in,
                                      "the sound name " + quoted(*name) + " runs into the keyword " + quoted(*run_into) +
                                          " (a \",\" or \")\" is missing before it?); it is written as " +
                                          quoted(force_lc(*name)),
                                      *name);
    properties.sound = "sound=\"";
    append_lua_escape(properties.sound, force_lc(*name));
    properties.sound += '"';
}
