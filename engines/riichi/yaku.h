#pragma once
// Yaku and fu of one reading of a winning hand: the part of the scorer that
// looks at the shape. Dora, limits and payments are added by score.cpp.
#include <vector>

#include "riichi/decompose.h"
#include "riichi/rules.h"
#include "riichi/score.h"

namespace zv::riichi::detail {

struct ReadingValue {
    std::vector<YakuScore> yaku;  // without dora
    int han = 0;                  // sum of the yaku's han; 0 with a yakuman
    int yakuman = 0;              // multiples; when above 0, `yaku` holds yakuman only
    int fu = 0;                   // 0 with a yakuman
    int paoDragons = 0, paoWinds = 0, paoKans = 0;
};

// `all` counts every tile of the hand (melds included, a kan as four).
// `winBlock` is the block the winning tile completed: -1 the pair, 0..3 a
// concealed set of `reading`; ignored for seven pairs and thirteen orphans.
// The situation must have been checked (tiles, melds, winning tile).
void EvaluateReading(const WinSituation& win, const Rules& rules, const Counts& all,
                     const Decomposition& reading, int winBlock, ReadingValue& out);

}  // namespace zv::riichi::detail
