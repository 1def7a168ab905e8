#include "gui_common/message_boxes.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "support/modal.h"
#include "support/recording_dialogs.h"

namespace zv {
namespace {

using test::Child;
using test::WhenShown;

class MessageBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.move(200, 150);
        owner.resize(300, 80);
    }
    QWidget owner;
};

TEST_F(MessageBoxesTest, ErrorDialogShowsItsThreeTextsUnderItsOwnTitle) {
    QString title, what, failure, detail;
    QPoint position;
    auto shown = WhenShown("TErrorDialog", [&](QWidget* dialog) {
        title = dialog->windowTitle();
        what = Child<QLabel>(dialog, "cmdmsg")->text();
        failure = Child<QLabel>(dialog, "failmsg")->text();
        detail = Child<QLabel>(dialog, "msg")->text();
        position = dialog->pos();
        Child<QPushButton>(dialog, "OkButton")->click();
    });
    ShowErrorDialog(&owner, "/g/usr/guest", "ファイルをオープンできません", "");
    ASSERT_TRUE(*shown);
    EXPECT_EQ(title, QStringLiteral("麻雀  エラー"));
    EXPECT_EQ(what, QStringLiteral("/g/usr/guest"));
    EXPECT_EQ(failure, QStringLiteral("ファイルをオープンできません"));
    EXPECT_EQ(detail, QString());
    EXPECT_EQ(position, QPoint(250, 200));
}

TEST_F(MessageBoxesTest, MessageBoxTakesTheCallersTitle) {
    QString title, text;
    auto shown = WhenShown("TMsgBox", [&](QWidget* dialog) {
        title = dialog->windowTitle();
        text = Child<QLabel>(dialog, "Text")->text();
        dialog->close();
    });
    ShowMsgBox(&owner, "麻雀からのメッセージ", "今度遊ぼうね。");
    ASSERT_TRUE(*shown);
    EXPECT_EQ(title, QStringLiteral("麻雀からのメッセージ"));
    EXPECT_EQ(text, QStringLiteral("今度遊ぼうね。"));
}

TEST_F(MessageBoxesTest, YesNoIsYesOnlyForTheYesButton) {
    QString question;
    QStringList answers;
    WhenShown("TYesNoBox", [&](QWidget* dialog) {
        question = Child<QLabel>(dialog, "Text")->text();
        answers << Child<QPushButton>(dialog, "YesButton")->text()
                << Child<QPushButton>(dialog, "NoButton")->text();
        Child<QPushButton>(dialog, "YesButton")->click();
    });
    EXPECT_TRUE(AskYesNo(&owner, "Execute?", "zelvan1.exe -c"));
    EXPECT_EQ(question, QStringLiteral("zelvan1.exe -c"));
    EXPECT_EQ(answers, (QStringList{QStringLiteral("はい"), QStringLiteral("いいえ")}));

    WhenShown("TYesNoBox", [](QWidget* dialog) { Child<QPushButton>(dialog, "NoButton")->click(); });
    EXPECT_FALSE(AskYesNo(&owner, "Execute?", "x"));

    // The close box records no answer.
    auto shown = WhenShown("TYesNoBox", [](QWidget* dialog) { dialog->close(); });
    EXPECT_FALSE(AskYesNo(&owner, "Execute?", "x"));
    EXPECT_TRUE(*shown);
}

// Runs AskInputLine with `value`, lets `act` work on the dialog's edit and
// buttons, and returns the value afterwards.
std::string InputLine(QWidget* owner, std::string value, std::function<void(QWidget*, QLineEdit*)> act) {
    auto shown = WhenShown("TInputLineBox",
                           [act](QWidget* dialog) { act(dialog, Child<QLineEdit>(dialog, "InputEdit")); });
    AskInputLine(owner, "麻雀  名前", "名前", value);
    EXPECT_TRUE(*shown);
    return value;
}

TEST_F(MessageBoxesTest, InputLineKeepsTheValueUnlessTextIsTaken) {
    QString label, start;
    auto shown = WhenShown("TInputLineBox", [&](QWidget* dialog) {
        label = Child<QLabel>(dialog, "InputLabel")->text();
        start = Child<QLineEdit>(dialog, "InputEdit")->text();
        Child<QPushButton>(dialog, "OKButton")->click();
    });
    std::string value = "old";
    AskInputLine(&owner, "麻雀  名前", "名前", value);
    ASSERT_TRUE(*shown);
    EXPECT_EQ(label, QStringLiteral("名前"));
    EXPECT_EQ(start, QStringLiteral("old"));
    EXPECT_EQ(value, "old");

    auto typeAnd = [](const char* button) {
        return [button](QWidget* dialog, QLineEdit* edit) {
            edit->setText(QStringLiteral("新しい"));
            if (button == nullptr)
                dialog->close();
            else
                Child<QPushButton>(dialog, button)->click();
        };
    };
    EXPECT_EQ(InputLine(&owner, "old", typeAnd("OKButton")), "新しい");
    EXPECT_EQ(InputLine(&owner, "old", typeAnd("CancelButton")), "old");
    EXPECT_EQ(InputLine(&owner, "old", typeAnd(nullptr)), "新しい");  // close box acts like OK
    EXPECT_EQ(InputLine(&owner, "old",
                        [](QWidget* dialog, QLineEdit* edit) {
                            edit->clear();
                            Child<QPushButton>(dialog, "OKButton")->click();
                        }),
              "old");
}

TEST_F(MessageBoxesTest, PlaceBelowPutsTheWindowUnderItsOwner) {
    owner.show();
    QWidget below;
    PlaceBelow(&owner, &below);
    EXPECT_EQ(below.pos(), QPoint(owner.frameGeometry().left(), owner.frameGeometry().bottom() + 1));
    PlaceDialog(&owner, &below);
    EXPECT_EQ(below.pos(), owner.pos() + QPoint(50, 50));
}

TEST_F(MessageBoxesTest, OverrideReceivesEveryCallWithoutAWindow) {
    RecordingDialogs recorder;
    recorder.yesNoAnswers = {true};
    recorder.inputAnswers = {"typed"};
    SetDialogOverrideForTests(&recorder);
    WidgetDialogs dialogs(&owner);
    dialogs.ShowErrorDialog("a", "b", "c");
    ShowMsgBox(&owner, "t", "m");
    EXPECT_TRUE(AskYesNo(&owner, "q", "?"));
    std::string value = "v";
    dialogs.AskInputLine("i", "l", value);
    SetDialogOverrideForTests(nullptr);
    EXPECT_EQ(value, "typed");
    ASSERT_EQ(recorder.calls.size(), 4u);
    EXPECT_EQ(recorder.calls[0].texts, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(recorder.calls[3].kind, "input");
    EXPECT_EQ(test::FindVisibleWindow("TMsgBox"), nullptr);
}

}  // namespace
}  // namespace zv
