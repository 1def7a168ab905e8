#pragma once
// One event of the table's story (see events.h): what a seat at the table
// sees happen. The table tells the events of each step as it applies it.
#include <cstdint>
#include <vector>

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
    North,           // three players: seat set the north `tile` aside as a dora
};

// Short name of an event type for logs and protocols: "draw", "discard",
// "chi", "pon", "kan", "ankan", "kakan", "dora", "riichi", "end", "north".
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

// A call or kan of `seat` as its event (an added kan is told with the pon's
// tiles, so it is not one of these).
TableEvent MeldEvent(int seat, const Meld& meld);

}  // namespace zv::riichi
