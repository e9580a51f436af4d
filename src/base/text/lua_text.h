#pragma once
// Checks and escaping that keep text from the dump inside the places of the script meant for it.

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

// The bytes of a text as they must stand between double quotes in Lua: backslash and double
// quote escaped, every control byte and 127 as a backslash and three decimal digits.
std::string lua_escape(std::string_view text);

// Appends lua_escape(text) to out, without a text of its own.
void append_lua_escape(std::string& out, std::string_view text);

// True when the text, blanks and tabs around it aside, reads as a Lua number (an optional "-",
// digits, optionally "." and digits) or as a Lua name that is not a keyword: a value that may
// stand in the script outside a string literal.
bool is_code_value(std::string_view text);

// True when the text is a plain decimal number: an optional "-", digits, and optionally "." and
// more digits.
bool is_lua_number(std::string_view text);

// The reserved words of Lua 5.1, which no name may be; true, false and nil are constants.
inline constexpr std::array<std::string_view, 21> lua_reserved_words = {
    "and",  "break", "do",  "else", "elseif", "end",    "false",  "for",  "function", "if",   "in",
    "local", "nil",  "not", "or",   "repeat", "return", "then",   "true", "until",    "while",
};

// True when the text is one of the reserved words of Lua 5.1.
// Inline: the checks of values ask it of many names.
inline bool is_lua_keyword(std::string_view text)
{
    // The longest reserved word has eight bytes; a longer name is compared with none.
    if (text.size() > 8) return false;
    for (const std::string_view word : lua_reserved_words)
        if (word == text) return true;
    return false;
}

// True when the text is a Lua name: letters, digits and "_", not starting with a digit, not a keyword.
bool is_lua_name(std::string_view text);

// The global names of Lua 5.1 itself: its base functions and its libraries.
inline constexpr std::array<std::string_view, 39> lua_globals = {
    "_G",     "_VERSION", "assert",   "collectgarbage", "dofile",     "error",        "gcinfo",   "getfenv",
    "getmetatable", "ipairs", "load", "loadfile",       "loadstring", "module",       "newproxy", "next",
    "pairs",  "pcall",    "print",    "rawequal",       "rawget",     "rawset",       "require",  "select",
    "setfenv", "setmetatable", "tonumber", "tostring",  "type",       "unpack",       "xpcall",   "coroutine",
    "debug",  "io",       "math",     "os",             "package",    "string",       "table",
};

// True when every byte of the text is a letter, a digit or "_" (the text may be empty).
bool is_word_text(std::string_view text);

// The text with "--" in front of every line that does not begin with it yet; a text without a
// final line break gets one.
std::string commented_out(std::string_view text);
