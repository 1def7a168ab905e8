#include "rules/gui/char_name_box.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include "config/codec.h"
#include "rules/gui/characters.h"
#include "rules/gui/mk_char_box.h"
#include "support/default_character.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

class CharNameBoxTest : public test::LauncherFixture {
protected:
    void SetUp() override {
        LauncherFixture::SetUp();
        std::filesystem::create_directories(dir.Path("usr"));
    }

    // Clicks OK with `name` typed; `onMaker` runs inside the character maker
    // if it appears, which is then closed. Returns whether it appeared. The
    // watch lives only for this call, so nothing of it reaches later tests.
    bool Submit(TInputCharNameBox& box, const QString& name, std::function<void(TMkCharBox*)> onMaker = {}) {
        bool appeared = false;
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&]() {
            auto* maker = qobject_cast<TMkCharBox*>(test::FindVisibleWindow("TMkCharBox"));
            if (maker == nullptr) return;
            watch.stop();
            appeared = true;
            if (onMaker) onMaker(maker);
            if (maker->isVisible()) maker->close();
        });
        watch.start();
        box.ModifyCharNameComboBox->setEditText(name);
        box.ModifyCharButton->click();
        return appeared;
    }
};

TEST_F(CharNameBoxTest, OffersEveryEntryOfUsrAndThePresetLogonName) {
    dir.Write("usr/_todo/_todo.pf", "x");
    dir.Write("usr/readme.txt", "x");
    platform.registry[{"Network\\Logon", "username"}] = "taro";
    TInputCharNameBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀キャラクタのカスタマイズ"));
    EXPECT_EQ(box.NameLabel->text(), QStringLiteral("キャラクタ名"));
    QStringList items;
    for (int i = 0; i < box.ModifyCharNameComboBox->count(); ++i)
        items << box.ModifyCharNameComboBox->itemText(i);
    EXPECT_EQ(items, (QStringList{"_todo", "readme"}));
    EXPECT_EQ(box.ModifyCharNameComboBox->currentText(), QStringLiteral("taro"));
    EXPECT_TRUE(box.ModifyCharNameComboBox->isEditable());

    platform.registry.clear();
    TInputCharNameBox empty(nullptr);
    EXPECT_EQ(empty.ModifyCharNameComboBox->currentText(), QString());
}

TEST_F(CharNameBoxTest, NewCharacterAbcGetsItsDirectoryAndTheDefaultFile) {
    dialogs.yesNoAnswers = {true};
    TInputCharNameBox box(nullptr);
    box.show();
    CharacterValues shownValues;
    QString caption;
    bool appeared = Submit(box, "abc", [&](TMkCharBox* maker) {
        shownValues = maker->Values();
        caption = maker->CharacterName->text();
        maker->SaveButton->click();
    });
    ASSERT_TRUE(appeared);
    ASSERT_EQ(dialogs.Of("yesno").size(), 1u);
    EXPECT_EQ(dialogs.Of("yesno")[0].texts,
              (std::vector<std::string>{"麻雀  キャラクタメイキング",
                                        "キャラクタファイルが見つかりません。新規に作成しますか？"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("usr/abc")));
    EXPECT_EQ(caption, QStringLiteral("abc"));
    CharacterValues defaults = DefaultCharacterValues("abc");
    EXPECT_EQ(shownValues.weights, defaults.weights);
    EXPECT_EQ(shownValues.displayName, "abc");
    EXPECT_EQ(dir.Read("usr/abc/abc.pf"), test::DefaultAbcCharacterFile());
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
}

TEST_F(CharNameBoxTest, DecliningCreatesNothingAndKeepsTheDialogOpen) {
    TInputCharNameBox box(nullptr);
    box.show();
    EXPECT_FALSE(Submit(box, "abc"));
    EXPECT_EQ(dialogs.Of("yesno").size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("usr/abc")));
    EXPECT_TRUE(box.isVisible());
}

TEST_F(CharNameBoxTest, NamesThatCannotBeOneStorableDirectoryAreRefused) {
    TInputCharNameBox box(nullptr);
    box.show();
    for (const QString& bad :
         {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../escape"),
          QStringLiteral("a/b"), QStringLiteral("say\"hi")}) {
        dialogs.calls.clear();
        dialogs.yesNoAnswers = {true};
        EXPECT_FALSE(Submit(box, bad)) << bad.toStdString();
        ASSERT_EQ(dialogs.calls.size(), 1u) << bad.toStdString();
        EXPECT_EQ(dialogs.calls[0].kind, "error");
        EXPECT_EQ(dialogs.calls[0].texts[1], "このキャラクタ名は使えません");
        EXPECT_TRUE(box.isVisible());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("escape")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("usr/a")));
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path("usr")))
        entries.push_back(entry.path().filename().string());
    EXPECT_TRUE(entries.empty());
}

TEST_F(CharNameBoxTest, ExistingDirectoryWithoutFileIsTreatedAsNew) {
    dir.Write("usr/half/notes.txt", "keep");
    dialogs.yesNoAnswers = {true};
    TInputCharNameBox box(nullptr);
    bool appeared = Submit(box, "half", [](TMkCharBox* maker) { maker->SaveButton->click(); });
    EXPECT_TRUE(appeared);
    EXPECT_EQ(dialogs.Of("yesno").size(), 1u);
    EXPECT_EQ(dir.Read("usr/half/notes.txt"), "keep");
    EXPECT_TRUE(std::filesystem::exists(dir.Path("usr/half/half.pf")));
}

TEST_F(CharNameBoxTest, ExistingCharacterOpensWithItsFile) {
    dir.Write("usr/old/old.pf", ToCp932("param: random = 5000\r\nparam: name = 古株\r\n"));
    TInputCharNameBox box(nullptr);
    CharacterValues shownValues;
    EXPECT_TRUE(Submit(box, "old", [&](TMkCharBox* maker) { shownValues = maker->Values(); }));
    EXPECT_TRUE(dialogs.Of("yesno").empty());
    EXPECT_EQ(shownValues["Random"], 1000);
    EXPECT_EQ(shownValues.displayName, "古株");
    EXPECT_EQ(box.result(), QDialog::Accepted);  // closes however the maker was closed
}

TEST_F(CharNameBoxTest, UnreadableFileOrDirectoryFailureStopsBeforeTheMaker) {
    std::filesystem::create_directories(dir.Path("usr/odd/odd.pf"));  // a folder where the file belongs
    TInputCharNameBox box(nullptr);
    box.show();
    EXPECT_FALSE(Submit(box, "odd"));
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts[1], "ファイルをオープンできません");
    EXPECT_TRUE(box.isVisible());

    dir.Write("usr/plain", "a file named like the character");
    dialogs.yesNoAnswers = {true};
    EXPECT_FALSE(Submit(box, "plain"));
    EXPECT_EQ(dialogs.Of("error").back().texts,
              (std::vector<std::string>{dir.path() + "/usr/plain", "ディレクトリを作成できません",
                                        "パーミッションを確認してください"}));
    EXPECT_TRUE(box.isVisible());
}

TEST_F(CharNameBoxTest, MainWindowCharacterButtonOpensTheNamingDialog) {
    TLaunch window(launcherDialogs);
    window.move(100, 120);
    QPoint placed;
    auto shown = test::WhenShown("TInputCharNameBox", [&](QWidget* box) {
        placed = box->pos();
        box->close();
    });
    window.CharButton->click();
    EXPECT_TRUE(*shown);
    EXPECT_EQ(placed, window.pos() + QPoint(50, 50));
}

}  // namespace
}  // namespace zv
