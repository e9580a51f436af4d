#pragma once
// Collects, while one conversion runs, what the map page needs beyond the driver's own state, and
// builds the page's model from everything the run converted.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "driver/item_pass.h"
#include "driver/levels.h"
#include "driver/report.h"
#include "items/line_links.h"
#include "map/dungeon_model.h"

// What the run hands over while it reads the dump; asked for only when a page is wanted.
class ModelRecorder : public ItemWatcher {
public:
    // Keeps the text of an item line and returns where its targets and destination go.
    LineLinks* links_of_line(long number, const std::string& line) override;
    // Keeps a copy of an object's record as it was filed; the linking passes are redone on the copies.
    void filed(const Item& item, FiledList list) override;
    // A champion variable that a definition assigned.
    void champion(const std::string& variable);
    // A champion variable that a roster statement put into the party.
    void party_member(const std::string& variable);
    // Whether the script places the party at the entrance.
    void party_placed(bool placed);

    // The model of the whole run, with the objects linked by the item pass's own rules.
    DungeonModel model(const Levels& levels, const std::optional<Entrance>& entrance, const Report& report) const;

private:
    struct RecordedLine {
        std::string text;
        LineLinks links;
    };
    struct FiledItem {
        Item item;
        FiledList list;
    };
    std::unordered_map<long, RecordedLine> lines_;
    // In the order of their lines in the dump.
    std::vector<FiledItem> items_;
    std::vector<std::string> champions_;
    std::vector<std::string> party_;
    bool party_placed_ = false;
};

// The kind of symbol an object gets: from its kind flags, its object name and the keywords of its line.
ObjectKind kind_of(const Item& item, const std::string& line);
