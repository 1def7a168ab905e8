// The computer players over whole seeded games: every answer is legal, the
// same seed gives the same game, and each weight moves play the way its
// label says.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "players/player.h"
#include "riichi/game.h"
#include "riichi/shanten.h"
#include "riichi/table.h"
#include "zvarena/arena.h"

namespace zv::players {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::SeatView;

// Watches every decision of the players it wraps.
using Check = std::function<void(int seat, const SeatView& view, const Action& action)>;

void PlayGames(const std::array<std::function<std::unique_ptr<Player>(int game)>, 4>& makers, int games,
               const Check& check, bool eastOnly = true) {
    riichi::Rules rules;
    rules.eastOnly = eastOnly;
    for (int g = 0; g < games; ++g) {
        std::array<std::unique_ptr<Player>, 4> players;
        std::array<riichi::Game::Decider, 4> deciders;
        for (int s = 0; s < 4; ++s) {
            players[static_cast<std::size_t>(s)] = makers[static_cast<std::size_t>(s)](g);
            Player* p = players[static_cast<std::size_t>(s)].get();
            deciders[static_cast<std::size_t>(s)] = [p, s, &check](const SeatView& view) {
                Action a = p->Decide(view);
                check(s, view, a);
                return a;
            };
        }
        riichi::Game game(rules, 7000 + static_cast<std::uint64_t>(g));
        game.PlayOut(deciders);
    }
}

std::function<std::unique_ptr<Player>(int)> Character(const Weights& w) {
    return [w](int g) { return MakeCharacterPlayer(w, 100 + static_cast<std::uint64_t>(g)); };
}
std::function<std::unique_ptr<Player>(int)> Efficiency() {
    return [](int) { return MakeEfficiencyPlayer(); };
}
std::function<std::unique_ptr<Player>(int)> Quick() {
    return [](int) { return MakeQuickPlayer(); };
}
std::function<std::unique_ptr<Player>(int)> Tsumogiri() {
    return [](int) { return MakeTsumogiriPlayer(); };
}

bool IsLegal(const SeatView& view, const Action& a) {
    return std::find(view.legal.begin(), view.legal.end(), a) != view.legal.end();
}

bool Offers(const SeatView& view, ActionType type) {
    return std::any_of(view.legal.begin(), view.legal.end(),
                       [type](const Action& a) { return a.type == type; });
}

arena::ArenaResult Arena(const std::array<Weights, 4>& weights, int games, std::uint64_t seed = 11,
                         int jobs = 1) {
    std::array<arena::Entrant, 4> entrants;
    for (int i = 0; i < 4; ++i)
        entrants[static_cast<std::size_t>(i)].weights = weights[static_cast<std::size_t>(i)];
    riichi::Rules rules;
    return arena::RunArena(entrants, rules, games, seed, jobs);
}

TEST(Players, EveryAnswerIsLegalAndWinsAreAlwaysTaken) {
    Weights wild;
    wild.pon = wild.tie = wild.kan = 1000;
    wild.random = 1000;
    wild.chitoi = 1000;
    wild.deep = -300;
    Weights pusher;
    pusher.tsuyoki = 100000;
    pusher.kyusyu = 0;
    int decisions = 0, wins = 0;
    PlayGames({Character(wild), Character(Weights{}), Efficiency(), Character(pusher)}, 6,
              [&](int, const SeatView& view, const Action& a) {
                  ++decisions;
                  ASSERT_TRUE(IsLegal(view, a)) << riichi::ActionText(a);
                  if (Offers(view, ActionType::Tsumo) || Offers(view, ActionType::Ron)) {
                      EXPECT_TRUE(a.type == ActionType::Tsumo || a.type == ActionType::Ron);
                      ++wins;
                  }
              });
    PlayGames({Tsumogiri(), Tsumogiri(), Character(wild), Tsumogiri()}, 2,
              [&](int, const SeatView& view, const Action& a) { ASSERT_TRUE(IsLegal(view, a)); });
    EXPECT_GT(decisions, 1000);
    EXPECT_GT(wins, 5);
}

TEST(Players, BaselinesKeepToTheirRules) {
    int efficiencyRiichi = 0;
    PlayGames({Tsumogiri(), Efficiency(), Tsumogiri(), Efficiency()}, 4,
              [&](int seat, const SeatView& view, const Action& a) {
                  if (a.type == ActionType::Tsumo || a.type == ActionType::Ron) return;
                  EXPECT_NE(a.type, ActionType::Pon);
                  EXPECT_NE(a.type, ActionType::Chi);
                  EXPECT_NE(a.type, ActionType::OpenKan);
                  EXPECT_NE(a.type, ActionType::ClosedKan);
                  EXPECT_NE(a.type, ActionType::NineTerminals);
                  if (seat % 2 == 0) {
                      // Tsumogiri: the drawn tile goes, nothing is declared.
                      if (view.phase == riichi::Phase::Turn) {
                          EXPECT_EQ(a, (Action{ActionType::Discard, view.drawn, {-1, -1}}));
                      }
                  } else if (Offers(view, ActionType::Riichi)) {
                      EXPECT_EQ(a.type, ActionType::Riichi);
                      ++efficiencyRiichi;
                  }
              });
    EXPECT_GT(efficiencyRiichi, 0);

    // The quick player calls, but never a kan, and every call leaves its
    // hand a yaku to win with: its open hands win now and then.
    int quickCalls = 0, quickOpenWins = 0;
    PlayGames({Quick(), Efficiency(), Quick(), Efficiency()}, 6,
              [&](int seat, const SeatView& view, const Action& a) {
                  ASSERT_TRUE(IsLegal(view, a)) << riichi::ActionText(a);
                  if (seat % 2 != 0) return;
                  EXPECT_NE(a.type, ActionType::OpenKan);
                  EXPECT_NE(a.type, ActionType::ClosedKan);
                  EXPECT_NE(a.type, ActionType::NineTerminals);
                  if (a.type == ActionType::Pon || a.type == ActionType::Chi) ++quickCalls;
                  bool open = !view.melds[static_cast<std::size_t>(view.seat)].empty();
                  if (open && (a.type == ActionType::Tsumo || a.type == ActionType::Ron)) ++quickOpenWins;
              });
    EXPECT_GT(quickCalls, 10);
    EXPECT_GT(quickOpenWins, 0);
}

TEST(Players, TheSameSeedPlaysTheSameGames) {
    Weights a, b;
    b.random = 800;
    b.pon = 600;
    auto first = Arena({a, b, a, b}, 8, 5);
    auto again = Arena({a, b, a, b}, 8, 5);
    auto threaded = Arena({a, b, a, b}, 8, 5, 3);
    auto other = Arena({a, b, a, b}, 8, 6);
    EXPECT_EQ(first.signature, again.signature);
    EXPECT_EQ(first.signature, threaded.signature);
    EXPECT_NE(first.signature, other.signature);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(first.players[static_cast<std::size_t>(i)].wins,
                  threaded.players[static_cast<std::size_t>(i)].wins);
        EXPECT_EQ(first.players[static_cast<std::size_t>(i)].placeSum,
                  threaded.players[static_cast<std::size_t>(i)].placeSum);
    }
    // Seats rotate over the same walls: identical players place the same
    // on average, and every game hands out places 1..4 once each.
    auto same = Arena({a, a, a, a}, 8, 5);
    long long places = 0;
    for (const auto& p : same.players) places += p.placeSum;
    EXPECT_EQ(places, 8 * 10);
}

