#include "riichi/shanten.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <vector>

namespace zv::riichi {
namespace {

// How far a hand is from complete, counted in tiles: a regular hand needs
// (4 - melds) sets and one pair; the number of tiles it lacks to contain them
// (sets and pair may take tiles the hand does not hold, with no limit of four
// copies) is the shanten number plus one. The sets and the pair lie inside
// one suit each, so the distance of a hand is the best split of the sets and
// the pair among the four suits of the smallest distance of each suit.
//
// Dist holds that per suit: at(h, m) = fewest tiles missing for m sets
// (0..4) and h pairs (0..1) made of this suit's tiles. It is laid out for
// byte-wise vector arithmetic: h = 0 in bytes 0..4, h = 1 in bytes 9..13,
// the bytes between and after held at 255 (see Combine).
struct alignas(16) Dist {
    std::uint8_t v[16];
    Dist() { std::memset(v, 0xFF, sizeof v); }
    std::uint8_t& at(int h, int m) { return v[9 * h + m]; }
    std::uint8_t at(int h, int m) const { return v[9 * h + m]; }
};

constexpr int kNoEntry = 0xFF;
constexpr int kMaxSuitTiles = 14;
constexpr std::array<int, 10> kPow5{1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125};

// The smallest distances of two suits taken together:
//   r(0, m) = min over x of a(0, x) + b(0, m - x)
//   r(1, m) = min over x of a(0, x) + b(1, m - x), a(1, x) + b(0, m - x)
#if defined(__SSE2__)
// With SSE2, b is shifted up by x bytes (and by 9 + x, which moves b(0, .)
// onto the h = 1 bytes) and a's value added to all bytes at once; bytes that
// have no partner get 255 added, which saturates, and the pad bytes are set
// back to 255 at the end.
template <int x>
inline __m128i CombineStep(__m128i acc, __m128i b, const Dist& a) {
    alignas(16) static constexpr auto kBelow = [] {
        std::array<std::uint8_t, 16> low{};
        for (int i = 0; i < 16; ++i) low[static_cast<std::size_t>(i)] = i < x ? 0xFF : 0;
        return low;
    }();
    alignas(16) static constexpr auto kBelowHigh = [] {
        std::array<std::uint8_t, 16> low{};
        for (int i = 0; i < 16; ++i) low[static_cast<std::size_t>(i)] = i < 9 + x ? 0xFF : 0;
        return low;
    }();
    __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(kBelow.data()));
    __m128i lowHigh = _mm_load_si128(reinterpret_cast<const __m128i*>(kBelowHigh.data()));
    __m128i plain =
        _mm_adds_epu8(_mm_slli_si128(b, x), _mm_or_si128(_mm_set1_epi8(static_cast<char>(a.v[x])), low));
    __m128i crossed = _mm_adds_epu8(_mm_slli_si128(b, 9 + x),
                                    _mm_or_si128(_mm_set1_epi8(static_cast<char>(a.v[9 + x])), lowHigh));
    return _mm_min_epu8(acc, _mm_min_epu8(plain, crossed));
}

inline Dist Combine(const Dist& a, const Dist& b) {
    __m128i vb = _mm_load_si128(reinterpret_cast<const __m128i*>(b.v));
    __m128i acc = _mm_set1_epi8(static_cast<char>(0xFF));
    acc = CombineStep<0>(acc, vb, a);
    acc = CombineStep<1>(acc, vb, a);
    acc = CombineStep<2>(acc, vb, a);
    acc = CombineStep<3>(acc, vb, a);
    acc = CombineStep<4>(acc, vb, a);
    const __m128i pads = _mm_setr_epi8(0, 0, 0, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0, 0, -1, -1);
    Dist r;
    _mm_store_si128(reinterpret_cast<__m128i*>(r.v), _mm_or_si128(acc, pads));
    return r;
}
#else
inline Dist Combine(const Dist& a, const Dist& b) {
    Dist r;
    for (int m = 0; m < 5; ++m) {
        int best0 = 255, best1 = 255;
        for (int x = 0; x <= m; ++x) {
            best0 = std::min(best0, a.at(0, x) + b.at(0, m - x));
            best1 = std::min(best1, std::min(a.at(0, x) + b.at(1, m - x), a.at(1, x) + b.at(0, m - x)));
        }
        r.at(0, m) = static_cast<std::uint8_t>(best0);
        r.at(1, m) = static_cast<std::uint8_t>(best1);
    }
    return r;
}
#endif

// Fewest tiles missing for `sets` sets and one pair over two combined halves.
inline int Finish(const Dist& a, const Dist& b, int sets) { return Combine(a, b).at(1, sets); }

// A list of distinct distance vectors, each named by a one-byte index.
class DistinctDists {
public:
    DistinctDists() {
        index_.fill(kNoEntry);
        list.reserve(kNoEntry);
    }
    std::uint8_t IndexOf(const Dist& d) {
        std::uint64_t lo, hi;
        std::memcpy(&lo, d.v, 8);
        std::memcpy(&hi, d.v + 8, 8);
        std::size_t slot =
            static_cast<std::size_t>(((lo ^ (hi * 0xC2B2AE3D27D4EB4Full)) * 0x9E3779B97F4A7C15ull) >> 54);
        for (;; slot = (slot + 1) % index_.size()) {
            if (index_[slot] == kNoEntry) {
                if (list.size() >= kNoEntry) std::abort();  // the lists are fixed and short: see Tables
                lo_[slot] = lo;
                hi_[slot] = hi;
                index_[slot] = static_cast<std::uint8_t>(list.size());
                list.push_back(d);
                return index_[slot];
            }
            if (lo_[slot] == lo && hi_[slot] == hi) return index_[slot];
        }
    }
    std::vector<Dist> list;

private:
    std::array<std::uint64_t, 1024> lo_{}, hi_{};
    std::array<std::uint8_t, 1024> index_{};
};

// Every pattern of counts 0..4 of one suit (9 kinds; honours: 7 kinds with no
// runs) is keyed in base 5, kind 1 the lowest digit. Patterns of at most 14
// tiles (all a hand can hold) have an entry: the index of its distance
// vector. There are only 110 distinct vectors for the number suits and 55 for
// the honours; two number suits together give 164, a number suit and the
// honours 149. So a hand's distance is four lookups by key, two in small
// tables of pairs and one in the table of the 164 x 149 combinations:
//   suit 1.9 MB, honour 78 kB, pairs 12 kB + 6 kB, finish 122 kB.
// Building them takes a few milliseconds at the first call.
struct Tables {
    DistinctDists suitDists, honourDists, twoSuits, suitHonour;
    std::vector<std::uint8_t> suit;    // 5^9 keys -> suitDists
    std::vector<std::uint8_t> honour;  // 5^7 keys -> honourDists
    std::vector<std::uint8_t> pairSS;  // suit x suit -> twoSuits
    std::vector<std::uint8_t> pairSH;  // suit x honour -> suitHonour
    // twoSuits x suitHonour -> fewest tiles missing for 0..4 sets and a pair.
    std::vector<std::array<std::uint8_t, 5>> finish;

