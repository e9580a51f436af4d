#include "behaviour/run_ins.h"

#include "behaviour/keyword_scan.h"
#include "report/report.h"
#include "text/fields.h"

std::optional<std::string_view> keyword_run_into(std::string_view value)
{
    // Nearly every value is one word: it runs into nothing. A plain loop finds that in a few
    // instructions a byte (a search for one of several bytes costs a call per byte).
    std::size_t i = 0;
    while (i < value.size() && value[i] != ' ' && value[i] != '\t') ++i;
    if (i == value.size()) return std::nullopt;
    std::optional<std::string_view> found;
    for_each_keyword_in(value, [&](const Keyword& keyword, std::size_t at) {
        if (!found && at > 0 && is_blank(value[at - 1])) found = keyword.text;
    });
    return found;
}

std::string_view missing_mark_of(std::string_view keyword)
{
    // ROTATE: ends only at ")", like the "=(" keywords.
    const Keyword* known = keyword_named(keyword);
    if (known && known->form == ValueForm::colon_to_paren) return "\")\"";
    return keyword.ends_with(':') ? "\",\" or \")\"" : "\")\"";
}

std::string run_in_text(std::string_view keyword, std::string_view run_into)
{
    return "the " + std::string(keyword) + " value runs into the keyword " + quoted(run_into) + " (its " +
           std::string(missing_mark_of(keyword)) + " is missing before it)";
}
