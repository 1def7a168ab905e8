#include "game/gui/zv_form_box.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <vector>

#include "gui_common/button_pictures.h"
#include "rules/gui/rule_box.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

QImage Image(const QIcon& icon) { return icon.pixmap(26, 26).toImage(); }

class LayoutBoxTest : public test::LauncherFixture {
protected:
    // Starts the main window on launch.nuc holding `stored`, with the kept
    // windows created as the program does.
    std::unique_ptr<TLaunch> StartLauncher(LauncherSettings stored) {
        stored.count = 1;  // no start-up tip
        stored.execdlg_zelvan1 = 0;
        WriteLaunchNuc(stored);
        auto window = std::make_unique<TLaunch>(launcherDialogs);
        launcherDialogs.CreateKeptWindows(window.get());
        return window;
    }
};

TEST_F(LayoutBoxTest, OnePlayerLayoutOffersTheTwoSmallerLayouts) {
    Settings().zv1form = "small";
    TZv1FormBox box(nullptr);
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  盤設定"));
    EXPECT_FALSE(box.rblarge->isVisible());
    EXPECT_FALSE(box.large->isVisible());
    EXPECT_FALSE(box.rblarge4->isVisible());
    EXPECT_FALSE(box.large4->isVisible());
    EXPECT_TRUE(box.rbsmall->isVisible());
    EXPECT_TRUE(box.Small->isVisible());
    EXPECT_TRUE(box.rbsmall4->isVisible());
    EXPECT_TRUE(box.small4->isVisible());
    EXPECT_FALSE(box.realpai->isVisible());
    EXPECT_EQ(box.realpai->text(), QStringLiteral("ﾘｱﾙな牌"));
    EXPECT_EQ(box.rblarge->text(), QStringLiteral("標準(800x600)"));
    EXPECT_EQ(box.rbsmall->text(), QStringLiteral("縦並び(640x480)"));
    EXPECT_EQ(box.rblarge4->text(), QStringLiteral("卓(1024x768)"));
    EXPECT_EQ(box.rbsmall4->text(), QStringLiteral("卓 (800x600)"));
    EXPECT_EQ(box.CloseButton->text(), "OK");
    EXPECT_TRUE(box.rbsmall->isChecked());
}

TEST_F(LayoutBoxTest, OnePlayerLayoutOffersEverySizeAndRealTilesWithPowerUp) {
    Settings().zv1form = "small";
    TZv1FormBox box(nullptr);
    box.OfferEveryChoice(true);
    box.show();
    for (QWidget* shown :
         std::initializer_list<QWidget*>{box.rblarge, box.large, box.rbsmall, box.Small, box.rblarge4,
                                         box.large4, box.rbsmall4, box.small4, box.realpai})
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    box.rblarge4->click();
    box.realpai->click();
    box.CloseButton->click();
    EXPECT_EQ(Settings().zv1form, "large4");
    EXPECT_EQ(Settings().real1, 1);
    box.OfferEveryChoice(false);
    box.show();
    EXPECT_FALSE(box.rblarge4->isVisible());
    EXPECT_FALSE(box.realpai->isVisible());
}

TEST_F(LayoutBoxTest, NetworkLayoutShowsAllFourWithPicturesAndHints) {
    Settings().zv4form = "large4";
    TZv4FormBox box(nullptr);
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  ネットワーク対戦の設定"));
    const QString captions[] = {QStringLiteral("標準"), QStringLiteral("小さい"), QStringLiteral("卓"),
                                QStringLiteral("卓(小さい)")};
    const char* words[] = {"large", "small", "large4", "small4"};
    const char* pictures[] = {"large", "Small", "large4", "small4"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(box.Radios()[i]->isVisible());
        EXPECT_EQ(box.Radios()[i]->text(), captions[i]);
        auto* picture = box.findChild<QToolButton*>(pictures[i]);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture, box.PictureButton(words[i]));
        EXPECT_EQ(picture->toolTip(), captions[i]);
        EXPECT_EQ(Image(picture->icon()), Image(LayoutPicture(words[i])));
    }
    EXPECT_EQ(box.PictureButton("other"), box.large);
    EXPECT_TRUE(box.rblarge4->isChecked());
    box.small4->click();  // picture buttons choose nothing
    EXPECT_TRUE(box.rblarge4->isChecked());
    box.rbsmall->click();
    box.CloseButton->click();
    EXPECT_EQ(Settings().zv4form, "small");
    EXPECT_EQ(Settings().zv1form, "small");
}

