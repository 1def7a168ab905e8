// The one-player game without its window: option checks, where it reads and
// writes, and what a game leaves behind.
#include "app/one_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/engine_paths.h"
#include "config/codec.h"
#include "riichi/game.h"
#include "support/temp_dir.h"

namespace zv::engine {
namespace {

namespace fs = std::filesystem;

class OnePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(user_);
        options_.baseDir = user_;
        options_.name = "guest";
        options_.layout = "large4";
        options_.opponents = {"_todo", "_min", "_wizard"};
        options_.recordFile = user_ + "/zelvan1.fu";
    }

    std::string Prepare() {
        warnings_.clear();
        return game_.Prepare(options_, root_.path() + "/", "zelvan1", warnings_);
    }

    int CountLines(const std::string& bytes, const std::string& start) {
        int n = 0;
        for (std::size_t pos = 0; (pos = bytes.find(start, pos)) != std::string::npos; ++pos) ++n;
        return n;
    }

    test::TempDir root_;
    std::string user_ = root_.Path("usr/guest");
    EngineOptions options_;
    OnePlayerGame game_;
    std::vector<std::string> warnings_;
};

TEST_F(OnePlayerTest, GamesAppendResultsAndRewriteTheRecord) {
    root_.Write("usr/guest/guest.res", "result: 2 5 0 4 0 0 0 0 0 0 0 0\r\n");  // kept
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(game_.layout().width, 1024);
    EXPECT_EQ(game_.resultsPath(), user_ + "/guest.res");
    EXPECT_EQ(game_.PlayOne(1), "");
    EXPECT_EQ(game_.PlayOne(2), "");
    std::string res = root_.Read("usr/guest/guest.res");
    EXPECT_EQ(CountLines(res, "result: "), 3);
    EXPECT_EQ(CountLines(res, "yaku: "), 2);
    EXPECT_EQ(CountLines(res, "\r\n"), 5);
    EXPECT_EQ(res.find("\n", 0), res.find("\r\n") + 1);
    std::string record = root_.Read("usr/guest/zelvan1.fu");
    EXPECT_EQ(CountLines(record, "game: "), 2);
    EXPECT_EQ(CountLines(record, "end: "), 2);
    // Nothing else appears in the player's folder, nothing at all elsewhere.
    int entries = 0;
    for (auto& e : fs::recursive_directory_iterator(root_.path())) entries += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(entries, 2);
}

// A game played elsewhere (the board) is filed as PlayOne files its own:
// the same results lines and record for the same game.
TEST_F(OnePlayerTest, FilingAGamePlayedElsewhereMatchesPlayOne) {
    root_.Write("usr/guest/guest.pf", "param: reach = 0\r\nparam: name = someone\r\n");
    ASSERT_EQ(Prepare(), "");
    EXPECT_EQ(game_.styles()[0].style.reach, 0);  // the player's own character plays the seat
    EXPECT_EQ(game_.seats()[0].displayName, "guest");
    EXPECT_EQ(game_.PlayOne(21), "");
    EXPECT_EQ(game_.lastGame().players[0].reaches, 0);
    std::string played = root_.Read("usr/guest/guest.res");
    std::string record = root_.Read("usr/guest/zelvan1.fu");
    fs::remove(user_ + "/guest.res");

    OnePlayerGame other;
    std::vector<std::string> warnings;
    ASSERT_EQ(other.Prepare(options_, root_.path() + "/", "zelvan1", warnings), "");
    riichi::Game table(other.rules(), 21);
    auto players = MakeSeatPlayers(other.styles(), 21);
    std::array<riichi::Game::Decider, 4> deciders;
    for (std::size_t s = 0; s < 4; ++s) deciders[s] = players::AsDecider(*players[s]);
    table.PlayOut(deciders);
    EXPECT_EQ(other.File(OutcomeOf(table)), "");
    EXPECT_EQ(other.gamesPlayed(), 1);
    EXPECT_EQ(root_.Read("usr/guest/guest.res"), played);
    EXPECT_EQ(root_.Read("usr/guest/zelvan1.fu"), record);
    EXPECT_EQ(other.lastGame().players[0].place, game_.lastGame().players[0].place);
}

TEST_F(OnePlayerTest, RulesOpponentsAndLengthOption) {
    // A rules file cannot turn the four-player game into a three-player one.
    root_.Write("usr/guest/zelvan1.pf",
                "param: tonpu = 1\r\nparam: startpoint = 30000\r\nparam: sanma = 1\r\n");
    root_.Write("usr/_todo/_todo.pf", ToCp932("param: name = トド\r\n"));
    root_.Write("usr/_todo/_todo.bmp", "BM");
    root_.Write("usr/_default/_default.bmp", "BM");
    options_.length = 2;  // -H wins over the file
    options_.opponents = {"_todo", "../etc"};
    ASSERT_EQ(Prepare(), "");
    EXPECT_TRUE(game_.rulesFileRead());
    EXPECT_FALSE(game_.rules().eastOnly);
    EXPECT_EQ(game_.rules().startPoint, 30000);
    EXPECT_FALSE(game_.rules().threePlayer);
    EXPECT_EQ(game_.seats()[1].displayName, "トド");
    EXPECT_EQ(game_.seats()[2].name, ".._etc");
    EXPECT_EQ(game_.seats()[3].name, "_wizard");  // missing opponents: the usual three
    EXPECT_EQ(game_.faces()[1], root_.path() + "/usr/_todo/_todo.bmp");
    EXPECT_EQ(game_.faces()[2], root_.path() + "/usr/_default/_default.bmp");
    EXPECT_FALSE(warnings_.empty());
}

