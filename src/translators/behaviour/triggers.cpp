// The trigger groups: targets and delay, what operates the object, the single flag keywords and
// the message sent to the targets.

#include "behaviour/groups.h"

#include "behaviour/keywords.h"
#include "behaviour/run_ins.h"
#include "behaviour/values.h"
#include "text/chars.h"
#include "text/comma_list.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"
#include "vocabulary/word_lists.h"

namespace {

// Writes the target property for the parts of a target list into out: the bare name for one
// part, a braced list for several. False, with out empty, when a part is not an object
// identifier (reported).
bool write_target_property(std::string& out, std::string_view list, Problems& problems)
{
    const bool several = contains(list, ",");
    out = several ? "target={" : "target=";
    bool first = true;
    bool named = true;
    for_each_comma_part(list, [&](std::string_view part) {
        if (!named) return;
        if (!first) out += ',';
        first = false;
        const std::size_t start = out.size();
        if (!append_object_variable(out, part)) {
            problems.emplace_back(MessageId::bad_target,
                                  "the target " + quoted(part) +
                                      " in TARGET=( is not an object identifier; the targets are left out",
                                  part);
            named = false;
            return;
        }
        // An empty part names no object: the engine gets a variable that nothing assigns.
        if (out.size() == start + 4)
            problems.emplace_back(MessageId::empty_target,
                                  "an empty target in TARGET=( is written as TVK_, which names no object", list);
    });
    if (!named) {
        out.clear();
        return false;
    }
    if (several) out += '}';
    return true;
}

// Writes the opby property for a looked-up operated-by word into out, between its quotes.
void write_opby_property(std::string& out, const Item& item, std::string_view name)
{
    out = item.is(ObjectFlag::trigger) ? "opby_party_carry=true,opby=\"" : "opby=\"";
    append_lua_escape(out, name);
    out += '"';
}

// True for the words of OPBY=( that say who operates the object rather than name an object type.
bool is_operator_word(std::string_view word)
{
    for (const OperatorWord& operator_word : operator_words)
        if (word == operator_word.word) return true;
    return false;
}

// The parts of a list value, each as a text of its own.
std::vector<std::string> list_parts(std::string_view value)
{
    std::vector<std::string> parts;
    for_each_comma_part(value, [&](std::string_view part) { parts.emplace_back(part); });
    return parts;
}

} // namespace

void read_targets(const LineContext& context, Item& item, Properties& properties)
{
    const auto list = paren_value(context, scanned("TARGET=("));
    if (!list) return;
    item.has_exvars = true;
    // "NULL" withdraws the target, and with it the delay that would belong to it.
    if (contains(*list, "NULL")) {
        item.has_exvars = false;
        return;
    }
    // A list that runs into the next keyword is reported by that cause alone.
    const auto run_into = keyword_run_into(*list);
    const std::size_t reported = context.problems.size();
    const bool written = write_target_property(properties.target, *list, context.problems);
    if (run_into) {
        context.problems.erase(context.problems.begin() + static_cast<std::ptrdiff_t>(reported), context.problems.end());
        const std::string text = run_in_text("TARGET=(", *run_into);
        if (written)
            context.problems.emplace_back(MessageId::target_run_in,
                                          text + ", so its last target reads " + quoted(list->substr(list->rfind(',') + 1)),
                                          *list);
        else context.problems.emplace_back(MessageId::run_in, text + "; the targets are left out", *list);
    }
    if (!written) return;
    item.target_list = *list;
    item.target_list_column = column_of(context.line, *list);
    if (context.links) context.links->targets = list_parts(*list);
    if (auto delay = colon_value(context, scanned("DELAY:"), ",)")) {
        if (auto value = checked_number_value("DELAY:", *delay, context.problems)) {
            properties.target += ",delay=";
            properties.target += *value;
        }
    }
}

void read_operated_by(const LineContext& context, Item& item, Properties& properties)
{
    const auto list = paren_value(context, scanned("OPBY=("));
    if (!list) return;
    bool mouse = false;
    bool spell = false;
    // Each word found anywhere in the list sets what its row says; all but MOUSE make a table.
    for (const OperatorWord& word : operator_words) {
        if (!contains(*list, word.word)) continue;
        properties.party = properties.party || word.party;
        properties.monster = properties.monster || word.monster;
        properties.thing = properties.thing || word.thing;
        spell = spell || word.spell;
        mouse = mouse || word.mouse;
        if (!word.mouse) item.has_exvars = true;
    }

    // Switches, and objects operated by the party, things, spells or the mouse, name no object.
    if (is_switch(item.flags) || properties.party || properties.thing || spell || mouse) return;
    item.has_exvars = true;
    const std::string_view word = list->substr(0, list->find(','));
    // A flag word is looked up like any other, but not noted as a word the dump needs from the list.
    const bool operator_word = is_operator_word(word);
    const std::string* name = operator_word ? context.names.find_unnoted(word) : context.names.find(word);
    if (!name && !operator_word && context.names.lacks(word)) properties.note_unlisted(word);
    if (name) {
        write_opby_property(properties.opby, item, *name);
        properties.monster = false;
    } else if (!properties.monster) {
        write_opby_property(properties.opby, item, word);
    }
}

void read_disable_self(const LineContext& context, Item& item, Properties& properties)
{
    if (has_keyword(context, scanned("DISABLE_SELF"))) properties.disable_self = item.has_exvars = true;
}

void read_destroy_item(const LineContext& context, Item& item, Properties& properties)
{
    if (has_keyword(context, scanned("DESTROY_ITEM"))) properties.destroy = item.has_exvars = true;
}

void read_messages(const LineContext& context, Item& item, Properties& properties)
{
    static constexpr struct {
        std::size_t text;
        std::string_view message;
    } messages[] = {
        {scanned("ACTIVATE"), engine::activate},
        {scanned("DEACTIVATE"), engine::deactivate},
        {scanned("TOGGLE"), engine::toggle},
        {scanned("ACTION=(DESTROY)"), engine::destroy},
    };
    // Searched in this order, each found one replacing the one before: the last found wins.
    for (const auto& message : messages) {
        if (!has_keyword(context, message.text)) continue;
        properties.message = "msg=";
        properties.message += message.message;
        item.has_exvars = true;
    }
}

void read_weight_and_release(const LineContext& context, Item& item, Properties& properties)
{
    if (has_keyword(context, scanned("CONSTANT_WEIGHT"))) properties.const_weight = item.has_exvars = true;
    if (has_keyword(context, scanned("RELEASE"))) properties.release = item.has_exvars = true;
}
