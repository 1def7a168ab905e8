#pragma once
// Hand shape: shanten numbers and waits on kind counts. `counts` hold the
// concealed tiles only (13 - 3 * melds, or one more after a draw); `melds` is
// how many melds (including kans) were declared. Table-driven, no allocation:
// the first call (from any thread) builds about 2 MB of tables in a few
// milliseconds. Counts above four or more than 14 tiles in one suit never
// come from play; they give a bounded estimate (no waits, never complete).
#include <cstdint>

#include "riichi/tile.h"

namespace zv::riichi {

// -1 complete, 0 ready, 1 one tile away, ...
int ShantenRegular(const Counts& counts, int melds);
int ShantenSevenPairs(const Counts& counts);  // 7 distinct pairs; no melds
int ShantenThirteenOrphans(const Counts& counts);
// The smallest of the three (the last two only with no melds).
int Shanten(const Counts& counts, int melds);

// Bit k set: drawing kind k completes the hand (13 - 3 * melds tiles). A kind
// all four of which are in the hand is still listed; the caller decides what
// a wait without tiles left means.
std::uint64_t Waits(const Counts& counts, int melds);
// True when the 14 - 3 * melds tiles form a complete hand (any form).
bool IsComplete(const Counts& counts, int melds);

// How well kind `k` connects to the tiles held: two points for each copy
// held and each neighbour one apart, one for each two apart. Isolated tiles
// score lowest, so discard choices use it as a tiebreak.
int Connectedness(const Counts& counts, Kind k);

}  // namespace zv::riichi
