#include "driver/report.h"

#include "text/lua_text.h"

void Report::add(long line, const std::string& what)
{
    lines_.push_back("my_dungeon.txt:" + std::to_string(line) + ": " + what);
}

void Report::add_all(long line, const Problems& problems)
{
    for (const auto& what : problems) add(line, what);
}

std::string quoted(const std::string& text)
{
    return "\"" + lua_escape(text) + "\"";
}
