#pragma once
// The analyser's review of one player's discards in a replayed game: for
// each discard the shanten before and after it, how many unseen tiles the
// chosen discard accepts against the best discard of the moment (the lowest
// shanten, then the most acceptance), and, while another seat is in riichi,
// whether the tile was safe against every riichi (it lies in that seat's
// river or was let pass after its riichi) and whether a safe tile was at
// hand. Each hand and the game are summed up: the acceptance given away,
// the discards that went back a shanten, the deal-ins and those a safe tile
// would have avoided.
#include <string>
#include <vector>

#include "format/record_replay.h"

namespace zv::engine {

struct DiscardReview {
    int step = 0;  // the action's step in the hand (1-based)
    int turn = 0;  // the player's discards so far in the hand, this one included
    riichi::TileId tile = -1;
    bool riichi = false;  // riichi declared with it
    bool forced = false;  // only one tile could be discarded (after riichi)
    int shantenBefore = 0;
    int shantenAfter = 0;
    int acceptance = 0;
    riichi::TileId best = -1;  // the best discard; the chosen tile when it was one of the best
    int bestShanten = 0;
    int bestAcceptance = 0;
    bool underRiichi = false;  // another seat had declared riichi
    bool safe = false;         // safe against every riichi seat
    bool safeAtHand = false;   // some tile that could be discarded was safe against every riichi seat
    bool dealtIn = false;      // the discard was won on
    // Acceptance given away against the best discard of the same shanten.
    int Loss() const { return shantenAfter > bestShanten ? 0 : bestAcceptance - acceptance; }
    bool WentBack() const { return shantenAfter > bestShanten; }
};

struct ReviewTotals {
    int discards = 0;
    int best = 0;            // discards that were among the best
    int acceptanceLost = 0;  // sum of Loss()
    int wentBack = 0;        // discards that left a higher shanten than the best
    int underRiichi = 0;     // discards while another seat was in riichi
    int unsafeUnderRiichi = 0;
    int dealIns = 0;
    int avoidableDealIns = 0;  // dealt in to a riichi while a safe tile was at hand
    void Add(const ReviewTotals& other);
};

struct HandReview {
    int hand = 0;  // index in the replay
    std::string name;
    std::vector<DiscardReview> discards;
    ReviewTotals totals;
};

struct GameReview {
    int seat = 0;
    std::vector<HandReview> hands;
    ReviewTotals totals;
};

// Reviews the discards of `seat` in every hand the replay holds.
GameReview ReviewDiscards(const GameReplay& replay, int seat);

// The review as text (Japanese), one line per entry; `player` names the seat.
std::vector<std::string> ReviewLines(const GameReview& review, const std::string& player);

// Reviews every game of a record for `seat`: the review lines of each game,
// or why it cannot be reviewed.
std::vector<std::string> ReviewRecord(const RecordFile& record, int seat);

}  // namespace zv::engine
