#pragma once
// The words of an item line that look like an author's mistake: misspelt keywords, placement
// words and state or rotation values, and keywords that act where the author did not mean them
// or do nothing. Each only adds a message; the script is what it would be without the check.

#include <array>
#include <string>
#include <string_view>

#include "behaviour/keyword_scan.h"
#include "records/item.h"
#include "report/report.h"
#include "text/tokens.h"

// What the checks remember from line to line: types found to hold no keyword, so that a type that
// many objects share is searched once. A small table by a hash of the type: a type that meets
// another in its slot is searched again, which costs time, never a message.
struct WordCheckMemory {
    std::array<std::string, 256> clean_types;
};

// Adds a warning for every such word of a translated item line (never in its first five tokens,
// never inside its TEXT=( value).
void check_item_words(const std::string& line, const LeadingTokens& tokens, const KeywordScan& scan, const Item& item,
                      Problems& problems, WordCheckMemory& memory);
