#include "players/hand_value.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "riichi/shanten.h"

namespace zv::players {

using riichi::IsTerminalOrHonor;
using riichi::Meld;
using riichi::MeldType;
using riichi::SeatView;
using riichi::TileId;

double PointsOfHan(double han, bool dealer) {
    // Non-dealer points by whole han from 0 (30 fu below mangan).
    static constexpr double kPoints[] = {0,     1000,  2000,  3900,  7700,  8000,  12000,
                                         12000, 16000, 16000, 16000, 24000, 24000, 32000};
    constexpr int kTop = static_cast<int>(std::size(kPoints)) - 1;
    han = std::clamp(han, 0.0, static_cast<double>(kTop));
    int whole = std::min(static_cast<int>(han), kTop - 1);
    double frac = han - whole;
    double points = kPoints[whole] + frac * (kPoints[whole + 1] - kPoints[whole]);
    return dealer ? points * 1.5 : points;
}

double LikelyHan(const SeatView& view, const Counts& counts, TileId without) {
    return LikelyHan(view, counts, view.melds[Ix(view.seat)], without);
}

double LikelyHan(const SeatView& view, const Counts& counts, const std::vector<Meld>& own, TileId without) {
    bool open = std::any_of(own.begin(), own.end(), [](const Meld& m) { return m.IsOpen(); });
    double han = 0;
    const bool three = ThreePlayers(view);
    for (TileId ind : view.doraIndicators) han += counts[Ix(riichi::DoraOf(riichi::KindOf(ind), three))];
    if (three) han += counts[Ix(riichi::kNorth)] + static_cast<double>(view.north[Ix(view.seat)].size());
    if (!view.rules.noRedFives) {
        // Red fives still concealed; those in the melds count with them.
        auto concealedRed = [&](TileId t) {
            if (t < 0 || t == without || !riichi::IsRedFive(t)) return false;
            return std::none_of(own.begin(), own.end(), [t](const Meld& m) {
                return std::find(m.tiles.begin(), m.tiles.begin() + m.size, t) != m.tiles.begin() + m.size;
            });
        };
        for (TileId t : view.concealed) han += concealedRed(t) ? 1 : 0;
        han += concealedRed(view.drawn) ? 1 : 0;
    }

    // Value honours: each of dragon, seat and round wind is a han.
    auto valueHan = [&](Kind k) {
        return (riichi::IsDragon(k) ? 1 : 0) + (k == view.seatWind ? 1 : 0) + (k == view.roundWind ? 1 : 0);
    };
    bool simpleMelds = true;
    std::array<int, 4> bySuit{};
    for (const Meld& m : own) {
        for (int i = 0; i < m.size; ++i) {
            han += DoraValue(view, m.tiles[Ix(i)]);
            if (IsTerminalOrHonor(riichi::KindOf(m.tiles[Ix(i)]))) simpleMelds = false;
        }
        if (m.type != MeldType::Chi) han += valueHan(m.BaseKind());
        bySuit[Ix(riichi::SuitOf(m.BaseKind()))] += 3;
    }
    int terminals = 0;
    for (Kind k = 0; k < kKinds; ++k) {
        int c = counts[Ix(k)];
        if (IsTerminalOrHonor(k)) terminals += c;
        bySuit[Ix(riichi::SuitOf(k))] += c;
        if (riichi::IsHonor(k)) han += c >= 3 ? valueHan(k) : c == 2 ? 0.3 * valueHan(k) : 0.0;
    }
    if (simpleMelds && !(open && view.rules.noOpenTanyao))
        han += terminals <= 1 ? 1.0 : terminals <= 3 ? 0.4 : 0.0;

    int numbered = bySuit[0] + bySuit[1] + bySuit[2];
    // Without 2m..8m there is no flush in characters.
    int main = *std::max_element(bySuit.begin() + (three ? 1 : 0), bySuit.begin() + 3);
    int off = numbered - main;
    double flush = off == 0 ? 2.0 : off <= 2 ? 1.0 : 0.0;
    han += open ? flush : flush * 1.5;
    if (!open) han += 0.5;  // self-draw, ura dora, pinfu now and then
    return han;
}

double WinChance(int shanten, int acceptance, int liveTiles, int players) {
    if (shanten < 0) return 1.0;
    // Tiles unseen by the seat: the live wall, the dead wall and the other
    // hands.
    const double unseen = liveTiles + (players == 3 ? 40.0 : 50.0);
    const int draws = liveTiles / players;
    // Tiles that take a step: the given acceptance for the first, what a
    // hand that many steps from ready usually has for those after it (at
    // ready: the waits).
    constexpr std::array<double, 5> kUsual = {6, 20, 35, 45, 50};
    const int steps = std::min(shanten, 4);
    auto accepting = [&](int stage) {
        int away = steps - stage;
        return stage == 0 ? static_cast<double>(acceptance) : kUsual[Ix(away)];
    };
    // A ready hand wins on its own draw or on a discard of the others
    // between two draws; every go-around another seat may end the hand.
    constexpr double kTries = 1.6, kOthersEnd = 0.08;
    const double winEach = 1.0 - std::pow(1.0 - std::min(accepting(steps) / unseen, 1.0), kTries);
    std::array<double, 5> at{};  // chance of having taken `stage` steps so far
    at[0] = 1.0;
    double alive = 1.0, win = 0.0;
    for (int d = 0; d < draws; ++d) {
        alive *= 1.0 - kOthersEnd;
        win += alive * at[Ix(steps)] * winEach;
        at[Ix(steps)] *= 1.0 - winEach;
        for (int stage = steps - 1; stage >= 0; --stage) {
            double moved = at[Ix(stage)] * std::min(accepting(stage) / unseen, 1.0);
            at[Ix(stage)] -= moved;
            at[Ix(stage + 1)] += moved;
        }
    }
    return std::clamp(win, 0.01, 0.95);
}

double DealInCost(const SeatView& view, int seat) {
    bool dealer = seat == view.dealer;
    double han;
    if (view.riichi[Ix(seat)]) {
        han = 3.3;  // riichi, an average closed hand's han and the ura dora
    } else {
        han = 1.5;  // the open hand's yaku and dora out of sight
        Kind seatWind = riichi::kEast + (seat - view.dealer + view.players) % view.players;
        for (const Meld& m : view.melds[Ix(seat)]) {
            for (int i = 0; i < m.size; ++i) han += DoraValue(view, m.tiles[Ix(i)]);
            Kind k = m.BaseKind();
            if (m.type != MeldType::Chi && riichi::IsHonor(k))
                han +=
                    (riichi::IsDragon(k) ? 1 : 0) + (k == seatWind ? 1 : 0) + (k == view.roundWind ? 1 : 0);
        }
    }
    han += static_cast<double>(view.north[Ix(seat)].size());  // norths set aside are dora in sight
    return PointsOfHan(han, dealer) + 300.0 * view.honba;
}

double FoldDegree(double winChance, double handPoints, double threatCost, double spirit) {
    if (threatCost <= 0) return 0;
    // Pushing on deals in now and then, more so the longer the hand needs;
    // a win also keeps the threat from winning.
    double dealIn = 0.15 + 0.1 * (1.0 - winChance);
    double loss = dealIn * threatCost;
    double gain = winChance * (handPoints + 0.3 * threatCost);
    return loss / (std::max(gain, 1.0) * std::max(spirit, 0.05));
}

int LastHandStanding(const SeatView& view, int firstDealer) {
    Kind lastRound = view.rules.eastOnly ? riichi::kEast : riichi::kSouth;
    const int players = view.players;
    if (firstDealer < 0 || view.roundWind != lastRound ||
        view.dealer != (firstDealer + players - 1) % players)
        return 0;
    int mine = view.scores[Ix(view.seat)];
    int above = 0, bestOther = -1000000;
    for (int s = 0; s < players; ++s) {
        if (s == view.seat) continue;
        if (view.scores[Ix(s)] > mine) ++above;
        bestOther = std::max(bestOther, view.scores[Ix(s)]);
    }
    if (above == 0 && mine - bestOther > 8000) return 1;
    if (above == players - 1) return -1;
    return 0;
}

}  // namespace zv::players