TEST_F(OnePlayerTest, RefusesOptionsThatWouldWriteElsewhere) {
    options_.name = "../guest";
    EXPECT_NE(Prepare(), "");
    options_.name = "";
    EXPECT_NE(Prepare(), "");
    options_.name = "guest";
    options_.baseDir = root_.Path("usr/nobody");
    EXPECT_NE(Prepare().find("does not exist"), std::string::npos);
    EXPECT_FALSE(fs::exists(root_.Path("usr/nobody")));
    options_.baseDir = user_;
    options_.recordFile = root_.Path("gone/zelvan1.fu");
    EXPECT_NE(Prepare(), "");
    EXPECT_FALSE(fs::exists(root_.Path("gone")));
    options_.recordFile = user_;  // a folder
    EXPECT_NE(Prepare(), "");
    options_.recordFile.clear();
    options_.layout = "huge";
    EXPECT_EQ(Prepare(), "");
    EXPECT_EQ(game_.layout().word, "small");
}

TEST_F(OnePlayerTest, UnwritableFilesGiveMessagesAndTheGameGoesOn) {
    fs::create_directories(user_ + "/guest.res");  // cannot be appended to
    ASSERT_EQ(Prepare(), "");
    std::string problem = game_.PlayOne(3);
    EXPECT_NE(problem.find("guest.res"), std::string::npos);
    EXPECT_EQ(game_.gamesPlayed(), 1);
    EXPECT_TRUE(fs::exists(user_ + "/zelvan1.fu"));  // the record is still written
}

// The three-player game: found from the install folder without -B, the
// launcher's stored opponents, zelvan1.pf made three-player and then
// overridden by sanma1.pf, and files of its own beside the four-player ones.
TEST_F(OnePlayerTest, ThreePlayerGamesKeepFilesOfTheirOwn) {
    root_.Write("usr/guest/zelvan1.pf", "param: tonpu = 1\r\nparam: startpoint = 30000\r\n");
    root_.Write("usr/guest/sanma1.pf",
                "param: startpoint = 35000\r\nparam: tumozon = 0\r\nparam: sanma = 0\r\n");
    root_.Write("usr/guest/launch.nuc", "(define player1 \"_min\")\r\n(define player2 \"_wizard\")\r\n");
    root_.Write("usr/guest/guest.res", "result: 2 5 0 4 0 0 0 0 0 0 0 0\r\n");
    options_.baseDir.clear();
    options_.opponents.clear();
    options_.recordFile.clear();
    OnePlayerGame sanma(3);
    ASSERT_EQ(sanma.Prepare(options_, root_.path() + "/", "sanma1", warnings_), "");
    EXPECT_EQ(sanma.players(), 3);
    EXPECT_TRUE(sanma.rules().threePlayer);
    EXPECT_TRUE(sanma.rules().eastOnly);          // zelvan1.pf
    EXPECT_EQ(sanma.rules().startPoint, 35000);   // sanma1.pf over the three-player start
    EXPECT_EQ(sanma.rules().returnPoint, 40000);  // the three-player default
    EXPECT_EQ(sanma.rules().tsumoLoss, 0);        // sanma1.pf
    EXPECT_EQ(sanma.seats()[1].name, "_min");     // the launcher's player1
    EXPECT_EQ(sanma.seats()[2].name, "_wizard");  // and player2
    EXPECT_EQ(sanma.seats()[3].name, "");         // the empty seat
    EXPECT_EQ(sanma.resultsPath(), user_ + "/guest.sanma.res");
    EXPECT_EQ(sanma.recordPath(), user_ + "/sanma1.fu");

    ASSERT_EQ(sanma.PlayOne(7), "");
    ASSERT_EQ(sanma.PlayOne(8), "");
    const auto& players = sanma.lastGame().players;
    EXPECT_EQ(players[3].place, 0);
    EXPECT_GE(players[0].place, 1);
    EXPECT_LE(players[0].place, 3);
    EXPECT_EQ(players[0].finalScore + players[1].finalScore + players[2].finalScore +
                  sanma.lastGame().leftoverSticks * 1000,
              3 * 35000);
    std::string res = root_.Read("usr/guest/guest.sanma.res");
    EXPECT_EQ(CountLines(res, "result: "), 2);
    EXPECT_EQ(CountLines(res, "yaku: "), 2);
    EXPECT_EQ(root_.Read("usr/guest/guest.res"), "result: 2 5 0 4 0 0 0 0 0 0 0 0\r\n");  // untouched

    RecordFile record = ParseRecord(FromCp932(root_.Read("usr/guest/sanma1.fu")));
    ASSERT_TRUE(record.problems.empty()) << record.problems.front();
    ASSERT_EQ(record.games.size(), 2u);
    const RecordedGame& g = record.games.back();
    EXPECT_EQ(g.program, "sanma1");
    EXPECT_NE(g.rules.find("sanma=1 tumozon=0 returnpoint=40000"), std::string::npos) << g.rules;
    EXPECT_TRUE(RulesFromRecord(g.rules).threePlayer);
    EXPECT_EQ(g.seats[2].name, "_wizard");
    EXPECT_EQ(g.seats[3].name, "");  // no line for the empty seat
    EXPECT_EQ(g.finals.size(), 3u);
    std::string summary;
    for (const std::string& line : SummarizeRecord(record)) summary += line + "\n";
    EXPECT_NE(summary.find("[2] _wizard"), std::string::npos);
    EXPECT_EQ(summary.find("[3]"), std::string::npos) << "the empty seat is not listed";
}

