// The one-player game without its window: option checks, where it reads and
// writes, and what a game leaves behind.
#include "app/one_player.h"

#include <gtest/gtest.h>

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
    root_.Write("usr/guest/zelvan1.pf", "param: tonpu = 1\r\nparam: startpoint = 30000\r\n");
    root_.Write("usr/_todo/_todo.pf", ToCp932("param: name = トド\r\n"));
    root_.Write("usr/_todo/_todo.bmp", "BM");
    root_.Write("usr/_default/_default.bmp", "BM");
    options_.length = 2;  // -H wins over the file
    options_.opponents = {"_todo", "../etc"};
    ASSERT_EQ(Prepare(), "");
    EXPECT_TRUE(game_.rulesFileRead());
    EXPECT_FALSE(game_.rules().eastOnly);
    EXPECT_EQ(game_.rules().startPoint, 30000);
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
