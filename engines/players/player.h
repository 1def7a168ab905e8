#pragma once
// Computer players. A player sees only its seat's view of the table and
// answers with one of the legal actions listed in it; it keeps its own
// seeded random source, so the same seed and the same views give the same
// decisions.
#include <cstdint>
#include <memory>
#include <string>

#include "riichi/game.h"
#include "riichi/random.h"
#include "riichi/table.h"

namespace zv::players {

// A character's playing style: the weights of its personal file, 0..1000
// (deep and tsuyoki may take any integer).
struct Weights {
    int kyusyu = 700;   // declare nine terminals when possible
    int random = 50;    // how much chance plays in discarding
    int dora = 100;     // keep dora
    int color = 300;    // lean to one suit
    int suji = 100;     // suji-related tiles
    int zone = 300;     // same tiles (the first zone line)
    int number = 300;   // same and nearby numbers (a second zone line; else zone)
    int deep = 500;     // fewer shanten
    int reach = 700;    // riichi when ready
    int kan = 0;        // starting probability of a kan
    int pon = 50;       // starting probability of a pon
    int tie = 200;      // starting probability of a chi
    int yomi = 500;     // read safe and dangerous tiles
    int tsuyoki = 200;  // push against a threat
    int chitoi = 0;     // seven pairs
    int kokushi = 700;  // thirteen orphans
    int toitoi = 1000;  // all triplets
    int tanyao = 1000;  // all simples
    int yaku = 1000;    // build a yaku
};

class Player {
public:
    virtual ~Player() = default;
    // One of view.legal (never called with an empty list).
    virtual riichi::Action Decide(const riichi::SeatView& view) = 0;
};

// The character player: scores every tile of the hand by the weights and
// discards the lowest; calls, riichi, nine terminals and folding follow the
// weights too. It always takes a win, calls only when the call brings the
// hand nearer and leaves it a yaku, and decides in microseconds.
std::unique_ptr<Player> MakeCharacterPlayer(const Weights& weights, std::uint64_t seed);
// Baselines for measurement. "Tsumogiri" discards the tile it draws and
// declares nothing but wins. "Efficiency" discards for the lowest shanten
// and then the most unseen tiles that lower it, wins when it may, declares
// riichi when ready, sets norths aside (three players), and never calls,
// makes a kan, declares nine terminals or folds. "Quick" discards as
// "efficiency", calls every pon or chi that brings the hand nearer and
// keeps it a yaku, and against a riichi a hand not yet ready discards its
// safest tile.
std::unique_ptr<Player> MakeTsumogiriPlayer();
std::unique_ptr<Player> MakeEfficiencyPlayer();
std::unique_ptr<Player> MakeQuickPlayer();

// The random seed of the computer player in `seat` (0..3) of the game dealt
// from `gameSeed`. Every program that plays games from a seed (the engines,
// the arena) seeds its players with this, so the same seed and the same
// players give the same game in all of them.
inline std::uint64_t SeatSeed(std::uint64_t gameSeed, int seat) {
    riichi::Random mix(gameSeed ^ (0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(seat + 1)));
    return mix.Next();
}

// A Decider for riichi::Game::PlayOut that asks `player`.
inline riichi::Game::Decider AsDecider(Player& player) {
    return [&player](const riichi::SeatView& view) { return player.Decide(view); };
}

}  // namespace zv::players
