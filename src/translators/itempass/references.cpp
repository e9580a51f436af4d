#include "itempass/references.h"

#include <string>

#include "behaviour/run_ins.h"
#include "records/held_list.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"

namespace {

void check_targets(const ItemLists& lists, Report& report)
{
    for (const NamedList& targets : lists.target_lists) {
        const long line = lists.names.line_of(targets.object);
        // A part of a target list is read with the blanks around it dropped.
        for_each_listed_name(targets.list, [&](std::string_view part) {
            // An empty part is reported where the script writes it, and one that runs into a
            // keyword where the list is read (a part that names an object is looked at no
            // further, so the run-in is looked for only before a message).
            if (part.empty()) return;
            const std::size_t object = lists.names.object_named(part);
            const auto variable = [&] { return std::string(engine::object_prefix) + force_us(part); };
            const CommentReason reason = object == no_object ? CommentReason::none : lists.names.reason_of(object);
            if ((object == no_object || reason != CommentReason::none) && keyword_run_into(part)) return;
            if (object == no_object) {
                report.add(MessageId::target, line,
                           "the target " + quoted(part) + " of " + quoted(lists.names.id_of(targets.object)) +
                               " names no object; " + variable() + " is nil in the engine",
                           column_in_list(targets.list, targets.column, part));
                return;
            }
            if (reason != CommentReason::none)
                report.add(MessageId::target, line,
                               "the target " + quoted(part) + " of " + quoted(lists.names.id_of(targets.object)) + " names object " +
                                   quoted(lists.names.id_of(object)) + ", which is written as a comment (" +
                                   comment_reason_text(reason) + "); " + variable() + " is nil in the engine",
                               column_in_list(targets.list, targets.column, part));
        });
    }
}

void check_held_names(const ItemLists& lists, Report& report)
{
    for (const UnheldName& unheld : lists.unheld_names) {
        const std::string start = quoted(unheld.holder) + " holds " + quoted(unheld.name) + ", ";
        const std::size_t object = lists.names.object_named(unheld.name);
        // A name that runs into a keyword was reported where its list was read.
        if (object == no_object && keyword_run_into(unheld.name)) continue;
        if (object == no_object) {
            report.add(MessageId::holds, unheld.line_number, start + "which is no object", unheld.column);
            continue;
        }
        const std::string_view id = lists.names.id_of(object);
        if (id != unheld.name)
            report.add(MessageId::holds, unheld.line_number, start + "which matches object " + quoted(id) +
                                                   " only as a variable; a holder names what it holds by its "
                                                   "identifier exactly as written",
                       unheld.column);
        else if (!lists.names.is_held(object))
            report.add(MessageId::holds, unheld.line_number,
                           start + "which stands on the map (its level is not -1), so it is not held", unheld.column);
    }
}

void check_champions(const ItemLists& lists, const ChampionNames& champions, Report& report)
{
    for (const NamedList& mirror : lists.mirror_champions)
        if (!champions.contains(force_us(mirror.list)))
            report.add(MessageId::mirror_champion, lists.names.line_of(mirror.object), "the mirror " + quoted(lists.names.id_of(mirror.object)) + " holds the champion " +
                                                   quoted(mirror.list) + ", which no champion line defines",
                       mirror.column);
}

void check_door_buttons(const ItemLists& lists, Report& report)
{
    for (const ButtonFacts& button : lists.button_facts)
        if (button.link == no_fact && !button.has_target && !button.commented)
            report.add(MessageId::door_button, lists.names.line_of(button.object),
                           "the door button " + quoted(lists.names.id_of(button.object)) +
                               " has no door on its square and no target of its own; it opens nothing");
}

} // namespace

void check_references(const ItemLists& lists, const ChampionNames& champions, Report& report)
{
    check_targets(lists, report);
    check_held_names(lists, report);
    check_champions(lists, champions, report);
    check_door_buttons(lists, report);
}