    Tables() {
        suit = Build(9, true, suitDists);
        honour = Build(7, false, honourDists);
        const auto& s = suitDists.list;
        const auto& h = honourDists.list;
        for (const Dist& a : s)
            for (const Dist& b : s) pairSS.push_back(twoSuits.IndexOf(Combine(a, b)));
        for (const Dist& a : s)
            for (const Dist& b : h) pairSH.push_back(suitHonour.IndexOf(Combine(a, b)));
        for (const Dist& a : twoSuits.list)
            for (const Dist& b : suitHonour.list) {
                Dist all = Combine(a, b);
                finish.push_back({all.at(1, 0), all.at(1, 1), all.at(1, 2), all.at(1, 3), all.at(1, 4)});
            }
    }

    // The distances of a pattern from those of the patterns without the
    // copies each choice takes (see Build): dropping a tile, a triplet or a
    // run (one set more, `tripletCost` / `runCost` tiles missing), the pair
    // (`pairCost` missing).
    static Dist Best(const Dist& drop, const Dist& triplet, int tripletCost, const Dist& pair, int pairCost,
                     const Dist* run, int runCost) {
        Dist d;
#if defined(__SSE2__)
        auto load = [](const Dist& x) { return _mm_load_si128(reinterpret_cast<const __m128i*>(x.v)); };
        auto cost = [](int c) { return _mm_set1_epi8(static_cast<char>(c)); };
        // Shifted up one byte: m - 1 sets become m; byte 0 (no set) and the
        // pair's bytes below 9 get 255, which saturates.
        const __m128i noSet = _mm_setr_epi8(-1, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0);
        const __m128i noPair = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0);
        __m128i best = _mm_min_epu8(load(drop), _mm_adds_epu8(_mm_slli_si128(load(triplet), 1),
                                                              _mm_or_si128(cost(tripletCost), noSet)));
        best = _mm_min_epu8(
            best, _mm_adds_epu8(_mm_slli_si128(load(pair), 9), _mm_or_si128(cost(pairCost), noPair)));
        if (run)
            best = _mm_min_epu8(
                best, _mm_adds_epu8(_mm_slli_si128(load(*run), 1), _mm_or_si128(cost(runCost), noSet)));
        const __m128i pads = _mm_setr_epi8(0, 0, 0, 0, 0, -1, -1, -1, -1, 0, 0, 0, 0, 0, -1, -1);
        _mm_store_si128(reinterpret_cast<__m128i*>(d.v), _mm_or_si128(best, pads));
#else
        for (int h = 0; h < 2; ++h)
            for (int m = 0; m < 5; ++m) {
                int best = drop.at(h, m);
                if (m > 0) best = std::min(best, tripletCost + triplet.at(h, m - 1));
                if (h > 0) best = std::min(best, pairCost + pair.at(0, m));
                if (run && m > 0) best = std::min(best, runCost + run->at(h, m - 1));
                d.at(h, m) = static_cast<std::uint8_t>(best);
            }
#endif
        return d;
    }

