#pragma once
// What a hand is likely worth and how likely it is to win, and what dealing
// in to a threatening seat likely costs, all in points: the computer player
// weighs them against each other when it pushes or folds, declares riichi
// or calls. Rough figures from the seat's view alone; nothing is allocated.
#include <vector>

#include "players/hand_reading.h"

namespace zv::players {

// Points of a win of `han` (fractions interpolate between whole han; 30 fu
// below mangan), paid to a dealer or a non-dealer.
double PointsOfHan(double han, bool dealer);

// Han the own concealed `counts` and melds likely score besides riichi: dora
// held and melded, value honour triplets (a pair counts in part), all
// simples and a flush the shape is near, and a little for a closed hand's
// self-draw and ura dora. Red fives are those of the view's hand except
// `without` (a tile the counts have discarded already).
double LikelyHan(const riichi::SeatView& view, const Counts& counts, riichi::TileId without = -1);
// The same for the melds `melds` in place of the seat's own (a call being
// weighed).
double LikelyHan(const riichi::SeatView& view, const Counts& counts, const std::vector<riichi::Meld>& melds,
                 riichi::TileId without = -1);

// Chance to win before the wall runs out from `shanten` with `acceptance`
// unseen tiles that step nearer (at shanten 0: the winning tiles left) and
// `liveTiles` left in the wall, shared out among `players` seats. Followed
// draw by draw: later steps take the acceptance such hands usually have,
// and every go-around another seat may end the hand first.
double WinChance(int shanten, int acceptance, int liveTiles, int players = 4);

// Points a deal-in to `seat` likely costs: a riichi counts its declaration
// and an average closed hand, an open hand its value honour triplets and the
// dora in sight in its melds; the norths a seat has set aside count as
// dora; a dealer's hand costs half again as much.
double DealInCost(const riichi::SeatView& view, int seat);

// How far to give way to the threats, from what pushing on can win against
// what a deal-in costs: below 1 push (the higher, the more a dangerous tile
// is avoided where the shape allows), 1 and more fold. `spirit` scales the
// will to push (1 an even judge, above 1 pushes more).
double FoldDegree(double winChance, double handPoints, double threatCost, double spirit);

// Where the seat stands when the game's last hand is being played (the hand
// before `firstDealer` would deal again in the last round): +1 it leads by
// more than a mangan's worth, -1 it is last, 0 otherwise, in every earlier
// hand and when the first dealer is not known (-1).
int LastHandStanding(const riichi::SeatView& view, int firstDealer);

}  // namespace zv::players
