// The trigger groups: targets and delay, what operates the object, the single flag keywords and
// the message sent to the targets.

#include "behaviour/groups.h"

#include "behaviour/keywords.h"
#include "behaviour/values.h"
#include "text/lua_text.h"
#include "text/normalise.h"

namespace {

// The target property for the parts of a target list: the bare name for one part, a braced list
// for several; none when a part is not an object identifier (reported).
std::optional<std::string> target_property_of(const std::vector<std::string>& parts, Problems& problems)
{
    std::string names;
    for (const auto& part : parts) {
        auto variable = object_variable(part);
        if (!variable) {
            problems.push_back("the target " + quoted(part) +
                               " in TARGET=( is not an object identifier; the targets are left out");
            return std::nullopt;
        }
        // An empty part names no object: the engine gets a variable that nothing assigns.
        if (force_us(part).empty())
            problems.push_back(warning("an empty target in TARGET=( is written as TVK_, which names no object"));
        if (!names.empty()) names += ",";
        names += *variable;
    }
    if (parts.size() == 1) return "target=" + names;
    return "target={" + names + "}";
}

// The opby property for a looked-up operated-by word, between its quotes.
std::string opby_property_of(const Item& item, const std::string& name)
{
    const char* prefix = item.object_name == "trigger" ? "opby_party_carry=true,opby=\"" : "opby=\"";
    return prefix + lua_escape(name) + "\"";
}

// True for the words of OPBY=( that say who operates the object rather than name an object type.
bool is_operator_flag(std::string_view word)
{
    for (const char* flag : {"MOUSE", "PARTY", "MONSTER", "OBJECT", "SPELL", "ALL"})
        if (word == flag) return true;
    return false;
}

} // namespace

void read_targets(const LineContext& context, Item& item, Properties& properties)
{
    const auto list = paren_value(context, "TARGET=(");
    if (!list) return;
    item.has_exvars = true;
    // "NULL" withdraws the target, and with it the delay that would belong to it.
    if (has_keyword(*list, "NULL")) {
        item.has_exvars = false;
        return;
    }
    auto target = target_property_of(split_list(*list), context.problems);
    if (!target) return;
    properties.target = *target;
    item.target_list = *list;
    if (item.links) item.links->targets = split_list(*list);
    if (auto delay = colon_value(context, "DELAY:", ",)")) {
        if (auto value = checked_code_value("DELAY:", *delay, context.problems)) properties.target += ",delay=" + *value;
    }
}

void read_operated_by(const LineContext& context, Item& item, Properties& properties)
{
    const auto list = paren_value(context, "OPBY=(");
    if (!list) return;
    bool mouse = false;
    bool spell = false;
    if (has_keyword(*list, "MOUSE")) mouse = true;
    if (has_keyword(*list, "PARTY")) properties.party = item.has_exvars = true;
    if (has_keyword(*list, "MONSTER")) properties.monster = item.has_exvars = true;
    if (has_keyword(*list, "OBJECT")) properties.thing = item.has_exvars = true;
    if (has_keyword(*list, "SPELL")) spell = item.has_exvars = true;
    if (has_keyword(*list, "ALL")) properties.party = properties.monster = properties.thing = spell = item.has_exvars = true;

    // Switches, and objects operated by the party, things, spells or the mouse, name no object.
    if (item.is_switch || properties.party || properties.thing || spell || mouse) return;
    item.has_exvars = true;
    const std::string word = list->substr(0, list->find(','));
    // A flag word is looked up like any other, but not noted as a word the dump needs from the list.
    const std::string* name = is_operator_flag(word) ? context.names.find_unnoted(word) : context.names.find(word);
    if (name) {
        properties.opby = opby_property_of(item, *name);
        properties.monster = false;
    } else if (!properties.monster) {
        properties.opby = opby_property_of(item, word);
    }
}

void read_disable_self(const LineContext& context, Item& item, Properties& properties)
{
    if (has_keyword(context, "DISABLE_SELF")) properties.disable_self = item.has_exvars = true;
}

void read_destroy_item(const LineContext& context, Item& item, Properties& properties)
{
    if (has_keyword(context, "DESTROY_ITEM")) properties.destroy = item.has_exvars = true;
}

void read_messages(const LineContext& context, Item& item, Properties& properties)
{
    static const char* const messages[][2] = {
        {"ACTIVATE", "msg=M_ACTIVATE"},
        {"DEACTIVATE", "msg=M_DEACTIVATE"},
        {"TOGGLE", "msg=M_TOGGLE"},
        {"ACTION=(DESTROY)", "msg=M_DESTROY"},
    };
    // Searched in this order, each found one replacing the one before: the last found wins.
    for (const auto& message : messages) {
        if (!has_keyword(context, message[0])) continue;
        properties.message = message[1];
        item.has_exvars = true;
    }
}

void read_weight_and_release(const LineContext& context, Item& item, Properties& properties)
{
    if (has_keyword(context, "CONSTANT_WEIGHT")) properties.const_weight = item.has_exvars = true;
    if (has_keyword(context, "RELEASE")) properties.release = item.has_exvars = true;
}
