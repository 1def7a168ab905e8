#include "support/simple_player.h"

#include "riichi/shanten.h"

namespace zv::riichi {

Action ShantenOnlyDecision(const SeatView& view) {
    if (view.legal.empty()) return {};
    for (const Action& a : view.legal)
        if (a.type == ActionType::Tsumo || a.type == ActionType::Ron) return a;
    if (view.phase == Phase::Claims) return {ActionType::Pass, -1, {-1, -1}};

    bool riichi = false;
    for (const Action& a : view.legal) riichi = riichi || a.type == ActionType::Riichi;
    ActionType wanted = riichi ? ActionType::Riichi : ActionType::Discard;

    Counts counts{};
    for (TileId t : view.concealed) counts[static_cast<std::size_t>(KindOf(t))] += 1;
    if (view.drawn >= 0) counts[static_cast<std::size_t>(KindOf(view.drawn))] += 1;
    int melds = static_cast<int>(view.melds[static_cast<std::size_t>(view.seat)].size());

    const Action* best = nullptr;
    int bestShanten = 99, bestConnected = 0, bestPlain = 0;
    std::array<int, kKinds> shantenAfter;
    shantenAfter.fill(-2);
    for (const Action& a : view.legal) {
        if (a.type != wanted) continue;
        Kind k = KindOf(a.tile);
        auto& sh = shantenAfter[static_cast<std::size_t>(k)];
        if (sh == -2) {
            counts[static_cast<std::size_t>(k)] -= 1;
            sh = Shanten(counts, melds);
            counts[static_cast<std::size_t>(k)] += 1;
        }
        int connected = Connectedness(counts, k);
        int plain = IsTerminalOrHonor(k) ? 0 : 1;
        bool better =
            !best || sh < bestShanten ||
            (sh == bestShanten && (connected < bestConnected ||
                                   (connected == bestConnected &&
                                    (plain < bestPlain || (plain == bestPlain && a.tile > best->tile)))));
        if (better) {
            best = &a;
            bestShanten = sh;
            bestConnected = connected;
            bestPlain = plain;
        }
    }
    return best ? *best : view.legal.back();
}

}  // namespace zv::riichi
