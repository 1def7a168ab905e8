#pragma once
// Small helpers the table's source files share: kind bits, events and seat
// winds. Only the files of the table (table*.cpp) include it.
#include <cstdint>

#include "riichi/table_event.h"
#include "riichi/tile.h"

namespace zv::riichi::detail {

constexpr std::uint64_t Bit(Kind k) { return std::uint64_t{1} << k; }

inline TableEvent Event(EventType type, int seat = -1, TileId tile = -1) {
    TableEvent e;
    e.type = type;
    e.seat = seat;
    e.tile = tile;
    return e;
}

// East for the dealer, then in turn order (three players: east, south, west).
inline Kind SeatWind(int seat, int dealer, int players = 4) {
    return kEast + (seat - dealer + players) % players;
}

}  // namespace zv::riichi::detail
