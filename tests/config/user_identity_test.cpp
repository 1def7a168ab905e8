#include "config/user_identity.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/launcher_settings.h"
#include "support/fake_platform.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

class UserIdentityTest : public ::testing::Test {
protected:
    void SetUp() override { platform.installDir = dir.path() + "/"; }
    test::TempDir dir;
    test::FakePlatform platform;
    RecordingDialogs dialogs;
};

TEST_F(UserIdentityTest, SourcesInOrderEndingInUnknown) {
    EXPECT_EQ(LookupUserName(""), "unknown");
    platform.registry[{"SOFTWARE\\Microsoft\\Windows\\Current\\Version", "Registered Owner"}] = "owner";
    EXPECT_EQ(LookupUserName(""), "owner");
    platform.registry[{"System\\CurrentControlSet\\control", "Current User"}] = "current";
    EXPECT_EQ(LookupUserName(""), "current");
    platform.registry[{"Network\\Logon", "username"}] = "logon";
    EXPECT_EQ(LookupUserName(""), "logon");
    platform.userName = "system";
    EXPECT_EQ(LookupUserName(""), "system");
    EXPECT_EQ(LookupUserName("guest"), "guest");
}

TEST_F(UserIdentityTest, LongRegistryValuesAreCut) {
    platform.registry[{"Network\\Logon", "username"}] = std::string(400, 'n');
    EXPECT_EQ(LookupUserName("").size(), 255u);
}

TEST_F(UserIdentityTest, FirstStartCreatesUsrAndTheUserDirectory) {
    LauncherSettings settings;
    settings.UserOverride = "guest";
    SettleUser(settings, dialogs);
    EXPECT_EQ(settings.UserDir, dir.Path("usr/guest"));
    EnsureUserDirectory(platform.InstallDir(), settings.UserDir, dialogs);
    EXPECT_TRUE(IsDirectory(dir.Path("usr/guest")));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(UserIdentityTest, PlainFileInPlaceOfTheDirectory) {
    dir.Write("usr/guest", "x");
    EnsureUserDirectory(platform.InstallDir(), dir.Path("usr/guest"), dialogs);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{dir.Path("usr/guest"), "ユーザ情報用ディレクトリが誤っています",
                                        "ディレクトリではありません"}));
}

TEST_F(UserIdentityTest, UncreatableUserDirectoryIsReported) {
    // A name too long for the file system fails even for root.
    std::string userDir = dir.Path("usr/" + std::string(300, 'n'));
    EnsureUserDirectory(platform.InstallDir(), userDir, dialogs);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{userDir, "ユーザ情報用ディレクトリを作成できませんでした",
                                        "パーミッションを確認してください"}));
}

TEST_F(UserIdentityTest, MissingInstallFolderReportsUsr) {
    EnsureUserDirectory(dir.Path("gone/"), dir.Path("gone/usr/guest"), dialogs);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts[0], dir.Path("gone/usr"));
}

TEST_F(UserIdentityTest, UnsafeNamesAreRefused) {
    platform.userName = "system";
    // A quote or a backslash would break the quotes around the name in the
    // engines' command lines ("x\" escapes the closing quote).
    for (const std::string& bad :
         std::vector<std::string>{"..", ".", "a/b", "../../etc", std::string("a\0b", 3),
                                  std::string(256, 'x'), "x\\", "q\"x", "\\\\server", "a\\b"}) {
        LauncherSettings settings;
        settings.UserOverride = bad;
        dialogs.calls.clear();
        SettleUser(settings, dialogs);
        EXPECT_EQ(settings.UserName, "system") << bad;
        EXPECT_EQ(settings.UserDir, dir.Path("usr/system"));
        EXPECT_EQ(dialogs.Of("error").size(), 1u);
    }
    std::string name(127, 'x');
    for (int i = 0; i < 64; ++i) name += "あ";
    EXPECT_TRUE(IsSafeDirectoryName(name));  // 255 bytes in CP932
    EXPECT_FALSE(IsSafeDirectoryName(name + "あ"));
}

}  // namespace
}  // namespace zv
