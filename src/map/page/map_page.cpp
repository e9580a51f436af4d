#include "page/map_page.h"

#include "text/json_text.h"
#include "page/page_assets.h"

namespace {

// Appends the members of one JSON object, a "," between neighbours.
class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    // Starts a member and returns the text its value is appended to.
    std::string& member(const char* key)
    {
        if (!first_) out_ += ',';
        first_ = false;
        out_ += '"';
        out_ += key;
        out_ += "\":";
        return out_;
    }
    void text(const char* key, const std::string& value) { member(key) += json_string(value); }
    void number(const char* key, long long value) { member(key) += std::to_string(value); }
    void flag(const char* key, bool value) { member(key) += value ? "true" : "false"; }

private:
    std::string& out_;
    bool first_ = true;
};

void append_texts(std::string& out, const std::vector<std::string>& texts)
{
    out += '[';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) out += ',';
        out += json_string(texts[i]);
    }
    out += ']';
}

// A reference as [name, index], the index -1 when the name reaches no object.
void append_reference(std::string& out, const MapReference& reference)
{
    out += '[' + json_string(reference.name) + ',' +
           (reference.object ? std::to_string(*reference.object) : std::string("-1")) + ']';
}

void append_level(std::string& out, const Level& level)
{
    JsonObject json(out);
    json.number("light", level.light);
    json.number("ox", level.offset_x);
    json.number("oy", level.offset_y);
    json.number("w", level.size_x);
    json.number("h", level.size_y);
    json.flag("written", level.complete);
    json.number("line", level.line);
    json.number("rl", level.rows_line);
    append_texts(json.member("rows"), level.rows);
}

// One object with short keys: a large dungeon's page stays small. Empty parts are left out.
void append_object(std::string& out, const MapObject& object)
{
    JsonObject json(out);
    json.text("id", object.id);
    json.text("type", object.dump_type);
    if (!object.object_name.empty()) json.text("name", object.object_name);
    json.text("kind", kind_name(object.kind));
    json.number("lv", object.level);
    json.number("x", object.x);
    json.number("y", object.y);
    if (!object.placement.empty()) json.text("pl", object.placement);
    if (object.commented) json.text("why", object.commented_reason);
    json.number("ln", object.line);
    if (!object.targets.empty()) {
        std::string& targets = json.member("tg");
        targets += '[';
        for (std::size_t i = 0; i < object.targets.size(); ++i) {
            if (i > 0) targets += ',';
            append_reference(targets, object.targets[i]);
        }
        targets += ']';
    }
    if (object.door) append_reference(json.member("door"), *object.door);
    if (object.holder) append_reference(json.member("holder"), *object.holder);
    if (object.destination)
        json.member("dest") += '[' + std::to_string(object.destination->level) + ',' +
                               std::to_string(object.destination->x) + ',' + std::to_string(object.destination->y) + ']';
    if (!object.holds.empty()) append_texts(json.member("holds"), object.holds);
}

void append_party(std::string& out, const MapParty& party)
{
    JsonObject json(out);
    json.number("lv", party.level);
    json.number("x", party.x);
    json.number("y", party.y);
    json.text("facing", party.facing);
    json.number("ln", party.line);
    json.flag("placed", party.placed);
}

// A problem with its line as printed; a problem of the object name list is marked, as its line
// is no dump line.
void append_problem(std::string& out, const DungeonModel& model, const Problem& problem)
{
    const bool in_list = problem.file == ProblemFile::object_list;
    JsonObject json(out);
    json.number("ln", problem.line);
    if (problem.column > 0) json.number("col", static_cast<long long>(problem.column));
    json.flag("error", problem.severity == Severity::error);
    json.text("name", std::string(kind_of(problem.id).name));
    json.text("msg", problem.message);
    json.text("text", printed_line(in_list ? model.list_name : model.dump_name, problem));
    if (in_list) json.flag("list", true);
}

template <typename T, typename Append>
void append_list(std::string& out, const std::vector<T>& list, Append append)
{
    out += '[';
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) out += ",\n";
        append(out, list[i]);
    }
    out += ']';
}

} // namespace

std::string map_data_json(const DungeonModel& model)
{
    std::string out;
    {
        JsonObject json(out);
        json.text("dump", model.dump_name);
        json.number("gw", model.grid_width);
        json.number("gh", model.grid_height);
        {
            std::vector<std::string> kinds;
            for (const ObjectKind kind : all_kinds()) kinds.emplace_back(kind_name(kind));
            append_texts(json.member("kinds"), kinds);
        }
        append_list(json.member("levels"), model.levels, append_level);
        append_list(json.member("objects"), model.objects, append_object);
        append_texts(json.member("champions"), model.champions);
        append_texts(json.member("party"), model.party);
        if (model.entrance) append_party(json.member("entrance"), *model.entrance);
        else json.member("entrance") += "null";
        append_list(json.member("problems"), model.problems,
                    [&](std::string& text, const Problem& problem) { append_problem(text, model, problem); });
        json.text("summary", model.summary);
    }
    return out;
}

std::string map_texts_json(const DungeonModel& model)
{
    std::string out = "[";
    for (std::size_t i = 0; i < model.objects.size(); ++i) {
        if (i > 0) out += ",\n";
        out += '[' + json_string(model.objects[i].line_text) + ',' + json_string(model.objects[i].properties) + ']';
    }
    return out + ']';
}

void write_map_page(const DungeonModel& model, std::ostream& out)
{
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "style-src 'unsafe-inline'; script-src 'unsafe-inline'; img-src data:\">\n"
        << "<title>Dungeon map</title>\n<style>\n"
        << page_style << "</style>\n</head>\n<body>\n"
        << page_body << "<script type=\"application/json\" id=\"dungeon-data\">" << map_data_json(model)
        << "</script>\n<script type=\"application/json\" id=\"dungeon-texts\">" << map_texts_json(model)
        << "</script>\n<script>\n"
        << page_script << "</script>\n</body>\n</html>\n";
}
