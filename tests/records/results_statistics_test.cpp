#include "records/results_statistics.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

// Four placed games, one with a place outside 1 to 4, a yaku line and a
// comment: 32 hands, 4 wins for 13900, 3 deal-ins for 6200, 6 riichi, 8 calls.
const char* const kKnownFile =
    "; results\r\n"
    "result: 1 30 2 10 3 2 8000 2 3900 1 0 0\r\n"
    "result: 3 -10 0 8 1 4 0 0 0 0 5200 2\r\n"
    "yaku: 000000000000000020000000000000000000000000000000000000000000\r\n"
    "result: 7 0 0 0 0 0 0 0 0 0 0 0\r\n"
    "result: 2 5 1 6 0 0 0 0 2000 1 1000 1\r\n"
    "result: 4 -25 0 8 2 2 0 0 0 0 0 0\r\n";

class ResultsStatisticsTest : public ::testing::Test {
protected:
    void SetUp() override { platform.installDir = dir.path() + "/"; }
    test::TempDir dir;
    test::FakePlatform platform;
};

TEST_F(ResultsStatisticsTest, KnownFileGivesExactFigures) {
    dir.Write("usr/alice/zvclient.res", kKnownFile);
    ResultsStatistics s;
    ASSERT_TRUE(ReadResultsStatistics("alice", true, s));
    EXPECT_EQ(s.games, 5);
    ASSERT_TRUE(s.averagePlace);
    EXPECT_DOUBLE_EQ(*s.averagePlace, 2.5);
    for (double rate : s.placeRates) EXPECT_DOUBLE_EQ(rate, 0.25);
    EXPECT_DOUBLE_EQ(s.winRate, 4.0 / 32);
    EXPECT_DOUBLE_EQ(s.dealInRate, 3.0 / 32);
    EXPECT_DOUBLE_EQ(s.riichiRate, 6.0 / 32);
    EXPECT_DOUBLE_EQ(s.callRate, 8.0 / 32);
    EXPECT_EQ(s.averageWin, 3475);
    EXPECT_EQ(s.averageDealIn, 2066);
    EXPECT_EQ(s.recentPlaces, (std::vector<int>{1, 3, 2, 4}));
    EXPECT_EQ(s.averagePlaceTrend, (std::vector<double>{1.0, 2.0, 2.0, 2.5}));
}

TEST_F(ResultsStatisticsTest, ReadsTheOnePlayerFileWhenAsked) {
    dir.Write("usr/alice/zvclient.res", kKnownFile);
    dir.Write("usr/alice/alice.res", "result: 2 10 0 5 0 0 0 0 0 0 0 0\n");
    ResultsStatistics s;
    ASSERT_TRUE(ReadResultsStatistics("alice", false, s));
    EXPECT_EQ(s.games, 1);
    EXPECT_EQ(s.recentPlaces, (std::vector<int>{2}));
}

// The three-player results lie in a file of their own that the four-player
// readers never take.
TEST_F(ResultsStatisticsTest, ThreePlayerResultsAreReadApart) {
    dir.Write("usr/alice/alice.res", "result: 4 -30 0 5 0 0 0 0 0 0 0 0\r\n");
    dir.Write("usr/alice/alice.sanma.res",
              "result: 1 40 0 6 1 0 0 0 8000 1 0 0\r\nresult: 3 -30 0 5 0 0 0 0 0 0 0 0\r\n"
              "result: 1 25 0 4 0 0 0 0 0 0 0 0\r\n");
    EXPECT_EQ(ThreePlayerResultsPath("alice"), dir.path() + "/usr/alice/alice.sanma.res");
    ResultsStatistics three;
    ASSERT_TRUE(ReadResultsStatisticsFile(ThreePlayerResultsPath("alice"), three));
    EXPECT_EQ(three.games, 3);
    EXPECT_EQ(three.recentPlaces, (std::vector<int>{1, 3, 1}));
    EXPECT_DOUBLE_EQ(three.placeRates[3], 0);
    ResultsStatistics four;
    ASSERT_TRUE(ReadResultsStatistics("alice", false, four));
    EXPECT_EQ(four.games, 1);
    EXPECT_EQ(four.recentPlaces, (std::vector<int>{4}));
    EXPECT_FALSE(ReadResultsStatisticsFile(ThreePlayerResultsPath("bob"), four));
}

TEST_F(ResultsStatisticsTest, EmptyFileGivesNothingToAverageOrChart) {
    dir.Write("usr/alice/zvclient.res", "");
    ResultsStatistics s;
    ASSERT_TRUE(ReadResultsStatistics("alice", true, s));
    EXPECT_EQ(s.games, 0);
    EXPECT_FALSE(s.averagePlace);
    EXPECT_FALSE(s.averageWin);
    EXPECT_FALSE(s.averageDealIn);
    EXPECT_DOUBLE_EQ(s.winRate, 0);
    EXPECT_TRUE(s.recentPlaces.empty());
    EXPECT_TRUE(s.averagePlaceTrend.empty());
}

TEST_F(ResultsStatisticsTest, MissingFileLeavesTheFiguresAsTheyWere) {
    ResultsStatistics s;
    s.games = 9;
    EXPECT_FALSE(ReadResultsStatistics("nobody", true, s));
    EXPECT_EQ(s.games, 9);
}

TEST(ResultsStatisticsChartTest, ChartsTheLatestHundredGamesWithTheAverageOfAllBefore) {
    std::string file;
    for (int i = 0; i < 30; ++i) file += "result: 4 -20 0\n";
    for (int i = 0; i < 100; ++i) file += "result: 1 20 0\n";
    PlayerResults totals;
    for (std::size_t start = 0; start < file.size(); start = file.find('\n', start) + 1)
        AddResultsLine(std::string_view(file).substr(start, file.find('\n', start) - start), totals);
    const ResultsStatistics s = ComputeStatistics(totals, GamePlaces(file));
    ASSERT_EQ(s.recentPlaces.size(), kChartedGames);
    ASSERT_EQ(s.averagePlaceTrend.size(), kChartedGames);
    EXPECT_EQ(s.recentPlaces.front(), 1);
    EXPECT_DOUBLE_EQ(s.averagePlaceTrend.front(), 121.0 / 31);
    EXPECT_DOUBLE_EQ(s.averagePlaceTrend.back(), 220.0 / 130);
}

TEST(ResultsStatisticsChartTest, GamePlacesFollowTheFileAndMarkUnplacedGames) {
    EXPECT_EQ(GamePlaces("result: 2\nyaku: 1\n result:\t4 1\nresult: 9\nresults: 1\nresult: 3"),
              (std::vector<int>{2, 4, 0, 3}));
}

TEST(PercentTextTest, OneDecimal) {
    EXPECT_EQ(PercentText(0.125), "12.5%");
    EXPECT_EQ(PercentText(1.0 / 3), "33.3%");
    EXPECT_EQ(PercentText(0), "0.0%");
}

}  // namespace
}  // namespace zv
