// Rules, character and sound files as the launcher writes them (CP932, CR LF).
#include "game_rules.h"

#include <gtest/gtest.h>

#include "config/codec.h"
#include "support/temp_dir.h"

namespace zv::engine {
namespace {

std::string Pf(const std::string& body) {
    return ToCp932("#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\n" + body);
}

TEST(GameRulesTest, ReadsTheRuleEditorsKeys) {
    test::TempDir dir;
    std::string path =
        dir.Write("zelvan1.pf", Pf("param: tonpu = 0\r\nparam: startpoint = 30000\r\n"
                                   "param: yakuman-chip = 5\r\nparam: ippatu-chip = 0\r\n"
                                   "param: nofly = 1\r\nparam: under = 0\r\nparam: 77mangan = 1\r\n"
                                   "param: noakadora = \r\nparam: unknown = 3\r\nparam: uma = 7-5-3\r\n"));
    GameRules rules;
    ASSERT_TRUE(ReadRulesFile(path, rules));
    EXPECT_FALSE(rules.eastOnly);
    EXPECT_EQ(rules.startPoint, 30000);
    EXPECT_EQ(rules.yakumanChip, 5);
    EXPECT_EQ(rules.ippatuChip, 0);
    EXPECT_EQ(rules.uradoraChip, 1);
    EXPECT_TRUE(rules.noFly);
    EXPECT_FALSE(rules.under);
    EXPECT_TRUE(rules.mangan77);
    EXPECT_TRUE(rules.noAkadora);  // an empty flag value is on, as the rule editor reads it
    EXPECT_EQ(rules.uma, "7-5-3");
}

TEST(GameRulesTest, OddValuesKeepPlayableRules) {
    GameRules rules;
    ApplyRule(rules, "tonpu", "2");  // neither: unchanged
    EXPECT_TRUE(rules.eastOnly);
    ApplyRule(rules, "startpoint", "lots");
    EXPECT_EQ(rules.startPoint, 25000);
    ApplyRule(rules, "startpoint", "-500");
    EXPECT_EQ(rules.startPoint, 1000);  // pulled up to a playable score
    ApplyRule(rules, "akadora-chip", "99999999999");
    EXPECT_EQ(rules.akadoraChip, 1);
    ApplyRule(rules, "uma", "bogus");
    EXPECT_EQ(rules.uma, "10-20");
    EXPECT_FALSE(ReadRulesFile("/nonexistent/zelvan1.pf", rules));
}

TEST(GameRulesTest, SummaryNamesLengthStartScoreAndBonus) {
    GameRules rules;
    rules.eastOnly = false;
    rules.uma = "under";
    auto lines = RulesSummary(rules);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "荘: 東南戦");
    EXPECT_EQ(lines[1], "持ち点: 25000");
    EXPECT_EQ(lines[2], "ウマ: 沈みウマ (under)");
}

TEST(GameRulesTest, CharacterFileGivesStyleAndShownName) {
    test::TempDir dir;
    std::string path = dir.Write("_todo.pf", ToCp932("#!/bin/sh\r\n# zelvan personal file\r\n\r\n\r\n"
                                                     "param: reach = 5000\r\nparam: tsuyoki = -40\r\n"
                                                     "param: name = トド　さん\r\n\r\n"));
    CharacterStyle style;
    ASSERT_TRUE(ReadCharacterFile(path, style));
    EXPECT_TRUE(style.found);
    EXPECT_EQ(style.displayName, "トド　さん");
    EXPECT_EQ(style.reach, 1000);
    EXPECT_EQ(style.tsuyoki, -40);
    CharacterStyle missing;
    EXPECT_FALSE(ReadCharacterFile(dir.Path("none.pf"), missing));
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.reach, 700);
}

TEST(GameRulesTest, SoundTableFallsBackToDefaultNames) {
    test::TempDir dir;
    std::string path = dir.Write("sound.nuc", ToCp932("(define sound_1st \"C:\\snd\\一位.wav\")\r\n"
                                                      "(define other \"x\")\r\n"));
    SoundTable table = ReadSoundTable(path);
    EXPECT_EQ(SoundFor(table, "sound_1st"), "C:\\snd\\一位.wav");
    EXPECT_EQ(SoundFor(table, "sound_gameend"), "gameend.wav");
    EXPECT_EQ(table.count("other"), 0u);
    EXPECT_TRUE(ReadSoundTable(dir.Path("missing.nuc")).empty());
}

}  // namespace
}  // namespace zv::engine
