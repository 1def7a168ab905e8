#pragma once
// Every reading of a complete hand's concealed tiles: the regular form (one
// pair and sets: sequences and triplets), seven pairs and thirteen orphans.
// The scorer tries each reading, and within it each block the winning tile
// may have completed, and keeps the one worth the most.
#include <array>
#include <cstdint>
#include <vector>

#include "riichi/tile.h"

namespace zv::riichi {

enum class HandForm : std::uint8_t { Regular, SevenPairs, ThirteenOrphans };

// A set of three concealed tiles: `kind`, `kind`+1, `kind`+2 for a sequence,
// three of `kind` for a triplet.
struct ConcealedSet {
    Kind kind = 0;
    bool sequence = false;
    friend bool operator==(const ConcealedSet&, const ConcealedSet&) = default;
};

struct Decomposition {
    HandForm form = HandForm::Regular;
    // Regular: the pair. Thirteen orphans: the kind held twice. Seven pairs:
    // unused (the pairs are every kind held).
    Kind pair = -1;
    int setCount = 0;  // regular form only, 0..4, sets in ascending order
    std::array<ConcealedSet, 4> sets{};
    friend bool operator==(const Decomposition&, const Decomposition&) = default;
};

// Appends every regular reading of `counts` (3n + 2 tiles, n <= 4; nothing
// otherwise). Readings differ in their pair or in their sets; each comes once.
void DecomposeRegular(const Counts& counts, std::vector<Decomposition>& out);
// True for seven distinct pairs (four of a kind is not two pairs).
bool IsSevenPairs(const Counts& counts);
// True for the thirteen terminal and honour kinds, one of them twice.
bool IsThirteenOrphans(const Counts& counts);
// Every reading: the regular ones, then seven pairs and thirteen orphans when
// the 14 tiles form them. Clears `out` first; empty when the hand is not
// complete.
void Decompose(const Counts& counts, std::vector<Decomposition>& out);

}  // namespace zv::riichi
