#pragma once
// The working state of one translation of an item line: the properties of its table line, held
// apart until they are joined in their fixed order, and the statements that follow the table.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "behaviour/keyword_scan.h"
#include "records/line_links.h"
#include "records/object_list.h"
#include "vocabulary/object_classes.h"
#include "report/report.h"

class Item;
struct Levels;

// Every property and statement one item line can give; empty texts and false flags are absent.
// One is reused from line to line, so that its texts keep their room and a line allocates nothing.
struct Properties {
    std::string damage;
    std::string charge;
    std::string sound;
    std::string shooter;
    std::string target;
    std::string opby;
    bool party = false;
    bool monster = false;
    bool thing = false;
    bool disable_self = false;
    bool destroy = false;
    bool const_weight = false;
    bool release = false;
    std::string destination;
    std::string text;
    std::string message;
    std::string generator;
    std::string count;
    std::string champion;

    std::string disable_statement;
    std::string health_statements;

    // Set by the generator group: the line's HEALTH=( belongs to the generator.
    bool generator_mark = false;
    // Set by the contents group: the line names objects that this one carries or holds.
    bool carries = false;
    // The words the line looked up in the object name list that it lacks (a missile, a creature, an
    // OPBY=( object), at most one per group; views into the line.
    std::array<std::string_view, 3> unlisted_words{};
    std::size_t unlisted_count = 0;
    // Notes a looked-up word that the list lacks.
    void note_unlisted(std::string_view word)
    {
        if (unlisted_count < unlisted_words.size()) unlisted_words[unlisted_count++] = word;
    }

    // Empties every text, keeping its room, and lowers every flag: the state before a line.
    void clear();
};

// What every keyword group reads: the line and where its keywords stand, the level offsets, the
// object name list, where its problems go, and the levels themselves (to check destinations).
struct LineContext {
    const std::string& line;
    const KeywordScan& scan;
    const std::vector<int>& level_offset_x;
    const std::vector<int>& level_offset_y;
    const ObjectList& names;
    Problems& problems;
    const Levels& levels;
    // Where the line's targets and destination are recorded; null when nobody wants them.
    LineLinks* links = nullptr;
};

// True when the line holds scanned_texts[text] anywhere.
inline bool has_keyword(const LineContext& context, std::size_t text) { return context.scan.has(text); }

// The value of a keyword ending in "=(": the text after its first occurrence up to the first ")"
// after it, or to the end of the line; none when the keyword is absent.
std::optional<std::string_view> paren_value(const LineContext& context, std::size_t text);

// True when the first occurrence of a "=(" keyword has a ")" after it.
bool paren_closed(const LineContext& context, std::size_t text);

// The value of a keyword ending in ":": the text after the first ":" from the keyword's position
// up to the nearest of the end characters, or to the end of the line; none when absent.
std::optional<std::string_view> colon_value(const LineContext& context, std::size_t text, std::string_view enders);

// Appends the table line's properties to out, joined in their fixed order with one "," between
// neighbours; the sound and colour rows depend on what the object is.
void append_joined_properties(std::string& out, Properties& properties, ObjectFlags flags);