TEST_F(OnePlayerTest, ThreePlayerOptionsAndAMissingPlayerFolder) {
    options_.baseDir.clear();
    options_.name = "nobody";
    OnePlayerGame sanma(3);
    std::string error = sanma.Prepare(options_, root_.path() + "/", "sanma1", warnings_);
    EXPECT_NE(error.find("フォルダ"), std::string::npos) << error;
    EXPECT_NE(error.find("usr/nobody"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(root_.Path("usr/nobody")));

    // -B and -u as zelvan1 takes them; a third opponent is one too many.
    options_.baseDir = user_;
    options_.name = "guest";
    options_.opponents = {"_wizard", "_todo", "_min"};
    options_.recordFile = user_ + "/mine.fu";
    warnings_.clear();
    ASSERT_EQ(sanma.Prepare(options_, root_.path() + "/", "sanma1", warnings_), "");
    EXPECT_EQ(sanma.seats()[1].name, "_wizard");
    EXPECT_EQ(sanma.seats()[2].name, "_todo");
    EXPECT_EQ(sanma.seats()[3].name, "");
    EXPECT_EQ(sanma.recordPath(), user_ + "/mine.fu");
    EXPECT_NE(
        std::find(warnings_.begin(), warnings_.end(), "more than two opponents given, the first two play"),
        warnings_.end());
    // No launcher settings and no -u: the launcher's own defaults.
    options_.opponents.clear();
    ASSERT_EQ(sanma.Prepare(options_, root_.path() + "/", "sanma1", warnings_), "");
    EXPECT_EQ(sanma.seats()[1].name, "_todo");
    EXPECT_EQ(sanma.seats()[2].name, "_min");
    EXPECT_EQ(ThreePlayerResultsName("guest"), "guest.sanma.res");
}

TEST(AutoplayTest, CountFromTheEnvironment) {
    ::unsetenv("ZV_ENGINE_AUTOPLAY");
    EXPECT_EQ(AutoplayCount(), 0);
    ::setenv("ZV_ENGINE_AUTOPLAY", "2", 1);
    EXPECT_EQ(AutoplayCount(), 2);
    ::setenv("ZV_ENGINE_AUTOPLAY", "two", 1);
    EXPECT_EQ(AutoplayCount(), -1);
    ::setenv("ZV_ENGINE_AUTOPLAY", "0", 1);
    EXPECT_EQ(AutoplayCount(), -1);
    ::unsetenv("ZV_ENGINE_AUTOPLAY");
}

TEST(EnginePathsTest, PlainNamesAndRecordPaths) {
    for (const char* good : {"guest", "_todo", "ゲスト", "a.b"}) EXPECT_TRUE(IsPlainName(good)) << good;
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "a b", "c:x", "\"q\""})
        EXPECT_FALSE(IsPlainName(bad)) << bad;
    EXPECT_FALSE(IsPlainName(std::string(65, 'a')));
    EXPECT_EQ(OneWord("a b/c"), "a_b_c");
    EXPECT_EQ(OneWord(""), "_");
    EXPECT_EQ(JoinPath("/x/", "f"), "/x/f");
    EXPECT_EQ(JoinPath("/x", "f"), "/x/f");
    test::TempDir dir;
    EXPECT_EQ(CheckRecordPath(dir.Path("a.fu")), "");
    EXPECT_NE(CheckRecordPath(dir.path()), "");
    EXPECT_NE(CheckRecordPath(dir.Path("no/a.fu")), "");
    EXPECT_NE(CheckRecordPath(""), "");
}

}  // namespace
}  // namespace zv::engine
