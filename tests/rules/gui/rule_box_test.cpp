#include "rules/gui/rule_box.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <filesystem>

#include "support/fault_env.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

using test::SaveFault;

const char kDefaultRulesFile[] =
    "#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\n"
    "param: tonpu = 1\r\n"
    "param: nopintumo = 0\r\nparam: noakadora = 0\r\nparam: nonakitan = 0\r\n"
    "param: nokanura = 0\r\nparam: nofly = 0\r\nparam: under = 0\r\n"
    "param: nonakiaka = 0\r\nparam: noallstars = 0\r\n"
    "param: startpoint = 25000\r\n"
    "param: yakuman-chip = 2\r\nparam: ippatu-chip = 1\r\n"
    "param: uradora-chip = 1\r\nparam: akadora-chip = 1\r\n"
    "param: atamahane = 0\r\nparam: nosancyaho = 0\r\nparam: nokuikae = 0\r\n"
    "param: pao = 0\r\nparam: 77mangan = 0\r\n"
    "param: uma = 10-20\r\n";

const char kRestartTitle[] = "麻雀 ルール設定";
const char kRestartText[] = "ゲームサーバーが起動している場合は起動しなおしてください。";

class RuleBoxTest : public test::LauncherFixture {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says
    void SetUp() override {
        LauncherFixture::SetUp();
        Settings().UserName = "guest";
        Settings().UserDir = UserDir();
        std::filesystem::create_directories(UserDir());
    }

    template <typename T>
    T* Find(TRuleBox& box, const char* name) {
        T* found = box.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(RuleBoxTest, NewUsersFirstSaveWritesTheDefaults) {
    TRuleBox box(nullptr);
    box.SetGameKind(1);
    box.show();
    box.SaveButton->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_EQ(dir.Read("usr/guest/zelvan1.pf"), kDefaultRulesFile);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("usr/guest/server.pf")));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(RuleBoxTest, ControlsCaptionsAndHiddenGameKind) {
    TRuleBox box(nullptr);
    box.SetGameKind(1);
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  ローカルルール設定"));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());

    auto* tabs = Find<QTabWidget>(box, "PageControl");
    ASSERT_EQ(tabs->count(), 4);
    const char* pages[] = {"ruleyaku", "rulegame", "ruletip", "ruleuma"};
    const QString captions[] = {QStringLiteral("役"), QStringLiteral("ゲーム運び"), QStringLiteral("チップ"),
                                QStringLiteral("ウマ")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), pages[i]);
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    }

    // Every key's control exists with its caption and explanation, and sits on a page.
    for (const RuleKey& entry : kRuleKeys) {
        if (entry.control == RuleControl::Flag) {
            auto* check = Find<QCheckBox>(box, entry.component);
            ASSERT_NE(check, nullptr);
            EXPECT_EQ(check->text(), QString::fromUtf8(entry.caption));
            EXPECT_FALSE(check->isChecked());
        } else if (entry.control == RuleControl::Text) {
            auto* combo = Find<QComboBox>(box, entry.component);
            ASSERT_NE(combo, nullptr);
            EXPECT_TRUE(combo->isEditable());
            EXPECT_EQ(combo->currentText(), QString::fromUtf8(entry.defaultValue));
        }
        if (*entry.explanation) {
            auto* label = Find<QLabel>(box, (std::string(entry.component) + "Label").c_str());
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), QString::fromUtf8(entry.explanation));
        }
        if (*entry.component) {
            QWidget* control = box.findChild<QWidget*>(entry.component);
            bool onPage = false;
            for (QWidget* page : {box.ruleyaku, box.rulegame, box.ruletip, box.ruleuma})
                onPage = onPage || page->isAncestorOf(control);
            EXPECT_TRUE(onPage) << entry.component;
        }
    }
    EXPECT_EQ(box.textBoxes["startpoint"]->count(), 8);
    EXPECT_EQ(box.textBoxes["startpoint"]->itemText(7), "30000");
    EXPECT_EQ(box.textBoxes["startpoint"]->toolTip(), QStringLiteral("ｹﾞｰﾑ開始時のﾌﾟﾚｰﾔそれぞれの持ち点"));
    EXPECT_EQ(box.textBoxes["akadora-chip"]->count(), 10);

    EXPECT_EQ(box.TonpuGroup->title(), QStringLiteral("荘の設定"));
    EXPECT_TRUE(box.TonpuButton->isChecked());
    EXPECT_EQ(box.TonnanButton->text(), QStringLiteral("東南戦"));
    EXPECT_EQ(box.UmaGroup->title(), QStringLiteral("ウマ(トップ賞)についての設定"));
    for (std::size_t i = 0; i < kUmaChoices.size(); ++i) {
        auto* uma = Find<QRadioButton>(box, kUmaChoices[i].component);
        ASSERT_NE(uma, nullptr);
        EXPECT_EQ(uma->text(), QString::fromUtf8(kUmaChoices[i].caption));
        EXPECT_EQ(uma->isChecked(), i == 2u);
    }

    EXPECT_EQ(box.GameGroup->title(), QStringLiteral("ルールを設定するゲーム"));
    EXPECT_FALSE(box.play1->isVisible());
    EXPECT_FALSE(box.play4->isVisible());
    EXPECT_TRUE(box.play1->isChecked());
    EXPECT_FALSE(box.play4->isEnabled());
    EXPECT_EQ(box.play4->toolTip(), QStringLiteral("ｹﾞｰﾑｻｰﾊﾞのﾙｰﾙ設定です"));
    EXPECT_EQ(box.SaveButton->text(), "OK");
    EXPECT_EQ(box.CancelButton->text(), QStringLiteral("閉じる"));
}

