#include "game/zelvan1_start.h"

#include <gtest/gtest.h>

#include "config/launcher_settings.h"
#include "support/recording_dialogs.h"
#include "support/recording_starter.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

LauncherSettings Example() {
    LauncherSettings settings;
    settings.UserName = "guest";
    settings.UserDir = "/GAME/usr/guest";
    settings.LayoutOption = " -T small";
    settings.zelvan1tonpu = 1;
    settings.zelvan1haihu = 1;
    return settings;
}

TEST(Zelvan1CommandTest, ExampleLineWithItsBlanks) {
    EngineCommand command = Zelvan1Command(Example(), StartKind::DefaultOpponents);
    EXPECT_EQ(command.program, "zelvan1.exe");
    EXPECT_EQ(
        command.CommandLine(),
        "zelvan1.exe  -T small -B \"/GAME/usr/guest\" -c  -n guest -Q  -l \"/GAME/usr/guest/zelvan1.fu\""
        " -u _todo -u _min -u _wizard ");
}

TEST(Zelvan1CommandTest, OnlyTheValueOneSwitchesOptionsOn) {
    LauncherSettings settings = Example();
    settings.real1 = 2;
    settings.zelvan1tonpu = 2;
    settings.zelvan1haihu = 2;
    EngineCommand command = Zelvan1Command(settings, StartKind::DefaultOpponents);
    EXPECT_EQ(command.program, "zelvan1.exe");
    // No record: the opponents stand right after the length, two blanks apart.
    EXPECT_EQ(command.arguments,
              " -T small -B \"/GAME/usr/guest\" -c  -n guest -H  -u _todo -u _min -u _wizard ");

    settings.real1 = 1;
    settings.zelvan1tonpu = 1;
    settings.zelvan1haihu = 0;
    command = Zelvan1Command(settings, StartKind::DefaultOpponents);
    EXPECT_EQ(command.program, "rzelvan1.exe");
    EXPECT_EQ(command.CommandLine(),
              "rzelvan1.exe  -T small -B \"/GAME/usr/guest\" -c  -n guest -Q  -u _todo -u _min -u _wizard ");
}

TEST(Zelvan1CommandTest, OpponentsByStartKind) {
    LauncherSettings settings = Example();
    settings.zelvan1haihu = 0;
    settings.player1 = "alice";
    settings.player2 = "";
    settings.player3 = "carol";
    const std::string head = " -T small -B \"/GAME/usr/guest\" -c  -n guest -Q ";

    // Dialog switched off: fixed opponents whatever the settings hold.
    EXPECT_EQ(Zelvan1Command(settings, StartKind::DefaultOpponents, {"x", "y", "z"}).arguments,
              head + " -u _todo -u _min -u _wizard ");
    // The dialog's captions; an empty one is sent as "auto"; no trailing blank.
    EXPECT_EQ(Zelvan1Command(settings, StartKind::DialogOpponents, {"", "bob", ""}).arguments,
              head + " -u auto -u bob -u auto");
    // Direct play: the settings, empty places filled per position.
    EXPECT_EQ(Zelvan1Command(settings, StartKind::DirectPlay).arguments, head + " -u alice -u _min -u carol");
    settings.player1 = settings.player2 = settings.player3 = "";
    EXPECT_EQ(Zelvan1Command(settings, StartKind::DirectPlay).arguments,
              head + " -u _wizard -u _min -u _todo");
}

TEST(Zelvan1CommandTest, UserDirectoryWithBlanksStaysOneQuotedArgument) {
    LauncherSettings settings = Example();
    settings.UserDir = "/my games/usr/guest";
    settings.LayoutOption = " -T small4";
    EXPECT_EQ(Zelvan1Command(settings, StartKind::DialogOpponents, {"a", "b", "c"}).CommandLine(),
              "zelvan1.exe  -T small4 -B \"/my games/usr/guest\" -c  -n guest -Q  -l "
              "\"/my games/usr/guest/zelvan1.fu\" -u a -u b -u c");
}

