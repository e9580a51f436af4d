// The behaviour translator on single item lines: the property table line, the statements after
// it, the result, and the problems of values that cannot stand in the script.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "behaviour/exvars.h"
#include "behaviour/keyword_scan.h"
#include "behaviour/keywords.h"
#include "records/item.h"
#include "test_support.h"

namespace {

ObjectList test_names()
{
    ObjectList names;
    for (const auto& [type, name] : std::vector<std::pair<std::string, std::string>>{
             {"TYPE_TRIGGER", "trigger"}, {"TYPE_TELEPORTER", "teleporter"}, {"TYPE_FLOORTEXT", "floortext"},
             {"TYPE_FLASK", "flask_blue"}, {"TYPE_BOMB", "bomb_fire"}, {"TYPE_TORCH", "torch"},
             {"TYPE_SHOOTER", "shooter"}, {"TYPE_DAMAGER", "floordamager"}, {"TYPE_GENERATOR", "generator"},
             {"TYPE_PIT", "pit"}, {"TYPE_MIRROR", "mirror"}, {"TYPE_LEVER", "lever"}, {"TYPE_ALTAR", "altar"},
             {"W", "N"}, {"QUOTE", "a\"b"}})
        names.add(type, name);
    return names;
}

struct Translation {
    std::string text;
    bool result = false;
    bool has_exvars = false;
    std::string contents;
    Problems problems;
};

// The line through make_item and make_exvars; level 0 has no offset, level 1 ten columns.
Translation translate(const std::string& line, const ObjectList& names = test_names())
{
    static const Levels levels = levels_at({{0, 0}, {10, 0}});
    TranslatedLine translated = translated_line(line, names, levels);
    Translation t;
    t.result = translated.holder;
    t.text = translated.item.exvar_text;
    t.has_exvars = translated.item.has_exvars;
    t.contents = translated.item.contents;
    t.problems = std::move(translated.problems);
    return t;
}

struct Example {
    const char* line;
    const char* text;
    // The kind of the warnings the line gives besides its text, if any.
    std::optional<MessageId> warned = std::nullopt;
};

void expect_examples(const std::vector<Example>& examples)
{
    for (const auto& example : examples) {
        const Translation t = translate(example.line);
        EXPECT_EQ(t.text, example.text) << example.line;
        if (example.warned) {
            EXPECT_FALSE(t.problems.empty()) << example.line;
            for (const Problem& problem : t.problems) EXPECT_EQ(problem.id, *example.warned) << example.line;
        } else {
            EXPECT_TRUE(t.problems.empty()) << example.line << ": " << (t.problems.empty() ? "" : t.problems[0].message);
        }
    }
}

TEST(BehaviourExamples, TableLinesOfEveryGroupAreWrittenByteForByte)
{
    expect_examples({
        {"12 TYPE_TRIGGER 1 1 0 CENTER TARGET=(20,21) DELAY:5, OPBY=(PARTY) TOGGLE SOUND:SOUND_STD_CLICK)",
         "exvar[TVK_12]={sound=\"click\",target={TVK_20,TVK_21},delay=5,opby_party=true,msg=M_TOGGLE}\n"},
        {"12 TYPE_GHOST 1 1 0 CENTER TARGET=(20,21) DELAY:5, OPBY=(PARTY) TOGGLE SOUND:SOUND_STD_CLICK)",
         "--exvar[TVK_12]={sound=\"click\",target={TVK_20,TVK_21},delay=5,opby_party=true,msg=M_TOGGLE}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER TARGET=(5)", "exvar[TVK_1]={target=TVK_5}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER TARGET=(5,6,7) DELAY:2)", "exvar[TVK_1]={target={TVK_5,TVK_6,TVK_7},delay=2}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER TARGET=(a b,c-d)", "exvar[TVK_1]={target={TVK_ab,TVK_c_d}}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(PARTY,OBJECT)", "exvar[TVK_1]={opby_party=true,opby_thing=true}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(ALL)", "exvar[TVK_1]={opby_party=true,opby_monster=true,opby_thing=true}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(MONSTER)", "exvar[TVK_1]={opby_monster=true}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(W)", "exvar[TVK_1]={opby=\"N\"}\n"},
        {"1 TYPE_TRIGGER 1 1 0 CENTER OPBY=(W)", "exvar[TVK_1]={opby_party_carry=true,opby=\"N\"}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(KEY)", "exvar[TVK_1]={opby=\"KEY\"}\n"},
        {"1 TYPE_LEVER 1 1 0 CENTER OPBY=(W)", ""},
        {"1 TYPE_ALTAR 1 1 0 CENTER DEACTIVATE TOGGLE", "exvar[TVK_1]={msg=M_TOGGLE}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER DISABLE_SELF DESTROY_ITEM CONSTANT_WEIGHT RELEASE ACTION=(DESTROY)",
         "exvar[TVK_1]={disable_self=true,destroy=true,const_weight=true,release=true,msg=M_DESTROY}\n"},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER DESTINATION=(3,4,1) ROTATE:LEFT)",
         "exvar[TVK_7]={silent=true,x=13,y=4,lev=1,spin=3}\n"},
        {"9 TYPE_FLOORTEXT 1 1 0 CENTER TEXT=(SEE\\THE LIGHT)",
         "exvar[TVK_9]={color={255,255,255},disable_self=true,text=\"SEE/THE LIGHT\"}\n"},
        {"3 TYPE_FLASK 1 1 0 CENTER CHARGE=(50)", "exvar[TVK_3]={power=4}\n"},
        {"3 TYPE_FLASK 1 1 0 CENTER", "exvar[TVK_3]={power=1}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER CHARGE=(abc)", "exvar[TVK_1]={charge=abc}\n", MessageId::name_value},
        {"1 TYPE_TORCH 1 1 0 CENTER CHARGE=(12)", ""},
        {"8 TYPE_SHOOTER 1 1 0 CENTER SHOOTS=(W) STRENGTH=(40) TYPE=(DOUBLE)",
         "exvar[TVK_8]={double=true,shoots=\"N\",power=40}\n"},
        {"8 TYPE_SHOOTER 1 1 0 CENTER SHOOTS=(OBJECT) STRENGTH=(40)", "exvar[TVK_8]={double=false,power=40}\n"},
        {"8 TYPE_SHOOTER 1 1 0 CENTER", "exvar[TVK_8]={}\n"},
        {"6 TYPE_DAMAGER 1 1 0 CENTER DAMAGE=(12) TYPE=(3)", "exvar[TVK_6]={dmg_amt=12,dmg_type=3}\n"},
        {"6 TYPE_DAMAGER 1 1 0 CENTER", "exvar[TVK_6]={}\n"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(W) HEALTH=(30) NUMBERS=(1-3) RECHARGE_TIME:20)",
         "exvar[TVK_4]={generates=\"N\",hp=30,min=1,max=3,regen=20}\n"},
        // The digits on each side, or the one character there when it is no digit.
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(SLIME) NUMBERS=(10-12)",
         "exvar[TVK_4]={generates=\"SLIME\",min=10,max=12}\n"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(SLIME) NUMBERS=(10)", "exvar[TVK_4]={generates=\"SLIME\",min=10,max=10}\n"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(SLIME) NUMBERS=(x2-a)", "exvar[TVK_4]={generates=\"SLIME\",min=x,max=a}\n",
         MessageId::name_value},
        {"2 TYPE_ALTAR 1 1 0 CENTER COUNT=(3)", "exvar[TVK_2]={count=3 }\n"},
        {"15 TYPE_GHOST 1 1 0 CENTER HEALTH=(120) STATE=(INVISIBLE)",
         "--kel_disable(TVK_15)\n--kel_set_maxhp(TVK_15,120)\n--kel_set_hp(TVK_15,120)\n"},
        {"31 TYPE_PIT 1 1 0 CENTER STATE=(CLOSED)", "kel_disable(TVK_31)\n"},
        {"31 TYPE_ALTAR 1 1 0 CENTER STATE=(CLOSED)", ""},
        {"22 TYPE_MIRROR 1 1 0 CENTER HOLDS=(Iron Hand)", "exvar[TVK_22]={champion=IronHand }\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER", ""},
    });
}

