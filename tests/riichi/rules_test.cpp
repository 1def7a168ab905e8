#include "riichi/rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zv::riichi {
namespace {

// What the rule editor writes after its header, every key set away from its
// default.
TEST(RulesTest, ReadsTheRuleEditorsFile) {
    const char* text =
        "#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\n"
        "param: tonpu = 0\r\nparam: nopintumo = 1\r\nparam: noakadora = 1\r\n"
        "param: nonakitan = 1\r\nparam: nokanura = 1\r\nparam: nofly = 1\r\nparam: under = 1\r\n"
        "param: nonakiaka = 1\r\nparam: noallstars = 1\r\nparam: startpoint = 30000\r\n"
        "param: yakuman-chip = 5\r\nparam: ippatu-chip = 0\r\nparam: uradora-chip = 3\r\n"
        "param: akadora-chip = 4\r\nparam: atamahane = 1\r\nparam: nosancyaho = 1\r\n"
        "param: nokuikae = 1\r\nparam: pao = 1\r\nparam: 77mangan = 1\r\nparam: uma = 7-5-3";
    Rules r = RulesFromText(text);
    EXPECT_FALSE(r.eastOnly);
    EXPECT_TRUE(r.noPinfuTsumo && r.noRedFives && r.noOpenTanyao && r.noKanUra && r.noBustOut);
    EXPECT_TRUE(r.under && r.redFivesClosedOnly && r.noAllStars && r.headBump && r.noTripleRonDraw);
    EXPECT_TRUE(r.noSwapCalling && r.pao && r.roundUpMangan);
    EXPECT_EQ(r.startPoint, 30000);
    EXPECT_EQ(r.yakumanChip, 5);
    EXPECT_EQ(r.ippatsuChip, 0);
    EXPECT_EQ(r.uraDoraChip, 3);
    EXPECT_EQ(r.redFiveChip, 4);
    EXPECT_EQ(r.uma, Uma::SevenFiveThree);
}

TEST(RulesTest, FlagsAreOffOnlyForZero) {
    Rules r;
    for (const char* on : {"1", "", "yes", "00", "-1"}) {
        r.noBustOut = false;
        ApplyRuleKey(r, "nofly", on);
        EXPECT_TRUE(r.noBustOut) << '"' << on << '"';
    }
    ApplyRuleKey(r, "nofly", "0");
    EXPECT_FALSE(r.noBustOut);
    // A flag line without its value word is on.
    EXPECT_TRUE(RulesFromText("param: pao\n").pao);
    EXPECT_TRUE(RulesFromText("param: pao = \n").pao);
}

TEST(RulesTest, TonpuKeepsItsValueForOtherWords) {
    Rules r;
    ApplyRuleKey(r, "tonpu", "0");
    EXPECT_FALSE(r.eastOnly);
    ApplyRuleKey(r, "tonpu", "2");
    EXPECT_FALSE(r.eastOnly);
    ApplyRuleKey(r, "tonpu", "1");
    EXPECT_TRUE(r.eastOnly);
    ApplyRuleKey(r, "tonpu", "");
    EXPECT_TRUE(r.eastOnly);
}

TEST(RulesTest, NumbersThatDoNotParseKeepTheValue) {
    Rules r;
    ApplyRuleKey(r, "startpoint", "27000");
    ApplyRuleKey(r, "startpoint", "27000pts");
    ApplyRuleKey(r, "startpoint", "");
    ApplyRuleKey(r, "startpoint", "99999999999999");
    EXPECT_EQ(r.startPoint, 27000);
    ApplyRuleKey(r, "yakuman-chip", "-3");
    EXPECT_EQ(r.yakumanChip, 0);  // clamped to the sensible range
    ApplyRuleKey(r, "startpoint", "5");
    EXPECT_EQ(r.startPoint, 1000);
}

TEST(RulesTest, UmaWords) {
    for (Uma u : {Uma::None, Uma::FiveTen, Uma::TenTwenty, Uma::TenThirty, Uma::SevenFiveThree, Uma::Under}) {
        Rules r;
        r.uma = Uma::None == u ? Uma::Under : Uma::None;
        ApplyRuleKey(r, "uma", UmaWord(u));
        EXPECT_EQ(r.uma, u) << UmaWord(u);
    }
    EXPECT_EQ(UmaWord(Uma::SevenFiveThree), "7-5-3");
    Rules r;
    r.uma = Uma::None;
    ApplyRuleKey(r, "uma", "1-2");
    EXPECT_EQ(r.uma, Uma::TenTwenty);  // any other word
    r.uma = Uma::None;
    ApplyRuleKey(r, "uma", "UNDER");
    EXPECT_EQ(r.uma, Uma::TenTwenty);  // words are case-sensitive
}

// Lines are read as the launcher reads them: only "param:" lines (or bare
// "key value" lines) count, the last occurrence wins, keys are exact.
TEST(RulesTest, LineReadingMatchesTheLauncher) {
    EXPECT_TRUE(RulesFromText("#param: nofly = 1\nparam: nofly = 0\n\nparam:\tnofly\t=\t1").noBustOut);
    EXPECT_FALSE(RulesFromText("# param: nofly = 1\n").noBustOut);
    EXPECT_FALSE(RulesFromText("Param: nofly = 1\n").noBustOut);
    EXPECT_FALSE(RulesFromText("param: nofly=1\n").noBustOut);  // key "nofly=1" is unknown
    EXPECT_FALSE(RulesFromText("param: NOFLY = 1\n").noBustOut);
    EXPECT_TRUE(RulesFromText("   param: nofly = 1\n").noBustOut);  // leading blanks make no word
    EXPECT_EQ(RulesFromText("param: startpoint = 26000\nparam: startpoint = 28000\n").startPoint, 28000);
    EXPECT_EQ(RulesFromText("param: startpoint = 26000 points\n").startPoint, 26000);  // fourth word only
    EXPECT_EQ(RulesFromText("uma 5-10\r\nstartpoint 24000\r\n").uma, Uma::FiveTen);
    EXPECT_EQ(RulesFromText("uma 5-10\r\nstartpoint 24000\r\n").startPoint, 24000);
    EXPECT_EQ(RulesFromText("param: unknown = 1\nwhatever: x\n\x01\xff\n").startPoint, 25000);
}

// The key table: every field of Rules has exactly one key, and what a key
// writes reads back to the same rules.
TEST(RulesTest, KeyTableWritesWhatItReads) {
    Rules changed;
    changed.eastOnly = false;
    changed.startPoint = 30000;
    changed.yakumanChip = 5;
    changed.ippatsuChip = 0;
    changed.uraDoraChip = 3;
    changed.redFiveChip = 4;
    changed.uma = Uma::SevenFiveThree;
    for (bool Rules::*flag :
         {&Rules::noPinfuTsumo, &Rules::noRedFives, &Rules::noOpenTanyao, &Rules::noKanUra, &Rules::noBustOut,
          &Rules::under, &Rules::redFivesClosedOnly, &Rules::noAllStars, &Rules::headBump,
          &Rules::noTripleRonDraw, &Rules::noSwapCalling, &Rules::pao, &Rules::roundUpMangan})
        changed.*flag = true;

    Rules back;
    for (const RuleKey& key : RuleKeys()) ApplyRuleKey(back, key.key, RuleValue(changed, key));
    for (const RuleKey& key : RuleKeys()) EXPECT_EQ(RuleValue(back, key), RuleValue(changed, key)) << key.key;
    // Each key moved one field away from its default: nothing was missed.
    Rules defaults;
    for (const RuleKey& key : RuleKeys())
        EXPECT_NE(RuleValue(defaults, key), RuleValue(changed, key)) << key.key;
    EXPECT_EQ(back.uma, Uma::SevenFiveThree);
    EXPECT_TRUE(back.roundUpMangan && back.pao && back.noAllStars);
}

TEST(RulesTest, KeyTableNamesEveryKeyOnceInWritingOrder) {
    std::vector<std::string> keys;
    for (const RuleKey& key : RuleKeys()) keys.emplace_back(key.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"tonpu",        "startpoint",   "yakuman-chip", "ippatu-chip",
                                              "uradora-chip", "akadora-chip", "uma",          "nopintumo",
                                              "noakadora",    "nonakitan",    "nokanura",     "nofly",
                                              "under",        "nonakiaka",    "noallstars",   "77mangan",
                                              "atamahane",    "nosancyaho",   "nokuikae",     "pao"}));
    Rules r;
    EXPECT_EQ(RuleValue(r, RuleKeys()[0]), "1");      // tonpu: east only
    EXPECT_EQ(RuleValue(r, RuleKeys()[1]), "25000");  // startpoint
    EXPECT_EQ(RuleValue(r, RuleKeys()[6]), "10-20");  // uma
    EXPECT_EQ(RuleValue(r, RuleKeys()[7]), "0");      // nopintumo
}

}  // namespace
}  // namespace zv::riichi
