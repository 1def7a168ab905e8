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

int NextComputerSeat(const Hand& hand, const std::function<bool(int seat)>& waitsForAnswer) {
    if (hand.Over()) return -1;
    for (int seat : hand.PendingSeats())
        if (!waitsForAnswer(seat)) return seat;
    return -1;
}

bool PlayComputerSeat(Hand& hand, const std::function<bool(int seat)>& asked, const SeatDecider& decide) {
    int seat = NextComputerSeat(hand, asked);
    return seat >= 0 && ApplyAnswer(hand, seat, decide(seat, hand.View(seat)));
}

}  // namespace zv::riichi
