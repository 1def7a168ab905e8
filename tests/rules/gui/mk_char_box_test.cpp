#include "rules/gui/mk_char_box.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "config/codec.h"
#include "support/fault_env.h"
#include "support/launcher_fixture.h"

namespace zv {
namespace {

using test::SaveFault;

class MkCharBoxTest : public test::LauncherFixture {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says
    void TearDown() override { LauncherFixture::TearDown(); }

    std::string WriteCharacter(const std::string& name, std::initializer_list<const char*> lines) {
        std::string text;
        for (const char* line : lines) text += std::string(line) + "\r\n";
        return dir.Write("usr/" + name + "/" + name + ".pf", ToCp932(text));
    }

    static void SetSpinText(QSpinBox* spin, const QString& text) {
        auto* edit = spin->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
    }
};

TEST_F(MkCharBoxTest, FieldsSitOnTheirPagesWithLabelsHintsAndRanges) {
    TMkCharBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  キャラクタ作成"));
    ASSERT_EQ(box.PageControl->count(), 4);
    for (int tab = 0; tab < 4; ++tab)
        EXPECT_EQ(box.PageControl->tabText(tab), QStringLiteral("パラメータその%1").arg(tab + 1));

    const auto& params = CharacterParams();
    for (std::size_t i = 0; i < params.size(); ++i) {
        QSpinBox* spin = box.findChild<QSpinBox*>(params[i].control);
        ASSERT_EQ(spin, box.Fields[i]) << params[i].control;
        EXPECT_TRUE(box.PageControl->widget(params[i].tab - 1)->isAncestorOf(spin)) << params[i].control;
        auto* label = box.findChild<QLabel*>(QStringLiteral("%1Label").arg(params[i].control));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(params[i].label));
        EXPECT_EQ(spin->toolTip(), QString::fromUtf8(params[i].hint));
        EXPECT_EQ(spin->value(), params[i].defaultValue) << params[i].control;
    }
    EXPECT_EQ(box.Field("Random")->toolTip(), QStringLiteral("ランダムな値の影響する度合い"));
    EXPECT_EQ(box.Field("NumberPrefer")->toolTip(), QStringLiteral("同じ数字、近くの数字を好む"));

    box.Field("Kyusyu")->setValue(5000);
    EXPECT_EQ(box.Field("Kyusyu")->value(), 1000);
    box.Field("KanRate")->setValue(-3);
    EXPECT_EQ(box.Field("KanRate")->value(), 0);
    box.Field("SyantenPrefer")->setValue(-123456);
    box.Field("Tsuyoki")->setValue(2000000000);
    EXPECT_EQ(box.Values()["SyantenPrefer"], -123456);
    EXPECT_EQ(box.Values()["Tsuyoki"], 2000000000);

    box.show();
    EXPECT_FALSE(box.Tomato->isVisible());
    EXPECT_TRUE(box.PageControl->widget(3)->isAncestorOf(box.NameEdit));
    EXPECT_TRUE(box.PageControl->widget(3)->isAncestorOf(box.Tomato));
    EXPECT_EQ(box.NameEdit->text(), QStringLiteral("user"));
    EXPECT_EQ(box.SaveButton->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.CancelButton->text(), QStringLiteral("閉じる"));
}

TEST_F(MkCharBoxTest, LoadingPullsBoundedValuesIntoRange) {
    WriteCharacter("c", {"#!/bin/sh", "param: random = 5000", "param: dora = -5", "param: tsuyoki = 5000",
                         "param: zone = 42", "param: noisy = 1", "param: name = シー"});
    TMkCharBox box(nullptr);
    box.SetCharacter("c");
    ASSERT_TRUE(LoadCharacterFile(&box, "c"));
    EXPECT_EQ(box.Field("Random")->value(), 1000);
    EXPECT_EQ(box.Field("PreferDora")->value(), 0);
    EXPECT_EQ(box.Field("Tsuyoki")->value(), 5000);
    EXPECT_EQ(box.Field("SamePrefer")->value(), 42);
    EXPECT_EQ(box.Field("NumberPrefer")->value(), 42);
    EXPECT_EQ(box.Field("Kyusyu")->value(), 700);
    EXPECT_TRUE(box.Tomato->isChecked());
    EXPECT_EQ(box.NameEdit->text(), QStringLiteral("シー"));
    EXPECT_EQ(box.CharacterName->text(), QStringLiteral("c"));
}

TEST_F(MkCharBoxTest, MissingFileIsReportedAndChangesNothing) {
    TMkCharBox box(nullptr);
    box.SetCharacter("ghost");
    EXPECT_FALSE(LoadCharacterFile(&box, "ghost"));
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts[0], dir.path() + "/usr/ghost/ghost.pf");
    EXPECT_EQ(dialogs.Of("error")[0].texts[2], "ファイルがみつかりません");
    EXPECT_EQ(box.NameEdit->text(), QStringLiteral("ghost"));
}

