#include "vocabulary/engine_names.h"

#include <algorithm>

#include "text/lua_text.h"
#include "vocabulary/word_lists.h"

bool is_reserved_global(std::string_view name)
{
    const auto is_name = [&](std::string_view word) { return word == name; };
    return name.starts_with(engine::object_prefix) || std::any_of(engine_globals.begin(), engine_globals.end(), is_name) ||
           std::any_of(placement_words.begin(), placement_words.end(), is_name) || name == default_placement ||
           std::any_of(lua_globals.begin(), lua_globals.end(), is_name);
}