    // Distances of every pattern in increasing key order: the patterns one
    // step smaller (tiles taken away) have smaller keys and are done first.
    // For the lowest kind i the hand holds: either no set or pair uses it
    // (drop one copy), or it is in a triplet, the pair, or a run; a run
    // through the lowest kind may as well start there (or at 7 for 8 and 9),
    // since the kinds below hold nothing. Each takes as many copies as it
    // needs and the hand has.
    static std::vector<std::uint8_t> Build(int width, bool runs, DistinctDists& dists) {
        std::vector<std::uint8_t> index(static_cast<std::size_t>(kPow5[static_cast<std::size_t>(width)]),
                                        kNoEntry);
        std::array<int, 9> c{};
        // Visits the patterns of at most 14 tiles only, highest kind as the
        // outer digit, so the keys come in increasing order.
        auto visit = [&](auto& self, int pos, int key, int left) -> void {
            if (pos >= 0) {
                for (int n = 0; n <= std::min(4, left); ++n) {
                    c[static_cast<std::size_t>(pos)] = n;
                    self(self, pos - 1, key + n * kPow5[static_cast<std::size_t>(pos)], left - n);
                }
                c[static_cast<std::size_t>(pos)] = 0;
                return;
            }
            Dist d;
            if (key == 0) {
                for (int h = 0; h < 2; ++h)
                    for (int m = 0; m < 5; ++m) d.at(h, m) = static_cast<std::uint8_t>(3 * m + 2 * h);
            } else {
                int i = 0;
                while (c[static_cast<std::size_t>(i)] == 0) ++i;
                int ci = c[static_cast<std::size_t>(i)];
                const Dist& drop = At(index, dists, key - kPow5[static_cast<std::size_t>(i)]);
                int t = std::min(ci, 3), p = std::min(ci, 2);
                const Dist& triplet = At(index, dists, key - t * kPow5[static_cast<std::size_t>(i)]);
                const Dist& pair = At(index, dists, key - p * kPow5[static_cast<std::size_t>(i)]);
                int runKey = key, runTaken = 0;
                if (runs) {
                    int s = std::min(i, width - 3);
                    for (int j = s; j < s + 3; ++j)
                        if (c[static_cast<std::size_t>(j)] > 0) {
                            runKey -= kPow5[static_cast<std::size_t>(j)];
                            ++runTaken;
                        }
                }
                const Dist& run = At(index, dists, runKey);
                d = Best(drop, triplet, 3 - t, pair, 2 - p, runs ? &run : nullptr, 3 - runTaken);
            }
            index[static_cast<std::size_t>(key)] = dists.IndexOf(d);
        };
        visit(visit, width - 1, 0, kMaxSuitTiles);
        return index;
    }

