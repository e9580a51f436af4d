#pragma once
// The objects of the items section: filed while the dump is read, linked after it, then written.

#include <cstddef>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "behaviour/properties.h"
#include "behaviour/word_checks.h"
#include "itempass/item_links.h"
#include "itempass/object_names.h"
#include "levels/levels.h"
#include "records/item.h"
#include "records/line_links.h"
#include "records/object_list.h"
#include "report/report.h"
#include "store/flat_table.h"
#include "store/text_spool.h"
#include "store/text_store.h"

// An object's number or a place in a list of facts, in 32 bits (see max_filed_objects).
using FactNumber = std::uint32_t;
// No place: a held object without a holder, a button without a door.
constexpr FactNumber no_fact = static_cast<FactNumber>(-1);
static_assert(max_filed_objects <= no_fact, "every filed object has a fact number");

// The length of a list of what an object holds, in 32 bits; long_list marks one of 4 GB or more,
// whose length is kept aside.
using ListLength = std::uint32_t;
constexpr ListLength long_list = static_cast<ListLength>(-1);

// The facts of the linking (HeldFacts, HolderFacts, DoorFacts, ButtonFacts): what it reads of each
// record of the lists it links, and what it found; one small record per list, holding only what
// that list's linking needs. `link` is a place in the holders (of a held object) or the doors (of a
// door button); no_fact when there is none. An object's line, and the identifier of a door or
// button, are those the names give for its number. A list of what an object holds is kept right
// after its identifier, so that its facts need only its length (see contents_of).

// A held object: its identifier and what it holds itself. Its statements are records of its
// list's spools, in the same order as these facts, finished with the link as they are written.
// Thirty-two bytes, one per held object of the dump.
struct HeldFacts {
    FactNumber object = no_fact;
    // Its holder; or, when link_to_held, the first held object that names it while no holder does
    // (a place in the held objects, and no link is written then).
    FactNumber link = no_fact;
    // Why its statements are comments (its own reason, or the linking's); none when they are not.
    CommentReason reason = CommentReason::none;
    // True when the linking turns its statements into comments when written.
    bool comment_out = false;
    bool link_to_held = false;
    ListLength contents_size = 0;
    std::string_view id;
};

// A column of a line in 32 bits, kept beside the facts where they have room for it; 0 (no
// column) for one past that.
using NarrowColumn = std::uint32_t;

// The column as kept: 0 when it does not fit.
constexpr NarrowColumn narrow_column(std::size_t column)
{
    return column > static_cast<NarrowColumn>(-1) ? 0 : static_cast<NarrowColumn>(column);
}

// The column of the list that a held object gives of what it holds in turn; held is its place in
// the held objects' facts.
struct HeldListColumn {
    FactNumber held = no_fact;
    NarrowColumn column = 0;
};

// A holder: its identifier and the list of what it holds, with the list's column in its line.
struct HolderFacts {
    FactNumber object = no_fact;
    bool commented = false;
    ListLength contents_size = 0;
    NarrowColumn contents_column = 0;
    std::string_view id;
};

// A door: its square.
struct DoorFacts {
    FactNumber object = no_fact;
    int x = 0;
    int y = 0;
    int level = 0;
};

// A door button: its square. Its property statements (replaced by the link to its
// door) are records of its list's property spool, in the same order as these facts.
struct ButtonFacts {
    FactNumber object = no_fact;
    FactNumber link = no_fact;
    int x = 0;
    int y = 0;
    int level = 0;
    bool commented = false;
    // True when its own property statements name targets.
    bool has_target = false;
};

// A list of names that an item line gives, kept to be checked once every object is known.
struct NamedList {
    // The object whose line it is.
    FactNumber object = no_fact;
    // Where the list begins in the line.
    NarrowColumn column = 0;
    std::string_view list;
};

// The column of a name that is a view into a list kept with the list's column: where the name
// stands in the list's line; 0 when the list's column is not known.
std::size_t column_in_list(std::string_view list, std::size_t list_column, std::string_view name);

// A name in a holder's list that no held object has, as the linking found it.
struct UnheldName {
    long line_number = 0;
    std::size_t column = 0;
    std::string_view holder;
    std::string_view name;
};

// A dump type that the object name list lacks: where it first stood (line and column), how many
// objects of it were written as comments, and how many lines looked it up as a missile, a
// creature or an OPBY=( object (and wrote it as it stands).
struct UnlistedType {
    std::string type;
    long first_line = 0;
    std::size_t column = 0;
    long count = 0;
    long lookups = 0;
};

// One of the lists the objects are sorted into, in the order of their lines in the dump: the
// texts of its records back to back, so that a list is written as a whole. The lists of held
// objects and door buttons keep the statements that the linking finishes as records, read back
// one by one beside their facts.
struct ItemList {
    explicit ItemList(std::size_t spool_block_size) : spawns(spool_block_size), exvars(spool_block_size) {}
    TextSpool spawns;
    TextSpool exvars;
    std::size_t count = 0;
};

// The record, keyword places, properties, links and problems of the item line being translated,
// reused from line to line so that their texts keep their room: a line then allocates nothing of
// its own.
struct LineWork {
    Item item;
    KeywordScan scan;
    Properties properties;
    LineLinks links;
    Problems problems;
};

