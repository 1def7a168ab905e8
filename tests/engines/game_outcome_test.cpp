// Whole games played on the rules library and filed as the engines file
// them: whatever the seed and the rules, the totals must be those of the
// hands (scores and sticks conserved, points zero-sum, a placement bonus by
// place), the yaku digits must be those of the winning hands, and the result
// lines must keep their shape.
#include "format/game_outcome.h"
#include "riichi/game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <sstream>

#include "support/fault_env.h"
#include "support/temp_dir.h"

namespace zv::engine {
namespace {

std::array<SeatStyle, 4> DefaultSeats() { return {}; }

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool IsWin(const HandRecord& h) { return h.end == HandEnd::Tsumo || h.end == HandEnd::Ron; }

// Points of places 2..4 as the rules count them; the top takes the rest.
void ExpectPointsByPlace(const riichi::Rules& rules, const GameOutcome& game) {
    std::array<int, 4> counted{};
    int sinking = 0;
    for (std::size_t s = 0; s < 4; ++s) {
        counted[s] = rules.under ? game.players[s].finalScore : std::max(game.players[s].finalScore, 0);
        sinking += counted[s] < rules.startPoint ? 1 : 0;
    }
    std::array<int, 4> uma = riichi::UmaForPlaces(rules.uma, sinking);
    int others = 0;
    int top = -1;
    for (std::size_t s = 0; s < 4; ++s) {
        const PlayerStats& p = game.players[s];
        if (p.place == 1) {
            top = static_cast<int>(s);
            continue;
        }
        int diff = counted[s] - rules.startPoint;
        int base = diff >= 0 ? (diff + 500) / 1000 : -((-diff + 499) / 1000);
        EXPECT_EQ(p.points, base + uma[static_cast<std::size_t>(p.place - 1)])
            << "seed " << game.seed << " seat " << s;
        others += p.points;
    }
    ASSERT_GE(top, 0);
    EXPECT_EQ(game.players[static_cast<std::size_t>(top)].points, -others);
}

// Checks every invariant of one finished game.
void ExpectConsistent(const riichi::Rules& rules, const GameOutcome& game) {
    const int total = 4 * rules.startPoint;
    int scoreSum = 0, pointSum = 0, chipSum = 0;
    std::set<int> places;
    for (const PlayerStats& p : game.players) {
        scoreSum += p.finalScore;
        pointSum += p.points;
        chipSum += p.chips;
        places.insert(p.place);
        EXPECT_EQ(p.plays, static_cast<int>(game.hands.size()));
        for (int count : p.yaku) EXPECT_TRUE(count >= 0 && count <= 9);
    }
    EXPECT_EQ(scoreSum, total) << "seed " << game.seed;
    EXPECT_EQ(pointSum, 0) << "seed " << game.seed;
    EXPECT_EQ(chipSum, 0) << "seed " << game.seed;
    EXPECT_EQ(places, (std::set<int>{1, 2, 3, 4}));
    for (const PlayerStats& a : game.players)
        for (const PlayerStats& b : game.players)
            if (a.place < b.place) {
                EXPECT_GE(a.finalScore, b.finalScore) << "seed " << game.seed;
            }
    ExpectPointsByPlace(rules, game);

    // The per-player counts and yaku digits agree with the hands.
    std::array<int, 4> tsumo{}, ron{}, dealIn{}, reaches{};
    std::array<std::array<int, kYakuCount>, 4> digits{};
    int sticks = 0;
    for (const HandRecord& h : game.hands) {
        // Scores and the sticks on the table are conserved.
        int after = std::accumulate(h.scoresAfter.begin(), h.scoresAfter.end(), 0);
        EXPECT_EQ((total - after) % 1000, 0) << "seed " << game.seed;
        int sticksAfter = (total - after) / 1000;
        EXPECT_GE(sticksAfter, 0);
        int delta = std::accumulate(h.scoreDelta.begin(), h.scoreDelta.end(), 0);
        EXPECT_EQ(delta + 1000 * (sticksAfter - sticks), 0) << "seed " << game.seed;
        sticks = sticksAfter;
        EXPECT_EQ(std::accumulate(h.chipDelta.begin(), h.chipDelta.end(), 0), 0);
        if (rules.eastOnly) {
            EXPECT_EQ(h.round, 0);
        }
        EXPECT_FALSE(h.dora.empty());
        if (IsWin(h)) {
            EXPECT_FALSE(h.wins.empty());
            EXPECT_LE(h.wins.size(), rules.headBump ? 1u : 3u);
            if (h.end == HandEnd::Tsumo) {
                EXPECT_EQ(h.wins.size(), 1u);
            }
            EXPECT_EQ(h.winner, h.wins.front().seat);
            EXPECT_EQ(h.value, h.wins.front().value);
            EXPECT_EQ(h.yaku, h.wins.front().digits);
        } else {
            EXPECT_TRUE(h.wins.empty());
        }
        for (const WinDetail& w : h.wins) {
            const auto s = static_cast<std::size_t>(w.seat);
            EXPECT_EQ(w.from, h.end == HandEnd::Ron ? h.loser : -1);
            EXPECT_NE(w.seat, h.loser);
            if (h.end == HandEnd::Tsumo) tsumo[s]++;
            if (h.end == HandEnd::Ron) {
                ron[s]++;
                dealIn[static_cast<std::size_t>(h.loser)]++;
            }
            EXPECT_GT(w.value, 0);
            EXPECT_FALSE(w.yaku.empty());
            EXPECT_FALSE(w.concealed.empty());
            // A riichi that held shows in the winner's yaku (a yakuman
            // lists only itself).
            bool yakumanHand =
                std::any_of(w.yaku.begin(), w.yaku.end(), [](const YakuDetail& y) { return y.yakuman > 0; });
            if (h.reached[s] && !yakumanHand) {
                EXPECT_TRUE(std::count(w.digits.begin(), w.digits.end(), 16) +
                                std::count(w.digits.begin(), w.digits.end(), 15) ==
                            1)
                    << "seed " << game.seed;
            }
            // A closed hand's self-draw scores menzen tsumo.
            bool closed = std::all_of(w.melds.begin(), w.melds.end(),
                                      [](const std::string& m) { return m.rfind("ckan=", 0) == 0; });
            if (h.end == HandEnd::Tsumo && closed && !yakumanHand) {
                EXPECT_EQ(std::count(w.digits.begin(), w.digits.end(), 18), 1) << "seed " << game.seed;
            }
            // Below a yakuman the han are the yaku's han, dora included.
            if (!yakumanHand) {
                int han = 0;
                for (const YakuDetail& y : w.yaku) han += y.han;
                EXPECT_EQ(han, w.han) << "seed " << game.seed;
            }
            for (int d : w.digits) digits[s][static_cast<std::size_t>(d)]++;
        }
        if (h.end == HandEnd::Ron && h.wins.size() == 1 && !rules.pao) {
            // The discarder pays the hand and the counters, and its own
            // riichi stick when it declared in this hand.
            const auto l = static_cast<std::size_t>(h.loser);
            EXPECT_EQ(h.scoreDelta[l], -(h.value + 300 * h.honba) - (h.reached[l] ? 1000 : 0))
                << "seed " << game.seed;
        }
        // Events of draws count for the seats they concern.
        if (!IsWin(h)) {
            for (int d : h.yaku) {
                if (d == 14 || d == 52) {
                    digits[static_cast<std::size_t>(h.winner)][static_cast<std::size_t>(d)]++;
                } else {
                    for (auto& seat : digits) seat[static_cast<std::size_t>(d)]++;
                }
            }
        }
        for (std::size_t s = 0; s < 4; ++s) reaches[s] += h.reached[s] ? 1 : 0;
    }
    for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(game.players[s].tsumoCount, tsumo[s]) << "seed " << game.seed;
        EXPECT_EQ(game.players[s].ronCount, ron[s]) << "seed " << game.seed;
        EXPECT_EQ(game.players[s].dealInCount, dealIn[s]) << "seed " << game.seed;
        EXPECT_EQ(game.players[s].reaches, reaches[s]) << "seed " << game.seed;
        for (std::size_t d = 0; d < static_cast<std::size_t>(kYakuCount); ++d) {
            if (d == 56) continue;  // the not-ready riichi is not in the hand line
            EXPECT_EQ(game.players[s].yaku[d], std::min(digits[s][d], 9))
                << "seed " << game.seed << " digit " << d;
        }
    }
    EXPECT_EQ(game.leftoverSticks, sticks);  // what the last hand left on the table
    ASSERT_FALSE(game.hands.empty());
    if (!game.bustOut && game.hands.size() < static_cast<std::size_t>(riichi::Game::kMaxHands)) {
        EXPECT_EQ(game.hands.back().round, rules.eastOnly ? 0 : 1);
        EXPECT_EQ(game.hands.back().dealer, 3);
    }
}

TEST(GameOutcomeTest, TotalsHoldForManySeedsAndRules) {
    std::vector<riichi::Rules> variants(7);
    variants[1].eastOnly = false;
    variants[1].headBump = true;
    variants[2].startPoint = 30000;
    variants[2].uma = riichi::Uma::SevenFiveThree;
    variants[2].noTripleRonDraw = true;
    variants[3].noBustOut = true;
    variants[3].under = true;
    variants[3].uma = riichi::Uma::Under;
    variants[3].pao = true;
    variants[4].startPoint = 8000;  // busts out often
    variants[4].uma = riichi::Uma::TenThirty;
    variants[5].startPoint = 8000;
    variants[5].noBustOut = true;  // plays on below zero, counted as zero
    variants[5].uma = riichi::Uma::FiveTen;
    variants[5].noSwapCalling = true;
    variants[6].noRedFives = true;
    variants[6].noOpenTanyao = true;
    variants[6].noKanUra = true;
    variants[6].noPinfuTsumo = true;
    for (const riichi::Rules& rules : variants) {
        for (std::uint64_t seed = 1; seed <= 24; ++seed) {
            GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
            ExpectConsistent(rules, game);
            if (HasFailure()) return;
        }
    }
}

TEST(GameOutcomeTest, SameSeedSameGameOtherSeedOtherGame) {
    riichi::Rules rules;
    GameOutcome a = PlayGame(rules, DefaultSeats(), 42);
    GameOutcome b = PlayGame(rules, DefaultSeats(), 42);
    GameOutcome c = PlayGame(rules, DefaultSeats(), 43);
    for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(ResultLine(a.players[s]), ResultLine(b.players[s]));
        EXPECT_EQ(YakuLine(a.players[s]), YakuLine(b.players[s]));
    }
    ASSERT_EQ(a.hands.size(), b.hands.size());
    for (std::size_t i = 0; i < a.hands.size(); ++i) {
        EXPECT_EQ(a.hands[i].scoresAfter, b.hands[i].scoresAfter);
        EXPECT_EQ(a.hands[i].wins, b.hands[i].wins);
        EXPECT_EQ(a.hands[i].dora, b.hands[i].dora);
    }
    bool differs = a.hands.size() != c.hands.size();
    for (std::size_t s = 0; s < 4; ++s)
        differs = differs || a.players[s].finalScore != c.players[s].finalScore;
    EXPECT_TRUE(differs);
}

