// The character player. Every discard candidate gets a keep value made of
// one term per weight of the character; the tile with the lowest value goes.
// Calls, riichi, kans and nine terminals are chances (per mille) taken only
// where they make sense: a call must bring the hand nearer and leave it a
// yaku, a kan must not set the hand back.
#include <algorithm>
#include <cmath>

#include "players/hand_reading.h"
#include "players/hand_shape.h"
#include "players/player.h"
#include "riichi/random.h"
#include "riichi/score.h"
#include "riichi/shanten.h"

namespace zv::players {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::KindOf;
using riichi::Meld;
using riichi::MeldType;
using riichi::SeatView;
using riichi::TileId;

// Scales of the terms, in keep points per unit of weight. The shanten term
// dominates at the default weights, the others order tiles of equal shape.
constexpr double kShantenStep = 3.0;  // deep: per shanten lost (plus one for acceptance)
constexpr double kDora = 1.2;
constexpr double kSame = 0.4;
constexpr double kNear = 0.25;
constexpr double kSuji = 0.25;
constexpr double kColor = 0.5;
constexpr double kValuePair = 0.8;
constexpr double kValueSingle = 0.15;
constexpr double kTanyao = 0.5;
constexpr double kTriplets = 0.4;
constexpr double kRandom = 0.6;
constexpr double kDanger = 3.0;
constexpr double kRouteBreak = 3000.0;  // a tile an open hand's yaku cannot use

class CharacterPlayer : public Player {
public:
    CharacterPlayer(const Weights& w, std::uint64_t seed) : w_(w), rng_(seed) {
        bias_.sevenPairs = BiasFromWeight(w.chitoi);
        bias_.orphans = BiasFromWeight(w.kokushi);
    }

    Action Decide(const SeatView& view) override {
        NoteHand(view);
        for (const Action& a : view.legal)
            if (a.type == ActionType::Tsumo || a.type == ActionType::Ron) return a;
        if (view.phase == riichi::Phase::Claims) return Claim(view);
        for (const Action& a : view.legal)
            if (a.type == ActionType::NineTerminals && rng_.Chance(w_.kyusyu)) return a;
        if (view.riichi[Ix(view.seat)]) return AfterRiichi(view);
        return Turn(view);
    }

private:
    // Riichi is decided once per hand, the first time it is possible, so the
    // weight is the share of ready hands that declare.
    void NoteHand(const SeatView& view) {
        int rivers = 0;
        for (const auto& r : view.rivers) rivers += static_cast<int>(r.size());
        if (view.liveTiles > lastLive_ || rivers < lastRivers_) riichiChoice_ = -1;
        lastLive_ = view.liveTiles;
        lastRivers_ = rivers;
    }

    static Action Pass() { return {ActionType::Pass, -1, {-1, -1}}; }

    Action AfterRiichi(const SeatView& view) {
        for (const Action& a : view.legal)
            if (a.type == ActionType::ClosedKan && rng_.Chance(w_.kan)) return a;
        for (const Action& a : view.legal)
            if (a.type == ActionType::Discard) return a;
        return view.legal.back();
    }

    // How far to give way to the threats: 0 none; 1 and more: safety comes
    // before a step of the hand.
    double FoldDegree(const SeatView& view, const Counts& counts, const Danger& danger, int shanten) const {
        if (danger.threat <= 0) return 0;
        double value = 0;
        for (TileId t : view.concealed) value += 0.5 * DoraValue(view, t);
        if (view.drawn >= 0) value += 0.5 * DoraValue(view, view.drawn);
        for (const Meld& m : view.melds[Ix(view.seat)]) {
            for (int i = 0; i < m.size; ++i) value += 0.5 * DoraValue(view, m.tiles[Ix(i)]);
            if (m.type != MeldType::Chi && IsValueHonor(view, m.BaseKind())) value += 0.5;
        }
        for (Kind k = riichi::kEast; k < kKinds; ++k)
            if (counts[Ix(k)] >= 3 && IsValueHonor(view, k)) value += 0.5;
        double spirit = 1.0 + w_.tsuyoki / 250.0 + value;
        if (spirit < 0.2) spirit = 0.2;
        double degree = danger.threat * (1 + std::max(0, shanten)) / spirit;
        return std::min(degree, 4.0);
    }

