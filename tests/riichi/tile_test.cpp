#include "riichi/tile.h"

#include <gtest/gtest.h>

namespace zv::riichi {
namespace {

std::vector<TileId> Tiles(std::string_view text) {
    std::vector<TileId> tiles;
    std::string error;
    EXPECT_TRUE(ParseTiles(text, tiles, error)) << text << ": " << error;
    return tiles;
}

std::string ParseError(std::string_view text) {
    std::vector<TileId> tiles{1, 2, 3};
    std::string error;
    EXPECT_FALSE(ParseTiles(text, tiles, error)) << text;
    EXPECT_TRUE(tiles.empty()) << text;  // nothing half-parsed is left behind
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    return error;
}

TEST(TileTest, ParsesKindsCopiesAndRedFives) {
    auto tiles = Tiles("123m406p789s1122z");
    ASSERT_EQ(tiles.size(), 13u);
    EXPECT_EQ(KindOf(tiles[0]), 0);   // 1m
    EXPECT_EQ(KindOf(tiles[3]), 12);  // 4p
    EXPECT_TRUE(IsRedFive(tiles[4]));
    EXPECT_EQ(tiles[4], 52);  // the red 5p is copy 0 of kind 13
    EXPECT_EQ(KindOf(tiles[9]), kEast);
    EXPECT_EQ(tiles[10], tiles[9] + 1);  // the next free copy
    EXPECT_EQ(KindOf(tiles[12]), kSouth);
    // Honours 5-7: white, green, red.
    auto dragons = Tiles("567z");
    EXPECT_EQ(KindOf(dragons[0]), kWhite);
    EXPECT_EQ(KindOf(dragons[2]), kRed);
    // Plain fives never take the red copy.
    for (TileId t : Tiles("555m555p555s")) EXPECT_FALSE(IsRedFive(t));
    EXPECT_EQ(Tiles("0555m").size(), 4u);
    EXPECT_TRUE(Tiles("").empty());
}

TEST(TileTest, RejectsBadNotationWithOneLine) {
    EXPECT_NE(ParseError("12x").find("unknown character 'x'"), std::string::npos);
    EXPECT_NE(ParseError("123m45").find("without a suit letter"), std::string::npos);
    EXPECT_NE(ParseError("m").find("without digits"), std::string::npos);
    EXPECT_NE(ParseError("0z").find("0z"), std::string::npos);
    EXPECT_NE(ParseError("8z").find("8z"), std::string::npos);
    EXPECT_NE(ParseError("9z").find("9z"), std::string::npos);
    EXPECT_NE(ParseError("11111m").find("fifth tile 1m"), std::string::npos);
    EXPECT_NE(ParseError("11m111m").find("fifth"), std::string::npos);  // counted across groups
    EXPECT_NE(ParseError("00p").find("red five"), std::string::npos);
    EXPECT_NE(ParseError("5555s").find("0s"), std::string::npos);
    ParseError("1m 2m");
}

TEST(TileTest, FormatsAndNamesRoundTrip) {
    for (std::string text : {"123m406p789s1122z", "0m", "19m19p19s1234567z", "5z1m"}) {
        EXPECT_EQ(FormatTiles(Tiles(text)), text);
    }
    EXPECT_EQ(FormatTiles({}), "");
    EXPECT_EQ(TileName(16), "0m");
    EXPECT_EQ(TileName(17), "5m");
    EXPECT_EQ(TileName(135), "7z");
    EXPECT_EQ(TileName(-1), "?");
    EXPECT_EQ(KindName(kWhite), "5z");
    for (Kind k = 0; k < kKinds; ++k) EXPECT_EQ(ParseKind(KindName(k)), k);
    EXPECT_EQ(ParseKind("0p"), 13);
    EXPECT_EQ(ParseKind("8z"), -1);
    EXPECT_EQ(ParseKind("5"), -1);
    EXPECT_EQ(ParseKind("55m"), -1);
}

TEST(TileTest, FreeCopySharesOneSetOfTiles) {
    std::array<bool, kTiles> used{};
    used[16] = true;
    EXPECT_EQ(FreeCopy(4, true, used), -1);  // the one red 5m is taken
    EXPECT_EQ(FreeCopy(4, false, used), 17);
    used[17] = used[18] = used[19] = true;
    EXPECT_EQ(FreeCopy(4, false, used), -1);
    EXPECT_EQ(FreeCopy(kRed, true, used), -1);  // honours have no red copy
    EXPECT_EQ(FreeCopy(34, false, used), -1);
}

TEST(TileTest, CountsAndMelds) {
    Counts c = CountKinds(Tiles("1123m555z"));
    EXPECT_EQ(c[0], 2);
    EXPECT_EQ(c[kWhite], 3);
    EXPECT_EQ(TotalTiles(c), 7);
    Meld chi;
    chi.type = MeldType::Chi;
    chi.tiles = {Tiles("7m")[0], Tiles("5m")[0], Tiles("6m")[0], -1};
    EXPECT_EQ(chi.BaseKind(), 4);
    Meld kan;
    kan.type = MeldType::ClosedKan;
    kan.size = 4;
    kan.tiles = {124, 125, 126, 127};
    EXPECT_EQ(kan.BaseKind(), kWhite);
    EXPECT_FALSE(kan.IsOpen());
}

}  // namespace
}  // namespace zv::riichi
