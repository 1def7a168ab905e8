// Decompositions of complete hands, and the scorer's choice among them: for
// many seeded random winning hands an independent enumeration of every
// reading must find the same readings, and the best of them scored one by
// one must be what ScoreWin reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "riichi/decompose.h"
#include "riichi/random.h"
#include "riichi/score.h"

namespace zv::riichi {
namespace {

Counts CountsOf(const std::string& text) {
    std::vector<TileId> tiles;
    std::string error;
    EXPECT_TRUE(ParseTiles(text, tiles, error)) << error;
    return CountKinds(tiles);
}

std::vector<Decomposition> ReadingsOf(const std::string& text) {
    std::vector<Decomposition> out;
    Decompose(CountsOf(text), out);
    return out;
}

TEST(DecomposeTest, FindsEveryRegularReading) {
    auto r = ReadingsOf("111222333m456p99s");
    ASSERT_EQ(r.size(), 2u);  // three triplets, or three equal sequences
    EXPECT_FALSE(r[0].sets[0].sequence);
    EXPECT_TRUE(r[1].sets[0].sequence);
    for (const auto& d : r) {
        EXPECT_EQ(d.form, HandForm::Regular);
        EXPECT_EQ(d.pair, 18 + 8);
        EXPECT_EQ(d.setCount, 4);
    }
    // 23444m: the pair is 44m (234m + 4 left over is not a set).
    r = ReadingsOf("23444m567p678s234s");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].pair, 3);
    // A hand with melds: only the concealed part is read.
    r = ReadingsOf("234m55p");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].setCount, 1);
    EXPECT_EQ(ReadingsOf("55p").size(), 1u);
}

TEST(DecomposeTest, SpecialForms) {
    auto r = ReadingsOf("223344p667788s55m");  // two-sequence pairs and seven pairs
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](auto& d) { return d.form == HandForm::SevenPairs; }), 1);
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](auto& d) { return d.form == HandForm::Regular; }), 1);
    EXPECT_TRUE(IsSevenPairs(CountsOf("11m99m11p99p11s99s11z")));
    EXPECT_FALSE(IsSevenPairs(CountsOf("1111m99m11p99p11s99s")));  // four of a kind is not two pairs

    r = ReadingsOf("119m19p19s1234567z");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].form, HandForm::ThirteenOrphans);
    EXPECT_EQ(r[0].pair, 0);
    EXPECT_FALSE(IsThirteenOrphans(CountsOf("19m19p19s1234567z5m")));  // 13 orphans and a simple
    EXPECT_FALSE(IsThirteenOrphans(CountsOf("119m19p19s123456z")));
}

TEST(DecomposeTest, IncompleteHandsHaveNoReading) {
    EXPECT_TRUE(ReadingsOf("234567m345p678s19p").empty());
    EXPECT_TRUE(ReadingsOf("234567m345p678s9p").empty());  // 13 tiles
    EXPECT_TRUE(ReadingsOf("").empty());
    EXPECT_TRUE(ReadingsOf("11122233344455m").size() >= 1);
    EXPECT_TRUE(ReadingsOf("11122233344468m").empty());
}

// --- Property test ------------------------------------------------------

struct Shape {
    bool sequence;
    Kind kind;
};

// Every set of three in index order: triplets of each kind, then sequences.
std::vector<Shape> AllSets() {
    std::vector<Shape> sets;
    for (Kind k = 0; k < kKinds; ++k) sets.push_back({false, k});
    for (Kind k = 0; k < 27; ++k)
        if (NumberOf(k) <= 7) sets.push_back({true, k});
    return sets;
}

// Independent enumeration: choose sets by index in non-decreasing order.
void Enumerate(Counts& left, std::size_t from, std::vector<ConcealedSet>& chosen,
               std::set<std::vector<std::pair<int, int>>>& found, Kind pair) {
    static const std::vector<Shape> sets = AllSets();
    if (std::all_of(left.begin(), left.end(), [](auto c) { return c == 0; })) {
        std::vector<std::pair<int, int>> key{{pair, -1}};
        std::vector<std::pair<int, int>> body;
        for (auto& s : chosen) body.emplace_back(s.kind, s.sequence);
        std::sort(body.begin(), body.end());
        key.insert(key.end(), body.begin(), body.end());
        found.insert(key);
        return;
    }
    for (std::size_t i = from; i < sets.size(); ++i) {
        const Shape& s = sets[i];
        bool fits = s.sequence ? left[s.kind] && left[s.kind + 1] && left[s.kind + 2] : left[s.kind] >= 3;
        if (!fits) continue;
        for (int j = 0; j < 3; ++j) left[s.sequence ? s.kind + j : s.kind] -= 1;
        chosen.push_back({s.kind, s.sequence});
        Enumerate(left, i, chosen, found, pair);
        chosen.pop_back();
        for (int j = 0; j < 3; ++j) left[s.sequence ? s.kind + j : s.kind] += 1;
    }
}

