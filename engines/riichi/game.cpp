// A whole game: hands in sequence, the dealer's rotation, honba and sticks,
// the end of the game and the final placements (see game.h).
#include <algorithm>

#include "riichi/game.h"
#include "riichi/random.h"
#include "riichi/seat_answers.h"
#include "riichi/table.h"

namespace zv::riichi {
namespace {

std::size_t Idx(int seat) { return static_cast<std::size_t>(seat); }

}  // namespace

std::array<int, 4> UmaForPlaces(Uma uma, int sinking, int players) {
    auto fixed = [&](int top, int second) -> std::array<int, 4> {
        if (players == 3) return {top, 0, -top, 0};
        return {top, second, -second, -top};
    };
    switch (uma) {
        case Uma::FiveTen:
            return fixed(10, 5);
        case Uma::TenTwenty:
            return fixed(20, 10);
        case Uma::TenThirty:
            return fixed(30, 10);
        case Uma::SevenFiveThree:
        case Uma::Under: {
            if (sinking <= 0 || sinking >= players) return {0, 0, 0, 0};
            int each = uma == Uma::SevenFiveThree ? (sinking == 1 ? 7 : sinking == 2 ? 5 : 3) : 6 / sinking;
            int paid = each * sinking;
            int floating = players - sinking;
            std::array<int, 4> table{};
            for (int i = 0; i < floating; ++i) table[Idx(i)] = paid / floating;
            table[0] += paid - paid / floating * floating;  // the remainder goes to the top
            for (int i = floating; i < players; ++i) table[Idx(i)] = -each;
            return table;
        }
        case Uma::None:
            break;
    }
    return {0, 0, 0, 0};
}

std::uint64_t HandSeed(std::uint64_t gameSeed, int index) {
    Random r(gameSeed ^ (0xD1B54A32D192ED03ull * static_cast<std::uint64_t>(index + 1)));
    return r.Next();
}

Game::Game(const Rules& rules, std::uint64_t seed, int firstDealer)
    : Game(rules, seed, firstDealer, nullptr) {}

Game::Game(const Rules& rules, std::uint64_t seed, int firstDealer, WallMaker walls)
    : rules_(rules),
      seed_(seed),
      players_(rules.Players()),
      firstDealer_(((firstDealer % players_) + players_) % players_),
      dealer_(firstDealer_),
      walls_(std::move(walls)) {
    for (int seat = 0; seat < players_; ++seat) scores_[Idx(seat)] = rules.startPoint;
    Deal();
}

void Game::Deal() {
    HandSetup setup;
    setup.rules = rules_;
    setup.roundWind = kEast + std::min(round_, 3);
    setup.dealer = dealer_;
    setup.honba = honba_;
    setup.sticks = sticks_;
    setup.scores = scores_;
    int index = static_cast<int>(results_.size());
    hand_ = std::make_unique<Hand>(
        setup, walls_ ? walls_(index, setup) : Wall(HandSeed(seed_, index), rules_.threePlayer));
}

bool Game::NextHand() {
    if (over_ || !hand_->Over()) return false;
    const HandResult& r = hand_->Result();
    results_.push_back(r);
    scores_ = r.scoresAfter;
    sticks_ = r.sticksAfter;
    for (int seat = 0; seat < 4; ++seat) {
        auto& t = totals_[Idx(seat)];
        chips_[Idx(seat)] += r.chipDelta[Idx(seat)];
        t.hands += 1;
        t.reaches += r.riichi[Idx(seat)] ? 1 : 0;
        t.calls += r.calls[Idx(seat)];
        t.tsumoPoints += r.tsumoPoints[Idx(seat)];
        t.tsumoCount += r.tsumoCount[Idx(seat)];
        t.ronPoints += r.ronPoints[Idx(seat)];
        t.ronCount += r.ronCount[Idx(seat)];
        t.dealInPoints += r.dealInPoints[Idx(seat)];
        t.dealInCount += r.dealInCount[Idx(seat)];
    }

    bool win = r.end == HandEnd::Tsumo || r.end == HandEnd::Ron;
    bool dealerKeeps = true;  // abortive draws
    if (win)
        dealerKeeps = std::any_of(r.winners.begin(), r.winners.end(),
                                  [&](const WinResult& w) { return w.seat == r.dealer; });
    else if (r.end == HandEnd::Exhaustive || r.end == HandEnd::NagashiMangan)
        dealerKeeps = r.ready[Idx(r.dealer)];
    honba_ = dealerKeeps || !win ? honba_ + 1 : 0;

    if (!rules_.noBustOut && std::any_of(scores_.begin(), scores_.end(), [](int s) { return s < 0; })) {
        bustOut_ = true;
        Close();
        return false;
    }
    if (!dealerKeeps) {
        dealer_ = (dealer_ + 1) % players_;
        if (dealer_ == firstDealer_) ++round_;
    }
    int lastRound = rules_.eastOnly ? 0 : 1;
    if (round_ > lastRound || static_cast<int>(results_.size()) >= kMaxHands) {
        Close();
        return false;
    }
    Deal();
    return true;
}

void Game::Close() {
    over_ = true;
    // Places: higher score first, ties to the seat nearer the first dealer.
    std::vector<int> order;
    for (int i = 0; i < players_; ++i) order.push_back((firstDealer_ + i) % players_);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return scores_[Idx(a)] > scores_[Idx(b)]; });
    scores_[Idx(order[0])] += 1000 * sticks_;
    leftoverSticks_ = sticks_;
    sticks_ = 0;

    // The counted score: without "under" a score below zero counts as zero;
    // the top's points take whatever the others leave.
    std::array<int, 4> counted = scores_;
    if (!rules_.under)
        for (int& c : counted) c = std::max(c, 0);
    int sinking = 0;
    for (int seat : order) sinking += counted[Idx(seat)] < rules_.startPoint ? 1 : 0;
    std::array<int, 4> uma = UmaForPlaces(rules_.uma, sinking, players_);
    int othersSum = 0;
    for (int place = 1; place <= players_; ++place) {
        int seat = order[Idx(place - 1)];
        auto& t = totals_[Idx(seat)];
        t.place = place;
        t.finalScore = scores_[Idx(seat)];
        t.chips = chips_[Idx(seat)];
        if (place > 1) {
            int diff = counted[Idx(seat)] - rules_.CountedFrom();
            int base = diff >= 0 ? (diff + 500) / 1000 : -((-diff + 499) / 1000);
            t.points = base + uma[Idx(place - 1)];
            othersSum += t.points;
        }
    }
    totals_[Idx(order[0])].points = -othersSum;
}

void Game::PlayOut(const std::array<Decider, 4>& players) {
    while (!over_) {
        auto decide = [&](int seat, const SeatView& view) { return players[Idx(seat)](view); };
        while (PlayComputerSeat(
            *hand_, [](int) { return false; }, decide)) {
        }
        NextHand();
    }
}

}  // namespace zv::riichi
