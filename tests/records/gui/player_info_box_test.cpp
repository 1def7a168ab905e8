#include "records/gui/player_info_box.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "support/launcher_fixture.h"

namespace zv {
namespace {

class PlayerInfoBoxTest : public test::LauncherFixture {
protected:
    void SelectPlayer(TPlayerInfoBox& box, const QString& name) {
        auto found = box.ListView->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        box.ListView->setCurrentItem(found.front());
    }

    QString Label(QWidget* window, const char* name) {
        auto* label = window->findChild<QLabel*>(name);
        return label == nullptr ? QStringLiteral("<missing>") : label->text();
    }
};

std::string Yaku16(char digit) {
    std::string word(60, '0');
    word[16] = digit;
    return "yaku: " + word + "\r\n";
}

TEST_F(PlayerInfoBoxTest, ListsPlayersWithoutDefaultAndHidesRatingAndFileChoice) {
    dir.Write("usr/alice/alice.pf", "");
    dir.Write("usr/bob/bob.pf", "");
    dir.Write("usr/_default/_default.bmp", "");
    dir.Write("usr/loose.res", "");
    TPlayerInfoBox box(nullptr);
    QStringList names;
    for (int i = 0; i < box.ListView->count(); ++i) names << box.ListView->item(i)->text();
    names.sort();
    EXPECT_EQ(names, (QStringList{"alice", "bob"}));
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8("麻雀  プレーヤ情報"));
    EXPECT_FALSE(box.PointButton->isVisibleTo(&box));
    EXPECT_FALSE(box.ClientCheck->isVisibleTo(&box));
    EXPECT_TRUE(box.ClientCheck->isChecked());
    EXPECT_EQ(box.OKButton->text(), QString::fromUtf8("統計"));
}

TEST_F(PlayerInfoBoxTest, ViewMenuSwitchesStyleAndStoresIt) {
    dir.Write("usr/alice/alice.pf", "");
    Settings().liststyle = "small";
    TPlayerInfoBox box(nullptr);
    EXPECT_EQ(box.ListView->viewMode(), QListView::ListMode);
    EXPECT_EQ(box.ListView->flow(), QListView::LeftToRight);

    box.ListMenu->trigger();
    EXPECT_EQ(Settings().liststyle, "list");
    EXPECT_EQ(box.ListView->viewMode(), QListView::ListMode);
    EXPECT_EQ(box.ListView->flow(), QListView::TopToBottom);

    box.FaceMenu->trigger();
    EXPECT_EQ(Settings().liststyle, "normal");
    EXPECT_EQ(box.ListView->viewMode(), QListView::IconMode);
}

TEST_F(PlayerInfoBoxTest, FacesAreShownOnlyWhenFacesAreRead) {
    dir.Write("usr/alice/alice.pf", "");
    dir.Write("usr/_default/_default.bmp", "");
    QImage face(32, 32, QImage::Format_RGB32);
    face.fill(Qt::red);
    ASSERT_TRUE(face.save(QString::fromStdString(dir.path() + "/usr/_default/_default.bmp"), "BMP"));
    Settings().hicolorchar = 1;
    Settings().liststyle = "normal";
    auto aliceIcon = [](TPlayerInfoBox& box) {
        auto found = box.ListView->findItems("alice", Qt::MatchExactly);
        return found.size() == 1 ? found.front()->icon() : QIcon();
    };
    {
        Settings().readface = 0;
        TPlayerInfoBox box(nullptr);
        EXPECT_TRUE(aliceIcon(box).isNull());
    }
    Settings().readface = 1;
    TPlayerInfoBox box(nullptr);
    EXPECT_FALSE(aliceIcon(box).isNull());  // the shared face stands in for her own
    EXPECT_EQ(box.ListView->count(), 1);
    // The plain list shows names only; the face view brings the faces back.
    box.ListMenu->trigger();
    EXPECT_TRUE(aliceIcon(box).isNull());
    box.FaceMenu->trigger();
    EXPECT_FALSE(aliceIcon(box).isNull());
}

TEST_F(PlayerInfoBoxTest, NoSelectionOrNoResultsFileTellsTheUser) {
    dir.Write("usr/alice/alice.pf", "");
    TPlayerInfoBox box(nullptr);
    box.OKButton->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "message");
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{"麻雀  コンピュータプレーヤの選択", "プレーヤが選択されていません"}));

    SelectPlayer(box, "alice");
    box.OKButton->click();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[1].kind, "error");
    EXPECT_EQ(dialogs.calls[1].texts, (std::vector<std::string>{"麻雀  コンピュータプレーヤの選択", "alice",
                                                                "成績ﾌｧｲﾙを読み込めません"}));
    EXPECT_TRUE(box.findChildren<TShowPlayerBox*>().isEmpty());
}

