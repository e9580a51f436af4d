#include "conversion/convert.h"

#include <string>

#include "itempass/references.h"
#include "layout/layout_reader.h"
#include "party/champion.h"
#include "party/party.h"
#include "script/chunking.h"
#include "sections/dump_headers.h"
#include "store/line_reader.h"
#include "text/normalise.h"
#include "text/tokens.h"
#include "vocabulary/engine_names.h"

namespace {

enum class Section { none, characters, layout, items, main_data, party };

// The warning for a line near a section header without being it.
Problem near_header_warning(const std::string& line, std::string_view header, long number)
{
    Problem problem(MessageId::near_header,
                    quoted(line) + " is not a section header; the header is written " + quoted(header));
    problem.line = number;
    return problem;
}

// The state of one run: where the dump stands and what it has given so far.
class Conversion {
public:
    Conversion(std::istream& dump, std::ostream& script, const ObjectList& names, Report& report,
               ConversionWatcher* watcher)
        : reader_(dump), out_(script), names_(names), report_(report), watcher_(watcher)
    {
    }

    // Converts the dump; false when it has no header line, and so is not a dump: then nothing is
    // written or reported.
    bool run()
    {
        names_.forget_lookups();
        std::string line;
        while (!reader_.at_end()) {
            reader_.next(line);
            // Before the first header line no section reads a line and nothing is written, so the
            // script's first lines wait until the input shows that it is a dump.
            if (!begun_) {
                // A line near a header is reported only once the input shows that it is a dump.
                if (!is_bracketed(header_of(line))) {
                    if (const auto header = near_header(line))
                        early_warnings_.push_back(near_header_warning(line, *header, reader_.line_number()));
                    continue;
                }
                out_ << "\n" << engine::dungeon_name << "=\"VORHANE\"" << "\n" << "\n";
                begun_ = true;
                for (const Problem& warning : early_warnings_) report_.add(warning.line, warning);
            }
            switch_section(line);
            check_line(line);
            handle(line);
        }
        if (!begun_) return false;
        link_items(items_, report_);
        check_references(items_, champions_, report_);
        write_items(items_, out_, watcher_);
        report_.set_objects(object_tally(items_));
        out_ << "\n" << engine::spawnburst_end << "()" << "\n" << "\n" << engine::translate << "()" << "\n";
        const bool placed = write_party_placement();
        // The decisions, an entry per held object and button, only for a watcher that wants them.
        if (watcher_)
            watcher_->finished({.levels = levels_,
                                .entrance = entrance_,
                                .party_placed = placed,
                                .links = link_result(items_),
                                .names = items_.names});
        for (const Problem& problem : names_.problems()) report_.add(problem.line, problem);
        return true;
    }

private:
    // The six header tests, in their order; the line after "[Characters]" or "[Party]" is read at
    // once and takes part in the tests after its own.
    void switch_section(std::string& line)
    {
        if (header_of(line) == Header::characters) {
            reader_.next(line);
            section_ = Section::characters;
            out_ << "\n";
        }
        if (header_of(line) == Header::party) {
            reader_.next(line);
            section_ = Section::party;
            out_ << "\n";
        }
        const Header header = header_of(line);
        if (header == Header::layout) {
            out_ << "\n";
            section_ = Section::layout;
        }
        if (header == Header::items) {
            section_ = Section::items;
            out_ << "\n" << engine::spawnburst_begin << "()" << "\n";
        }
        if (header == Header::main_data) {
            out_ << "\n";
            section_ = Section::main_data;
        }
        if (header == Header::separator) section_ = Section::none;
        if (header != Header::none) after_separator_ = header == Header::separator;
    }

    // Reports a line that looks like a header but is none, and an item line that no section reads.
    void check_line(const std::string& line)
    {
        if (const auto header = near_header(line)) {
            const Problem near = near_header_warning(line, *header, reader_.line_number());
            report_.add(near.line, near);
            return;
        }
        if (section_ != Section::none || !after_separator_ || line.empty()) return;
        const LeadingTokens tokens = leading_tokens(line);
        if (tokens.count >= 2 && names_.names_type(tokens.tokens[1]))
            report_.add(MessageId::unread_object, reader_.line_number(),
                            "the object " + quoted(tokens.tokens[0]) +
                                " stands after a separator line and before the next header, where no section "
                                "reads it; it is not read");
    }

