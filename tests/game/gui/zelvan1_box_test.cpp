#include "game/gui/zelvan1_box.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "rules/gui/char_select_box.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

class Zelvan1BoxTest : public test::LauncherFixture {
protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        Settings().UserName = "guest";
        Settings().UserDir = UserDir();
        Settings().LayoutOption = " -T small";
    }

    static std::string Caption(TZelvan1Box& box, int slot) {
        QLabel* labels[] = {box.player1, box.player2, box.player3};
        return labels[slot]->text().toStdString();
    }

    int picks = 0;  // the run's count of picked characters
};

TEST_F(Zelvan1BoxTest, ShowsTheUserAndTheOpponentsOfTheSettings) {
    QImage face(4, 4, QImage::Format_RGB32);
    face.fill(Qt::red);
    std::filesystem::create_directories(dir.Path("usr/_min"));
    ASSERT_TRUE(face.save(QString::fromStdString(dir.Path("usr/_min/_min.bmp")), "BMP"));
    Settings().player3 = "";

    TZelvan1Box box(nullptr, picks);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  ひとり遊び"));
    EXPECT_EQ(box.UserName->text(), QStringLiteral("guest"));
    EXPECT_EQ(Caption(box, 0), "_todo");
    EXPECT_EQ(Caption(box, 1), "_min");
    EXPECT_EQ(Caption(box, 2), "");
    // Only _min has a face, and no shared face exists.
    EXPECT_TRUE(box.Image1->pixmap().isNull());
    EXPECT_FALSE(box.Image2->pixmap().isNull());
    EXPECT_EQ(box.Image1->size(), QSize(48, 48));
    box.show();
    EXPECT_FALSE(box.CancelButton->isVisible());
    EXPECT_TRUE(box.OKButton->isVisible());
}

TEST_F(Zelvan1BoxTest, OkStoresTheCaptionsAndSendsEmptyOnesAsAuto) {
    Settings().player2 = "";
    auto box = std::make_unique<TZelvan1Box>(nullptr, picks);
    box->player1->setText(QStringLiteral("alice"));
    box->OKButton->click();
    EXPECT_EQ(Settings().player1, "alice");
    EXPECT_EQ(Settings().player2, "");
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, "zelvan1.exe  -T small -B \"" + UserDir() +
                                                 "\" -c  -n guest -Q  -l \"" + UserDir() +
                                                 "/zelvan1.fu\" -u alice -u auto -u _wizard");
    EXPECT_EQ(box->result(), QDialog::Accepted);

    // A failed start closes the dialog all the same.
    starter.result = 2;
    box = std::make_unique<TZelvan1Box>(nullptr, picks);
    box->OKButton->click();
    EXPECT_EQ(box->result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
}

TEST_F(Zelvan1BoxTest, PicksFillTheSlotsInTurnAcrossDialogs) {
    {
        TZelvan1Box box(nullptr, picks);
        for (const char* name : {"a", "b", "c", "d"}) box.PickOpponent(name);
        EXPECT_EQ(Caption(box, 0), "d");
        EXPECT_EQ(Caption(box, 1), "b");
        EXPECT_EQ(Caption(box, 2), "c");
        box.close();  // closed without OK: the picks stay in the settings
    }
    EXPECT_EQ(Settings().player1, "d");
    EXPECT_EQ(Settings().player2, "b");
    EXPECT_EQ(Settings().player3, "c");
    EXPECT_EQ(picks, 4);

    TZelvan1Box again(nullptr, picks);
    again.PickOpponent("e");
    EXPECT_EQ(Caption(again, 1), "e");
    EXPECT_EQ(Settings().player2, "e");
    EXPECT_TRUE(starter.starts.empty());
}

TEST_F(Zelvan1BoxTest, PicksAfterTheDialogIsGoneAreIgnored) {
    for (const char* name : {"x", "y"}) dir.Write(std::string("usr/") + name + "/" + name + ".pf", "");
    dir.Write("usr/y/y.cha", "about y\r\n");
    {
        TZelvan1Box box(nullptr, picks);
        test::WhenShown("TCharSelectBox", [](QWidget* select) {
            auto* list = select->findChild<QListWidget*>("ListView");
            for (const char* name : {"x", "y"})
                list->setCurrentItem(list->findItems(name, Qt::MatchExactly).front());
            select->close();
        });
        box.CharSelectButton->click();
        EXPECT_EQ(Caption(box, 0), "x");
        EXPECT_EQ(Caption(box, 1), "y");
        EXPECT_EQ(box.Image2->toolTip(), QStringLiteral("about y"));
    }
    // The selection dialog's callback slot still holds the freed dialog's.
    TCharSelectBox late(nullptr);
    late.ListView->setCurrentItem(late.ListView->findItems("x", Qt::MatchExactly).front());
    EXPECT_EQ(picks, 2);
    EXPECT_EQ(Settings().player3, "_wizard");
}

TEST_F(Zelvan1BoxTest, DescriptionThatLooksLikeMarkupIsShownAsWritten) {
    dir.Write("usr/_todo/_todo.cha", "<h1>_todo</h1> & co\r\n");
    TZelvan1Box box(nullptr, picks);
    QString tip = box.Image1->toolTip();
    EXPECT_TRUE(tip.contains("&lt;h1&gt;")) << tip.toStdString();
    EXPECT_FALSE(tip.contains("<h1>")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("&amp; co"));
}

TEST_F(Zelvan1BoxTest, RecordOptionStoresOneOrZeroHoweverClosed) {
    Settings().zelvan1haihu = 5;
    Settings().serverhaihu = 0;
    QWidget owner;
    bool wasChecked = false;
    QString title;
    test::WhenShown("TMajOptionBox", [&](QWidget* box) {
        title = box->windowTitle();
        auto* check = test::Child<QCheckBox>(box, "haifubutton");
        wasChecked = check->isChecked();
        box->close();
    });
    EditRecordOption(&owner, 1);
    EXPECT_EQ(title, QStringLiteral("麻雀  牌譜設定"));
    EXPECT_TRUE(wasChecked);
    EXPECT_EQ(Settings().zelvan1haihu, 1);

    test::WhenShown("TMajOptionBox", [&](QWidget* box) {
        auto* check = test::Child<QCheckBox>(box, "haifubutton");
        wasChecked = check->isChecked();
        check->click();
        test::Child<QPushButton>(box, "OKbutton")->click();
    });
    EditRecordOption(&owner, 0);
    EXPECT_FALSE(wasChecked);
    EXPECT_EQ(Settings().serverhaihu, 1);
    EXPECT_EQ(Settings().zelvan1haihu, 1);
}

}  // namespace
}  // namespace zv
