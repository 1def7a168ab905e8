// The arena's reading of character files and its command line.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "zvarena/arena.h"

namespace zv::arena {
namespace {

TEST(ArenaWeights, ReadsACharacterFileAsTheMakerWritesIt) {
    players::Weights w;
    ReadWeightsText(
        "#!/bin/sh\r\n# zelvan personal file\r\n\r\n\r\nparam: yaku = 600\r\nparam: kyusyu = 5000\r\n"
        "param: dora = -5\r\nparam: zone = 250\r\nparam: deep = -40\r\nparam: pon = 12abc\r\n"
        "param: tie = $1F\r\nparam: zone = 700\r\nparam: tsuyoki = 5000\r\nparam: yaku = 650\r\n"
        "# param: reach = 1\r\nparam: noisy = 0\r\nparam: name = 名前\r\n\r\n",
        w);
    EXPECT_EQ(w.yaku, 650);     // the last line wins
    EXPECT_EQ(w.kyusyu, 1000);  // clamped
    EXPECT_EQ(w.dora, 0);
    EXPECT_EQ(w.zone, 250);    // first zone line: same tiles
    EXPECT_EQ(w.number, 700);  // second zone line: nearby numbers
    EXPECT_EQ(w.deep, -40);    // not clamped
    EXPECT_EQ(w.tsuyoki, 5000);
    EXPECT_EQ(w.pon, 12);  // digits up to the first other character
    EXPECT_EQ(w.tie, 31);
    EXPECT_EQ(w.reach, players::Weights{}.reach);  // a comment line is no parameter

    players::Weights one;
    ReadWeightsText("param: zone = 420\n", one);
    EXPECT_EQ(one.zone, 420);
    EXPECT_EQ(one.number, 420);
}

TEST(ArenaCommand, PlaysAndReportsEachPlayer) {
    test::TempDir dir;
    dir.Write("usr/_a/_a.pf", "param: pon = 900\r\nparam: tie = 900\r\n");
    auto text = RunArenaCommand({"--games", "4", "--seed", "3", "--players",
                                 "_a,baseline:efficiency,baseline:quick,baseline:tsumogiri"},
                                dir.path() + "/");
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("baseline:tsumogiri"), std::string::npos);
    EXPECT_NE(text.out.find("baseline:quick"), std::string::npos);
    EXPECT_NE(text.out.find("games/s"), std::string::npos);
    auto json = RunArenaCommand({"--json", "--games", "4", "--seed", "3", "--jobs", "2", "--players",
                                 "_a,baseline:efficiency,baseline:quick,baseline:tsumogiri"},
                                dir.path() + "/");
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out.front(), '{');
    EXPECT_NE(json.out.find("\"averagePlace\":"), std::string::npos);
    EXPECT_NE(json.out.find("\"dealInRate\":"), std::string::npos);
    // The same games whatever the number of threads.
    auto sig = [](const std::string& s) { return s.substr(s.find("signature")); };
    EXPECT_EQ(sig(json.out).substr(12, 16), sig(text.out).substr(10, 16));
}

// The bench games are fixed, so their signature is too: any change to the
// rules, the wall or the players' decisions shows up here. A change that
// means to alter play updates the constant along with the reason.
TEST(ArenaCommand, BenchSignatureIsPinned) {
    constexpr const char* kBenchSignature = "79403b454ae8cd78";
    for (const char* jobs : {"1", "2"}) {
        auto run = RunArenaCommand({"--bench", "--jobs", jobs}, "/nonexistent/");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto at = run.out.find("signature ");
        ASSERT_NE(at, std::string::npos) << run.out;
        EXPECT_EQ(run.out.substr(at + 10, 16), kBenchSignature) << "with --jobs " << jobs;
    }
}

TEST(ArenaCommand, GamesAreEastSouthUnlessTheRulesFileSaysEastOnly) {
    test::TempDir dir;
    std::string rules =
        dir.Write("rules.pf", "#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\nparam: tonpu = 1\r\n");
    auto hands = [&](std::vector<std::string> args) {
        // Four baselines alike play the same game from every seat, so the
        // four games are one: from a seed whose games nobody busts out of.
        args.insert(args.end(),
                    {"--json", "--games", "4", "--seed", "10", "--players",
                     "baseline:efficiency,baseline:efficiency,baseline:efficiency,baseline:efficiency"});
        auto r = RunArenaCommand(args, dir.path() + "/");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        auto at = r.out.find("\"hands\":");
        return at == std::string::npos ? 0 : std::stoi(r.out.substr(at + 8));
    };
    int eastSouth = hands({});
    int eastOnly = hands({"--rules", rules});
    EXPECT_GE(eastSouth, 4 * 8);
    EXPECT_GE(eastOnly, 4 * 4);
    EXPECT_LT(eastOnly, eastSouth);
}

