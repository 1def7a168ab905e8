#pragma once
// The arena: plays seeded games between four computer players (three with
// rules.threePlayer) and sums up how each did. Every seed is played once per
// player with the players moved one seat on each time, so that all of them
// get the same walls from every seat and the luck of the deal cancels out.
// Games are independent; played on several threads they give the same
// figures as on one.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "players/player.h"
#include "riichi/game.h"
#include "riichi/rules.h"

namespace zv::arena {

enum class EntrantKind { Character, Tsumogiri, Efficiency, Quick };

struct Entrant {
    std::string name;  // as given on the command line
    EntrantKind kind = EntrantKind::Character;
    players::Weights weights;
};

// Applies the weights of a character's personal file ("param: key = value"
// lines; bare "key value" lines too), as the engines read them. The first
// `zone` line is the same-tile weight and also the number weight; a later
// `zone` line (the character maker writes its number field as a second one)
// sets the number weight alone. Values are clamped to 0..1000, `deep` and
// `tsuyoki` excepted. Returns false with a message when the file cannot be
// read.
bool ReadWeightsFile(const std::string& path, players::Weights& weights, std::string& error);
// The same on text already read.
void ReadWeightsText(const std::string& text, players::Weights& weights);

// "baseline:tsumogiri", "baseline:efficiency", or a character folder name
// under `installDir` + "usr/" whose NAME/NAME.pf is read.
bool LoadEntrant(const std::string& installDir, const std::string& entry, Entrant& entrant,
                 std::string& error);

struct PlayerStats {
    int games = 0;
    std::array<int, 4> places{};
    long long placeSum = 0;
    long long finalScoreSum = 0;
    int hands = 0;
    int wins = 0;
    int dealIns = 0;
    int riichis = 0;
    int callHands = 0;  // hands in which the player called at least once
    long long winPoints = 0;

    double AveragePlace() const { return games ? static_cast<double>(placeSum) / games : 0; }
    double PlaceRate(int place) const {
        return games ? static_cast<double>(places[static_cast<std::size_t>(place)]) / games : 0;
    }
    double AverageScore() const { return games ? static_cast<double>(finalScoreSum) / games : 0; }
    double PerHand(int count) const { return hands ? static_cast<double>(count) / hands : 0; }
    double AverageWinPoints() const { return wins ? static_cast<double>(winPoints) / wins : 0; }
};

struct ArenaResult {
    std::array<PlayerStats, 4> players;  // in the order the entrants were given
    int seats = 4;                       // players at the table (3: the fourth entry is unused)
    int games = 0;
    std::uint64_t signature = 0;  // hash of every game's outcome, in game order
};

// The wall seed of game `index`: each seed is played once per seat, so with
// four seats games 4k to 4k + 3 are dealt from `seed` + k, the seeds the
// one-player engine plays one after another when started with the same
// seed (with three, games 3k to 3k + 2).
std::uint64_t WallSeed(std::uint64_t seed, int index, int seats = 4);

// Plays one whole game dealt from `wallSeed` with entrant (seat + rotation)
// % seats in each seat (seats: rules.Players()), the player in a seat seeded
// with players::SeatSeed(wallSeed, seat). Rotation 0 is the game the engines
// play (engine::PlayGame) from the same seed with the same characters in
// seats 0 to 3; the other rotations deal the same walls with the players
// moved. With three players the fourth entrant is not used.
std::unique_ptr<riichi::Game> PlayRotation(const std::array<Entrant, 4>& entrants, const riichi::Rules& rules,
                                           std::uint64_t wallSeed, int rotation);

// Plays `games` games: game g is rotation g % seats of the wall
// WallSeed(seed, g, seats), seats being rules.Players().
ArenaResult RunArena(const std::array<Entrant, 4>& entrants, const riichi::Rules& rules, int games,
                     std::uint64_t seed, int jobs);

// How long the games took: wall-clock seconds, processor seconds of all
// threads together (their ratio to the games is the speed per core) and the
// number of threads.
struct Timing {
    double wall = 0;
    double cpu = 0;
    int jobs = 1;
};

// A table, one line per player, and a JSON object with the same figures
// (with three players the fourth place is shown as "-" in the table and left
// out of the JSON's place rates).
std::string FormatText(const std::array<Entrant, 4>& entrants, const ArenaResult& result,
                       const Timing& timing);
std::string FormatJson(const std::array<Entrant, 4>& entrants, const ArenaResult& result,
                       const Timing& timing);

// The whole program: arguments (without the program name), the installation
// directory (with a trailing '/'); output and the exit code (0, or 2 on bad
// arguments with a one-line message on `err`).
struct RunOutput {
    std::string out;
    std::string err;
    int exitCode = 0;
};
RunOutput RunArenaCommand(const std::vector<std::string>& args, const std::string& installDir);

}  // namespace zv::arena
