#include "behaviour/values.h"

#include "behaviour/run_ins.h"
#include "text/chars.h"
#include "text/lua_text.h"
#include "text/trim.h"
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

std::optional<std::string_view> checked_number_value(std::string_view keyword, std::string_view value,
                                                     Problems& problems)
{
    const auto checked = checked_code_value(keyword, value, problems);
    if (checked && !is_lua_number(trimmed(*checked)))
        problems.emplace_back(MessageId::name_value,
                              "the " + std::string(keyword) + " value " + quoted(*checked) +
                                  " is a name where a number is meant; it is written as the name " +
                                  std::string(trimmed(*checked)) + ", nil unless the engine defines it",
                              *checked);
    return checked;
}

std::optional<long long> whole_integer(std::string_view value)
{
    value = trimmed(value);
    const bool negative = value.starts_with('-');
    if (negative) value.remove_prefix(1);
    if (value.empty() || value.size() > 18) return std::nullopt;
    long long number = 0;
    for (char c : value) {
        if (!is_digit(c)) return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return negative ? -number : number;
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
