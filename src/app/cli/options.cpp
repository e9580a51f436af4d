#include "cli/options.h"

#include "report/report.h"

#ifndef D2L_VERSION
#define D2L_VERSION "unknown"
#endif

namespace {

// An argument as a message shows it: quoted, with control bytes escaped.
std::string shown(const std::string& argument)
{
    return quoted(argument);
}

// The option that takes a value and the field it fills; none for other words.
std::optional<std::string>* value_slot(Options& options, const std::string& name)
{
    if (name == "-o" || name == "--output") return &options.output;
    if (name == "--objects") return &options.objects;
    if (name == "--map") return &options.map;
    return nullptr;
}

// Reads a -W option: -Werror, -Werror=NAME, -Wno-NAME; the problem with it, or none.
std::optional<std::string> read_message_option(Options& options, const std::string& argument)
{
    if (argument == "-Werror") {
        options.strict = true;
        return std::nullopt;
    }
    const bool promote = argument.starts_with("-Werror=");
    const bool silence = argument.starts_with("-Wno-");
    if (!promote && !silence) return "unknown option " + shown(argument);
    const std::string name = argument.substr(promote ? 8 : 5);
    const auto kind = message_named(name);
    if (!kind) return "option " + shown(argument) + " names no message (dungeon2lua --help lists their names)";
    const bool error = kind_of(*kind).severity == Severity::error;
    if (silence && error) return "option " + shown(argument) + " names an error, which cannot be silenced";
    // An error is one already: -Werror= leaves it as it is.
    if (!error) options.messages[static_cast<std::size_t>(*kind)] = promote ? Treatment::promoted : Treatment::silenced;
    return std::nullopt;
}

// True when the word is a flag; sets it.
bool set_flag(Options& options, const std::string& name)
{
    if (name == "-h" || name == "--help") return options.help = true;
    if (name == "--version") return options.version = true;
    if (name == "--strict") return options.strict = true;
    if (name == "--check") return options.check = true;
    if (name == "--list-types") return options.list_types = true;
    if (name == "--update-list") return options.update_list = true;
    if (name == "--all-messages") return options.all_messages = true;
    return false;
}

// The names of the messages, warnings then errors, as lines of the usage text.
std::string message_names_text()
{
    std::string text;
    for (const Severity severity : {Severity::warning, Severity::error}) {
        std::string line = severity == Severity::warning ? "  warnings:" : "  errors:";
        for (const MessageKind& kind : message_kinds) {
            if (kind.severity != severity) continue;
            if (line.size() + kind.name.size() + 2 > 78) {
                text += line + "\n";
                line = "   ";
            }
            line += ' ';
            line += kind.name;
        }
        text += line + "\n";
    }
    return text;
}

ParsedOptions failed(ParsedOptions parsed, const std::string& what)
{
    parsed.error = what + " (see dungeon2lua --help)";
    return parsed;
}

} // namespace

ParsedOptions parse_options(const std::vector<std::string>& arguments)
{
    ParsedOptions parsed;
    Options& options = parsed.options;
    bool options_ended = false;
    // The options that name the script's and the page's place, as typed, for the messages.
    std::string output_option;
    std::string map_option;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool option = !options_ended && argument.size() > 1 && argument[0] == '-';
        if (!option) {
            if (options.path) return failed(parsed, "more than one PATH: " + shown(argument));
            options.path = argument;
            continue;
        }
        if (argument == "--") {
            options_ended = true;
            continue;
        }
        if (set_flag(options, argument)) continue;
        if (argument.starts_with("-W")) {
            if (auto problem = read_message_option(options, argument)) return failed(parsed, *problem);
            continue;
        }
        // The form of the messages: --messages=json or --messages=text (or as two words).
        if (argument == "--messages" || argument.starts_with("--messages=")) {
            std::string form;
            if (argument.size() > 10) form = argument.substr(11);
            else if (i + 1 < arguments.size()) form = arguments[++i];
            if (form != "json" && form != "text")
                return failed(parsed, "option \"--messages\" takes \"text\" or \"json\", not " + shown(form));
            options.json_messages = form == "json";
            continue;
        }
        // "--output=FILE" and "-oFILE" carry their value; "-o FILE" takes the next argument.
        std::string name = argument;
        std::optional<std::string> value;
        if (argument.starts_with("--")) {
            const std::size_t equals = argument.find('=');
            if (equals != std::string::npos) {
                name = argument.substr(0, equals);
                value = argument.substr(equals + 1);
            }
        } else if (argument.size() > 2) {
            name = argument.substr(0, 2);
            value = argument.substr(2);
        }
        std::optional<std::string>* slot = value_slot(options, name);
        // A long option is named up to its "="; a short one as typed ("-help" is not "-h").
        if (!slot) return failed(parsed, "unknown option " + shown(argument.starts_with("--") ? name : argument));
        if (!value) {
            if (i + 1 == arguments.size()) return failed(parsed, "option " + shown(name) + " needs a value");
            value = arguments[++i];
        }
        if (value->empty()) return failed(parsed, "option " + shown(name) + " needs a value");
        *slot = *value;
        if (slot == &options.output) output_option = name;
        if (slot == &options.map) map_option = name;
    }
    if (options.update_list && (options.list_types || options.check))
        return failed(parsed, "option \"--update-list\" cannot go with " +
                                  shown(options.list_types ? "--list-types" : "--check"));
    if (options.check || options.list_types || options.update_list) {
        const std::string mode = options.check ? "--check" : options.list_types ? "--list-types" : "--update-list";
        const std::string refused =
            "option " + shown(mode) + (options.update_list ? " writes no script" : " writes no file") + " and cannot go with ";
        if (options.output) return failed(parsed, refused + shown(output_option));
        if (options.map) return failed(parsed, refused + shown(map_option));
    }
    if (options.output == "-" && options.map == "-")
        return failed(parsed, "the script and the map page cannot both go to standard output");
    return parsed;
}

