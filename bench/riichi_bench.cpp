// Speed of the rules library's hot paths: shanten numbers and waits (table
// lookups per suit), and, further down, scoring and whole games.
//
//   riichi_bench [benchmark options]
//
// Every hand comes from a seeded pool generated before timing, so runs are
// comparable. BM_Shanten reports the one-time cost of building the shanten
// tables (table_build_ms) as a counter.
#include <benchmark/benchmark.h>

#include <chrono>
#include <numeric>
#include <vector>

#include "riichi/random.h"
#include "riichi/shanten.h"
#include "riichi/tile.h"

namespace {

using namespace zv::riichi;

// The first call builds the tables; time it before anything else runs.
const double g_tableBuildMs = [] {
    auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(Shanten(Counts{}, 0));
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}();

Counts RandomHand(Random& rng, int size) {
    std::array<TileId, kTiles> wall;
    std::iota(wall.begin(), wall.end(), 0);
    Counts c{};
    for (int i = 0; i < size; ++i) {
        std::swap(wall[static_cast<std::size_t>(i)],
                  wall[static_cast<std::size_t>(i) + static_cast<std::size_t>(rng.Below(kTiles - i))]);
        ++c[static_cast<std::size_t>(KindOf(wall[static_cast<std::size_t>(i)]))];
    }
    return c;
}

std::vector<Counts> RandomPool(int size, std::uint64_t seed) {
    Random rng(seed);
    std::vector<Counts> pool(4096);
    for (auto& hand : pool) hand = RandomHand(rng, size);
    return pool;
}

// Ready 13-tile hands: a random complete hand less one tile.
std::vector<Counts> ReadyPool(std::uint64_t seed) {
    Random rng(seed);
    std::vector<Counts> pool;
    while (pool.size() < 4096) {
        Counts c{};
        bool ok = true;
        for (int s = 0; s < 4; ++s) {
            Kind k = rng.Chance(300) ? static_cast<Kind>(rng.Below(kKinds))
                                     : static_cast<Kind>(rng.Below(3) * 9 + rng.Below(7));
            bool run = !IsHonor(k) && k % 9 <= 6 && !rng.Chance(300);
            for (int i = 0; i < 3; ++i) ok = ok && ++c[static_cast<std::size_t>(run ? k + i : k)] <= 4;
        }
        Kind pair = static_cast<Kind>(rng.Below(kKinds));
        c[static_cast<std::size_t>(pair)] += 2;
        if (!ok || c[static_cast<std::size_t>(pair)] > 4) continue;
        Kind out;
        do out = static_cast<Kind>(rng.Below(kKinds));
        while (c[static_cast<std::size_t>(out)] == 0);
        --c[static_cast<std::size_t>(out)];
        if (Shanten(c, 0) == 0) pool.push_back(c);
    }
    return pool;
}

void BM_Shanten(benchmark::State& state) {
    auto pool = RandomPool(14, 1);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Shanten(pool[i], 0));
        i = (i + 1) & (pool.size() - 1);
    }
    state.counters["table_build_ms"] = g_tableBuildMs;
}
BENCHMARK(BM_Shanten);

void BM_ShantenRegular(benchmark::State& state) {
    auto pool = RandomPool(14, 2);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShantenRegular(pool[i], 0));
        i = (i + 1) & (pool.size() - 1);
    }
}
BENCHMARK(BM_ShantenRegular);

void BM_WaitsReady(benchmark::State& state) {
    auto pool = ReadyPool(3);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Waits(pool[i], 0));
        i = (i + 1) & (pool.size() - 1);
    }
}
BENCHMARK(BM_WaitsReady);

void BM_WaitsRandom(benchmark::State& state) {
    auto pool = RandomPool(13, 4);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Waits(pool[i], 0));
        i = (i + 1) & (pool.size() - 1);
    }
}
BENCHMARK(BM_WaitsRandom);

}  // namespace

// Scoring and whole-game benchmarks follow.