std::set<std::vector<std::pair<int, int>>> KeysOf(const std::vector<Decomposition>& readings) {
    std::set<std::vector<std::pair<int, int>>> keys;
    for (const auto& d : readings) {
        if (d.form != HandForm::Regular) continue;
        std::vector<std::pair<int, int>> key{{d.pair, -1}};
        for (int i = 0; i < d.setCount; ++i) key.emplace_back(d.sets[i].kind, d.sets[i].sequence);
        std::sort(key.begin() + 1, key.end());
        keys.insert(key);
    }
    return keys;
}

// Builds a random winning situation from random sets and a pair; some sets
// become melds.
bool RandomWin(Random& rng, WinSituation& win) {
    win = WinSituation{};
    std::array<bool, kTiles> used{};
    Counts counts{};
    auto take = [&](Kind k) {
        TileId t = FreeCopy(k, rng.Chance(300), used);
        if (t < 0) t = FreeCopy(k, false, used);
        if (t < 0) t = FreeCopy(k, true, used);
        if (t < 0) return -1;
        used[t] = true;
        ++counts[k];
        return t;
    };
    // Hands of one suit and its neighbours give more readings.
    int suitBias = static_cast<int>(rng.Below(4));
    auto randomKind = [&](bool numberOnly) {
        if (rng.Chance(600) && suitBias < 3) return suitBias * 9 + static_cast<int>(rng.Below(9));
        return static_cast<int>(rng.Below(numberOnly ? 27 : 34));
    };
    int melds = rng.Chance(400) ? static_cast<int>(rng.Below(3)) + 1 : 0;
    for (int set = 0; set < 4; ++set) {
        std::vector<TileId> tiles;
        bool sequence = rng.Chance(600);
        Kind k = randomKind(sequence);
        if (sequence && NumberOf(k) > 7) k -= 2;
        int size = 3;
        bool kan = !sequence && set < melds && rng.Chance(250);
        if (kan) size = 4;
        for (int j = 0; j < size; ++j) {
            TileId t = take(sequence ? k + j : k);
            if (t < 0) return false;
            tiles.push_back(t);
        }
        if (set < melds) {
            Meld m;
            m.size = size;
            for (int j = 0; j < size; ++j) m.tiles[j] = tiles[j];
            m.type = sequence ? MeldType::Chi
                     : kan    ? (rng.Chance(500) ? MeldType::ClosedKan : MeldType::OpenKan)
                              : MeldType::Pon;
            win.melds.push_back(m);
        } else {
            win.concealed.insert(win.concealed.end(), tiles.begin(), tiles.end());
        }
    }
    Kind pair = randomKind(false);
    for (int j = 0; j < 2; ++j) {
        TileId t = take(pair);
        if (t < 0) return false;
        win.concealed.push_back(t);
    }
    win.winTile = win.concealed[rng.Below(win.concealed.size())];
    win.tsumo = rng.Chance(500);
    bool closed = std::none_of(win.melds.begin(), win.melds.end(), [](auto& m) { return m.IsOpen(); });
    win.riichi = closed && rng.Chance(400);
    win.seatWind = kEast + static_cast<int>(rng.Below(4));
    win.roundWind = kEast + static_cast<int>(rng.Below(2));
    win.doraIndicators.push_back(static_cast<TileId>(rng.Below(kTiles)));
    win.uraIndicators.push_back(static_cast<TileId>(rng.Below(kTiles)));
    win.honba = static_cast<int>(rng.Below(3));
    win.sticks = static_cast<int>(rng.Below(3));
    return true;
}

bool Better(const Score& a, const Score& b) {
    return std::tuple(a.won, a.basePoints, a.han, a.fu) > std::tuple(b.won, b.basePoints, b.han, b.fu);
}