// The seven lists of the items section, and what tells two objects of one variable apart.
struct ItemLists {
    // The lists' statements are spooled in blocks of that size.
    explicit ItemLists(std::size_t spool_block_size = TextSpool::default_block_size);

    // The seven lists, by their ItemListId.
    std::array<ItemList, item_list_count> lists;
    // The number the next filed object gets.
    std::size_t filed = 0;
    // The item lines skipped: no object, no statement.
    std::size_t skipped = 0;
    // What the linking reads of the held objects, holders, doors and door buttons, in list order.
    std::deque<HeldFacts> held_facts;
    std::deque<HolderFacts> holder_facts;
    std::deque<DoorFacts> door_facts;
    std::deque<ButtonFacts> button_facts;
    // Texts of the linking facts that the statements do not hold.
    TextStore link_texts;
    // The lengths of lists of 4 GB or more, by where the identifier before them is kept.
    std::unordered_map<const char*, std::size_t> long_lists;
    // The columns of the lists that held objects give of what they hold in turn (a bag in a
    // chest; in a chain of holders, every held object), in the order of held_facts; a holder's
    // stands in its facts. Eight bytes a list, where a map took some fifty.
    std::vector<HeldListColumn> held_contents_columns;
    // Every object's identifier and variable (which also finds a second object written as one
    // variable), the target lists and the champions that mirrors hold, and the names in holders'
    // lists that no held object has: for the checks of names.
    ObjectNames names;
    std::vector<NamedList> target_lists;
    std::vector<NamedList> mirror_champions;
    std::vector<UnheldName> unheld_names;
    // What the checks of an item line's words remember from line to line.
    WordCheckMemory word_memory;
    // What the line being translated works with.
    LineWork line;
    // What the rules gave each object name and type met so far.
    ClassifiedNames classes;
    // Makes it anew, giving its room back: after a long line (a chest's list of a million
    // objects), so that one line does not keep that much memory to the end.
    void release_line_work();
    // The dump types that the object name list does not name at all, of objects or looked up by
    // their lines, in the order first met.
    std::vector<UnlistedType> unlisted_types;
    // Per such type, its place in unlisted_types.
    std::unordered_map<std::string, std::size_t> unlisted_type_index;

    // The list of that id.
    ItemList& list(ItemListId id) { return lists[static_cast<std::size_t>(id)]; }
    const ItemList& list(ItemListId id) const { return lists[static_cast<std::size_t>(id)]; }
};

// Told of each object as it is filed and written, for a caller that wants more than the script
// (the map page); a plain conversion has none.
class ItemWatcher {
public:
    virtual ~ItemWatcher() = default;
    // An object as it was filed, with its number and list, before the linking, and the targets and
    // destination of its line.
    virtual void filed(std::size_t object, const Item& item, ItemListId list, const std::string& line,
                       const LineLinks& links) = 0;
    // The property statements of a held object or a door button as the linking finished them.
    virtual void finished_properties(std::size_t object, std::string_view properties) = 0;
};

// What every item line is read against: the levels, their offsets on the common grid (worked
// out once, not per line) and the object name list.
struct ItemSetting {
    ItemSetting(const Levels& of_levels, const ObjectList& list)
        : levels(of_levels), offsets_x(of_levels.offsets_x()), offsets_y(of_levels.offsets_y()), names(list)
    {
    }

    const Levels& levels;
    std::vector<int> offsets_x;
    std::vector<int> offsets_y;
    const ObjectList& names;
};

// What a holder or held object holds, as its line lists it.
template <typename Facts>
std::string_view contents_of(const ItemLists& lists, const Facts& facts)
{
    const std::size_t size = facts.contents_size == long_list ? lists.long_lists.at(facts.id.data()) : facts.contents_size;
    return {facts.id.data() + facts.id.size(), size};
}

// The list an object is filed in, by what its translation found.
ItemListId list_of(const Item& item, bool held, bool holder);

// Turns one item line into a record and files it into its list; a line that breaks the rules of
// an item line is reported and skipped. A watcher, when given, is told of the line and its record.
void file_item_line(ItemLists& lists, const std::string& line, long line_number, const ItemSetting& setting,
                    Report& report, ItemWatcher* watcher = nullptr);

// Links every held object to the first holder that names it and every door button to the last
// door on its square; a held object without a holder becomes a comment and is reported, as is
// every later holder that names it; every unlisted type is reported.
void link_items(ItemLists& lists, Report& report);

// The decisions of the linking, with object numbers in place of list places; after link_items.
LinkResult link_result(const ItemLists& lists);

// Writes the spawn statements of the seven lists, then the property statements of six, as the
// linking finished them, reading the lists' spools back; a watcher is told the finished properties
// of held objects and buttons. Throws SpoolError when a spool cannot be read back whole.
void write_items(ItemLists& lists, std::ostream& out, ItemWatcher* watcher = nullptr);

// What became of the objects once they are written: as statements, as comments, or skipped.
ObjectTally object_tally(const ItemLists& lists);