// Scoring winning hands: every reading, yaku, fu, dora, limits and payments.
// The pool holds seeded random complete hands (random sets and a pair, some
// of them declared as melds) that have a yaku, so every call scores a win.
#include "riichi/score.h"

namespace {

std::vector<zv::riichi::WinSituation> WinningPool(std::uint64_t seed) {
    using namespace zv::riichi;
    Random rng(seed);
    Rules rules;
    std::vector<WinSituation> pool;
    while (pool.size() < 1024) {
        WinSituation win;
        std::array<bool, kTiles> used{};
        bool ok = true;
        int melds = rng.Chance(400) ? static_cast<int>(rng.Below(3)) + 1 : 0;
        int suit = static_cast<int>(rng.Below(3));
        auto take = [&](Kind k) {
            TileId t = FreeCopy(k, rng.Chance(200), used);
            if (t < 0) t = FreeCopy(k, false, used);
            if (t < 0) t = FreeCopy(k, true, used);
            if (t < 0)
                ok = false;
            else
                used[static_cast<std::size_t>(t)] = true;
            return t;
        };
        for (int s = 0; s < 4 && ok; ++s) {
            bool run = rng.Chance(650);
            Kind k = rng.Chance(500)
                         ? static_cast<Kind>(suit * 9 + rng.Below(7))
                         : static_cast<Kind>(run ? rng.Below(3) * 9 + rng.Below(7) : rng.Below(kKinds));
            Meld m;
            for (int i = 0; i < 3; ++i) m.tiles[static_cast<std::size_t>(i)] = take(run ? k + i : k);
            if (s < melds) {
                m.type = run ? MeldType::Chi : MeldType::Pon;
                win.melds.push_back(m);
            } else {
                win.concealed.insert(win.concealed.end(), m.tiles.begin(), m.tiles.begin() + 3);
            }
        }
        Kind pair = static_cast<Kind>(rng.Below(kKinds));
        win.concealed.push_back(take(pair));
        win.concealed.push_back(take(pair));
        if (!ok) continue;
        win.winTile = win.concealed[static_cast<std::size_t>(rng.Below(win.concealed.size()))];
        win.tsumo = rng.Chance(500);
        win.riichi = melds == 0 && rng.Chance(500);
        win.seatWind = kEast + static_cast<Kind>(rng.Below(4));
        win.doraIndicators = {static_cast<TileId>(rng.Below(kTiles))};
        win.uraIndicators = {static_cast<TileId>(rng.Below(kTiles))};
        if (ScoreWin(win, rules).won) pool.push_back(win);
    }
    return pool;
}

void BM_ScoreWin(benchmark::State& state) {
    using namespace zv::riichi;
    const auto pool = WinningPool(11);
    Rules rules;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScoreWin(pool[i], rules).points);
        i = (i + 1) & (pool.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScoreWin);

}  // namespace

// Whole east-south games of four shanten-only players: dealing, every
// decision through a seat's view, claim windows, scoring and the end of the
// game. Each iteration plays one game from the next seed; `hands` is the
// average number of hands per game.
#include "riichi/game.h"
#include "riichi/table.h"
#include "support/simple_player.h"

namespace {

void BM_WholeGame(benchmark::State& state) {
    using namespace zv::riichi;
    Rules rules;
    rules.eastOnly = false;
    std::uint64_t seed = 1;
    std::int64_t hands = 0;
    for (auto _ : state) {
        Game game(rules, seed++);
        game.PlayOut({ShantenOnlyDecision, ShantenOnlyDecision, ShantenOnlyDecision, ShantenOnlyDecision});
        hands += static_cast<std::int64_t>(game.Results().size());
        benchmark::DoNotOptimize(game.Totals());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["hands"] = benchmark::Counter(
        static_cast<double>(hands) / static_cast<double>(std::max<std::int64_t>(1, state.iterations())));
}
BENCHMARK(BM_WholeGame)->Unit(benchmark::kMillisecond);

}  // namespace
