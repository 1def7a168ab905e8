#include "records/recorded_games.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "config/file_io.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

// Three games: guest in seat 0, guest in seat 2, and one without guest; a
// fourth game never finished.
const char* const kRecord =
    "# zelvan game record\n"
    "game: 1\n"
    "player: 0 guest guest\n"
    "player: 1 _todo トド\n"
    "final: 1 1 35000 30 1\n"
    "final: 0 2 28000 8 0\n"
    "end: 1\n"
    "game: 2\n"
    "player: 0 _todo トド\n"
    "player: 2 guest guest\n"
    "final: 2 4 9000 -41 -1\n"
    "end: 2\n"
    "game: 3\n"
    "player: 0 _min _min\n"
    "final: 0 1 40000 40 0\n"
    "game: 4\n"
    "player: 3 guest guest\n"
    "hand: E1 0 draw - - 0 -\n";

TEST(PlayerGamesInRecordTest, FindsThePlayersSeatPlaceAndPoints) {
    const auto games = PlayerGamesInRecord(kRecord, "guest", "r.fu");
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].path, "r.fu");
    EXPECT_EQ(games[0].game, 1);
    EXPECT_EQ(games[0].seat, 0);
    EXPECT_EQ(games[0].place, 2);
    EXPECT_EQ(games[0].points, 8);
    EXPECT_EQ(games[1].game, 2);
    EXPECT_EQ(games[1].seat, 2);
    EXPECT_EQ(games[1].place, 4);
    EXPECT_EQ(games[1].points, -41);
}

TEST(PlayerGamesInRecordTest, ThreePlayerGamesAreMarkedByTheirRules) {
    const char* text =
        "game: 1\nrules: tonpu=1 sanma=1 tumozon=1\nplayer: 0 guest guest\nfinal: 0 3 20000 -30 0\n"
        "game: 2\nrules: tonpu=1\nplayer: 0 guest guest\nfinal: 0 4 9000 -41 0\n";
    const auto games = PlayerGamesInRecord(text, "guest", "r.fu");
    ASSERT_EQ(games.size(), 2u);
    EXPECT_TRUE(games[0].threePlayer);
    EXPECT_FALSE(games[1].threePlayer);
}

TEST(PlayerGamesInRecordTest, DamagedLinesAreSkipped) {
    const char* damaged =
        "game: 1\nplayer: x guest\nplayer: 9 guest guest\nfinal: 0 1 1 1 1\n"
        "game: 2\nplayer: 1 guest guest\nfinal: 1 5 0 0 0\nfinal: 1 2 0 zz 0\nfinal: 1\n"
        "game: 3\nplayer: 1 guest guest\nfinal: 1 3 20000 -12 0\r\n";
    const auto games = PlayerGamesInRecord(damaged, "guest", "r.fu");
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].game, 3);
    EXPECT_EQ(games[0].points, -12);
}

TEST(RecordedGamesOfTest, NewestRecordFirstWithItsLatestGameFirst) {
    test::TempDir dir;
    test::FakePlatform platform;
    platform.installDir = dir.path() + "/";
    const std::string older = dir.Write("usr/guest/old.fu", EncodeCrLfLines(SplitLines(kRecord)));
    const std::string newer =
        dir.Write("usr/server.fu", "game: 1\r\nplayer: 3 guest guest\r\nfinal: 3 1 1 50 0\r\n");
    dir.Write("usr/other.fu", "game: 1\r\nplayer: 3 bob bob\r\nfinal: 3 1 1 50 0\r\n");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(older, now - std::chrono::hours(48));
    std::filesystem::last_write_time(newer, now - std::chrono::hours(1));

    const auto games = RecordedGamesOf("guest");
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[0].path, newer);
    EXPECT_EQ(games[1].path, older);
    EXPECT_EQ(games[1].game, 2);
    EXPECT_EQ(games[2].game, 1);
    ASSERT_TRUE(games[0].writtenAt && games[1].writtenAt);
    EXPECT_EQ(*games[0].writtenAt - *games[1].writtenAt, 47 * 3600);
}

TEST(ReviewRecordCommandTest, NamesTheSeatAndQuotesThePath) {
    EXPECT_EQ(ReviewRecordCommand("/a b/r.fu", 2), "pad.exe --seat 2 \"/a b/r.fu\"");
}

}  // namespace
}  // namespace zv
