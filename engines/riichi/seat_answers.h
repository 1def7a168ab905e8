#pragma once
// How the table takes a seat's answer, the same for every front end: an
// action the table does not allow becomes the seat's last legal action (a
// pass in a claim window, else a discard), so that a faulty, late or absent
// player never stalls a hand. And the part of the asking loop every front
// end shares: the seats a computer plays answer at once, the others are
// asked and answered later.
#include <functional>

#include "riichi/table.h"

namespace zv::riichi {

// `answer` when the table allows it, else the seat's last legal action; an
// empty action when the seat has nothing to decide.
Action LegalAnswer(const Hand& hand, int seat, const Action& answer);

// Applies `answer` through LegalAnswer. False only when the seat had nothing
// to decide.
bool ApplyAnswer(Hand& hand, int seat, const Action& answer);

// Decides the action of a seat a computer plays.
using SeatDecider = std::function<Action(int seat, const SeatView& view)>;

// The first pending seat, in turn order, that a computer plays now:
// `waitsForAnswer(seat)` is consulted for each pending seat in turn until one
// says false, so a front end may ask its seats from it as it goes. -1 when the
// hand is over or every pending seat waits for an answer.
int NextComputerSeat(const Hand& hand, const std::function<bool(int seat)>& waitsForAnswer);

// Plays one pending seat that is not to be asked (`asked(seat)` false): it
// decides with `decide` and its answer is applied through LegalAnswer.
// Returns false, applying nothing, when the hand is over or every pending
// seat is to be asked.
bool PlayComputerSeat(Hand& hand, const std::function<bool(int seat)>& asked, const SeatDecider& decide);

}  // namespace zv::riichi
