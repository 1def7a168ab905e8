#pragma once
// Shanten with a handicap for the closed special hands (a character that
// does not care for seven pairs counts them as farther away than they are),
// tile acceptance under that count, and the yaku an open hand can still make.
#include <vector>

#include "players/hand_reading.h"

namespace zv::players {

// Extra shanten added to seven pairs and thirteen orphans; 4 or more leaves
// the form out. {0, 0} is the plain shanten of the rules library.
struct ShapeBias {
    int sevenPairs = 0;
    int orphans = 0;
};
// The bias a preference weight (0..1000) gives: 1000 none, 0 leaves it out.
int BiasFromWeight(int weight);

int BiasedShanten(const Counts& counts, int melds, ShapeBias bias);
// Unseen tiles that lower the biased shanten below `shanten` when drawn.
int BiasedAcceptance(Counts& counts, int melds, int shanten, const std::array<std::uint8_t, kKinds>& visible,
                     ShapeBias bias);

// How good the ready hands a one-shanten `counts` (13 - 3 * melds tiles)
// leads to are: over every unseen tile that makes it ready, its copies left
// times the unseen tiles the best ready hand after it waits on. Two hands of
// equal acceptance differ here by the waits they end on.
int ReadyQuality(Counts& counts, int melds, const std::array<std::uint8_t, kKinds>& visible);

// The yaku an open hand goes for. Yakuhai: a value honour triplet is held
// or melded, nothing else is needed. The others constrain the discards.
enum class Route { None, Yakuhai, Tanyao, Flush, AllTriplets };
struct OpenPlan {
    Route route = Route::None;
    int suit = -1;  // Flush: the suit kept (0..2)
};

// What `melds` with the concealed `counts` can still become. `strict` asks
// for a hand already close to the yaku (when deciding a call); otherwise
// the loosest route the melds allow is named (when choosing discards).
OpenPlan PlanOpenHand(const riichi::SeatView& view, const Counts& counts,
                      const std::vector<riichi::Meld>& melds, bool strict, bool allowTriplets);

// The meld a pon, chi or open kan of the view's claim tile makes; the own
// tiles it takes are taken out of `counts`.
riichi::Meld MeldOfCall(const riichi::SeatView& view, const riichi::Action& call, Counts& counts);

}  // namespace zv::players