TEST(BehaviourExamples, HolderReportsItsContentsWithoutATableLine)
{
    Translation carrier = translate("5 TYPE_ALTAR 1 1 0 CENTER CARRYING=(40,41) HOLDS=(9)");
    EXPECT_TRUE(carrier.result);
    EXPECT_EQ(carrier.contents, "40,41)");
    EXPECT_EQ(carrier.text, "");

    Translation mirror = translate("22 TYPE_MIRROR 1 1 0 CENTER HOLDS=(Iron Hand)");
    EXPECT_FALSE(mirror.result);
    EXPECT_EQ(mirror.contents, "");
}

TEST(BehaviourCharge, PowerLevelChangesAtTheBordersOfItsTable)
{
    const std::vector<std::pair<const char*, const char*>> levels{
        {"0", "1"},  {"16", "1"}, {"17", "2"}, {"33", "2"}, {"34", "3"},   {"49", "3"},    {"50", "4"},
        {"66", "4"}, {"67", "5"}, {"83", "5"}, {"84", "6"}, {"99", "6"},   {"100", "1"},   {"116", "1"},
        {"117", "2"}, {" 99x", "6"}, {"abc", "1"}, {"", "1"}, {"99999999999", "1"}, {"-50", "-2"},
    };
    for (const auto& [charge, level] : levels) {
        EXPECT_EQ(translate(std::string("3 TYPE_BOMB 1 1 0 CENTER CHARGE=(") + charge + ")").text,
                  std::string("exvar[TVK_3]={power=") + level + "}\n")
            << charge;
    }
    const std::string largest = translate("3 TYPE_FLASK 1 1 0 CENTER CHARGE=(2147483647)").text;
    EXPECT_EQ(largest, "exvar[TVK_3]={power=" + std::to_string(2147483647LL * 6 / 100 % 6 + 1) + "}\n");
}

