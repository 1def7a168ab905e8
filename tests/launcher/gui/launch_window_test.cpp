#include "launcher/gui/launch_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QToolButton>

#include "gui_common/button_pictures.h"
#include "launcher/gui/program_threads.h"
#include "records/gui/haifu_box.h"
#include "records/gui/player_info_box.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

class LaunchWindowTest : public test::LauncherFixture {
protected:
    // Starts the launcher window with launch.nuc holding `count`, and returns
    // the start-up tip it showed (empty for none).
    std::string TipForCount(int count, int depth) {
        LauncherSettings stored;
        stored.count = count;
        WriteLaunchNuc(stored);
        TLaunch::SetScreenDepthForTests(depth);
        dialogs.calls.clear();
        {
            TLaunch window(launcherDialogs);
            EXPECT_EQ(Settings().count, count + 1);
        }
        auto messages = dialogs.Of("message");
        if (messages.empty()) return "";
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].texts[0], "麻雀からのメッセージ");
        return messages[0].texts[1];
    }
};

TEST_F(LaunchWindowTest, StartUpTipDependsOnTheStartCountAndIsCountedOnClose) {
    EXPECT_EQ(TipForCount(0, 8),
              "ボタン２でツモぎりです。カラーは、65535色以上同時発色であることが望まれます。"
              "そうでない場合は色化けを避けることはできません。");
    EXPECT_EQ(ReadBack().count, 1);
    EXPECT_EQ(TipForCount(0, 16), "ボタン２でツモぎりです。");
    EXPECT_EQ(TipForCount(99, 32), "");
    EXPECT_EQ(ReadBack().count, 100);
    EXPECT_EQ(TipForCount(100, 32), "どうですか？操作しにくいところはありませんか？");
    EXPECT_EQ(TipForCount(150, 32), "");
    EXPECT_EQ(ReadBack().count, 151);
}

TEST_F(LaunchWindowTest, StartCountAtItsLargestValueStaysThere) {
    dir.Write("usr/guest/launch.nuc", "(define count 2147483647)\r\n");
    {
        TLaunch window(launcherDialogs);
        EXPECT_EQ(Settings().count, 2147483647);
    }
    EXPECT_TRUE(dialogs.Of("message").empty());
    EXPECT_NE(dir.Read("usr/guest/launch.nuc").find("(define count 2147483647)\r\n"), std::string::npos);
    EXPECT_EQ(ReadBack().count, 2147483647);
}

TEST_F(LaunchWindowTest, FirstStartCreatesTheUserDirectoryAndSavesAllSettings) {
    {
        TLaunch window(launcherDialogs);
        EXPECT_EQ(Settings().UserDir, UserDir());
        EXPECT_EQ(window.pos(), QPoint(50, 50));
        window.move(120, 90);
    }
    std::string text = dir.Read("usr/guest/launch.nuc");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 40);
    LauncherSettings read = ReadBack();
    EXPECT_EQ(read.launchleft, 120);
    EXPECT_EQ(read.launchtop, 90);
    EXPECT_EQ(read.count, 1);
    EXPECT_TRUE(dialogs.Of("error").empty());
}

TEST_F(LaunchWindowTest, WindowHasItsButtonsAndMenus) {
    TLaunch window(launcherDialogs);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ゼルバンライト"));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

    const char* visible[] = {"Zv1Exec", "RuleButton", "ZvInstall", "CharButton", "WakeRulebook", "WakeHelp"};
    int left = -1;
    for (const char* name : visible) {
        auto* button = window.findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_EQ(button->size(), QSize(50, 50)) << name;
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_TRUE(button->autoRaise());
        EXPECT_GT(button->x(), left) << name;
        left = button->x();
    }
    for (const char* name : {"haifuswbutton", "SoundButton", "UnameButton", "About"}) {
        auto* button = window.findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->isVisible()) << name;
    }
    EXPECT_EQ(window.HelpButton->toolTip(), QStringLiteral("ヘルプの参照"));
    EXPECT_EQ(window.CharButton->text(), QStringLiteral("キャラ"));

    auto* menu = window.findChild<QMenuBar*>("LaunchMainMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(window.GameMenu->menuAction()->isVisible());
    EXPECT_FALSE(window.ResultsMenu->menuAction()->isVisible());
    EXPECT_TRUE(window.HelpMenu->menuAction()->isVisible());
    EXPECT_EQ(window.OverallResultsMenuItem->text(), QStringLiteral("全体成績"));
    EXPECT_EQ(window.RulebookMenuItem->text(), QStringLiteral("ルールブック"));
}

