#include "layout/layout_reader.h"

#include <algorithm>

#include "sections/dump_headers.h"
#include "text/chars.h"
#include "text/fields.h"
#include "text/lua_text.h"
#include "vocabulary/engine_names.h"

namespace {

// Bounds that keep a hostile dump from asking for maps of billions of squares.
constexpr int max_level_side = 1024;
constexpr int max_offset = 1024;
constexpr long long max_grid_squares = 4LL * 1024 * 1024;
// Every level is written as a map of the whole grid, so a short dump of many levels far apart
// would write gigabytes; the maps of all levels together stay within this many squares.
constexpr long long max_map_squares = 32LL * 1024 * 1024;

bool within(int value, int low, int high) { return value >= low && value <= high; }

// Reads the integers of the line's parenthesised text, a separator between each two.
bool read_values(const std::string& line, int* values, int count)
{
    auto text = first_parenthesised(line);
    if (!text) return false;
    FieldReader reader(*text);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.read_separator()) return false;
        if (!reader.read_int(values[i])) return false;
    }
    return true;
}

// True for a section header, also one with blanks or tabs around it.
bool is_any_header(const std::string& line)
{
    return header_of(line) != Header::none || padded_header_of(line) != Header::none;
}

// True for a bracketed section header ("[Items]"), also one with blanks or tabs around it.
bool is_bracketed_header(const std::string& line)
{
    return is_bracketed(header_of(line)) || is_bracketed(padded_header_of(line));
}

// True for a line that ends the map rows of a level block: a section header or a WALLSET line.
bool ends_rows(const std::string& line)
{
    return is_any_header(line) || contains(line, "WALLSET");
}

// True for a line that reads as a map row: squares only, no keyword with a value.
bool is_map_row(const std::string& line)
{
    return !line.empty() && line.find('(') == std::string::npos;
}

// Reads one layout section; the reader's current line is kept in `line`.
class LayoutReader {
public:
    LayoutReader(LineReader& reader, Report& report) : reader_(reader), report_(report) {}

    Levels read()
    {
        Levels result;
        result.read = true;
        if (!skip_until_block_start()) {
            report_.add(MessageId::layout_no_level, reader_.line_number(), "the layout section ends without a level block (no WALLSET line)");
            return result;
        }
        bool more = true;
        while (more) more = read_block(result);
        place_on_grid(result);
        return result;
    }

private:
    bool next() { return reader_.next(line_); }

    bool skip_until_block_start()
    {
        while (next())
            if (contains(line_, "WALLSET")) return true;
        return false;
    }

    void report_level(std::size_t number, const std::string& what)
    {
        report_.add(MessageId::level, reader_.line_number(), "level " + std::to_string(number) + " " + what + "; the level is left out");
    }

