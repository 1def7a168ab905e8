#include "launcher/gui/launch_window.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>

#include "config/launcher_settings.h"
#include "config/user_identity.h"
#include "game/gui/zelvan1_box.h"
#include "gui_common/button_pictures.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "launcher/gui/launcher_dialogs.h"
#include "launcher/gui/program_threads.h"
#include "platform/platform.h"
#include "start/startup_tip.h"

namespace zv {
namespace {

int g_screenDepthForTests = 0;

constexpr int kButtonSize = 50;

}  // namespace

TLaunch::TLaunch(LauncherDialogs& dialogs) : dialogs_(dialogs) {
    setObjectName("TLaunch");
    setWindowTitle(QStringLiteral("ゼルバンライト"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    auto* bar = new QWidget(this);
    bar->setObjectName("ButtonBar");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    setCentralWidget(bar);

    PlayButton = AddButton("Zv1Exec", QStringLiteral("プレイ"), QStringLiteral("一人遊びの起動"), true);
    RuleButton =
        AddButton("RuleButton", QStringLiteral("ルール"), QStringLiteral("ルールのカスタマイズ"), true);
    BoardLayoutButton = AddButton("ZvInstall", QStringLiteral("盤設定"), QStringLiteral("盤設定"), true);
    CharButton =
        AddButton("CharButton", QStringLiteral("キャラ"), QStringLiteral("キャラクタのカスタマイズ"), true);
    RulebookButton =
        AddButton("WakeRulebook", QStringLiteral("ルール"), QStringLiteral("ルールブックの参照"), true);
    HelpButton = AddButton("WakeHelp", QStringLiteral("ヘルプ"), QStringLiteral("ヘルプの参照"), true);
    RecordSwitchButton = AddButton("haifuswbutton", QStringLiteral("牌譜"), QString(), false);
    SoundButton =
        AddButton("SoundButton", QStringLiteral("音"), QStringLiteral("サウンドのカスタマイズ"), false);
    MachineInfoButton =
        AddButton("UnameButton", QStringLiteral("情報"), QStringLiteral("コンピュータについて"), false);
    AboutButton = AddButton("About", QStringLiteral("情報"), QStringLiteral("バージョン"), false);
    row->addStretch();

    connect(PlayButton, &QToolButton::clicked, this, &TLaunch::Zv1ExecClick);
    connect(RuleButton, &QToolButton::clicked, this, &TLaunch::RuleButtonClick);
    connect(BoardLayoutButton, &QToolButton::clicked, this, &TLaunch::ZvInstallClick);
    connect(CharButton, &QToolButton::clicked, this, &TLaunch::CharButtonClick);
    connect(RulebookButton, &QToolButton::clicked, this, &TLaunch::WakeRulebookClick);
    connect(HelpButton, &QToolButton::clicked, this, &TLaunch::WakeHelpClick);
    connect(RecordSwitchButton, &QToolButton::clicked, this, &TLaunch::HaifuswButtonClick);
    connect(SoundButton, &QToolButton::clicked, this, &TLaunch::SoundButtonClick);
    connect(MachineInfoButton, &QToolButton::clicked, this, &TLaunch::UnameButtonClick);
    connect(AboutButton, &QToolButton::clicked, this, &TLaunch::AboutClick);

    BuildMenu();

    FormCreate();
}

TLaunch::~TLaunch() {
    if (directPlay_) directPlay_->wait();
    FormDestroy();
}

QToolButton* TLaunch::AddButton(const char* name, const QString& caption, const QString& hint, bool visible) {
    auto* button = new QToolButton(centralWidget());
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(LauncherButtonPicture(name));
    button->setIconSize(QSize(26, 26));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setVisible(visible);
    centralWidget()->layout()->addWidget(button);
    return button;
}

void TLaunch::BuildMenu() {
    MainMenu = menuBar();
    MainMenu->setObjectName("LaunchMainMenu");
    MainMenu->setNativeMenuBar(false);

    GameMenu = MainMenu->addMenu(QStringLiteral("ゲーム"));
    GameMenu->setObjectName("GameMenu");
    PlayMenuItem = GameMenu->addAction(QStringLiteral("プレイ"), this, &TLaunch::Zv1ExecMenuClick);
    PlayMenuItem->setObjectName("lV1");
    PowerUpMenuItem =
        GameMenu->addAction(QStringLiteral("パワーアップ版の機能を使う"), this, &TLaunch::PowerUpMenuClick);
    PowerUpMenuItem->setObjectName("PowerUpMenu");
    PowerUpMenuItem->setCheckable(true);
    ExitMenuItem = GameMenu->addAction(QStringLiteral("終了"), this, &TLaunch::ExitMenuClick);
    ExitMenuItem->setObjectName("ExitMenu");

    ResultsMenu = MainMenu->addMenu(QStringLiteral("成績"));
    ResultsMenu->setObjectName("N4");
    ResultsMenu->menuAction()->setVisible(false);
    OverallResultsMenuItem =
        ResultsMenu->addAction(QStringLiteral("全体成績"), this, &TLaunch::RankZelvan1Click);
    OverallResultsMenuItem->setObjectName("N2");
    PersonalResultsMenuItem =
        ResultsMenu->addAction(QStringLiteral("個人成績"), this, &TLaunch::PlayerInfoMenuClick);
    PersonalResultsMenuItem->setObjectName("N3");

    BuildPowerUpMenus();

    HelpMenu = MainMenu->addMenu(QStringLiteral("ヘルプ"));
    HelpMenu->setObjectName("N7");
    RulebookMenuItem =
        HelpMenu->addAction(QStringLiteral("ルールブック"), this, &TLaunch::WakeRuleBookMenuClick);
    RulebookMenuItem->setObjectName("WakeRuleBookMenu");
    HelpMenuItem = HelpMenu->addAction(QStringLiteral("ヘルプ"), this, &TLaunch::WakeHelpMenuClick);
    HelpMenuItem->setObjectName("WakeHelpMenu");
    AboutMenuItem = HelpMenu->addAction(QStringLiteral("バージョン"), this, &TLaunch::AboutMenuClick);
    AboutMenuItem->setObjectName("AboutMenu");
}

void TLaunch::AddItem(QMenu* menu, const char* name, const QString& caption, void (TLaunch::*command)()) {
    menu->addAction(caption, this, command)->setObjectName(name);
}

void TLaunch::BuildPowerUpMenus() {
    NetworkMenu = MainMenu->addMenu(QStringLiteral("ネットワーク"));
    NetworkMenu->setObjectName("NetMenu");
    AddItem(NetworkMenu, "GameServerMenu", QStringLiteral("ゲームサーバの起動"),
            &TLaunch::GameServerMenuClick);
    NetworkClientMenu = NetworkMenu->addMenu(QStringLiteral("ネットワーク対戦"));
    NetworkClientMenu->setObjectName("ClientMenu");
    AddItem(NetworkClientMenu, "Standard4Menu", QStringLiteral("標準"), &TLaunch::Standard4MenuClick);
    AddItem(NetworkClientMenu, "Small4Menu", QStringLiteral("小さい"), &TLaunch::Small4MenuClick);
    AddItem(NetworkClientMenu, "Taku4Menu", QStringLiteral("卓"), &TLaunch::Taku4MenuClick);
    AddItem(NetworkClientMenu, "SmallTaku4Menu", QStringLiteral("卓(小さい)"), &TLaunch::SmallTaku4MenuClick);
    AddItem(NetworkMenu, "AutoMenu", QStringLiteral("コンピュータプレーヤの起動"), &TLaunch::AutoMenuClick);
    NetworkMenu->addSeparator();
    AddItem(NetworkMenu, "ProtocolButtonMenu", QStringLiteral("ネットワークの設定"),
            &TLaunch::ProtocolButtonMenuClick);
    AddItem(NetworkMenu, "PingMenu", QStringLiteral("ゲームサーバーの動作の確認"), &TLaunch::PingMenuClick);
    AddItem(NetworkMenu, "SearchServerMenu", QStringLiteral("ゲームサーバーの探索"),
            &TLaunch::SearchServerMenuClick);
    AddItem(NetworkMenu, "RankClientMenu", QStringLiteral("ネットワークランキング"),
            &TLaunch::RankClientClick);

    OtherMenu = MainMenu->addMenu(QStringLiteral("その他"));
    OtherMenu->setObjectName("OtherMenu");
    AddItem(OtherMenu, "SanmaMenu", QStringLiteral("サンマ"), &TLaunch::SanmaMenuClick);
    AddItem(OtherMenu, "AmericaMenu", QStringLiteral("アメリカルール"), &TLaunch::AmericaMenuClick);
    AddItem(OtherMenu, "ImageViewMenu", QStringLiteral("画像ビューア"), &TLaunch::ImageViewMenuClick);
    OtherMenu->addSeparator();
    AddItem(OtherMenu, "CustomExMenu", QStringLiteral("起動時のダイアログについて"),
            &TLaunch::CustomExMenuClick);
    AddItem(OtherMenu, "HaifuButtonMenu", QStringLiteral("牌譜の分析"), &TLaunch::HaifuButtonMenuClick);
}

bool TLaunch::PowerUp() const { return Settings().powerup_edition != 0; }

void TLaunch::ApplyPowerUp() {
    bool on = PowerUp();
    PowerUpMenuItem->setChecked(on);
    for (QToolButton* button : {RecordSwitchButton, SoundButton, MachineInfoButton, AboutButton})
        button->setVisible(on);
    for (QMenu* menu : {ResultsMenu, NetworkMenu, OtherMenu}) menu->menuAction()->setVisible(on);
    centralWidget()->setFixedSize((on ? 10 : 6) * kButtonSize, kButtonSize);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(sizeHint());
}

void TLaunch::SetScreenDepthForTests(int bitsPerPixel) { g_screenDepthForTests = bitsPerPixel; }

void TLaunch::FormCreate() {
    LauncherSettings& settings = Settings();
    WidgetDialogs dialogs(this);
    SettleUser(settings, dialogs);
    EnsureUserDirectory(CurrentPlatform().InstallDir(), settings.UserDir, dialogs);

    int depth = g_screenDepthForTests;
    if (depth == 0) {
        QScreen* screen = this->screen();
        depth = screen != nullptr ? screen->depth() : 32;
    }
    settings.DisplayHiColor = IsHiColorDepth(depth);

    ReadLauncherSettings(settings);
    ApplyPowerUp();
    move(settings.launchleft, settings.launchtop);
    dialogs_.StartMusic(this);

    auto tip = StartupTip(settings.count, settings.DisplayHiColor);
    settings.count = NextStartCount(settings.count);
    if (tip) ShowMsgBox(this, kStartupTipTitle, *tip);
}

void TLaunch::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TLaunch::FormShow() { RenewPlayPicture(); }

void TLaunch::RenewPlayPicture() { PlayButton->setIcon(LayoutPicture(Settings().zv1form)); }

void TLaunch::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    LauncherSettings& settings = Settings();
    settings.launchleft = x();
    settings.launchtop = y();
    WidgetDialogs dialogs(this);
    WriteLauncherSettings(settings, dialogs);
    dialogs_.StopMusic();
}

void TLaunch::StartDirectPlay() {
    if (directPlay_) return;
    Settings().LayoutOption = " -T " + Settings().zv1form;
    setWindowState(Qt::WindowMinimized);
    hide();
    directPlay_ = std::make_unique<ThreadZelvan1>(this);
}

void TLaunch::PlayOnePlayer(const std::string& layout) {
    Settings().LayoutOption = " -T " + layout;
    dialogs_.OnePlayerGame(this);
}

void TLaunch::PlayClient(const std::string& layout) {
    Settings().LayoutOption = " -T " + layout;
    if (Settings().execdlg_client != 0)
        dialogs_.ClientBox(this);
    else
        dialogs_.ClientDirectStart(this);
}

void TLaunch::Zv1ExecClick() { PlayOnePlayer(Settings().zv1form); }
void TLaunch::RuleButtonClick() { dialogs_.RuleBoxOnePlayer(this); }
void TLaunch::ZvInstallClick() { dialogs_.Zv1FormBox(this, PowerUp()); }
void TLaunch::CharButtonClick() { dialogs_.CharNameBox(this); }

void TLaunch::WakeRulebookClick() {
    OpenDocument(RulebookIndexPath(CurrentPlatform().InstallDir()), "", "", kShowNormal);
}

void TLaunch::WakeHelpClick() {
    OpenDocument(HelpIndexPath(CurrentPlatform().InstallDir()), "", "", kShowNormal);
}

void TLaunch::HaifuswButtonClick() { EditRecordOption(this, 1); }
void TLaunch::SoundButtonClick() { dialogs_.SoundBox(this); }
void TLaunch::UnameButtonClick() { dialogs_.UnameBox(this); }
void TLaunch::AboutClick() { dialogs_.AboutBox(this); }
void TLaunch::Zv1ExecMenuClick() { Zv1ExecClick(); }
void TLaunch::ExitMenuClick() { close(); }
void TLaunch::RankZelvan1Click() { dialogs_.RankBox(this, false, true); }
void TLaunch::PlayerInfoMenuClick() { dialogs_.PlayerInfoBox(this, PowerUp()); }
void TLaunch::WakeRuleBookMenuClick() { WakeRulebookClick(); }
void TLaunch::WakeHelpMenuClick() { WakeHelpClick(); }
void TLaunch::AboutMenuClick() { AboutClick(); }

void TLaunch::PowerUpMenuClick() {
    Settings().powerup_edition = PowerUpMenuItem->isChecked() ? 1 : 0;
    ApplyPowerUp();
}

void TLaunch::SearchServerMenuClick() { dialogs_.SearchServerBox(this); }

void TLaunch::Small1Click() { PlayOnePlayer("small "); }
void TLaunch::Taku1Click() { PlayOnePlayer("large4 "); }
void TLaunch::Standard4Click() { PlayClient("large "); }
void TLaunch::Small4Click() { PlayClient("small "); }
void TLaunch::Taku4Click() { PlayClient("large4 "); }
void TLaunch::smalltaku4Click() { PlayClient("small4 "); }

void TLaunch::AutoClick() {
    if (Settings().execdlg_auto != 0)
        dialogs_.AutoLaunchBox(this);
    else
        dialogs_.AutoDirectStart(this, "auto");
}

void TLaunch::GameServerClick() { dialogs_.ServerBox(this); }
void TLaunch::PingButtonClick() { dialogs_.PingBox(this); }
void TLaunch::ProtocolButtonClick() { dialogs_.ProtocolBox(this, "ネットワークの設定"); }
void TLaunch::NetworkMenuClick() { ProtocolButtonClick(); }
void TLaunch::CustomExClick() { dialogs_.CustomExBox(this); }
void TLaunch::HaifuButtonClick() { dialogs_.HaifuBox(this, PowerUp()); }
void TLaunch::RankClick() { dialogs_.RankBox(this, false, false); }
void TLaunch::RankClientClick() { dialogs_.RankBox(this, true, true); }

void TLaunch::Zv1InstallClick() {
    dialogs_.ZvSetupBox(this, 1);
    RenewPlayPicture();
}

void TLaunch::StartOrReport(const std::string& commandLine, const char* game, const char* failure,
                            const char* advice) {
    if (!TryCommand(this, commandLine, kShowNormal)) ShowErrorDialog(this, game, failure, advice);
}

void TLaunch::SanmaClick() {
    StartOrReport(SanmaCommandLine(Settings().UserName), "ゼルバンサンマ",
                  "サンマはパワーアップ版でサポートされる予定です", "関西でよく行われているルールです");
}

void TLaunch::AmericaClick() {
    StartOrReport(AmericaCommandLine(Settings().UserName), "ゼルバンアメリカルール",
                  "アメリカルールはパワーアップ版でサポートされる予定です",
                  "1920年代によくプレーされていたルールです");
}

void TLaunch::ImageViewMenuClick() {
    RunCommand(this, ImageViewerCommandLine(CurrentPlatform().InstallDir()), kShowNormal);
}

void TLaunch::Standard4MenuClick() { Standard4Click(); }
void TLaunch::Small4MenuClick() { Small4Click(); }
void TLaunch::Taku4MenuClick() { Taku4Click(); }
void TLaunch::SmallTaku4MenuClick() { smalltaku4Click(); }
void TLaunch::AutoMenuClick() { AutoClick(); }
void TLaunch::GameServerMenuClick() { GameServerClick(); }
void TLaunch::PingMenuClick() { PingButtonClick(); }
void TLaunch::SanmaMenuClick() { SanmaClick(); }
void TLaunch::AmericaMenuClick() { AmericaClick(); }
void TLaunch::UnameButtonMenuClick() { UnameButtonClick(); }
void TLaunch::CharButtonMenuClick() { CharButtonClick(); }
void TLaunch::SoundButtonMenuClick() { SoundButtonClick(); }
void TLaunch::RuleButtonMenuClick() { RuleButtonClick(); }
void TLaunch::CustomExMenuClick() { CustomExClick(); }
void TLaunch::HaifuButtonMenuClick() { HaifuButtonClick(); }
void TLaunch::ProtocolButtonMenuClick() { ProtocolButtonClick(); }
void TLaunch::Zv1InstallMenuClick() { Zv1InstallClick(); }

}  // namespace zv
