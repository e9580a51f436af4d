#pragma once
// The names of the converter's messages: one row per kind of message, with its name (printed as
// [-Wname] after a warning, [name] after an error, and taken by -Wno-NAME and -Werror=NAME), its
// severity, what it reports and an example. The report, the usage text, the JSON form, the pages
// and the guide's table all read this one table; every place that reports a problem names its row.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How bad a problem is: an error loses part of the dump; a warning only flags it.
enum class Severity { error, warning };

// The table: M(identifier, severity, "name", "what it reports", "an example as printed, without its name").
// A new kind of message is one row here.
#define D2L_MESSAGES(M)                                                                                                 \
    M(list_odd, error, "list-odd", "an odd number of words in the object name list that shifts every later pair", "obj_list.txt:3:1: error: the object name list has an odd number of words: \"DOOR_FRAME\" at the start of this line is read as the name of \"DOOR_IRON\" (line 2), and every pair after it is shifted by one word") \
    M(list_last_word, warning, "list-last-word", "an odd number of words in the object name list whose last word alone has no name", "obj_list.txt:9:1: warning: the object name list has an odd number of words: its last word, \"LEVER\", has no name and is ignored") \
    M(list_empty, error, "list-empty", "the object name list is empty while the dump looks up words in it", "obj_list.txt:0: error: the object name list is empty: every object of the dump is written as a comment") \
    M(list_encoding, error, "list-encoding", "an object name list in UTF-16 or UTF-32, whose words cannot be read", "obj_list.txt:1: error: the object name list is UTF-16 text, whose words the converter cannot read, so every object is written as a comment; save it again as UTF-8 (in the editor's \"Save as\", choose the encoding UTF-8) and convert again") \
    M(list_is_dump, error, "list-is-dump", "an object name list that holds a section header: a dump given as the list", "obj_list.txt:3:1: error: the object name list holds the header \"[Layout]\": it is a dungeon dump, not a list of types and names; its words, read two by two, give the objects wrong names, or none (those are written as comments)") \
    M(list_twice, warning, "list-twice", "a type named again with another name (the first pair wins)", "obj_list.txt:7:1: warning: the type \"DOOR_IRON\" is named again, as \"door_wood\"; the first pair, \"door_iron\" on line 2, wins") \
    M(list_name_is_type, warning, "list-name-is-type", "a name in the list that is itself a type the dump looks up", "obj_list.txt:3:11: warning: the type \"DOOR_IRON\" is named \"DOOR_FRAME\", which is itself a type of the dump; a word may be missing before it") \
    M(list_hash_word, warning, "list-hash-word", "a word of the list that begins with \"#\" but does not begin its line", "obj_list.txt:4:11: warning: the word \"#spare\" begins with \"#\" but not its line, so it is no comment: it is read as a word of a pair") \
    M(list_emptied, warning, "list-emptied", "--list-types writes into the object name list it reads", "obj_list.txt:0: warning: standard output is the object name list, which the shell emptied before it was read: pairs it held are lost; --update-list completes a list") \
    M(near_header, warning, "near-header", "a line near a section header without being it", "my_dungeon.txt:12: warning: \"[items]\" is not a section header; the header is written \"[Items]\"") \
    M(near_header_lost, error, "near-header-lost", "a line near a section header whose section is therefore not read: lines lost", "my_dungeon.txt:15: error: \"[Item]\" is not a section header; the header is written \"[Items]\"; 2 non-empty lines below it (up to line 18) are not read as that section") \
    M(padded_header, warning, "padded-header", "a section header with blanks or tabs around it, read as that header", "my_dungeon.txt:4: warning: the header \"  [Items]\" has blanks or tabs around it; it is read as the header \"[Items]\"") \
    M(items_twice, warning, "items-twice", "a second items header, which begins the engine's spawn burst again", "my_dungeon.txt:28: warning: a second [Items] header writes kel_spawnburst_begin() again, for the one kel_spawnburst_end() at the end of the script") \
    M(items_before_layout, error, "items-before-layout", "an items section above the layout section: its objects are skipped", "my_dungeon.txt:1: error: the items section stands before the layout section, whose levels its objects stand on; every object of it is skipped (the layout section must come first)") \
    M(bracket_in_items, warning, "bracket-in-items", "a bracketed line inside the items section that starts no section read", "my_dungeon.txt:49: warning: the line \"[Notes]\" starts no section the converter reads; it is passed over, and the items section goes on below it") \
    M(indented_comment, warning, "indented-comment", "a comment line of the items section with blanks or tabs before its \";\"", "my_dungeon.txt:43: warning: the comment line begins with blanks or tabs before its \";\"; it is passed over as a comment (a comment line begins with \";\")") \
    M(unread_object, warning, "unread-object", "an item line after a separator line, where no section reads it", "my_dungeon.txt:40: warning: the object \"t2\" stands after a separator line and before the next header, where no section reads it; it is not read") \
    M(layout_no_level, error, "layout-no-level", "a layout section without a level block", "my_dungeon.txt:5: error: the layout section ends without a level block (no WALLSET line)") \
    M(level, error, "level", "a level block that breaks its rules: the level is left out", "my_dungeon.txt:10: error: level 0 has fewer map rows than its SIZE height; the level is left out") \
    M(block_line_beyond, error, "block-line-beyond", "a line more than a level block takes: the level is left out", "my_dungeon.txt:12: error: level 0 has a fourth LIGHT line, more than a level block takes; the level is left out") \
    M(map_row_width, warning, "map-row-width", "a map row whose width is not its level's SIZE width", "my_dungeon.txt:10: warning: map row 2 of level 0 is 4 squares wide where its SIZE says 3") \
    M(extra_map_rows, warning, "extra-map-rows", "more map rows than the level's SIZE height", "my_dungeon.txt:14: warning: level 0 has more map rows than its SIZE height of 3; this row and those after it are skipped") \
    M(layout_end, warning, "layout-end", "a layout section that ends at a header without its \"/*\" line", "my_dungeon.txt:17: warning: the layout section has no line with \"/*\" after its last level; it ends at the header \"[Items]\"") \
    M(layout_unended, error, "layout-unended", "the input ends inside the layout section", "my_dungeon.txt:9: error: the input ends inside the layout section (no line with \"/*\" after the last level)") \
    M(grid_too_large, error, "grid-too-large", "a common grid or maps beyond the limits", "my_dungeon.txt:9: error: the common grid of 4000 by 3 squares is too large; no level is written") \
    M(second_layout, error, "second-layout", "a second layout section", "my_dungeon.txt:30: error: a second layout section is ignored") \
    M(item_line, error, "item-line", "an item line that cannot be read: the object is skipped", "my_dungeon.txt:21:9: error: the column, row or level of object \"k1\" is not an integer; it is skipped") \
    M(too_many_objects, error, "too-many-objects", "an object beyond the number the converter can count", "my_dungeon.txt:900: error: the dump holds more objects than can be numbered; this one is left out") \
    M(off_grid, error, "off-grid", "an object left of or above every map: written as a comment", "my_dungeon.txt:21:13: error: object \"k1\" stands at -9,0 of level 0, which is -5,1 on the common grid, left of or above every map; it is written as a comment") \
    M(outside_map, warning, "outside-map", "an object outside its level's map", "my_dungeon.txt:21:13: warning: object \"k1\" stands at 9,0, outside the map of level 0") \
    M(same_variable, warning, "same-variable", "two identifiers that give one variable", "my_dungeon.txt:24:1: warning: object \"a_1\" is written as TVK_a_1, like the object of line 22") \
    M(unlisted_type, warning, "unlisted-type", "a type that the object name list does not name: of an object, a missile, a creature or OPBY=( (once per type)", "my_dungeon.txt:22:9: warning: the object name list does not name the type \"GHOST\": 3 objects of it are written as comments") \
    M(no_holder, error, "no-holder", "a held object that no holder names: written as a comment", "my_dungeon.txt:25: error: no object holds object \"gem-1\"; it is written as a comment") \
    M(held_by_held, error, "held-by-held", "an object whose holder is itself held: written as a comment", "my_dungeon.txt:26: error: object \"gem-2\" is inside \"bag-1\", which is itself held; it is written as a comment") \
    M(held_twice, error, "held-twice", "a later holder that names an object already held: that link is left out", "my_dungeon.txt:27:30: error: object \"gem-1\" is already held by \"chest-1\"; \"chest-2\" does not hold it") \
    M(value, error, "value", "a value written into code that is not a number or name: left out", "my_dungeon.txt:22:36: error: the DELAY: value \"5s\" is not a number or name; it is left out") \
    M(run_in, error, "run-in", "a value that runs into the next keyword: left out", "my_dungeon.txt:46:54: error: the DELAY: value runs into the keyword \"TOGGLE\" (its \",\" or \")\" is missing before it); it is left out") \
    M(value_run_in, warning, "value-run-in", "a number or rotation that runs into the next keyword, read all the same", "my_dungeon.txt:22:40: warning: the NUMBERS=( value runs into the keyword \"RECHARGE_TIME:\" (its \")\" is missing before it), so its maximum is read as \"20\"") \
    M(name_value, warning, "name-value", "a name where the engine expects a number, written as the name", "my_dungeon.txt:22:36: warning: the DELAY: value \"abc\" is a name where a number is meant; it is written as the name abc, nil unless the engine defines it") \
    M(value_range, warning, "value-range", "a number outside what its keyword takes, written as it stands", "my_dungeon.txt:22:35: warning: the COUNT=( value \"-3\" is below -1; it is written as it stands") \
    M(text_paren, warning, "text-paren", "a TEXT=( value holding \"(\", which may be cut short at the first \")\"", "my_dungeon.txt:22:34: warning: the TEXT=( value \"Beware (the\" holds \"(\"; the text ends at the first \")\", so it may be cut short") \
    M(keyword_twice, warning, "keyword-twice", "a keyword given twice on one line with other values: one of them is read", "my_dungeon.txt:22:40: warning: COUNT=( stands twice on the line, with the values \"3\" and \"5\"; the first, \"3\", is read") \
    M(message_conflict, warning, "message-conflict", "two of ACTIVATE, DEACTIVATE, TOGGLE and ACTION=(DESTROY) on one line: the later in that order wins", "my_dungeon.txt:22:40: warning: the line holds ACTIVATE and TOGGLE; TOGGLE, the later of them in the order ACTIVATE, DEACTIVATE, TOGGLE, ACTION=(DESTROY), wins") \
    M(target_run_in, warning, "target-run-in", "a target list that runs into the next keyword, its last target read with it", "my_dungeon.txt:45:40: warning: the TARGET=( value runs into the keyword \"TOGGLE\" (its \")\" is missing before it), so its last target reads \"door-1 TOGGLE\"") \
    M(holds_run_in, warning, "holds-run-in", "a HOLDS=( or CARRYING=( list that runs into the next keyword, its last name read with it", "my_dungeon.txt:38:28: warning: the HOLDS=( value runs into the keyword \"TOGGLE\" (its \")\" is missing before it), so its last name reads \"flask-1 TOGGLE\"") \
    M(bad_target, error, "bad-target", "a target that is not an identifier: the targets are left out", "my_dungeon.txt:22:30: error: the target \"door 1!\" in TARGET=( is not an object identifier; the targets are left out") \
    M(empty_target, warning, "empty-target", "an empty part of a target list, written as TVK_", "my_dungeon.txt:22: warning: an empty target in TARGET=( is written as TVK_, which names no object") \
    M(destination, error, "destination", "a destination that is not three integers or not on a level: left out", "my_dungeon.txt:17:41: error: the DESTINATION=( level 5 is not a level of the layout; the destination is left out") \
    M(destination_outside, warning, "destination-outside", "a teleporter destination outside its level's map", "my_dungeon.txt:17:41: warning: the DESTINATION=( square 9,9 lies outside the map of level 0") \
    M(sound, error, "sound", "a sound that is not SOUND_group_name: left out", "my_dungeon.txt:18:30: error: the sound \"SOUND:LOUD\" is not of the form SOUND:SOUND_group_name; it is left out") \
    M(sound_run_in, warning, "sound-run-in", "a sound name that runs into another keyword, written as read", "my_dungeon.txt:19:48: warning: the sound name \"LEVER TOGGLE\" runs into the keyword \"TOGGLE\" (a \",\" or \")\" is missing before it?); it is written as \"lever toggle\"") \
    M(numbers, error, "numbers", "NUMBERS=( without \")\": left out", "my_dungeon.txt:19:30: error: NUMBERS=( has no \")\"; the minimum and maximum are left out") \
    M(holds_champion, error, "holds-champion", "a champion in HOLDS=( that is not an identifier: left out", "my_dungeon.txt:31:30: error: the champion \"ch 1\" in HOLDS=( is not a champion identifier; it is left out") \
    M(target, warning, "target", "a target that names no object, or one written as a comment", "my_dungeon.txt:14:34: warning: the target \"door-b\" of \"lever-1\" names no object; TVK_door_b is nil in the engine") \
    M(holds, warning, "holds", "a holder that names no held object", "my_dungeon.txt:20:42: warning: \"chest-1\" holds \"gem-zz\", which is no object") \
    M(mirror_champion, warning, "mirror-champion", "a mirror that holds a champion no champion line defines", "my_dungeon.txt:31:29: warning: the mirror \"mirror-1\" holds the champion \"ch-y\", which no champion line defines") \
    M(door_button, warning, "door-button", "a door button with no door on its square and no target", "my_dungeon.txt:18: warning: the door button \"btn-2\" has no door on its square and no target of its own; it opens nothing") \
    M(button_doors, warning, "button-doors", "a door button on a square of several doors: it opens the last", "my_dungeon.txt:18: warning: the door button \"btn-1\" shares its square with 2 doors (\"door-a\", \"door-b\"); it opens the last of them, \"door-b\"") \
    M(operator_case, warning, "operator-case", "an OPBY=( word of who operates the object in another letter case: read as a type", "my_dungeon.txt:22:30: warning: the word \"party\" in OPBY=( is no word of who operates the object; \"PARTY\" is meant? It is read as an object type") \
    M(held_keyword, warning, "held-keyword", "a word read as the keyword it ends with", "my_dungeon.txt:22:30: warning: the word \"SUBTARGET=(\" is read as the keyword \"TARGET=(\", which it holds") \
    M(near_keyword, warning, "near-keyword", "a word of keyword form near a keyword, or a flag keyword in another letter case: passed over", "my_dungeon.txt:22:30: warning: the word \"TARGT=(\" is no keyword; \"TARGET=(\" is meant? It is passed over") \
    M(placement, warning, "placement", "a sixth token near a placement word: the object stands at CENTER", "my_dungeon.txt:22:16: warning: the placement \"NROTH\" is not a placement word (\"NORTH\" is meant?); the object stands at CENTER") \
    M(state, warning, "state", "a STATE=( word near a state (in another letter case, or with blanks): it does nothing", "my_dungeon.txt:22:36: warning: the state \"CLOSSED\" is no state the converter knows (\"CLOSED\" is meant?); it does nothing") \
    M(rotation, warning, "rotation", "a ROTATE: value that names no facing or turn: the object does not turn", "my_dungeon.txt:22:36: warning: the rotation \"LFET\" names no facing or turn (\"LEFT\" is meant?); the object does not turn") \
    M(keyword_in_name, warning, "keyword-in-name", "an identifier or type that holds a keyword, read all the same", "my_dungeon.txt:22:1: warning: the identifier \"DISABLE_SELF\" holds the keyword \"DISABLE_SELF\", which is read all the same") \
    M(keyword_in_text, warning, "keyword-in-text", "a keyword inside the TEXT=( value, read all the same", "my_dungeon.txt:22:40: warning: the keyword \"RELEASE\" stands inside the TEXT=( value, where it is read all the same") \
    M(unused_keyword, warning, "unused-keyword", "a keyword that does nothing on its line or for its object", "my_dungeon.txt:22:30: warning: DELAY: does nothing without TARGET=(") \
    M(null_target, warning, "null-target", "NULL in a target list of more than NULL", "my_dungeon.txt:22:38: warning: NULL in TARGET=(door-1,NULL) withdraws every target of the list") \
    M(champion, error, "champion", "a champion line that breaks its rules: the champion is left out", "my_dungeon.txt:3: error: the champion line has no portrait reference (no \":\"); the champion is left out") \
    M(champion_twice, warning, "champion-twice", "a champion defined a second time: the later definition is kept", "my_dungeon.txt:25: warning: the champion ch_1 is defined a second time (first on line 23); the variable holds the champion of this later line") \
    M(roster, error, "roster", "a roster line that names no champion defined above it: left out", "my_dungeon.txt:8: error: the roster line \"ch-8\" names no champion defined before it; it is left out") \
    M(party_twice, warning, "party-twice", "the same champion added to the party twice", "my_dungeon.txt:9: warning: the champion ch_1 is added to the party a second time") \
    M(no_entrance, error, "no-entrance", "a dump without an entrance line: the party is not placed", "my_dungeon.txt:40: error: the dump has no entrance line; the party is not placed") \
    M(entrance, error, "entrance", "an entrance line that cannot be read or names no level or facing: the party is not placed", "my_dungeon.txt:2: error: the entrance line has no readable (x,y,level,facing)") \
    M(entrance_twice, warning, "entrance-twice", "a second entrance line with other values: the last places the party", "my_dungeon.txt:4: warning: a second entrance line, with other values than the one of line 3; the last entrance line, this one, places the party") \
    M(entrance_outside, warning, "entrance-outside", "an entrance outside its level's map", "my_dungeon.txt:2:13: warning: the entrance 9,9 lies outside the map of level 0")

// Names a kind of message: an identifier of the table's rows.
enum class MessageId : std::uint8_t {
#define D2L_MESSAGE_ID(id, severity, name, description, example) id,
    D2L_MESSAGES(D2L_MESSAGE_ID)
#undef D2L_MESSAGE_ID
};

// One row of the table.
struct MessageKind {
    MessageId id;
    Severity severity;
    std::string_view name;
    std::string_view description;
    std::string_view example;
};

// Every row, in the table's order.
inline constexpr MessageKind message_kinds[] = {
#define D2L_MESSAGE_ROW(id, severity, name, description, example) \
    {MessageId::id, Severity::severity, name, description, example},
    D2L_MESSAGES(D2L_MESSAGE_ROW)
#undef D2L_MESSAGE_ROW
};

// How many kinds of message there are.
inline constexpr std::size_t message_kind_count = std::size(message_kinds);

// The row of a kind of message.
constexpr const MessageKind& kind_of(MessageId id) { return message_kinds[static_cast<std::size_t>(id)]; }

// The kind of message of a name ("target"); none for a name the table does not hold.
std::optional<MessageId> message_named(std::string_view name);

// The table as the guide shows it: a Markdown table of name, severity, what it reports and an
// example, one row per kind.
std::string message_table_markdown();
