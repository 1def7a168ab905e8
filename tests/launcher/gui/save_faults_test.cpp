// Saves from the windows under injected failures: the launcher's settings
// when its main window closes, the sound dialog's OK, the rule editor's and
// the character maker's saves when the rename fails. The user sees the error dialog with the file
// and what failed; the old file stays byte for byte.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <string>
#include <vector>

#include "config/codec.h"
#include "rules/gui/mk_char_box.h"
#include "rules/gui/rule_box.h"
#include "sound/gui/sound_box.h"
#include "support/fault_env.h"
#include "support/launcher_fixture.h"

namespace zv {
namespace {

using test::SaveFault;

class WindowSaveFaultsTest : public test::LauncherFixture {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says
    void TearDown() override { LauncherFixture::TearDown(); }
};

TEST_F(WindowSaveFaultsTest, ClosingTheLauncherKeepsLaunchNucWhenTheSaveFails) {
    LauncherSettings stored;
    stored.count = 7;  // no start-up tip
    stored.player1 = "トド";
    WriteLaunchNuc(stored);
    const std::string old = dir.Read("usr/guest/launch.nuc");
    const std::string path = UserDir() + "/launch.nuc";

    struct Case {
        SaveFault fault;
        const char* message;
    };
    for (Case c : {Case{SaveFault::Create, "ファイルをオープンできません"},
                   Case{SaveFault::Write, "ファイルを書き出し時にエラーです"},
                   Case{SaveFault::Rename, "ファイルを書き出し時にエラーです"}}) {
        dialogs.calls.clear();
        {
            TLaunch window(launcherDialogs);
            window.show();
            window.move(200, 150);
            faults.Inject(c.fault);
        }
        faults.Inject(SaveFault::None);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].kind, "error");
        EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{path, c.message, ""}));
        EXPECT_EQ(dir.Read("usr/guest/launch.nuc"), old);
        EXPECT_EQ(ReadBack().count, 7);
    }
    // Without a fault the same close saves the new count and position.
    { TLaunch window(launcherDialogs); }
    EXPECT_EQ(ReadBack().count, 8);
}

TEST_F(WindowSaveFaultsTest, SoundDialogStaysOpenAndKeepsSoundNucWhenTheSaveFails) {
    Settings().UserDir = UserDir();
    const std::string old = ToCp932("(define sound_ron \"古い.wav\")\r\n");
    dir.Write("usr/guest/sound.nuc", old);
    for (SaveFault fault : {SaveFault::Write, SaveFault::Rename}) {
        dialogs.calls.clear();
        Settings().playbgm = 1;
        TSoundBox box(nullptr, dialogs);
        box.show();
        box.findChild<QLineEdit*>("RonButton")->setText(QStringLiteral("新.wav"));
        box.BgmCheckBox->setChecked(false);
        faults.Inject(fault);
        box.Save->click();
        faults.Inject(SaveFault::None);

        EXPECT_TRUE(box.isVisible());
        EXPECT_EQ(Settings().playbgm, 1);  // nothing taken over from a failed save
        ASSERT_EQ(dialogs.Of("error").size(), 1u);
        EXPECT_EQ(
            dialogs.Of("error")[0].texts,
            (std::vector<std::string>{UserDir() + "/sound.nuc", "ファイルを書き出し時にエラーです", ""}));
        EXPECT_EQ(dir.Read("usr/guest/sound.nuc"), old);

        // A second try without the fault saves and closes.
        box.Save->click();
        EXPECT_FALSE(box.isVisible());
        EXPECT_NE(dir.Read("usr/guest/sound.nuc").find(ToCp932("新.wav")), std::string::npos);
        dir.Write("usr/guest/sound.nuc", old);
    }
}

TEST_F(WindowSaveFaultsTest, RuleEditorReportsAFailedRenameAndKeepsTheRulesFile) {
    Settings().UserName = "guest";
    Settings().UserDir = UserDir();
    const std::string old = "#!/bin/sh\r\nparam: nofly = 1\r\n";
    dir.Write("usr/guest/zelvan1.pf", old);
    TRuleBox box(nullptr);
    box.SetGameKind(1);
    box.show();
    faults.Inject(SaveFault::Rename);
    box.SaveButton->click();
    faults.Inject(SaveFault::None);
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts,
              (std::vector<std::string>{UserDir() + "/zelvan1.pf", "ファイルI/Oエラー",
                                        "ファイルに書き出せません"}));
    EXPECT_EQ(dir.Read("usr/guest/zelvan1.pf"), old);
}

TEST_F(WindowSaveFaultsTest, CharacterMakerReportsFailedSavesAndKeepsTheCharacterFile) {
    const std::string old = ToCp932("param: random = 3\r\nparam: name = 古い\r\n");
    dir.Write("usr/old/old.pf", old);
    const std::string path = dir.path() + "/usr/old/old.pf";

    // The new file cannot be created: reported, the maker stays open.
    TMkCharBox box(nullptr);
    box.SetCharacter("old");
    box.show();
    faults.Inject(SaveFault::Create);
    box.SaveButton->click();
    faults.Inject(SaveFault::None);
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts[0], path);
    EXPECT_EQ(dialogs.Of("error")[0].texts[1], "ファイルをオープンできません");
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(dir.Read("usr/old/old.pf"), old);

    // The rename fails after a complete write: reported as a failed write,
    // the maker closes without success.
    faults.Inject(SaveFault::Rename);
    box.SaveButton->click();
    faults.Inject(SaveFault::None);
    ASSERT_EQ(dialogs.Of("error").size(), 2u);
    EXPECT_EQ(dialogs.Of("error")[1].texts,
              (std::vector<std::string>{
                  path, "ファイルに書き込みができません",
                  "ディスクがいっぱいではないか、ファイルに書き込みが可能かどうかを確認してください"}));
    EXPECT_FALSE(box.isVisible());
    EXPECT_TRUE(dialogs.Of("message").empty());
    EXPECT_EQ(dir.Read("usr/old/old.pf"), old);
}

}  // namespace
}  // namespace zv
