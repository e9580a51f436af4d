#pragma once
// Values that run into the next keyword of their line because the mark that ends them is missing
// (TARGET=(door-1 TOGGLE, DELAY:5 TOGGLE, SOUND:SOUND_STD_LEVER TOGGLE).

#include <optional>
#include <string>
#include <string_view>

// The keyword of the table that begins a word of the value after its first (after a blank or a
// tab): the keyword that the value runs into; none when there is none.
std::optional<std::string_view> keyword_run_into(std::string_view value);

// The mark that ends the value of the keyword as written ("=(" keywords and ROTATE: end at ")",
// other ":" keywords at "," or ")"), as messages name it.
std::string_view missing_mark_of(std::string_view keyword);

// "the KEYWORD value runs into the keyword "WORD" (its MARK is missing before it)": the start of
// every message about such a value.
std::string run_in_text(std::string_view keyword, std::string_view run_into);
