// The end of a hand: the payments of a win (honba, riichi sticks, liability,
// chips), the ready payments and nagashi mangan of an exhaustive draw, and the
// hand's result.
#include <algorithm>

#include "riichi/table.h"
#include "riichi/table_detail.h"

namespace zv::riichi {
namespace {

Payer PayerOnTsumo(int seat, int dealer) { return seat == dealer ? Payer::Dealer : Payer::NonDealer; }

}  // namespace

using detail::Bit;
using detail::Event;

bool Hand::Ready(int seat) const {
    const auto& s = seats_[Idx(seat)];
    std::uint64_t waits = s.waits;
    Counts own = s.counts;
    for (const Meld& m : s.melds)
        if (m.type != MeldType::Chi) own[static_cast<std::size_t>(KindOf(m.tiles[0]))] += 3;
    for (Kind k = 0; k < kKinds; ++k)
        if (own[static_cast<std::size_t>(k)] >= 4) waits &= ~Bit(k);
    return waits != 0;
}

void Hand::EndWins(const std::vector<int>& winners, TileId winTile, bool tsumo, ClaimKind kind) {
    const Rules& rules = setup_.rules;
    int loser = tsumo ? -1 : claimFrom_;
    result_.end = tsumo ? HandEnd::Tsumo : HandEnd::Ron;
    result_.loser = loser;
    int honba = setup_.honba;
    bool anyRiichi = false;
    for (std::size_t n = 0; n < winners.size(); ++n) {
        int w = winners[n];
        const auto& s = seats_[Idx(w)];
        WinSituation ws = Situation(w, winTile, tsumo, kind);
        Score score = ScoreWin(ws, rules);
        bool dealer = w == setup_.dealer;
        anyRiichi = anyRiichi || s.riichi;

        // Liability: one liable seat per hand, for the yakuman it is liable for.
        int liable = -1, paoYakuman = 0;
        if (rules.pao) {
            const std::pair<int, int> parts[] = {{s.liableDragons, score.paoDragonsYakuman},
                                                 {s.liableWinds, score.paoWindsYakuman},
                                                 {s.liableKans, score.paoKansYakuman}};
            for (const auto& [seat, yakuman] : parts) {
                if (seat < 0 || yakuman <= 0 || seat == w) continue;
                if (liable < 0) liable = seat;
                if (seat == liable) paoYakuman += yakuman;
            }
        }
        std::array<int, 4> pay{};
        if (tsumo) {
            int base = score.basePoints;
            if (liable >= 0) {
                pay[Idx(liable)] += Payment(kYakumanBase * paoYakuman, dealer, Payer::Discarder, honba);
                base = std::max(0, base - kYakumanBase * paoYakuman);
                honba = 0;
            }
            if (base > 0)
                for (int p = 0; p < players_; ++p)
                    if (p != w)
                        pay[Idx(p)] +=
                            TsumoPayment(base, dealer, PayerOnTsumo(p, setup_.dealer), honba, rules);
        } else {
            int all = Payment(score.basePoints, dealer, Payer::Discarder, honba);
            if (liable >= 0 && liable != loser) {
                int half = Payment(kYakumanBase * paoYakuman, dealer, Payer::Discarder) / 2;
                pay[Idx(liable)] += half;
                all -= half;
            }
            pay[Idx(loser)] += all;
        }
        int gained = 0;
        for (int p = 0; p < 4; ++p) {
            scores_[Idx(p)] -= pay[Idx(p)];
            gained += pay[Idx(p)];
        }
        scores_[Idx(w)] += gained;
        if (n == 0) {
            scores_[Idx(w)] += kRiichiStick * sticks_;
            sticks_ = 0;
        }

        // Chips.
        int chips = score.uraDora * rules.uraDoraChip + score.redFives * rules.redFiveChip +
                    score.yakuman * rules.yakumanChip;
        if (ws.ippatsu) chips += rules.ippatsuChip;
        int reds = 0;
        for (TileId t : ws.concealed) reds += IsRedFive(t) ? 1 : 0;
        for (const Meld& m : ws.melds)
            for (int i = 0; i < m.size; ++i) reds += IsRedFive(m.tiles[Idx(i)]) ? 1 : 0;
        if (reds == 3 && !rules.noRedFives && !rules.noAllStars) chips += 2;
        for (int p = 0; p < players_; ++p) {
            if (p == w || (!tsumo && p != loser)) continue;
            result_.chipDelta[Idx(p)] -= chips;
            result_.chipDelta[Idx(w)] += chips;
        }

        if (tsumo) {
            result_.tsumoPoints[Idx(w)] += gained;
            result_.tsumoCount[Idx(w)] += 1;
        } else {
            result_.ronPoints[Idx(w)] += gained;
            result_.ronCount[Idx(w)] += 1;
            result_.dealInPoints[Idx(loser)] += pay[Idx(loser)];  // not a liable seat's share
            result_.dealInCount[Idx(loser)] += 1;
        }
        WinResult win;
        win.seat = w;
        win.score = std::move(score);
        win.winTile = winTile;
        win.concealed = ws.concealed;
        win.melds = s.melds;
        win.liable = liable;
        win.situation = ws;
        result_.revealed[Idx(w)] = ws.concealed;
        result_.winners.push_back(std::move(win));
    }
    if (anyRiichi) {
        result_.uraIndicators = wall_.UraIndicators();
        if (rules.noKanUra && result_.uraIndicators.size() > 1) result_.uraIndicators.resize(1);
    }
    Finish();
}

void Hand::EndDraw(HandEnd end) {
    result_.end = end;
    Finish();
}

void Hand::EndExhaustive() {
    std::array<bool, 4> ready{};
    int readyCount = 0, nagashiCount = 0;
    for (int seat = 0; seat < players_; ++seat) {
        ready[Idx(seat)] = Ready(seat);
        readyCount += ready[Idx(seat)] ? 1 : 0;
        const auto& s = seats_[Idx(seat)];
        result_.nagashi[Idx(seat)] = s.nagashi && !s.river.empty();
        nagashiCount += result_.nagashi[Idx(seat)] ? 1 : 0;
        if (ready[Idx(seat)]) result_.revealed[Idx(seat)] = s.hand;
    }
    result_.ready = ready;
    if (nagashiCount > 0) {
        result_.end = HandEnd::NagashiMangan;
        for (int w = 0; w < players_; ++w) {
            if (!result_.nagashi[Idx(w)]) continue;
            for (int p = 0; p < players_; ++p) {
                if (p == w) continue;
                int amount = TsumoPayment(kManganBase, w == setup_.dealer, PayerOnTsumo(p, setup_.dealer), 0,
                                          setup_.rules);
                scores_[Idx(p)] -= amount;
                scores_[Idx(w)] += amount;
            }
        }
    } else {
        result_.end = HandEnd::Exhaustive;
        if (readyCount > 0 && readyCount < players_) {
            int gain = kNotenPenaltyPool / readyCount, loss = kNotenPenaltyPool / (players_ - readyCount);
            for (int seat = 0; seat < players_; ++seat) scores_[Idx(seat)] += ready[Idx(seat)] ? gain : -loss;
        }
    }
    Finish();
}

void Hand::Finish() {
    phase_ = Phase::Over;
    Tell(Event(EventType::HandOver));
    result_.actions = log_;
    for (auto& l : legal_) l.clear();
    claimPending_ = {};
    for (int seat = 0; seat < 4; ++seat) {
        const auto& s = seats_[Idx(seat)];
        result_.scoreDelta[Idx(seat)] = scores_[Idx(seat)] - setup_.scores[Idx(seat)];
        result_.riichi[Idx(seat)] = s.riichi;
        result_.calls[Idx(seat)] = s.calls;
    }
    result_.scoresAfter = scores_;
    result_.sticksAfter = sticks_;
    result_.doraIndicators = wall_.DoraIndicators();
}

}  // namespace zv::riichi
