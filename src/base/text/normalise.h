#pragma once
// Normalisation of identifiers and resource names taken from the dump.

#include <string>
#include <string_view>

// The text with every space removed and every "-" turned into "_": identifiers as Lua names.
std::string force_us(std::string_view text);

// Appends force_us(text) to out, without a text of its own.
void append_force_us(std::string& out, std::string_view text);

// "Force lower case": the text with the capitals A to Z lowered and every other byte kept, as
// sound and portrait names are written.
std::string force_lc(std::string_view text);
