#include "riichi/wall.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace zv::riichi {
namespace {

std::array<TileId, kTiles> InOrder() {
    std::array<TileId, kTiles> tiles;
    for (int i = 0; i < kTiles; ++i) tiles[i] = i;
    return tiles;
}

TEST(WallTest, HoldsEveryTileOnce) {
    for (std::uint64_t seed : {0ull, 1ull, 2ull, 0xFFFFFFFFFFFFFFFFull}) {
        Wall wall(seed);
        std::set<TileId> seen(wall.Tiles().begin(), wall.Tiles().end());
        EXPECT_EQ(seen.size(), 136u);
        EXPECT_EQ(*seen.begin(), 0);
        EXPECT_EQ(*seen.rbegin(), 135);
    }
}

TEST(WallTest, SeedFixesTheOrder) {
    EXPECT_EQ(Wall(7).Tiles(), Wall(7).Tiles());
    EXPECT_NE(Wall(7).Tiles(), Wall(8).Tiles());
    EXPECT_NE(Wall(0).Tiles(), InOrder());
    // Pinned: the shuffle and the generator are our own, so every build and
    // platform deals these tiles first for seed 1.
    const std::array<TileId, 10> first{27, 104, 11, 121, 114, 135, 29, 14, 28, 30};
    Wall wall(1);
    for (TileId t : first) EXPECT_EQ(wall.Draw(), t);
}

TEST(WallTest, DealLeavesSeventyAndDrawsRunOut) {
    Wall wall(3);
    EXPECT_EQ(wall.LiveRemaining(), 122);
    for (int i = 0; i < 52; ++i) EXPECT_EQ(wall.Draw(), wall.Tiles()[i]);
    EXPECT_EQ(wall.LiveRemaining(), 70);
    for (int i = 0; i < 70; ++i) EXPECT_GE(wall.Draw(), 0);
    EXPECT_EQ(wall.LiveRemaining(), 0);
    EXPECT_EQ(wall.Draw(), -1);
    EXPECT_EQ(wall.Draw(), -1);
    EXPECT_EQ(wall.LiveRemaining(), 0);
    EXPECT_EQ(wall.DrawReplacement(), -1);  // no kan after the last tile
}

TEST(WallTest, DeadWallLayout) {
    Wall wall(InOrder());
    EXPECT_EQ(wall.DoraIndicators(), std::vector<TileId>{130});
    EXPECT_EQ(wall.UraIndicators(), std::vector<TileId>{131});
    EXPECT_EQ(wall.DrawReplacement(), 135);
    wall.RevealKanDora();
    EXPECT_EQ(wall.LiveRemaining(), 121);
    EXPECT_EQ(wall.KansDeclared(), 1);
    EXPECT_EQ(wall.DoraIndicators(), (std::vector<TileId>{130, 128}));
    EXPECT_EQ(wall.UraIndicators(), (std::vector<TileId>{131, 129}));
    EXPECT_EQ(wall.DrawReplacement(), 134);
    EXPECT_EQ(wall.DrawReplacement(), 133);
    EXPECT_EQ(wall.DrawReplacement(), 132);
    EXPECT_EQ(wall.DrawReplacement(), -1);  // four kans at most
    EXPECT_EQ(wall.LiveRemaining(), 118);
    for (int i = 0; i < 5; ++i) wall.RevealKanDora();
    EXPECT_EQ(wall.DoraIndicators(), (std::vector<TileId>{130, 128, 126, 124, 122}));
    EXPECT_EQ(wall.UraIndicators(), (std::vector<TileId>{131, 129, 127, 125, 123}));
    // The live wall now ends at 117: nothing drawn from it touches the dead wall.
    std::vector<TileId> live;
    for (TileId t; (t = wall.Draw()) >= 0;) live.push_back(t);
    EXPECT_EQ(live.size(), 118u);
    EXPECT_EQ(live.back(), 117);
}

}  // namespace
}  // namespace zv::riichi
