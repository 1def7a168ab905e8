// The character player. Every discard candidate gets a keep value made of
// one term per weight of the character; the tile with the lowest value goes.
// Whether to push or fold weighs the hand's chance to win and likely points
// against what a deal-in to each threatening seat costs; riichi or staying
// quiet, and calls, are judged by the value and speed they bring. Calls,
// riichi, kans and nine terminals are chances (per mille) taken only where
// they make sense: a call must bring the hand nearer and leave it a yaku, a
// kan must not set the hand back.
#include <algorithm>
#include <cmath>

#include "players/hand_reading.h"
#include "players/hand_shape.h"
#include "players/hand_value.h"
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
constexpr double kShantenStep = 3.0;  // deep: per shanten lost (plus one for the worth among the best)
constexpr double kDora = 1.2;
constexpr double kSame = 0.4;
constexpr double kNear = 0.25;
constexpr double kSuji = 0.25;
constexpr double kColor = 0.5;
constexpr double kValuePair = 0.8;
constexpr double kValueSingle = 0.15;
constexpr double kTanyao = 0.5;
constexpr double kTriplets = 0.4;
constexpr double kRandom = 1.0;
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
    // The riichi chance is drawn once per hand, the first time it is asked,
    // so the weight is a share of hands. The first dealer is the dealer of
    // the first hand seen (players are made when their game starts).
    void NoteHand(const SeatView& view) {
        if (firstDealer_ < 0 && view.roundWind == riichi::kEast) firstDealer_ = view.dealer;
        int rivers = 0;
        for (const auto& r : view.rivers) rivers += static_cast<int>(r.size());
        if (view.liveTiles > lastLive_ || rivers < lastRivers_) riichiRoll_ = -1;
        lastLive_ = view.liveTiles;
        lastRivers_ = rivers;
    }

    static Action Pass() { return {ActionType::Pass, -1, {-1, -1}}; }

    // The north a riichi hand may set aside is the one just drawn: that
    // leaves the waits as they are and adds a dora.
    Action AfterRiichi(const SeatView& view) {
        for (const Action& a : view.legal)
            if (a.type == ActionType::North) return a;
        for (const Action& a : view.legal)
            if (a.type == ActionType::ClosedKan && rng_.Chance(w_.kan)) return a;
        for (const Action& a : view.legal)
            if (a.type == ActionType::Discard) return a;
        return view.legal.back();
    }

    // The will to push: 1 at the all-rounder's tsuyoki, more for a bolder
    // character; in the game's last hand a clear leader pushes less and the
    // last seat more.
    double Spirit(const SeatView& view) const {
        double spirit = (1.0 + w_.tsuyoki / 250.0) / 2.2;
        int standing = LastHandStanding(view, firstDealer_);
        if (standing > 0) spirit *= 0.5;
        if (standing < 0) spirit *= 1.6;
        return spirit;
    }

    // Threat-weighted points a deal-in costs.
    static double ThreatCost(const SeatView& view, const Danger& danger) {
        double cost = 0;
        for (int seat = 0; seat < view.players; ++seat)
            if (danger.seatThreat[Ix(seat)] > 0) cost += danger.seatThreat[Ix(seat)] * DealInCost(view, seat);
        return cost;
    }

    // Points the hand likely scores when it wins (riichi counted for a
    // closed hand of a character that declares).
    double HandPoints(const SeatView& view, const Counts& counts, TileId without = -1) const {
        bool closed = std::none_of(view.melds[Ix(view.seat)].begin(), view.melds[Ix(view.seat)].end(),
                                   [](const Meld& m) { return m.IsOpen(); });
        double han = LikelyHan(view, counts, without) + (closed && w_.reach > 0 ? 1.0 : 0.0);
        return PointsOfHan(std::max(han, 1.0), view.seat == view.dealer) + 1000.0 * view.sticks;
    }

    // How far to give way to the threats: 0 none; 1 and more: safety comes
    // before a step of the hand.
    double FoldDegree(const SeatView& view, const Counts& counts, const Danger& danger, int shanten,
                      int acceptance) const {
        if (danger.threat <= 0) return 0;
        return FoldDegreeOf(view, danger, shanten, acceptance, HandPoints(view, counts));
    }

    // The same for a hand of `shanten` and `acceptance` worth `points`.
    double FoldDegreeOf(const SeatView& view, const Danger& danger, int shanten, int acceptance,
                        double points) const {
        double win = WinChance(shanten, acceptance, view.liveTiles, view.players);
        // A ready hand has the best of its chances still to come: it pushes
        // on against a riichi far more readily than one still building.
        constexpr double kReadyAgainstRiichi = 4.0;
        double spirit =
            Spirit(view) * (AnotherSeatInRiichi(view) && shanten <= 0 ? kReadyAgainstRiichi : 1.0);
        return players::FoldDegree(win, points, ThreatCost(view, danger), spirit);
    }

    // The weight of a tile's danger in its keep value: slight while pushing
    // (a safer tile of the same shape goes first), overriding the shape when
    // folding.
    static double DangerFactor(double degree) {
        if (degree < 1.0) return 0.7 * degree;
        return std::min(3.0 + 2.0 * (degree - 1.0), 6.0);
    }

    Action Turn(const SeatView& view) {
        Counts counts = OwnCounts(view);
        int melds = OwnMelds(view);
        for (const Action& a : view.legal)
            if (a.type == ActionType::North && SetNorthAside(counts, melds)) return a;
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
        // Among the discards of the best shape, what each is worth: the
        // tiles that step nearer (one step from ready: weighted by the waits
        // they end on) times the points the hand is likely to score.
        int bestAccept = 1;
        std::array<double, kKinds> worth{};
        double bestWorth = 1;
        for (const Action& a : view.legal) {
            Kind k = KindOf(a.tile);
            if (a.type != ActionType::Discard || shantenAfter[Ix(k)] != best || worth[Ix(k)] > 0) continue;
            counts[Ix(k)] -= 1;
            accept[Ix(k)] = BiasedAcceptance(counts, melds, best, visible, bias_);
            int speed = best == 1 ? ReadyQuality(counts, melds, visible) : accept[Ix(k)];
            worth[Ix(k)] = std::max(1.0, speed * HandPoints(view, counts, a.tile));
            counts[Ix(k)] += 1;
            bestAccept = std::max(bestAccept, accept[Ix(k)]);
            bestWorth = std::max(bestWorth, worth[Ix(k)]);
        }
        double fold = FoldDegree(view, counts, danger, bestReal, best == bestReal ? bestAccept : 4);

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
            double keep =
                w_.deep * (kShantenStep * (shantenAfter[Ix(k)] - best) + 1.0 - worth[Ix(k)] / bestWorth);
            keep += Keep(view, counts, terms, a.tile);
            keep += w_.yomi * kDanger * DangerFactor(fold) * danger.kind[Ix(k)];
            keep += w_.random * kRandom * static_cast<double>(rng_.Below(1024)) / 1024.0;
            if (!choice || keep < lowest) {
                choice = &a;
                lowest = keep;
            }
        }
        if (!choice) return view.legal.back();

        // Riichi with the chosen tile when it keeps the hand ready.
        for (const Action& a : view.legal)
            if (a.type == ActionType::Riichi && a.tile == choice->tile &&
                DeclareRiichi(view, counts, melds, visible, choice->tile, fold))
                return a;
        return *choice;
    }

    // Riichi adds a han and makes a hand without a yaku win; staying quiet
    // keeps the hand free to fold and hides it. A hand with a yaku stays
    // quiet where riichi adds little: a haneman already (below it the han,
    // the ura dora and a self-draw still raise the payment a step), a wait
    // of two tiles or fewer, or a threat that may have to be given way to.
    // The weight is the share of ready hands that declare, and a share of
    // those that would rather stay quiet.
    bool DeclareRiichi(const SeatView& view, Counts& counts, int melds,
                       const std::array<std::uint8_t, kKinds>& visible, TileId discard, double fold) {
        if (w_.reach <= 0) return false;
        // Staying quiet needs a yaku to win on a discard.
        if (!RonHasYaku(view, discard)) return true;
        Kind k = KindOf(discard);
        counts[Ix(k)] -= 1;
        int waitsLeft = Acceptance(counts, melds, 0, visible);
        double han = LikelyHan(view, counts, discard);
        counts[Ix(k)] += 1;
        bool quietIsBetter = han >= 6.0 || waitsLeft <= 2 || fold >= 1.0;
        int chance = quietIsBetter ? w_.reach - 700 : w_.reach;
        if (riichiRoll_ < 0) riichiRoll_ = static_cast<int>(rng_.Below(1000));
        return riichiRoll_ < chance;
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
        // Without 2m..8m there is no flush in characters.
        auto firstSuit = bySuit.begin() + (ThreePlayers(view) ? 1 : 0);
        t.flushSuit = static_cast<int>(std::max_element(firstSuit, bySuit.begin() + 3) - bySuit.begin());
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

    // What going on is worth: the chance to win from `shanten` with
    // `acceptance` times the points a win brings, a win also keeping the
    // others from winning. An open hand steps nearer faster, as it may call
    // again.
    static double Outlook(const SeatView& view, int shanten, int acceptance, double points,
                          bool open = false) {
        constexpr double kWinDenied = 1500.0, kOpenSpeed = 1.5;
        if (open && shanten > 0) acceptance = static_cast<int>(acceptance * kOpenSpeed);
        return WinChance(shanten, acceptance, view.liveTiles, view.players) * (points + kWinDenied);
    }

    // How the open hand's outlook must compare with the closed one's before
    // a call is taken. The outlooks leave out what a call also does: the
    // others lose the tiles and turns it takes, and they must play around
    // the open hand. So at a weight of 250 the open hand may look somewhat
    // worse; each 250 more halves the bar and each 250 less doubles it. A
    // weight of 0 never calls.
    static double CallBar(int weight) {
        constexpr double kCallEase = 0.6;
        return std::max(kCallEase * std::pow(2.0, (250.0 - weight) / 250.0), 0.2);
    }

    // The hand after a call: its shanten once the best tile is discarded,
    // what then steps nearer, and the han it likely scores.
    struct AfterCall {
        int shanten = 99;
        int acceptance = 0;
        double han = 0;
    };

    AfterCall WeighCall(const SeatView& view, Counts& after, const std::vector<Meld>& withCall,
                        const std::array<std::uint8_t, kKinds>& visible) const {
        AfterCall best;
        int melds = static_cast<int>(withCall.size());
        for (Kind d = 0; d < kKinds; ++d) {
            if (after[Ix(d)] == 0) continue;
            after[Ix(d)] -= 1;
            int sh = riichi::ShantenRegular(after, melds);
            if (sh <= best.shanten) {
                int acc = Acceptance(after, melds, sh, visible);
                if (sh < best.shanten || acc > best.acceptance) {
                    best.shanten = sh;
                    best.acceptance = acc;
                    best.han = LikelyHan(view, after, withCall);
                }
            }
            after[Ix(d)] += 1;
        }
        return best;
    }

    // A call is taken when it brings the hand nearer, leaves it a yaku and
    // the faster, open hand looks better than the closed one by the
    // character's bar, or when it makes the hand ready in the last draws; a
    // kan is a chance taken when it does not set the hand back.
    Action Claim(const SeatView& view) {
        if (view.riichi[Ix(view.seat)]) return Pass();
        Counts counts = OwnCounts(view);
        int melds = OwnMelds(view);
        int now = riichi::ShantenRegular(counts, melds);
        // A closed hand on its way to seven pairs or the orphans stays closed.
        if (melds == 0 && BiasedShanten(counts, 0, bias_) < now) return Pass();
        auto visible = VisibleCounts(view);
        Danger danger = ReadDanger(view, visible);
        int accNow = Acceptance(counts, melds, now, visible);
        const double closedPoints = HandPoints(view, counts);
        const bool folding =
            danger.threat > 0 && FoldDegreeOf(view, danger, now, accNow, closedPoints) >= 1.0;
        const double closed = Outlook(view, now, accNow, closedPoints);
        const bool dealer = view.seat == view.dealer;
        constexpr int kLastDraws = 8;  // about two turns of every seat
        const bool lastDraws = view.liveTiles <= kLastDraws;

        const auto& own = view.melds[Ix(view.seat)];
        for (const Action& a : view.legal) {
            if (a.type != ActionType::Pon && a.type != ActionType::Chi && a.type != ActionType::OpenKan)
                continue;
            int weight = a.type == ActionType::Pon ? w_.pon : a.type == ActionType::Chi ? w_.tie : w_.kan;
            if (weight <= 0) continue;
            Counts after = counts;
            std::vector<Meld> withCall = own;
            withCall.push_back(MeldOfCall(view, a, after));
            OpenPlan plan = PlanOpenHand(view, after, withCall, true, w_.toitoi >= 300);
            const bool yakuRoute = plan.route != Route::None;
            if (!yakuRoute && !lastDraws) continue;
            if (plan.route == Route::AllTriplets && a.type == ActionType::Chi) continue;

            // An open kan draws a replacement: it must not set the hand back.
            if (a.type == ActionType::OpenKan) {
                if (!folding && riichi::ShantenRegular(after, melds + 1) <= now && rng_.Chance(w_.kan))
                    return a;
                continue;
            }
            AfterCall open = WeighCall(view, after, withCall, visible);
            if (open.shanten >= now) continue;
            double points = PointsOfHan(std::max(open.han, 1.0), dealer) + 1000.0 * view.sticks;
            // Against a threat, what counts is whether the hand the call
            // makes would push on: a call that speeds a slow hand up may be
            // what lets it go on at all.
            if (folding && FoldDegreeOf(view, danger, open.shanten, open.acceptance, points) >= 1.0) continue;
            // In the last draws a hand made ready is paid at the draw, with
            // or without a yaku.
            if (lastDraws && open.shanten == 0) return a;
            if (!yakuRoute) continue;
            if (Outlook(view, open.shanten, open.acceptance, points, true) > closed * CallBar(weight))
                return a;
        }
        return Pass();
    }

    Weights w_;
    riichi::Random rng_;
    ShapeBias bias_;
    int lastLive_ = -1;
    int lastRivers_ = 0;
    int riichiRoll_ = -1;   // this hand's draw (0..999) against the riichi chance, -1 not yet drawn
    int firstDealer_ = -1;  // the game's first dealer, -1 not yet seen
};

}  // namespace

std::unique_ptr<Player> MakeCharacterPlayer(const Weights& weights, std::uint64_t seed) {
    return std::make_unique<CharacterPlayer>(weights, seed);
}

}  // namespace zv::players
