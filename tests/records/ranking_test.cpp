#include "records/ranking.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "config/codec.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

class RankingTest : public ::testing::Test {
protected:
    RankingTest() { platform.installDir = dir.path() + "/"; }
    test::TempDir dir;
    test::FakePlatform platform;
};

TEST(RankingFormatTest, HeaderColumnsCountCp932Bytes) {
    std::string header = RankingHeader();
    EXPECT_EQ(header, "   ﾌﾟﾚｰﾔ名 ｹﾞｰﾑ数 ﾌﾟﾚｲ数  ﾎﾟｲﾝﾄ ﾁｯﾌﾟ   持ち金  1位  2位  3位  4位");
    EXPECT_EQ(Cp932Width(header), 10u + 6 + 6 + 6 + 4 + 8 + 4 * 4 + 9);
}

TEST(RankingFormatTest, RowsRightAlignEveryField) {
    PlayerResults r;
    r.games = 3;
    r.plays = 27;
    r.points = 40;
    r.chips = 1;
    r.places = {1, 0, 2, 0};
    EXPECT_EQ(RankingRow("alice", r), "     alice      3     27     40    1     4500    1    0    2    0");
    // Japanese names take two bytes per character.
    EXPECT_EQ(RankingRow("山田", PlayerResults{}).substr(0, 12), "      山田");  // 4 bytes in CP932
}

TEST(RankingFormatTest, LongValuesWidenTheirRow) {
    PlayerResults r;
    r.points = -1234567;
    std::string row = RankingRow("abcdefghijkl", r);  // 12 bytes
    EXPECT_EQ(row, "abcdefghijkl      0      0 -1234567    0 -123456700    0    0    0    0");
    EXPECT_EQ(Cp932Width(row), Cp932Width(RankingHeader()) + 2 + 2 + 2);
    EXPECT_EQ(RankingRow("山田太郎花子", PlayerResults{}).substr(0, 25), "山田太郎花子      0");
}

TEST_F(RankingTest, ListsPlayersWithResultsAndSkipsTheRest) {
    dir.Write("usr/alice/zvclient.res", "result: 1 30 1\nresult: 2 5 0\nresult: 3 5 0\n");
    dir.Write("usr/alice/alice.res", "result: 4 -10 0\n");
    dir.Write("usr/bob/zvclient.res", "");
    dir.Write("usr/carol/carol.pf", "param: x 1\n");  // no results at all
    dir.Write("usr/_default/zvclient.res", "result: 1 10 0\n");
    dir.Write("usr/_default/_default.res", "result: 1 10 0\n");
    dir.Write("usr/loose.txt", "result: 1 1 1\n");

    auto network = CollectRankingRows(true);
    std::sort(network.begin(), network.end());
    EXPECT_EQ(network, (std::vector<std::string>{
                           "       bob      0      0      0    0        0    0    0    0    0",
                           "     alice      3      0     40    1     4500    1    1    1    0"}));

    auto single = CollectRankingRows(false);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0], "     alice      1      0    -10    0    -1000    0    0    0    1");
}

TEST_F(RankingTest, MissingOrEmptyUsrFolderGivesNoRows) {
    EXPECT_TRUE(CollectRankingRows(true).empty());
    dir.Write("usr/.keep", "");
    EXPECT_TRUE(CollectRankingRows(true).empty());
}

}  // namespace
}  // namespace zv
