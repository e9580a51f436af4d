#pragma once
// Checks and escaping that keep text from the dump inside the places of the script meant for it.

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

// True when the text is one of the reserved words of Lua 5.1 ("and", ..., "while", "true", "false", "nil").
// Inline: the chunking writer asks it of every name of a large script.
inline bool is_lua_keyword(std::string_view text)
{
    const auto any_of = [&](std::initializer_list<std::string_view> words) {
        for (const std::string_view word : words)
            if (word == text) return true;
        return false;
    };
    // By length, so that a name is compared with at most five words of its own length.
    switch (text.size()) {
    case 2: return any_of({"do", "if", "in", "or"});
    case 3: return any_of({"and", "end", "for", "nil", "not"});
    case 4: return any_of({"else", "then", "true"});
    case 5: return any_of({"break", "false", "local", "until", "while"});
    case 6: return any_of({"elseif", "repeat", "return"});
    case 8: return text == "function";
    default: return false;
    }
}

// True when the text is a Lua name: letters, digits and "_", not starting with a digit, not a keyword.
bool is_lua_name(std::string_view text);

// True when a champion variable of that name would overwrite a name that the script or the
// engine's Lua already gives a meaning: the engine's functions and values, exvar, dungeon_name,
// the object variables (TVK_...) and the globals of Lua 5.1 itself.
bool is_reserved_global(std::string_view name);

// True when every byte of the text is a letter, a digit or "_" (the text may be empty).
bool is_word_text(std::string_view text);

// The text with "--" in front of every line that does not begin with it yet; a text without a
// final line break gets one.
std::string commented_out(std::string_view text);