TEST_F(LaunchWindowTest, ControlsKeepTheirComponentNames) {
    TLaunch window(launcherDialogs);
    const std::pair<const QObject*, const char*> named[] = {
        {window.PlayButton, "Zv1Exec"},
        {window.BoardLayoutButton, "ZvInstall"},
        {window.RulebookButton, "WakeRulebook"},
        {window.HelpButton, "WakeHelp"},
        {window.RecordSwitchButton, "haifuswbutton"},
        {window.MachineInfoButton, "UnameButton"},
        {window.AboutButton, "About"},
        {window.MainMenu, "LaunchMainMenu"},
        {window.PlayMenuItem, "lV1"},
        {window.ExitMenuItem, "ExitMenu"},
        {window.ResultsMenu, "N4"},
        {window.OverallResultsMenuItem, "N2"},
        {window.PersonalResultsMenuItem, "N3"},
        {window.HelpMenu, "N7"},
        {window.RulebookMenuItem, "WakeRuleBookMenu"},
        {window.HelpMenuItem, "WakeHelpMenu"},
        {window.AboutMenuItem, "AboutMenu"},
    };
    for (const auto& [control, name] : named) EXPECT_EQ(control->objectName(), QString(name));
    EXPECT_EQ(window.ResultsMenu->title(), QStringLiteral("成績"));
    EXPECT_EQ(window.PersonalResultsMenuItem->text(), QStringLiteral("個人成績"));
    EXPECT_EQ(window.HelpMenu->title(), QStringLiteral("ヘルプ"));
}

TEST_F(LaunchWindowTest, PlayButtonShowsThePictureOfTheLayout) {
    auto image = [](const QIcon& icon) { return icon.pixmap(26, 26).toImage(); };
    for (auto [form, shown] :
         {std::pair{"small4", "small4"}, {"small", "small"}, {"bogus", "large"}, {"", "large"}}) {
        LauncherSettings stored;
        stored.count = 3;
        stored.zv1form = form;
        WriteLaunchNuc(stored);
        TLaunch window(launcherDialogs);
        window.show();
        EXPECT_EQ(image(window.PlayButton->icon()), image(LayoutPicture(shown))) << form;
    }
    EXPECT_NE(image(LayoutPicture("small")), image(LayoutPicture("small4")));
    EXPECT_NE(image(LayoutPicture("large")), image(LayoutPicture("large4")));
}

TEST_F(LaunchWindowTest, PlayWithoutTheDialogStartsTheDefaultOpponents) {
    LauncherSettings stored;
    stored.count = 1;
    stored.execdlg_zelvan1 = 0;
    stored.zv1form = "small4";
    stored.player1 = "someone";
    WriteLaunchNuc(stored);
    TLaunch window(launcherDialogs);
    window.PlayButton->click();
    EXPECT_EQ(Settings().LayoutOption, " -T small4");
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].kind, "exec");
    EXPECT_EQ(starter.starts[0].commandLine, "zelvan1.exe  -T small4 -B \"" + UserDir() +
                                                 "\" -c  -n guest -Q  -l \"" + UserDir() +
                                                 "/zelvan1.fu\" -u _todo -u _min -u _wizard ");
    EXPECT_EQ(test::FindVisibleWindow("TZelvan1Box"), nullptr);
}

TEST_F(LaunchWindowTest, PlayWithTheDialogStartsOnItsOk) {
    LauncherSettings stored;
    stored.count = 1;
    stored.player2 = "bob";
    WriteLaunchNuc(stored);
    TLaunch window(launcherDialogs);
    window.move(100, 100);
    QPoint placed;
    auto shown = test::WhenShown("TZelvan1Box", [&](QWidget* box) {
        EXPECT_TRUE(starter.starts.empty());
        placed = box->pos();
        test::Child<QPushButton>(box, "OKButton")->click();
    });
    window.PlayMenuItem->trigger();
    ASSERT_TRUE(*shown);
    EXPECT_EQ(placed, QPoint(150, 150));
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].commandLine, "zelvan1.exe  -T small -B \"" + UserDir() +
                                                 "\" -c  -n guest -Q  -l \"" + UserDir() +
                                                 "/zelvan1.fu\" -u _todo -u bob -u _wizard");
}