TEST(Weights, ReachDecidesRiichi) {
    Weights never, always, some;
    never.reach = 0;
    always.reach = 1000;
    some.reach = 300;
    auto r = Arena({never, always, some, never}, 8);
    EXPECT_EQ(r.players[0].riichis, 0);
    EXPECT_EQ(r.players[3].riichis, 0);
    EXPECT_GT(r.players[1].riichis, r.players[2].riichis);
    EXPECT_GT(r.players[2].riichis, 0);
}

TEST(Weights, PonTieAndKanDecideCalls) {
    Weights quiet;
    quiet.pon = quiet.tie = quiet.kan = 0;
    Weights caller;
    caller.pon = caller.tie = 1000;
    caller.kan = 1000;
    Weights chiOnly = quiet;
    chiOnly.tie = 1000;
    int quietCalls = 0, chiOnlyPons = 0, chiOnlyChis = 0, callerCalls = 0;
    PlayGames({Character(quiet), Character(caller), Character(chiOnly), Efficiency()}, 6,
              [&](int seat, const SeatView&, const Action& a) {
                  bool call = a.type == ActionType::Pon || a.type == ActionType::Chi ||
                              a.type == ActionType::OpenKan || a.type == ActionType::ClosedKan ||
                              a.type == ActionType::AddedKan;
                  if (seat == 0 && call) ++quietCalls;
                  if (seat == 1 && call) ++callerCalls;
                  if (seat == 2 && (a.type == ActionType::Pon || a.type == ActionType::OpenKan))
                      ++chiOnlyPons;
                  if (seat == 2 && a.type == ActionType::Chi) ++chiOnlyChis;
              });
    EXPECT_EQ(quietCalls, 0);
    EXPECT_EQ(chiOnlyPons, 0);
    EXPECT_GT(chiOnlyChis, 0);
    EXPECT_GT(callerCalls, 5);
}

