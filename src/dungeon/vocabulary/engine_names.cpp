#include "vocabulary/engine_names.h"

#include <algorithm>

#include "text/lua_text.h"
#include "vocabulary/word_lists.h"

bool is_reserved_global(std::string_view name)
{
    const auto is_name = [&](std::string_view word) { return word == name; };
    return name.starts_with(engine::object_prefix) || std::ranges::any_of(engine_globals, is_name) ||
           std::ranges::any_of(placement_words, is_name) || name == default_placement ||
           std::ranges::any_of(lua_globals, is_name);
}
