// Decisions per second of the computer players on positions taken from
// seeded games, and whole east-south games per second with four character
// players.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "players/player.h"
#include "riichi/game.h"
#include "riichi/table.h"
#include "zvarena/arena.h"

namespace {

using namespace zv;

// Every view that asked seat 0 or 1 something in a few seeded games.
const std::vector<riichi::SeatView>& Positions() {
    static const std::vector<riichi::SeatView> views = [] {
        std::vector<riichi::SeatView> out;
        riichi::Rules rules;
        for (std::uint64_t seed = 1; seed <= 4; ++seed) {
            auto a = players::MakeCharacterPlayer(players::Weights{}, seed);
            auto b = players::MakeEfficiencyPlayer();
            riichi::Game game(rules, seed);
            auto record = [&out](players::Player& p) {
                return [&out, &p](const riichi::SeatView& v) {
                    out.push_back(v);
                    return p.Decide(v);
                };
            };
            game.PlayOut({record(*a), record(*b), players::AsDecider(*a), players::AsDecider(*b)});
        }
        return out;
    }();
    return views;
}

void BM_CharacterDecision(benchmark::State& state) {
    const auto& views = Positions();
    players::Weights w;
    w.yomi = 800;
    auto player = players::MakeCharacterPlayer(w, 1);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(player->Decide(views[i]));
        if (++i == views.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CharacterDecision);

// Every position timed on its own with the all-rounder's calling and
// pushing weights: the counters give the mean, the 99th percentile and the
// slowest decision in microseconds.
void BM_CharacterDecisionTail(benchmark::State& state) {
    const auto& views = Positions();
    players::Weights w;
    w.pon = w.tie = 250;
    w.tsuyoki = 300;
    w.yomi = 700;
    w.deep = 800;
    auto player = players::MakeCharacterPlayer(w, 1);
    std::vector<double> micros;
    for (auto _ : state) {
        micros.clear();
        for (const auto& v : views) {
            auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(player->Decide(v));
            std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
            micros.push_back(took.count());
        }
    }
    std::sort(micros.begin(), micros.end());
    double total = 0;
    for (double m : micros) total += m;
    state.counters["mean_us"] = total / static_cast<double>(micros.size());
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["max_us"] = micros.back();
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(views.size()));
}
BENCHMARK(BM_CharacterDecisionTail)->Unit(benchmark::kMillisecond);

void BM_EfficiencyDecision(benchmark::State& state) {
    const auto& views = Positions();
    auto player = players::MakeEfficiencyPlayer();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(player->Decide(views[i]));
        if (++i == views.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EfficiencyDecision);

// One east-south game of four character players (items: games).
void BM_EastSouthGame(benchmark::State& state) {
    std::array<arena::Entrant, 4> entrants;
    entrants[1].weights.pon = entrants[1].weights.tie = 400;
    entrants[2].weights.yomi = 900;
    riichi::Rules rules;
    rules.eastOnly = false;
    std::uint64_t seed = 1;
    for (auto _ : state) benchmark::DoNotOptimize(arena::RunArena(entrants, rules, 1, seed++, 1).signature);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EastSouthGame)->Unit(benchmark::kMillisecond);

}  // namespace