    // Reads one level block whose WALLSET line is current; false when the layout section has ended.
    bool read_block(Levels& result)
    {
        const std::size_t number = result.levels.size();
        Level level;
        level.line = reader_.line_number();
        bool complete = true;
        bool ended = !next();
        auto advance = [&] { ended = !next(); };
        auto header = [&](const char* keyword) { return !ended && contains(line_, keyword); };
        // A line beyond what a block takes is the one reason the lines after it are not found.
        bool beyond = false;
        auto lacks = [&](const char* keyword) {
            if (!ended && !beyond) report_level(number, std::string("has no ") + keyword + " line");
            complete = false;
        };
        auto line_beyond = [&](const std::string& what) {
            report_.add(MessageId::block_line_beyond, reader_.line_number(),
                        "level " + std::to_string(number) + " has " + what + ", more than a level block takes; the level is left out");
            complete = false;
            beyond = true;
        };
        auto unreadable = [&](const char* keyword) {
            report_level(number, std::string("has a ") + keyword + " value that is not an integer in range");
            complete = false;
        };

        if (header("LIGHT")) {
            int value[1];
            if (read_values(line_, value, 1)) level.light = value[0];
            else unreadable("LIGHT");
            advance();
        } else {
            lacks("LIGHT");
        }
        for (int extra = 0; extra < 2; ++extra)
            if (header("LIGHT")) advance();
        if (header("LIGHT")) line_beyond("a fourth LIGHT line");

        if (header("OFFSET")) {
            int value[2];
            if (read_values(line_, value, 2) && within(value[0], -max_offset, max_offset) && within(value[1], -max_offset, max_offset)) {
                level.offset_x = value[0];
                level.offset_y = value[1];
            } else {
                unreadable("OFFSET");
            }
            advance();
            if (header("OFFSET")) line_beyond("a second OFFSET line");
        } else {
            lacks("OFFSET");
        }

        bool height_known = false;
        if (header("SIZE")) {
            int value[2];
            if (read_values(line_, value, 2) && within(value[0], 0, max_level_side) && within(value[1], 0, max_level_side)) {
                level.size_x = value[0];
                level.size_y = value[1];
                height_known = true;
            } else {
                unreadable("SIZE");
            }
            advance();
            // A second SIZE line is read as the first map row (the header lines are tested once
            // each, in their order): the rows are written one line late, and the last is lost.
            if (header("SIZE")) {
                report_.add(MessageId::block_line_beyond, reader_.line_number(), "level " + std::to_string(number) +
                                                         " has a second SIZE line, more than a level block takes; it is "
                                                         "read as the first map row, and the level's last map row is skipped");
                beyond = true;
            }
        } else {
            lacks("SIZE");
        }

        if (header("ITEM_PREFIX")) advance();
        if (header("DESCRIPTION")) advance();

        bool rows_cut = false;
        if (height_known) {
            for (int row = 0; row < level.size_y; ++row) {
                // A header or the next block's WALLSET line is never a map row: the level ran
                // out of rows, and that line is read as what it is.
                if (ended || ends_rows(line_)) {
                    report_level(number, "has fewer map rows than its SIZE height");
                    complete = false;
                    rows_cut = true;
                    break;
                }
                // A row of another width gives a map the engine cannot lay out; it is still
                // written as read, and reported.
                if (line_.size() != static_cast<std::size_t>(level.size_x) && !(beyond && row == 0))
                    report_.add(MessageId::map_row_width, reader_.line_number(), "map row " + std::to_string(row + 1) + " of level " +
                                                           std::to_string(number) + " is " + std::to_string(line_.size()) +
                                                           " squares wide where its SIZE says " + std::to_string(level.size_x));
                if (row == 0) level.rows_line = reader_.line_number();
                level.rows.push_back(line_);
                advance();
            }
        }
        const int level_height = level.size_y;
        level.complete = complete;
        result.levels.push_back(std::move(level));
        // A header that cut the rows short is reported with them; it is read as what it is.
        if (!ended && rows_cut && is_bracketed_header(line_)) {
            reader_.put_back(line_);
            return false;
        }

        bool extra_rows_reported = false;
        while (!ended && !contains(line_, "WALLSET") && !contains(line_, "/*")) {
            // A section header ends the layout section even without its line with "/*".
            if (is_bracketed_header(line_)) {
                report_.add(MessageId::layout_end, reader_.line_number(), "the layout section has no line with \"/*\" after its last "
                                                       "level; it ends at the header " + quoted(line_));
                reader_.put_back(line_);
                return false;
            }
            if (height_known && !extra_rows_reported && !beyond && is_map_row(line_)) {
                report_.add(MessageId::extra_map_rows, reader_.line_number(), "level " + std::to_string(number) + " has more map rows than its SIZE height of " +
                                                           std::to_string(level_height) + "; this row and those after it are skipped");
                extra_rows_reported = true;
            }
            advance();
        }
        if (ended) {
            report_.add(MessageId::layout_unended, reader_.line_number(),
                        "the input ends inside the layout section (no line with \"/*\" after the last level)");
            return false;
        }
        return !contains(line_, "/*");
    }