TEST(BehaviourTraps, KeywordsInsideOtherKeywordsCountAsTheyStand)
{
    expect_examples({
        {"1 TYPE_ALTAR 1 1 0 CENTER ACTIVATE", "exvar[TVK_1]={msg=M_ACTIVATE}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER DEACTIVATE", "exvar[TVK_1]={msg=M_DEACTIVATE}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER TEXT=(RELEASE ME)", "exvar[TVK_1]={release=true,text=\"RELEASE ME\"}\n"},
        {"6 TYPE_DAMAGER 1 1 0 CENTER TYPE=(DOUBLE) DAMAGE=(4)", "exvar[TVK_6]={dmg_amt=4,dmg_type=DOUBLE}\n"},
        {"6 TYPE_DAMAGER 1 1 0 CENTER DAMAGE=(4)", "exvar[TVK_6]={dmg_amt=4}\n"},
        {"8 TYPE_SHOOTER 1 1 0 CENTER SHOOTS=(W) TYPE=(SINGLE)", "exvar[TVK_8]={double=false,shoots=\"N\"}\n"},
        {"8 TYPE_SHOOTER 1 1 0 CENTER SHOOTS=(OBJECT)", "exvar[TVK_8]={double=false}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(SPELL)", "exvar[TVK_1]={}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(MOUSE)", ""},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(MOUSE,W)", ""},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(FIREBALL)", "exvar[TVK_1]={opby_party=true,opby_monster=true,opby_thing=true}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(MONSTER,W)", "exvar[TVK_1]={opby_monster=true}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER TARGET=(NULL)", ""},
        {"1 TYPE_ALTAR 1 1 0 CENTER TARGET=(NULL) DELAY:5, TOGGLE", "exvar[TVK_1]={msg=M_TOGGLE}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER DELAY:5, ROTATE:NORTH)", ""},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER DESTINATION=(0,0,0) ROTATE:NORTHEAST)",
         "exvar[TVK_7]={silent=true,x=0,y=0,lev=0,face=NORTH}\n"},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER SOUND:NULL TEXT=(x)", "exvar[TVK_7]={silent=true,text=\"x\"}\n"},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER SOUND:SOUND_TP_WHOOSH) TEXT=(x)",
         "exvar[TVK_7]={sound=\"whoosh\",text=\"x\"}\n"},
        {"9 TYPE_FLOORTEXT 1 1 0 CENTER", ""},
        {"9 TYPE_FLOORTEXT 1 1 0 CENTER TEXT=(A\\B\\\\C)",
         "exvar[TVK_9]={color={255,255,255},disable_self=true,text=\"A/B//C\"}\n"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(W) HEALTH=(30)", "exvar[TVK_4]={generates=\"N\",hp=30}\n"},
        {"5 TYPE_ALTAR 1 1 0 CENTER HEALTH=(30) STATE=(OPEN )", "kel_set_maxhp(TVK_5,30)\nkel_set_hp(TVK_5,30)\n"},
        {"5 TYPE_LEVER 1 1 0 CENTER STATE:OPEN", ""},
        {"5 TYPE_ALTAR 1 1 0 CENTER STATE:B STATE=(OPEN)", ""},
        {"5 TYPE_ALTAR 1 1 0 CENTER STATE=(INACTIVE)", "kel_disable(TVK_5)\n"},
    });

    // A keyword at the very start or end of a line counts as anywhere else, as the identifier too.
    for (const char* keyword : {"DISABLE_SELF", "DESTROY_ITEM", "RELEASE"}) {
        const std::string lines[] = {keyword + std::string(" TYPE_ALTAR 1 1 0 CENTER"),
                                     "1 TYPE_ALTAR 1 1 0 CENTER " + std::string(keyword)};
        const auto text = std::find(scanned_texts.begin(), scanned_texts.end(), std::string_view(keyword));
        const auto k = static_cast<std::size_t>(text - scanned_texts.begin());
        for (const std::string& line : lines) EXPECT_EQ(KeywordScan(line).first(k), line.find(keyword)) << line;
    }
    EXPECT_EQ(translate("DISABLE_SELF TYPE_ALTAR 1 1 0 CENTER").text, "exvar[TVK_DISABLE_SELF]={disable_self=true}\n");

    ObjectList names = test_names();
    names.add("MONSTER", "golem");
    EXPECT_EQ(translate("1 TYPE_ALTAR 1 1 0 CENTER OPBY=(MONSTER)", names).text, "exvar[TVK_1]={opby=\"golem\"}\n");
}

