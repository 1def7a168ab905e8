// The arena and the engines play the same game for the same seed: the
// arena's first rotation of a seed is the one-player engine's game from that
// seed with the same characters in seats 0 to 3, hand for hand, and the
// other rotations deal the same walls.
#include <gtest/gtest.h>
#include <algorithm>

#include "format/game_outcome.h"
#include "format/game_rules.h"
#include "support/temp_dir.h"
#include "zvarena/arena.h"

namespace zv::arena {
namespace {

// Four clearly different styles, so that a player in the wrong seat or with
// the wrong random source changes the game.
std::array<engine::SeatStyle, 4> Styles() {
    std::array<engine::SeatStyle, 4> s;
    s[1].style.pon = 800;
    s[1].style.tie = 700;
    s[1].style.yomi = 150;
    s[2].style.yomi = 950;
    s[2].style.tsuyoki = 40;
    s[2].style.reach = 300;
    s[3].style.random = 400;
    s[3].style.chitoi = 600;
    s[3].style.dora = 700;
    return s;
}

std::array<Entrant, 4> EntrantsOf(const std::array<engine::SeatStyle, 4>& styles) {
    std::array<Entrant, 4> e;
    for (std::size_t i = 0; i < 4; ++i) {
        e[i].name = "seat" + std::to_string(i);
        e[i].weights = styles[i].style;
    }
    return e;
}

void ExpectSameGame(const engine::GameOutcome& arena, const engine::GameOutcome& engine) {
    ASSERT_EQ(arena.hands.size(), engine.hands.size());
    for (std::size_t i = 0; i < engine.hands.size(); ++i) {
        const engine::HandRecord& a = arena.hands[i];
        const engine::HandRecord& e = engine.hands[i];
        SCOPED_TRACE("hand " + std::to_string(i));
        EXPECT_EQ(a.round, e.round);
        EXPECT_EQ(a.dealer, e.dealer);
        EXPECT_EQ(a.honba, e.honba);
        EXPECT_EQ(a.end, e.end);
        EXPECT_EQ(a.winner, e.winner);
        EXPECT_EQ(a.loser, e.loser);
        EXPECT_EQ(a.yaku, e.yaku);
        EXPECT_EQ(a.reached, e.reached);
        EXPECT_EQ(a.scoreDelta, e.scoreDelta);
        EXPECT_EQ(a.scoresAfter, e.scoresAfter);
        EXPECT_EQ(a.wins, e.wins);
        EXPECT_EQ(a.dora, e.dora);
        EXPECT_EQ(a.ura, e.ura);
    }
    for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(arena.players[s].place, engine.players[s].place) << "seat " << s;
        EXPECT_EQ(arena.players[s].finalScore, engine.players[s].finalScore) << "seat " << s;
        EXPECT_EQ(arena.players[s].points, engine.players[s].points) << "seat " << s;
        EXPECT_EQ(arena.players[s].calls, engine.players[s].calls) << "seat " << s;
    }
    EXPECT_EQ(arena.leftoverSticks, engine.leftoverSticks);
}

TEST(ArenaAndEngine, FirstRotationIsTheEngineGameOfTheSameSeed) {
    auto styles = Styles();
    riichi::Rules eastSouth;
    eastSouth.eastOnly = false;
    riichi::Rules eastOnly;
    eastOnly.headBump = true;
    eastOnly.noRedFives = true;
    eastOnly.startPoint = 30000;
    for (const riichi::Rules& rules : {eastSouth, eastOnly}) {
        for (std::uint64_t seed : {1ull, 20260101ull, 0xFFFFFFFFFFFFFFF0ull}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + (rules.eastOnly ? ", east only" : ", east-south"));
            auto played = PlayRotation(EntrantsOf(styles), rules, seed, 0);
            engine::GameOutcome fromArena = engine::OutcomeOf(*played);
            engine::GameOutcome fromEngine = engine::PlayGame(rules, styles, seed);
            // A whole game, unless a seat went below zero and ended it early.
            bool bust = std::any_of(fromEngine.players.begin(), fromEngine.players.end(),
                                    [](const auto& p) { return p.finalScore < 0; });
            EXPECT_TRUE(bust || fromEngine.hands.size() >= (rules.eastOnly ? 4u : 8u));
            ExpectSameGame(fromArena, fromEngine);
        }
    }
}

