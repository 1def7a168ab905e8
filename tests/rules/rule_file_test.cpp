#include "rules/rule_file.h"

#include <gtest/gtest.h>

#include <set>

#include "support/fault_env.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using test::SaveFault;

// The file a first save of the defaults writes, byte for byte.
const char kDefaultRulesFile[] =
    "#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\n"
    "param: tonpu = 1\r\n"
    "param: nopintumo = 0\r\nparam: noakadora = 0\r\nparam: nonakitan = 0\r\n"
    "param: nokanura = 0\r\nparam: nofly = 0\r\nparam: under = 0\r\n"
    "param: nonakiaka = 0\r\nparam: noallstars = 0\r\n"
    "param: startpoint = 25000\r\n"
    "param: yakuman-chip = 2\r\nparam: ippatu-chip = 1\r\n"
    "param: uradora-chip = 1\r\nparam: akadora-chip = 1\r\n"
    "param: atamahane = 0\r\nparam: nosancyaho = 0\r\nparam: nokuikae = 0\r\n"
    "param: pao = 0\r\nparam: 77mangan = 0\r\n"
    "param: uma = 10-20\r\n";

LocalRules ReadText(const std::string& text) {
    test::TempDir dir;
    dir.Write("r.pf", text);
    LocalRules rules;
    EXPECT_TRUE(ReadRulesFile(dir.Path("r.pf"), rules));
    return rules;
}

TEST(RuleFile, DefaultsAreWrittenInKeyOrderAfterTheHeader) {
    test::TempDir dir;
    ASSERT_EQ(WriteRulesFile(dir.Path("zelvan1.pf"), LocalRules()), SaveResult::Saved);
    EXPECT_EQ(dir.Read("zelvan1.pf"), kDefaultRulesFile);
}

TEST(RuleFile, KeyTableNamesEveryKeyAndComponentOnce) {
    std::set<std::string> keys, components;
    for (const RuleKey& entry : kRuleKeys) {
        EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
        if (*entry.component) {
            EXPECT_TRUE(components.insert(entry.component).second) << entry.component;
        }
    }
    for (const UmaChoice& choice : kUmaChoices) EXPECT_TRUE(components.insert(choice.component).second);
    EXPECT_EQ(std::string(kRuleKeys.back().key), "uma");
    EXPECT_EQ(std::string(kUmaChoices[kDefaultUma].component), "uma_1_2");
}

TEST(RuleFile, DropDownItems) {
    auto points = RuleTextItems("startpoint");
    ASSERT_EQ(points.size(), 8u);
    EXPECT_EQ(points.front(), "23000");
    EXPECT_EQ(points.back(), "30000");
    for (const char* chip : {"yakuman-chip", "ippatu-chip", "uradora-chip", "akadora-chip"}) {
        auto chips = RuleTextItems(chip);
        ASSERT_EQ(chips.size(), 10u) << chip;
        EXPECT_EQ(chips.front(), "0");
        EXPECT_EQ(chips.back(), "9");
    }
    EXPECT_TRUE(RuleTextItems("nofly").empty());
}

TEST(RuleFile, FlagsAreOffOnlyForZero) {
    LocalRules rules = ReadText(
        "param: nofly = 1\r\nparam: under =\r\nparam: pao\r\nparam: nokuikae = yes\r\n"
        "param: noakadora = 1\r\nparam: noakadora = 0\r\n");
    EXPECT_TRUE(rules.flags["nofly"]);
    EXPECT_TRUE(rules.flags["under"]);  // empty value
    EXPECT_TRUE(rules.flags["pao"]);    // no value word at all
    EXPECT_TRUE(rules.flags["nokuikae"]);
    EXPECT_FALSE(rules.flags["noakadora"]);  // the last occurrence wins
    EXPECT_FALSE(rules.flags["nonakitan"]);  // absent: default kept
}

TEST(RuleFile, GameLengthReadsOneZeroOrNeither) {
    EXPECT_EQ(ReadText("param: tonpu = 1\n").length, GameLength::EastOnly);
    EXPECT_EQ(ReadText("param: tonpu = 0\n").length, GameLength::EastSouth);
    for (const char* odd : {"param: tonpu = 2\n", "param: tonpu = \n", "param: tonpu = 01\n"}) {
        LocalRules rules = ReadText(odd);
        EXPECT_EQ(rules.length, GameLength::Unset) << odd;
        EXPECT_EQ(RuleParams(rules).front(), (std::pair<std::string, std::string>{"tonpu", "0"}));
    }
}

