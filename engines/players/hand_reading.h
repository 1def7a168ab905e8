#pragma once
// What the computer players read from a seat's view: the own hand as kind
// counts, every tile the seat can see, tile acceptance, and how dangerous
// each kind is to discard against the other seats. All of it is computed
// from the view alone and allocates nothing.
#include <array>
#include <cstdint>

#include "riichi/table.h"

namespace zv::players {

using riichi::Counts;
using riichi::Kind;
using riichi::kKinds;

inline std::size_t Ix(int i) { return static_cast<std::size_t>(i); }

// True in a three-player game: seats 0..2 play, 2m..8m are not in the wall
// and norths are set aside as dora.
inline bool ThreePlayers(const riichi::SeatView& view) { return view.players == 3; }

// The own concealed tiles, the drawn tile included.
Counts OwnCounts(const riichi::SeatView& view);
int OwnMelds(const riichi::SeatView& view);

// Tiles of each kind the seat can see: its own hand and melds, every meld
// and river on the table, the norths set aside and the dora indicators.
// Called river tiles are counted once, in their meld. With three players
// 2m..8m count as all seen: none of them is left to draw.
std::array<std::uint8_t, kKinds> VisibleCounts(const riichi::SeatView& view);

// How many unseen tiles (4 minus the visible ones) would lower the
// shanten of `counts` (13 - 3 * melds tiles) below `shanten` when drawn.
int Acceptance(Counts& counts, int melds, int shanten, const std::array<std::uint8_t, kKinds>& visible);

// Per-kind danger of a discard, 0 (safe) to about 1, against the seats that
// threaten, and how strong the threat is in all (a riichi counts 1, a
// well-developed open hand less).
struct Danger {
    std::array<float, kKinds> kind{};
    float threat = 0;
    std::array<float, 4> seatThreat{};  // each seat's part of `threat`
};
Danger ReadDanger(const riichi::SeatView& view, const std::array<std::uint8_t, kKinds>& visible);

// True when a seat other than the view's own has declared riichi.
bool AnotherSeatInRiichi(const riichi::SeatView& view);

// Dora the tile counts for (indicated kinds and a red five; with three
// players a north too, as it is set aside as one).
int DoraValue(const riichi::SeatView& view, riichi::TileId tile);

// Three players, on the own turn holding a north: whether to set it aside
// (a dora and a replacement draw) rather than keep it. It is set aside
// unless keeping it makes the hand nearer and the north is the head of a
// ready hand or one of a triplet. `counts` is the own hand with the drawn
// tile.
bool SetNorthAside(Counts& counts, int melds);

// True when `kind` is a value honour for this seat (dragons, the seat's and
// the round's wind).
bool IsValueHonor(const riichi::SeatView& view, Kind kind);

}  // namespace zv::players
