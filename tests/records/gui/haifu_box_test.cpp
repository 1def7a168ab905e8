#include "records/gui/haifu_box.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdlib>

#include "support/launcher_fixture.h"

namespace zv {
namespace {

class HaifuBoxTest : public test::LauncherFixture {
protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        ::setenv("ZELVAN_TEXT_VIEWER", "textview", 1);
        Settings().UserDir = UserDir();
    }
    void TearDown() override {
        ::unsetenv("ZELVAN_TEXT_VIEWER");
        SetHaifuFileChooserForTests(nullptr);
        LauncherFixture::TearDown();
    }
    std::vector<std::string> Commands() {
        std::vector<std::string> lines;
        for (const auto& start : starter.Starts()) lines.push_back(start.commandLine);
        return lines;
    }
};

TEST_F(HaifuBoxTest, CollectsRecordsAtAnyDepthButNotCapitalised) {
    dir.Write("usr/guest/games/old/zelvan1.fu", "x");
    dir.Write("usr/top.fu", "x");
    dir.Write("usr/guest/SHOUT.FU", "x");
    THaifuBox box(nullptr);
    box.FindButton->click();
    ASSERT_EQ(box.ListBox->count(), 2);
    QStringList items{box.ListBox->item(0)->text(), box.ListBox->item(1)->text()};
    items.sort();
    EXPECT_EQ(items, (QStringList{QString::fromStdString(dir.path() + "/usr/guest/games/old/zelvan1.fu"),
                                  QString::fromStdString(dir.path() + "/usr/top.fu")}));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "message");
    EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{"牌譜の収集", "2個の牌譜が見つかりました"}));

    // A second search starts from an empty list.
    box.FindButton->click();
    EXPECT_EQ(box.ListBox->count(), 2);
}

TEST_F(HaifuBoxTest, NothingFoundSaysSo) {
    dir.Write("usr/guest/x.FU", "");
    THaifuBox box(nullptr);
    box.FindButton->click();
    EXPECT_EQ(box.ListBox->count(), 0);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{"牌譜の収集", "牌譜は見つかりませんでした"}));
}

TEST_F(HaifuBoxTest, ViewFillsTheEditFromTheSelectionAndQuotesThePath) {
    dir.Write("usr/guest/my games/a.fu", "x");
    THaifuBox box(nullptr);
    box.FindButton->click();
    dialogs.calls.clear();
    box.ListBox->setCurrentRow(0);
    box.ViewButton->click();
    const std::string path = dir.path() + "/usr/guest/my games/a.fu";
    EXPECT_EQ(box.HaifuFileName->text().toStdString(), path);
    ASSERT_EQ(starter.Starts().size(), 1u);
    EXPECT_EQ(starter.Starts()[0].commandLine, "textview \"" + path + "\"");
    EXPECT_EQ(starter.Starts()[0].showMode, 5);
    EXPECT_TRUE(dialogs.calls.empty());

    box.AnalizeButton->click();
    box.ExecButton->click();
    box.PlviewButtonClick();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"textview \"" + path + "\"", "pad.exe \"" + path + "\"",
                                                    "pad.exe", "plview.exe " + path}));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(HaifuBoxTest, ClickingAnItemCopiesItAndTheEditWins) {
    dir.Write("usr/guest/a.fu", "x");
    THaifuBox box(nullptr);
    box.FindButton->click();
    box.ListBox->setCurrentRow(0);
    box.ListBoxClick();
    EXPECT_EQ(box.HaifuFileName->text().toStdString(), dir.path() + "/usr/guest/a.fu");
    box.HaifuFileName->setText("/elsewhere/b.fu");
    box.AnalizeButton->click();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"pad.exe \"/elsewhere/b.fu\""}));
}

TEST_F(HaifuBoxTest, NoRecordChosenIsAnErrorAndStartsNothing) {
    THaifuBox box(nullptr);
    box.ViewButton->click();
    box.AnalizeButton->click();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].kind, "error");
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{"牌譜の閲覧", "ﾌｧｲﾙが指定されていません", ""}));
    EXPECT_EQ(dialogs.calls[1].texts,
              (std::vector<std::string>{"牌譜の分析", "ﾌｧｲﾙが指定されていません", ""}));
    EXPECT_TRUE(starter.Starts().empty());
}

TEST_F(HaifuBoxTest, FailedStartsAreReported) {
    starter.result = 2;  // file not found
    THaifuBox box(nullptr);
    box.HaifuFileName->setText("/r/a.fu");
    box.AnalizeButton->click();
    ASSERT_EQ(dialogs.Of("error").size(), 1u);  // RunCommand's own report
    EXPECT_EQ(dialogs.Of("error")[0].texts[1], "コマンドの実行が失敗しました");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"pad.exe \"/r/a.fu\""}));

    dialogs.calls.clear();
    starter.starts.clear();
    box.PlviewButtonClick();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{"麻雀", "牌譜の再生はパワーアップ版でサポートされる予定です",
                                        "過去の牌譜を再生する機能です"}));
}

TEST_F(HaifuBoxTest, ReplayIsHiddenAndStartsEvenWithAnEmptyName) {
    THaifuBox box(nullptr);
    EXPECT_FALSE(box.PlviewButton->isVisibleTo(&box));
    box.PlviewButtonClick();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"plview.exe "}));
}

TEST_F(HaifuBoxTest, PowerUpShowsTheReplayButtonWhichStartsTheRecordPlayer) {
    THaifuBox box(nullptr, true);
    EXPECT_TRUE(box.PlviewButton->isVisibleTo(&box));
    EXPECT_EQ(box.PlviewButton->text(), QString::fromUtf8("再生"));
    box.HaifuFileName->setText("a.fu");
    box.PlviewButton->click();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"plview.exe a.fu"}));
}

TEST_F(HaifuBoxTest, BrowsingStartsInTheUserDirectory) {
    std::vector<std::string> folders;
    std::optional<std::string> answer = "/chosen/game.fu";
    SetHaifuFileChooserForTests([&](QWidget*, const std::string& folder) {
        folders.push_back(folder);
        return answer;
    });
    THaifuBox box(nullptr);
    box.HaifuFileName->setText("before");
    box.ReferButton->click();
    EXPECT_EQ(folders, (std::vector<std::string>{UserDir()}));
    EXPECT_EQ(box.HaifuFileName->text(), "/chosen/game.fu");

    answer.reset();  // cancelled: the edit stays
    box.ReferButton->click();
    EXPECT_EQ(box.HaifuFileName->text(), "/chosen/game.fu");
    EXPECT_EQ(box.ReferButton->toolTip(), QString::fromUtf8("牌譜ﾌｧｲﾙを参照します"));
}

}  // namespace
}  // namespace zv
