#pragma once
// Tiles of riichi mahjong. A tile kind is 0..33 (0-8 characters 1-9 "m",
// 9-17 circles "p", 18-26 bamboo "s", 27-33 honours "z": east, south, west,
// north, white, green, red). A physical tile is 0..135: kind * 4 + copy; copy 0
// of each five (kinds 4, 13, 22) is that suit's red five.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zv::riichi {

using Kind = int;    // 0..33
using TileId = int;  // 0..135
inline constexpr int kKinds = 34;
inline constexpr int kTiles = 136;
inline constexpr Kind kEast = 27, kSouth = 28, kWest = 29, kNorth = 30;
inline constexpr Kind kWhite = 31, kGreen = 32, kRed = 33;

// How many tiles of each kind a hand holds.
using Counts = std::array<std::uint8_t, kKinds>;

constexpr Kind KindOf(TileId t) { return t / 4; }
constexpr bool IsRedFive(TileId t) { return t == 16 || t == 52 || t == 88; }
constexpr bool IsHonor(Kind k) { return k >= 27; }
constexpr int SuitOf(Kind k) { return k / 9; }        // 0 m, 1 p, 2 s, 3 z
constexpr int NumberOf(Kind k) { return k % 9 + 1; }  // 1..9 (honours: 1..7)
constexpr bool IsTerminal(Kind k) { return !IsHonor(k) && (k % 9 == 0 || k % 9 == 8); }
constexpr bool IsTerminalOrHonor(Kind k) { return IsHonor(k) || IsTerminal(k); }
constexpr bool IsSimple(Kind k) { return !IsTerminalOrHonor(k); }
constexpr bool IsDragon(Kind k) { return k >= kWhite; }
constexpr bool IsWind(Kind k) { return k >= kEast && k <= kNorth; }
// The three-player game plays without 2m..8m: 108 tiles.
inline constexpr int kThreePlayerTiles = 108;
constexpr bool InThreePlayerSet(Kind k) { return k == 0 || k >= 8; }
// Whether kind `k` is played with `threePlayer` tiles.
constexpr bool InPlay(Kind k, bool threePlayer) { return !threePlayer || InThreePlayerSet(k); }

// The kind a dora indicator points at (9 -> 1 within a suit, north -> east,
// red -> white). Without 2m..8m, 1m points at 9m and 9m at 1m.
constexpr Kind DoraOf(Kind indicator, bool threePlayer = false) {
    if (threePlayer && (indicator == 0 || indicator == 8)) return 8 - indicator;
    if (indicator < 27) return indicator / 9 * 9 + (indicator % 9 + 1) % 9;
    if (indicator <= kNorth) return kEast + (indicator - kEast + 1) % 4;
    return kWhite + (indicator - kWhite + 1) % 3;
}

Counts CountKinds(const std::vector<TileId>& tiles);
int TotalTiles(const Counts& counts);

// Compact notation: digits followed by their suit letter, "123m406p789s1122z";
// 0 is the suit's red five. Parses into physical tiles (a red five gets copy
// 0, plain tiles the next free copy). Returns false with a one-line message
// for an unknown character, a digit without a suit, a red honour or a fifth
// tile of a kind. Without red fives (`redFives` false) 0 and 5 both name a
// five, which takes whichever copy is free, so four plain fives read.
bool ParseTiles(std::string_view text, std::vector<TileId>& tiles, std::string& error, bool redFives = true);
// Picks a free physical copy of `kind` (red only when `red`) that is not in
// `used`; -1 when none is left. Lets several tile lists share one set of 136.
TileId FreeCopy(Kind kind, bool red, const std::array<bool, kTiles>& used);
// The notation of a list of tiles, grouped by suit in the order given.
std::string FormatTiles(const std::vector<TileId>& tiles);
// "5m", "0p" (red), "7z".
std::string TileName(TileId t);
std::string KindName(Kind k);
// One kind from "5m"/"0p"/"7z" (red fives give the five), -1 if not a tile.
Kind ParseKind(std::string_view text);

enum class MeldType : std::uint8_t { Chi, Pon, OpenKan, ClosedKan, AddedKan };

// A declared meld. `tiles` holds 3 or 4 physical tiles; `called` is the tile
// taken from another player (-1 for a closed kan) and `from` that player's
// seat (0..3, -1 for a closed kan).
struct Meld {
    MeldType type = MeldType::Pon;
    std::array<TileId, 4> tiles{-1, -1, -1, -1};
    int size = 3;
    TileId called = -1;
    int from = -1;

    bool IsOpen() const { return type != MeldType::ClosedKan; }
    bool IsKan() const { return size == 4; }
    // The lowest kind of the meld (the kind itself for a pon or kan).
    Kind BaseKind() const;
};

}  // namespace zv::riichi
