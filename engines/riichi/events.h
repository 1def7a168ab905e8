#pragma once
// The table's story as a sequence of events: what happened at the table at
// each step of a hand, in the order a player at the table sees it.
// Network protocols, record exporters and replays tell a hand with these
// events; `ForSeat` cuts an event down to what one seat may see (another
// seat's drawn tile is hidden, and so are the other hands at the deal).
//
// One step is one `Hand::Apply`; `Hand::StepEvents()` holds its events. A
// step may produce nothing (a claim answer while other seats still have to
// answer) or several events, always in this order: the step's discard;
// riichi accepted; the step's call or kan; new dora indicators; the next
// draw; the end of the hand. The claim that wins the window is reported for
// the seat that made it, even when another seat's answer completed the
// window. A closed or added kan is told in the step that declares it, before
// the window on it; its dora and replacement draw follow when the window
// closes without a win, and a robbed kan has neither.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "riichi/table.h"
#include "riichi/table_event.h"
#include "riichi/tile.h"

namespace zv::riichi {

// What the table looks like when a hand has just been dealt.
struct HandStart {
    Kind roundWind = kEast;
    int dealer = 0;
    int honba = 0;
    int sticks = 0;
    std::array<int, 4> scores{};
    TileId doraIndicator = -1;
    std::array<std::vector<TileId>, 4> hands;  // 13 tiles each, ascending; empty when hidden
    TableEvent dealerDraw;                     // the dealer's first draw
};

// The start of `hand`, which must not have had any action yet.
HandStart StartOf(const Hand& hand);

// The event or start as seat `viewer` may see it.
TableEvent ForSeat(TableEvent event, int viewer);
HandStart ForSeat(HandStart start, int viewer);

}  // namespace zv::riichi
