#pragma once
// The table's story as a sequence of events: what happened at the table
// between two states of a hand, in the order a player at the table sees it.
// Network protocols, record exporters and replays tell a hand with these
// events; `ForSeat` cuts an event down to what one seat may see (another
// seat's drawn tile is hidden, and so are the other hands at the deal).
//
// One step is one `Hand::Apply`. A step may produce nothing (a claim answer
// while other seats still have to answer) or several events, always in this
// order: the step's discard; riichi accepted; the step's call or kan; new
// dora indicators; the next draw; the end of the hand. The claim that wins the
// window is reported for the seat that made it, even when another seat's
// answer completed the window. A closed or added kan is told in the step that
// declares it, before the window on it; its dora and replacement draw follow
// when the window closes without a win, and a robbed kan has neither.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "riichi/table.h"
#include "riichi/tile.h"

namespace zv::riichi {

enum class EventType : std::uint8_t {
    Draw,            // seat drew `tile` (-1 when hidden); `rinshan` for a replacement tile
    Discard,         // seat discarded `tile`; `tsumogiri`, `riichi` (declared with it)
    Chi,             // seat called `tile` from `from` with `consumed`
    Pon,             // seat called `tile` from `from` with `consumed`
    OpenKan,         // seat called `tile` from `from` with `consumed` (three tiles)
    ClosedKan,       // seat declared a closed kan of `consumed` (four tiles)
    AddedKan,        // seat added `tile` to its pon; `consumed` the pon's three tiles
    NewDora,         // a kan dora indicator `tile` was turned over
    RiichiAccepted,  // seat's riichi holds: its stick is on the table
    HandOver,        // the hand ended; Hand::Result() says how
};

// Short name of an event type for logs and protocols: "draw", "discard",
// "chi", "pon", "kan", "ankan", "kakan", "dora", "riichi", "end".
const char* EventName(EventType type);

struct TableEvent {
    EventType type = EventType::Draw;
    int seat = -1;
    TileId tile = -1;
    int from = -1;                 // calls: the discarder
    std::vector<TileId> consumed;  // calls and kans: the seat's own tiles, ascending
    bool tsumogiri = false;        // Discard: the tile just drawn
    bool riichi = false;           // Discard: riichi declared with this discard
    bool rinshan = false;          // Draw: a replacement tile after a kan

    bool operator==(const TableEvent&) const = default;
};

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

// The events of one step: `before` is a copy of the hand taken before
// `after.Apply(...)` succeeded.
std::vector<TableEvent> EventsBetween(const Hand& before, const Hand& after);

// The event or start as seat `viewer` may see it.
TableEvent ForSeat(TableEvent event, int viewer);
HandStart ForSeat(HandStart start, int viewer);

}  // namespace zv::riichi