TEST(Weights, KyusyuDecidesNineTerminals) {
    Weights always, never;
    always.kyusyu = 1000;
    never.kyusyu = 0;
    int offeredAlways = 0, offeredNever = 0;
    // Many short games: nine terminals is rare.
    for (int round = 0; round < 2; ++round)
        PlayGames({Character(always), Character(never), Character(always), Character(never)}, 30,
                  [&](int seat, const SeatView& view, const Action& a) {
                      if (!Offers(view, ActionType::NineTerminals) || Offers(view, ActionType::Tsumo)) return;
                      if (seat % 2 == 0) {
                          ++offeredAlways;
                          EXPECT_EQ(a.type, ActionType::NineTerminals);
                      } else {
                          ++offeredNever;
                          EXPECT_NE(a.type, ActionType::NineTerminals);
                      }
                  });
    EXPECT_GT(offeredAlways + offeredNever, 0);
}

TEST(Weights, DoraKeepsDora) {
    Weights keeps, ignores;
    keeps.dora = 1000;
    ignores.dora = 0;
    std::array<int, 2> doraDiscards{}, discards{};
    PlayGames({Character(keeps), Character(ignores), Character(keeps), Character(ignores)}, 6,
              [&](int seat, const SeatView& view, const Action& a) {
                  if (a.type != ActionType::Discard && a.type != ActionType::Riichi) return;
                  auto i = static_cast<std::size_t>(seat % 2);
                  ++discards[i];
                  bool dora = riichi::IsRedFive(a.tile);
                  for (riichi::TileId ind : view.doraIndicators)
                      dora = dora || riichi::DoraOf(riichi::KindOf(ind)) == riichi::KindOf(a.tile);
                  doraDiscards[i] += dora;
              });
    EXPECT_LT(doraDiscards[0] * discards[1], doraDiscards[1] * discards[0]);
}

TEST(Weights, YomiAndTsuyokiDecideDealingIn) {
    Weights careful, bold;
    careful.yomi = 1000;
    careful.tsuyoki = 0;
    bold.yomi = 1000;
    bold.tsuyoki = 20000;
    Weights blind = careful;
    blind.yomi = 0;
    std::array<arena::Entrant, 4> entrants;
    entrants[0].weights = careful;
    entrants[1].weights = bold;
    entrants[2].weights = blind;
    entrants[3].kind = arena::EntrantKind::Efficiency;
    auto r = arena::RunArena(entrants, riichi::Rules{}, 40, 3, 2);
    auto rate = [&](int i) {
        return r.players[static_cast<std::size_t>(i)].PerHand(r.players[static_cast<std::size_t>(i)].dealIns);
    };
    EXPECT_LT(rate(0), rate(1));
    EXPECT_LT(rate(0), rate(2));
    EXPECT_LT(rate(0), rate(3));
}

