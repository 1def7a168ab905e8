// The seeded game outcome: whatever the seed and the rules, the totals must
// be those of a real game (scores add up, points are zero-sum, places 1-4,
// a placement bonus by place) and the result lines must keep their shape.
#include "game_outcome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <sstream>

namespace zv::engine {
namespace {

std::array<SeatStyle, 4> DefaultSeats() { return {}; }

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Checks every invariant of one finished game.
void ExpectConsistent(const GameRules& rules, const GameOutcome& game) {
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
    EXPECT_EQ(scoreSum, 4 * rules.startPoint) << "seed " << game.seed;
    EXPECT_EQ(pointSum, 0) << "seed " << game.seed;
    EXPECT_EQ(chipSum, 0) << "seed " << game.seed;
    EXPECT_EQ(places, (std::set<int>{1, 2, 3, 4}));
    // A better place never has a lower score.
    for (const PlayerStats& a : game.players)
        for (const PlayerStats& b : game.players)
            if (a.place < b.place) {
                EXPECT_GE(a.finalScore, b.finalScore) << "seed " << game.seed;
            }

    // The per-player counts agree with the hands.
    std::array<int, 4> tsumo{}, ron{}, dealIn{}, reaches{};
    for (const HandRecord& h : game.hands) {
        EXPECT_EQ(std::accumulate(h.scoreDelta.begin(), h.scoreDelta.end(), 0) % 1000, 0);
        EXPECT_EQ(std::accumulate(h.chipDelta.begin(), h.chipDelta.end(), 0), 0);
        if (h.end == HandEnd::Tsumo) tsumo[static_cast<std::size_t>(h.winner)]++;
        if (h.end == HandEnd::Ron) {
            ron[static_cast<std::size_t>(h.winner)]++;
            dealIn[static_cast<std::size_t>(h.loser)]++;
            EXPECT_NE(h.winner, h.loser);
        }
        if (rules.eastOnly) {
            EXPECT_EQ(h.round, 0);
        }
        for (std::size_t s = 0; s < 4; ++s) reaches[s] += h.reached[s] ? 1 : 0;
    }
    for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(game.players[s].tsumoCount, tsumo[s]);
        EXPECT_EQ(game.players[s].ronCount, ron[s]);
        EXPECT_EQ(game.players[s].dealInCount, dealIn[s]);
        EXPECT_EQ(game.players[s].reaches, reaches[s]);
    }
    if (!game.bustOut) {
        ASSERT_FALSE(game.hands.empty());
        EXPECT_EQ(game.hands.back().round, rules.eastOnly ? 0 : 1);
        EXPECT_EQ(game.hands.back().dealer, 3);
    }
}

TEST(GameOutcomeTest, TotalsHoldForManySeedsAndRules) {
    std::vector<GameRules> variants(6);
    variants[1].eastOnly = false;
    variants[2].startPoint = 30000;
    variants[2].uma = "7-5-3";
    variants[3].noFly = true;
    variants[3].under = true;
    variants[3].uma = "under";
    variants[4].startPoint = 8000;  // busts out often
    variants[4].uma = "10-30";
    variants[5].startPoint = 8000;
    variants[5].noFly = true;  // plays on below zero, counted as zero
    variants[5].uma = "5-10";
    for (const GameRules& rules : variants) {
        for (std::uint64_t seed = 1; seed <= 300; ++seed) {
            GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
            ExpectConsistent(rules, game);
            if (HasFailure()) return;
        }
    }
}

TEST(GameOutcomeTest, SameSeedSameGameOtherSeedOtherGame) {
    GameRules rules;
    GameOutcome a = PlayGame(rules, DefaultSeats(), 42);
    GameOutcome b = PlayGame(rules, DefaultSeats(), 42);
    GameOutcome c = PlayGame(rules, DefaultSeats(), 43);
    EXPECT_EQ(ResultLine(a.players[0]), ResultLine(b.players[0]));
    EXPECT_EQ(YakuLine(a.players[2]), YakuLine(b.players[2]));
    EXPECT_EQ(a.hands.size(), b.hands.size());
    bool differs = a.hands.size() != c.hands.size();
    for (std::size_t s = 0; s < 4; ++s)
        differs = differs || a.players[s].finalScore != c.players[s].finalScore;
    EXPECT_TRUE(differs);
}

TEST(GameOutcomeTest, PlacementBonusIsAddedByPlace) {
    GameRules none;
    none.uma = "none";
    GameRules wanTsu;  // 10-20
    GameRules wanSuri;
    wanSuri.uma = "10-30";
    for (std::uint64_t seed = 1; seed <= 50; ++seed) {
        GameOutcome plain = PlayGame(none, DefaultSeats(), seed);
        GameOutcome withUma = PlayGame(wanTsu, DefaultSeats(), seed);
        GameOutcome withBig = PlayGame(wanSuri, DefaultSeats(), seed);
        const int expected[] = {20, 10, -10, -20};
        const int expectedBig[] = {30, 10, -10, -30};
        for (std::size_t s = 0; s < 4; ++s) {
            const PlayerStats& p = plain.players[s];
            ASSERT_EQ(p.finalScore, withUma.players[s].finalScore);
            ASSERT_EQ(p.place, withUma.players[s].place);
            EXPECT_EQ(withUma.players[s].points - p.points, expected[p.place - 1]) << "seed " << seed;
            EXPECT_EQ(withBig.players[s].points - p.points, expectedBig[p.place - 1]) << "seed " << seed;
        }
    }
}

TEST(GameOutcomeTest, PointsAreThousandsAboveTheStartScore) {
    GameRules rules;
    rules.uma = "none";
    GameOutcome game = PlayGame(rules, DefaultSeats(), 7);
    for (const PlayerStats& p : game.players) {
        if (p.place == 1 || p.finalScore < 0) continue;  // the top absorbs rounding
        double exact = (p.finalScore - rules.startPoint) / 1000.0;
        EXPECT_LE(std::abs(p.points - exact), 0.5) << p.finalScore;
    }
}

TEST(GameOutcomeTest, ScoreBelowZeroCountsAsZeroUnlessUnderIsOn) {
    GameRules rules;
    rules.startPoint = 6000;
    rules.noFly = true;
    rules.uma = "none";
    int found = 0;
    for (std::uint64_t seed = 1; seed <= 400 && found < 5; ++seed) {
        GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
        GameRules under = rules;
        under.under = true;
        GameOutcome counted = PlayGame(under, DefaultSeats(), seed);
        for (std::size_t s = 0; s < 4; ++s) {
            const PlayerStats& p = game.players[s];
            if (p.finalScore >= 0 || p.place == 1) continue;
            ++found;
            ASSERT_EQ(counted.players[s].finalScore, p.finalScore);
            EXPECT_EQ(p.points, -6) << "seed " << seed;  // counted as 0 points on the table
            EXPECT_LT(counted.players[s].points, -6) << "seed " << seed;
        }
    }
    EXPECT_GT(found, 0);
}

TEST(GameOutcomeTest, BustOutEndsTheGameUnlessSwitchedOff) {
    GameRules rules;
    rules.startPoint = 5000;
    int busts = 0;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
        if (!game.bustOut) continue;
        ++busts;
        const auto& last = game.hands.back().scoresAfter;
        EXPECT_TRUE(std::any_of(last.begin(), last.end(), [](int s) { return s < 0; }));
        for (std::size_t i = 0; i + 1 < game.hands.size(); ++i)
            for (int s : game.hands[i].scoresAfter) EXPECT_GE(s, 0);
    }
    EXPECT_GT(busts, 0);
    rules.noFly = true;
    for (std::uint64_t seed = 1; seed <= 200; ++seed)
        EXPECT_FALSE(PlayGame(rules, DefaultSeats(), seed).bustOut);
}

