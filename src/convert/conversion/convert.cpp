#include "conversion/convert.h"

#include <string>
#include <unordered_map>

#include "conversion/list_completion.h"
#include "itempass/references.h"
#include "layout/layout_reader.h"
#include "party/champion.h"
#include "party/party.h"
#include "script/chunking.h"
#include "sections/dump_headers.h"
#include "store/hash.h"
#include "store/line_reader.h"
#include "text/chars.h"
#include "text/fields.h"
#include "text/normalise.h"
#include "text/tokens.h"
#include "text/trim.h"
#include "text/utf8.h"
#include "vocabulary/engine_names.h"

namespace {

enum class Section { none, characters, layout, items, main_data, party };

// The section that a header line starts; none for the separator.
Section section_of(Header header)
{
    switch (header) {
    case Header::characters: return Section::characters;
    case Header::party: return Section::party;
    case Header::layout: return Section::layout;
    case Header::items: return Section::items;
    case Header::main_data: return Section::main_data;
    default: return Section::none;
    }
}

// A line near a section header without being it, and the non-empty lines after it, up to the
// next header, that are therefore not read by the section it names (counted only when that is
// not the section being read).
struct NearHeader {
    long line = 0;
    std::string text;
    std::string_view header;
    bool counts_lost = false;
    long lost = 0;
    long last_lost = 0;

    // The message: a warning while nothing is lost, an error once a line is.
    Problem problem() const
    {
        const auto at_line = [this](Problem found) {
            found.line = line;
            return found;
        };
        std::string message = quoted(text) + " is not a section header; the header is written " + quoted(header);
        if (lost == 0) return at_line(Problem(MessageId::near_header, std::move(message)));
        const bool one = lost == 1;
        message += header_of(header) == Header::separator
                       ? std::string("; the section above it goes on, and ")
                       : std::string("; ");
        message += std::to_string(lost) + (one ? " non-empty line" : " non-empty lines") + " below it" +
                   (one ? " (line " : " (up to line ") + std::to_string(last_lost) + ")" + (one ? " is" : " are") +
                   (header_of(header) == Header::separator ? " read by that section" : " not read as that section");
        return at_line(Problem(MessageId::near_header_lost, std::move(message)));
    }
};

// What the lines of an input before its first header show, for the message when it has none.
class NotADumpSigns {
public:
    void read(const std::string& line, long number)
    {
        if (number == 1) why_.wide_encoding = wide_encoding_of(line);
        std::size_t at = 0;
        while (at < line.size() && is_blank(line[at])) ++at;
        if (at == line.size() || line[at] == '#') return;
        for (; at < line.size(); ++at) {
            const char c = line[at];
            if (is_blank(c)) continue;
            if (!is_name_part(c) && c != '-' && c != '.') list_like_ = false;
            if (at == 0 || is_blank(line[at - 1])) ++words_;
        }
    }

    NotADump why() const
    {
        NotADump why = why_;
        why.reads_as_object_list = why.wide_encoding.empty() && list_like_ && words_ >= 2;
        return why;
    }

private:
    NotADump why_;
    bool list_like_ = true;
    std::size_t words_ = 0;
};

// Hashes a champion's name with the converter's one hash function.
struct NameHash {
    std::size_t operator()(const std::string& name) const { return static_cast<std::size_t>(text_hash(name)); }
};

// The engine's text of a section header, for messages.
std::string header_words(Header header) { return quoted(header_text(header)); }

// The state of one run: where the dump stands and what it has given so far.
class Conversion {
public:
    Conversion(std::istream& dump, std::ostream& script, const ObjectList& names, Report& report,
               ConversionWatcher* watcher)
        : reader_(dump), out_(script), names_(names), report_(report), watcher_(watcher)
    {
    }

