#pragma once
// The map page: one self-contained HTML file that draws a converted dungeon from its model.

#include <ostream>
#include <string>

#include "page/dungeon_model.h"

// The model as the JSON object the page's script reads; every text from the dump is a JSON
// string that cannot leave its script element.
std::string map_data_json(const DungeonModel& model);

// The objects' dump lines and property statements, [[line, statements], ...] in the order of the
// model's objects: half of a large page's data, which the page parses only when it needs them.
std::string map_texts_json(const DungeonModel& model);

// Writes the whole page: styles, script and data inline, nothing fetched from elsewhere.
void write_map_page(const DungeonModel& model, std::ostream& out);