TEST_F(LaunchWindowTest, DeclinedConfirmationStartsNothing) {
    LauncherSettings stored;
    stored.count = 1;
    stored.execdlg_zelvan1 = 0;
    WriteLaunchNuc(stored);
    TLaunch window(launcherDialogs);
    Settings().ConfirmCommands = true;
    window.PlayButton->click();
    EXPECT_TRUE(starter.starts.empty());
    ASSERT_EQ(dialogs.Of("yesno").size(), 1u);
    EXPECT_EQ(dialogs.Of("yesno")[0].texts[0], "Execute?");
    EXPECT_TRUE(dialogs.Of("error").empty());
}

TEST_F(LaunchWindowTest, MissingEngineIsReported) {
    LauncherSettings stored;
    stored.count = 1;
    stored.execdlg_zelvan1 = 0;
    WriteLaunchNuc(stored);
    TLaunch window(launcherDialogs);
    starter.result = 2;
    window.PlayButton->click();
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts,
              (std::vector<std::string>{"", "コマンドの実行が失敗しました", "ファイルが見つかりません"}));
}

TEST_F(LaunchWindowTest, HelpPagesAndRuleBookOpenWithoutReports) {
    TLaunch window(launcherDialogs);
    starter.result = 2;
    window.HelpButton->click();
    window.RulebookMenuItem->trigger();
    ASSERT_EQ(starter.starts.size(), 2u);
    EXPECT_EQ(starter.starts[0].commandLine, dir.path() + "/help/index.html||");
    EXPECT_EQ(starter.starts[1].commandLine, dir.path() + "/rulebook/index.html||");
    EXPECT_TRUE(dialogs.Of("error").empty());
}

TEST_F(LaunchWindowTest, HelpThreadOpensTheHelpPages) {
    ThreadHelp thread;
    ASSERT_TRUE(thread.wait(10000));
    ASSERT_EQ(starter.Starts().size(), 1u);
    EXPECT_EQ(starter.Starts()[0].commandLine, dir.path() + "/help/index.html||");
    EXPECT_EQ(starter.Starts()[0].showMode, kShowNormal);
}

// Records what the main window asks to open; opens nothing.
class OpenedDialogs : public LauncherDialogs {
public:
    void CreateKeptWindows(QWidget*) override { opened.push_back("kept"); }
    void StartMusic(QWidget*) override { opened.push_back("music"); }
    void StopMusic() override { opened.push_back("stop music"); }
    void OnePlayerGame(QWidget*) override { opened.push_back("one player" + Settings().LayoutOption); }
    void RuleBoxOnePlayer(QWidget*) override { opened.push_back("rule"); }
    void Zv1FormBox(QWidget*, bool powerUp) override { opened.push_back(Flagged("layout", powerUp)); }
    void ZvSetupBox(QWidget*, int kind) override {
        opened.push_back("setup" + std::to_string(kind));
        Settings().zv1form = "small4";
    }
    void CharNameBox(QWidget*) override { opened.push_back("character"); }
    void SoundBox(QWidget*) override { opened.push_back("sound"); }
    void UnameBox(QWidget*) override { opened.push_back("machine"); }
    void AboutBox(QWidget*) override { opened.push_back("about"); }
    void PlayerInfoBox(QWidget*, bool powerUp) override { opened.push_back(Flagged("player", powerUp)); }
    void RankBox(QWidget*, bool client, bool load) override {
        opened.push_back(std::string("rank") + (client ? "C" : "-") + (load ? "L" : "-"));
    }
    void ServerBox(QWidget*) override { opened.push_back("server"); }
    void PingBox(QWidget*) override { opened.push_back("ping"); }
    void SearchServerBox(QWidget*) override { opened.push_back("search"); }
    void ProtocolBox(QWidget*, const std::string& title) override { opened.push_back(title); }
    void CustomExBox(QWidget*) override { opened.push_back("custom"); }
    void HaifuBox(QWidget*, bool powerUp) override { opened.push_back(Flagged("records", powerUp)); }
    void AutoLaunchBox(QWidget*) override { opened.push_back("auto box"); }
    void AutoDirectStart(QWidget*, const std::string& name) override { opened.push_back("auto " + name); }
    void ClientBox(QWidget*) override { opened.push_back("client" + Settings().LayoutOption); }
    void ClientDirectStart(QWidget*) override { opened.push_back("direct client" + Settings().LayoutOption); }
    std::vector<std::string> opened;

private:
    // A dialog opened with the power-up switch on is marked with a "+".
    static std::string Flagged(const char* dialog, bool powerUp) {
        return dialog + std::string(powerUp ? "+" : "");
    }
};