// The concealed kinds left after a discard (or riichi) action.
riichi::Counts AfterDiscard(const SeatView& view, const Action& a) {
    riichi::Counts c{};
    for (riichi::TileId t : view.concealed) c[static_cast<std::size_t>(riichi::KindOf(t))] += 1;
    if (view.drawn >= 0) c[static_cast<std::size_t>(riichi::KindOf(view.drawn))] += 1;
    c[static_cast<std::size_t>(riichi::KindOf(a.tile))] -= 1;
    return c;
}

struct ShapeCase {
    const char* label;
    std::function<void(Weights&)> high, low;  // the weight turned up and down
    std::function<double(const SeatView&, const riichi::Counts&)> measure;
};

// Each shape weight, turned up against down with everything else at the
// defaults, moves the measure of the kept tiles its way over seeded games.
TEST(Weights, ShapeWeightsShapeTheKeptTiles) {
    auto suited = [](const riichi::Counts& c, int suit) {
        int n = 0;
        for (int i = 0; i < 9; ++i) n += c[static_cast<std::size_t>(suit * 9 + i)];
        return n;
    };
    const std::vector<ShapeCase> cases = {
        {"color", [](Weights& w) { w.color = 1000; }, [](Weights& w) { w.color = 0; },
         [&](const SeatView&, const riichi::Counts& c) {
             int best = std::max({suited(c, 0), suited(c, 1), suited(c, 2)});
             int all = suited(c, 0) + suited(c, 1) + suited(c, 2);
             return all ? static_cast<double>(best) / all : 0.0;
         }},
        {"zone", [](Weights& w) { w.zone = w.number = 1000; }, [](Weights& w) { w.zone = w.number = 0; },
         [](const SeatView&, const riichi::Counts& c) {
             return static_cast<double>(std::count_if(c.begin(), c.end(), [](int n) { return n >= 2; }));
         }},
        // Acceptance keeps most near tiles anyway: with a light shanten
        // weight the number weight decides more of the discards.
        {"number", [](Weights& w) { w.number = 1000, w.deep = 100; },
         [](Weights& w) { w.number = 0, w.deep = 100; },
         [](const SeatView&, const riichi::Counts& c) {
             // Pairs of kinds held one or two apart in a suit, as the weight
             // counts them.
             double near = 0;
             for (int k = 0; k < 27; ++k) {
                 if (!c[static_cast<std::size_t>(k)]) continue;
                 if (k % 9 < 8 && c[static_cast<std::size_t>(k + 1)]) near += 1;
                 if (k % 9 < 7 && c[static_cast<std::size_t>(k + 2)]) near += 0.5;
             }
             return near;
         }},
        {"suji", [](Weights& w) { w.suji = 1000; }, [](Weights& w) { w.suji = 0; },
         [](const SeatView&, const riichi::Counts& c) {
             double suji = 0;
             for (int k = 0; k < 27; ++k)
                 if (k % 9 < 6 && c[static_cast<std::size_t>(k)] && c[static_cast<std::size_t>(k + 3)])
                     suji += 1;
             return suji;
         }},
        {"tanyao (fewer terminals and honours)", [](Weights& w) { w.tanyao = 0; },
         [](Weights& w) { w.tanyao = 1000; },
         [](const SeatView&, const riichi::Counts& c) {
             double n = 0;
             for (int k = 0; k < riichi::kKinds; ++k)
                 if (riichi::IsTerminalOrHonor(k)) n += c[static_cast<std::size_t>(k)];
             return n;
         }},
        {"yaku (value honours kept)", [](Weights& w) { w.yaku = 1000; }, [](Weights& w) { w.yaku = 0; },
         [](const SeatView& view, const riichi::Counts& c) {
             double n = 0;
             for (int k = riichi::kEast; k < riichi::kKinds; ++k)
                 if (riichi::IsDragon(k) || k == view.seatWind || k == view.roundWind)
                     n += c[static_cast<std::size_t>(k)];
             return n;
         }},
        {"kokushi (orphan kinds kept)", [](Weights& w) { w.kokushi = 1000; },
         [](Weights& w) { w.kokushi = 0; },
         [](const SeatView&, const riichi::Counts& c) {
             double n = 0;
             for (int k = 0; k < riichi::kKinds; ++k)
                 if (riichi::IsTerminalOrHonor(k) && c[static_cast<std::size_t>(k)]) n += 1;
             return n;
         }},
        {"deep (lower shanten)", [](Weights& w) { w.deep = 0; }, [](Weights& w) { w.deep = 1000; },
         [](const SeatView& view, const riichi::Counts& c) {
             return static_cast<double>(riichi::Shanten(
                 c, static_cast<int>(view.melds[static_cast<std::size_t>(view.seat)].size())));
         }},
        {"random (chance over shape)", [](Weights& w) { w.random = 1000; }, [](Weights& w) { w.random = 0; },
         [](const SeatView& view, const riichi::Counts& c) {
             return static_cast<double>(riichi::Shanten(
                 c, static_cast<int>(view.melds[static_cast<std::size_t>(view.seat)].size())));
         }},
    };
    for (const ShapeCase& test : cases) {
        Weights high, low;
        high.pon = high.tie = low.pon = low.tie = 0;  // closed hands keep the measures comparable
        test.high(high);
        test.low(low);
        std::array<double, 2> sum{};
        std::array<int, 2> count{};
        PlayGames({Character(high), Character(low), Character(high), Character(low)}, 12,
                  [&](int seat, const SeatView& view, const Action& a) {
                      if (a.type != ActionType::Discard && a.type != ActionType::Riichi) return;
                      // Only the shape of hands built in peace: no riichi
                      // on the table, so pushing and folding play no part.
                      if (std::any_of(view.riichi.begin(), view.riichi.end(), [](bool r) { return r; }))
                          return;
                      auto i = static_cast<std::size_t>(seat % 2);
                      sum[i] += test.measure(view, AfterDiscard(view, a));
                      ++count[i];
                  });
        ASSERT_GT(count[0], 50);
        ASSERT_GT(count[1], 50);
        EXPECT_GT(sum[0] / count[0], sum[1] / count[1]) << test.label;
    }
}

