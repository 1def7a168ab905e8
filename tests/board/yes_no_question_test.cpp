// The engines' yes/no question: Japanese answers, "no" unless the player
// says yes.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "qtcommon/engine_widgets.h"
#include "support/modal.h"

namespace zv::test {
namespace {

QAbstractButton* ButtonWithText(QWidget* box, const QString& text) {
    for (auto* button : box->findChildren<QAbstractButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

TEST(EngineYesNoTest, AnswersAreJapaneseAndOnlyYesSaysYes) {
    QString question;
    bool noIsDefault = false;
    auto shown = WhenShown("EngineYesNoBox", [&](QWidget* widget) {
        auto* box = static_cast<QMessageBox*>(widget);
        question = box->text();
        noIsDefault = static_cast<QAbstractButton*>(box->defaultButton()) ==
                      ButtonWithText(box, QStringLiteral("いいえ"));
        ASSERT_NE(ButtonWithText(box, QStringLiteral("はい")), nullptr);
        ButtonWithText(box, QStringLiteral("はい"))->click();
    });
    EXPECT_TRUE(engine::AskYesNo(nullptr, "title", QStringLiteral("ゲームを終了しますか？")));
    EXPECT_TRUE(*shown);
    EXPECT_EQ(question, QStringLiteral("ゲームを終了しますか？"));
    EXPECT_TRUE(noIsDefault);

    WhenShown("EngineYesNoBox", [](QWidget* box) { ButtonWithText(box, QStringLiteral("いいえ"))->click(); });
    EXPECT_FALSE(engine::AskYesNo(nullptr, "title", "x"));
}

}  // namespace
}  // namespace zv::test
