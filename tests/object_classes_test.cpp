// The object table: which names and types give which flags and which kind on the map page.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "test_support.h"
#include "vocabulary/object_classes.h"

namespace {

ObjectFlags flags_of(std::initializer_list<ObjectFlag> flags)
{
    ObjectFlags result;
    for (const ObjectFlag flag : flags) result.set(flag);
    return result;
}

} // namespace

TEST(ObjectClasses, EachRuleGivesItsFlagsAndKind)
{
    using F = ObjectFlag;
    using K = ObjectKind;
    struct Row {
        const char* type;
        const char* name;
        const char* rest;
        ObjectFlags flags;
        ObjectKind kind;
        const char* written_name;
    };
    const Row rows[] = {
        {"M", "mirror_gold", "", flags_of({F::mirror}), K::other, "mirror_gold"},
        {"DB", "old_doorbutton", "", flags_of({F::doorbutton}), K::doorbutton, "old_doorbutton"},
        {"DF", "doorframe_x", "", flags_of({F::doorframe}), K::doorframe, "doorframe_x"},
        {"D", "door_iron", "", flags_of({F::door}), K::door, "door_iron"},
        {"D", "doorway", "", flags_of({}), K::other, "doorway"},
        {"SH", "shooter", "", flags_of({F::shooter}), K::shooter, "shooter"},
        {"SH", "shooterx", "", flags_of({}), K::other, "shooterx"},
        {"FD", "floordamager", "", flags_of({F::floordamager}), K::floordamager, "floordamager"},
        {"FD", "floordamager2", "", flags_of({}), K::other, "floordamager2"},
        {"L", "lever_wall", "STATE:B", flags_of({F::lever}), K::lever_or_switch, "lever_wall_down"},
        {"L_SWITCH", "lever", "", flags_of({F::lever}), K::lever_or_switch, "lever_up"},
        {"WALL_SWITCH", "button", "STATE:B", flags_of({F::switch_by_type}), K::lever_or_switch, "button_pushed"},
        {"WALL_SWITCH", "eye_button", "STATE:B", flags_of({}), K::other, "eye_button"},
        {"WALL_SWITCH", "small_button", "STATE:B", flags_of({F::switch_by_type, F::small_switch}), K::lever_or_switch,
         "small_button"},
        {"WALL_SWITCH", "tiny_button", "STATE:B", flags_of({F::switch_by_type, F::small_switch}), K::lever_or_switch,
         "tiny_button"},
        {"P", "pit", "", flags_of({F::pit_statement, F::pit}), K::pit, "pit"},
        {"P", "ipit", "", flags_of({F::pit}), K::pit, "ipit"},
        {"P", "pit_small", "", flags_of({}), K::other, "pit_small"},
        {"T", "teleporter", "", flags_of({F::teleporter, F::teleporter_symbol}), K::teleporter, "teleporter"},
        {"T", "teleporter_blue", "", flags_of({F::teleporter_symbol}), K::teleporter, "teleporter_blue"},
        {"T", "teleporter_blue", "DESTINATION=(1,1,0)", flags_of({F::teleporter_symbol}), K::teleporter,
         "teleporter_blue"},
        {"L", "lever", "DESTINATION=(1,1,0)", flags_of({F::lever}), K::lever_or_switch, "lever_up"},
        {"FT", "floortext", "", flags_of({F::floortext}), K::floortext, "floortext"},
        {"FT", "floortext_big", "", flags_of({}), K::other, "floortext_big"},
        {"FL", "flask_blue", "", flags_of({F::flask}), K::flask, "flask_blue"},
        {"FL", "flask", "", flags_of({}), K::other, "flask"},
        {"B", "firebomb", "", flags_of({F::bomb}), K::bomb, "firebomb"},
        {"TO", "torch_lit", "", flags_of({F::torch}), K::torch, "torch_lit"},
        {"TR", "trigger", "", flags_of({F::trigger, F::trigger_symbol}), K::trigger, "trigger"},
        {"TR", "trigger_plate", "", flags_of({F::trigger_symbol}), K::trigger, "trigger_plate"},
        // The suffix takes part in the rules on the written name.
        {"L", "leverflask", "", flags_of({F::lever, F::flask}), K::lever_or_switch, "leverflask_up"},
        // What the groups find comes before the later flags, but after the earlier ones.
        {"TO", "torch_lit", "HOLDS=(9)", flags_of({F::torch}), K::holder, "torch_lit"},
        {"G", "altar", "GENERATES=(x)", flags_of({}), K::generator, "altar"},
        {"SH", "shooter", "HEALTH=(5)", flags_of({F::shooter}), K::shooter, "shooter"},
        {"C", "ghost", "HEALTH=(5)", flags_of({}), K::creature, "ghost"},
    };
    static const Levels levels = levels_at({{0, 0}});
    for (const Row& row : rows) {
        ObjectList names;
        names.add(row.type, row.name);
        const std::string line = std::string("1 ") + row.type + " 1 1 0 CENTER " + row.rest;
        const Item item = translated_line(line, names, levels).item;
        EXPECT_EQ(item.flags.bits, row.flags.bits) << line << " named " << row.name;
        EXPECT_EQ(kind_name(item.kind), std::string(kind_name(row.kind))) << line << " named " << row.name;
        EXPECT_EQ(item.object_name, row.written_name) << line;
    }
}

