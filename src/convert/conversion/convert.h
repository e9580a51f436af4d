#pragma once
// The conversion of one dump into one script, on streams, so that it runs the same in memory.

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "itempass/item_links.h"
#include "itempass/item_pass.h"
#include "itempass/object_names.h"
#include "levels/levels.h"
#include "records/object_list.h"
#include "report/report.h"
#include "text/utf8.h"

// Exit status of a run that converted the dump with errors: the script is written, the problems reported.
constexpr int status_rule_broken = 2;
// Exit status of a run that converted nothing: a file could not be opened or written, an
// argument was wrong, or the dump is not a dump.
constexpr int status_no_file = 1;

// What the text of an input without a header line shows about why it is not a dump.
struct NotADump {
    // "UTF-16" or "UTF-32" for a text in such a wide encoding, whose headers cannot match; empty
    // otherwise.
    std::string_view wide_encoding;
    // True when its lines read as an object name list (words of type and name, nothing else).
    bool reads_as_object_list = false;
};

// The message for an input without a header line, which is not a dungeon dump: "NAME is not a
// dungeon dump (...)", with what its text shows, without the program's name.
inline std::string not_a_dump_message(const std::string& dump_name, const NotADump& why = {})
{
    if (!why.wide_encoding.empty())
        return dump_name + " is " + std::string(why.wide_encoding) +
               " text, whose header lines the converter cannot read; " + std::string(wide_encoding_advice);
    std::string message =
        dump_name + " is not a dungeon dump (no [Layout], [Items], [Main Data], [Characters] or [Party] header line)";
    if (why.reads_as_object_list)
        message += "; it reads as an object name list: were the dump and the object name list swapped?";
    return message;
}

// What a conversion decided about the whole dungeon, as it stands when the script is complete.
struct ConvertedDungeon {
    const Levels& levels;
    const std::optional<Entrance>& entrance;
    // True when the script places the party at the entrance.
    bool party_placed = false;
    const LinkResult& links;
    // Every object's names: which object a name given in the dump reaches.
    const ObjectNames& names;
};

// Told of what a conversion reads and decides, for a caller that wants more than the script and
// the report (the map page); a plain conversion has none.
class ConversionWatcher : public ItemWatcher {
public:
    // A champion variable that a definition assigned.
    virtual void champion(const std::string& variable) = 0;
    // A champion variable that a roster statement put into the party.
    virtual void party_member(const std::string& variable) = 0;
    // The whole dungeon, once the script is written.
    virtual void finished(const ConvertedDungeon& dungeon) = 0;
};

// The exit status of a run that converted the dump: 2 when the report holds an error, or, when
// strict, a warning; 0 otherwise.
int converted_status(const Report& report, bool strict);

// Reads the dump, writes the whole script and reports every problem of the dump, then those of
// the object name list (which words the dump looked up in it are noted in the list); a watcher,
// when given, is told of what the run decided. Returns 0 when the report holds no error (warnings
// allowed) and 2 when it holds one. An input without a header line is not a dump: nothing is
// written or reported, the status is status_no_file, and `why`, when given, says what its text shows.
int convert(std::istream& dump, std::ostream& script, const ObjectList& names, Report& report,
            ConversionWatcher* watcher = nullptr, NotADump* why = nullptr);
