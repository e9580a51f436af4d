#include "records/item.h"

#include <algorithm>

#include "records/held_list.h"
#include "text/chars.h"
#include "text/decimal.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "text/tokens.h"

namespace {

std::string_view position_of(std::string_view word)
{
    static constexpr std::string_view words[] = {"NORTHWEST", "NORTHEAST", "SOUTHWEST", "SOUTHEAST",
                                                  "NORTH",     "SOUTH",     "WEST",      "EAST"};
    for (std::string_view known : words)
        if (word == known) return known;
    return "CENTER";
}

// Appends the level, column and row of a spawn statement, "LEVEL,X,Y", as force_us writes them:
// a minus sign becomes "_".
void append_grid_place(std::string& out, int level, int x, int y)
{
    const std::size_t start = out.size();
    append_decimal(out, level);
    out += ',';
    append_decimal(out, x);
    out += ',';
    append_decimal(out, y);
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '-', '_');
}

} // namespace

bool Item::make_item(const std::string& line, const std::vector<int>& level_offset_x,
                     const std::vector<int>& level_offset_y, const ObjectList& names)
{
    const LeadingTokens tokens = leading_tokens(line);
    int column = 0, row = 0, level_number = 0;
    read_whole_int(tokens.tokens.at(2), column);
    read_whole_int(tokens.tokens.at(3), row);
    read_whole_int(tokens.tokens.at(4), level_number);
    return make_item(line, tokens, column, row, level_number, names.find(tokens.tokens.at(1)), level_offset_x,
                     level_offset_y);
}

bool Item::make_item(const std::string& line, const LeadingTokens& line_tokens, int column, int row,
                     int level_number, const std::string* listed, const std::vector<int>& level_offset_x,
                     const std::vector<int>& level_offset_y)
{
    // A record reused for the next line starts afresh; its texts keep their room.
    is_known = true;
    is_mirror = is_doorbutton = is_door = is_doorframe = is_switch = is_shooter = is_floordamager = false;
    commented = false;
    comment_reason = CommentReason::none;
    spawn_text.clear();
    contents.clear();

    const auto& [tokens, count] = line_tokens;
    id.assign(tokens.at(0));
    source_type.assign(tokens.at(1));
    x = column;
    y = row;
    level = level_number;
    off_map = false;
    position.assign(position_of(count > 5 ? tokens[5] : std::string_view()));

    if (listed) {
        object_name.assign(*listed);
    } else {
        object_name.assign(source_type);
        source_type.assign("X_UNKNOWN");
        spawn_text += "--";
        is_known = false;
        commented = true;
        comment_reason = CommentReason::unlisted_type;
    }
    spawn_text += "TVK_";

    if (contains(object_name, "mirror")) is_mirror = true;
    if (contains(object_name, "doorbutton")) is_doorbutton = true;
    if (contains(object_name, "doorframe")) is_doorframe = true;
    if (object_name == "shooter") is_shooter = true;
    if (object_name == "floordamager") is_floordamager = true;
    if (contains(object_name, "door_")) is_door = true;
    if (contains(object_name, "lever")) {
        is_switch = true;
        object_name += contains(line, "STATE:B") ? "_down" : "_up";
    }
    if (!is_switch && contains(source_type, "SWITCH") && !contains(object_name, "eye")) {
        is_switch = true;
        if (contains(line, "STATE:B") && !contains(object_name, "small") && !contains(object_name, "tiny"))
            object_name += "_pushed";
    }

    append_force_us(spawn_text, id);
    if (spawns_as_pit(object_name)) {
        x += level_offset_x.at(static_cast<std::size_t>(level));
        y += level_offset_y.at(static_cast<std::size_t>(level));
        spawn_text += "=spawn_pit(";
        append_grid_place(spawn_text, level, x, y);
        spawn_text += ")\n";
        return off_map;
    }
    spawn_text += "=kel_spawn(\"";
    append_lua_escape(spawn_text, object_name);
    spawn_text += "\",";
    if (level == -1) {
        off_map = true;
        return off_map;
    }
    x += level_offset_x.at(static_cast<std::size_t>(level));
    y += level_offset_y.at(static_cast<std::size_t>(level));
    append_grid_place(spawn_text, level, x, y);
    // The placement words hold no blank and no "-", so force_us leaves them as they are.
    spawn_text += ',';
    spawn_text += position;
    spawn_text += ")\n";
    return off_map;
}

void Item::make_carry(const Item& holder)
{
    if (level != -1 || (!spawn_text.empty() && spawn_text.back() == '\n')) return;
    bool named = false;
    for_each_held_identifier(holder.contents, [&](std::string_view held) { named = named || held == id; });
    if (!named) return;
    spawn_text += holder_link(holder.id);
    if (holder.commented && !commented) comment_out(CommentReason::holder_commented);
}

void Item::comment_out(CommentReason why)
{
    commented = true;
    if (comment_reason == CommentReason::none) comment_reason = why;
    spawn_text = commented_out(spawn_text);
    exvar_text = commented_out(exvar_text);
}

void Item::make_doorb(const Item& door)
{
    exvar_text = door_link(id, door.id, commented);
}

bool Item::comp_xyz(const Item& other) const
{
    return x == other.x && y == other.y && level == other.level;
}

const char* comment_reason_text(CommentReason reason)
{
    switch (reason) {
    case CommentReason::none: return "";
    case CommentReason::unlisted_type: return "the object name list does not name its type";
    case CommentReason::off_grid: return "its square is left of or above the common grid";
    case CommentReason::no_holder: return "no object holds it";
    case CommentReason::holder_held: return "the object that holds it is itself held";
    case CommentReason::holder_commented: return "the object that holds it is written as a comment";
    }
    return "";
}

std::string holder_link(std::string_view holder_id)
{
    return "IN_OBJ,TVK_" + force_us(holder_id) + ",-1,0)\n";
}

std::string door_link(std::string_view button_id, std::string_view door_id, bool commented)
{
    return std::string(commented ? "--" : "") + "exvar[TVK_" + force_us(button_id) + "]={target=TVK_" +
           force_us(door_id) + "}\n";
}