struct Refused {
    const char* line;
    const char* text;
    const char* problem;
};

TEST(BehaviourUnsafeValuesInLua, ValuesThatCannotStandInTheScriptAreLeftOutAndReported)
{
    const std::vector<Refused> cases{
        {"1 TYPE_ALTAR 1 1 0 CENTER TARGET=(5) DELAY:5 x, ", "exvar[TVK_1]={target=TVK_5}\n",
         "the DELAY: value \"5 x\" is not a number or name; it is left out"},
        {"1 TYPE_ALTAR 1 1 0 CENTER TARGET=(5,a;os.exit()", "exvar[TVK_1]={}\n",
         "the target \"a;os.exit(\" in TARGET=( is not an object identifier; the targets are left out"},
        {"1 TYPE_ALTAR 1 1 0 CENTER CHARGE=(1+1)", "exvar[TVK_1]={}\n",
         "the CHARGE=( value \"1+1\" is not a number or name; it is left out"},
        {"8 TYPE_SHOOTER 1 1 0 CENTER SHOOTS=(OBJECT) STRENGTH=(end)", "exvar[TVK_8]={double=false}\n",
         "the STRENGTH=( value \"end\" is not a number or name; it is left out"},
        {"6 TYPE_DAMAGER 1 1 0 CENTER DAMAGE=(\"x\") TYPE=(2)", "exvar[TVK_6]={dmg_type=2}\n",
         "the DAMAGE=( value \"\\\"x\\\"\" is not a number or name; it is left out"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(W) NUMBERS=(1-3", "exvar[TVK_4]={generates=\"N\"}\n",
         "NUMBERS=( has no \")\"; the minimum and maximum are left out"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(W) NUMBERS=()", "exvar[TVK_4]={generates=\"N\"}\n",
         "the NUMBERS=( minimum value \")\" is not a number or name; it is left out"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(W) HEALTH=(-) RECHARGE_TIME:9", "exvar[TVK_4]={generates=\"N\",regen=9}\n",
         "the HEALTH=( value \"-\" is not a number or name; it is left out"},
        {"2 TYPE_ALTAR 1 1 0 CENTER COUNT=(3]]) HEALTH=(1.)", "exvar[TVK_2]={}\n",
         "the COUNT=( value \"3]]\" is not a number or name; it is left out"},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER DESTINATION=(3,x,1) ROTATE:LEFT)", "exvar[TVK_7]={silent=true}\n",
         "the DESTINATION=( value \"3,x,1\" is not three integers; the destination is left out"},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER DESTINATION=(3,4,2)", "exvar[TVK_7]={silent=true}\n",
         "the DESTINATION=( level 2 is not a level of the layout; the destination is left out"},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER DESTINATION=(2147483647,4,1)", "exvar[TVK_7]={silent=true}\n",
         "the DESTINATION=( square \"2147483647,4,1\" is out of range; the destination is left out"},
        {"7 TYPE_TELEPORTER 1 1 0 CENTER SOUND:SOUND_CLICK)", "exvar[TVK_7]={silent=true}\n",
         "the sound \"SOUND:SOUND_CLICK\" is not of the form SOUND:SOUND_group_name; it is left out"},
        {"7 TYPE_ALTAR 1 1 0 CENTER SOUND:BANG", "exvar[TVK_7]={}\n",
         "the sound \"SOUND:BANG\" is not of the form SOUND:SOUND_group_name; it is left out"},
        {"22 TYPE_MIRROR 1 1 0 CENTER HOLDS=(9 Lives)", "exvar[TVK_22]={}\n",
         "the champion \"9 Lives\" in HOLDS=( is not a champion identifier; it is left out"},
    };
    for (const auto& refused : cases) {
        const Translation t = translate(refused.line);
        EXPECT_EQ(t.text, refused.text) << refused.line;
        ASSERT_FALSE(t.problems.empty()) << refused.line;
        EXPECT_EQ(t.problems[0].message, refused.problem) << refused.line;
        expect_lua_text_compiles(t.text);
    }
}