TEST_F(LayoutBoxTest, UnknownLayoutShowsTheHiddenStandardAndStoresLarge) {
    for (const char* odd : {"", "Small", "huge"}) {
        Settings().zv1form = odd;
        TZv1FormBox box(nullptr);
        box.show();
        EXPECT_TRUE(box.rblarge->isChecked()) << odd;
        EXPECT_FALSE(box.rbsmall->isChecked());
        EXPECT_FALSE(box.rbsmall4->isChecked());
        box.CloseButton->click();
        EXPECT_EQ(Settings().zv1form, "large") << odd;
    }
}

TEST_F(LayoutBoxTest, HiddenChoicesSurviveAClose) {
    for (const char* hidden : {"large", "large4"}) {
        Settings().zv1form = hidden;
        TZv1FormBox box(nullptr);
        box.show();
        EXPECT_FALSE(box.rbsmall->isChecked());
        EXPECT_FALSE(box.rbsmall4->isChecked());
        box.CloseButton->click();
        EXPECT_EQ(Settings().zv1form, hidden);
    }
}

TEST_F(LayoutBoxTest, EveryCloseStoresTheChoiceAndRealTiles) {
    Settings().real1 = 2;
    Settings().zv1form = "small";
    TZv1FormBox box(nullptr);
    EXPECT_TRUE(box.realpai->isChecked());
    box.show();
    box.rbsmall4->setChecked(true);
    box.reject();  // the close box or Escape
    EXPECT_EQ(Settings().zv1form, "small4");
    EXPECT_EQ(Settings().real1, 1);

    box.show();
    box.realpai->click();  // stored at once
    EXPECT_EQ(Settings().real1, 0);
    box.realpai->click();
    EXPECT_EQ(Settings().real1, 1);
    box.rbsmall->setChecked(true);
    box.close();
    EXPECT_EQ(Settings().zv1form, "small");
    EXPECT_EQ(Settings().real4, 0);
}

TEST_F(LayoutBoxTest, KeptWindowsAreCreatedInTheirOrderAndReused) {
    auto window = StartLauncher(LauncherSettings{});

    std::vector<QString> kept;
    for (QObject* child : window->children())
        if (qobject_cast<QDialog*>(child)) kept.push_back(child->objectName());
    EXPECT_EQ(kept,
              (std::vector<QString>{"SoundBox", "TUnameBox", "TZv4FormBox", "TZv1FormBox", "TZvSetupBox"}));
    LayoutWindows& layouts = launcherDialogs.Layouts();
    TZv1FormBox* first = layouts.Zv1Form(window.get());
    EXPECT_EQ(first->parent(), window.get());
    launcherDialogs.CreateKeptWindows(window.get());
    EXPECT_EQ(layouts.Zv1Form(window.get()), first);

    // The radio buttons keep their state between showings.
    window->move(100, 80);
    QPoint placed;
    test::WhenShown("TZv1FormBox", [&](QWidget* box) {
        placed = box->pos();
        static_cast<TZv1FormBox*>(box)->rbsmall4->click();
        static_cast<TZv1FormBox*>(box)->CloseButton->click();
    });
    window->BoardLayoutButton->click();
    EXPECT_EQ(placed, QPoint(150, 130));
    bool stillSmall4 = false;
    test::WhenShown("TZv1FormBox", [&](QWidget* box) {
        stillSmall4 = static_cast<TZv1FormBox*>(box)->rbsmall4->isChecked();
        box->close();
    });
    window->BoardLayoutButton->click();
    EXPECT_TRUE(stillSmall4);
    EXPECT_EQ(layouts.Zv1Form(window.get()), first);
}

TEST_F(LayoutBoxTest, ChoosingSmall4ReachesTheNextStartAndThePlayPicture) {
    auto window = StartLauncher(LauncherSettings{});
    window->show();
    EXPECT_EQ(Image(window->PlayButton->icon()), Image(LayoutPicture("small")));

    auto chosen = test::WhenShown("TZv1FormBox", [](QWidget* box) {
        static_cast<TZv1FormBox*>(box)->rbsmall4->click();
        static_cast<TZv1FormBox*>(box)->CloseButton->click();
    });
    window->BoardLayoutButton->click();
    ASSERT_TRUE(*chosen);
    EXPECT_EQ(Settings().zv1form, "small4");
    // The board-setup button leaves the picture until the window is shown again.
    EXPECT_EQ(Image(window->PlayButton->icon()), Image(LayoutPicture("small")));

    window->PlayButton->click();
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine.rfind("zelvan1.exe  -T small4 -B \"", 0), 0u)
        << starter.starts[0].commandLine;

    window->hide();
    window->show();
    EXPECT_EQ(Image(window->PlayButton->icon()), Image(LayoutPicture("small4")));
    EXPECT_EQ(Image(window->PlayButton->icon()),
              Image(launcherDialogs.Layouts().Zv1Form(window.get())->small4->icon()));

    window.reset();
    EXPECT_EQ(ReadBack().zv1form, "small4");
}