    static const Dist& At(const std::vector<std::uint8_t>& index, const DistinctDists& dists, int key) {
        return dists.list[index[static_cast<std::size_t>(key)]];
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

// Distances of a suit pattern with no table entry (more than 14 tiles in one
// suit, or a count above four): counts are cut to four and the highest kinds
// dropped until 14 tiles are left. No hand in play gets here; the answer is
// then only an estimate, but it is bounded and never out of range.
Dist SlowDist(const std::uint8_t* counts, int width, const std::vector<std::uint8_t>& index,
              const DistinctDists& dists) {
    int c[9];
    int sum = 0;
    for (int i = 0; i < width; ++i) {
        c[i] = std::min<int>(counts[i], 4);
        sum += c[i];
    }
    for (int i = width - 1; i >= 0 && sum > kMaxSuitTiles; --i) {
        int cut = std::min(c[i], sum - kMaxSuitTiles);
        c[i] -= cut;
        sum -= cut;
    }
    int key = 0;
    for (int i = width - 1; i >= 0; --i) key = key * 5 + c[i];
    return Tables::At(index, dists, key);
}

inline int SuitKey(const std::uint8_t* c) {
    return (((((((c[8] * 5 + c[7]) * 5 + c[6]) * 5 + c[5]) * 5 + c[4]) * 5 + c[3]) * 5 + c[2]) * 5 + c[1]) *
               5 +
           c[0];
}
inline int HonourKey(const std::uint8_t* c) {
    return (((((c[6] * 5 + c[5]) * 5 + c[4]) * 5 + c[3]) * 5 + c[2]) * 5 + c[1]) * 5 + c[0];
}

// True when every count is at most four (a table key of each suit exists).
// Eight counts at a time: adding 0x7B sets a byte's top bit from five up, and
// a count of 0x80 or more has it already; a carry out of such a byte can only
// mark later bytes too.
inline bool CountsInRange(const Counts& counts) {
    constexpr std::uint64_t kAdd = 0x7B7B7B7B7B7B7B7Bull, kTop = 0x8080808080808080ull;
    std::uint64_t bad = 0;
    for (int i = 0; i < 32; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, counts.data() + i, 8);
        bad |= (x | (x + kAdd)) & kTop;
    }
    return bad == 0 && counts[32] <= 4 && counts[33] <= 4;
}

// The table entries of a hand's four suits (m, p, s, honours); false when
// one of them has none.
inline bool SuitEntries(const Counts& counts, const Tables& t, std::uint8_t e[4]) {
    if (!CountsInRange(counts)) return false;
    const std::uint8_t* c = counts.data();
    e[0] = t.suit[static_cast<std::size_t>(SuitKey(c))];
    e[1] = t.suit[static_cast<std::size_t>(SuitKey(c + 9))];
    e[2] = t.suit[static_cast<std::size_t>(SuitKey(c + 18))];
    e[3] = t.honour[static_cast<std::size_t>(HonourKey(c + 27))];
    return (e[0] != kNoEntry) & (e[1] != kNoEntry) & (e[2] != kNoEntry) & (e[3] != kNoEntry);
}

// The four suit distances of a hand.
inline void SuitDists(const Counts& counts, const Tables& t, Dist out[4]) {
    std::uint8_t e[4];
    if (SuitEntries(counts, t, e)) {
        for (int s = 0; s < 3; ++s) out[s] = t.suitDists.list[e[s]];
        out[3] = t.honourDists.list[e[3]];
        return;
    }
    for (int s = 0; s < 3; ++s) out[s] = SlowDist(counts.data() + 9 * s, 9, t.suit, t.suitDists);
    out[3] = SlowDist(counts.data() + 27, 7, t.honour, t.honourDists);
}

inline int SetsWanted(int melds) { return 4 - std::clamp(melds, 0, 4); }

// Whether a suit holding `c` (counts may reach five: a wait on a kind the hand
// holds all four of) splits exactly into `sets` sets and `pairs` pairs.
bool SplitsExactly(std::array<int, 9>& c, int width, bool runs, int sets, int pairs) {
    int i = 0;
    while (i < width && c[static_cast<std::size_t>(i)] == 0) ++i;
    if (i == width) return sets == 0 && pairs == 0;
    auto& ci = c[static_cast<std::size_t>(i)];
    if (pairs > 0 && ci >= 2) {
        ci -= 2;
        bool ok = SplitsExactly(c, width, runs, sets, pairs - 1);
        ci += 2;
        if (ok) return true;
    }
    if (sets == 0) return false;
    if (ci >= 3) {
        ci -= 3;
        bool ok = SplitsExactly(c, width, runs, sets - 1, pairs);
        ci += 3;
        if (ok) return true;
    }
    if (runs && i + 2 < width && c[static_cast<std::size_t>(i + 1)] > 0 &&
        c[static_cast<std::size_t>(i + 2)] > 0) {
        --ci;
        --c[static_cast<std::size_t>(i + 1)];
        --c[static_cast<std::size_t>(i + 2)];
        bool ok = SplitsExactly(c, width, runs, sets - 1, pairs);
        ++ci;
        ++c[static_cast<std::size_t>(i + 1)];
        ++c[static_cast<std::size_t>(i + 2)];
        if (ok) return true;
    }
    return false;
}

// Exact distances (0, or "far") of a suit that holds a fifth copy of a kind.
Dist ExactDist(const Counts& counts, int suit, Kind extra) {
    int width = suit == 3 ? 7 : 9;
    std::array<int, 9> c{};
    for (int i = 0; i < width; ++i)
        c[static_cast<std::size_t>(i)] = counts[static_cast<std::size_t>(suit * 9 + i)];
    ++c[static_cast<std::size_t>(extra - suit * 9)];
    Dist d;
    for (int h = 0; h < 2; ++h)
        for (int m = 0; m < 5; ++m) d.at(h, m) = SplitsExactly(c, width, suit != 3, m, h) ? 0 : 99;
    return d;
}

}  // namespace

