#include "players/hand_reading.h"

#include <algorithm>

#include "riichi/shanten.h"

namespace zv::players {

using riichi::KindOf;
using riichi::SeatView;
using riichi::TileId;

Counts OwnCounts(const SeatView& view) {
    Counts counts{};
    for (TileId t : view.concealed) counts[Ix(KindOf(t))] += 1;
    if (view.drawn >= 0) counts[Ix(KindOf(view.drawn))] += 1;
    return counts;
}

int OwnMelds(const SeatView& view) { return static_cast<int>(view.melds[Ix(view.seat)].size()); }

std::array<std::uint8_t, kKinds> VisibleCounts(const SeatView& view) {
    std::array<std::uint8_t, kKinds> seen{};
    auto add = [&](TileId t) {
        if (t >= 0) seen[Ix(KindOf(t))] += 1;
    };
    for (TileId t : view.concealed) add(t);
    add(view.drawn);
    for (const auto& melds : view.melds)
        for (const riichi::Meld& m : melds)
            for (int i = 0; i < m.size; ++i) add(m.tiles[Ix(i)]);
    for (const auto& river : view.rivers)
        for (const riichi::RiverTile& r : river)
            if (!r.called) add(r.tile);
    for (TileId t : view.doraIndicators) add(t);
    for (const auto& north : view.north)
        for (TileId t : north) add(t);
    if (ThreePlayers(view))
        for (Kind k = 0; k < kKinds; ++k)
            if (!riichi::InThreePlayerSet(k)) seen[Ix(k)] = 4;
    // The claim tile lies in its discarder's river already.
    for (auto& s : seen) s = std::min<std::uint8_t>(s, 4);
    return seen;
}

int Acceptance(Counts& counts, int melds, int shanten, const std::array<std::uint8_t, kKinds>& visible) {
    int total = 0;
    for (Kind k = 0; k < kKinds; ++k) {
        int left = 4 - visible[Ix(k)];
        if (left <= 0 || counts[Ix(k)] >= 4) continue;
        // A drawn tile can only help on or next to a tile already held, or
        // as one of the orphans of a closed hand.
        bool useful = counts[Ix(k)] > 0 || (melds == 0 && riichi::IsTerminalOrHonor(k));
        if (!useful && !riichi::IsHonor(k)) {
            int n = k % 9;
            for (int d = -2; d <= 2 && !useful; ++d)
                if (n + d >= 0 && n + d <= 8 && counts[Ix(k + d)] > 0) useful = true;
        }
        if (!useful) continue;
        counts[Ix(k)] += 1;
        int after = riichi::Shanten(counts, melds);
        counts[Ix(k)] -= 1;
        if (after < shanten) total += left;
    }
    return total;
}

bool SetNorthAside(Counts& counts, int melds) {
    int norths = counts[Ix(riichi::kNorth)];
    if (norths == 0) return false;
    int kept = 99;
    for (Kind k = 0; k < kKinds; ++k) {
        if (counts[Ix(k)] == 0) continue;
        counts[Ix(k)] -= 1;
        kept = std::min(kept, riichi::Shanten(counts, melds));
        counts[Ix(k)] += 1;
    }
    counts[Ix(riichi::kNorth)] -= 1;
    int aside = riichi::Shanten(counts, melds);
    counts[Ix(riichi::kNorth)] += 1;
    bool northHelps = aside > kept && (kept <= 0 || norths >= 3);
    return !northHelps;
}

namespace {

// Kinds seat `seat` has discarded, and kinds that others let pass after its
// riichi (a riichi seat cannot win on them any more). Rivers do not record
// the order between seats, so "after the riichi" is counted per seat from
// the turn order: every other seat has discarded as often as the riichi seat
// since its declaration, plus once for those that played after it in the
// current go-around (calls that skip seats are not followed).
std::uint64_t SafeKinds(const SeatView& view, int seat) {
    std::uint64_t safe = 0;
    const auto& river = view.rivers[Ix(seat)];
    int riichiAt = -1;
    for (std::size_t i = 0; i < river.size(); ++i) {
        safe |= std::uint64_t{1} << KindOf(river[i].tile);
        if (river[i].riichi) riichiAt = static_cast<int>(i);
    }
    if (!view.riichi[Ix(seat)] || riichiAt < 0) return safe;
    int since = static_cast<int>(river.size()) - riichiAt - 1;
    // Seats between the riichi seat and the one to play now (the discarder
    // included while the others answer) have had one more turn.
    const int players = view.players;
    int reached = (view.turn - seat + players) % players;
    if (view.phase == riichi::Phase::Claims)
        reached += 1;
    else if (reached == 0)
        reached = players;
    for (int other = 0; other < players; ++other) {
        if (other == seat) continue;
        const auto& r = view.rivers[Ix(other)];
        int behind = (other - seat + players) % players;
        int count = since + (behind < reached ? 1 : 0);
        int n = static_cast<int>(r.size());
        for (int i = std::max(0, n - count); i < n; ++i) safe |= std::uint64_t{1} << KindOf(r[Ix(i)].tile);
    }
    return safe;
}

// What the melds of a seat that has not declared riichi tell: how near its
// hand may be, and which tiles it can use.
struct OpenRead {
    float threat = 0;
    int flushSuit = -1;       // every meld in this suit (or honours)
    bool allSimples = false;  // every meld of simples
};

OpenRead ReadOpenHand(const SeatView& view, int seat) {
    OpenRead out;
    int open = 0, suit = -1;
    bool oneSuit = true, simples = true;
    for (const riichi::Meld& m : view.melds[Ix(seat)]) {
        if (!m.IsOpen()) continue;
        ++open;
        Kind k = m.BaseKind();
        if (!riichi::IsHonor(k)) {
            if (suit >= 0 && riichi::SuitOf(k) != suit) oneSuit = false;
            suit = riichi::SuitOf(k);
        }
        for (int i = 0; i < m.size; ++i)
            if (riichi::IsTerminalOrHonor(riichi::KindOf(m.tiles[Ix(i)]))) simples = false;
    }
    if (open == 0) return out;
    // About how likely the hand is to be ready already. An open hand is
    // rarely ready before its third call, and even then it waits on fewer
    // tiles than a riichi seen early; what it is worth goes into the cost
    // of dealing in, not here. Giving way to one or two calls costs far
    // more wins than it saves deal-ins.
    static constexpr float kByMelds[5] = {0.0f, 0.02f, 0.06f, 0.2f, 0.7f};
    out.threat = kByMelds[std::min(open, 4)];
    if (view.liveTiles < 24) out.threat *= 1.3f;  // late in the hand most open hands are ready
    if (open >= 2 && oneSuit && suit >= 0) out.flushSuit = suit;
    out.allSimples = simples;
    return out;
}

}  // namespace

bool AnotherSeatInRiichi(const SeatView& view) {
    for (int s = 0; s < view.players; ++s)
        if (s != view.seat && view.riichi[Ix(s)]) return true;
    return false;
}

Danger ReadDanger(const SeatView& view, const std::array<std::uint8_t, kKinds>& visible) {
    Danger out;
    for (int seat = 0; seat < view.players; ++seat) {
        if (seat == view.seat) continue;
        OpenRead open;
        float threat = 1.0f;
        if (!view.riichi[Ix(seat)]) {
            open = ReadOpenHand(view, seat);
            threat = open.threat;
        }
        if (threat <= 0) continue;
        out.threat += threat;
        out.seatThreat[Ix(seat)] = threat;
        std::uint64_t safe = SafeKinds(view, seat);
        auto isSafe = [&](Kind k) { return (safe >> k) & 1u; };
        for (Kind k = 0; k < kKinds; ++k) {
            float d;
            if (isSafe(k)) {
                d = 0.0f;
            } else if (riichi::IsHonor(k)) {
                int left = 4 - visible[Ix(k)];
                d = left <= 0 ? 0.02f : left == 1 ? 0.08f : left == 2 ? 0.3f : 0.5f;
            } else {
                int n = k % 9 + 1;
                // A side is closed by suji (its partner is safe) or a wall
                // (every copy of a tile the two-sided wait needs is in sight).
                auto wall = [&](int step) {
                    return n + step >= 1 && n + step <= 9 && visible[Ix(k + step)] >= 4;
                };
                bool low = (n - 3 >= 1 && isSafe(k - 3)) || wall(-1) || wall(-2);
                bool high = (n + 3 <= 9 && isSafe(k + 3)) || wall(1) || wall(2);
                if (n == 1 || n == 9)
                    d = (low || high) ? 0.15f : 0.5f;
                else if (n == 2 || n == 8)
                    d = (low || high) ? 0.3f : 0.75f;
                else if (n == 3 || n == 7)
                    d = (low || high) ? 0.35f : 0.85f;
                else
                    d = (low && high) ? 0.35f : (low || high) ? 0.7f : 1.0f;
                // No copies left for a pair or a single wait on it.
                if (visible[Ix(k)] >= 4) d *= 0.8f;
                // One copy left of a neighbour: a two-sided wait is unlikely.
                auto oneChance = [&](int step) {
                    return n + step >= 1 && n + step <= 9 && visible[Ix(k + step)] == 3;
                };
                if (!low && oneChance(-1)) d *= 0.85f;
                if (!high && oneChance(1)) d *= 0.85f;
            }
            // An open flush wants its suit and honours; all simples wants no
            // terminals or honours.
            if (open.flushSuit >= 0 && !riichi::IsHonor(k))
                d *= riichi::SuitOf(k) == open.flushSuit ? 1.4f : 0.3f;
            if (open.allSimples && riichi::IsTerminalOrHonor(k)) d *= 0.3f;
            // A dora dealt in doubles the loss at least.
            for (riichi::TileId ind : view.doraIndicators)
                if (riichi::DoraOf(KindOf(ind), ThreePlayers(view)) == k) d *= 1.25f;
            out.kind[Ix(k)] = std::min(1.5f, out.kind[Ix(k)] + threat * d);
        }
    }
    return out;
}

int DoraValue(const SeatView& view, TileId tile) {
    int value = 0;
    Kind k = KindOf(tile);
    for (TileId ind : view.doraIndicators)
        if (riichi::DoraOf(KindOf(ind), ThreePlayers(view)) == k) ++value;
    if (riichi::IsRedFive(tile) && !view.rules.noRedFives) ++value;
    if (ThreePlayers(view) && k == riichi::kNorth) ++value;
    return value;
}

bool IsValueHonor(const SeatView& view, Kind kind) {
    return riichi::IsDragon(kind) || kind == view.seatWind || kind == view.roundWind;
}

}  // namespace zv::players
