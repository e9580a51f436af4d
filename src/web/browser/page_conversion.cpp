#include "browser/page_conversion.h"

#include <sstream>
#include <streambuf>

#include "conversion/convert.h"
#include "conversion/list_completion.h"
#include "page/map_page.h"
#include "page/model_recorder.h"
#include "report/report.h"

namespace {

// Reads bytes where they stand, without a copy: a dump may be many megabytes.
class BytesBuffer : public std::streambuf {
public:
    explicit BytesBuffer(std::string_view bytes)
    {
        // The get area is only read from: nothing is ever put back into it.
        char* begin = const_cast<char*>(bytes.data());
        setg(begin, begin, begin + bytes.size());
    }
};

// The counts of the status line, from the problems and the objects of the model.
std::string counts_json(const DungeonModel& model)
{
    long errors = 0;
    for (const Problem& problem : model.problems) errors += problem.severity == Severity::error;
    const long warnings = static_cast<long>(model.problems.size()) - errors;
    long commented = 0;
    for (const MapObject& object : model.objects) commented += object.commented;
    return "{\"errors\":" + std::to_string(errors) + ",\"warnings\":" + std::to_string(warnings) +
           ",\"commented\":" + std::to_string(commented) + "}";
}

} // namespace

PageConversion page_conversion(std::string_view dump, std::string_view objects, bool strict)
{
    BytesBuffer list_bytes(objects);
    std::istream list(&list_bytes);
    const ObjectList names = ObjectList::read(list);

    BytesBuffer dump_bytes(dump);
    std::istream dump_stream(&dump_bytes);
    std::ostringstream script;
    std::ostringstream messages;
    Report report(page_dump_name);
    ModelRecorder recorder(page_dump_name);
    NotADump why;
    const int converted = convert(dump_stream, script, names, report, &recorder, &why);
    // Every message, in the command line's order, with its closing count: the page shows them all.
    write_messages(messages, report, true, converted != status_no_file);

    PageConversion result;
    // An input that is not a dump converts to nothing, as on the command line.
    if (converted == status_no_file) {
        result.status = status_no_file;
        result.messages = std::move(messages).str() + program_line(not_a_dump_message(page_dump_name, why));
        return result;
    }
    result.status = converted_status(report, strict);
    result.script = std::move(script).str();
    result.messages = std::move(messages).str();
    const DungeonModel model = recorder.take_model(report);
    std::ostringstream page;
    write_map_page(model, page);
    result.map_page = std::move(page).str();
    result.counts = counts_json(model);
    const std::string& list_name = report.name_of(ProblemFile::object_list);
    if (auto refusal = completion_refusal(names, list_name)) {
        result.list_completion = program_line(*refusal);
        return result;
    }
    CompletedList completed = completed_list(std::string(objects), names, list_name);
    if (completed.added > 0) result.completed_list = std::move(completed.bytes);
    result.list_completion = completed.summary + '\n';
    return result;
}