TEST_F(RuleBoxTest, OddValuesInTheFileAreShownAndSavedBack) {
    dir.Write("usr/guest/zelvan1.pf",
              "#!/bin/sh\r\n# zelvan personal file\r\n# params\r\n\r\n"
              "param: tonpu = 3\r\nparam: nofly = \r\nparam: pao = 1\r\nparam: noakadora = 0\r\n"
              "param: startpoint = \x82\x51\x96\x9c\r\n"  // "２万"
              "param: yakuman-chip = 15\r\nparam: uma = 20-40\r\nparam: mystery = 1\r\n");
    TRuleBox box(nullptr);
    box.SetGameKind(1);
    EXPECT_FALSE(box.TonpuButton->isChecked());
    EXPECT_FALSE(box.TonnanButton->isChecked());
    EXPECT_TRUE(box.flagBoxes["nofly"]->isChecked());
    EXPECT_TRUE(box.flagBoxes["pao"]->isChecked());
    EXPECT_FALSE(box.flagBoxes["noakadora"]->isChecked());
    EXPECT_EQ(box.textBoxes["startpoint"]->currentText(), QStringLiteral("２万"));
    EXPECT_EQ(box.textBoxes["yakuman-chip"]->currentText(), "15");
    EXPECT_EQ(box.textBoxes["ippatu-chip"]->currentText(), "1");
    EXPECT_TRUE(box.umaButtons[2]->isChecked());

    box.SaveButtonClick();
    std::string saved = dir.Read("usr/guest/zelvan1.pf");
    EXPECT_NE(saved.find("param: tonpu = 0\r\n"), std::string::npos);
    EXPECT_NE(saved.find("param: nofly = 1\r\n"), std::string::npos);
    EXPECT_NE(saved.find("param: startpoint = \x82\x51\x96\x9c\r\n"), std::string::npos);
    EXPECT_NE(saved.find("param: yakuman-chip = 15\r\n"), std::string::npos);
    EXPECT_NE(saved.find("param: uma = 10-20\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("mystery"), std::string::npos);
}

TEST_F(RuleBoxTest, TypedStartScoreIsKeptAsTyped) {
    {
        TRuleBox box(nullptr);
        box.SetGameKind(1);
        QComboBox* points = box.textBoxes["startpoint"];
        points->lineEdit()->clear();
        points->lineEdit()->insert(QStringLiteral("２８５００点"));
        points->lineEdit()->insert(QString::fromUtf8("\xF0\x9F\x80\x84"));  // not in the code page: refused
        EXPECT_EQ(points->currentText(), QStringLiteral("２８５００点"));
        box.TonnanButton->setChecked(true);
        box.umaButtons[4]->setChecked(true);
        box.flagBoxes["77mangan"]->setChecked(true);
        box.SaveButtonClick();
        EXPECT_EQ(points->count(), 8);  // typed text is not added to the items
    }
    TRuleBox again(nullptr);
    again.SetGameKind(1);
    EXPECT_EQ(again.textBoxes["startpoint"]->currentText(), QStringLiteral("２８５００点"));
    EXPECT_TRUE(again.TonnanButton->isChecked());
    EXPECT_TRUE(again.umaButtons[4]->isChecked());
    EXPECT_FALSE(again.umaButtons[2]->isChecked());
    EXPECT_TRUE(again.flagBoxes["77mangan"]->isChecked());
    EXPECT_NE(dir.Read("usr/guest/zelvan1.pf").find("param: uma = 7-5-3\r\n"), std::string::npos);
}

TEST_F(RuleBoxTest, OtherKindsEditTheServerRulesAndAskForARestart) {
    for (int kind : {0, 4, 2}) {
        dialogs.calls.clear();
        std::filesystem::remove(dir.Path("usr/guest/server.pf"));
        TRuleBox box(nullptr);
        box.SetGameKind(kind);
        EXPECT_TRUE(box.play4->isChecked());
        EXPECT_FALSE(box.play1->isEnabled());
        EXPECT_TRUE(box.play4->isEnabled());
        box.SaveButtonClick();
        EXPECT_EQ(dir.Read("usr/guest/server.pf"), kDefaultRulesFile) << kind;
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].kind, "message");
        EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{kRestartTitle, kRestartText}));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("usr/guest/zelvan1.pf")));
}