    // Converts the dump; false when it has no header line, and so is not a dump: then nothing is
    // written or reported, and why_not_a_dump() says what its text shows.
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
                if (!is_bracketed(header_of(line)) && !is_bracketed(padded_header_of(line))) {
                    signs_.read(line, reader_.line_number());
                    if (!note_near_header(line)) count_near_header_loss(line);
                    continue;
                }
                out_ << "\n" << engine::dungeon_name << "=\"VORHANE\"" << "\n" << "\n";
                end_near_header();
                begun_ = true;
                for (const Problem& warning : early_warnings_) report_.add(warning.line, warning);
            }
            pass_over_ = false;
            switch_section(line);
            check_line(line);
            if (!pass_over_) handle(line);
        }
        if (!begun_) return false;
        end_near_header();
        const bool list_is_dump = object_list_is_dump();
        // A list that cannot be read as pairs is the one reason for every type it lacks.
        if (list_is_dump || !names_.usable()) items_.unlisted_types.clear();
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
        if (!list_is_dump)
            for (const Problem& problem : names_.problems()) report_.add(problem.line, problem);
        return true;
    }

    NotADump why_not_a_dump() const { return signs_.why(); }

private:
    // The header the line is: written exactly, or with blanks or tabs around it, which is
    // reported. A header of the section being read, so written, is a line passed over: it starts
    // nothing again.
    Header header_read(const std::string& line)
    {
        const Header exact = header_of(line);
        if (exact != Header::none) return exact;
        const Header padded = padded_header_of(line);
        if (padded == Header::none) return Header::none;
        const bool again = section_of(padded) == section_ && padded != Header::separator;
        report_.add(MessageId::padded_header, reader_.line_number(),
                        "the header " + quoted(line) + " has blanks or tabs around it; " +
                            (again ? "its section is being read, so the line is passed over"
                                   : "it is read as the header " + header_words(padded)));
        // No handler gets the line: it is a header, or a header's line passed over (only the
        // layout reader starts at its header line, and reads from the line after it).
        if (padded != Header::layout) pass_over_ = true;
        return again ? Header::none : padded;
    }

    // The six header tests, in their order. The line after "[Characters]" or "[Party]" is read at
    // once and tested again from the first, so that either header may follow the other.
    void switch_section(std::string& line)
    {
        Header header = header_read(line);
        if (header != Header::none) end_near_header();
        while (header == Header::characters || header == Header::party) {
            reader_.next(line);
            section_ = header == Header::characters ? Section::characters : Section::party;
            out_ << "\n";
            header = header_read(line);
            if (header != Header::none) end_near_header();
        }
        if (header == Header::layout) {
            out_ << "\n";
            section_ = Section::layout;
        }
        if (header == Header::items) {
            // The engine is given one kel_spawnburst_end(), at the end, for every begin.
            if (items_header_line_ != 0)
                report_.add(MessageId::items_twice, reader_.line_number(),
                                "a second [Items] header writes kel_spawnburst_begin() again, for the one "
                                "kel_spawnburst_end() at the end of the script");
            items_header_line_ = reader_.line_number();
            items_before_layout_ = !levels_.read;
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

    // Reports a line that looks like a header but is none, a bracketed line that the items
    // section passes over, and an item line that no section reads.
    void check_line(const std::string& line)
    {
        if (pass_over_) return;
        // A line near a header is no line of the section being read either: no handler gets it.
        if (note_near_header(line)) {
            pass_over_ = true;
            return;
        }
        // A line lost to a near header is reported with it, as one of its lines.
        if (count_near_header_loss(line)) return;
        if (section_ == Section::items && !line.empty() && line[0] == '[' && header_of(line) == Header::none &&
            padded_header_of(line) == Header::none)
            report_.add(MessageId::bracket_in_items, reader_.line_number(),
                            "the line " + quoted(line) +
                                " starts no section the converter reads; it is passed over, and the items "
                                "section goes on below it");
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
            if (items_before_layout_) {
                report_items_before_layout();
                return;
            }
            if (is_indented_comment(line)) {
                report_.add(MessageId::indented_comment, number, "the comment line begins with blanks or tabs before its \";\"; it is "
                                        "passed over as a comment (a comment line begins with \";\")");
                return;
            }
            if (!item_setting_) item_setting_.emplace(levels_, names_);
            file_item_line(items_, line, number, *item_setting_, report_, watcher_);
        }
    }

    // True for a line whose first byte other than blanks and tabs is ";".
    static bool is_indented_comment(const std::string& line)
    {
        // An item line begins with its identifier: one test of its first byte passes it.
        std::size_t first = 0;
        while (first < line.size() && is_space_or_tab(line[first])) ++first;
        return first < line.size() && line[first] == ';';
    }

    // One error for an items section above every layout section, whose objects have no level:
    // every one of them is skipped, and nothing more is said of them.
    void report_items_before_layout()
    {
        if (items_before_layout_reported_ == items_header_line_) return;
        items_before_layout_reported_ = items_header_line_;
        report_.add(MessageId::items_before_layout, items_header_line_, "the items section stands before the layout section, whose levels its "
                                          "objects stand on; every object of it is skipped (the layout section "
                                          "must come first)");
    }

    // Counts a line that is no header as lost to the near header met last, when that one loses
    // lines; true when it does.
    bool count_near_header_loss(const std::string& line)
    {
        if (!near_header_ || !near_header_->counts_lost || line.empty() || header_of(line) != Header::none ||
            padded_header_of(line) != Header::none)
            return false;
        ++near_header_->lost;
        near_header_->last_lost = reader_.line_number();
        return true;
    }

    // Starts a near header at a line that is one, ending the one before; true when it is one.
    bool note_near_header(const std::string& line)
    {
        const auto header = near_header(line);
        if (!header) return false;
        end_near_header();
        const Header meant = header_of(*header);
        near_header_ = NearHeader{.line = reader_.line_number(),
                                  .text = line,
                                  .header = *header,
                                  .counts_lost = section_of(meant) != section_};
        return true;
    }

    // Reports the near header met last, with the lines it lost, once a header or the end of the
    // input ends what it would have started.
    void end_near_header()
    {
        if (!near_header_) return;
        const Problem problem = near_header_->problem();
        near_header_.reset();
        if (begun_) report_.add(problem.line, problem);
        else early_warnings_.push_back(problem);
    }

    // Reports an object name list that is a dump in one error, its one problem: true then.
    bool object_list_is_dump()
    {
        const auto header = header_in_list(names_);
        if (!header) return false;
        Problem problem(MessageId::list_is_dump,
                        "the object name list holds the header " + quoted(header->word) +
                            ": it is a dungeon dump, not a list of types and names; its words, read two by two, give "
                            "the objects wrong names, or none (those are written as comments)");
        problem.line = header->line;
        problem.column = header->column;
        problem.file = ProblemFile::object_list;
        report_.add(header->line, problem);
        return true;
    }

    void read_entrance_line(const std::string& line)
    {
        auto read = read_entrance(line);
        if (!read) {
            report_.add(MessageId::entrance, reader_.line_number(), "the entrance line has no readable (x,y,level,facing)");
            return;
        }
        // Each entrance line replaces the one before: the last is the party's place.
        if (entrance_ && (entrance_->x != read->x || entrance_->y != read->y || entrance_->level != read->level ||
                          entrance_->facing != read->facing))
            report_.add(MessageId::entrance_twice, reader_.line_number(),
                            "a second entrance line, with other values than the one of line " +
                                std::to_string(entrance_->line_number) +
                                "; the last entrance line, this one, places the party");
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
        const std::string champion = defined_champion(*statement);
        champions_.insert(champion);
        // The engine's variable takes the later definition; the champion defined first is lost to it.
        if (const auto [first, added] = champion_lines_.emplace(champion, number); !added)
            report_.add(MessageId::champion_twice, number, "the champion " + champion + " is defined a second time (first on line " +
                                        std::to_string(first->second) +
                                        "); the variable holds the champion of this later line");
        if (watcher_) watcher_->champion(champion);
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
    NotADumpSigns signs_;
    // True while the current line is a header of the section being read, which no handler gets.
    bool pass_over_ = false;
    // The last near header, while the lines it would have started are counted.
    std::optional<NearHeader> near_header_;
    // The line of the last "[Items]" header (0 before one), whether its section stands above the
    // layout, and the header whose section was reported as such.
    long items_header_line_ = 0;
    bool items_before_layout_ = false;
    long items_before_layout_reported_ = 0;
    // The line of each champion's first definition.
    std::unordered_map<std::string, long, NameHash> champion_lines_;
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
            ConversionWatcher* watcher, NotADump* why)
{
    // The script passes through the chunking buffer, which keeps a large script loadable.
    ChunkingBuffer chunking(script);
    std::ostream chunked(&chunking);
    Conversion conversion(dump, chunked, names, report, watcher);
    const bool dump_read = conversion.run();
    chunking.finish();
    if (!dump_read) {
        if (why) *why = conversion.why_not_a_dump();
        return status_no_file;
    }
    return converted_status(report, false);
}
