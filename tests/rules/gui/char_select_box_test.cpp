#include "rules/gui/char_select_box.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "game/gui/zelvan1_box.h"
#include "rules/gui/characters.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

class CharSelectBoxTest : public test::LauncherFixture {
protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        Settings().UserName = "guest";
        Settings().UserDir = UserDir();
        for (const char* name : {"alpha", "beta", "gamma", "delta", "eps"}) AddCharacter(name);
        dir.Write("usr/_default/_16.bmp", "not used");
        dir.Write("usr/readme.txt", "a plain file");
        SaveFace("usr/_default/_default.bmp", Qt::gray);
        SaveFace("usr/alpha/alpha.bmp", Qt::red);
    }
    void TearDown() override {
        SetCharSelectCallback(nullptr);
        LauncherFixture::TearDown();
    }

    void AddCharacter(const std::string& name) { dir.Write("usr/" + name + "/" + name + ".pf", ""); }
    void SaveFace(const std::string& path, Qt::GlobalColor colour) {
        QImage face(48, 48, QImage::Format_RGB32);
        face.fill(colour);
        ASSERT_TRUE(face.save(QString::fromStdString(dir.Path(path)), "BMP"));
    }

    static QStringList Captions(const QListWidget* list) {
        QStringList captions;
        for (int i = 0; i < list->count(); ++i) captions << list->item(i)->text();
        return captions;
    }
    static void Pick(QListWidget* list, const QString& caption) {
        list->setCurrentItem(list->findItems(caption, Qt::MatchExactly).front());
    }
};

