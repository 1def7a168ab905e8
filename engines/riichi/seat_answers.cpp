#include "riichi/seat_answers.h"

namespace zv::riichi {

Action LegalAnswer(const Hand& hand, int seat, const Action& answer) {
    const std::vector<Action>& legal = hand.LegalActions(seat);
    if (legal.empty()) return {};
    return hand.IsLegal(seat, answer) ? answer : legal.back();
}

bool ApplyAnswer(Hand& hand, int seat, const Action& answer) {
    if (hand.LegalActions(seat).empty()) return false;
    return hand.Apply(seat, LegalAnswer(hand, seat, answer));
}

bool PlayComputerSeat(Hand& hand, const std::function<bool(int seat)>& asked, const SeatDecider& decide) {
    if (hand.Over()) return false;
    for (int seat : hand.PendingSeats()) {
        if (asked(seat)) continue;
        return ApplyAnswer(hand, seat, decide(seat, hand.View(seat)));
    }
    return false;
}

}  // namespace zv::riichi
