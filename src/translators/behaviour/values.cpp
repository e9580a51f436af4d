#include "behaviour/values.h"

#include "text/lua_text.h"
#include "text/normalise.h"

std::optional<std::string> checked_code_value(const std::string& keyword, const std::string& value,
                                              Problems& problems)
{
    if (is_code_value(value)) return value;
    problems.push_back("the " + keyword + " value " + quoted(value) + " is not a number or name; it is left out");
    return std::nullopt;
}

std::optional<std::string> object_variable(const std::string& identifier)
{
    std::string name = "TVK_" + force_us(identifier);
    if (!is_lua_name(name)) return std::nullopt;
    return name;
}

std::string comment_mark(const Item& item)
{
    return item.is_known ? "" : "--";
}