// A game played step by step elsewhere (the board) and filed with OutcomeOf
// is the game PlayGame plays with the same players.
TEST(GameOutcomeTest, FilingAFinishedGameMatchesPlayGame) {
    riichi::Rules rules;
    rules.eastOnly = false;
    std::array<SeatStyle, 4> seats{};
    seats[1].style.reach = 0;
    seats[2].style.pon = 1000;
    riichi::Game table(rules, 77);
    auto players = MakeSeatPlayers(seats, 77);
    while (!table.Over()) {
        while (!table.Current().Over()) {
            int seat = table.PendingSeats().front();
            ASSERT_TRUE(table.Apply(seat, players[static_cast<std::size_t>(seat)]->Decide(table.View(seat))));
        }
        table.NextHand();
    }
    GameOutcome filed = OutcomeOf(table);
    GameOutcome played = PlayGame(rules, seats, 77);
    EXPECT_EQ(filed.seed, 77u);
    for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(ResultLine(filed.players[s]), ResultLine(played.players[s]));
        EXPECT_EQ(YakuLine(filed.players[s]), YakuLine(played.players[s]));
    }
    EXPECT_EQ(filed.hands.size(), table.Results().size());
    ExpectConsistent(rules, filed);
}

// Each seat plays by its own character's weights: a character that never
// declares riichi does not, while the default ones do.
TEST(GameOutcomeTest, EachSeatPlaysByItsCharactersWeights) {
    std::array<SeatStyle, 4> seats{};
    seats[2].style.reach = 0;
    int othersReached = 0;
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        GameOutcome game = PlayGame(riichi::Rules{}, seats, seed);
        EXPECT_EQ(game.players[2].reaches, 0) << "seed " << seed;
        othersReached += game.players[0].reaches + game.players[1].reaches + game.players[3].reaches;
    }
    EXPECT_GT(othersReached, 0);
}

