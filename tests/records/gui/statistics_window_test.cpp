#include "records/gui/statistics_window.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "records/gui/player_info_box.h"
#include "support/launcher_fixture.h"

namespace zv {
namespace {

class StatisticsWindowTest : public test::LauncherFixture {
protected:
    void SelectPlayer(TPlayerInfoBox& box, const QString& name) {
        auto found = box.ListView->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        box.ListView->setCurrentItem(found.front());
    }
    QString Figure(TStatisticsWindow& window, const char* name) {
        auto* label = window.Figures->findChild<QLabel*>(name);
        return label == nullptr ? QStringLiteral("<missing>") : label->text();
    }
};

TEST_F(StatisticsWindowTest, PlainDialogHasNoStatisticsButton) {
    dir.Write("usr/alice/alice.pf", "");
    TPlayerInfoBox plain(nullptr);
    plain.show();
    EXPECT_FALSE(plain.StatsButton->isVisible());
    QStringList shown;
    for (auto* button : plain.findChildren<QPushButton*>())
        if (button->isVisible()) shown << button->text();
    EXPECT_EQ(shown, (QStringList{QString::fromUtf8("統計"), QString::fromUtf8("閉じる")}));

    TPlayerInfoBox powered(nullptr, true);
    powered.show();
    EXPECT_TRUE(powered.StatsButton->isVisible());
    EXPECT_EQ(powered.StatsButton->text(), QString::fromUtf8("成績グラフ"));
}

TEST_F(StatisticsWindowTest, OpensModelessWithFiguresChartAndBars) {
    dir.Write("usr/alice/zvclient.res",
              "result: 1 30 2 10 3 2 8000 2 3900 1 0 0\r\n"
              "result: 3 -10 0 8 1 4 0 0 0 0 5200 2\r\n"
              "result: 2 5 1 6 0 0 0 0 2000 1 1000 1\r\n"
              "result: 4 -25 0 8 2 2 0 0 0 0 0 0\r\n");
    dir.Write("usr/alice/alice.res", "result: 2 10 0 4 0 0 0 0 0 0 0 0\r\n");
    TPlayerInfoBox box(nullptr, true);
    box.StatsButton->click();
    EXPECT_EQ(dialogs.calls.size(), 1u);  // nobody chosen yet
    SelectPlayer(box, "alice");
    box.StatsButton->click();
    auto windows = box.findChildren<TStatisticsWindow*>();
    ASSERT_EQ(windows.size(), 1);
    TStatisticsWindow& w = *windows.front();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal());
    EXPECT_FALSE(w.EmptyNote->isVisible());
    EXPECT_EQ(Figure(w, "GameCount"), "4");
    EXPECT_EQ(Figure(w, "AveragePlace"), "2.50");
    EXPECT_EQ(Figure(w, "FirstRate"), "25.0%");
    EXPECT_EQ(Figure(w, "WinRate"), "12.5%");
    EXPECT_EQ(Figure(w, "AverageWin"), "3475");
    EXPECT_EQ(Figure(w, "AverageDealIn"), "2066");
    EXPECT_EQ(w.Chart->GameCount(), 4);
    EXPECT_FALSE(w.Chart->accessibleName().isEmpty());
    EXPECT_FALSE(w.Rates->accessibleName().isEmpty());
    ASSERT_EQ(w.Rates->Bars().size(), 8u);
    EXPECT_DOUBLE_EQ(w.Rates->Bars()[7].share, 0.25);  // calls in 8 of 32 hands

    w.SoloChoice->setChecked(true);
    EXPECT_EQ(Figure(w, "GameCount"), "1");
    EXPECT_EQ(w.Chart->GameCount(), 1);
}

TEST_F(StatisticsWindowTest, PlayerWithoutResultsSeesWhyNothingIsShown) {
    dir.Write("usr/bob/bob.pf", "");
    TPlayerInfoBox box(nullptr, true);
    SelectPlayer(box, "bob");
    box.StatsButton->click();
    EXPECT_TRUE(dialogs.calls.empty());
    auto windows = box.findChildren<TStatisticsWindow*>();
    ASSERT_EQ(windows.size(), 1);
    TStatisticsWindow& w = *windows.front();
    EXPECT_TRUE(w.EmptyNote->isVisible());
    EXPECT_TRUE(w.EmptyNote->text().contains(QString::fromUtf8("まだ成績がありません")));
    EXPECT_EQ(Figure(w, "GameCount"), "0");
    EXPECT_EQ(Figure(w, "AveragePlace"), "-");
    EXPECT_EQ(w.Chart->GameCount(), 0);
    EXPECT_EQ(w.GameList->topLevelItemCount(), 0);
    w.ReplayButton->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "error");
    EXPECT_TRUE(starter.Starts().empty());
}