std::string usage_text()
{
    return "Usage: dungeon2lua [OPTION]... [PATH]\n"
           "Converts a dungeon dump (my_dungeon.txt) into a Lua script for the target engine\n"
           "(LUA_dungeon.lua), with obj_list.txt naming the target object of each dump type.\n"
           "\n"
           "PATH is a folder that holds my_dungeon.txt, or the dump file itself; obj_list.txt is\n"
           "read from, and LUA_dungeon.lua written to, the dump's folder. Without PATH, the\n"
           "current folder.\n"
           "\n"
           "  -o, --output FILE   write the script to FILE (\"-\": standard output; a folder:\n"
           "                      LUA_dungeon.lua in it)\n"
           "      --objects FILE  read the object name list from FILE\n"
           "      --map FILE      also write FILE, an HTML page that shows the converted dungeon\n"
           "                      (\"-\": standard output)\n"
           "      --check         convert and print the messages, but write no file\n"
           "      --list-types    print, in the object name list's format, a pair for each word\n"
           "                      the dump looks up in the list (X_UNKNOWN where the list has\n"
           "                      none; no list needed), and write no file\n"
           "      --update-list   add to the object name list, under a comment line, a pair\n"
           "                      TYPE X_UNKNOWN for each word the dump looks up and the list\n"
           "                      lacks, and write no script\n"
           "      --strict, -Werror  count warnings as errors for the exit status\n"
           "  -Wno-NAME           do not print or count the warning NAME\n"
           "  -Werror=NAME        make the warning NAME an error\n"
           "      --all-messages  print every message (without it, 20 of each name, then a\n"
           "                      line that says how many more there are)\n"
           "      --messages=json print the messages as one JSON document\n"
           "  -h, --help          show this text and stop\n"
           "      --version       show the version and stop\n"
           "\n"
           "Problems of the dump are printed as FILE:LINE: error: ... (something is left out,\n"
           "skipped or written as a comment) or FILE:LINE: warning: ... (written as it stands,\n"
           "but it looks wrong), with a column after LINE where the message is about a word,\n"
           "and the message's name at the end: [-WNAME] for a warning, [NAME] for an error.\n"
           "The object name list's messages come first, then the dump's, in line order, then\n"
           "one line with the count of errors and warnings and what became of the objects.\n"
           "The script replaces the old one only when it is complete.\n"
           "\n"
           "Names of the messages:\n"
           + message_names_text() +
           "\n"
           "Exit status: 0 converted (warnings allowed), 1 nothing converted (a file could not\n"
           "be read or written, a wrong argument, or an input that is not a dump), 2 converted\n"
           "with errors (or with warnings under --strict).\n";
}

std::string version_text()
{
    return std::string("dungeon2lua ") + D2L_VERSION + "\n" +
           "Copyright (C) 2026 the dungeon2lua developers.\n"
           "License MIT: <https://opensource.org/license/mit>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}
