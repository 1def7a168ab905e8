// Actions in the record and the replay built on them: what a game writes
// reads back action for action, a recorded one-player game replays to the
// final scores of its record, and damaged or old records give a message
// instead of a replay.
#include "format/record_replay.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/one_player.h"
#include "config/file_io.h"
#include "riichi/game.h"
#include "support/temp_dir.h"

namespace zv::engine {
namespace {

#ifdef NDEBUG
constexpr int kGames = 12;
#else
constexpr int kGames = 3;
#endif

std::string Text(const std::vector<std::string>& lines) {
    std::string text = std::string(kRecordMagic) + "\r\n";
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::array<RecordSeat, 4> Seats() { return {{{"guest", ""}, {"_todo", ""}, {"_min", ""}, {"_wizard", ""}}}; }

// Bold players call, make kans and declare riichi often, so that every kind
// of action is written.
std::array<SeatStyle, 4> Bold() {
    std::array<SeatStyle, 4> seats{};
    for (auto& s : seats) {
        s.style.pon = 1000;
        s.style.tie = 1000;
        s.style.kan = 1000;
        s.style.yaku = 0;
    }
    return seats;
}

TEST(ActionWordsTest, EveryActionOfManyGamesReadsBackExactly) {
    std::array<int, 11> seen{};
    for (int seed = 1; seed <= kGames; ++seed) {
        GameOutcome game = PlayGame(riichi::Rules{}, Bold(), static_cast<std::uint64_t>(seed));
        for (const HandRecord& h : game.hands) {
            for (const riichi::LoggedAction& a : h.actions) {
                std::string word = ActionWord(a), error;
                riichi::LoggedAction back;
                ASSERT_TRUE(ParseActionWord(word, back, error)) << error;
                EXPECT_EQ(back, a) << word;
                seen[static_cast<std::size_t>(a.action.type)] += 1;
            }
        }
    }
    for (riichi::ActionType type : {riichi::ActionType::Discard, riichi::ActionType::Riichi,
                                    riichi::ActionType::Pon, riichi::ActionType::Chi}) {
        EXPECT_GT(seen[static_cast<std::size_t>(type)], 0) << static_cast<int>(type);
    }
    EXPECT_EQ(seen[static_cast<std::size_t>(riichi::ActionType::Pass)], 0);  // never written
}

TEST(ActionWordsTest, WordsAreExactAndBadWordsAreRefused) {
    riichi::LoggedAction pon{2, {riichi::ActionType::Pon, 17, {16, 18}}};
    EXPECT_EQ(ActionWord(pon), "2p5m1,0m,5m2");
    EXPECT_EQ(ActionWord({0, {riichi::ActionType::NineTerminals, -1, {-1, -1}}}), "0n");
    EXPECT_EQ(ActionWord({1, {riichi::ActionType::Discard, 135, {-1, -1}}}), "1d7z3");
    EXPECT_EQ(ActionWord({1, riichi::Action{}}), "");  // a pass
    for (const char* bad : {"", "4d1m0", "0y1m0", "0d", "0d1m", "0d1m4", "0d5m0", "0d0z", "0d1m0x",
                            "0p1m0,1m1", "0p1m0;1m1,1m2", "0d9q0", "d1m0"}) {
        riichi::LoggedAction a;
        std::string error;
        EXPECT_FALSE(ParseActionWord(bad, a, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(ActionWordsTest, LongHandsAreSplitOverLinesThatReadBackWhole) {
    std::vector<riichi::LoggedAction> many;
    for (int i = 0; i < 600; ++i) many.push_back({i % 4, {riichi::ActionType::Discard, i % 136, {-1, -1}}});
    auto lines = ActionLines(many);
    ASSERT_GT(lines.size(), 2u);
    for (const auto& line : lines) {
        EXPECT_LE(line.size(), kActionLineBytes);
        EXPECT_EQ(line.rfind("act: ", 0), 0u);
    }
    std::vector<std::string> block = {"game: 1", "seed: 5",
                                      "hand: E1 0 draw - - 0 - reach=0,0,0,0 delta=0,0,0,0 chips=0,0,0,0 "
                                      "scores=25000,25000,25000,25000"};
    block.insert(block.end(), lines.begin(), lines.end());
    block.push_back("end: 1");
    RecordFile record = ParseRecord(Text(block));
    ASSERT_TRUE(record.problems.empty()) << record.problems.front();
    EXPECT_EQ(record.games.at(0).hands.at(0).actions, many);
}

TEST(RecordRulesTest, TheRulesLineGivesBackTheRulesItWasWrittenFrom) {
    riichi::Rules rules;
    rules.eastOnly = false;
    rules.startPoint = 30000;
    rules.uma = riichi::Uma::SevenFiveThree;
    rules.yakumanChip = 5;
    rules.redFiveChip = 3;
    rules.noKanUra = true;
    rules.redFivesClosedOnly = true;
    rules.noAllStars = true;
    rules.pao = true;
    rules.headBump = true;
    auto lines = RecordLines(1, "zelvan1", rules, Seats(), GameOutcome{});
    RecordFile record = ParseRecord(Text(lines));
    ASSERT_EQ(record.games.size(), 1u);
    riichi::Rules back = RulesFromRecord(record.games[0].rules);
    EXPECT_EQ(back.eastOnly, false);
    EXPECT_EQ(back.startPoint, 30000);
    EXPECT_EQ(back.uma, riichi::Uma::SevenFiveThree);
    EXPECT_EQ(back.yakumanChip, 5);
    EXPECT_EQ(back.redFiveChip, 3);
    EXPECT_TRUE(back.noKanUra && back.redFivesClosedOnly && back.noAllStars && back.pao && back.headBump);
    EXPECT_FALSE(back.noBustOut || back.noSwapCalling);
}

// The one-player game writes its record as in play; the replay of each game
// read back from the file ends with the scores, points and places of the
// record's final lines.
TEST(GameReplayTest, RecordedOnePlayerGamesReplayToTheirFinalScores) {
    test::TempDir root;
    std::string user = root.Path("usr/guest");
    std::filesystem::create_directories(user);
    root.Write("usr/guest/zelvan1.pf", "param: tonpu = 0\r\nparam: uma = 10-30\r\n");
    EngineOptions options;
    options.baseDir = user;
    options.name = "guest";
    options.recordFile = user + "/zelvan1.fu";
    OnePlayerGame game;
    std::vector<std::string> warnings;
    ASSERT_EQ(game.Prepare(options, root.path() + "/", "zelvan1", warnings), "");
    const int games = kGames / 3 + 1;
    for (int i = 0; i < games; ++i) ASSERT_EQ(game.PlayOne(900 + static_cast<std::uint64_t>(i)), "");

    RecordFile record = ParseRecord(*ReadTextFile(options.recordFile));
    ASSERT_TRUE(record.problems.empty()) << record.problems.front();
    ASSERT_EQ(record.games.size(), static_cast<std::size_t>(games));
    for (const RecordedGame& g : record.games) {
        GameReplay replay;
        std::string error;
        ASSERT_TRUE(replay.Load(g, error)) << error;
        ASSERT_NE(replay.Finished(), nullptr);
        ASSERT_EQ(replay.HandCount(), static_cast<int>(g.hands.size()));
        ASSERT_EQ(g.finals.size(), 4u);
        for (const RecordedFinal& f : g.finals) {
            const riichi::SeatTotals& t = replay.Finished()->Totals()[static_cast<std::size_t>(f.seat)];
            EXPECT_EQ(t.finalScore, f.score) << "seat " << f.seat;
            EXPECT_EQ(t.points, f.points) << "seat " << f.seat;
            EXPECT_EQ(t.place, f.place) << "seat " << f.seat;
            EXPECT_EQ(t.chips, f.chips) << "seat " << f.seat;
        }
        // Stepping through a hand: every step's table is the one the replay
        // went through, and the last is over with the hand's result.
        int last = replay.HandCount() - 1;
        riichi::Hand end = replay.StateAt(last, replay.Steps(last));
        EXPECT_TRUE(end.Over());
        EXPECT_EQ(end.Result().scoresAfter, g.hands.back().scoresAfter);
        EXPECT_FALSE(replay.StateAt(last, replay.Steps(last) - 1).Over());
        EXPECT_EQ(replay.ActionAt(last, replay.Steps(last)), g.hands.back().actions.back());
        EXPECT_TRUE(replay.StateAt(0, 0).CheckTiles().empty());
    }
}

// Seats that set every north aside as soon as they may, else play as
// their computer player does.
GameOutcome PlayNorthsAside(const riichi::Rules& rules, std::uint64_t seed) {
    riichi::Game table(rules, seed);
    auto seatPlayers = MakeSeatPlayers({}, seed);
    std::array<riichi::Game::Decider, 4> deciders;
    for (std::size_t s = 0; s < 4; ++s) {
        deciders[s] = [&player = *seatPlayers[s]](const riichi::SeatView& view) {
            for (const riichi::Action& a : view.legal)
                if (a.type == riichi::ActionType::North) return a;
            return player.Decide(view);
        };
    }
    table.PlayOut(deciders);
    return OutcomeOf(table);
}

// A three-player record (three player lines, the empty seat left out)
// replays to its final scores, norths set aside included.
TEST(GameReplayTest, RecordedThreePlayerGamesReplayToTheirFinalScores) {
    const riichi::Rules rules = riichi::ThreePlayerRules(riichi::Rules{});
    std::array<RecordSeat, 4> seats = {{{"guest", ""}, {"_todo", ""}, {"_min", ""}, {}}};
    std::vector<std::string> lines;
    const int games = kGames / 3 + 1;
    for (int i = 0; i < games; ++i) {
        auto block = RecordLines(i + 1, "sanma1", rules, seats, PlayNorthsAside(rules, 300 + i));
        lines.insert(lines.end(), block.begin(), block.end());
    }
    RecordFile record = ParseRecord(Text(lines));
    ASSERT_TRUE(record.problems.empty()) << record.problems.front();
    ASSERT_EQ(record.games.size(), static_cast<std::size_t>(games));
    int norths = 0;
    for (const RecordedGame& g : record.games) {
        GameReplay replay;
        std::string error;
        ASSERT_TRUE(replay.Load(g, error)) << error;
        ASSERT_NE(replay.Finished(), nullptr);
        EXPECT_TRUE(replay.Rules().threePlayer);
        ASSERT_EQ(g.finals.size(), 3u);
        for (const RecordedFinal& f : g.finals) {
            const riichi::SeatTotals& t = replay.Finished()->Totals()[static_cast<std::size_t>(f.seat)];
            EXPECT_EQ(t.finalScore, f.score) << "seat " << f.seat;
            EXPECT_EQ(t.points, f.points) << "seat " << f.seat;
            EXPECT_EQ(t.place, f.place) << "seat " << f.seat;
        }
        for (const HandRecord& h : g.hands)
            for (const riichi::LoggedAction& a : h.actions)
                norths += a.action.type == riichi::ActionType::North;
    }
    EXPECT_GT(norths, 0);  // the replay went through norths set aside
}

TEST(GameReplayTest, OldAndDamagedRecordsGiveAMessage) {
    GameOutcome played = PlayGame(riichi::Rules{}, Bold(), 77);
    auto lines = RecordLines(1, "zelvan1", riichi::Rules{}, Seats(), played);

    // A record from before the actions were kept: read whole, not replayable.
    std::vector<std::string> old;
    for (const auto& line : lines)
        if (line.rfind("act: ", 0) != 0) old.push_back(line);
    RecordFile oldRecord = ParseRecord(Text(old));
    EXPECT_TRUE(oldRecord.problems.empty());
    GameReplay replay;
    std::string error;
    EXPECT_FALSE(replay.Load(oldRecord.games.at(0), error));
    EXPECT_NE(error.find("no actions recorded"), std::string::npos) << error;

    // One action changed into another seat's: the table refuses it.
    std::vector<std::string> changed = lines;
    for (auto& line : changed) {
        if (line.rfind("act: ", 0) != 0) continue;
        line[5] = line[5] == '0' ? '1' : '0';
        break;
    }
    RecordFile bad = ParseRecord(Text(changed));
    EXPECT_FALSE(replay.Load(bad.games.at(0), error));
    EXPECT_NE(error.find("hand 1 (E1 0), action 1"), std::string::npos) << error;

    // A hand whose actions stop early, and a record that stops early.
    std::vector<std::string> cut = lines;
    for (auto& line : cut)
        if (line.rfind("act: ", 0) == 0) line = line.substr(0, line.rfind(' '));
    RecordFile shortRecord = ParseRecord(Text(cut));
    EXPECT_FALSE(replay.Load(shortRecord.games.at(0), error));
    EXPECT_FALSE(error.empty());
    RecordFile firstHand = ParseRecord(Text(lines));
    firstHand.games.at(0).hands.resize(1);
    if (played.hands.size() > 1) {
        EXPECT_FALSE(replay.Load(firstHand.games.at(0), error));
        EXPECT_EQ(error, "the record ends before the game does");
        EXPECT_EQ(replay.HandCount(), 1);
    }

    // A word that is not an action is listed as a problem.
    RecordFile garbage =
        ParseRecord(Text({"game: 1", "hand: E1 0 draw - - 0 - reach=0,0,0,0", "act: 0d1m0 zz"}));
    ASSERT_EQ(garbage.problems.size(), 1u);
    EXPECT_NE(garbage.problems[0].find("bad act line"), std::string::npos);
}

}  // namespace
}  // namespace zv::engine