class StartZelvan1Test : public ::testing::Test {
protected:
    void SetUp() override { Settings() = Example(); }
    void TearDown() override { Settings() = LauncherSettings{}; }
    test::RecordingStarter starter;
    RecordingDialogs dialogs;
};

TEST_F(StartZelvan1Test, DialogStartRunsTheWholeLine) {
    EXPECT_EQ(StartZelvan1(dialogs, StartKind::DialogOpponents, {"a", "b", "c"}), static_cast<int>(kStartOk));
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].kind, "exec");
    EXPECT_EQ(starter.starts[0].showMode, kShowNormal);
    EXPECT_EQ(starter.starts[0].commandLine,
              Zelvan1Command(Settings(), StartKind::DialogOpponents, {"a", "b", "c"}).CommandLine());
}

TEST_F(StartZelvan1Test, FailedOrDeclinedStartGivesMinusOne) {
    starter.result = 2;
    EXPECT_EQ(StartZelvan1(dialogs, StartKind::DefaultOpponents), -1);
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts[2], "ファイルが見つかりません");

    starter.result = kStartOk;
    Settings().ConfirmCommands = true;
    EXPECT_EQ(StartZelvan1(dialogs, StartKind::DefaultOpponents), -1);
    EXPECT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
}

TEST_F(StartZelvan1Test, DirectPlayReturnsTheProcessToWaitFor) {
    Settings().ConfirmCommands = true;  // direct play starts without asking
    ProcessHandle handle;
    EXPECT_EQ(StartZelvan1(dialogs, StartKind::DirectPlay, {}, &handle), 4242);
    EXPECT_EQ(handle.pid, 4242);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].kind, "waitable");
    EXPECT_EQ(
        starter.starts[0].commandLine,
        "zelvan1.exe  -T small -B \"/GAME/usr/guest\" -c  -n guest -Q  -l \"/GAME/usr/guest/zelvan1.fu\""
        " -u _todo -u _min -u _wizard");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(StartZelvan1Test, DirectPlayFailureNamesTheProgram) {
    Settings().real1 = 1;
    starter.result = 2;
    ProcessHandle handle;
    EXPECT_EQ(StartZelvan1(dialogs, StartKind::DirectPlay, {}, &handle), -1);
    EXPECT_EQ(handle.pid, -1);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{"", "コマンドの実行が失敗しました",
                                                                "rzelvan1.exeを実行できませんでした"}));
}

TEST(RecordSwitchTest, WhichSelectsTheSetting) {
    LauncherSettings settings;
    RecordSwitch(settings, 0) = 5;
    RecordSwitch(settings, 1) = 6;
    RecordSwitch(settings, 2) = 7;
    RecordSwitch(settings, -3) = 8;
    EXPECT_EQ(settings.serverhaihu, 5);
    EXPECT_EQ(settings.zelvan1haihu, 6);
    EXPECT_EQ(settings.clienthaihu, 8);
}

TEST(OpponentFaceTest, OwnFaceThenSharedFaceThenNothing) {
    test::TempDir dir;
    std::string install = dir.path() + "/";
    EXPECT_EQ(OpponentFacePath(install, "_todo"), "");
    dir.Write("usr/_default/_default.bmp", "BM");
    EXPECT_EQ(OpponentFacePath(install, "_todo"), install + "usr/_default/_default.bmp");
    dir.Write("usr/_todo/_todo.bmp", "BM");
    EXPECT_EQ(OpponentFacePath(install, "_todo"), install + "usr/_todo/_todo.bmp");
    // Names that cannot be a directory below usr/ never leave it.
    EXPECT_EQ(OpponentFacePath(install, "../_todo"), install + "usr/_default/_default.bmp");
    EXPECT_EQ(OpponentFacePath(install, ""), install + "usr/_default/_default.bmp");
}

}  // namespace
}  // namespace zv