TEST(ArenaAndEngine, RotationsDealTheSameWallsToSeatSeededPlayers) {
    riichi::Rules rules;
    rules.eastOnly = false;
    const std::uint64_t seed = 77;
    // Four players alike: moving them round the table changes nothing, as a
    // seat's random source depends on the seat and the wall seed only.
    std::array<engine::SeatStyle, 4> alike;
    for (auto& s : alike) s.style.pon = 600;
    engine::GameOutcome reference = engine::PlayGame(rules, alike, seed);
    for (int rotation = 1; rotation < 4; ++rotation) {
        SCOPED_TRACE("rotation " + std::to_string(rotation));
        auto played = PlayRotation(EntrantsOf(alike), rules, seed, rotation);
        ExpectSameGame(engine::OutcomeOf(*played), reference);
    }
    // Different players moved round the table get the same first wall.
    auto styles = Styles();
    auto first = engine::OutcomeOf(*PlayRotation(EntrantsOf(styles), rules, seed, 0));
    auto second = engine::OutcomeOf(*PlayRotation(EntrantsOf(styles), rules, seed, 1));
    ASSERT_FALSE(first.hands.empty());
    ASSERT_FALSE(second.hands.empty());
    EXPECT_EQ(first.hands[0].dora, second.hands[0].dora);
}

TEST(ArenaAndEngine, SeedsFollowOneAnotherAsTheEngineGamesDo) {
    EXPECT_EQ(WallSeed(500, 0), 500u);
    EXPECT_EQ(WallSeed(500, 3), 500u);
    EXPECT_EQ(WallSeed(500, 4), 501u);
    EXPECT_EQ(WallSeed(500, 11), 502u);
}

// The command line, from the same files the one-player engine reads: with
// one game the report's average score of each player is its final score in
// the engine's game from the same seed.
TEST(ArenaAndEngine, CommandReportsTheEngineGameFromTheSameFiles) {
    test::TempDir dir;
    const char* names[] = {"guest", "_todo", "_min", "_wizard"};
    const char* files[] = {
        "#!/bin/sh\r\n# zelvan personal file\r\n\r\nparam: reach = 350\r\nparam: zone = 200\r\n"
        "param: zone = 600\r\n",
        "param: pon = 900\r\nparam: tie = 800\r\nparam: yomi = 100\r\n",
        "param: yomi = 1000\r\nparam: tsuyoki = 30\r\nparam: random = 0\r\n",
        "param: chitoi = 500\r\nparam: dora = 800\r\nparam: deep = 900\r\n",
    };
    std::array<engine::SeatStyle, 4> styles;
    for (std::size_t i = 0; i < 4; ++i) {
        std::string name = names[i];
        std::string path = dir.Write("usr/" + name + "/" + name + ".pf", files[i]);
        ASSERT_TRUE(engine::ReadCharacterFile(path, styles[i].style));
    }
    std::string rulesPath = dir.Write("zelvan1.pf", "param: tonpu = 1\r\nparam: startpoint = 27000\r\n");
    riichi::Rules rules;
    ASSERT_TRUE(engine::ReadRulesFile(rulesPath, rules));
    const std::uint64_t seed = 4242;
    engine::GameOutcome game = engine::PlayGame(rules, styles, seed);

    auto run = RunArenaCommand({"--games", "1", "--seed", std::to_string(seed), "--players",
                                "guest,_todo,_min,_wizard", "--rules", rulesPath, "--json"},
                               dir.path() + "/");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::size_t at = 0;
    for (std::size_t s = 0; s < 4; ++s) {
        at = run.out.find("\"averageScore\":", at);
        ASSERT_NE(at, std::string::npos) << run.out;
        at += 15;
        EXPECT_EQ(std::stod(run.out.substr(at)), game.players[s].finalScore) << names[s] << "\n" << run.out;
    }
    std::size_t hands = run.out.find("\"hands\":");
    ASSERT_NE(hands, std::string::npos);
    EXPECT_EQ(std::stoul(run.out.substr(hands + 8)), game.hands.size());
}

}  // namespace
}  // namespace zv::arena
