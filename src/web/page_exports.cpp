// What the browser page calls (built only into dungeon2lua.html): one conversion of the bytes of
// the two files, whose parts the page's script then copies out of the converter's memory.

#include <cstddef>
#include <string>

#include <emscripten/emscripten.h>

#include "browser/page_conversion.h"

namespace {

// The last conversion, kept until the page asks for the next one.
PageConversion last_conversion;

// The parts of a conversion that the page reads, by number: 0 the script, 1 the messages, 2 the
// map page, 3 the counts of the status line, 4 the completed object name list, 5 what completing
// it does; any other number is nothing.
const std::string& result_part(int part)
{
    static const std::string nothing;
    switch (part) {
    case 0: return last_conversion.script;
    case 1: return last_conversion.messages;
    case 2: return last_conversion.map_page;
    case 3: return last_conversion.counts;
    case 4: return last_conversion.completed_list;
    case 5: return last_conversion.list_completion;
    default: return nothing;
    }
}

} // namespace

extern "C" {

// Converts the dump and the object name list given as bytes; returns the exit status.
EMSCRIPTEN_KEEPALIVE int d2l_convert(const char* dump, std::size_t dump_size, const char* objects,
                                     std::size_t objects_size, int strict)
{
    // The old parts go first: a large dungeon's parts need not stand in memory twice.
    last_conversion = {};
    last_conversion = page_conversion({dump, dump_size}, {objects, objects_size}, strict != 0);
    return last_conversion.status;
}

// Where one part of the last conversion stands in memory.
EMSCRIPTEN_KEEPALIVE const char* d2l_result_data(int part)
{
    return result_part(part).data();
}

// How many bytes one part of the last conversion holds.
EMSCRIPTEN_KEEPALIVE std::size_t d2l_result_size(int part)
{
    return result_part(part).size();
}

} // extern "C"
