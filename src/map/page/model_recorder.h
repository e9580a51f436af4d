#pragma once
// Records, while one conversion runs, what the map page shows of it: every object as the item pass
// filed it and the links the item pass decided, the champions, the party and the levels.

#include <cstddef>
#include <string>
#include <string_view>

#include "conversion/convert.h"
#include "page/dungeon_model.h"
#include "records/line_links.h"

// The page's model of one conversion, built from what the conversion tells its watcher; it decides
// nothing of its own. Asked for only when a page is wanted.
class ModelRecorder : public ConversionWatcher {
public:
    explicit ModelRecorder(std::string dump_name = "my_dungeon.txt") { model_.dump_name = std::move(dump_name); }

    void filed(std::size_t object, const Item& item, ItemListId list, const std::string& line,
               const LineLinks& links) override;
    void finished_properties(std::size_t object, std::string_view properties) override;
    void champion(const std::string& variable) override;
    void party_member(const std::string& variable) override;
    void finished(const ConvertedDungeon& dungeon) override;

    // The model of the whole run, with the report's problems; the recorder gives it away once.
    DungeonModel take_model(const Report& report);

private:
    DungeonModel model_;
};
