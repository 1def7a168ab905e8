#include "rules/gui/char_assoc_box.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/nuclear.h"
#include "rules/gui/characters.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

class CharAssocBoxTest : public test::LauncherFixture {
protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        ResetCharAssocBoxForTests();
    }
    void TearDown() override {
        ResetCharAssocBoxForTests();
        LauncherFixture::TearDown();
    }

    static const NucNode* PairList(int count) {
        std::string text = "(";
        for (int i = 1; i <= count; ++i)
            text += "(\"c" + std::to_string(i) + "\" \"p" + std::to_string(i) + ".exe\") ";
        NucOpen(text + ")");
        return NucRead();
    }

    // Runs the dialog; `edit` acts on it while it is shown, then it closes.
    void Run(const NucNode* list, std::function<void(TCharAssocBox*)> edit = {}) {
        auto shown = test::WhenShown("TCharAssocBox", [&](QWidget* window) {
            auto* box = qobject_cast<TCharAssocBox*>(window);
            if (edit) edit(box);
            box->CloseButton->click();
        });
        RunCharAssocBox(nullptr, list);
        ASSERT_TRUE(*shown);
    }

    static std::string Pieces(int from, int to) {
        std::string text;
        for (int i = from; i <= to; ++i)
            text += " (\"c" + std::to_string(i) + "\" \"p" + std::to_string(i) + ".exe\") ";
        return text;
    }
};

TEST_F(CharAssocBoxTest, TwentyOfTwentyFivePairsSurviveTheDialog) {
    const NucNode* list = PairList(25);
    EXPECT_EQ(CharAssocText(list), "(" + Pieces(1, 25) + " )");  // not shown yet: the file's list
    CharAssocPairs shown;
    Run(list, [&](TCharAssocBox* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("麻雀  キャラクタの関連づけ"));
        EXPECT_EQ(box->Grid->rowCount(), 20);
        EXPECT_EQ(box->Grid->columnCount(), 2);
        EXPECT_EQ(box->Grid->horizontalHeaderItem(0)->text(), QStringLiteral("キャラクタ"));
        EXPECT_EQ(box->Grid->horizontalHeaderItem(1)->text(), QStringLiteral("プログラム名"));
        EXPECT_TRUE(box->Label1->text().contains(QStringLiteral("zvauto.exeが仮定されます。")));
        EXPECT_TRUE(box->Label2->text().startsWith(QStringLiteral("zvauto.exe以外")));
        EXPECT_TRUE(box->Grid->item(0, 0)->flags() & Qt::ItemIsEditable);
        shown = box->Rows();
    });
    ASSERT_EQ(shown.size(), 20u);
    EXPECT_EQ(shown[19], (std::pair<std::string, std::string>{"c20", "p20.exe"}));
    EXPECT_EQ(CharAssocText(list), "(" + Pieces(1, 20) + ")");

    // launch.nuc stores what the dialog left.
    Settings().charassoc = list;
    bool found = false;
    for (const std::string& line : LaunchNucLines(Settings()))
        if (line.rfind("(define charassoc ", 0) == 0) {
            found = true;
            EXPECT_EQ(line, "(define charassoc (" + Pieces(1, 20) + "))");
        }
    EXPECT_TRUE(found);
}

TEST_F(CharAssocBoxTest, RowsWithAnEmptyCellAreDropped) {
    Run(PairList(3), [](TCharAssocBox* box) {
        box->Grid->item(1, 1)->setText("");       // character without a program
        box->Grid->item(5, 1)->setText("x.exe");  // program without a character
        box->Grid->item(7, 0)->setText("new");
        box->Grid->item(7, 1)->setText("new.exe");
    });
    EXPECT_EQ(CharAssocText(nullptr), "( (\"c1\" \"p1.exe\")  (\"c3\" \"p3.exe\")  (\"new\" \"new.exe\") )");
}

TEST_F(CharAssocBoxTest, TheDialogIsKeptWithItsCellsForTheRun) {
    Run(PairList(2), [](TCharAssocBox* box) { box->Grid->item(0, 1)->setText("edited.exe"); });
    TCharAssocBox* first = CurrentCharAssocBox();
    ASSERT_NE(first, nullptr);
    // A later opening ignores the list it is given and shows the same cells.
    Run(PairList(5), [&](TCharAssocBox* box) {
        EXPECT_EQ(box, first);
        EXPECT_EQ(box->Grid->item(0, 1)->text(), QStringLiteral("edited.exe"));
        EXPECT_EQ(box->Grid->item(2, 0)->text(), QString());
    });
    EXPECT_EQ(CharAssocText(PairList(5)), "( (\"c1\" \"edited.exe\")  (\"c2\" \"p2.exe\") )");
}

TEST_F(CharAssocBoxTest, ATextInTheMiddleOfBeingTypedIsKept) {
    Run(nullptr, [](TCharAssocBox* box) {
        box->Grid->item(0, 0)->setText("typed");
        box->Grid->setCurrentCell(0, 1);
        box->Grid->editItem(box->Grid->item(0, 1));
        auto* editor = qobject_cast<QLineEdit*>(box->Grid->indexWidget(box->Grid->currentIndex()));
        ASSERT_NE(editor, nullptr);
        editor->setText("half.exe");
        box->close();  // the close box, not the button
    });
    EXPECT_EQ(CharAssocText(nullptr), "( (\"typed\" \"half.exe\") )");
}

}  // namespace
}  // namespace zv
