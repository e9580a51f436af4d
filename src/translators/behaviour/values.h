#pragma once
// Checks shared by the keyword groups for values that the script gets outside a string literal,
// and the comment mark of the statements of unlisted objects.

#include <optional>
#include <string>

#include "records/item.h"
#include "report/report.h"

// The value unchanged when it may stand in a code position (a number or a name); otherwise none,
// and a problem naming the keyword and the value is recorded.
std::optional<std::string> checked_code_value(const std::string& keyword, const std::string& value,
                                              Problems& problems);

// The Lua name of the object with the given dump identifier: "TVK_" and the identifier after
// force_us; none when that is not a Lua name.
std::optional<std::string> object_variable(const std::string& identifier);

// "--" for an object whose type the object name list does not hold, so that its statements are
// comments; the empty text otherwise.
std::string comment_mark(const Item& item);
