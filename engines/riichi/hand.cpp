#include "hand.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
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
// Dist holds that per suit: d[h][m] = fewest tiles missing for m sets
// (0..4) and h pairs (0..1) made of this suit's tiles.
struct Dist {
    std::uint8_t d[2][5];
};

constexpr int kNoEntry = 0xFFFF;
constexpr int kMaxSuitTiles = 14;
constexpr std::array<int, 10> kPow5{1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125};

// Every pattern of counts 0..4 of one suit (9 kinds; honours: 7 kinds with no
// runs) is keyed in base 5, kind 1 the lowest digit. Patterns of at most 14
// tiles (all a hand can hold) have an entry: an index into `dists`, the few
// thousand distinct distance vectors. The index tables take 3.9 MB and 156 kB.
struct Tables {
    std::vector<Dist> dists;
    std::vector<std::uint16_t> suit;    // 5^9 keys
    std::vector<std::uint16_t> honour;  // 5^7 keys

    Tables() {
        std::unordered_map<std::uint64_t, std::uint16_t> seen;
        seen.reserve(8192);
        suit = Build(9, true, seen);
        honour = Build(7, false, seen);
    }

    static std::uint64_t Pack(const Dist& d) {
        std::uint64_t v = 0;
        for (int h = 0; h < 2; ++h)
            for (int m = 0; m < 5; ++m) v = v << 5 | d.d[h][m];
        return v;
    }

    // Distances of every pattern in increasing key order: the patterns one
    // step smaller (tiles taken away) have smaller keys and are done first.
    // For the lowest kind i the hand holds: either no set or pair uses it
    // (drop one copy), or it is in a triplet, the pair, or a run; a run
    // through the lowest kind may as well start there (or at 7 for 8 and 9),
    // since the kinds below hold nothing. Each takes as many copies as it
    // needs and the hand has.
    std::vector<std::uint16_t> Build(int width, bool runs,
                                     std::unordered_map<std::uint64_t, std::uint16_t>& seen) {
        std::vector<std::uint16_t> index(static_cast<std::size_t>(kPow5[static_cast<std::size_t>(width)]),
                                         kNoEntry);
        std::array<int, 9> c{};
        int sum = 0;
        for (int key = 0; key < kPow5[static_cast<std::size_t>(width)]; ++key) {
            if (key > 0) {  // odometer step in base 5
                for (int i = 0;; ++i) {
                    if (c[static_cast<std::size_t>(i)] < 4) {
                        ++c[static_cast<std::size_t>(i)];
                        ++sum;
                        break;
                    }
                    sum -= 4;
                    c[static_cast<std::size_t>(i)] = 0;
                }
            }
            if (sum > kMaxSuitTiles) continue;
            Dist d{};
            if (key == 0) {
                for (int h = 0; h < 2; ++h)
                    for (int m = 0; m < 5; ++m) d.d[h][m] = static_cast<std::uint8_t>(3 * m + 2 * h);
            } else {
                int i = 0;
                while (c[static_cast<std::size_t>(i)] == 0) ++i;
                int ci = c[static_cast<std::size_t>(i)];
                const Dist& drop = At(index, key - kPow5[static_cast<std::size_t>(i)]);
                int t = std::min(ci, 3), p = std::min(ci, 2);
                const Dist& triplet = At(index, key - t * kPow5[static_cast<std::size_t>(i)]);
                const Dist& pair = At(index, key - p * kPow5[static_cast<std::size_t>(i)]);
                int runKey = key, runTaken = 0;
                if (runs) {
                    int s = std::min(i, width - 3);
                    for (int j = s; j < s + 3; ++j)
                        if (c[static_cast<std::size_t>(j)] > 0) {
                            runKey -= kPow5[static_cast<std::size_t>(j)];
                            ++runTaken;
                        }
                }
                const Dist& run = At(index, runKey);
                for (int h = 0; h < 2; ++h)
                    for (int m = 0; m < 5; ++m) {
                        int best = drop.d[h][m];
                        if (m > 0) best = std::min(best, 3 - t + triplet.d[h][m - 1]);
                        if (h > 0) best = std::min(best, 2 - p + pair.d[0][m]);
                        if (runs && m > 0) best = std::min(best, 3 - runTaken + run.d[h][m - 1]);
                        d.d[h][m] = static_cast<std::uint8_t>(best);
                    }
            }
            auto [it, added] = seen.try_emplace(Pack(d), static_cast<std::uint16_t>(dists.size()));
            if (added) dists.push_back(d);
            index[static_cast<std::size_t>(key)] = it->second;
        }
        return index;
    }