TEST(ObjectClasses, OnlyTheExactTeleporterIsSilent)
{
    static const Levels levels = levels_at({{0, 0}});
    ObjectList names;
    names.add("T", "teleporter");
    names.add("TB", "teleporter_blue");
    EXPECT_EQ(translated_line("1 T 1 1 0 CENTER DESTINATION=(2,3,0)", names, levels).item.exvar_text,
              "exvar[TVK_1]={silent=true,x=2,y=3,lev=0}\n");
    EXPECT_EQ(translated_line("1 TB 1 1 0 CENTER DESTINATION=(2,3,0)", names, levels).item.exvar_text,
              "exvar[TVK_1]={x=2,y=3,lev=0}\n");
}

TEST(ObjectClasses, KeptFlagsBelongToTheirPairOfTheList)
{
    // One name in two pairs: the switch rule reads the type, so each pair keeps its own flags,
    // also once the kept pairs grow past their bound.
    ObjectList names;
    names.add("WALL_SWITCH", "button");
    names.add("PLATE", "button");
    names.add("LF", "leverflask");
    names.add("LV", "lever");
    for (int i = 0; i < 5000; ++i) names.add("SWITCH_" + std::to_string(i), i % 2 ? "lever_x" : "tiny_x");
    ClassifiedNames classes;
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(classes.of(*names.find("WALL_SWITCH"), "WALL_SWITCH").listed.has(ObjectFlag::switch_by_type));
        EXPECT_EQ(classes.of(*names.find("PLATE"), "PLATE").listed.bits, 0u);
        for (int i = 0; i < 5000; ++i) {
            const std::string type = "SWITCH_" + std::to_string(i);
            const NameFlags flags = classes.of(*names.find(type), type);
            ASSERT_EQ(flags.listed.bits, classified(NameStage::listed, *names.find(type), type).bits) << type;
            ASSERT_EQ(flags.written.bits, classified(NameStage::written, *names.find(type), type, flags.listed).bits);
        }
    }
    // A suffix takes part in the rules on the written name: "leverflask_up" is a flask, "lever_up" not.
    for (int round = 0; round < 2; ++round) {
        const ObjectFlags flask_lever = classes.of(*names.find("LF"), "LF").listed;
        const ObjectFlags lever = classes.of(*names.find("LV"), "LV").listed;
        EXPECT_TRUE(classes.suffixed(*names.find("LF"), "LF", 2, "leverflask_down", flask_lever).has(ObjectFlag::flask));
        EXPECT_FALSE(classes.suffixed(*names.find("LV"), "LV", 2, "lever_down", lever).has(ObjectFlag::flask));
        EXPECT_TRUE(classes.suffixed(*names.find("LF"), "LF", 1, "leverflask_up", flask_lever).has(ObjectFlag::lever));
    }
}