    Action Turn(const SeatView& view) {
        Counts counts = OwnCounts(view);
        int melds = OwnMelds(view);
        auto visible = VisibleCounts(view);
        Danger danger = ReadDanger(view, visible);

        // Shape of the hand after each discardable kind.
        std::array<int, kKinds> shantenAfter;
        std::array<int, kKinds> realAfter;
        std::array<int, kKinds> accept{};
        shantenAfter.fill(99);
        realAfter.fill(99);
        int best = 99, bestReal = 99;
        for (const Action& a : view.legal) {
            if (a.type != ActionType::Discard) continue;
            Kind k = KindOf(a.tile);
            if (shantenAfter[Ix(k)] != 99) continue;
            counts[Ix(k)] -= 1;
            shantenAfter[Ix(k)] = BiasedShanten(counts, melds, bias_);
            realAfter[Ix(k)] = riichi::Shanten(counts, melds);
            counts[Ix(k)] += 1;
            best = std::min(best, shantenAfter[Ix(k)]);
            bestReal = std::min(bestReal, realAfter[Ix(k)]);
        }
        int bestAccept = 1;
        for (Kind k = 0; k < kKinds; ++k) {
            if (shantenAfter[Ix(k)] != best) continue;
            counts[Ix(k)] -= 1;
            accept[Ix(k)] = BiasedAcceptance(counts, melds, best, visible, bias_);
            counts[Ix(k)] += 1;
            bestAccept = std::max(bestAccept, accept[Ix(k)]);
        }
        double fold = FoldDegree(view, counts, danger, bestReal);

        // Kans that do not set the hand back.
        if (fold < 1.0 && w_.kan > 0) {
            for (const Action& a : view.legal) {
                if (a.type != ActionType::ClosedKan && a.type != ActionType::AddedKan) continue;
                Kind k = KindOf(a.tile);
                Counts after = counts;
                int sh;
                if (a.type == ActionType::ClosedKan) {
                    after[Ix(k)] = 0;
                    sh = riichi::ShantenRegular(after, melds + 1);
                } else {
                    after[Ix(k)] -= 1;
                    sh = riichi::ShantenRegular(after, melds);
                }
                if (sh <= bestReal && rng_.Chance(w_.kan)) return a;
            }
        }

        const KeepTerms terms = HandTerms(view, counts);
        const Action* choice = nullptr;
        double lowest = 0;
        for (const Action& a : view.legal) {
            if (a.type != ActionType::Discard) continue;
            Kind k = KindOf(a.tile);
            double keep = w_.deep * (kShantenStep * (shantenAfter[Ix(k)] - best) + 1.0 -
                                     static_cast<double>(accept[Ix(k)]) / bestAccept);
            keep += Keep(view, counts, terms, a.tile);
            keep += w_.yomi * kDanger * fold * danger.kind[Ix(k)];
            keep += w_.random * kRandom * static_cast<double>(rng_.Below(1024)) / 1024.0;
            if (!choice || keep < lowest) {
                choice = &a;
                lowest = keep;
            }
        }
        if (!choice) return view.legal.back();

        // Riichi with the chosen tile when it keeps the hand ready.
        for (const Action& a : view.legal) {
            if (a.type != ActionType::Riichi || a.tile != choice->tile) continue;
            if (riichiChoice_ < 0) riichiChoice_ = rng_.Chance(w_.reach) ? 1 : 0;
            if (riichiChoice_ == 1) return a;
            // Staying quiet needs a yaku to win on a discard.
            if (w_.reach > 0 && !RonHasYaku(view, choice->tile)) return a;
        }
        return *choice;
    }

    // True when the hand left after discarding `discard` wins on some
    // discard of a kind it waits on with a yaku (without riichi).
    static bool RonHasYaku(const SeatView& view, TileId discard) {
        std::vector<TileId> tiles = view.concealed;
        if (view.drawn >= 0) tiles.push_back(view.drawn);
        tiles.erase(std::find(tiles.begin(), tiles.end(), discard));
        Counts counts{};
        for (TileId t : tiles) counts[Ix(KindOf(t))] += 1;
        const auto& melds = view.melds[Ix(view.seat)];
        std::uint64_t waits = riichi::Waits(counts, static_cast<int>(melds.size()));
        riichi::WinSituation win;
        win.melds = melds;
        win.roundWind = view.roundWind;
        win.seatWind = view.seatWind;
        win.doraIndicators = view.doraIndicators;
        for (Kind k = 0; k < kKinds; ++k) {
            if (!((waits >> k) & 1u) || counts[Ix(k)] >= 4) continue;
            // Any copy of the kind not in the hand stands for the winning tile.
            TileId winTile = k * 4;
            while (std::find(tiles.begin(), tiles.end(), winTile) != tiles.end()) ++winTile;
            win.concealed = tiles;
            win.concealed.push_back(winTile);
            std::sort(win.concealed.begin(), win.concealed.end());
            win.winTile = winTile;
            if (riichi::ScoreWin(win, view.rules).won) return true;
        }
        return false;
    }

