#pragma once
// The working state of one translation of an item line: the properties of its table line, held
// apart until they are joined in their fixed order, and the statements that follow the table.

#include <string>
#include <vector>

#include "behaviour/keywords.h"
#include "records/object_list.h"
#include "report/report.h"

class Item;
struct Levels;

// Every property and statement one item line can give; empty texts and false flags are absent.
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
};

// What every keyword group reads: the line, the level offsets, the object name list, where its
// problems go, and the levels themselves when the caller has them (to check destinations).
struct LineContext {
    const std::string& line;
    const std::vector<int>& level_offset_x;
    const std::vector<int>& level_offset_y;
    const ObjectList& names;
    Problems& problems;
    const Levels* levels = nullptr;
    // Tells at once of most keywords that the line does not hold them.
    KeywordFilter filter{line};
};

// The keyword searches of keywords.h on the context's line, sparing those that its filter rules out.
inline bool has_keyword(const LineContext& context, std::string_view keyword)
{
    return context.filter.may_hold(keyword) && has_keyword(context.line, keyword);
}
inline std::optional<std::string> paren_value(const LineContext& context, std::string_view keyword)
{
    if (!context.filter.may_hold(keyword)) return std::nullopt;
    return paren_value(context.line, keyword);
}
inline bool paren_closed(const LineContext& context, std::string_view keyword)
{
    return context.filter.may_hold(keyword) && paren_closed(context.line, keyword);
}
inline std::optional<std::string> colon_value(const LineContext& context, std::string_view keyword,
                                              std::string_view enders)
{
    if (!context.filter.may_hold(keyword)) return std::nullopt;
    return colon_value(context.line, keyword, enders);
}

// The table line's properties joined in their fixed order, one "," between neighbours; the
// sound and colour rows depend on the object name.
std::string joined_properties(Properties& properties, const std::string& object_name);
