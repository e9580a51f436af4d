#pragma once
// Checks shared by the keyword groups for values that the script gets outside a string literal,
// and the comment mark of the statements of unlisted objects.

#include <optional>
#include <string>
#include <string_view>

#include "records/item.h"
#include "report/report.h"

// The value unchanged when it may stand in a code position (a number or a name); otherwise none,
// and a problem naming the keyword and the value is recorded.
std::optional<std::string_view> checked_code_value(std::string_view keyword, std::string_view value,
                                                   Problems& problems);

// checked_code_value for a value the engine reads as a number (a delay, a count, hit points, a
// strength, ...): a name passes as well, but is reported, since the engine reads it as a variable.
std::optional<std::string_view> checked_number_value(std::string_view keyword, std::string_view value,
                                                     Problems& problems);

// The integer that the whole value is, blanks and tabs around it aside: an optional "-" and at
// most 18 digits; none for any other value.
std::optional<long long> whole_integer(std::string_view value);

// Appends the Lua name of the object with the given dump identifier to out: "TVK_" and the
// identifier after force_us. False, with out as it was, when that is not a Lua name.
bool append_object_variable(std::string& out, std::string_view identifier);

// "--" for an object whose type the object name list does not hold, so that its statements are
// comments; the empty text otherwise.
inline std::string_view comment_mark(const Item& item) { return item.is_known ? "" : "--"; }