    const Dist& At(const std::vector<std::uint16_t>& index, int key) const {
        return dists[index[static_cast<std::size_t>(key)]];
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

// The smallest distances of two suits taken together.
inline Dist Combine(const Dist& a, const Dist& b) {
    Dist r;
    for (int m = 0; m < 5; ++m) {
        int best0 = a.d[0][0] + b.d[0][m];
        int best1 = std::min(a.d[0][0] + b.d[1][m], a.d[1][0] + b.d[0][m]);
        for (int x = 1; x <= m; ++x) {
            best0 = std::min(best0, a.d[0][x] + b.d[0][m - x]);
            best1 = std::min(best1, std::min(a.d[0][x] + b.d[1][m - x], a.d[1][x] + b.d[0][m - x]));
        }
        r.d[0][m] = static_cast<std::uint8_t>(best0);
        r.d[1][m] = static_cast<std::uint8_t>(best1);
    }
    return r;
}

// Fewest tiles missing for `sets` sets and one pair over two combined halves.
inline int Finish(const Dist& a, const Dist& b, int sets) {
    int best = 255;
    for (int x = 0; x <= sets; ++x)
        best = std::min(best, std::min(a.d[0][x] + b.d[1][sets - x], a.d[1][x] + b.d[0][sets - x]));
    return best;
}

// Distances of a suit pattern with no table entry (more than 14 tiles in one
// suit, or a count above four): counts are cut to four and the highest kinds
// dropped until 14 tiles are left. No hand in play gets here; the answer is
// then only an estimate, but it is bounded and never out of range.
Dist SlowDist(const std::uint8_t* counts, int width, const std::vector<std::uint16_t>& index,
              const Tables& tables) {
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
    return tables.At(index, key);
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

// The four suit distances of a hand (m, p, s, honours).
inline void SuitDists(const Counts& counts, const Tables& t, Dist out[4]) {
    if (CountsInRange(counts)) {
        const std::uint8_t* c = counts.data();
        std::uint16_t e0 = t.suit[static_cast<std::size_t>(SuitKey(c))];
        std::uint16_t e1 = t.suit[static_cast<std::size_t>(SuitKey(c + 9))];
        std::uint16_t e2 = t.suit[static_cast<std::size_t>(SuitKey(c + 18))];
        std::uint16_t e3 = t.honour[static_cast<std::size_t>(HonourKey(c + 27))];
        if ((e0 != kNoEntry) & (e1 != kNoEntry) & (e2 != kNoEntry) & (e3 != kNoEntry)) {
            out[0] = t.dists[e0];
            out[1] = t.dists[e1];
            out[2] = t.dists[e2];
            out[3] = t.dists[e3];
            return;
        }
    }
    for (int s = 0; s < 4; ++s) {
        const std::uint8_t* c = counts.data() + 9 * s;
        out[s] = SlowDist(c, s == 3 ? 7 : 9, s == 3 ? t.honour : t.suit, t);
    }
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
        for (int m = 0; m < 5; ++m) d.d[h][m] = SplitsExactly(c, width, suit != 3, m, h) ? 0 : 99;
    return d;
}

bool ValidCounts(const Counts& counts) {
    return std::all_of(counts.begin(), counts.end(), [](std::uint8_t c) { return c <= 4; });
}

}  // namespace

int ShantenRegular(const Counts& counts, int melds) {
    const Tables& t = GetTables();
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

int Shanten(const Counts& counts, int melds) {
    int best = ShantenRegular(counts, melds);
    if (melds != 0 || best < 0) return best;
    if (!CountsInRange(counts))
        return std::min({best, ShantenSevenPairs(counts), ShantenThirteenOrphans(counts)});
    // Counts of 0..4: the top bit of a byte plus 0x7F (0x7E) says it is at
    // least one (two); the orphans are bytes 0, 8, 9, 17, 18, 26 and 27..33.
    constexpr std::uint64_t kTop = 0x8080808080808080ull;
    constexpr std::uint64_t kOrphans[4] = {0x80ull, 0x8080ull, 0x808000ull, 0x8080808080800000ull};
    int pairs = 0, kinds = 0, orphans = 0, orphanPair = 0;
    for (int i = 0; i < 4; ++i) {
        std::uint64_t x;
        std::memcpy(&x, counts.data() + 8 * i, 8);
        std::uint64_t one = (x + 0x7F7F7F7F7F7F7F7Full) & kTop;
        std::uint64_t two = (x + 0x7E7E7E7E7E7E7E7Eull) & kTop;
        std::uint64_t orphanMask = kOrphans[i];
        pairs += TopBits(two);
        kinds += TopBits(one);
        orphans += TopBits(one & orphanMask);
        orphanPair |= (two & orphanMask) != 0;
    }
    for (int k = 32; k < 34; ++k) {
        int c = counts[static_cast<std::size_t>(k)];
        pairs += c >= 2;
        kinds += c >= 1;
        orphans += c >= 1;
        orphanPair |= c >= 2;
    }
    best = std::min(best, 6 - pairs + std::max(0, 7 - kinds));
    return std::min(best, 13 - orphans - orphanPair);
}

std::uint64_t Waits(const Counts& counts, int melds) {
    if (!ValidCounts(counts) || melds < 0 || melds > 4 || TotalTiles(counts) != 13 - 3 * melds) return 0;
    std::uint64_t waits = 0;
    const Tables& t = GetTables();
    int sets = SetsWanted(melds);
    Dist d[4];
    SuitDists(counts, t, d);
    if (Finish(Combine(d[0], d[1]), Combine(d[2], d[3]), sets) == 1) {
        // For each suit, the other three combined; a drawn kind completes the
        // hand when its suit's new distances fit the others' with none missing.
        Dist others[4] = {Combine(d[1], Combine(d[2], d[3])), Combine(d[0], Combine(d[2], d[3])),
                          Combine(Combine(d[0], d[1]), d[3]), Combine(Combine(d[0], d[1]), d[2])};
        for (int s = 0; s < 4; ++s) {
            int width = s == 3 ? 7 : 9;
            const std::uint8_t* c = counts.data() + 9 * s;
            int key = s == 3 ? HonourKey(c) : SuitKey(c);
            const auto& index = s == 3 ? t.honour : t.suit;
            for (int i = 0; i < width; ++i) {
                // A kind can only help next to (or on) a kind the suit holds.
                bool near = false;
                for (int j = std::max(0, i - (s == 3 ? 0 : 2));
                     j <= std::min(width - 1, i + (s == 3 ? 0 : 2)); ++j)
                    near = near || c[j] > 0;
                if (!near) continue;
                Kind k = 9 * s + i;
                Dist next;
                if (c[i] >= 4) {
                    next = ExactDist(counts, s, k);
                } else {
                    std::uint16_t entry =
                        index[static_cast<std::size_t>(key + kPow5[static_cast<std::size_t>(i)])];
                    if (entry == kNoEntry) continue;
                    next = t.dists[entry];
                }
                if (Finish(next, others[s], sets) == 0) waits |= std::uint64_t{1} << k;
            }
        }
    }
    if (melds == 0) {
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
        // Thirteen orphans: thirteen kinds wait on all thirteen; twelve and a
        // pair wait on the missing one.
        if (ShantenThirteenOrphans(counts) == 0) {
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
    }
    return waits;
}

bool IsComplete(const Counts& counts, int melds) {
    if (!ValidCounts(counts) || melds < 0 || melds > 4 || TotalTiles(counts) != 14 - 3 * melds) return false;
    return Shanten(counts, melds) == -1;
}

}  // namespace zv::riichi