TEST_F(LaunchWindowTest, CommandsReachTheirDialogs) {
    OpenedDialogs recorder;
    {
        TLaunch window(recorder);
        window.RuleButtonMenuClick();
        window.RankZelvan1Click();
        window.RankClick();
        window.RankClientClick();
        window.SmallTaku4MenuClick();
        window.NetworkMenuClick();
        window.Zv1InstallMenuClick();
        window.CharButtonMenuClick();
        window.SoundButtonMenuClick();
        window.UnameButtonMenuClick();
        window.AboutMenuClick();
        window.PlayerInfoMenuClick();
        window.GameServerMenuClick();
        window.PingMenuClick();
        window.CustomExMenuClick();
        window.HaifuButtonMenuClick();
        window.ZvInstallClick();
        window.Small1Click();
        Settings().execdlg_client = 0;
        window.Standard4Click();
        window.AutoClick();
        Settings().execdlg_auto = 0;
        window.AutoMenuClick();
        auto image = [](const QIcon& icon) { return icon.pixmap(26, 26).toImage(); };
        EXPECT_EQ(image(window.PlayButton->icon()), image(LayoutPicture("small4")));
    }
    EXPECT_EQ(recorder.opened, (std::vector<std::string>{"music",
                                                         "rule",
                                                         "rank-L",
                                                         "rank--",
                                                         "rankCL",
                                                         "client -T small4 ",
                                                         "ネットワークの設定",
                                                         "setup1",
                                                         "character",
                                                         "sound",
                                                         "machine",
                                                         "about",
                                                         "player",
                                                         "server",
                                                         "ping",
                                                         "custom",
                                                         "records",
                                                         "layout",
                                                         "one player -T small ",
                                                         "direct client -T large ",
                                                         "auto box",
                                                         "auto auto",
                                                         "stop music"}));
}

// The object names of the window's visible buttons, left to right.
std::vector<std::string> VisibleButtons(const TLaunch& window) {
    std::vector<std::pair<int, std::string>> found;
    for (auto* button : window.findChildren<QToolButton*>())
        if (button->isVisible()) found.emplace_back(button->x(), button->objectName().toStdString());
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (const auto& [x, name] : found) names.push_back(name);
    return names;
}

// The visible entries of a menu bar or menu, in order ("-" for a separator).
std::vector<QString> VisibleEntries(const QWidget* menu) {
    std::vector<QString> texts;
    for (QAction* action : menu->actions())
        if (action->isVisible())
            texts.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

const std::vector<std::string> kUsualButtons = {"Zv1Exec",    "RuleButton",   "ZvInstall",
                                                "CharButton", "WakeRulebook", "WakeHelp"};

TEST_F(LaunchWindowTest, PowerUpSwitchOffLeavesTheWindowAsItWas) {
    TLaunch window(launcherDialogs);
    window.show();
    EXPECT_FALSE(window.PowerUpMenuItem->isChecked());
    EXPECT_TRUE(window.PowerUpMenuItem->isCheckable());
    EXPECT_EQ(VisibleButtons(window), kUsualButtons);
    EXPECT_EQ(window.centralWidget()->size(), QSize(300, 50));
    EXPECT_EQ(window.width(), 300);
    EXPECT_EQ(VisibleEntries(window.MainMenu), (std::vector<QString>{"ゲーム", "ヘルプ"}));
    EXPECT_EQ(VisibleEntries(window.GameMenu),
              (std::vector<QString>{"プレイ", "パワーアップ版の機能を使う", "終了"}));
    EXPECT_EQ(VisibleEntries(window.HelpMenu),
              (std::vector<QString>{"ルールブック", "ヘルプ", "バージョン"}));
}

TEST_F(LaunchWindowTest, PowerUpSwitchShowsEverythingAndIsRemembered) {
    {
        TLaunch window(launcherDialogs);
        window.show();
        window.PowerUpMenuItem->trigger();
        EXPECT_TRUE(window.PowerUpMenuItem->isChecked());
        std::vector<std::string> all = kUsualButtons;
        for (const char* name : {"haifuswbutton", "SoundButton", "UnameButton", "About"}) all.push_back(name);
        EXPECT_EQ(VisibleButtons(window), all);
        EXPECT_EQ(window.width(), 500);
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        EXPECT_EQ(VisibleEntries(window.MainMenu),
                  (std::vector<QString>{"ゲーム", "成績", "ネットワーク", "その他", "ヘルプ"}));
        // No caption is cut off by the wider window.
        for (QAction* action : window.MainMenu->actions())
            EXPECT_LE(window.MainMenu->actionGeometry(action).right(), window.width())
                << action->text().toStdString();
    }
    EXPECT_EQ(ReadBack().powerup_edition, 1);
    {
        TLaunch window(launcherDialogs);
        window.show();
        EXPECT_TRUE(window.PowerUpMenuItem->isChecked());
        EXPECT_EQ(VisibleButtons(window).size(), 10u);
        window.PowerUpMenuItem->trigger();
        EXPECT_EQ(VisibleButtons(window), kUsualButtons);
        EXPECT_EQ(window.width(), 300);
        EXPECT_EQ(VisibleEntries(window.MainMenu), (std::vector<QString>{"ゲーム", "ヘルプ"}));
    }
    EXPECT_EQ(ReadBack().powerup_edition, 0);
    std::string text = dir.Read("usr/guest/launch.nuc");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 40);
}

