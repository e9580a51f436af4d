#include "browser/page_conversion.h"

#include <sstream>
#include <streambuf>

#include "conversion/convert.h"
#include "page/map_page.h"
#include "page/model_recorder.h"

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
    // The problems are printed as found, as on the command line, and kept for the map page.
    report.print_to(messages, true);
    ModelRecorder recorder(page_dump_name);
    NotADump why;
    const int converted = convert(dump_stream, script, names, report, &recorder, &why);
    report.flush_printed();

    PageConversion result;
    // An input that is not a dump converts to nothing, as on the command line.
    if (converted == status_no_file) {
        result.status = status_no_file;
        result.messages = std::move(messages).str() + "dungeon2lua: " + not_a_dump_message(page_dump_name, why) + "\n";
        return result;
    }
    result.status = converted_status(report, strict);
    result.script = std::move(script).str();
    result.messages = std::move(messages).str();
    std::ostringstream page;
    write_map_page(recorder.take_model(report), page);
    result.map_page = std::move(page).str();
    return result;
}