TEST(RuleFile, UmaWordsAndUnknownWord) {
    for (std::size_t i = 0; i < kUmaChoices.size(); ++i) {
        LocalRules rules = ReadText(std::string("param: uma = ") + kUmaChoices[i].word + "\r\n");
        for (std::size_t j = 0; j < kUmaChoices.size(); ++j) EXPECT_EQ(rules.uma[j], i == j);
        EXPECT_EQ(RuleParams(rules).back().second, kUmaChoices[i].word);
    }
    for (const char* odd : {"param: uma = 20-40\n", "param: uma = \n", "param: uma = None\n"}) {
        LocalRules rules = ReadText(std::string("param: uma = none\n") + odd);
        EXPECT_EQ(rules.uma, (std::array<bool, 6>{false, false, true, false, false, false})) << odd;
    }
}

TEST(RuleFile, UmaLineForEveryCheckedChoice) {
    LocalRules rules;
    rules.uma = {true, false, false, false, false, true};
    PersonalParams params = RuleParams(rules);
    ASSERT_EQ(params.size(), 21u);
    EXPECT_EQ(params[19], (std::pair<std::string, std::string>{"uma", "none"}));
    EXPECT_EQ(params[20], (std::pair<std::string, std::string>{"uma", "under"}));
    rules.uma = {};
    EXPECT_EQ(RuleParams(rules).size(), 19u);
}

TEST(RuleFile, TextValuesAreKeptAsTheyStand) {
    LocalRules rules = ReadText(
        "#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\n"
        "param: startpoint = \x82\x51\x82\x54\x90\xe7\r\n"  // "２５千" in CP932
        "param: yakuman-chip = 12\r\nparam: ippatu-chip = three chips\r\nparam: akadora-chip =\r\n"
        "param: unknown = 5\r\n# param: uradora-chip = 7\r\n");
    EXPECT_EQ(rules.texts["startpoint"], "２５千");
    EXPECT_EQ(rules.texts["yakuman-chip"], "12");
    EXPECT_EQ(rules.texts["ippatu-chip"], "three");  // read back up to its first blank
    EXPECT_EQ(rules.texts["akadora-chip"], "");
    EXPECT_EQ(rules.texts["uradora-chip"], "1");
    EXPECT_EQ(rules.texts.count("unknown"), 0u);
    EXPECT_EQ(rules.flags.count("unknown"), 0u);

    test::TempDir dir;
    ASSERT_EQ(WriteRulesFile(dir.Path("s.pf"), rules), SaveResult::Saved);
    std::string bytes = dir.Read("s.pf");
    EXPECT_NE(bytes.find("param: startpoint = \x82\x51\x82\x54\x90\xe7\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("param: akadora-chip = \r\n"), std::string::npos);
    LocalRules again;
    ReadRulesFile(dir.Path("s.pf"), again);
    EXPECT_EQ(again.texts, rules.texts);
}

TEST(RuleFile, MissingOrUnreadableFileChangesNothing) {
    test::TempDir dir;
    LocalRules rules;
    rules.flags["pao"] = true;
    rules.texts["startpoint"] = "27000";
    EXPECT_FALSE(ReadRulesFile(dir.Path("none.pf"), rules));
    EXPECT_FALSE(ReadRulesFile(dir.path(), rules));  // a folder
    EXPECT_TRUE(rules.flags["pao"]);
    EXPECT_EQ(rules.texts["startpoint"], "27000");
}

TEST(RuleFile, PathFollowsTheGameKind) {
    EXPECT_EQ(RulesFilePath("/i/usr/bob", 1), "/i/usr/bob/zelvan1.pf");
    for (int kind : {0, 2, 4, -1}) EXPECT_EQ(RulesFilePath("/i/usr/bob", kind), "/i/usr/bob/server.pf");
    EXPECT_FALSE(IsServerRules(1));
    EXPECT_TRUE(IsServerRules(0));
}

TEST(RuleFile, StorableText) {
    for (const char* ok : {"", "25000", "２万五千", "a b", "\t", "ﾃｽﾄ"})
        EXPECT_TRUE(IsStorableRuleText(ok)) << ok;
    for (const char* bad : {"1\n2", "1\r", "\xF0\x9F\x80\x84", "\xE4\xB8"})
        EXPECT_FALSE(IsStorableRuleText(bad));
}

TEST(RuleFile, FailedSaveKeepsTheOldFile) {
    test::TempDir dir;
    test::FaultInjectionEnv faults;
    std::string path = dir.Write("zelvan1.pf", "old contents\r\n");
    for (SaveFault fault : {SaveFault::Create, SaveFault::Write, SaveFault::Rename}) {
        faults.Inject(fault);
        EXPECT_NE(WriteRulesFile(path, LocalRules()), SaveResult::Saved);
        faults.Inject(SaveFault::None);
        EXPECT_EQ(dir.Read("zelvan1.pf"), "old contents\r\n");
    }
    EXPECT_EQ(WriteRulesFile(dir.Path("missing/zelvan1.pf"), LocalRules()), SaveResult::CannotCreate);
}

}  // namespace
}  // namespace zv