TEST_F(LaunchWindowTest, PowerUpMenusReachTheirCommands) {
    OpenedDialogs recorder;
    TLaunch window(recorder);
    window.show();
    window.PowerUpMenuItem->trigger();
    EXPECT_EQ(VisibleEntries(window.NetworkMenu),
              (std::vector<QString>{"ゲームサーバの起動", "ネットワーク対戦", "コンピュータプレーヤの起動",
                                    "-", "ネットワークの設定", "ゲームサーバーの動作の確認",
                                    "ゲームサーバーの探索", "ネットワークランキング"}));
    EXPECT_EQ(VisibleEntries(window.NetworkClientMenu),
              (std::vector<QString>{"標準", "小さい", "卓", "卓(小さい)"}));
    EXPECT_EQ(VisibleEntries(window.OtherMenu),
              (std::vector<QString>{"サンマ", "アメリカルール", "画像ビューア", "-",
                                    "起動時のダイアログについて", "牌譜の分析"}));
    recorder.opened.clear();
    for (const char* item : {"GameServerMenu", "Standard4Menu", "Small4Menu", "Taku4Menu", "SmallTaku4Menu",
                             "AutoMenu", "ProtocolButtonMenu", "PingMenu", "SearchServerMenu",
                             "RankClientMenu", "CustomExMenu", "HaifuButtonMenu", "N2", "N3"}) {
        auto* action = window.findChild<QAction*>(item);
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    for (QToolButton* button : {window.SoundButton, window.MachineInfoButton, window.AboutButton})
        button->click();
    window.BoardLayoutButton->click();
    EXPECT_EQ(recorder.opened,
              (std::vector<std::string>{"server", "client -T large ", "client -T small ", "client -T large4 ",
                                        "client -T small4 ", "auto box", "ネットワークの設定", "ping",
                                        "search", "rankCL", "custom", "records+", "rank-L", "player+",
                                        "sound", "machine", "about", "layout+"}));

    for (const char* item : {"SanmaMenu", "AmericaMenu", "ImageViewMenu"})
        window.findChild<QAction*>(item)->trigger();
    ASSERT_EQ(starter.starts.size(), 3u);
    EXPECT_EQ(starter.starts[0].commandLine, "sanma1.exe -n guest -c");
    EXPECT_EQ(starter.starts[1].commandLine, "tradmaj1.exe -n guest -c");
    EXPECT_EQ(starter.starts[2].commandLine,
              "\"" + dir.path() + "/glimpse.exe\" \"" + dir.path() + "/image\"");
}

TEST_F(LaunchWindowTest, PowerUpSwitchReachesTheDialogsFurtherControls) {
    LauncherSettings stored;
    stored.count = 1;
    stored.powerup_edition = 1;
    WriteLaunchNuc(stored);
    TLaunch window(launcherDialogs);
    launcherDialogs.CreateKeptWindows(&window);
    auto visibleIn = [](QWidget* box, const char* name) {
        auto* child = test::Child<QWidget>(box, name);
        return child != nullptr && child->isVisible();
    };
    auto layout = test::WhenShown("TZv1FormBox", [&](QWidget* box) {
        for (const char* name : {"rblarge", "large", "rblarge4", "large4", "realpai"})
            EXPECT_TRUE(visibleIn(box, name)) << name;
        test::Child<QPushButton>(box, "CloseButton")->click();
    });
    window.BoardLayoutButton->click();
    EXPECT_TRUE(*layout);
    bool records = false;
    test::WhenModal<THaifuBox>([&](THaifuBox* box) {
        records = true;
        EXPECT_TRUE(box->PlviewButton->isVisible());
        box->reject();
    });
    window.findChild<QAction*>("HaifuButtonMenu")->trigger();
    EXPECT_TRUE(records);
    bool player = false;
    test::WhenModal<TPlayerInfoBox>([&](TPlayerInfoBox* box) {
        player = true;
        for (QWidget* shown :
             std::initializer_list<QWidget*>{box->ClientCheck, box->Zelvan1Check, box->PointButton})
            EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
        box->reject();
    });
    window.PersonalResultsMenuItem->trigger();
    EXPECT_TRUE(player);

    // Switched off, the kept layout window offers the two smaller layouts again.
    window.PowerUpMenuItem->trigger();
    auto smaller = test::WhenShown("TZv1FormBox", [&](QWidget* box) {
        for (const char* name : {"rblarge", "rblarge4", "realpai"})
            EXPECT_FALSE(visibleIn(box, name)) << name;
        EXPECT_TRUE(visibleIn(box, "rbsmall"));
        test::Child<QPushButton>(box, "CloseButton")->click();
    });
    window.BoardLayoutButton->click();
    EXPECT_TRUE(*smaller);
}

TEST_F(LaunchWindowTest, MissingThreePlayerGameGetsItsOwnMessage) {
    TLaunch window(launcherDialogs);
    starter.result = 2;
    window.SanmaMenuClick();
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts[0], "ゼルバンサンマ");
    EXPECT_EQ(starter.starts[0].commandLine, "sanma1.exe -n guest -c");
    starter.result = kStartOk;
    window.AmericaClick();
    window.ImageViewMenuClick();
    EXPECT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(starter.starts[2].commandLine,
              "\"" + dir.path() + "/glimpse.exe\" \"" + dir.path() + "/image\"");
}

