// Game records: what an engine writes is read back whole by the analyser,
// and damaged records are summarised as far as they go, never a crash.
#include "format/game_record.h"

#include <gtest/gtest.h>

#include "config/codec.h"
#include "config/file_io.h"
#include "riichi/game.h"
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
    riichi::Rules rules;
    rules.uma = riichi::Uma::TenThirty;
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
        const HandRecord& back = g.hands[i];
        const HandRecord& h = first.hands[i];
        EXPECT_EQ(back.round, h.round);
        EXPECT_EQ(back.dealer, h.dealer);
        EXPECT_EQ(back.honba, h.honba);
        EXPECT_EQ(back.end, h.end);
        EXPECT_EQ(back.winner, h.winner);
        EXPECT_EQ(back.loser, h.loser);
        EXPECT_EQ(back.value, h.value);
        EXPECT_EQ(back.yaku, h.yaku);
        EXPECT_EQ(back.scoreDelta, h.scoreDelta);
        EXPECT_EQ(back.chipDelta, h.chipDelta);
        EXPECT_EQ(back.scoresAfter, h.scoresAfter);
        EXPECT_EQ(back.reached, h.reached);
        EXPECT_EQ(back.dora, h.dora);
        EXPECT_EQ(back.ura, h.ura);
        EXPECT_EQ(back.wins, h.wins);
    }
    ASSERT_EQ(g.finals.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(g.finals[i].place, static_cast<int>(i) + 1);
    for (const RecordedFinal& f : g.finals)
        EXPECT_EQ(f.points, first.players[static_cast<std::size_t>(f.seat)].points);
}

// Every hand of many games under several rules reads back exactly,
// winning hands, melds and indicators included.
TEST(GameRecordTest, EveryFiledHandReadsBackOverManyGames) {
    std::vector<riichi::Rules> variants(3);
    variants[1].eastOnly = false;
    variants[1].pao = true;
    variants[2].noSwapCalling = true;
    variants[2].startPoint = 10000;
    int wins = 0, melds = 0;
    for (const riichi::Rules& rules : variants) {
        std::array<SeatStyle, 4> seats{};
        for (std::uint64_t seed = 1; seed <= 8; ++seed) {
            GameOutcome game = PlayGame(rules, seats, seed);
            RecordFile record = ParseRecord(Text(RecordLines(1, "zvserver", rules, Seats(), game)));
            ASSERT_TRUE(record.problems.empty()) << record.problems.front();
            ASSERT_EQ(record.games.size(), 1u);
            const auto& hands = record.games[0].hands;
            ASSERT_EQ(hands.size(), game.hands.size());
            for (std::size_t i = 0; i < hands.size(); ++i) {
                EXPECT_EQ(hands[i].wins, game.hands[i].wins) << "seed " << seed << " hand " << i;
                EXPECT_EQ(hands[i].dora, game.hands[i].dora);
                EXPECT_EQ(hands[i].ura, game.hands[i].ura);
                EXPECT_EQ(hands[i].yaku, game.hands[i].yaku);
                EXPECT_EQ(hands[i].scoreDelta, game.hands[i].scoreDelta);
                for (const WinDetail& w : hands[i].wins) {
                    ++wins;
                    melds += static_cast<int>(w.melds.size());
                }
            }
        }
    }
    EXPECT_GT(wins, 0);
    EXPECT_GT(melds, 0);
}

