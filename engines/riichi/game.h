#pragma once
// A whole game of riichi mahjong on the table (table.h), four players or three
// (rules.threePlayer: seats 0..2, seat 3 stays empty with no place): hands in
// sequence, the dealer's rotation, honba and sticks, the end of the game and
// the final placements.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "riichi/rules.h"
#include "riichi/table.h"
#include "riichi/wall.h"

namespace zv::riichi {

// One seat's totals for a whole game.
struct SeatTotals {
    int place = 0;       // 1..4 (1..3 with three players; 0 for the empty seat)
    int finalScore = 0;  // on the table at the end, leftover sticks included
    int points = 0;      // (counted score - start score) / 1000 rounded, plus uma; sums to 0
    int chips = 0;
    int hands = 0;
    int reaches = 0, calls = 0;
    int tsumoPoints = 0, tsumoCount = 0;
    int ronPoints = 0, ronCount = 0;
    int dealInPoints = 0, dealInCount = 0;
};

// The placement bonus in thousands for places 1..4 (1..3 with `players` 3).
// With Uma::SevenFiveThree and Uma::Under it depends on how many seats end
// below the start score (`sinking`): they pay (7, 5 or 3 each for one, two or
// three such seats; "under": 6 between them) and the others share it, the
// top taking the remainder; nobody pays when no seat or every seat sinks.
// The fixed umas of three players give the top the fourth place's bonus of
// four players, the second nothing and the last the fourth's loss (10-20:
// +20, 0, -20).
std::array<int, 4> UmaForPlaces(Uma uma, int sinking, int players = 4);

// The wall seed of hand `index` (0-based) of the game started from `seed`.
std::uint64_t HandSeed(std::uint64_t gameSeed, int index);

// A whole game: hands in sequence until the last hand of the last round
// (east only with rules.eastOnly, else east and south) has passed, or a score
// falls below zero (unless rules.noBustOut).
//  * The dealer keeps the deal on its own win (one of several rons too), when
//    ready at an exhaustive draw (nagashi mangan included) and on abortive
//    draws. Honba rise by one when the dealer keeps the deal or on any draw,
//    and go back to zero on a win by another seat.
//  * A dealer who keeps the deal in the last hand plays on; no game runs
//    longer than kMaxHands hands.
//  * At the end, places go by score, ties to the seat nearer the first
//    dealer; sticks left on the table go to the top. Points are the score
//    over the start score (rules.CountedFrom(): the return score when one is
//    set) in thousands (rounded half up; with rules.under off a score below
//    zero counts as zero) plus the uma; the top takes what the others leave,
//    so the points add up to zero.
class Game {
public:
    static constexpr int kMaxHands = 64;

    Game(const Rules& rules, std::uint64_t seed, int firstDealer = 0);
    // The same with every hand's wall made by `walls` (replays and tests)
    // instead of from the seed.
    using WallMaker = std::function<Wall(int handIndex, const HandSetup& setup)>;
    Game(const Rules& rules, std::uint64_t seed, int firstDealer, WallMaker walls);

    bool Over() const { return over_; }
    Hand& Current() { return *hand_; }
    const Hand& Current() const { return *hand_; }
    int HandIndex() const { return static_cast<int>(results_.size()); }  // the current hand's number
    int Round() const { return round_; }                                 // 0 east, 1 south
    // After the current hand is over: records it and deals the next one, or
    // ends the game. Returns false when the game is over (or the hand is not).
    bool NextHand();

    // The current hand's table, forwarded.
    std::vector<int> PendingSeats() const { return hand_->PendingSeats(); }
    SeatView View(int seat) const { return hand_->View(seat); }
    bool Apply(int seat, const Action& action, std::string* error = nullptr) {
        return hand_->Apply(seat, action, error);
    }

    const std::vector<HandResult>& Results() const { return results_; }
    const std::array<int, 4>& Scores() const { return scores_; }
    int Sticks() const { return sticks_; }
    bool BustOut() const { return bustOut_; }
    int LeftoverSticks() const { return leftoverSticks_; }
    const std::array<SeatTotals, 4>& Totals() const { return totals_; }  // final once Over()
    const Rules& GameRules() const { return rules_; }
    std::uint64_t Seed() const { return seed_; }

    // Plays the whole game out, asking `decide(view)` for every decision.
    using Decider = std::function<Action(const SeatView&)>;
    void PlayOut(const std::array<Decider, 4>& players);

private:
    void Deal();
    void Close();

    Rules rules_;
    std::uint64_t seed_ = 0;
    int players_ = 4;
    int firstDealer_ = 0;
    int dealer_ = 0;
    int round_ = 0;
    int honba_ = 0;
    int sticks_ = 0;
    int leftoverSticks_ = 0;
    bool over_ = false;
    bool bustOut_ = false;
    std::array<int, 4> scores_{};
    std::array<int, 4> chips_{};
    std::array<SeatTotals, 4> totals_{};
    std::vector<HandResult> results_;
    std::unique_ptr<Hand> hand_;
    WallMaker walls_;
};

}  // namespace zv::riichi