TEST(DecomposeTest, RandomHandsMatchBruteForce) {
    Random rng(20261207);
    Rules rules;
    int hands = 0, won = 0;
    for (int attempt = 0; attempt < 20000 && hands < 5000; ++attempt) {
        WinSituation win;
        if (!RandomWin(rng, win)) continue;
        ++hands;
        Counts concealed{};
        for (TileId t : win.concealed) ++concealed[KindOf(t)];

        std::set<std::vector<std::pair<int, int>>> brute;
        for (Kind pair = 0; pair < kKinds; ++pair) {
            if (concealed[pair] < 2) continue;
            Counts left = concealed;
            left[pair] -= 2;
            std::vector<ConcealedSet> chosen;
            Enumerate(left, 0, chosen, brute, pair);
        }
        std::vector<Decomposition> readings;
        Decompose(concealed, readings);
        ASSERT_EQ(KeysOf(readings), brute) << FormatTiles(win.concealed);

        // Score every reading and winning block of the brute-force list.
        Kind winKind = KindOf(win.winTile);
        Score best;
        bool any = false;
        for (const auto& key : brute) {
            Decomposition d;
            d.pair = key[0].first;
            for (std::size_t i = 1; i < key.size(); ++i)
                d.sets[d.setCount++] = {key[i].first, key[i].second != 0};
            std::vector<int> blocks;
            if (d.pair == winKind) blocks.push_back(-1);
            for (int i = 0; i < d.setCount; ++i) {
                const auto& s = d.sets[i];
                if (s.sequence ? winKind >= s.kind && winKind <= s.kind + 2 : winKind == s.kind)
                    blocks.push_back(i);
            }
            for (int b : blocks) {
                Score s = ScoreReading(win, rules, d, b);
                if (!any || Better(s, best)) best = s;
                any = true;
            }
        }
        for (HandForm form : {HandForm::SevenPairs, HandForm::ThirteenOrphans}) {
            bool fits = form == HandForm::SevenPairs ? IsSevenPairs(concealed) : IsThirteenOrphans(concealed);
            if (!fits || !win.melds.empty()) continue;
            Decomposition d;
            d.form = form;
            for (Kind k = 0; k < kKinds; ++k)
                if (concealed[k] == 2) d.pair = k;
            Score s = ScoreReading(win, rules, d, 0);
            if (!any || Better(s, best)) best = s;
            any = true;
        }
        ASSERT_TRUE(any);

        Score got = ScoreWin(win, rules);
        SCOPED_TRACE(FormatTiles(win.concealed) + " win " + TileName(win.winTile));
        ASSERT_EQ(got.won, best.won) << got.error;
        if (!got.won) {
            EXPECT_FALSE(got.error.empty());
            continue;
        }
        ++won;
        EXPECT_EQ(got.basePoints, best.basePoints);
        EXPECT_EQ(got.han, best.han);
        EXPECT_EQ(got.fu, best.fu);
        EXPECT_EQ(got.points, best.points);
        // Payments add up to the points, honba on top.
        if (win.tsumo) {
            EXPECT_EQ(got.tsumoDealerPays + 2 * got.tsumoOthersPay, got.points + 300 * win.honba);
            if (got.dealer) {
                EXPECT_EQ(got.tsumoDealerPays, got.tsumoOthersPay);
            }
        } else {
            EXPECT_EQ(got.ronPayment, got.points + 300 * win.honba);
        }
        EXPECT_EQ(got.total % 100, 0);
        EXPECT_GE(got.fu == 0 ? 30 : got.fu, 20);
    }
    EXPECT_GT(hands, 4000);
    EXPECT_GT(won, 500);  // enough of them have a yaku to be worth it
}

// Any tiles at all: never a crash, either a score or a reason.
TEST(DecomposeTest, ArbitraryTilesAreScoredOrRefused) {
    Random rng(7);
    Rules rules;
    for (int i = 0; i < 5000; ++i) {
        WinSituation win;
        int n = 1 + static_cast<int>(rng.Below(16));
        for (int j = 0; j < n; ++j) win.concealed.push_back(static_cast<TileId>(rng.Below(kTiles + 2)) - 1);
        win.winTile = win.concealed[rng.Below(win.concealed.size())];
        win.tsumo = rng.Chance(500);
        Score s = ScoreWin(win, rules);
        EXPECT_TRUE(s.won || !s.error.empty());
    }
}

}  // namespace
}  // namespace zv::riichi
