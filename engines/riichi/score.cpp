// Scoring a win: checks the situation, tries every reading of the hand and
// keeps the best, then adds dora, applies the limits and works out who pays
// what.
#include "riichi/score.h"

#include <algorithm>
#include <array>

#include "riichi/yaku.h"

namespace zv::riichi {
namespace {

int RoundUp100(int x) { return (x + 99) / 100 * 100; }

// The dora of the hand, the same for every reading.
struct DoraCount {
    int dora = 0, red = 0, ura = 0, north = 0;
};

bool ValidTile(TileId t) { return t >= 0 && t < kTiles; }

// Checks tiles, melds, the winning tile and the winds; one line on failure.
bool CheckSituation(const WinSituation& win, const Rules& rules, std::string& error) {
    std::array<bool, kTiles> used{};
    auto take = [&](TileId t) {
        if (!ValidTile(t)) {
            error = "not a tile: " + std::to_string(t);
            return false;
        }
        if (used[t]) {
            error = "the same tile is used twice";
            return false;
        }
        used[t] = true;
        return true;
    };
    if (win.melds.size() > 4) {
        error = "more than four melds";
        return false;
    }
    for (const Meld& m : win.melds) {
        bool kan =
            m.type == MeldType::OpenKan || m.type == MeldType::ClosedKan || m.type == MeldType::AddedKan;
        if (m.size != (kan ? 4 : 3)) {
            error = "a meld has the wrong number of tiles";
            return false;
        }
        Kind low = kKinds, high = -1;
        int sum = 0;
        for (int i = 0; i < m.size; ++i) {
            if (!take(m.tiles[i])) return false;
            Kind k = KindOf(m.tiles[i]);
            low = std::min(low, k);
            high = std::max(high, k);
            sum += k;
        }
        bool ok;
        if (m.type == MeldType::Chi)  // three kinds in a row: low + 2 = high, middle one between
            ok = !IsHonor(high) && SuitOf(low) == SuitOf(high) && high == low + 2 && sum == 3 * low + 3;
        else
            ok = low == high;
        if (!ok) {
            error = m.type == MeldType::Chi ? "a chi is not a sequence" : "a pon or kan is not of one kind";
            return false;
        }
    }
    std::size_t expected = 14 - 3 * win.melds.size();
    if (win.concealed.size() != expected) {
        error = "the hand has " + std::to_string(win.concealed.size()) + " concealed tiles; " +
                std::to_string(expected) + " expected with " + std::to_string(win.melds.size()) + " melds";
        return false;
    }
    for (TileId t : win.concealed)
        if (!take(t)) return false;
    if (std::find(win.concealed.begin(), win.concealed.end(), win.winTile) == win.concealed.end()) {
        error = "the winning tile is not in the hand";
        return false;
    }
    for (TileId t : win.north)
        if (!take(t)) return false;
    if (!rules.threePlayer && !win.north.empty()) {
        error = "norths are set aside only with three players";
        return false;
    }
    if (std::any_of(win.north.begin(), win.north.end(), [](TileId t) { return KindOf(t) != kNorth; })) {
        error = "only norths are set aside";
        return false;
    }
    if (rules.threePlayer)
        for (std::size_t t = 0; t < used.size(); ++t)
            if (used[t] && !InThreePlayerSet(KindOf(static_cast<TileId>(t)))) {
                error = "2m to 8m are not played with three players";
                return false;
            }
    if (!IsWind(win.roundWind) || !IsWind(win.seatWind)) {
        error = "the round and seat winds must be winds";
        return false;
    }
    bool open = std::any_of(win.melds.begin(), win.melds.end(), [](const Meld& m) { return m.IsOpen(); });
    if ((win.riichi || win.doubleRiichi) && open) {
        error = "riichi needs a closed hand";
        return false;
    }
    if ((win.tenhou && win.seatWind != kEast) || (win.chiihou && win.seatWind == kEast)) {
        error = "tenhou is the dealer's first-draw win, chiihou another player's";
        return false;
    }
    for (TileId t : win.doraIndicators)
        if (!ValidTile(t)) {
            error = "not a dora indicator: " + std::to_string(t);
            return false;
        }
    for (TileId t : win.uraIndicators)
        if (!ValidTile(t)) {
            error = "not an ura-dora indicator: " + std::to_string(t);
            return false;
        }
    return true;
}

Counts ConcealedCounts(const WinSituation& win) {
    Counts c{};
    for (TileId t : win.concealed) ++c[KindOf(t)];
    return c;
}

Counts AllCounts(const WinSituation& win) {
    Counts c = ConcealedCounts(win);
    for (const Meld& m : win.melds)
        for (int i = 0; i < m.size; ++i) ++c[KindOf(m.tiles[i])];
    return c;
}

DoraCount CountDora(const WinSituation& win, const Rules& rules, Counts all) {
    DoraCount d;
    // A north set aside is a dora of its own, and counts like a held north
    // for the indicators.
    d.north = static_cast<int>(win.north.size());
    all[kNorth] = static_cast<std::uint8_t>(all[kNorth] + d.north);
    bool three = rules.threePlayer;
    for (TileId t : win.doraIndicators) d.dora += all[DoraOf(KindOf(t), three)];
    bool closed = std::none_of(win.melds.begin(), win.melds.end(), [](const Meld& m) { return m.IsOpen(); });
    if (!rules.noRedFives && (closed || !rules.redFivesClosedOnly)) {
        for (TileId t : win.concealed) d.red += IsRedFive(t);
        for (const Meld& m : win.melds)
            for (int i = 0; i < m.size; ++i) d.red += IsRedFive(m.tiles[i]);
    }
    if (win.riichi || win.doubleRiichi) {
        std::size_t n =
            rules.noKanUra ? std::min<std::size_t>(1, win.uraIndicators.size()) : win.uraIndicators.size();
        for (std::size_t i = 0; i < n; ++i) d.ura += all[DoraOf(KindOf(win.uraIndicators[i]), three)];
    }
    return d;
}

// Limits and payments of a hand whose han, fu and yakuman are set.
void Settle(const WinSituation& win, const Rules& rules, Score& s) {
    s.dealer = win.seatWind == kEast;
    if (s.yakuman > 0) {
        s.limit = Limit::Yakuman;
        s.basePoints = kYakumanBase * s.yakuman;
    } else if (s.han >= 13) {
        s.yakuman = 1;
        s.limit = Limit::Yakuman;
        s.basePoints = kYakumanBase;
    } else if (s.han >= 11) {
        s.limit = Limit::Sanbaiman;
        s.basePoints = kSanbaimanBase;
    } else if (s.han >= 8) {
        s.limit = Limit::Baiman;
        s.basePoints = kBaimanBase;
    } else if (s.han >= 6) {
        s.limit = Limit::Haneman;
        s.basePoints = kHanemanBase;
    } else {
        s.basePoints = s.fu << (s.han + 2);
        if (s.han >= 5 || s.basePoints >= kManganBase || (rules.roundUpMangan && s.basePoints == 1920)) {
            s.limit = Limit::Mangan;
            s.basePoints = kManganBase;
        }
    }
    if (win.tsumo) {
        // Besides the dealer (or, when the winner deals, a first payer),
        // two other payers with four players and one with three.
        int others = rules.Players() - 2;
        int dealerPays = TsumoPayment(s.basePoints, s.dealer, Payer::Dealer, 0, rules);
        int othersPay = TsumoPayment(s.basePoints, s.dealer, Payer::NonDealer, 0, rules);
        s.points = dealerPays + others * othersPay;
        s.tsumoDealerPays = TsumoPayment(s.basePoints, s.dealer, Payer::Dealer, win.honba, rules);
        s.tsumoOthersPay = TsumoPayment(s.basePoints, s.dealer, Payer::NonDealer, win.honba, rules);
        s.total = s.tsumoDealerPays + others * s.tsumoOthersPay;
    } else {
        s.points = Payment(s.basePoints, s.dealer, Payer::Discarder);
        s.ronPayment = Payment(s.basePoints, s.dealer, Payer::Discarder, win.honba);
        s.total = s.ronPayment;
    }
    s.total += kRiichiStick * win.sticks;
}

Score Evaluate(const WinSituation& win, const Rules& rules, const Counts& all, const DoraCount& dora,
               const Decomposition& reading, int winBlock, detail::ReadingValue& value) {
    detail::EvaluateReading(win, rules, all, reading, winBlock, value);
    Score s;
    s.dora = dora.dora;
    s.redFives = dora.red;
    s.uraDora = dora.ura;
    s.northDora = dora.north;
    if (value.yakuman == 0 && value.han == 0) {
        s.error = "the hand has no yaku";
        return s;
    }
    s.won = true;
    s.yaku = std::move(value.yaku);
    s.yakuman = value.yakuman;
    s.fu = value.fu;
    s.han = value.han;
    s.paoDragonsYakuman = value.paoDragons;
    s.paoWindsYakuman = value.paoWinds;
    s.paoKansYakuman = value.paoKans;
    if (s.yakuman == 0) {
        auto add = [&](const char* name, int n) {
            if (n > 0) s.yaku.push_back({name, n, 0, -1});
            s.han += n;
        };
        add("ドラ", dora.dora);
        add("赤ドラ", dora.red);
        add("裏ドラ", dora.ura);
        add("抜きドラ", dora.north);
    }
    Settle(win, rules, s);
    return s;
}

bool Better(const Score& a, const Score& b) {
    if (a.won != b.won) return a.won;
    if (a.basePoints != b.basePoints) return a.basePoints > b.basePoints;
    if (a.han != b.han) return a.han > b.han;
    return a.fu > b.fu;
}

}  // namespace

std::string_view LimitWord(Limit limit) {
    switch (limit) {
        case Limit::None:
            return {};
        case Limit::Mangan:
            return "mangan";
        case Limit::Haneman:
            return "haneman";
        case Limit::Baiman:
            return "baiman";
        case Limit::Sanbaiman:
            return "sanbaiman";
        case Limit::Yakuman:
            return "yakuman";
    }
    return {};
}

int Payment(int basePoints, bool winnerDeals, Payer payer, int honba) {
    if (payer == Payer::Discarder)
        return RoundUp100(basePoints * (winnerDeals ? 6 : 4)) + kHonbaCounter * honba;
    int share = payer == Payer::Dealer || winnerDeals ? 2 : 1;
    return RoundUp100(basePoints * share) + kHonbaCounter / 3 * honba;
}

int TsumoPayment(int basePoints, bool winnerDeals, Payer payer, int honba, const Rules& rules) {
    if (!rules.threePlayer) return Payment(basePoints, winnerDeals, payer, honba);
    int own = Payment(basePoints, winnerDeals, payer);
    if (rules.tsumoLoss) return own + kHonbaCounter / 3 * honba;
    int absent = Payment(basePoints, winnerDeals, Payer::NonDealer);
    return own + RoundUp100(absent / 2) + kHonbaCounter / 2 * honba;
}

Score ScoreReading(const WinSituation& win, const Rules& rules, const Decomposition& reading, int winBlock) {
    Counts all = AllCounts(win);
    detail::ReadingValue value;
    return Evaluate(win, rules, all, CountDora(win, rules, all), reading, winBlock, value);
}

Score ScoreWin(const WinSituation& win, const Rules& rules) {
    Score best;
    if (!CheckSituation(win, rules, best.error)) return best;
    std::vector<Decomposition> readings;
    Decompose(ConcealedCounts(win), readings);
    if (readings.empty()) {
        best.error = "not a winning hand";
        return best;
    }
    Counts all = AllCounts(win);
    DoraCount dora = CountDora(win, rules, all);
    Kind winKind = KindOf(win.winTile);
    detail::ReadingValue value;
    bool first = true;
    auto consider = [&](const Decomposition& d, int block) {
        Score s = Evaluate(win, rules, all, dora, d, block, value);
        if (first || Better(s, best)) best = std::move(s);
        first = false;
    };
    for (const Decomposition& d : readings) {
        if (d.form != HandForm::Regular) {
            consider(d, 0);
            continue;
        }
        if (d.pair == winKind) consider(d, -1);
        for (int i = 0; i < d.setCount; ++i) {
            const ConcealedSet& set = d.sets[i];
            bool holds = set.sequence ? winKind >= set.kind && winKind <= set.kind + 2 : winKind == set.kind;
            // Two identical sets are the same reading.
            if (holds && (i == 0 || !(d.sets[i - 1] == set))) consider(d, i);
        }
    }
    return best;
}

}  // namespace zv::riichi