TEST(GameOutcomeTest, RulesShapeTheHands) {
    GameRules rules;
    rules.mangan77 = true;
    rules.noAkadora = true;
    rules.yakumanChip = rules.ippatuChip = rules.uradoraChip = 0;
    rules.eastOnly = false;
    bool sawSouth = false;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        GameOutcome game = PlayGame(rules, DefaultSeats(), seed);
        for (const HandRecord& h : game.hands) {
            EXPECT_NE(h.value, 7700);
            EXPECT_NE(h.value, 11600);
            sawSouth = sawSouth || h.round == 1;
        }
        for (const PlayerStats& p : game.players) EXPECT_EQ(p.chips, 0);
    }
    EXPECT_TRUE(sawSouth);
}

TEST(GameOutcomeTest, ResultAndYakuLinesHaveTheirShape) {
    GameOutcome game = PlayGame(GameRules{}, DefaultSeats(), 99);
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

TEST(UmaTest, EveryTableIsZeroSum) {
    for (const char* uma : {"none", "5-10", "10-20", "10-30", "7-5-3", "under", "bogus"}) {
        for (int sinking = 0; sinking <= 4; ++sinking) {
            auto table = UmaForPlaces(uma, sinking);
            ASSERT_EQ(table.size(), 4u);
            EXPECT_EQ(std::accumulate(table.begin(), table.end(), 0), 0) << uma << " " << sinking;
            EXPECT_TRUE(std::is_sorted(table.rbegin(), table.rend())) << uma << " " << sinking;
        }
    }
    EXPECT_EQ(UmaForPlaces("7-5-3", 1), (std::vector<int>{3, 2, 2, -7}));
    EXPECT_EQ(UmaForPlaces("7-5-3", 2), (std::vector<int>{5, 5, -5, -5}));
    EXPECT_EQ(UmaForPlaces("7-5-3", 3), (std::vector<int>{9, -3, -3, -3}));
    EXPECT_EQ(UmaForPlaces("under", 2), (std::vector<int>{3, 3, -3, -3}));
    EXPECT_EQ(UmaForPlaces("under", 0), (std::vector<int>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace zv::engine