TEST_F(RuleBoxTest, EachKindLoadsItsOwnFile) {
    dir.Write("usr/guest/zelvan1.pf", "param: nofly = 1\r\n");
    dir.Write("usr/guest/server.pf", "param: pao = 1\r\n");
    TRuleBox one(nullptr);
    one.SetGameKind(1);
    EXPECT_TRUE(one.flagBoxes["nofly"]->isChecked());
    EXPECT_FALSE(one.flagBoxes["pao"]->isChecked());
    TRuleBox server(nullptr);
    server.SetGameKind(0);
    EXPECT_FALSE(server.flagBoxes["nofly"]->isChecked());
    EXPECT_TRUE(server.flagBoxes["pao"]->isChecked());
}

// Checks the rules file while the error dialog is up.
class FileCheckingDialogs : public RecordingDialogs {
public:
    FileCheckingDialogs(const test::TempDir& dir, std::string name) : dir_(dir), name_(std::move(name)) {}
    void ShowErrorDialog(const std::string& what, const std::string& failure,
                         const std::string& detail) override {
        RecordingDialogs::ShowErrorDialog(what, failure, detail);
        fileWhileShown = dir_.Read(name_);
    }
    std::string fileWhileShown;

private:
    const test::TempDir& dir_;
    std::string name_;
};

TEST_F(RuleBoxTest, WriteFailureKeepsTheOldFileAndStillCloses) {
    const std::string old = "#!/bin/sh\r\nparam: nofly = 1\r\n";
    for (int kind : {1, 0}) {
        std::string name = kind == 1 ? "usr/guest/zelvan1.pf" : "usr/guest/server.pf";
        dir.Write(name, old);
        FileCheckingDialogs checking(dir, name);
        SetDialogOverrideForTests(&checking);
        TRuleBox box(nullptr);
        box.SetGameKind(kind);
        box.show();
        box.flagBoxes["pao"]->setChecked(true);
        faults.Inject(SaveFault::Write);
        box.SaveButtonClick();
        faults.Inject(SaveFault::None);
        SetDialogOverrideForTests(&dialogs);

        auto errors = checking.Of("error");
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].texts, (std::vector<std::string>{dir.Path(name), "ファイルI/Oエラー",
                                                             "ファイルに書き出せません"}));
        EXPECT_EQ(checking.fileWhileShown, old);
        EXPECT_EQ(dir.Read(name), old);
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(checking.Of("message").size(), kind == 1 ? 0u : 1u);
        EXPECT_EQ(checking.calls.front().kind, "error");
    }
}

TEST_F(RuleBoxTest, CreateFailureKeepsTheDialogOpen) {
    dir.Write("usr/guest/zelvan1.pf", "param: nofly = 1\r\n");
    TRuleBox box(nullptr);
    box.SetGameKind(1);
    box.show();
    faults.Inject(SaveFault::Create);
    box.SaveButton->click();
    faults.Inject(SaveFault::None);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{UserDir() + "/zelvan1.pf", "ファイルオープンエラー",
                                        "ファイルをオープンできません"}));
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(dir.Read("usr/guest/zelvan1.pf"), "param: nofly = 1\r\n");

    // A missing user folder fails the same way.
    std::filesystem::remove_all(UserDir());
    box.SaveButton->click();
    EXPECT_EQ(dialogs.Of("error").size(), 2u);
    EXPECT_TRUE(box.isVisible());
}

TEST_F(RuleBoxTest, NoGameKindReadsAndWritesNothing) {
    TRuleBox box(nullptr);
    box.show();
    box.SaveButton->click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "error");
    EXPECT_EQ(dialogs.calls[0].texts,
              (std::vector<std::string>{"麻雀  ルール設定",
                                        "1人遊び、ネットワーク対戦のいずれかを指定してください", ""}));
    EXPECT_TRUE(std::filesystem::is_empty(UserDir()));
}

TEST_F(RuleBoxTest, CancelWritesNothing) {
    TRuleBox box(nullptr);
    box.SetGameKind(1);
    box.show();
    box.flagBoxes["nofly"]->setChecked(true);
    box.CancelButton->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);
    EXPECT_TRUE(std::filesystem::is_empty(UserDir()));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(RuleBoxTest, OpenedModallyBesideItsOwner) {
    QWidget owner;
    owner.move(200, 120);
    owner.show();
    QPoint placed;
    bool oneChecked = false;
    auto ran = test::WhenShown("TRuleBox", [&](QWidget* window) {
        placed = window->pos();
        auto* box = static_cast<TRuleBox*>(window);
        oneChecked = box->play1->isChecked();
        box->SaveButton->click();
    });
    OpenRuleBox(&owner, 1);
    EXPECT_TRUE(*ran);
    EXPECT_EQ(placed, owner.pos() + QPoint(50, 50));
    EXPECT_TRUE(oneChecked);
    EXPECT_EQ(dir.Read("usr/guest/zelvan1.pf"), kDefaultRulesFile);
    EXPECT_EQ(owner.findChild<TRuleBox*>(), nullptr);  // destroyed after closing
}

}  // namespace
}  // namespace zv