TEST(GameOutcomeTest, ScoreBelowZeroCountsAsZeroUnlessUnderIsOn) {
    riichi::Rules rules;
    rules.startPoint = 6000;
    rules.noBustOut = true;
    rules.uma = riichi::Uma::None;
    int found = 0;
    for (std::uint64_t seed = 1; seed <= 40 && found < 3; ++seed) {
        GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
        for (std::size_t s = 0; s < 4; ++s) {
            const PlayerStats& p = game.players[s];
            if (p.finalScore >= 0 || p.place == 1) continue;
            ++found;
            EXPECT_EQ(p.points, -6) << "seed " << seed;  // counted as 0 points on the table
        }
        riichi::Rules under = rules;
        under.under = true;
        ExpectPointsByPlace(under, PlayGame(under, DefaultSeats(), seed));
    }
    EXPECT_GT(found, 0);
}

TEST(GameOutcomeTest, BustOutEndsTheGameUnlessSwitchedOff) {
    riichi::Rules rules;
    rules.startPoint = 5000;
    int busts = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
        if (!game.bustOut) continue;
        ++busts;
        const auto& last = game.hands.back().scoresAfter;
        EXPECT_TRUE(std::any_of(last.begin(), last.end(), [](int s) { return s < 0; }));
        for (std::size_t i = 0; i + 1 < game.hands.size(); ++i)
            for (int s : game.hands[i].scoresAfter) EXPECT_GE(s, 0);
    }
    EXPECT_GT(busts, 0);
    rules.noBustOut = true;
    bool below = false;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
        EXPECT_FALSE(game.bustOut);
        for (const HandRecord& h : game.hands)
            below =
                below || std::any_of(h.scoresAfter.begin(), h.scoresAfter.end(), [](int s) { return s < 0; });
    }
    EXPECT_TRUE(below);  // play went on below zero
}

