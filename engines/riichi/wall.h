#pragma once
// The wall of one hand: 136 tiles shuffled by a seeded generator (the same
// wall on every platform). The last 14 tiles are the dead wall: replacement
// tiles for kans and the dora and ura-dora indicators. Each replacement tile
// drawn shortens the live wall by one, so the dead wall keeps 14 tiles.
//
// Layout by index into Tiles(): the live wall is 0..121, drawn from 0
// upwards (the deal takes 0..51, so 70 tiles are left to draw after it).
// The dead wall is 122..135:
//   replacement tiles  135, 134, 133, 132 (drawn in that order)
//   dora indicators    130 (the first), then 128, 126, 124, 122 (kan dora)
//   ura-dora           131, 129, 127, 125, 123: each beside its indicator
// The live wall ends at 121 - replacements drawn: the tiles the dead wall
// takes back are never read, so the indices above stay fixed.
//
// A three-player wall holds the 108 tiles without 2m..8m, laid out the same
// way from its end: the dead wall is 94..107. It gives up to eight
// replacement tiles (kans and norths set aside): the first four from 107
// down to 104, the others from the tiles the dead wall took back from the
// live wall's end (93, 92, ...), which nobody has drawn.
#include <array>
#include <cstdint>
#include <vector>

#include "riichi/tile.h"

namespace zv::riichi {

class Wall {
public:
    explicit Wall(std::uint64_t seed, bool threePlayer = false);
    // A wall in the given order (tests, replays). `tiles` must be a
    // permutation of 0..135.
    explicit Wall(const std::array<TileId, kTiles>& tiles);
    // A three-player wall in the given order: `tiles` must be a permutation
    // of the 108 tiles of that game.
    static Wall ThreePlayer(const std::vector<TileId>& tiles);

    // The next tile of the live wall; -1 when it is exhausted.
    TileId Draw();
    // A replacement tile after a kan or a north set aside (at most four, or
    // eight in a three-player wall); -1 when none is left or the live wall
    // is exhausted (no kan on the last tile).
    TileId DrawReplacement();
    // Turns over the next kan-dora indicator (at most four).
    void RevealKanDora();

    int LiveRemaining() const;                               // tiles still to be drawn from the live wall
    int KansDeclared() const { return replacementsDrawn_; }  // replacement tiles drawn
    int Size() const { return size_; }                       // 136, or 108 for three players
    bool IsThreePlayer() const { return size_ == kThreePlayerTiles; }
    int DeadWallStart() const { return size_ - 14; }
    int FirstReplacement() const { return size_ - 1; }
    int FirstDora() const { return size_ - 6; }
    std::vector<TileId> DoraIndicators() const;  // 1 + revealed kan dora
    std::vector<TileId> UraIndicators() const;   // as many as dora indicators
    // The tiles in wall order; a three-player wall fills the first 108 and
    // leaves -1 after them.
    const std::array<TileId, kTiles>& Tiles() const { return tiles_; }

    static constexpr int kDeadWallStart = 122;
    static constexpr int kFirstReplacement = 135;
    static constexpr int kFirstDora = 130;  // its ura-dora at 131
    static constexpr int kMaxKans = 4;

private:
    Wall() = default;
    int MaxReplacements() const { return IsThreePlayer() ? 2 * kMaxKans : kMaxKans; }

    std::array<TileId, kTiles> tiles_{};
    int size_ = kTiles;
    int next_ = 0;  // next live tile
    int replacementsDrawn_ = 0;
    int kanDoraRevealed_ = 0;
};

}  // namespace zv::riichi
