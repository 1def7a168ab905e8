// The main window's starts of programs outside the package's engines, with
// the real program starter in a throw-away installation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "launcher/gui/launch_window.h"
#include "support/arg_records.h"
#include "support/launcher_fixture.h"

namespace zv {
namespace {

class FurtherProgramsTest : public test::LauncherFixture {
protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        SetProcessStarter(nullptr);  // the real starter
        if (const char* path = std::getenv("PATH")) savedPath_ = path;
        ::setenv("PATH", emptyPath_.path().c_str(), 1);
        ::setenv("ARGRECORDER_OUT", out_.c_str(), 1);
    }
    void TearDown() override {
        if (savedPath_) ::setenv("PATH", savedPath_->c_str(), 1);
        ::unsetenv("ARGRECORDER_OUT");
        LauncherFixture::TearDown();
    }

    test::TempDir emptyPath_;
    test::TempDir scratch_;
    std::string out_ = scratch_.Path("records.txt");
    std::optional<std::string> savedPath_;
};

TEST_F(FurtherProgramsTest, MissingThreePlayerAndAmericanGamesAreNotSupportedYet) {
    TLaunch window(launcherDialogs);
    dialogs.calls.clear();
    window.SanmaClick();
    window.AmericaMenuClick();
    auto errors = dialogs.Of("error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].texts,
              (std::vector<std::string>{"ゼルバンサンマ", "サンマはパワーアップ版でサポートされる予定です",
                                        "関西でよく行われているルールです"}));
    EXPECT_EQ(errors[1].texts,
              (std::vector<std::string>{"ゼルバンアメリカルール",
                                        "アメリカルールはパワーアップ版でサポートされる予定です",
                                        "1920年代によくプレーされていたルールです"}));
}

TEST_F(FurtherProgramsTest, PresentGamesStartWithTheUserName) {
    std::filesystem::copy_file(ZV_ARGRECORDER_PATH, dir.Path("tradmaj1"));
    TLaunch window(launcherDialogs);
    dialogs.calls.clear();
    window.AmericaClick();
    auto records = test::WaitForArgRecords(out_, 1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{"tradmaj1.exe", "-n", "guest", "-c"}));
    EXPECT_EQ(records[0].show, "5");
    EXPECT_TRUE(dialogs.calls.empty());
}

#ifdef ZV_SANMA1_PATH
// The launcher's サンマ start, unchanged, runs the installed three-player
// game: "sanma1.exe -n guest -c" finds sanma1 beside the launcher, the
// player's folder and stored opponents below usr/, and the game's results
// line lands in the player's folder.
TEST_F(FurtherProgramsTest, ThreePlayerGameStartsAndFilesItsResults) {
    std::filesystem::copy_file(ZV_SANMA1_PATH, dir.Path("sanma1"));
    LauncherSettings stored;
    stored.count = 5;
    stored.player1 = "_wizard";
    stored.player2 = "_todo";
    WriteLaunchNuc(stored);
    ::setenv("ZV_ENGINE_AUTOPLAY", "1", 1);
    TLaunch window(launcherDialogs);
    dialogs.calls.clear();
    window.SanmaClick();
    EXPECT_TRUE(dialogs.Of("error").empty());
    // Waits (up to a generous limit, for slow machines) for the game to end.
    const std::string record = UserDir() + "/sanma1.fu";
    std::string text;
    for (int i = 0; i < 6000 && text.find("end: 1") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        text = dir.Read("usr/guest/sanma1.fu");
    }
    ::unsetenv("ZV_ENGINE_AUTOPLAY");
    ASSERT_NE(text.find("end: 1"), std::string::npos) << "the game was not filed";
    EXPECT_NE(text.find("program: sanma1"), std::string::npos);
    EXPECT_NE(text.find("player: 1 _wizard"), std::string::npos);
    EXPECT_NE(text.find("player: 2 _todo"), std::string::npos);
    std::string results;
    for (int i = 0; i < 1000 && results.find("yaku: ") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        results = dir.Read("usr/guest/guest.sanma.res");
    }
    EXPECT_EQ(results.rfind("result: ", 0), 0u) << results;
    EXPECT_FALSE(std::filesystem::exists(UserDir() + "/guest.res"));
}
#endif

TEST_F(FurtherProgramsTest, ImageViewerGetsTheImageFolder) {
    std::filesystem::copy_file(ZV_ARGRECORDER_PATH, dir.Path("glimpse"));
    TLaunch window(launcherDialogs);
    dialogs.calls.clear();
    window.ImageViewMenuClick();
    auto records = test::WaitForArgRecords(out_, 1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (std::vector<std::string>{dir.Path("glimpse.exe"), dir.Path("image")}));
    EXPECT_EQ(records[0].exe, dir.Path("glimpse"));
    EXPECT_EQ(records[0].show, "5");
    EXPECT_TRUE(dialogs.calls.empty());

    // Without the viewer the failed start is reported.
    std::filesystem::remove(dir.Path("glimpse"));
    window.ImageViewMenuClick();
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts[2], "ファイルが見つかりません");
}

}  // namespace
}  // namespace zv