// Direct play: the window never shows, the engine is waited for and the
// event loop ends afterwards.
TEST_F(LaunchWindowTest, DirectPlayWaitsForTheEngineAndEnds) {
    LauncherSettings stored;
    stored.count = 1;
    stored.zv1form = "large4";
    stored.player1 = "";
    WriteLaunchNuc(stored);
    {
        TLaunch window(launcherDialogs);
        window.StartDirectPlay();
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(window.isVisible());
    }
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].kind, "waitable");
    EXPECT_EQ(starter.starts[0].commandLine, "zelvan1.exe  -T large4 -B \"" + UserDir() +
                                                 "\" -c  -n guest -Q  -l \"" + UserDir() +
                                                 "/zelvan1.fu\" -u _wizard -u _min -u _wizard");
    EXPECT_EQ(starter.waited, std::vector<int>{4242});
    EXPECT_EQ(ReadBack().count, 2);
}

// Records on which thread each dialog ran.
class ThreadRecordingDialogs : public RecordingDialogs {
public:
    void ShowErrorDialog(const std::string& what, const std::string& failure,
                         const std::string& detail) override {
        onUiThread = QThread::currentThread() == QApplication::instance()->thread();
        RecordingDialogs::ShowErrorDialog(what, failure, detail);
    }
    bool onUiThread = false;
};

TEST_F(LaunchWindowTest, DirectPlayWithAMissingEngineReportsOnTheUiThreadThenEnds) {
    ThreadRecordingDialogs threadDialogs;
    SetDialogOverrideForTests(&threadDialogs);
    starter.result = 2;
    {
        TLaunch window(launcherDialogs);
        window.StartDirectPlay();
        EXPECT_EQ(QApplication::exec(), 0);
    }
    ASSERT_EQ(threadDialogs.Of("error").size(), 1u);
    EXPECT_TRUE(threadDialogs.onUiThread);
    EXPECT_EQ(threadDialogs.Of("error")[0].texts[2], "zelvan1.exeを実行できませんでした");
    EXPECT_TRUE(starter.waited.empty());
}

}  // namespace
}  // namespace zv
