// The main window's starts of programs outside the package's engines, with
// the real program starter in a throw-away installation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

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
