// Rules, character and sound files as the launcher writes them (CP932, CR LF).
#include "format/game_rules.h"

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
    riichi::Rules rules;
    ASSERT_TRUE(ReadRulesFile(path, rules));
    EXPECT_FALSE(rules.eastOnly);
    EXPECT_EQ(rules.startPoint, 30000);
    EXPECT_EQ(rules.yakumanChip, 5);
    EXPECT_EQ(rules.ippatsuChip, 0);
    EXPECT_EQ(rules.uraDoraChip, 1);
    EXPECT_TRUE(rules.noBustOut);
    EXPECT_FALSE(rules.under);
    EXPECT_TRUE(rules.roundUpMangan);
    EXPECT_TRUE(rules.noRedFives);  // an empty flag value is on, as the rule editor reads it
    EXPECT_EQ(rules.uma, riichi::Uma::SevenFiveThree);
}

TEST(GameRulesTest, UnreadableFileKeepsTheDefaults) {
    riichi::Rules rules;
    rules.startPoint = 30000;
    EXPECT_FALSE(ReadRulesFile("/nonexistent/zelvan1.pf", rules));
    EXPECT_EQ(rules.startPoint, 30000);
    EXPECT_TRUE(rules.eastOnly);
}

TEST(GameRulesTest, SummaryNamesLengthStartScoreAndBonus) {
    riichi::Rules rules;
    rules.eastOnly = false;
    rules.uma = riichi::Uma::Under;
    rules.ippatsuChip = 3;
    auto lines = RulesSummary(rules);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "荘: 東南戦");
    EXPECT_EQ(lines[1], "持ち点: 25000");
    EXPECT_EQ(lines[2], "ウマ: 沈みウマ (under)");
    EXPECT_EQ(lines[3], "御祝儀: 役満 2 / 一発 3 / ウラドラ 1 / 赤ドラ 1");
    rules.uma = riichi::Uma::FiveTen;
    EXPECT_EQ(RulesSummary(rules)[2], "ウマ: ゴットー (5-10)");
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

TEST(GameRulesTest, CharacterFileGivesEveryWeight) {
    test::TempDir dir;
    // As the character maker writes it: the five yaku weights twice, and two
    // zone lines (same tiles, then numbers).
    std::string path = dir.Write(
        "_min.pf", Pf("param: yaku = 900\r\nparam: chitoi = 10\r\nparam: kokushi = 20\r\n"
                      "param: toitoi = 30\r\nparam: tanyao = 40\r\nparam: kyusyu = 50\r\n"
                      "param: random = 5000\r\nparam: dora = -5\r\nparam: color = 70\r\n"
                      "param: suji = 80\r\nparam: zone = 90\r\nparam: deep = 123456\r\n"
                      "param: reach = 110\r\nparam: kan = 120\r\nparam: pon = 130\r\nparam: tie = 140\r\n"
                      "param: yomi = 150\r\nparam: zone = 160\r\nparam: tsuyoki = -170\r\n"
                      "param: chitoi = 11\r\nparam: number = 999\r\n"));
    CharacterStyle s;
    ASSERT_TRUE(ReadCharacterFile(path, s));
    EXPECT_EQ(s.yaku, 900);
    EXPECT_EQ(s.chitoi, 11);  // the last line of a key wins
    EXPECT_EQ(s.kokushi, 20);
    EXPECT_EQ(s.toitoi, 30);
    EXPECT_EQ(s.tanyao, 40);
    EXPECT_EQ(s.kyusyu, 50);
    EXPECT_EQ(s.random, 1000);
    EXPECT_EQ(s.dora, 0);
    EXPECT_EQ(s.color, 70);
    EXPECT_EQ(s.suji, 80);
    EXPECT_EQ(s.zone, 90);     // the first zone line
    EXPECT_EQ(s.number, 160);  // the second; "number" is no key of the file
    EXPECT_EQ(s.deep, 100000);
    EXPECT_EQ(s.reach, 110);
    EXPECT_EQ(s.kan, 120);
    EXPECT_EQ(s.pon, 130);
    EXPECT_EQ(s.tie, 140);
    EXPECT_EQ(s.yomi, 150);
    EXPECT_EQ(s.tsuyoki, -170);

    CharacterStyle one;
    ASSERT_TRUE(ReadCharacterFile(dir.Write("one.pf", Pf("param: zone = 420\r\n")), one));
    EXPECT_EQ(one.zone, 420);
    EXPECT_EQ(one.number, 420);  // one zone line sets both
    EXPECT_EQ(one.kyusyu, players::Weights{}.kyusyu);
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