// A hand filed by hand: a double ron with melds, a yakuman and yaku names
// with blanks, and the draws' events, read back exactly.
TEST(GameRecordTest, DoubleRonAndDrawEventsReadBack) {
    GameOutcome game;
    game.seed = 3;
    HandRecord ron;
    ron.round = 1;
    ron.dealer = 2;
    ron.honba = 1;
    ron.end = HandEnd::Ron;
    ron.winner = 0;
    ron.loser = 3;
    ron.value = 3900;
    ron.yaku = {25};
    ron.reached = {false, true, false, false};
    ron.scoreDelta = {4200, 32300, 0, -36500};
    ron.scoresAfter = {29200, 57300, 25000, -11500};
    ron.dora = "3m7z";
    ron.ura = "5p";
    WinDetail first{0, 3, 3900, 2, 40, "", "5z", "123m406p55z", {"pon=555z", "chi=789s"}, {}, {25}};
    first.yaku = {{"役牌 白", 1, 0}, {"赤ドラ", 1, 0}};
    WinDetail second{1, 3, 32000, 0, 0, "yakuman", "9m", "19m19p19s1234567z9m", {}, {}, {1}};
    second.yaku = {{"国士無双", 0, 1}};
    ron.wins = {first, second};
    HandRecord nagashi;
    nagashi.end = HandEnd::Draw;
    nagashi.winner = 1;
    nagashi.value = 8000;
    nagashi.yaku = {14};
    nagashi.dora = "1z";
    HandRecord winds;
    winds.end = HandEnd::Abortive;
    winds.yaku = {53};
    winds.dora = "9s";
    game.hands = {ron, nagashi, winds};
    for (int s = 0; s < 4; ++s) game.players[static_cast<std::size_t>(s)].place = s + 1;

    RecordFile record = ParseRecord(Text(RecordLines(1, "zvserver", riichi::Rules{}, Seats(), game)));
    ASSERT_TRUE(record.problems.empty()) << record.problems.front();
    ASSERT_EQ(record.games.size(), 1u);
    const auto& hands = record.games[0].hands;
    ASSERT_EQ(hands.size(), 3u);
    EXPECT_EQ(hands[0].wins, ron.wins);
    EXPECT_EQ(hands[0].ura, "5p");
    EXPECT_EQ(hands[1].winner, 1);
    EXPECT_EQ(hands[1].yaku, (std::vector<int>{14}));
    EXPECT_TRUE(hands[1].ura.empty());
    EXPECT_EQ(hands[2].winner, -1);
    EXPECT_EQ(hands[2].yaku, (std::vector<int>{53}));

    std::string all;
    for (const auto& line : SummarizeRecord(record)) all += line + "\n";
    EXPECT_NE(all.find("ロン  guest ← 魔法使い (_wizard)  3900点  [白]"), std::string::npos) << all;
    EXPECT_NE(all.find("役牌 白 1翻、赤ドラ 1翻"), std::string::npos) << all;
    EXPECT_NE(all.find("国士無双 役満"), std::string::npos) << all;
    EXPECT_NE(all.find("40符2翻 3900点"), std::string::npos) << all;
    EXPECT_NE(all.find("ドラ表示牌 3m7z  裏ドラ表示牌 5p"), std::string::npos) << all;
    EXPECT_NE(all.find("[流し満ガン]"), std::string::npos) << all;
    EXPECT_NE(all.find("途中流局  [四風連打]"), std::string::npos) << all;
    // Both winners of the double ron count, the discarder dealt in twice.
    EXPECT_NE(all.find("魔法使い (_wizard)  0点  ポイント 0  チップ 0  和了 0  放銃 2"), std::string::npos)
        << all;

    // Detail lines out of place are reported, not applied.
    RecordFile odd = ParseRecord(
        "game: 1\r\nwin: 0 - 1000 1 30 - 18 1m 1m\r\nhand: E1 0 tsumo 0 - 1000 18\r\n"
        "winyaku: 2 1 0 門前清自摸和\r\nwin: 5 - 1000 1 30\r\nwin: 1 1 1000 1 30 - - 1m 1m\r\n"
        "dora: 1m ura=2m\r\nend: 1\r\n");
    ASSERT_EQ(odd.games.size(), 1u);
    EXPECT_EQ(odd.problems.size(), 4u);
    ASSERT_EQ(odd.games[0].hands.size(), 1u);
    EXPECT_TRUE(odd.games[0].hands[0].wins.empty());
    EXPECT_EQ(odd.games[0].hands[0].ura, "2m");
}

TEST(GameRecordTest, SavedAsCp932WithCrLf) {
    test::TempDir dir;
    GameOutcome game = PlayGame(riichi::Rules{}, {}, 5);
    std::string path = dir.Path("zelvan1.fu");
    ASSERT_EQ(SaveRecord(path, RecordLines(1, "zelvan1", riichi::Rules{}, Seats(), game)), "");
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
