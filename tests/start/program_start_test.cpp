#include "start/program_start.h"

#include <gtest/gtest.h>

#include "config/launcher_settings.h"
#include "support/recording_dialogs.h"
#include "support/recording_starter.h"

namespace zv {
namespace {

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override { Settings() = LauncherSettings{}; }
    void TearDown() override { Settings() = LauncherSettings{}; }
    test::RecordingStarter starter;
    RecordingDialogs dialogs;
};

TEST_F(ProgramStartTest, ErrorTextsByCode) {
    EXPECT_EQ(StartErrorText(0), "メモリ、リソースが足りません");
    EXPECT_EQ(StartErrorText(2), "ファイルが見つかりません");
    EXPECT_EQ(StartErrorText(3), "パスが見つかりません");
    EXPECT_EQ(StartErrorText(11), "正しいWin32実行ファイルではありません");
    EXPECT_EQ(StartErrorText(5), "エラーです");
    EXPECT_EQ(StartErrorText(31), "エラーです");
}

TEST_F(ProgramStartTest, RunCommandStartsAndReportsFailures) {
    EXPECT_EQ(RunCommand(dialogs, "zvserver.exe -p 4112", kShowNormal), kStartOk);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, "zvserver.exe -p 4112");
    EXPECT_EQ(starter.starts[0].showMode, kShowNormal);
    EXPECT_TRUE(dialogs.calls.empty());

    starter.result = 2;
    EXPECT_EQ(RunCommand(dialogs, "missing.exe", kShowNormal), 2u);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "error");
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{"", "コマンドの実行が失敗しました", "ファイルが見つかりません"}));

    // 31 is still a failure, 32 the first success.
    starter.result = 31;
    EXPECT_EQ(RunCommand(dialogs, "x", kShowNormal), 31u);
    EXPECT_EQ(dialogs.Of("error").size(), 2u);
    starter.result = 32;
    EXPECT_EQ(RunCommand(dialogs, "x", kShowNormal), 32u);
    EXPECT_EQ(dialogs.Of("error").size(), 2u);
}

TEST_F(ProgramStartTest, TryCommandIsSilent) {
    EXPECT_TRUE(TryCommand(dialogs, "sanma1.exe -n guest -c", kShowNormal));
    starter.result = 2;
    EXPECT_FALSE(TryCommand(dialogs, "sanma1.exe -n guest -c", kShowNormal));
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(starter.starts.size(), 2u);
}

TEST_F(ProgramStartTest, ConfirmationDeclinedStartsNothing) {
    Settings().ConfirmCommands = true;
    EXPECT_EQ(RunCommand(dialogs, "zelvan1.exe -c", kShowNormal), 0u);
    EXPECT_TRUE(TryCommand(dialogs, "sanma1.exe", kShowNormal));
    EXPECT_TRUE(starter.starts.empty());
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].kind, "yesno");
    EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{"Execute?", "zelvan1.exe -c"}));
    EXPECT_TRUE(dialogs.Of("error").empty());

    dialogs.yesNoAnswers = {true, true};
    starter.result = 2;
    EXPECT_EQ(RunCommand(dialogs, "zelvan1.exe -c", kShowNormal), 2u);
    EXPECT_FALSE(TryCommand(dialogs, "sanma1.exe", kShowNormal));
    EXPECT_EQ(starter.starts.size(), 2u);
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
}

TEST_F(ProgramStartTest, CommandLinesBuiltFromTheInstallation) {
    EXPECT_EQ(ImageViewerCommandLine("/opt/game dir/"),
              "\"/opt/game dir/glimpse.exe\" \"/opt/game dir/image\"");
    EXPECT_EQ(SanmaCommandLine("guest"), "sanma1.exe -n guest -c");
    EXPECT_EQ(AmericaCommandLine("guest"), "tradmaj1.exe -n guest -c");
    EXPECT_EQ(HelpIndexPath("/g/"), "/g/help/index.html");
    EXPECT_EQ(RulebookIndexPath("/g/"), "/g/rulebook/index.html");

    OpenDocument("/g/help/index.html", "", "", kShowNormal);
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].kind, "document");
    EXPECT_EQ(starter.starts[0].commandLine, "/g/help/index.html||");
}

}  // namespace
}  // namespace zv