TEST_F(MkCharBoxTest, SaveWritesTheFieldsAndReportsSuccess) {
    std::filesystem::create_directories(dir.Path("usr/abc"));
    TMkCharBox box(nullptr);
    box.SetCharacter("abc");
    box.Field("Random")->setValue(77);
    box.Tomato->setChecked(true);
    SetSpinText(box.Field("PonRate"), "");  // emptied by the user: saved as 0
    box.SaveButton->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.Of("message").size(), 1u);
    EXPECT_EQ(dialogs.Of("message")[0].texts,
              (std::vector<std::string>{"麻雀 ", "\"abc\"のパラメータファイルをセーブできました"}));
    std::string written = dir.Read("usr/abc/abc.pf");
    EXPECT_NE(written.find("param: random = 77\r\n"), std::string::npos);
    EXPECT_NE(written.find("param: pon = 0\r\n"), std::string::npos);
    EXPECT_NE(written.find("param: noisy = 1\r\n"), std::string::npos);
    EXPECT_NE(written.find("param: name = abc\r\n\r\n"), std::string::npos);
}

TEST_F(MkCharBoxTest, EmptyDisplayNameWritesNoNameLine) {
    std::filesystem::create_directories(dir.Path("usr/quiet"));
    {
        TMkCharBox box(nullptr);
        box.SetCharacter("quiet");
        box.NameEdit->clear();
        box.SaveButton->click();
    }
    std::string written = dir.Read("usr/quiet/quiet.pf");
    EXPECT_EQ(written.find("param: name"), std::string::npos);
    const std::string end = "param: yaku = 1000\r\nparam: noisy = 0\r\n\r\n";
    EXPECT_EQ(written.substr(written.size() - end.size()), end);

    TMkCharBox box(nullptr);
    box.SetCharacter("quiet");
    ASSERT_TRUE(LoadCharacterFile(&box, "quiet"));
    EXPECT_EQ(box.NameEdit->text(), QStringLiteral("quiet"));
}

TEST_F(MkCharBoxTest, DisplayNameBlanks) {
    std::filesystem::create_directories(dir.Path("usr/b"));
    for (const auto& [typed, readBack] :
         {std::pair{QStringLiteral("麻雀　太郎"), QStringLiteral("麻雀　太郎")},
          std::pair{QStringLiteral("two words"), QStringLiteral("two")}}) {
        {
            TMkCharBox box(nullptr);
            box.SetCharacter("b");
            box.NameEdit->setText(typed);
            box.SaveButton->click();
        }
        EXPECT_NE(dir.Read("usr/b/b.pf").find(ToCp932("param: name = " + typed.toStdString() + "\r\n")),
                  std::string::npos);
        TMkCharBox box(nullptr);
        box.SetCharacter("b");
        ASSERT_TRUE(LoadCharacterFile(&box, "b"));
        EXPECT_EQ(box.NameEdit->text(), readBack);
    }
}

TEST_F(MkCharBoxTest, SaveFailures) {
    // No directory: the file cannot be created and the dialog stays open.
    TMkCharBox box(nullptr);
    box.SetCharacter("nodir");
    box.show();
    box.SaveButton->click();
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(
        dialogs.Of("error")[0].texts,
        (std::vector<std::string>{dir.path() + "/usr/nodir/nodir.pf", "ファイルをオープンできません",
                                  "ディレクトリが存在するかどうか、ディレクトリの属性を確認してください"}));
    EXPECT_TRUE(box.isVisible());
    EXPECT_TRUE(dialogs.Of("message").empty());

    // A failed write keeps the old file, reports, and closes without success.
    std::string path = WriteCharacter("old", {"param: random = 3"});
    std::string before = dir.Read("usr/old/old.pf");
    TMkCharBox other(nullptr);
    other.SetCharacter("old");
    other.show();
    faults.Inject(SaveFault::Write);
    other.SaveButton->click();
    EXPECT_EQ(dialogs.Of("error").back().texts[1], "ファイルに書き込みができません");
    EXPECT_EQ(dialogs.Of("error").back().texts[2],
              "ディスクがいっぱいではないか、ファイルに書き込みが可能かどうかを確認してください");
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_TRUE(dialogs.Of("message").empty());
    EXPECT_EQ(dir.Read("usr/old/old.pf"), before);
}

TEST_F(MkCharBoxTest, CancelWritesNothing) {
    std::filesystem::create_directories(dir.Path("usr/c"));
    TMkCharBox box(nullptr);
    box.SetCharacter("c");
    box.CancelButton->click();
    EXPECT_EQ(box.result(), QDialog::Rejected);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("usr/c/c.pf")));
}

}  // namespace
}  // namespace zv