TEST(Weights, DeepWinsMoreAndNegativeDeepPlaysAwayFromWinning) {
    Weights deep, shallow, backwards;
    deep.deep = 1000;
    shallow.deep = 0;
    backwards.deep = -1000;
    auto r = Arena({deep, shallow, backwards, shallow}, 8);
    EXPECT_GT(r.players[0].wins, r.players[1].wins + r.players[3].wins) << "twice the seats";
    EXPECT_LT(r.players[2].wins, r.players[0].wins / 4);
}

TEST(Weights, ChitoiLeadsToSevenPairs) {
    // How often a discard leaves a closed hand ready as seven pairs only
    // (the regular shape farther), for seats that like the form and seats
    // that leave it out.
    Weights pairs, none;
    pairs.chitoi = 1000;
    pairs.zone = 1000;
    none.chitoi = 0;
    std::array<int, 2> ready{};
    PlayGames({Character(pairs), Character(none), Character(pairs), Character(none)}, 36,
              [&](int seat, const SeatView& view, const Action& a) {
                  if (a.type != ActionType::Discard && a.type != ActionType::Riichi) return;
                  if (!view.melds[static_cast<std::size_t>(seat)].empty()) return;
                  riichi::Counts c = AfterDiscard(view, a);
                  if (riichi::ShantenSevenPairs(c) == 0 && riichi::ShantenRegular(c, 0) > 0)
                      ready[static_cast<std::size_t>(seat % 2)] += 1;
              });
    EXPECT_GT(ready[0], 2 * ready[1] + 5) << ready[0] << " against " << ready[1];
}

}  // namespace
}  // namespace zv::players