TEST_F(PlayerInfoBoxTest, StatisticsWindowShowsTotalsAveragesAndYaku) {
    dir.Write("usr/alice/zvclient.res",
              "result: 1 25 2 10 3 4 3000 2 0 0 0 0\r\n"
              "result: 3 -10 0 12 1 2 1000 1 0 0 0 0\r\n" +
                  Yaku16('2'));
    TPlayerInfoBox box(nullptr);
    SelectPlayer(box, "alice");
    box.OKButton->click();
    EXPECT_TRUE(dialogs.calls.empty());
    auto windows = box.findChildren<TShowPlayerBox*>();
    ASSERT_EQ(windows.size(), 1);
    TShowPlayerBox* stats = windows.front();
    EXPECT_TRUE(stats->isVisible());
    EXPECT_FALSE(stats->isModal());
    EXPECT_EQ(stats->windowTitle(), QString::fromUtf8("麻雀  プレーヤ情報"));
    EXPECT_EQ(Label(stats, "PlayerName"), "alice");
    EXPECT_EQ(Label(stats, "TotalGame"), "2");
    EXPECT_EQ(Label(stats, "TotalPlay"), "22");
    EXPECT_EQ(Label(stats, "TotalPoint"), "15");
    EXPECT_EQ(Label(stats, "TotalTip"), "2");
    EXPECT_EQ(Label(stats, "TotalMoney"), "2500");
    EXPECT_EQ(Label(stats, "First"), "1");
    EXPECT_EQ(Label(stats, "Second"), "0");
    EXPECT_EQ(Label(stats, "Third"), "1");
    EXPECT_EQ(Label(stats, "Fourth"), "0");
    EXPECT_EQ(Label(stats, "TumoCount"), "3");
    EXPECT_EQ(Label(stats, "ReachCount"), "4");
    EXPECT_EQ(Label(stats, "NakiCount"), "6");
    EXPECT_EQ(Label(stats, "TumoAve"), "1333");
    EXPECT_EQ(Label(stats, "RonAve"), "");  // no ron wins: empty, not "0"
    EXPECT_EQ(Label(stats, "FuriAve"), "");
    ASSERT_EQ(stats->YakuListBox->count(), 1);
    EXPECT_EQ(stats->YakuListBox->item(0)->text(), QString::fromUtf8("リーチ") + QString(14, ' ') + "2");
}

TEST_F(PlayerInfoBoxTest, PowerUpShowsTheFileChoiceAndTheRating) {
    TPlayerInfoBox box(nullptr, true);
    for (QWidget* shown : std::initializer_list<QWidget*>{box.ClientCheck, box.Zelvan1Check, box.PointButton})
        EXPECT_TRUE(shown->isVisibleTo(&box)) << shown->objectName().toStdString();
    EXPECT_TRUE(box.ClientCheck->isChecked());
    box.Zelvan1Check->click();
    EXPECT_FALSE(box.ClientCheck->isChecked());
}

TEST_F(PlayerInfoBoxTest, OnePlayerChoiceReadsTheOtherFile) {
    dir.Write("usr/alice/zvclient.res", "result: 1 25 2\n");
    dir.Write("usr/alice/alice.res", "result: 4 -5 0\nresult: 4 -5 0\nresult: 2 3 0\n");
    TPlayerInfoBox box(nullptr);
    box.Zelvan1Check->setChecked(true);
    SelectPlayer(box, "alice");
    box.OKButton->click();
    auto windows = box.findChildren<TShowPlayerBox*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(Label(windows.front(), "TotalGame"), "3");
    EXPECT_EQ(Label(windows.front(), "Fourth"), "2");
}

TEST_F(PlayerInfoBoxTest, SeveralWindowsStayOpenAndDieWithTheirOwner) {
    dir.Write("usr/alice/zvclient.res", "result: 1 25 2\n");
    dir.Write("usr/bob/zvclient.res", "");
    auto* box = new TPlayerInfoBox(nullptr);
    SelectPlayer(*box, "alice");
    box->OKButton->click();
    SelectPlayer(*box, "bob");
    box->OKButton->click();
    auto windows = box->findChildren<TShowPlayerBox*>();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_TRUE(windows[0]->isVisible());
    EXPECT_TRUE(windows[1]->isVisible());
    EXPECT_EQ(Label(windows[1], "PlayerName"), "bob");
    EXPECT_EQ(Label(windows[1], "TotalGame"), "0");

    windows[0]->OkButton->click();  // hides, keeps the window
    EXPECT_FALSE(windows[0]->isVisible());
    QPointer<TShowPlayerBox> first(windows[0]), second(windows[1]);
    delete box;
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST_F(PlayerInfoBoxTest, RatingWindowShowsSumsAndAttributeClass) {
    std::string word(60, '0');
    word[3] = '2';  // four concealed triplets twice: attribute +2000
    dir.Write("usr/alice/zvclient.res", "result: 1 10 0\nyaku: " + word + "\n");
    TPlayerInfoBox box(nullptr);
    SelectPlayer(box, "alice");
    box.PointButtonClick();
    auto windows = box.findChildren<TShowPointBox*>();
    ASSERT_EQ(windows.size(), 1);
    TShowPointBox* points = windows.front();
    EXPECT_TRUE(points->isVisible());
    EXPECT_EQ(points->windowTitle(), QString::fromUtf8("麻雀  ポイントの表示"));
    EXPECT_EQ(Label(points, "user"), "alice");
    EXPECT_EQ(Label(points, "tech"), QString::number(-40 + 9));
    EXPECT_EQ(Label(points, "luck"), QString::number(1400 - 8));
    EXPECT_EQ(Label(points, "strength"), QString::number(60 + 8));
    EXPECT_EQ(Label(points, "attr"), "Angel");
    points->CloseButton->click();
    EXPECT_FALSE(points->isVisible());
}

}  // namespace
}  // namespace zv
