#pragma once
// Normalisation of identifiers and resource names taken from the dump.

#include <cstdint>
#include <string>
#include <string_view>

// True for the bytes an identifier drops in its variable: spaces.
constexpr bool is_dropped_in_variable(char c) { return c == ' '; }

// The byte of a variable that a byte of an identifier gives when it is not dropped: "-" becomes "_".
constexpr char variable_byte(char c) { return c == '-' ? '_' : c; }

// The text with every space removed and every "-" turned into "_": identifiers as Lua names.
std::string force_us(std::string_view text);

// True when both identifiers give one variable: force_us(a) == force_us(b), built of neither.
bool same_variable(std::string_view a, std::string_view b);

// The hash (store/hash.h) of force_us(id).
std::uint64_t variable_hash(std::string_view id);

// Appends force_us(text) to out, without a text of its own.
void append_force_us(std::string& out, std::string_view text);

// "Force lower case": the text with the capitals A to Z lowered and every other byte kept, as
// sound and portrait names are written.
std::string force_lc(std::string_view text);