    // What does not change from one candidate tile to the next.
    struct KeepTerms {
        int flushSuit = -1;
        double flushStrength = 0;  // 0..1: how far the hand leans to it
        double tanyaoShape = 0;    // 0..1: how near the hand is to all simples
        bool tripletShape = false;
        OpenPlan plan;
    };

    KeepTerms HandTerms(const SeatView& view, const Counts& counts) const {
        KeepTerms t;
        const auto& own = view.melds[Ix(view.seat)];
        std::array<int, 4> bySuit{};
        int terminals = 0, groups = 0;
        for (Kind k = 0; k < kKinds; ++k) {
            bySuit[Ix(riichi::SuitOf(k))] += counts[Ix(k)];
            if (riichi::IsTerminalOrHonor(k)) terminals += counts[Ix(k)];
            if (counts[Ix(k)] >= 2) ++groups;
        }
        bool chi = false;
        bool simpleMelds = true;
        for (const Meld& m : own) {
            Kind k = m.BaseKind();
            bySuit[Ix(riichi::SuitOf(k))] += 3;
            if (m.type == MeldType::Chi)
                chi = true;
            else
                ++groups;
            for (int i = 0; i < m.size; ++i)
                if (riichi::IsTerminalOrHonor(KindOf(m.tiles[Ix(i)]))) simpleMelds = false;
        }
        int numbered = bySuit[0] + bySuit[1] + bySuit[2];
        t.flushSuit = static_cast<int>(std::max_element(bySuit.begin(), bySuit.begin() + 3) - bySuit.begin());
        if (numbered > 0) {
            double share = static_cast<double>(bySuit[Ix(t.flushSuit)]) / numbered;
            t.flushStrength = std::clamp((share - 0.4) / 0.4, 0.0, 1.0);
        }
        bool open = std::any_of(own.begin(), own.end(), [](const Meld& m) { return m.IsOpen(); });
        if (simpleMelds && !(open && view.rules.noOpenTanyao))
            t.tanyaoShape = terminals <= 4 ? 1.0 : terminals <= 6 ? 0.5 : 0.0;
        t.tripletShape = !chi && groups >= 4;
        if (open) t.plan = PlanOpenHand(view, counts, own, false, w_.toitoi >= 300);
        return t;
    }

    double Keep(const SeatView& view, const Counts& counts, const KeepTerms& t, TileId tile) const {
        Kind k = KindOf(tile);
        int c = counts[Ix(k)];
        double keep = w_.dora * kDora * DoraValue(view, tile);
        keep += w_.zone * kSame * (c - 1);
        bool honor = riichi::IsHonor(k);
        if (!honor) {
            int n = k % 9;
            auto has = [&](int d) { return n + d >= 0 && n + d <= 8 && counts[Ix(k + d)] > 0 ? 1.0 : 0.0; };
            double near = has(-1) + has(1) + 0.5 * (has(-2) + has(2));
            keep += w_.number * kNear * std::min(2.0, near);
            keep += w_.suji * kSuji * (has(-3) + has(3));
            if (riichi::SuitOf(k) == t.flushSuit) keep += w_.color * kColor * t.flushStrength;
        } else {
            keep += w_.color * kColor * 0.5 * t.flushStrength;
        }
        if (IsValueHonor(view, k)) keep += w_.yaku * (c >= 2 ? kValuePair : kValueSingle);
        if (riichi::IsTerminalOrHonor(k)) keep -= w_.tanyao * kTanyao * t.tanyaoShape;
        if (t.tripletShape && c >= 2) keep += w_.toitoi * kTriplets;

        switch (t.plan.route) {
            case Route::Yakuhai:
                // The concealed value triplet may be the open hand's only yaku.
                if (c >= 3 && IsValueHonor(view, k)) keep += kRouteBreak;
                break;
            case Route::Tanyao:
                if (riichi::IsTerminalOrHonor(k)) keep -= kRouteBreak;
                break;
            case Route::Flush:
                if (!honor && riichi::SuitOf(k) != t.plan.suit) keep -= kRouteBreak;
                break;
            case Route::AllTriplets:
                if (c == 1) keep -= kRouteBreak / 3;
                break;
            default:
                break;
        }
        return keep;
    }

