#include "behaviour/groups.h"
#include "behaviour/keywords.h"

void read_contents(const LineContext& context, Item& item, Properties& properties)
{
    const std::string& line = context.line;
    const char* keyword = "CARRYING=(";
    if (!has_keyword(line, keyword)) {
        if (item.is_mirror) return;
        keyword = "HOLDS=(";
        if (!has_keyword(line, keyword)) return;
    }
    properties.carries = true;
    item.contents = *paren_value(line, keyword);
    if (paren_closed(line, keyword)) item.contents += ")";
}

void read_health(const LineContext&, Item&, Properties&) {}
void read_champion(const LineContext&, Item&, Properties&) {}
void read_state(const LineContext&, Item&, Properties&) {}
