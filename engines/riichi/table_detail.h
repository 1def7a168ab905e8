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

inline Kind SeatWind(int seat, int dealer) { return kEast + (seat - dealer + 4) % 4; }

}  // namespace zv::riichi::detail