TEST(ArenaCommand, ThreeNamesPlayTheThreePlayerGame) {
    test::TempDir dir;
    dir.Write("usr/_a/_a.pf", "param: pon = 900\r\n");
    const std::vector<std::string> args = {
        "--json", "--games", "6", "--seed", "5", "--players", "_a,baseline:efficiency,baseline:tsumogiri"};
    auto run = RunArenaCommand(args, dir.path() + "/");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Three players, each in every seat of both seeds, and three places.
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '{'), 4) << run.out;
    EXPECT_NE(run.out.find("\"name\":\"baseline:tsumogiri\",\"games\":6,"), std::string::npos) << run.out;
    auto rates = run.out.find("\"placeRates\":[");
    ASSERT_NE(rates, std::string::npos);
    auto list = run.out.substr(rates, run.out.find(']', rates) - rates);
    EXPECT_EQ(std::count(list.begin(), list.end(), ','), 2) << list;
    // The same seeds give the same games on two threads.
    auto again = args;
    again.insert(again.end(), {"--jobs", "2"});
    // (Each output is cut at its own signature: the timings before it vary
    // in length.)
    auto signature = [](const std::string& out) { return out.substr(out.find("\"signature\"")); };
    EXPECT_EQ(signature(RunArenaCommand(again, dir.path() + "/").out), signature(run.out));

    auto text = RunArenaCommand({"--games", "3", "--seed", "5", "--players",
                                 "baseline:efficiency,baseline:efficiency,baseline:efficiency"},
                                dir.path() + "/");
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 5) << text.out;  // header, 3 rows, timing
    EXPECT_NE(text.out.find("      -"), std::string::npos) << text.out;            // no fourth place
}

TEST(ArenaCommand, ThreePlayerGamesRotateTheSeatsOverOneWall) {
    std::array<Entrant, 4> entrants;
    entrants[0].kind = EntrantKind::Tsumogiri;
    entrants[1].kind = EntrantKind::Efficiency;
    entrants[2].kind = EntrantKind::Efficiency;
    riichi::Rules rules = riichi::ThreePlayerRules(riichi::Rules{});
    EXPECT_EQ(WallSeed(40, 2, 3), 40u);
    EXPECT_EQ(WallSeed(40, 3, 3), 41u);
    ArenaResult result = RunArena(entrants, rules, 3, 40, 1);
    EXPECT_EQ(result.seats, 3);
    int placeSum = 0;
    for (int i = 0; i < 3; ++i) {
        const PlayerStats& p = result.players[static_cast<std::size_t>(i)];
        EXPECT_EQ(p.games, 3);
        EXPECT_EQ(p.places[0] + p.places[1] + p.places[2], 3);
        EXPECT_EQ(p.places[3], 0);
        placeSum += static_cast<int>(p.placeSum);
    }
    EXPECT_EQ(placeSum, 3 * (1 + 2 + 3));
    EXPECT_EQ(result.players[3].games, 0);
}

TEST(ArenaCommand, BadArgumentsGiveOneLineAndExitTwo) {
    test::TempDir dir;
    const std::string three = dir.Write("sanma.pf", "param: sanma = 1\r\n");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--games", "0", "--seed", "1", "--players", "a,b,c,d"},
        {"--games", "x", "--seed", "1", "--players", "a,b,c,d"},
        {"--games", "4", "--players",
         "baseline:efficiency,baseline:efficiency,baseline:efficiency,baseline:efficiency"},
        {"--games", "4", "--seed", "1", "--players", "baseline:efficiency,baseline:efficiency"},
        {"--games", "4", "--seed", "1", "--players",
         "missing,baseline:efficiency,baseline:efficiency,baseline:efficiency"},
        {"--games", "4", "--seed", "1", "--players",
         "../x,baseline:efficiency,baseline:efficiency,baseline:efficiency"},
        {"--games", "4", "--seed", "1", "--players",
         "baseline:best,baseline:efficiency,baseline:efficiency,baseline:efficiency"},
        {"--games", "4", "--seed", "1", "--jobs", "0", "--players", "a,b,c,d"},
        {"--games", "4", "--seed", "-1", "--players", "a,b,c,d"},
        {"--bench", "--games", "4"},
        {"--rules"},
        {"--games", "4", "--seed", "1", "--rules", "/nonexistent/rules.pf", "--players",
         "baseline:efficiency,baseline:efficiency,baseline:efficiency,baseline:efficiency"},
        {"--frobnicate"},
        {"--games", "4", "--seed", "1", "--players", "baseline:efficiency,baseline:efficiency,,"},
        {"--games", "4", "--seed", "1", "--players",
         "baseline:efficiency,baseline:efficiency,baseline:efficiency,baseline:efficiency,baseline:"
         "efficiency"},
        {"--games", "4", "--seed", "1", "--rules", three, "--players",
         "baseline:efficiency,baseline:efficiency,baseline:efficiency,baseline:efficiency"},
        {"--bench", "--rules", three},
    };
    for (const auto& args : bad) {
        auto r = RunArenaCommand(args, dir.path() + "/");
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

}  // namespace
}  // namespace zv::arena