TEST_F(LayoutBoxTest, SetupHubRenewsThePlayPictureOnReturn) {
    LauncherSettings stored;
    stored.zv1form = "small4";
    auto window = StartLauncher(stored);
    window->show();
    EXPECT_EQ(Image(window->PlayButton->icon()), Image(LayoutPicture("small4")));

    bool formShown = false;
    test::WhenShown("TZvSetupBox", [&](QWidget* setup) {
        auto* hub = static_cast<TZvSetupBox*>(setup);
        EXPECT_EQ(hub->Kind, 1);
        EXPECT_EQ(hub->windowTitle(), QStringLiteral("麻雀  設定"));
        test::WhenShown("TZv1FormBox", [&](QWidget* box) {
            formShown = true;
            static_cast<TZv1FormBox*>(box)->rbsmall->click();
            static_cast<TZv1FormBox*>(box)->CloseButton->click();
        });
        hub->ZvInstall->click();
        hub->CancelButton->click();
    });
    window->Zv1InstallClick();
    EXPECT_TRUE(formShown);
    EXPECT_EQ(Settings().zv1form, "small");
    EXPECT_EQ(Image(window->PlayButton->icon()), Image(LayoutPicture("small")));
}

TEST_F(LayoutBoxTest, SetupHubOfTheNetworkGame) {
    auto window = StartLauncher(LauncherSettings{});
    TZvSetupBox* hub = launcherDialogs.Layouts().Setup(window.get());
    EXPECT_EQ(hub->ZvInstall->text(), QStringLiteral("盤設定"));
    EXPECT_EQ(hub->haifubutton->text(), QStringLiteral("牌譜"));
    EXPECT_EQ(hub->SpeedButton1->text(), QStringLiteral("ルール"));
    EXPECT_EQ(hub->SpeedButton1->toolTip(), QStringLiteral("ルールのカスタマイズ"));
    EXPECT_EQ(hub->CancelButton->text(), QStringLiteral("閉じる"));

    std::vector<std::string> seen;
    test::WhenShown("TZvSetupBox", [&](QWidget*) {
        // Layout: the network game's window.
        test::WhenShown("TZv4FormBox", [&](QWidget* box) {
            seen.push_back("TZv4FormBox");
            static_cast<TZv4FormBox*>(box)->rblarge4->click();
            box->close();
        });
        hub->ZvInstall->click();
        // Record switch of kind 0: the server's.
        test::WhenShown("TMajOptionBox", [&](QWidget* box) {
            seen.push_back("TMajOptionBox");
            box->findChild<QCheckBox*>("haifubutton")->setChecked(false);
            box->findChild<QPushButton*>("OKbutton")->click();
        });
        hub->haifubutton->click();
        // Rules: the server's file.
        test::WhenShown("TRuleBox", [&](QWidget* box) {
            seen.push_back(static_cast<TRuleBox*>(box)->play4->isChecked() ? "server rules" : "wrong rules");
            static_cast<TRuleBox*>(box)->SaveButton->click();
        });
        hub->SpeedButton1->click();
        hub->CancelButton->click();
    });
    launcherDialogs.ZvSetupBox(window.get(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"TZv4FormBox", "TMajOptionBox", "server rules"}));
    EXPECT_EQ(Settings().zv4form, "large4");
    EXPECT_EQ(Settings().zv1form, "small");
    EXPECT_EQ(Settings().serverhaihu, 0);
    EXPECT_EQ(Settings().zelvan1haihu, 1);
    EXPECT_FALSE(dir.Read("usr/guest/server.pf").empty());
    EXPECT_EQ(dialogs.Of("message").size(), 1u);  // the restart message
}

TEST_F(LayoutBoxTest, RuleButtonOpensTheOnePlayerRules) {
    auto window = StartLauncher(LauncherSettings{});
    bool onePlayer = false;
    auto ran = test::WhenShown("TRuleBox", [&](QWidget* box) {
        auto* rules = static_cast<TRuleBox*>(box);
        onePlayer = rules->play1->isChecked() && !rules->play4->isEnabled();
        rules->flagBoxes["nofly"]->setChecked(true);
        rules->SaveButton->click();
    });
    window->RuleButton->click();
    EXPECT_TRUE(*ran);
    EXPECT_TRUE(onePlayer);
    EXPECT_NE(dir.Read("usr/guest/zelvan1.pf").find("param: nofly = 1\r\n"), std::string::npos);
    EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
}  // namespace zv