TEST_F(CharSelectBoxTest, ListsCharactersWithTheirFaces) {
    TCharSelectBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  キャラクタ選択"));
    EXPECT_EQ(Captions(box.ListView), (QStringList{"alpha", "beta", "delta", "eps", "gamma"}));
    EXPECT_EQ(box.ListView->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(box.ListView->viewMode(), QListView::IconMode);
    EXPECT_EQ(box.ListView->iconSize(), QSize(48, 48));
    // alpha has its own face, beta falls back to the shared one.
    QImage alpha = box.ListView->item(0)->icon().pixmap(48, 48).toImage();
    QImage beta = box.ListView->item(1)->icon().pixmap(48, 48).toImage();
    EXPECT_EQ(QColor(alpha.pixel(24, 24)), QColor(Qt::red));
    EXPECT_EQ(QColor(beta.pixel(24, 24)), QColor(Qt::gray));
    box.show();
    EXPECT_FALSE(box.ReadFaceCheckBox->isVisible());
    EXPECT_TRUE(box.ReadFaceCheckBox->isChecked());
    EXPECT_EQ(box.ReadFaceCheckBox->toolTip(), QStringLiteral("次回有効になります"));
}

TEST_F(CharSelectBoxTest, WithoutReadFaceOnlyCaptionsAreShown) {
    Settings().readface = 0;
    TCharSelectBox box(nullptr);
    ASSERT_EQ(box.ListView->count(), 5);
    for (int i = 0; i < box.ListView->count(); ++i) EXPECT_TRUE(box.ListView->item(i)->icon().isNull());
    EXPECT_FALSE(box.ReadFaceCheckBox->isChecked());
    box.ReadFaceCheckBox->setChecked(true);
    box.CancelButton->click();
    EXPECT_EQ(Settings().readface, 1);
    EXPECT_EQ(box.result(), QDialog::Rejected);
}

TEST_F(CharSelectBoxTest, ViewStylesFollowTheSettingAndTheMenu) {
    Settings().liststyle = "small";
    TCharSelectBox box(nullptr);
    EXPECT_EQ(box.ListView->viewMode(), QListView::ListMode);
    EXPECT_EQ(box.ListView->iconSize(), QSize(16, 16));
    EXPECT_EQ(box.NormalMenu->text(), QStringLiteral("フェイス"));
    EXPECT_EQ(box.ListMenu->text(), QStringLiteral("リスト"));

    box.NormalMenu->trigger();
    EXPECT_EQ(Settings().liststyle, "normal");
    EXPECT_EQ(box.ListView->viewMode(), QListView::IconMode);
    EXPECT_EQ(box.ListView->iconSize(), QSize(48, 48));

    box.ListMenu->trigger();
    EXPECT_EQ(Settings().liststyle, "list");
    EXPECT_EQ(box.ListView->viewMode(), QListView::ListMode);
    EXPECT_EQ(box.ListView->flow(), QListView::TopToBottom);
    EXPECT_TRUE(box.ListView->item(0)->icon().isNull());  // names only
    box.NormalMenu->trigger();
    EXPECT_FALSE(box.ListView->item(0)->icon().isNull());  // faces are back
}

TEST_F(CharSelectBoxTest, EachNewPickIsReportedOnce) {
    std::vector<std::string> picks;
    SetCharSelectCallback([&](const std::string& name) { picks.push_back(name); });
    TCharSelectBox box(nullptr);
    Pick(box.ListView, "beta");
    Pick(box.ListView, "beta");
    box.ListView->item(1)->setSelected(true);
    Pick(box.ListView, "gamma");
    Pick(box.ListView, "beta");
    EXPECT_EQ(picks, (std::vector<std::string>{"beta", "gamma", "beta"}));

    // A selected item that is not the current one is remembered unreported.
    box.ListView->setCurrentItem(box.ListView->item(0), QItemSelectionModel::NoUpdate);
    box.ListView->clearSelection();
    box.ListView->item(3)->setSelected(true);  // eps, current stays alpha
    EXPECT_EQ(picks.size(), 3u);
    box.ListView->setCurrentItem(box.ListView->item(3), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(picks.size(), 3u);
}

TEST_F(CharSelectBoxTest, WithoutCallbackPicksAreOnlyRemembered) {
    TCharSelectBox box(nullptr);
    Pick(box.ListView, "alpha");
    std::vector<std::string> picks;
    SetCharSelectCallback([&](const std::string& name) { picks.push_back(name); });
    Pick(box.ListView, "alpha");  // already remembered
    Pick(box.ListView, "beta");
    EXPECT_EQ(picks, (std::vector<std::string>{"beta"}));
}

TEST_F(CharSelectBoxTest, FivePicksFillTheOpponentSlotsInTurn) {
    int picks = 0;
    dir.Write("usr/eps/eps.cha", "eps description\r\n");
    TZelvan1Box game(nullptr, picks);
    game.move(80, 60);
    game.show();
    QPoint placed;
    auto shown = test::WhenShown("TCharSelectBox", [&](QWidget* window) {
        auto* box = qobject_cast<TCharSelectBox*>(window);
        placed = box->pos();
        for (const char* name : {"alpha", "beta", "gamma", "delta", "eps"}) Pick(box->ListView, name);
        box->CancelButton->click();
    });
    game.CharSelectButton->click();
    ASSERT_TRUE(*shown);
    EXPECT_EQ(placed, QPoint(game.frameGeometry().left(), game.frameGeometry().bottom() + 1));
    EXPECT_EQ(game.player1->text(), QStringLiteral("delta"));
    EXPECT_EQ(game.player2->text(), QStringLiteral("eps"));
    EXPECT_EQ(game.player3->text(), QStringLiteral("gamma"));
    EXPECT_EQ(Settings().player1, "delta");
    EXPECT_EQ(Settings().player2, "eps");
    EXPECT_EQ(Settings().player3, "gamma");
    EXPECT_EQ(game.Image2->toolTip(), QStringLiteral("eps description"));
    EXPECT_FALSE(game.Image1->pixmap().isNull());  // the shared face
    EXPECT_EQ(picks, 5);

    // Reopening continues with the third slot.
    auto again = test::WhenShown("TCharSelectBox", [&](QWidget* window) {
        auto* box = qobject_cast<TCharSelectBox*>(window);
        Pick(box->ListView, "alpha");
        box->close();
    });
    game.CharSelectButton->click();
    ASSERT_TRUE(*again);
    EXPECT_EQ(game.player3->text(), QStringLiteral("alpha"));
    EXPECT_EQ(QColor(game.Image3->pixmap().toImage().pixel(24, 24)), QColor(Qt::red));
}

}  // namespace
}  // namespace zv
