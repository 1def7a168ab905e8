// Game records: what an engine writes is read back whole by the analyser,
// and damaged records are summarised as far as they go, never a crash.
#include "game_record.h"

#include <gtest/gtest.h>

#include "config/codec.h"
#include "config/file_io.h"
#include "support/temp_dir.h"

namespace zv::engine {
namespace {

std::string Text(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::array<RecordSeat, 4> Seats() {
    return {{{"guest", "guest"}, {"_todo", "トド"}, {"_min", ""}, {"_wizard", "魔法使い"}}};
}

TEST(GameRecordTest, WrittenGamesReadBackWhole) {
    GameRules rules;
    rules.uma = "10-30";
    GameOutcome first = PlayGame(rules, {}, 11);
    GameOutcome second = PlayGame(rules, {}, 12);
    auto lines = RecordLines(1, "zelvan1", rules, Seats(), first);
    auto more = RecordLines(2, "zelvan1", rules, Seats(), second);
    lines.insert(lines.end(), more.begin(), more.end());
    RecordFile record = ParseRecord(std::string(kRecordMagic) + "\r\n" + Text(lines));
    EXPECT_TRUE(record.problems.empty()) << record.problems.front();
    ASSERT_EQ(record.games.size(), 2u);
    const RecordedGame& g = record.games[0];
    EXPECT_TRUE(g.complete);
    EXPECT_EQ(g.number, 1);
    EXPECT_EQ(g.program, "zelvan1");
    EXPECT_EQ(g.seed, "11");
    EXPECT_NE(g.rules.find("uma=10-30"), std::string::npos);
    EXPECT_EQ(g.seats[1].displayName, "トド");
    EXPECT_EQ(g.seats[2].displayName, "_min");  // an empty shown name is written as the name
    ASSERT_EQ(g.hands.size(), first.hands.size());
    for (std::size_t i = 0; i < g.hands.size(); ++i) {
        EXPECT_EQ(g.hands[i].end, first.hands[i].end);
        EXPECT_EQ(g.hands[i].winner, first.hands[i].winner);
        EXPECT_EQ(g.hands[i].yaku, first.hands[i].yaku);
        EXPECT_EQ(g.hands[i].scoresAfter, first.hands[i].scoresAfter);
        EXPECT_EQ(g.hands[i].reached, first.hands[i].reached);
    }
    ASSERT_EQ(g.finals.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(g.finals[i].place, static_cast<int>(i) + 1);
    for (const RecordedFinal& f : g.finals)
        EXPECT_EQ(f.points, first.players[static_cast<std::size_t>(f.seat)].points);
}

TEST(GameRecordTest, SavedAsCp932WithCrLf) {
    test::TempDir dir;
    GameOutcome game = PlayGame(GameRules{}, {}, 5);
    std::string path = dir.Path("zelvan1.fu");
    ASSERT_EQ(SaveRecord(path, RecordLines(1, "zelvan1", GameRules{}, Seats(), game)), "");
    std::string bytes = dir.Read("zelvan1.fu");
    EXPECT_EQ(bytes.rfind(std::string(kRecordMagic) + "\r\n", 0), 0u);
    EXPECT_NE(bytes.find(ToCp932("player: 1 _todo トド") + "\r\n"), std::string::npos);
    EXPECT_EQ(ParseRecord(*ReadTextFile(path)).games.size(), 1u);
    // A folder that is not there: a message, no file, no folder made.
    std::string problem = SaveRecord(dir.Path("missing/zelvan1.fu"), {"game: 1"});
    EXPECT_NE(problem.find("missing/zelvan1.fu"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
}

TEST(GameRecordTest, DamagedRecordsAreSummarisedAsFarAsTheyGo) {
    std::string text =
        "hand: E1 0 ron 1 2 1000 16 reach=0,0,0,0\r\n"  // before any game
        "game: 3\r\n"
        "player: 9 nobody x\r\n"
        "player: 0 guest guest\r\n"
        "hand: E5 0 ron 1 2 1000 16\r\n"
        "hand: E1 0 ron 1 1 1000 16\r\n"  // winner and loser the same
        "hand: S2 1 tsumo 3 - 8000 18,999,20 reach=1,0 delta=x\r\n"
        "hand: E1 0 win 1 2 1000\r\n"
        "final: 0 7 100 0 0\r\n"
        "final: 0 1 30000 5 1\r\n"
        "mystery: line\r\n";
    RecordFile record = ParseRecord(text);
    ASSERT_EQ(record.games.size(), 1u);
    const RecordedGame& g = record.games[0];
    EXPECT_FALSE(g.complete);
    ASSERT_EQ(g.hands.size(), 1u);
    EXPECT_EQ(g.hands[0].round, 1);
    EXPECT_EQ(g.hands[0].yaku, (std::vector<int>{18, 20}));  // 999 is no pattern
    EXPECT_EQ(g.finals.size(), 1u);
    EXPECT_EQ(record.problems.size(), 7u);
    auto summary = SummarizeRecord(record);
    std::string all;
    for (const auto& line : summary) all += line + "\n";
    EXPECT_NE(all.find("途中で終わっています"), std::string::npos);
    EXPECT_NE(all.find("読めなかった行: 7"), std::string::npos);
    EXPECT_NE(all.find("ツモ  席3  8000点  [ツモ、タンヤオ]"), std::string::npos);
    EXPECT_TRUE(SummarizeRecord(ParseRecord("")).size() == 1u);
}

TEST(GameRecordTest, YakuNamesByIndex) {
    EXPECT_EQ(YakuName(0), "役満");
    EXPECT_EQ(YakuName(16), "リーチ");
    EXPECT_EQ(YakuName(56), "ノーテンリーチ");
    EXPECT_EQ(YakuName(57), "");
    EXPECT_EQ(YakuName(60), "");
    EXPECT_EQ(YakuName(-1), "");
}

}  // namespace
}  // namespace zv::engine