    void place_on_grid(Levels& result)
    {
        int min_x = 0, min_y = 0, right = 0, bottom = 0;
        for (const auto& level : result.levels) {
            if (!level.complete) continue;
            min_x = std::min(min_x, level.offset_x);
            min_y = std::min(min_y, level.offset_y);
            right = std::max(right, level.offset_x + level.size_x);
            bottom = std::max(bottom, level.offset_y + level.size_y);
        }
        for (auto& level : result.levels) {
            if (!level.complete) continue;
            level.offset_x -= min_x;
            level.offset_y -= min_y;
        }
        result.grid_width = right - min_x;
        result.grid_height = bottom - min_y;
        if (static_cast<long long>(result.grid_width) * result.grid_height > max_grid_squares) {
            report_.add(MessageId::grid_too_large, reader_.line_number(), "the common grid of " + std::to_string(result.grid_width) + " by " +
                                                   std::to_string(result.grid_height) +
                                                   " squares is too large; no level is written");
            for (auto& level : result.levels) level.complete = false;
        }
        const long long grid_squares = static_cast<long long>(result.grid_width) * result.grid_height;
        long long written = 0;
        for (std::size_t number = 0; number < result.levels.size(); ++number) {
            Level& level = result.levels[number];
            if (!level.complete) continue;
            written += grid_squares;
            if (written <= max_map_squares) continue;
            level.complete = false;
            report_.add(MessageId::grid_too_large, reader_.line_number(), "level " + std::to_string(number) +
                                                   " is left out: the maps of all levels would pass " +
                                                   std::to_string(max_map_squares) + " squares");
        }
    }

    LineReader& reader_;
    Report& report_;
    std::string line_;
};

std::string zeros(int count) { return std::string(static_cast<std::size_t>(std::max(count, 0)), '0'); }

} // namespace

std::optional<Entrance> read_entrance(const std::string& line)
{
    auto text = first_parenthesised(line);
    if (!text) return std::nullopt;
    Entrance entrance;
    FieldReader reader(*text);
    // The values stand right after the line's first "(".
    const std::size_t values_column = line.find('(') + 2;
    // The column of the value that the reader reads next, its blanks skipped.
    const auto next_column = [&] {
        std::size_t at = reader.position();
        while (at < text->size() && is_blank((*text)[at])) ++at;
        return values_column + at;
    };
    entrance.square_column = next_column();
    reader.read_int(entrance.x);
    reader.read_separator();
    reader.read_int(entrance.y);
    reader.read_separator();
    entrance.level_column = next_column();
    reader.read_int(entrance.level);
    reader.read_separator();
    entrance.facing_column = next_column();
    reader.read_word(entrance.facing);
    if (reader.failed()) return std::nullopt;
    return entrance;
}

Levels read_layout(LineReader& reader, Report& report)
{
    return LayoutReader(reader, report).read();
}

std::string map_statement(const Levels& levels, int number)
{
    const Level& level = levels.levels[static_cast<std::size_t>(number)];
    const int width = levels.grid_width;
    const int height = levels.grid_height;
    std::string text = std::string(engine::text2map) + "(" + std::to_string(number) + ", " + std::to_string(width) + ", " +
                       std::to_string(height) + ", " + std::to_string(level.light) + ", " +
                       std::to_string((number + 1) / 2) + ", {\n";
    const std::string full_row = zeros(width);
    for (int i = 0; i < level.offset_y; ++i) text += "\"" + full_row + "\",\n";
    for (const auto& row : level.rows)
        text += "\"" + zeros(level.offset_x) + lua_escape(row) + zeros(width - level.offset_x - level.size_x) + "\",\n";
    for (int i = level.offset_y + level.size_y; i < height; ++i)
        text += "\"" + full_row + "\"" + (i < height - 1 ? "," : "") + "\n";
    text += "} )\n";
    return text;
}

void write_maps(const Levels& levels, std::ostream& out)
{
    for (std::size_t i = 0; i < levels.levels.size(); ++i)
        if (levels.levels[i].complete) out << map_statement(levels, static_cast<int>(i));
}