int ShantenRegular(const Counts& counts, int melds) {
    const Tables& t = GetTables();
    std::uint8_t e[4];
    if (SuitEntries(counts, t, e)) {
        std::size_t twoSuits = t.pairSS[e[0] * t.suitDists.list.size() + e[1]];
        std::size_t suitHonour = t.pairSH[e[2] * t.honourDists.list.size() + e[3]];
        return t.finish[twoSuits * t.suitHonour.list.size() + suitHonour][SetsWanted(melds)] - 1;
    }
    Dist d[4];
    SuitDists(counts, t, d);
    return Finish(Combine(d[0], d[1]), Combine(d[2], d[3]), SetsWanted(melds)) - 1;
}

int ShantenSevenPairs(const Counts& counts) {
    int pairs = 0, kinds = 0;
    for (int k = 0; k < kKinds; ++k) {
        pairs += counts[static_cast<std::size_t>(k)] >= 2;
        kinds += counts[static_cast<std::size_t>(k)] >= 1;
    }
    return 6 - pairs + std::max(0, 7 - kinds);
}

int ShantenThirteenOrphans(const Counts& counts) {
    constexpr std::array<int, 13> kOrphans{0, 8, 9, 17, 18, 26, 27, 28, 29, 30, 31, 32, 33};
    int kinds = 0, pair = 0;
    for (int k : kOrphans) {
        auto c = counts[static_cast<std::size_t>(k)];
        kinds += c >= 1;
        pair |= c >= 2;
    }
    return 13 - kinds - pair;
}