TEST(GameOutcomeTest, RulesShapeTheHands) {
    riichi::Rules rules;
    rules.roundUpMangan = true;
    rules.noRedFives = true;
    rules.yakumanChip = rules.ippatsuChip = rules.uraDoraChip = 0;
    rules.eastOnly = false;
    bool sawSouth = false;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
        for (const HandRecord& h : game.hands) {
            for (const WinDetail& w : h.wins) {
                // 30 fu 4 han and 60 fu 3 han are a mangan.
                bool dealer = w.seat == h.dealer;
                EXPECT_NE(w.value, dealer ? 11600 : 7700) << "seed " << seed;
                for (const YakuDetail& y : w.yaku) EXPECT_NE(y.name, "赤ドラ");
            }
            sawSouth = sawSouth || h.round == 1;
        }
        for (const PlayerStats& p : game.players) EXPECT_EQ(p.chips, 0);
    }
    EXPECT_TRUE(sawSouth);
}

TEST(GameOutcomeTest, ResultAndYakuLinesHaveTheirShape) {
    GameOutcome game = PlayGame(riichi::Rules{}, DefaultSeats(), 99);
    for (const PlayerStats& p : game.players) {
        auto words = Words(ResultLine(p));
        ASSERT_EQ(words.size(), 13u);
        EXPECT_EQ(words[0], "result:");
        EXPECT_EQ(words[1], std::to_string(p.place));
        EXPECT_EQ(words[2], std::to_string(p.points));
        EXPECT_EQ(words[4], std::to_string(p.plays));
        auto yaku = Words(YakuLine(p));
        ASSERT_EQ(yaku.size(), 2u);
        EXPECT_EQ(yaku[0], "yaku:");
        ASSERT_EQ(yaku[1].size(), 60u);
        EXPECT_TRUE(std::all_of(yaku[1].begin(), yaku[1].end(), [](char c) { return c >= '0' && c <= '9'; }));
    }
    PlayerStats many;
    many.yaku[16] = 14;  // never more than one digit
    EXPECT_EQ(YakuLine(many).substr(6 + 16, 1), "9");
}

// A results append that fails is told, and the games filed before stay.
TEST(GameOutcomeTest, AResultsAppendThatFailsIsToldAndKeepsEarlierGames) {
    test::TempDir dir;
    const std::string path = dir.Path("zvclient.res");
    PlayerStats first;
    first.place = 1;
    ASSERT_EQ(AppendResults(path, first), "");
    const std::string earlier = dir.Read("zvclient.res");
    EXPECT_EQ(earlier.rfind(ResultLine(first) + "\r\n" + YakuLine(first) + "\r\n", 0), 0u);

    test::FaultInjectionEnv faults;
    faults.Inject(test::SaveFault::Write);
    PlayerStats second;
    second.place = 2;
    EXPECT_EQ(AppendResults(path, second), path + ": cannot write the results file");
    EXPECT_EQ(dir.Read("zvclient.res"), earlier);
    faults.Inject(test::SaveFault::None);
    EXPECT_EQ(AppendResults(path, second), "");
    EXPECT_EQ(dir.Read("zvclient.res"), earlier + ResultLine(second) + "\r\n" + YakuLine(second) + "\r\n");
}

TEST(UmaTest, EveryTableIsZeroSum) {
    using riichi::Uma;
    for (Uma uma :
         {Uma::None, Uma::FiveTen, Uma::TenTwenty, Uma::TenThirty, Uma::SevenFiveThree, Uma::Under}) {
        for (int sinking = 0; sinking <= 4; ++sinking) {
            auto table = riichi::UmaForPlaces(uma, sinking);
            EXPECT_EQ(std::accumulate(table.begin(), table.end(), 0), 0)
                << riichi::UmaWord(uma) << " " << sinking;
            EXPECT_TRUE(std::is_sorted(table.rbegin(), table.rend()))
                << riichi::UmaWord(uma) << " " << sinking;
        }
    }
}

}  // namespace
}  // namespace zv::engine
