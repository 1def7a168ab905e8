#pragma once
// The simplest computer player, for tests and benchmarks: it wins whenever it
// may, declares riichi whenever it may, never calls and never declares nine
// terminals, and otherwise discards the tile that leaves the lowest shanten
// (ties: the tile with the fewest same or neighbouring kinds in the hand, then
// honours and terminals before simples, then the highest tile id). A pure
// function of the view.
#include "riichi/table.h"

namespace zv::riichi {

Action ShantenOnlyDecision(const SeatView& view);

}  // namespace zv::riichi
