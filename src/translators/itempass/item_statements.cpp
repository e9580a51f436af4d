#include "itempass/item_statements.h"

#include <algorithm>
#include <charconv>

#include "text/chars.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"
#include "vocabulary/word_lists.h"

namespace {

std::string_view position_of(std::string_view word)
{
    for (std::string_view known : placement_words)
        if (word == known) return known;
    return default_placement;
}

// Appends the level, column and row of a spawn statement, "LEVEL,X,Y", as force_us writes them:
// a minus sign becomes "_".
void append_grid_place(std::string& out, int level, int x, int y)
{
    // Made on the stack and appended once: a statement for nearly every object has one.
    char text[3 * 12];
    char* end = text;
    for (const int number : {level, x, y}) {
        if (end != text) *end++ = ',';
        end = std::to_chars(end, end + 11, number).ptr;
    }
    std::replace(text, end, '-', '_');
    out.append(text, static_cast<std::size_t>(end - text));
}

// Appends the suffix of a lever ("_up" or "_down") or a pushed switch ("_pushed") to its name;
// the number of the suffix (1 to 3, as ClassifiedNames numbers them), 0 for none.
std::size_t append_state_suffix(std::string& object_name, ObjectFlags flags, const std::string& line)
{
    if (flags.has(ObjectFlag::lever)) {
        const bool down = contains(line, pressed_state);
        object_name += down ? "_down" : "_up";
        return down ? 2 : 1;
    }
    if (flags.has(ObjectFlag::switch_by_type) && !flags.has(ObjectFlag::small_switch) && contains(line, pressed_state)) {
        object_name += "_pushed";
        return 3;
    }
    return 0;
}

} // namespace

bool make_item(Item& item, const std::string& line, const LeadingTokens& line_tokens, int column, int row,
               int level_number, const std::string* listed, const std::vector<int>& level_offset_x,
               const std::vector<int>& level_offset_y, ClassifiedNames& classes)
{
    // A record reused for the next line starts afresh; its texts keep their room.
    item.is_known = true;
    item.commented = false;
    item.comment_reason = CommentReason::none;
    item.spawn_text.clear();
    item.contents.clear();

    const auto& [tokens, count] = line_tokens;
    item.id.assign(tokens.at(0));
    item.source_type.assign(tokens.at(1));
    item.x = column;
    item.y = row;
    item.level = level_number;
    item.off_map = false;
    item.position.assign(position_of(count > 5 ? tokens[5] : std::string_view()));

    std::string& spawn = item.spawn_text;
    if (listed) {
        item.object_name.assign(*listed);
    } else {
        item.object_name.assign(item.source_type);
        item.source_type.assign("X_UNKNOWN");
        spawn += "--";
        item.is_known = false;
        item.commented = true;
        item.comment_reason = CommentReason::unlisted_type;
    }
    const NameFlags flags =
        listed ? classes.of(*listed, item.source_type) : name_flags(item.object_name, item.source_type);
    const std::size_t suffix = append_state_suffix(item.object_name, flags.listed, line);
    if (suffix == 0) item.flags = flags.written;
    else if (listed) item.flags = classes.suffixed(*listed, item.source_type, suffix, item.object_name, flags.listed);
    else item.flags = classified(NameStage::written, item.object_name, item.source_type, flags.listed);

    spawn += engine::object_prefix;
    append_force_us(spawn, item.id);
    spawn += '=';
    if (item.is(ObjectFlag::pit_statement)) {
        item.x += level_offset_x.at(static_cast<std::size_t>(item.level));
        item.y += level_offset_y.at(static_cast<std::size_t>(item.level));
        spawn += engine::spawn_pit;
        spawn += '(';
        append_grid_place(spawn, item.level, item.x, item.y);
        spawn += ")\n";
        return item.off_map;
    }
    spawn += engine::spawn;
    spawn += "(\"";
    append_lua_escape(spawn, item.object_name);
    spawn += "\",";
    if (item.level == -1) {
        item.off_map = true;
        return item.off_map;
    }
    item.x += level_offset_x.at(static_cast<std::size_t>(item.level));
    item.y += level_offset_y.at(static_cast<std::size_t>(item.level));
    append_grid_place(spawn, item.level, item.x, item.y);
    // The placement words hold no blank and no "-", so force_us leaves them as they are.
    spawn += ',';
    spawn += item.position;
    spawn += ")\n";
    return item.off_map;
}

void comment_out(Item& item, CommentReason why)
{
    item.commented = true;
    if (item.comment_reason == CommentReason::none) item.comment_reason = why;
    item.spawn_text = commented_out(item.spawn_text);
    item.exvar_text = commented_out(item.exvar_text);
}

void make_carry(std::string& spawn_text, std::string_view holder_id)
{
    spawn_text += engine::in_object;
    spawn_text += ',';
    spawn_text += engine::object_prefix;
    append_force_us(spawn_text, holder_id);
    spawn_text += ",-1,0)\n";
}

std::string make_doorb(std::string_view button_id, std::string_view door_id, bool commented)
{
    std::string text = commented ? "--" : "";
    text += engine::exvar;
    text += '[';
    text += engine::object_prefix;
    append_force_us(text, button_id);
    text += "]={target=";
    text += engine::object_prefix;
    append_force_us(text, door_id);
    text += "}\n";
    return text;
}