namespace {
// How many bytes of `x` have their top bit set (no other bit may be set).
inline int TopBits(std::uint64_t x) { return static_cast<int>(((x >> 7) * 0x0101010101010101ull) >> 56); }
}  // namespace

namespace {

// What the seven-pairs and orphans forms need, for counts of 0..4 (the caller
// checks): eight counts at a time, the top bit of a byte plus 0x7F (0x7E)
// says it is at least one (two). The orphans are bytes 0, 8, 9, 17, 18, 26
// and 27..33 (little-endian words: byte j of a word is bit 8j + 7).
struct FormCounts {
    int pairs = 0, kinds = 0, orphans = 0, orphanPair = 0, tiles = 0;
    std::uint64_t held = 0;  // bit k: the hand holds kind k

    explicit FormCounts(const Counts& counts) {
        constexpr std::uint64_t kTop = 0x8080808080808080ull, kBytes = 0x0101010101010101ull;
        constexpr std::uint64_t kOrphans[4] = {0x80ull, 0x8080ull, 0x808000ull, 0x8080808080800000ull};
        for (int i = 0; i < 4; ++i) {
            std::uint64_t x;
            std::memcpy(&x, counts.data() + 8 * i, 8);
            std::uint64_t one = (x + 0x7F7F7F7F7F7F7F7Full) & kTop;
            std::uint64_t two = (x + 0x7E7E7E7E7E7E7E7Eull) & kTop;
            pairs += TopBits(two);
            kinds += TopBits(one);
            orphans += TopBits(one & kOrphans[i]);
            orphanPair |= (two & kOrphans[i]) != 0;
            tiles += static_cast<int>((x * kBytes) >> 56);  // at most 32: no carry out
            // The top bits gathered into one byte, byte j to bit j.
            held |= (((one >> 7) * 0x0102040810204080ull) >> 56) << (8 * i);
        }
        for (int k = 32; k < 34; ++k) {
            int c = counts[static_cast<std::size_t>(k)];
            pairs += c >= 2;
            kinds += c >= 1;
            orphans += c >= 1;
            orphanPair |= c >= 2;
            tiles += c;
            held |= std::uint64_t{c >= 1} << k;
        }
    }
    int SevenPairs() const { return 6 - pairs + std::max(0, 7 - kinds); }
    int Orphans() const { return 13 - orphans - orphanPair; }
};

}  // namespace

int Shanten(const Counts& counts, int melds) {
    int best = ShantenRegular(counts, melds);
    if (melds != 0 || best < 0) return best;
    if (!CountsInRange(counts))
        return std::min({best, ShantenSevenPairs(counts), ShantenThirteenOrphans(counts)});
    FormCounts f(counts);
    return std::min({best, f.SevenPairs(), f.Orphans()});
}