    // The section handlers, in their order, on the line as it now stands.
    void handle(const std::string& line)
    {
        const long number = reader_.line_number();
        if (section_ == Section::main_data && line.find("ENTRANCE...") != std::string::npos) read_entrance_line(line);
        if (section_ == Section::characters && !line.empty()) write_champion(line, number);
        if (section_ == Section::party && !line.empty()) write_roster(line, number);
        if (section_ == Section::layout) read_layout_section(number);
        if (section_ == Section::items && !line.empty() && line[0] != ';' && line[0] != '[') {
            if (!item_setting_) item_setting_.emplace(levels_, names_);
            file_item_line(items_, line, number, *item_setting_, report_, watcher_);
        }
    }

    void read_entrance_line(const std::string& line)
    {
        auto read = read_entrance(line);
        if (!read) {
            report_.add(MessageId::entrance, reader_.line_number(), "the entrance line has no readable (x,y,level,facing)");
            return;
        }
        entrance_ = *read;
        entrance_->line_number = reader_.line_number();
    }

    void write_champion(const std::string& line, long number)
    {
        Problems problems;
        auto statement = make_char(line, problems);
        report_.add_all(number, problems, line);
        if (!statement) return;
        out_ << *statement << "\n";
        champions_.insert(defined_champion(*statement));
        if (watcher_) watcher_->champion(defined_champion(*statement));
    }

    void write_roster(const std::string& line, long number)
    {
        Problems problems;
        auto statement = roster_statement(roster_slot_, line, champions_, problems);
        report_.add_all(number, problems, line);
        if (!statement) return;
        out_ << *statement << "\n";
        ++roster_slot_;
        // The engine puts one champion into two slots: written as the dump says, but flagged.
        const std::string champion = force_us(line);
        if (!party_members_.insert(champion).second)
            report_.add(MessageId::party_twice, number, "the champion " + champion + " is added to the party a second time");
        if (watcher_) watcher_->party_member(champion);
    }

    void read_layout_section(long header_line)
    {
        Levels levels = read_layout(reader_, report_);
        after_separator_ = true;
        if (levels_.read) {
            report_.add(MessageId::second_layout, header_line, "a second layout section is ignored");
        } else {
            levels_ = std::move(levels);
            item_setting_.reset();
            write_maps(levels_, out_);
        }
        section_ = Section::none;
    }

    // Writes the party placement statement; false when the party is not placed.
    bool write_party_placement()
    {
        if (!entrance_) {
            report_.add(MessageId::no_entrance, reader_.line_number(), "the dump has no entrance line; the party is not placed");
            return false;
        }
        Problems problems;
        auto statement = party_placement(*entrance_, levels_, problems);
        report_.add_all(entrance_->line_number, problems);
        if (statement) out_ << *statement << "\n";
        return statement.has_value();
    }

    LineReader reader_;
    std::ostream& out_;
    const ObjectList& names_;
    Report& report_;
    Section section_ = Section::none;
    // True from a separator line (or the end of the layout section) to the next header.
    bool after_separator_ = false;
    // True from the first header line on; the warnings of the lines before it wait until then.
    bool begun_ = false;
    std::vector<Problem> early_warnings_;
    Levels levels_;
    std::optional<Entrance> entrance_;
    ItemLists items_;
    // The levels' offsets and the object name list for the item lines, once the layout is known.
    std::optional<ItemSetting> item_setting_;
    int roster_slot_ = 0;
    ChampionNames champions_;
    ChampionNames party_members_;
    // Only for a caller that wants more than the script (the map page).
    ConversionWatcher* watcher_;
};

} // namespace

int converted_status(const Report& report, bool strict)
{
    if (report.has_errors() || (strict && report.has_warnings())) return status_rule_broken;
    return 0;
}

int convert(std::istream& dump, std::ostream& script, const ObjectList& names, Report& report,
            ConversionWatcher* watcher)
{
    // The script passes through the chunking buffer, which keeps a large script loadable.
    ChunkingBuffer chunking(script);
    std::ostream chunked(&chunking);
    const bool dump_read = Conversion(dump, chunked, names, report, watcher).run();
    chunking.finish();
    if (!dump_read) return status_no_file;
    return converted_status(report, false);
}
