#pragma once
// The outcome of one game of riichi mahjong as the engines file it: each
// hand's end, payments and winning hands, and each seat's totals in the
// words of a results line. A game is played on the rules library
// (riichi::Game) by one computer player per seat; the same rules, styles and
// seed always give the same game.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "format/game_rules.h"
#include "players/player.h"
#include "riichi/game.h"
#include "riichi/table.h"
#include "riichi/yaku_table.h"

namespace zv::engine {

inline constexpr int kYakuCount = riichi::kResultsDigits;

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

// One yaku of a winning hand as players know it ("立直", "役牌 白", "ドラ").
struct YakuDetail {
    std::string name;
    int han = 0;      // 0 for a yakuman
    int yakuman = 0;  // 1 or 2 for a yakuman
    bool operator==(const YakuDetail&) const = default;
};

// One winning hand (several on a double ron), in the tile notation of the
// rules library ("123m406p789s1122z", 0 = red five).
struct WinDetail {
    int seat = -1;
    int from = -1;  // the discarder on a ron, -1 on a self-draw
    int value = 0;  // the winner's points before honba and sticks
    int han = 0;    // dora included; 0 for a yakuman
    int fu = 0;
    std::string limit;               // "mangan" .. "yakuman"; empty for none
    std::string winTile;             // "5m"
    std::string concealed;           // the concealed tiles, winning tile included
    std::vector<std::string> melds;  // "chi=345p", "pon=555m", "kan=", "ckan=", "akan=" + tiles
    std::vector<YakuDetail> yaku;    // in the order scored
    std::vector<int> digits;         // results-file yaku digits scored
    bool operator==(const WinDetail&) const = default;
};

struct HandRecord {
    int round = 0;   // 0: east, 1: south
    int dealer = 0;  // seat 0..3
    int honba = 0;
    HandEnd end = HandEnd::Draw;
    int winner = -1;        // Tsumo/Ron: the (first) winner; Draw: the nagashi mangan seat;
                            // Abortive: the seat that declared nine terminals
    int loser = -1;         // Ron
    int value = 0;          // the (first) winner's points before honba and sticks
    std::vector<int> yaku;  // results-file digits: the first winner's yaku, or the draw's event
    std::array<bool, 4> reached{};
    std::array<int, 4> scoreDelta{};
    std::array<int, 4> chipDelta{};
    std::array<int, 4> scoresAfter{};
    // What the table showed: every winning hand, the dora indicators and,
    // after a riichi win, the ura indicators (tile notation; empty if none).
    std::vector<WinDetail> wins;
    std::string dora;
    std::string ura;
    // Every action the seats took, in the order the table accepted them,
    // without the passes (a replay answers the claims nobody took with a
    // pass). Empty in records written before actions were kept.
    std::vector<riichi::LoggedAction> actions;
};

struct SeatStyle {
    CharacterStyle style;  // defaults for a human player
};

struct GameOutcome {
    std::uint64_t seed = 0;
    std::array<PlayerStats, 4> players{};
    std::vector<HandRecord> hands;
    int leftoverSticks = 0;  // riichi sticks (1000 each) left at the end, given to the top
    bool bustOut = false;    // ended because a score fell below zero
};

// One computer player per seat, each with the seat's weights and its own
// random source seeded with players::SeatSeed(seed, seat).
std::array<std::unique_ptr<players::Player>, 4> MakeSeatPlayers(const std::array<SeatStyle, 4>& seats,
                                                                std::uint64_t seed);

// The outcome of a finished game (Over()): every hand and each seat's totals.
GameOutcome OutcomeOf(const riichi::Game& finished);

// Plays a whole game with the seats' computer players and files it: the
// wall of riichi::Game(rules, seed), the players of MakeSeatPlayers(seats,
// seed). zvarena plays the same game for the same seed and players.
GameOutcome PlayGame(const riichi::Rules& rules, const std::array<SeatStyle, 4>& seats, std::uint64_t seed);

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
