#include "players/hand_shape.h"

#include <algorithm>

#include "riichi/shanten.h"

namespace zv::players {

using riichi::IsHonor;
using riichi::IsTerminalOrHonor;
using riichi::Meld;
using riichi::MeldType;

int BiasFromWeight(int weight) { return (1000 - std::clamp(weight, 0, 1000)) * 4 / 1000; }

int BiasedShanten(const Counts& counts, int melds, ShapeBias bias) {
    if (bias.sevenPairs == 0 && bias.orphans == 0) return riichi::Shanten(counts, melds);
    int best = riichi::ShantenRegular(counts, melds);
    if (melds != 0 || best < 0) return best;
    if (bias.sevenPairs < 4) best = std::min(best, riichi::ShantenSevenPairs(counts) + bias.sevenPairs);
    if (bias.orphans < 4) best = std::min(best, riichi::ShantenThirteenOrphans(counts) + bias.orphans);
    return best;
}

int BiasedAcceptance(Counts& counts, int melds, int shanten, const std::array<std::uint8_t, kKinds>& visible,
                     ShapeBias bias) {
    if (bias.sevenPairs == 0 && bias.orphans == 0) return Acceptance(counts, melds, shanten, visible);
    bool orphans = melds == 0 && bias.orphans < 4;
    int total = 0;
    for (Kind k = 0; k < kKinds; ++k) {
        int left = 4 - visible[Ix(k)];
        if (left <= 0 || counts[Ix(k)] >= 4) continue;
        bool useful = counts[Ix(k)] > 0 || (orphans && IsTerminalOrHonor(k));
        if (!useful && !IsHonor(k)) {
            int n = k % 9;
            for (int d = -2; d <= 2 && !useful; ++d)
                if (n + d >= 0 && n + d <= 8 && counts[Ix(k + d)] > 0) useful = true;
        }
        if (!useful) continue;
        counts[Ix(k)] += 1;
        int after = BiasedShanten(counts, melds, bias);
        counts[Ix(k)] -= 1;
        if (after < shanten) total += left;
    }
    return total;
}

namespace {

// Unseen tiles a ready hand waits on; `extra` is a kind held but not yet
// counted as seen (the tile just drawn in thought).
int WaitingTiles(const Counts& counts, int melds, const std::array<std::uint8_t, kKinds>& visible,
                 Kind extra) {
    std::uint64_t waits = riichi::Waits(counts, melds);
    int total = 0;
    for (Kind k = 0; k < kKinds; ++k)
        if ((waits >> k) & 1u) total += std::max(0, 4 - visible[Ix(k)] - (k == extra ? 1 : 0));
    return total;
}

}  // namespace

int ReadyQuality(Counts& counts, int melds, const std::array<std::uint8_t, kKinds>& visible) {
    int total = 0;
    for (Kind d = 0; d < kKinds; ++d) {
        int left = 4 - visible[Ix(d)];
        if (left <= 0 || counts[Ix(d)] >= 4) continue;
        counts[Ix(d)] += 1;
        if (riichi::Shanten(counts, melds) <= 0) {
            int bestWait = 0;
            for (Kind e = 0; e < kKinds; ++e) {
                if (counts[Ix(e)] == 0) continue;
                counts[Ix(e)] -= 1;
                if (riichi::Shanten(counts, melds) == 0)
                    bestWait = std::max(bestWait, WaitingTiles(counts, melds, visible, d));
                counts[Ix(e)] += 1;
            }
            total += left * bestWait;
        }
        counts[Ix(d)] -= 1;
    }
    return total;
}

namespace {

bool MeldIsSimple(const Meld& m) {
    for (int i = 0; i < m.size; ++i)
        if (IsTerminalOrHonor(riichi::KindOf(m.tiles[Ix(i)]))) return false;
    return true;
}

}  // namespace

OpenPlan PlanOpenHand(const riichi::SeatView& view, const Counts& counts, const std::vector<Meld>& melds,
                      bool strict, bool allowTriplets) {
    // A value honour triplet is a yaku by itself.
    for (const Meld& m : melds)
        if (m.type != MeldType::Chi && IsValueHonor(view, m.BaseKind())) return {Route::Yakuhai, -1};
    for (Kind k = riichi::kEast; k < kKinds; ++k)
        if (counts[Ix(k)] >= 3 && IsValueHonor(view, k)) return {Route::Yakuhai, -1};

    int terminals = 0;
    std::array<int, 4> bySuit{};
    for (Kind k = 0; k < kKinds; ++k) {
        if (IsTerminalOrHonor(k)) terminals += counts[Ix(k)];
        bySuit[Ix(riichi::SuitOf(k))] += counts[Ix(k)];
    }

    // All simples.
    bool simpleMelds = std::all_of(melds.begin(), melds.end(), MeldIsSimple);
    if (!view.rules.noOpenTanyao && simpleMelds && terminals <= (strict ? 1 : 4)) return {Route::Tanyao, -1};

    // One suit with honours: the melds decide the suit, else the longest.
    int suit = -1;
    bool mixed = false;
    for (const Meld& m : melds) {
        Kind k = m.BaseKind();
        if (IsHonor(k)) continue;
        int s = riichi::SuitOf(k);
        if (suit >= 0 && s != suit) mixed = true;
        suit = s;
    }
    if (!mixed) {
        // Without 2m..8m there is no flush in characters.
        auto firstSuit = bySuit.begin() + (ThreePlayers(view) ? 1 : 0);
        if (suit < 0)
            suit = static_cast<int>(std::max_element(firstSuit, bySuit.begin() + 3) - bySuit.begin());
        int total = bySuit[0] + bySuit[1] + bySuit[2] + bySuit[3];
        int off = total - bySuit[Ix(suit)] - bySuit[3];
        if (off <= (strict ? 1 : 5)) return {Route::Flush, suit};
    }

    // All triplets: no sequence melded and the rest mostly pairs.
    if (allowTriplets) {
        bool anyChi =
            std::any_of(melds.begin(), melds.end(), [](const Meld& m) { return m.type == MeldType::Chi; });
        if (!anyChi) {
            int groups = 0, singles = 0;
            for (Kind k = 0; k < kKinds; ++k) {
                if (counts[Ix(k)] >= 2) ++groups;
                if (counts[Ix(k)] == 1) ++singles;
            }
            int sets = 4 - static_cast<int>(melds.size());
            if (!strict || (groups >= sets && singles <= 2)) return {Route::AllTriplets, -1};
        }
    }
    return {};
}

Meld MeldOfCall(const riichi::SeatView& view, const riichi::Action& call, Counts& counts) {
    Kind k = riichi::KindOf(call.tile);
    Meld meld;
    meld.called = call.tile;
    meld.from = view.turn;
    meld.tiles = {call.tile, -1, -1, -1};
    if (call.type == riichi::ActionType::OpenKan) {
        counts[Ix(k)] = 0;
        meld.type = MeldType::OpenKan;
        meld.size = 4;
        for (int i = 1; i < 4; ++i) meld.tiles[Ix(i)] = k * 4 + (call.tile % 4 + i) % 4;
    } else {
        counts[Ix(riichi::KindOf(call.with[0]))] -= 1;
        counts[Ix(riichi::KindOf(call.with[1]))] -= 1;
        meld.type = call.type == riichi::ActionType::Pon ? MeldType::Pon : MeldType::Chi;
        meld.tiles[1] = call.with[0];
        meld.tiles[2] = call.with[1];
    }
    return meld;
}

}  // namespace zv::players
