// Yardsticks for the character player. The tsumogiri player discards
// whatever it draws and declares nothing but wins. The efficiency player
// plays for the most tile acceptance: the discard that leaves the lowest
// shanten and, among those, the most unseen tiles that lower it further;
// it wins when it may, declares riichi when ready, sets norths aside as
// the character player does, and never calls, makes a kan, declares nine
// terminals or folds. The quick player discards as the efficiency player,
// calls every pon or chi that brings the hand nearer and keeps it a yaku,
// and against a riichi a hand not yet ready gives up for the safest tile.
#include <algorithm>

#include "players/hand_reading.h"
#include "players/hand_shape.h"
#include "players/player.h"
#include "riichi/shanten.h"

namespace zv::players {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::KindOf;
using riichi::SeatView;

const Action* FindWin(const SeatView& view) {
    for (const Action& a : view.legal)
        if (a.type == ActionType::Tsumo || a.type == ActionType::Ron) return &a;
    return nullptr;
}

const Action* FindPass(const SeatView& view) {
    for (const Action& a : view.legal)
        if (a.type == ActionType::Pass) return &a;
    return nullptr;
}

class TsumogiriPlayer : public Player {
public:
    Action Decide(const SeatView& view) override {
        if (const Action* win = FindWin(view)) return *win;
        if (const Action* pass = FindPass(view)) return *pass;
        const Action* last = nullptr;
        for (const Action& a : view.legal) {
            if (a.type != ActionType::Discard) continue;
            if (a.tile == view.drawn) return a;
            last = &a;
        }
        return last ? *last : view.legal.back();
    }
};

class EfficiencyPlayer : public Player {
public:
    Action Decide(const SeatView& view) override {
        if (const Action* win = FindWin(view)) return *win;
        if (const Action* pass = FindPass(view)) return *pass;
        return Turn(view);
    }

protected:
    // The own turn: a north set aside, else the discard (with riichi when
    // it may) that keeps the hand nearest with the most acceptance. With
    // `safest` set, a hand not yet ready discards the tile least dangerous
    // to the threats instead.
    static Action Turn(const SeatView& view, bool safest = false) {
        Counts counts = OwnCounts(view);
        int melds = OwnMelds(view);
        for (const Action& a : view.legal)
            if (a.type == ActionType::North && (view.riichi[Ix(view.seat)] || SetNorthAside(counts, melds)))
                return a;
        bool riichi = std::any_of(view.legal.begin(), view.legal.end(),
                                  [](const Action& a) { return a.type == ActionType::Riichi; });
        ActionType wanted = riichi ? ActionType::Riichi : ActionType::Discard;

        auto visible = VisibleCounts(view);
        std::array<int, kKinds> shanten;
        std::array<int, kKinds> accept;
        shanten.fill(99);
        accept.fill(-1);
        int best = 99;
        for (const Action& a : view.legal) {
            if (a.type != wanted) continue;
            Kind k = KindOf(a.tile);
            if (shanten[Ix(k)] != 99) continue;
            counts[Ix(k)] -= 1;
            shanten[Ix(k)] = riichi::Shanten(counts, melds);
            counts[Ix(k)] += 1;
            best = std::min(best, shanten[Ix(k)]);
        }
        if (safest && best > 0 && !riichi) return SafestDiscard(view, visible);
        const Action* choice = nullptr;
        int chosenAccept = -1, chosenConnected = 0;
        for (const Action& a : view.legal) {
            if (a.type != wanted) continue;
            Kind k = KindOf(a.tile);
            if (shanten[Ix(k)] != best) continue;
            if (accept[Ix(k)] < 0) {
                counts[Ix(k)] -= 1;
                accept[Ix(k)] = Acceptance(counts, melds, best, visible);
                counts[Ix(k)] += 1;
            }
            int connected = riichi::Connectedness(counts, k);
            bool better = !choice || accept[Ix(k)] > chosenAccept ||
                          (accept[Ix(k)] == chosenAccept &&
                           (connected < chosenConnected ||
                            (connected == chosenConnected && !riichi::IsRedFive(a.tile) &&
                             riichi::IsRedFive(choice->tile))));
            if (better) {
                choice = &a;
                chosenAccept = accept[Ix(k)];
                chosenConnected = connected;
            }
        }
        return choice ? *choice : view.legal.back();
    }

    static Action SafestDiscard(const SeatView& view, const std::array<std::uint8_t, kKinds>& visible) {
        Danger danger = ReadDanger(view, visible);
        const Action* choice = nullptr;
        for (const Action& a : view.legal)
            if (a.type == ActionType::Discard &&
                (!choice || danger.kind[Ix(KindOf(a.tile))] < danger.kind[Ix(KindOf(choice->tile))]))
                choice = &a;
        return choice ? *choice : view.legal.back();
    }
};

class QuickPlayer : public EfficiencyPlayer {
public:
    Action Decide(const SeatView& view) override {
        if (const Action* win = FindWin(view)) return *win;
        if (view.phase == riichi::Phase::Claims) return Claim(view);
        return Turn(view, AnotherSeatInRiichi(view));
    }

private:
    static Action Claim(const SeatView& view) {
        const Action* pass = FindPass(view);
        if (view.riichi[Ix(view.seat)]) return pass ? *pass : view.legal.back();
        Counts counts = OwnCounts(view);
        int melds = OwnMelds(view);
        int now = riichi::ShantenRegular(counts, melds);
        for (const Action& a : view.legal) {
            if (a.type != ActionType::Pon && a.type != ActionType::Chi) continue;
            Counts after = counts;
            std::vector<riichi::Meld> withCall = view.melds[Ix(view.seat)];
            withCall.push_back(MeldOfCall(view, a, after));
            if (PlanOpenHand(view, after, withCall, true, true).route == Route::None) continue;
            // Nearer once the best tile is discarded.
            for (Kind d = 0; d < kKinds; ++d) {
                if (after[Ix(d)] == 0) continue;
                after[Ix(d)] -= 1;
                bool nearer = riichi::ShantenRegular(after, melds + 1) < now;
                after[Ix(d)] += 1;
                if (nearer) return a;
            }
        }
        return pass ? *pass : view.legal.back();
    }
};

}  // namespace

std::unique_ptr<Player> MakeTsumogiriPlayer() { return std::make_unique<TsumogiriPlayer>(); }
std::unique_ptr<Player> MakeEfficiencyPlayer() { return std::make_unique<EfficiencyPlayer>(); }
std::unique_ptr<Player> MakeQuickPlayer() { return std::make_unique<QuickPlayer>(); }

}  // namespace zv::players
