#include "format/record_analysis.h"

#include <cstdint>

#include "players/hand_reading.h"
#include "riichi/shanten.h"

namespace zv::engine {
namespace {

using riichi::ActionType;
using riichi::Kind;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }
std::uint64_t Bit(Kind k) { return std::uint64_t{1} << k; }
bool IsDiscard(ActionType type) { return type == ActionType::Discard || type == ActionType::Riichi; }

// What the table says about safety: per seat, the kinds it can no longer
// win on by ron (its own discards, and after its riichi every kind it let
// pass), and whether it has declared riichi.
struct Safety {
    std::array<std::uint64_t, 4> kinds{};
    std::array<bool, 4> riichi{};

    void Discarded(int seat, Kind kind, bool declares) {
        kinds[Idx(seat)] |= Bit(kind);
        for (int other = 0; other < 4; ++other)
            if (other != seat && riichi[Idx(other)]) kinds[Idx(other)] |= Bit(kind);
        if (declares) riichi[Idx(seat)] = true;
    }
    // Safe against every other seat in riichi.
    bool SafeFor(int seat, Kind kind) const {
        for (int other = 0; other < 4; ++other)
            if (other != seat && riichi[Idx(other)] && !(kinds[Idx(other)] & Bit(kind))) return false;
        return true;
    }
    bool Threatened(int seat) const {
        for (int other = 0; other < 4; ++other)
            if (other != seat && riichi[Idx(other)]) return true;
        return false;
    }
};

DiscardReview Review(const riichi::Hand& before, int seat, const riichi::Action& chosen,
                     const Safety& safety) {
    DiscardReview r;
    r.tile = chosen.tile;
    r.riichi = chosen.type == ActionType::Riichi;
    riichi::SeatView view = before.View(seat);
    riichi::Counts counts = players::OwnCounts(view);
    int melds = players::OwnMelds(view);
    auto visible = players::VisibleCounts(view);
    r.shantenBefore = riichi::Shanten(counts, melds);
    std::uint64_t tried = 0;
    int kinds = 0;
    r.bestShanten = 99;
    r.bestAcceptance = -1;
    auto measure = [&](Kind k, int& shanten, int& acceptance) {
        counts[Idx(k)] -= 1;
        shanten = riichi::Shanten(counts, melds);
        acceptance = players::Acceptance(counts, melds, shanten, visible);
        counts[Idx(k)] += 1;
    };
    for (const riichi::Action& a : view.legal) {
        if (!IsDiscard(a.type)) continue;
        Kind k = riichi::KindOf(a.tile);
        if (tried & Bit(k)) continue;
        tried |= Bit(k);
        ++kinds;
        int shanten = 0, acceptance = 0;
        measure(k, shanten, acceptance);
        if (shanten < r.bestShanten || (shanten == r.bestShanten && acceptance > r.bestAcceptance)) {
            r.bestShanten = shanten;
            r.bestAcceptance = acceptance;
            r.best = a.tile;
        }
        if (safety.SafeFor(seat, k)) r.safeAtHand = true;
    }
    measure(riichi::KindOf(chosen.tile), r.shantenAfter, r.acceptance);
    if (r.shantenAfter == r.bestShanten && r.acceptance == r.bestAcceptance) r.best = chosen.tile;
    r.forced = kinds <= 1;
    r.underRiichi = safety.Threatened(seat);
    r.safe = safety.SafeFor(seat, riichi::KindOf(chosen.tile));
    return r;
}

void Count(const DiscardReview& d, ReviewTotals& t) {
    if (d.dealtIn) {
        t.dealIns += 1;
        if (d.underRiichi && !d.safe && d.safeAtHand) t.avoidableDealIns += 1;
    }
    if (d.underRiichi) {
        t.underRiichi += 1;
        if (!d.safe) t.unsafeUnderRiichi += 1;
    }
    if (d.forced) return;
    t.discards += 1;
    t.best += d.best == d.tile ? 1 : 0;
    t.acceptanceLost += d.Loss();
    t.wentBack += d.WentBack() ? 1 : 0;
}

std::string TotalsText(const ReviewTotals& t) {
    return "打牌 " + std::to_string(t.discards) + " (最善 " + std::to_string(t.best) + ")、受入の損失 " +
           std::to_string(t.acceptanceLost) + "枚、向聴戻し " + std::to_string(t.wentBack) +
           "、リーチ者がいるときの打牌 " + std::to_string(t.underRiichi) + " (危険 " +
           std::to_string(t.unsafeUnderRiichi) + ")、放銃 " + std::to_string(t.dealIns) +
           " (安全牌で避けられた " + std::to_string(t.avoidableDealIns) + ")";
}

}  // namespace