TEST(BehaviourUnsafeValuesInLua, QuotedTextsAreEscapedSoTheyCannotEndTheirString)
{
    expect_examples({
        {"1 TYPE_ALTAR 1 1 0 CENTER TEXT=(HI\" .. error\"X\" --\\\t)",
         "exvar[TVK_1]={text=\"HI\\\" .. error\\\"X\\\" --/\\009\"}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(K\"EY)", "exvar[TVK_1]={opby=\"K\\\"EY\"}\n"},
        {"1 TYPE_ALTAR 1 1 0 CENTER OPBY=(QUOTE)", "exvar[TVK_1]={opby=\"a\\\"b\"}\n"},
        {"8 TYPE_SHOOTER 1 1 0 CENTER SHOOTS=(\\\"]])", "exvar[TVK_8]={double=false,shoots=\"\\\\\\\"]]\"}\n"},
        {"4 TYPE_GENERATOR 1 1 0 CENTER GENERATES=(\")", "exvar[TVK_4]={generates=\"\\\"\"}\n"},
        {"7 TYPE_ALTAR 1 1 0 CENTER SOUND:SOUND_A_\"B\\)", "exvar[TVK_7]={sound=\"\\\"b\\\\\"}\n"},
    });
    expect_lua_text_compiles(translate("1 TYPE_ALTAR 1 1 0 CENTER TEXT=(HI\" .. error\"X\" --\\\t)").text);
}

// The script of the unsafe case runs in Lua 5.1 with every engine call stubbed: it must run to its
// end without calling anything the dump wrote, and every text must arrive exactly as the dump held it.
TEST(BehaviourUnsafeValuesInLua, ScriptWithHostileTextsRunsNoneOfThem)
{
    const std::string lua = D2L_LUA;
    ASSERT_FALSE(lua.empty()) << "lua5.1 was not found when the tests were configured";
    const RunResult run = run_converter_on(std::filesystem::path(D2L_CASES_DIR) / "behaviour_unsafe_text");
    ASSERT_EQ(run.status, 0);

    const std::filesystem::path folder = run.script_path.parent_path();
    write_file(folder / "run.lua",
               "exvar = {}\n"
               "setmetatable(_G, {__index = function() return function() return {} end end})\n" +
                   run.script +
                   "\nio.write(exvar[TVK_1].text, '\\n', exvar[TVK_2].opby, '\\n', exvar[TVK_3].shoots, '\\n',"
                   " exvar[TVK_4].generates, '\\n', exvar[TVK_5].sound, '\\n')\n");
    const std::string command =
        "'" + lua + "' '" + (folder / "run.lua").string() + "' > '" + (folder / "run.out").string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(read_file(folder / "run.out"), "HI\" .. error\"INJECTED\" .. \"/\n"
                                             "K\"..error\"X\"..\"\n"
                                             "\"..error\"S\"..\"\n"
                                             "]]..error\"G\"..[[\n"
                                             "\"..error\"q\"..\"\n");
}

} // namespace