TEST_F(StatisticsWindowTest, RecordedGamesReplayAndReviewThroughTheStarter) {
    const std::string record = dir.Write("usr/alice/zelvan1.fu",
                                         "game: 1\r\nplayer: 2 alice alice\r\nfinal: 2 1 41000 31 1\r\n"
                                         "game: 2\r\nplayer: 1 alice alice\r\nfinal: 1 3 20000 -12 0\r\n");
    TStatisticsWindow w(nullptr, "alice");
    ASSERT_EQ(w.GameList->topLevelItemCount(), 2);
    QTreeWidgetItem* latest = w.GameList->topLevelItem(0);
    EXPECT_EQ(latest->text(1), QString::fromUtf8("3位"));
    EXPECT_EQ(latest->text(2), "-12");
    EXPECT_EQ(latest->text(3), QString::fromUtf8("zelvan1.fu (第2局)"));

    w.ReplayButton->click();
    w.GameList->setCurrentItem(w.GameList->topLevelItem(1));
    w.ReviewButton->click();
    const auto starts = starter.Starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].commandLine, "plview.exe " + record);
    EXPECT_EQ(starts[1].commandLine, "pad.exe --seat 2 \"" + record + "\"");
    EXPECT_EQ(starts[1].showMode, 5);
}

// Without a three-player results file the window is as before; with one, a
// サンマ choice shows those games apart, on three places.
TEST_F(StatisticsWindowTest, ThreePlayerResultsHaveTheirOwnChoice) {
    dir.Write("usr/alice/alice.res", "result: 4 -30 0 5 0 0 0 0 0 0 0 0\r\n");
    dir.Write("usr/alice/zelvan1.fu", "game: 1\r\nplayer: 0 alice alice\r\nfinal: 0 4 9000 -41 0\r\n");
    {
        TStatisticsWindow before(nullptr, "alice");
        before.show();
        EXPECT_FALSE(before.SanmaChoice->isVisible());
        EXPECT_EQ(before.GameList->topLevelItemCount(), 1);
    }
    dir.Write("usr/alice/alice.sanma.res",
              "result: 1 40 0 6 1 0 0 0 8000 1 0 0\r\nresult: 3 -30 0 5 0 0 0 0 0 0 0 0\r\n");
    dir.Write("usr/alice/sanma1.fu",
              "game: 1\r\nrules: tonpu=1 sanma=1\r\nplayer: 0 alice alice\r\nfinal: 0 1 50000 40 0\r\n");
    TStatisticsWindow w(nullptr, "alice");
    w.show();
    ASSERT_TRUE(w.SanmaChoice->isVisible());
    EXPECT_EQ(w.SanmaChoice->text(), QString::fromUtf8("サンマ"));
    w.SoloChoice->setChecked(true);
    EXPECT_EQ(Figure(w, "GameCount"), "1");
    EXPECT_EQ(w.GameList->topLevelItemCount(), 1);  // the four-player record only
    EXPECT_EQ(w.Rates->Bars().size(), 8u);

    w.SanmaChoice->setChecked(true);
    EXPECT_EQ(Figure(w, "GameCount"), "2");
    EXPECT_EQ(Figure(w, "FirstRate"), "50.0%");
    EXPECT_FALSE(w.Figures->findChild<QLabel*>("FourthRate")->isVisible());
    ASSERT_EQ(w.Rates->Bars().size(), 7u);
    EXPECT_EQ(w.Rates->Bars()[2].name, QString::fromUtf8("3位率"));
    EXPECT_EQ(w.Rates->Bars()[3].name, QString::fromUtf8("和了率"));
    ASSERT_EQ(w.GameList->topLevelItemCount(), 1);
    EXPECT_TRUE(w.GameList->topLevelItem(0)->text(3).startsWith("sanma1.fu"));

    w.NetworkChoice->setChecked(true);
    EXPECT_TRUE(w.Figures->findChild<QLabel*>("FourthRate")->isVisible());
}

TEST_F(StatisticsWindowTest, WindowsDieWithTheirOwner) {
    dir.Write("usr/alice/alice.pf", "");
    auto* box = new TPlayerInfoBox(nullptr, true);
    SelectPlayer(*box, "alice");
    box->StatsButton->click();
    auto windows = box->findChildren<TStatisticsWindow*>();
    ASSERT_EQ(windows.size(), 1);
    QPointer<TStatisticsWindow> window(windows.front());
    window->CloseButton->click();
    EXPECT_FALSE(window->isVisible());
    delete box;
    EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace zv
