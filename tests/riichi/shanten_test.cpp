#include "riichi/shanten.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "riichi/random.h"

namespace zv::riichi {
namespace {

Counts Parse(std::string_view text) {
    std::vector<TileId> tiles;
    std::string error;
    EXPECT_TRUE(ParseTiles(text, tiles, error)) << text << ": " << error;
    return CountKinds(tiles);
}

std::uint64_t Bits(std::string_view kinds) {
    std::uint64_t bits = 0;
    for (TileId t : [&] {
             std::vector<TileId> tiles;
             std::string error;
             EXPECT_TRUE(ParseTiles(kinds, tiles, error)) << error;
             return tiles;
         }())
        bits |= std::uint64_t{1} << KindOf(t);
    return bits;
}

// --- A slow reference, written for plain correctness --------------------
//
// Regular form: every way of taking sets, partial sets (two tiles of a set)
// and one pair out of the hand, scored 8 - 2 * sets - partials - pair with at
// most four sets and partials in all.
struct Reference {
    Counts c;
    int melds;
    int best = 99;

    void Search(int k, int sets, int partials, bool pair) {
        while (k < kKinds && c[k] == 0) ++k;
        if (k == kKinds) {
            int s = sets + melds;
            int p = std::min(partials, std::max(0, 4 - s));
            best = std::min(best, 8 - 2 * s - p - (pair ? 1 : 0));
            return;
        }
        bool suited = !IsHonor(k);
        int n = k % 9;
        auto take = [&](std::initializer_list<int> kinds, int ds, int dp, bool head) {
            for (int x : kinds) --c[x];
            Search(k, sets + ds, partials + dp, pair || head);
            for (int x : kinds) ++c[x];
        };
        if (c[k] >= 3) take({k, k, k}, 1, 0, false);
        if (suited && n <= 6 && c[k + 1] && c[k + 2]) take({k, k + 1, k + 2}, 1, 0, false);
        if (c[k] >= 2 && !pair) take({k, k}, 0, 0, true);
        if (c[k] >= 2) take({k, k}, 0, 1, false);
        if (suited && n <= 7 && c[k + 1]) take({k, k + 1}, 0, 1, false);
        if (suited && n <= 6 && c[k + 2]) take({k, k + 2}, 0, 1, false);
        --c[k];  // an isolated tile
        Search(k, sets, partials, pair);
        ++c[k];
    }
};

int RefRegular(const Counts& counts, int melds) {
    Reference r{counts, melds};
    r.Search(0, 0, 0, false);
    return r.best;
}

int RefShanten(const Counts& counts, int melds) {
    int best = RefRegular(counts, melds);
    if (melds == 0) {
        int pairs = 0, kinds = 0, orphans = 0;
        bool orphanPair = false;
        for (Kind k = 0; k < kKinds; ++k) {
            pairs += counts[k] >= 2;
            kinds += counts[k] >= 1;
            if (IsTerminalOrHonor(k)) {
                orphans += counts[k] >= 1;
                orphanPair = orphanPair || counts[k] >= 2;
            }
        }
        best = std::min(best, 6 - pairs + std::max(0, 7 - kinds));
        best = std::min(best, 13 - orphans - (orphanPair ? 1 : 0));
    }
    return best;
}

// Complete: a pair and sets using every tile (counts may reach five), or
// seven distinct pairs, or the thirteen orphans.
bool RefSets(std::array<int, kKinds>& c, int k) {
    while (k < kKinds && c[k] == 0) ++k;
    if (k == kKinds) return true;
    if (c[k] >= 3) {
        c[k] -= 3;
        bool ok = RefSets(c, k);
        c[k] += 3;
        if (ok) return true;
    }
    if (!IsHonor(k) && k % 9 <= 6 && c[k + 1] && c[k + 2]) {
        --c[k], --c[k + 1], --c[k + 2];
        bool ok = RefSets(c, k);
        ++c[k], ++c[k + 1], ++c[k + 2];
        if (ok) return true;
    }
    return false;
}

bool RefComplete(const std::array<int, kKinds>& counts, int melds) {
    if (std::accumulate(counts.begin(), counts.end(), 0) != 14 - 3 * melds) return false;
    for (Kind p = 0; p < kKinds; ++p) {
        if (counts[p] < 2) continue;
        auto c = counts;
        c[p] -= 2;
        if (RefSets(c, 0)) return true;
    }
    if (melds > 0) return false;
    if (std::count(counts.begin(), counts.end(), 2) == 7) return true;
    int orphans = 0, pairs = 0;
    for (Kind k = 0; k < kKinds; ++k) {
        if (!IsTerminalOrHonor(k)) continue;
        orphans += counts[k] >= 1;
        pairs += counts[k] == 2;
    }
    return orphans == 13 && pairs == 1;
}

std::uint64_t RefWaits(const Counts& counts, int melds) {
    std::uint64_t waits = 0;
    for (Kind k = 0; k < kKinds; ++k) {
        std::array<int, kKinds> c{};
        for (Kind x = 0; x < kKinds; ++x) c[x] = counts[x];
        ++c[k];
        if (RefComplete(c, melds)) waits |= std::uint64_t{1} << k;
    }
    return waits;
}

Counts RandomHand(Random& rng, int size) {
    std::array<TileId, kTiles> wall;
    std::iota(wall.begin(), wall.end(), 0);
    Counts c{};
    for (int i = 0; i < size; ++i) {  // a partial shuffle is enough
        std::swap(wall[i], wall[i + rng.Below(kTiles - i)]);
        ++c[KindOf(wall[i])];
    }
    return c;
}

// A hand one or two tiles from a random complete one: random hands are
// almost never ready, and the waits need ready hands.
Counts NearCompleteHand(Random& rng, int melds, int size) {
    for (;;) {
        Counts c{};
        bool ok = true;
        for (int s = 0; s < 4 - melds && ok; ++s) {
            if (rng.Chance(400)) {
                Kind k = static_cast<Kind>(rng.Below(kKinds));
                ok = c[k] + 3 <= 4;
                c[k] += 3;
            } else {
                Kind k = static_cast<Kind>(rng.Below(3) * 9 + rng.Below(7));
                for (int i = 0; i < 3; ++i) ok = ok && ++c[k + i] <= 4;
            }
        }
        Kind p = static_cast<Kind>(rng.Below(kKinds));
        c[p] += 2;
        if (!ok || c[p] > 4) continue;
        int change = static_cast<int>(rng.Below(3));
        for (int i = 0; i < change; ++i) {  // swap a tile for a random one
            Kind out;
            do out = static_cast<Kind>(rng.Below(kKinds));
            while (c[out] == 0);
            --c[out];
            Kind in;
            do in = static_cast<Kind>(rng.Below(kKinds));
            while (c[in] >= 4);
            ++c[in];
        }
        while (TotalTiles(c) > size) {
            Kind out = static_cast<Kind>(rng.Below(kKinds));
            if (c[out] > 0) --c[out];
        }
        return c;
    }
}

// --- Hand-checked cases ----------------------------------------------------

TEST(ShantenTest, RegularFormByHand) {
    EXPECT_EQ(ShantenRegular(Parse("123m456p789s11122z"), 0), -1);
    EXPECT_EQ(ShantenRegular(Parse("123m456p789s1112z"), 0), 0);   // single wait
    EXPECT_EQ(ShantenRegular(Parse("123m456p78s11z135m"), 0), 1);  // 13 tiles, two partials short
    EXPECT_EQ(ShantenRegular(Parse("19m19p19s1234567z"), 0), 8);   // nothing fits together
    EXPECT_EQ(ShantenRegular(Parse("147m258p369s1234z"), 0), 8);   // gaps of three: no partials
    EXPECT_EQ(ShantenRegular(Parse("11223344556677z"), 0), 3);     // seven pairs, not regular
    EXPECT_EQ(ShantenRegular(Parse("12345678m11223z"), 0), 1);
    // More partials than room: five two-tile groups count as four.
    EXPECT_EQ(ShantenRegular(Parse("12m45m78m12p45p7s7z"), 0), 4);
}

TEST(ShantenTest, HandsWithMelds) {
    EXPECT_EQ(ShantenRegular(Parse("1m"), 4), 0);  // bare single wait
    EXPECT_EQ(ShantenRegular(Parse("11m"), 4), -1);
    EXPECT_EQ(ShantenRegular(Parse("12m"), 4), 0);  // 14 - 12 tiles: discard to a single wait
    EXPECT_EQ(ShantenRegular(Parse("2345m"), 3), 0);
    EXPECT_EQ(ShantenRegular(Parse("23458m"), 3), 0);
    EXPECT_EQ(ShantenRegular(Parse("1m9p1z7z"), 3), 2);
    EXPECT_EQ(ShantenRegular(Parse("123456m78s"), 2), 0);
    // Melds leave seven pairs and orphans out.
    EXPECT_EQ(Shanten(Parse("1122m3344p55s"), 1), 2);
}

TEST(ShantenTest, SevenPairsCountsAQuadAsOnePair) {
    EXPECT_EQ(ShantenSevenPairs(Parse("1122m3344p5566s77z")), -1);
    EXPECT_EQ(ShantenSevenPairs(Parse("1111m3344p5566s77z")), 1);  // six kinds: a seventh is missing
    EXPECT_EQ(ShantenSevenPairs(Parse("1122m3344p5566s7z")), 0);
    EXPECT_EQ(ShantenSevenPairs(Parse("111m222p333s4445z")), 4);
    EXPECT_EQ(ShantenSevenPairs(Parse("19m19p19s1234567z")), 6);
    EXPECT_EQ(Shanten(Parse("1122m3344p5566s77z"), 0), -1);
    EXPECT_EQ(Shanten(Parse("1111m2222p3333s5z"), 0), 2);  // regular form does better than 6
}

TEST(ShantenTest, ThirteenOrphans) {
    EXPECT_EQ(ShantenThirteenOrphans(Parse("19m19p19s1234567z")), 0);
    EXPECT_EQ(ShantenThirteenOrphans(Parse("19m19p19s12345677z")), -1);
    EXPECT_EQ(ShantenThirteenOrphans(Parse("19m19p19s1234566z")), 0);
    EXPECT_EQ(ShantenThirteenOrphans(Parse("19m19p19s1234555z")), 1);  // three of one kind still one pair
    EXPECT_EQ(ShantenThirteenOrphans(Parse("2345678m2345678p")), 13);
    EXPECT_EQ(Shanten(Parse("19m19p19s1234567z"), 0), 0);
}

// Copies and neighbours of the same suit count; honours have no neighbours
// and a suit's end does not reach into the next suit.
TEST(ConnectednessTest, CountsCopiesAndNeighboursOfOneSuit) {
    std::vector<TileId> tiles;
    std::string error;
    ASSERT_TRUE(ParseTiles("12359m1p11z", tiles, error)) << error;
    Counts counts = CountKinds(tiles);
    EXPECT_EQ(Connectedness(counts, ParseKind("1m")), 2 + 2 + 1);
    EXPECT_EQ(Connectedness(counts, ParseKind("2m")), 2 + 2 + 2);
    EXPECT_EQ(Connectedness(counts, ParseKind("5m")), 2 + 1);
    EXPECT_EQ(Connectedness(counts, ParseKind("9m")), 2);
    EXPECT_EQ(Connectedness(counts, ParseKind("1p")), 2);
    EXPECT_EQ(Connectedness(counts, ParseKind("1z")), 4);
    EXPECT_EQ(Connectedness(counts, ParseKind("2z")), 0);
}

TEST(WaitsTest, ClassicShapes) {
    // Thirteen-sided orphans, and the one-sided wait after a pair.
    EXPECT_EQ(Waits(Parse("19m19p19s1234567z"), 0), Bits("19m19p19s1234567z"));
    EXPECT_EQ(Waits(Parse("19m19p19s1234566z"), 0), Bits("7z"));
    // Pure nine gates wait on every number of its suit.
    EXPECT_EQ(Waits(Parse("1112345678999m"), 0), Bits("123456789m"));
    EXPECT_EQ(Waits(Parse("1112345678999p"), 0), Bits("123456789p"));
    // The usual two-sided, edge, middle, single and pair-pair waits.
    EXPECT_EQ(Waits(Parse("23m456p789s11122z"), 0), Bits("14m"));
    EXPECT_EQ(Waits(Parse("12m456p789s11122z"), 0), Bits("3m"));
    EXPECT_EQ(Waits(Parse("13m456p789s11122z"), 0), Bits("2m"));
    EXPECT_EQ(Waits(Parse("11m456p789s11122z"), 0), Bits("1m2z"));
    EXPECT_EQ(Waits(Parse("1234m456p789s111z"), 0), Bits("14m"));
    EXPECT_EQ(Waits(Parse("2345678m456p111z"), 0), Bits("258m"));
    EXPECT_EQ(Waits(Parse("1122m3344p5566s7z"), 0), Bits("7z"));
    // Seven pairs and regular form at once.
    EXPECT_EQ(Waits(Parse("1122334455667m"), 0), Bits("147m"));
    // Not ready: no waits.
    EXPECT_EQ(Waits(Parse("147m258p369s1234z"), 0), 0u);
}

TEST(WaitsTest, WaitOnAKindHeldFourTimesIsListed) {
    // 1111m + three sets: only a fifth 1m would complete; listed, the caller
    // sees that none is left.
    EXPECT_EQ(Waits(Parse("1111m456p789s111z"), 0), Bits("1m"));
    EXPECT_EQ(Waits(Parse("1111m234p"), 2), Bits("1m"));
    // Seven pairs with a quad is no wait at all.
    EXPECT_EQ(Waits(Parse("1111m3344p5566s7z"), 0), 0u);
}

TEST(WaitsTest, MeldsAndWrongSizes) {
    EXPECT_EQ(Waits(Parse("5z"), 4), Bits("5z"));
    EXPECT_EQ(Waits(Parse("4567p"), 3), Bits("47p"));
    EXPECT_EQ(Waits(Parse("1112345678999m"), 0), Bits("123456789m"));
    EXPECT_EQ(Waits(Parse("123m456p789s1122z"), 0), Bits("12z"));
    EXPECT_EQ(Waits(Parse("123m456p789s11222z"), 0), 0u);  // 14 tiles: no waits
    EXPECT_EQ(Waits(Parse("123m456p789s1z"), 1), Bits("1z"));
    EXPECT_EQ(Waits(Parse("123m456p789s1z"), 0), 0u);  // 10 tiles without melds
}

TEST(CompleteTest, Forms) {
    EXPECT_TRUE(IsComplete(Parse("11123456789999m"), 0));
    EXPECT_TRUE(IsComplete(Parse("1122m3344p5566s77z"), 0));
    EXPECT_TRUE(IsComplete(Parse("19m19p19s12345677z"), 0));
    EXPECT_TRUE(IsComplete(Parse("22m"), 4));
    EXPECT_TRUE(IsComplete(Parse("222333444m55p"), 1));
    EXPECT_FALSE(IsComplete(Parse("1111m3344p5566s77z"), 0));  // a quad is not two pairs
    EXPECT_FALSE(IsComplete(Parse("22m"), 3));                 // too few tiles for the melds
    EXPECT_FALSE(IsComplete(Parse("123m456p789s1122z"), 0));   // 13 + 1 missing
}

TEST(HandInputTest, BadCountsGiveBoundedAnswers) {
    Counts c{};
    c[0] = 9;
    c[30] = 200;
    int s = Shanten(c, 0);
    EXPECT_GE(s, -1);
    EXPECT_LE(s, 13);
    EXPECT_EQ(Waits(c, 0), 0u);
    EXPECT_FALSE(IsComplete(c, 0));
    Counts many{};
    for (Kind k = 0; k < 9; ++k) many[k] = 4;  // 36 tiles in one suit
    EXPECT_GE(ShantenRegular(many, 0), -1);
    EXPECT_EQ(ShantenRegular(Parse("123m"), 9), ShantenRegular(Parse("123m"), 4));
}

// --- Against the reference -------------------------------------------------

// Unoptimised (sanitizer) builds check fewer hands so the suite stays quick.
#ifdef NDEBUG
constexpr int kHandScale = 10;
#else
constexpr int kHandScale = 1;
#endif

TEST(ShantenPropertyTest, RandomHandsMatchTheReference) {
    Random rng(20240601);
    for (int i = 0; i < 15000 * kHandScale; ++i) {
        int size = i % 3 == 0 ? 13 : 14;
        Counts c = RandomHand(rng, size);
        ASSERT_EQ(Shanten(c, 0), RefShanten(c, 0)) << "hand " << i;
        ASSERT_EQ(ShantenRegular(c, 0), RefRegular(c, 0)) << "hand " << i;
    }
}

TEST(ShantenPropertyTest, HandsWithMeldsMatchTheReference) {
    Random rng(7);
    for (int i = 0; i < 6000 * kHandScale; ++i) {
        int melds = 1 + i % 4;
        Counts c = RandomHand(rng, 14 - 3 * melds - static_cast<int>(rng.Below(2)));
        ASSERT_EQ(Shanten(c, melds), RefShanten(c, melds)) << "hand " << i;
    }
}

TEST(WaitsPropertyTest, NearCompleteHandsMatchTheReference) {
    Random rng(99);
    int ready = 0;
    for (int i = 0; i < 5000 * kHandScale; ++i) {
        int melds = i % 5 == 4 ? static_cast<int>(rng.Below(5)) : 0;
        Counts c = NearCompleteHand(rng, melds, 13 - 3 * melds);
        std::uint64_t waits = Waits(c, melds);
        ASSERT_EQ(waits, RefWaits(c, melds)) << "hand " << i;
        int shanten = Shanten(c, melds);
        ASSERT_EQ(shanten, RefShanten(c, melds)) << "hand " << i;
        ASSERT_EQ(waits != 0, shanten == 0) << "hand " << i;
        ready += waits != 0;
        // Completing with each wait gives a complete hand, and nothing else does.
        for (Kind k = 0; k < kKinds; ++k) {
            if (c[k] >= 4) continue;
            ++c[k];
            ASSERT_EQ(IsComplete(c, melds), ((waits >> k) & 1) != 0) << "hand " << i << " kind " << k;
            --c[k];
        }
    }
    EXPECT_GT(ready, 800 * kHandScale);  // the generator really reaches ready hands
}

}  // namespace
}  // namespace zv::riichi
