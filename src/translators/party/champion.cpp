#include "party/champion.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "text/chars.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"

namespace {

// One parenthesised group of a champion line: the positions of its "(" and its ")".
struct Group {
    std::size_t open;
    std::size_t close;
};

// The numbers of a champion definition in the order they are written.
struct ChampionNumbers {
    std::vector<int> first;  // the first integer group, each value times 10
    std::vector<int> second; // the second integer group, each value times 10
    std::vector<int> reals;  // the real group, each value truncated toward zero
};

// The tenth number of every champion definition, whatever the line holds.
constexpr int constant_tenth_number = 500;
// The number groups that end a champion line: first integer group, real group, second integer group.
constexpr std::size_t number_group_count = 3;

constexpr std::size_t first_group_size = 3;
constexpr std::size_t real_group_size = 4;
constexpr std::size_t second_group_size = 6;

const std::string left_out = "; the champion is left out";

// Records a problem of the champion line about what begins at that place (from 0) of the line.
void report_at(Problems& problems, std::string text, std::size_t place)
{
    problems.emplace_back(MessageId::champion, std::move(text));
    problems.back().column = place + 1;
}

// Where the first word of the line begins: after its leading white space.
std::size_t identifier_start(const std::string& line)
{
    std::size_t start = 0;
    while (start < line.size() && is_blank(line[start])) ++start;
    return start;
}

// The first word of the line: leading white space skipped, up to the next white space.
std::string champion_identifier(const std::string& line)
{
    const std::size_t start = identifier_start(line);
    std::size_t end = start;
    while (end < line.size() && !is_blank(line[end])) ++end;
    return line.substr(start, end - start);
}

// Every parenthesised group of the line in order; none (and a problem) when a parenthesis stands
// inside a group or a ")" outside one, or a group is not closed.
std::optional<std::vector<Group>> parenthesised_groups(const std::string& line, Problems& problems)
{
    std::vector<Group> groups;
    bool inside = false;
    std::size_t open = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '(') {
            if (inside) {
                report_at(problems, "the champion line has a \"(\" inside a parenthesised group" + left_out, i);
                return std::nullopt;
            }
            inside = true;
            open = i;
        } else if (line[i] == ')') {
            if (!inside) {
                report_at(problems, "the champion line has a \")\" without a \"(\" before it" + left_out, i);
                return std::nullopt;
            }
            groups.push_back({open, i});
            inside = false;
        }
    }
    if (inside) {
        report_at(problems, "the champion line has a \"(\" without a \")\" after it" + left_out, open);
        return std::nullopt;
    }
    return groups;
}

// The text strictly between the parentheses of a group.
std::string group_text(const std::string& line, const Group& group)
{
    return line.substr(group.open + 1, group.close - group.open - 1);
}

bool is_inside_a_group(std::size_t position, const std::vector<Group>& groups)
{
    for (const auto& group : groups)
        if (position > group.open && position < group.close) return true;
    return false;
}

// The portrait name of the line, lower-cased: the text between the second "_" after the first
// ":" and the next ","; none (and a problem) when the reference is missing or runs into a group.
std::optional<std::string> portrait_name(const std::string& line, const std::vector<Group>& groups,
                                         Problems& problems)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) {
        problems.emplace_back(MessageId::champion, "the champion line has no portrait reference (no \":\")" + left_out);
        return std::nullopt;
    }
    const std::size_t first = line.find('_', colon + 1);
    const std::size_t second = first == std::string::npos ? first : line.find('_', first + 1);
    if (second == std::string::npos) {
        report_at(problems, "the portrait reference of the champion line has fewer than two \"_\" after its \":\"" + left_out,
                  colon);
        return std::nullopt;
    }
    const std::size_t comma = line.find(',', second + 1);
    if (comma == std::string::npos) {
        report_at(problems, "the portrait reference of the champion line has no \",\" after its second \"_\"" + left_out,
                  colon);
        return std::nullopt;
    }
    const std::string reference = line.substr(colon, comma - colon + 1);
    if (is_inside_a_group(colon, groups) || reference.find_first_of("()") != std::string::npos) {
        report_at(problems,
                  "the portrait reference " + quoted(reference) + " of the champion line runs into a parenthesised group" +
                      left_out,
                  colon);
        return std::nullopt;
    }
    return force_lc(line.substr(second + 1, comma - second - 1));
}

bool only_blanks_from(std::string_view text, std::size_t position)
{
    for (std::size_t i = position; i < text.size(); ++i)
        if (!is_blank(text[i])) return false;
    return true;
}