std::uint64_t Waits(const Counts& counts, int melds) {
    if (!CountsInRange(counts) || melds < 0 || melds > 4) return 0;
    FormCounts f(counts);
    if (f.tiles != 13 - 3 * melds) return 0;
    std::uint64_t waits = 0;
    const Tables& t = GetTables();
    int sets = SetsWanted(melds);
    std::uint8_t e[4];
    if (ShantenRegular(counts, melds) == 0 && SuitEntries(counts, t, e)) {
        // Each suit holds at most 13 tiles, so one more still has an entry: a
        // drawn kind completes the hand when the suit's new entry leaves no
        // tile missing. A fifth copy has no entry; that suit is split exactly
        // and matched against the other three combined.
        const std::size_t ns = t.suitDists.list.size(), nh = t.honourDists.list.size();
        const std::size_t nsh = t.suitHonour.list.size();
        auto missing = [&](const std::uint8_t* x) {
            return t.finish[t.pairSS[x[0] * ns + x[1]] * nsh + t.pairSH[x[2] * nh + x[3]]]
                           [static_cast<std::size_t>(sets)];
        };
        for (int s = 0; s < 4; ++s) {
            int width = s == 3 ? 7 : 9;
            const std::uint8_t* c = counts.data() + 9 * s;
            int key = s == 3 ? HonourKey(c) : SuitKey(c);
            const auto& index = s == 3 ? t.honour : t.suit;
            // A kind can only help next to (or on) a kind the suit holds.
            unsigned held = static_cast<unsigned>(f.held >> (9 * s)) & ((1u << width) - 1);
            unsigned near = s == 3 ? held : (held | held << 1 | held << 2 | held >> 1 | held >> 2) & 0x1FFu;
            for (; near != 0; near &= near - 1) {
                int i = std::countr_zero(near);
                Kind k = 9 * s + i;
                bool complete;
                if (c[i] >= 4) {
                    Dist d[4];
                    SuitDists(counts, t, d);
                    Dist others;
                    bool first = true;
                    for (int o = 0; o < 4; ++o) {
                        if (o == s) continue;
                        others = first ? d[o] : Combine(others, d[o]);
                        first = false;
                    }
                    complete = Finish(ExactDist(counts, s, k), others, sets) == 0;
                } else {
                    std::uint8_t next[4] = {e[0], e[1], e[2], e[3]};
                    next[s] = index[static_cast<std::size_t>(key + kPow5[static_cast<std::size_t>(i)])];
                    complete = next[s] != kNoEntry && missing(next) == 0;
                }
                if (complete) waits |= std::uint64_t{1} << k;
            }
        }
    }
    if (melds == 0 && f.SevenPairs() == 0) {
        // Seven pairs: six pairs and a single wait on the single.
        int pairs = 0, singles = 0;
        Kind single = -1;
        for (Kind k = 0; k < kKinds; ++k) {
            auto c = counts[static_cast<std::size_t>(k)];
            if (c == 2) ++pairs;
            if (c == 1) {
                ++singles;
                single = k;
            }
        }
        if (pairs == 6 && singles == 1) waits |= std::uint64_t{1} << single;
    }
    if (melds == 0 && f.Orphans() == 0) {
        // Thirteen orphans: thirteen kinds wait on all thirteen; twelve and a
        // pair wait on the missing one.
        bool pair = false;
        std::uint64_t missing = 0, all = 0;
        for (Kind k = 0; k < kKinds; ++k) {
            if (!IsTerminalOrHonor(k)) continue;
            all |= std::uint64_t{1} << k;
            auto c = counts[static_cast<std::size_t>(k)];
            if (c == 0) missing |= std::uint64_t{1} << k;
            pair = pair || c >= 2;
        }
        waits |= pair ? missing : all;
    }
    return waits;
}

bool IsComplete(const Counts& counts, int melds) {
    if (!CountsInRange(counts) || melds < 0 || melds > 4 || FormCounts(counts).tiles != 14 - 3 * melds)
        return false;
    return Shanten(counts, melds) == -1;
}

int Connectedness(const Counts& counts, Kind k) {
    int score = 2 * counts[static_cast<std::size_t>(k)];
    if (IsHonor(k)) return score;
    int n = NumberOf(k);
    for (int d = -2; d <= 2; ++d) {
        if (d == 0 || n + d < 1 || n + d > 9) continue;
        score += counts[static_cast<std::size_t>(k + d)] * (d == -1 || d == 1 ? 2 : 1);
    }
    return score;
}

}  // namespace zv::riichi
