#include "behaviour/values.h"

#include "behaviour/run_ins.h"
#include "text/lua_text.h"
#include "text/normalise.h"
#include "vocabulary/engine_names.h"

std::optional<std::string_view> checked_code_value(std::string_view keyword, std::string_view value,
                                                   Problems& problems)
{
    if (is_code_value(value)) return value;
    // A value that runs into the next keyword is reported by its cause, the missing mark.
    if (const auto run_into = keyword_run_into(value)) {
        problems.emplace_back(MessageId::run_in, run_in_text(keyword, *run_into) + "; it is left out", value);
        return std::nullopt;
    }
    problems.emplace_back(MessageId::value,
                          "the " + std::string(keyword) + " value " + quoted(value) + " is not a number or name; it is left out",
                          value);
    return std::nullopt;
}

bool append_object_variable(std::string& out, std::string_view identifier)
{
    const std::size_t start = out.size();
    out += engine::object_prefix;
    append_force_us(out, identifier);
    if (is_lua_name(std::string_view(out).substr(start))) return true;
    out.resize(start);
    return false;
}
