#pragma once
// The words of an item line that look like an author's mistake: misspelt keywords, placement
// words and state or rotation values, and keywords that act where the author did not mean them
// or do nothing. Each only adds a message; the script is what it would be without the check.

#include <string>

#include "records/item.h"
#include "report/report.h"
#include "text/tokens.h"

// Adds a warning for every such word of a translated item line (never in its first five tokens,
// never inside its TEXT=( value).
void check_item_words(const std::string& line, const LeadingTokens& tokens, const Item& item, Problems& problems);
