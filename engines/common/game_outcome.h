#pragma once
// The outcome of one stand-in game: no tiles are dealt; each hand is a
// seeded random event (a win by self-draw, a win on a discard, or a draw)
// whose payments follow the rules (start score, game length, bust-out,
// chips, placement bonus). Everything is deterministic for a given seed.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game_rules.h"

namespace zv::engine {

inline constexpr int kYakuCount = 60;

// One seat's totals for the game, in the words of a "result:" line.
struct PlayerStats {
    int place = 0;       // 1..4
    int finalScore = 0;  // score on the table at the end
    int points = 0;      // (counted score - start score) / 1000 + placement bonus
    int chips = 0;
    int plays = 0;  // hands played
    int reaches = 0;
    int calls = 0;
    int tsumoPoints = 0;
    int tsumoCount = 0;
    int ronPoints = 0;
    int ronCount = 0;
    int dealInPoints = 0;
    int dealInCount = 0;
    std::array<int, kYakuCount> yaku{};  // 0..9 each
};

enum class HandEnd { Tsumo, Ron, Draw, Abortive };

struct HandRecord {
    int round = 0;   // 0: east, 1: south
    int dealer = 0;  // seat 0..3
    int honba = 0;
    HandEnd end = HandEnd::Draw;
    int winner = -1;        // Tsumo/Ron (for Abortive: the seat that declared it)
    int loser = -1;         // Ron
    int value = 0;          // the hand's base value (without counters and sticks)
    std::vector<int> yaku;  // yaku indices scored by the winner
    std::array<bool, 4> reached{};
    std::array<int, 4> scoreDelta{};
    std::array<int, 4> chipDelta{};
    std::array<int, 4> scoresAfter{};
};

struct SeatStyle {
    CharacterStyle style;  // defaults for a human player
};

struct GameOutcome {
    std::uint64_t seed = 0;
    std::array<PlayerStats, 4> players{};
    std::vector<HandRecord> hands;
    int leftoverSticks = 0;  // riichi sticks left at the end, given to the top
    bool bustOut = false;    // ended because a score fell below zero
};

GameOutcome PlayGame(const GameRules& rules, const std::array<SeatStyle, 4>& seats, std::uint64_t seed);

// "result: place points chips plays reaches calls tsumo-points tsumo-count
// ron-points ron-count deal-in-points deal-in-count"
std::string ResultLine(const PlayerStats& stats);
// "yaku: " followed by exactly 60 digits.
std::string YakuLine(const PlayerStats& stats);

// A seed from the environment (ZV_ENGINE_SEED) or else from the clock and pid.
std::uint64_t ChooseSeed();

// Appends the two result lines (CP932, CR LF) to a results file. Returns an
// empty string on success, else a message.
std::string AppendResults(const std::string& path, const PlayerStats& stats);

}  // namespace zv::engine