// A real read from the dump as the single-precision value the champion stats are, truncated
// toward zero; none when it is not finite or its truncation does not fit a 32-bit integer.
std::optional<int> truncated_real(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(FLT_MAX)) return std::nullopt;
    const double truncated = std::trunc(static_cast<double>(static_cast<float>(value)));
    if (truncated < static_cast<double>(std::numeric_limits<int>::min()) ||
        truncated > static_cast<double>(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(truncated);
}

// The values of a group, each read by `read` and turned into an integer by `whole`; none when the
// group is not exactly `count` values with a separator between each two, or `whole` refuses one.
template <typename Value, typename Read, typename Whole>
std::optional<std::vector<int>> group_values(std::string_view text, std::size_t count, Read read, Whole whole)
{
    FieldReader reader(text);
    std::vector<int> values;
    for (std::size_t i = 0; i < count; ++i) {
        Value value = 0;
        if (i > 0 && !reader.read_separator()) return std::nullopt;
        if (!read(reader, value)) return std::nullopt;
        const std::optional<int> integer = whole(value);
        if (!integer) return std::nullopt;
        values.push_back(*integer);
    }
    if (!only_blanks_from(text, reader.position())) return std::nullopt;
    return values;
}

// The integers of a group, each times 10; none when the group is not exactly `count` integers
// with a separator between each two, or a product does not fit a 32-bit integer.
std::optional<std::vector<int>> scaled_integers(std::string_view text, std::size_t count)
{
    return group_values<int>(
        text, count, [](FieldReader& reader, int& value) { return reader.read_int(value); },
        [](int value) -> std::optional<int> {
            const long long scaled = 10LL * value;
            if (!fits_int(scaled)) return std::nullopt;
            return static_cast<int>(scaled);
        });
}

// The reals of a group, each truncated toward zero; none when the group is not exactly `count`
// reals with a separator between each two, or a value does not truncate to a 32-bit integer.
std::optional<std::vector<int>> truncated_reals(std::string_view text, std::size_t count)
{
    return group_values<double>(
        text, count, [](FieldReader& reader, double& value) { return reader.read_real(value); }, truncated_real);
}

std::string group_problem(const char* group, const std::string& text, std::size_t count, const char* kind)
{
    return "the " + std::string(group) + " group " + quoted("(" + text + ")") + " of the champion line is not " +
           std::to_string(count) + " " + kind + " that fit the champion's numbers" + left_out;
}

// The three number groups that follow the name, title and skipped groups; none (and a problem)
// when one of them cannot be read.
std::optional<ChampionNumbers> champion_numbers(const std::string& line, const Group& first_group,
                                                const Group& real_group, const Group& second_group,
                                                Problems& problems)
{
    const std::string first_text = group_text(line, first_group);
    const std::string real_text = group_text(line, real_group);
    const std::string second_text = group_text(line, second_group);
    auto first = scaled_integers(first_text, first_group_size);
    if (!first) {
        report_at(problems, group_problem("first integer", first_text, first_group_size, "integers"), first_group.open);
        return std::nullopt;
    }
    auto reals = truncated_reals(real_text, real_group_size);
    if (!reals) {
        report_at(problems, group_problem("real", real_text, real_group_size, "reals"), real_group.open);
        return std::nullopt;
    }
    auto second = scaled_integers(second_text, second_group_size);
    if (!second) {
        report_at(problems, group_problem("second integer", second_text, second_group_size, "integers"), second_group.open);
        return std::nullopt;
    }
    return ChampionNumbers{std::move(*first), std::move(*second), std::move(*reals)};
}

// The fourteen numbers joined by ",": first integer group, second integer group, 500, real group.
// The list holds only digits, commas and minus signs, so a negative value keeps its sign.
std::string number_list(const ChampionNumbers& numbers)
{
    std::vector<int> ordered = numbers.first;
    ordered.insert(ordered.end(), numbers.second.begin(), numbers.second.end());
    ordered.push_back(constant_tenth_number);
    ordered.insert(ordered.end(), numbers.reals.begin(), numbers.reals.end());
    std::string list;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        if (i > 0) list += ",";
        list += std::to_string(ordered[i]);
    }
    return list;
}

} // namespace

std::optional<std::string> make_char(std::string line, Problems& problems)
{
    const std::string identifier = champion_identifier(line);
    const std::string variable = force_us(identifier);
    if (!is_lua_name(variable)) {
        report_at(problems, "the champion identifier " + quoted(identifier) + " is not a Lua name" + left_out,
                  identifier_start(line));
        return std::nullopt;
    }
    if (is_reserved_global(variable)) {
        report_at(problems,
                  "the champion identifier " + quoted(identifier) + " would overwrite a name the script or the engine needs" +
                      left_out,
                  identifier_start(line));
        return std::nullopt;
    }

    auto groups = parenthesised_groups(line, problems);
    if (!groups) return std::nullopt;
    const bool has_title = line.find("TITLE") != std::string::npos;
    // Name, the title when the line holds TITLE, the skipped group, then the three number groups.
    const std::size_t leading_groups = has_title ? 3 : 2;
    const std::size_t needed = leading_groups + number_group_count;
    // Every group index below is smaller than `needed`.
    if (groups->size() != needed) {
        problems.emplace_back(MessageId::champion, "the champion line has " + std::to_string(groups->size()) +
                           " parenthesised groups where it needs " + std::to_string(needed) +
                           (has_title ? " (it holds TITLE)" : "") + left_out);
        return std::nullopt;
    }

    auto portrait = portrait_name(line, *groups, problems);
    if (!portrait) return std::nullopt;
    const std::vector<Group>& all = *groups;
    auto numbers =
        champion_numbers(line, all[leading_groups], all[leading_groups + 1], all[leading_groups + 2], problems);
    if (!numbers) return std::nullopt;

    const std::string name = group_text(line, all[0]);
    const std::string title = has_title ? group_text(line, all[1]) : std::string();
    return variable + "=" + std::string(engine::add_champion) + "(\"port_" + lua_escape(*portrait) + "\",\"" + lua_escape(name) + "\",\"" +
           lua_escape(title) + "\"," + number_list(*numbers) + ")";
}
