#include "items/item.h"

#include "items/item_line.h"
#include "text/lua_text.h"
#include "text/normalise.h"

namespace {

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string position_of(const std::string& word)
{
    static const char* const words[] = {"NORTHWEST", "NORTHEAST", "SOUTHWEST", "SOUTHEAST",
                                        "NORTH",     "SOUTH",     "WEST",      "EAST"};
    for (const char* known : words)
        if (word == known) return word;
    return "CENTER";
}

} // namespace

bool Item::make_item(std::string line, std::vector<int> level_offset_x, std::vector<int> level_offset_y,
                     const ObjectList& names)
{
    is_known = true;
    is_mirror = is_doorbutton = is_door = is_doorframe = is_switch = is_shooter = is_floordamager = false;
    spawn_text.clear();

    const auto tokens = split_tokens(line);
    id = tokens.at(0);
    source_type = tokens.at(1);
    x = std::stoi(tokens.at(2));
    y = std::stoi(tokens.at(3));
    level = std::stoi(tokens.at(4));
    off_map = false;
    position = position_of(tokens.size() > 5 ? tokens[5] : std::string());

    object_name = names.lookup(source_type).value_or("X_UNKNOWN");
    if (object_name == "X_UNKNOWN") {
        object_name = source_type;
        source_type = "X_UNKNOWN";
        spawn_text += "--";
        is_known = false;
        commented = true;
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

    spawn_text += force_us(id);
    if (object_name == "pit") {
        x += level_offset_x.at(static_cast<std::size_t>(level));
        y += level_offset_y.at(static_cast<std::size_t>(level));
        spawn_text += "=spawn_pit(" + force_us(std::to_string(level) + "," + std::to_string(x) + "," + std::to_string(y)) + ")\n";
        return off_map;
    }
    spawn_text += "=kel_spawn(\"" + lua_escape(object_name) + "\",";
    if (level == -1) {
        off_map = true;
        return off_map;
    }
    x += level_offset_x.at(static_cast<std::size_t>(level));
    y += level_offset_y.at(static_cast<std::size_t>(level));
    spawn_text += force_us(std::to_string(level) + "," + std::to_string(x) + "," + std::to_string(y) + "," + position) + ")\n";
    return off_map;
}

void Item::make_carry(Item holder)
{
    if (level != -1 || (!spawn_text.empty() && spawn_text.back() == '\n')) return;
    bool named = false;
    for (const auto& held : held_identifiers(holder.contents)) named = named || held == id;
    if (!named) return;
    spawn_text += "IN_OBJ,TVK_" + force_us(holder.id) + ",-1,0)\n";
    if (holder.commented && !commented) {
        commented = true;
        spawn_text = commented_out(spawn_text);
        exvar_text = commented_out(exvar_text);
    }
}

void Item::make_doorb(Item door)
{
    exvar_text = std::string(commented ? "--" : "") + "exvar[TVK_" + force_us(id) + "]={target=TVK_" + force_us(door.id) + "}\n";
}

bool Item::comp_xyz(Item other) const
{
    return x == other.x && y == other.y && level == other.level;
}