    Action Claim(const SeatView& view) {
        if (view.riichi[Ix(view.seat)]) return Pass();
        Counts counts = OwnCounts(view);
        int melds = OwnMelds(view);
        int now = riichi::ShantenRegular(counts, melds);
        // A closed hand on its way to seven pairs or the orphans stays closed.
        if (melds == 0 && BiasedShanten(counts, 0, bias_) < now) return Pass();
        auto visible = VisibleCounts(view);
        Danger danger = ReadDanger(view, visible);
        if (FoldDegree(view, counts, danger, now) >= 1.0) return Pass();

        const auto& own = view.melds[Ix(view.seat)];
        for (const Action& a : view.legal) {
            if (a.type != ActionType::Pon && a.type != ActionType::Chi && a.type != ActionType::OpenKan)
                continue;
            Kind k = KindOf(a.tile);
            Counts after = counts;
            Meld meld;
            meld.called = a.tile;
            meld.from = view.turn;
            meld.tiles = {a.tile, -1, -1, -1};
            if (a.type == ActionType::OpenKan) {
                after[Ix(k)] = 0;
                meld.type = MeldType::OpenKan;
                meld.size = 4;
                for (int i = 1; i < 4; ++i) meld.tiles[Ix(i)] = k * 4 + (a.tile % 4 + i) % 4;
            } else {
                after[Ix(KindOf(a.with[0]))] -= 1;
                after[Ix(KindOf(a.with[1]))] -= 1;
                meld.type = a.type == ActionType::Pon ? MeldType::Pon : MeldType::Chi;
                meld.tiles[1] = a.with[0];
                meld.tiles[2] = a.with[1];
            }
            // How near the hand gets: a kan draws a replacement, a pon or
            // chi discards one of what is left.
            int sh;
            if (a.type == ActionType::OpenKan) {
                sh = riichi::ShantenRegular(after, melds + 1);
                if (sh > now) continue;
            } else {
                sh = 99;
                for (Kind d = 0; d < kKinds; ++d) {
                    if (after[Ix(d)] == 0) continue;
                    after[Ix(d)] -= 1;
                    sh = std::min(sh, riichi::ShantenRegular(after, melds + 1));
                    after[Ix(d)] += 1;
                }
                if (sh >= now) continue;
            }
            std::vector<Meld> withCall = own;
            withCall.push_back(meld);
            OpenPlan plan = PlanOpenHand(view, after, withCall, true, w_.toitoi >= 300);
            if (plan.route == Route::None) continue;
            bool tripletCall = a.type != ActionType::Chi;
            if (plan.route == Route::AllTriplets && !tripletCall) continue;

            int chance = a.type == ActionType::Pon ? w_.pon : a.type == ActionType::Chi ? w_.tie : w_.kan;
            double factor = 1.0;
            if (tripletCall && IsValueHonor(view, k)) factor *= 2.5;  // a yaku in one call
            if (sh == 0) factor *= 1.5;                               // ready at once
            if (plan.route == Route::AllTriplets) factor *= 0.5 + w_.toitoi / 1000.0;
            chance = static_cast<int>(std::min(1000.0, chance * factor));
            if (rng_.Chance(chance)) return a;
        }
        return Pass();
    }

    Weights w_;
    riichi::Random rng_;
    ShapeBias bias_;
    int lastLive_ = -1;
    int lastRivers_ = 0;
    int riichiChoice_ = -1;  // this hand: -1 not yet asked, 0 stay quiet, 1 declare
};

}  // namespace

std::unique_ptr<Player> MakeCharacterPlayer(const Weights& weights, std::uint64_t seed) {
    return std::make_unique<CharacterPlayer>(weights, seed);
}

}  // namespace zv::players