void ReviewTotals::Add(const ReviewTotals& o) {
    discards += o.discards;
    best += o.best;
    acceptanceLost += o.acceptanceLost;
    wentBack += o.wentBack;
    underRiichi += o.underRiichi;
    unsafeUnderRiichi += o.unsafeUnderRiichi;
    dealIns += o.dealIns;
    avoidableDealIns += o.avoidableDealIns;
}

GameReview ReviewDiscards(const GameReplay& replay, int seat) {
    GameReview game;
    game.seat = seat;
    for (int h = 0; h < replay.HandCount(); ++h) {
        const ReplayedHand& replayed = replay.Hands()[Idx(h)];
        HandReview hand;
        hand.hand = h;
        hand.name = HandName(*replayed.record);
        riichi::Hand state = replayed.start;
        Safety safety;
        int lastDiscardStep = 0;
        for (int step = 1; step <= replay.Steps(h); ++step) {
            riichi::LoggedAction a = replay.ActionAt(h, step);
            // The passes that close an earlier claim window come first.
            for (const riichi::LoggedAction& taken : replayed.steps[Idx(step - 1)]) {
                bool recorded = taken.action.type != ActionType::Pass;
                if (recorded && IsDiscard(a.action.type)) {
                    lastDiscardStep = step;
                    if (a.seat == seat) {
                        DiscardReview d = Review(state, seat, a.action, safety);
                        d.step = step;
                        d.turn = static_cast<int>(hand.discards.size()) + 1;
                        hand.discards.push_back(d);
                    }
                }
                state.Apply(taken.seat, taken.action);
            }
            if (IsDiscard(a.action.type))
                safety.Discarded(a.seat, riichi::KindOf(a.action.tile), a.action.type == ActionType::Riichi);
        }
        // A ron on the player's last discard of the hand is a deal-in.
        const riichi::HandResult& r = replayed.result;
        if (r.end == riichi::HandEnd::Ron && r.loser == seat && !hand.discards.empty() &&
            hand.discards.back().step == lastDiscardStep && !r.winners.empty() &&
            r.winners.front().winTile == hand.discards.back().tile)
            hand.discards.back().dealtIn = true;
        for (const DiscardReview& d : hand.discards) Count(d, hand.totals);
        game.totals.Add(hand.totals);
        game.hands.push_back(std::move(hand));
    }
    return game;
}

std::vector<std::string> ReviewLines(const GameReview& review, const std::string& player) {
    std::vector<std::string> out;
    out.push_back("打牌の分析: " + player + " (席" + std::to_string(review.seat) + ")");
    for (const HandReview& hand : review.hands) {
        std::string name = hand.name;
        out.push_back("  " + std::string(name[0] == 'E' ? "東" : "南") + name.substr(1, 1) + "局 " +
                      name.substr(3) + "本場");
        for (const DiscardReview& d : hand.discards) {
            std::string line = "    " + std::to_string(d.turn) + "巡 " + (d.riichi ? "リーチ " : "") + "打" +
                               riichi::TileName(d.tile);
            if (d.forced) {
                line += "  (選択なし)";
            } else {
                line += "  向聴 " + std::to_string(d.shantenBefore) + "→" + std::to_string(d.shantenAfter) +
                        "  受入 " + std::to_string(d.acceptance) + "枚";
                if (d.best == d.tile)
                    line += "  最善";
                else
                    line += "  (最善 打" + riichi::TileName(d.best) + " 向聴 " +
                            std::to_string(d.bestShanten) + " 受入 " + std::to_string(d.bestAcceptance) +
                            "枚)" + (d.WentBack() ? " 向聴戻し" : "");
            }
            if (d.underRiichi)
                line += std::string("  リーチに対して") + (d.safe ? "安全" : "危険") +
                        (!d.safe && d.safeAtHand ? " (安全牌あり)" : "");
            if (d.dealtIn) line += "  放銃";
            out.push_back(line);
        }
        out.push_back("    まとめ: " + TotalsText(hand.totals));
    }
    out.push_back("  ゲームのまとめ: " + TotalsText(review.totals));
    return out;
}

std::vector<std::string> ReviewRecord(const RecordFile& record, int seat) {
    std::vector<std::string> out;
    for (const RecordedGame& g : record.games) {
        out.emplace_back();
        out.push_back("第" + std::to_string(g.number) + "ゲーム");
        GameReplay replay;
        std::string error;
        bool whole = replay.Load(g, error);
        if (replay.HandCount() == 0) {
            out.push_back("  分析できません: " + error);
            continue;
        }
        const RecordSeat& s = g.seats[Idx(seat)];
        auto lines = ReviewDiscards(replay, seat);
        for (std::string& line : ReviewLines(lines, s.displayName.empty() ? s.name : s.displayName))
            out.push_back(std::move(line));
        if (!whole) out.push_back("  (途中まで: " + error + ")");
    }
    return out;
}

}  // namespace zv::engine
