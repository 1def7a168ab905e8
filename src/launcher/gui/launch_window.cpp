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
#include "launcher/gui/button_pictures.h"
#include "launcher/gui/launcher_hooks.h"
#include "launcher/gui/message_boxes.h"
#include "launcher/gui/program_threads.h"
#include "launcher/gui/qt_text.h"
#include "launcher/startup_tip.h"
#include "platform/platform.h"

namespace zv {
namespace {

int g_screenDepthForTests = 0;

constexpr int kButtonSize = 50;

// Runs an optional hook with the window as owner.
template <typename Hook, typename... Args>
void Call(const Hook& hook, Args&&... args) {
    if (hook) hook(std::forward<Args>(args)...);
}

}  // namespace

TLaunch::TLaunch() {
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

    Zv1Exec = AddButton("Zv1Exec", QStringLiteral("プレイ"), QStringLiteral("一人遊びの起動"), true);
    RuleButton =
        AddButton("RuleButton", QStringLiteral("ルール"), QStringLiteral("ルールのカスタマイズ"), true);
    ZvInstall = AddButton("ZvInstall", QStringLiteral("盤設定"), QStringLiteral("盤設定"), true);
    CharButton =
        AddButton("CharButton", QStringLiteral("キャラ"), QStringLiteral("キャラクタのカスタマイズ"), true);
    WakeRulebook =
        AddButton("WakeRulebook", QStringLiteral("ルール"), QStringLiteral("ルールブックの参照"), true);
    WakeHelp = AddButton("WakeHelp", QStringLiteral("ヘルプ"), QStringLiteral("ヘルプの参照"), true);
    haifuswbutton = AddButton("haifuswbutton", QStringLiteral("牌譜"), QString(), false);
    SoundButton =
        AddButton("SoundButton", QStringLiteral("音"), QStringLiteral("サウンドのカスタマイズ"), false);
    UnameButton =
        AddButton("UnameButton", QStringLiteral("情報"), QStringLiteral("コンピュータについて"), false);
    About = AddButton("About", QStringLiteral("情報"), QStringLiteral("バージョン"), false);
    row->addStretch();
    bar->setFixedSize(6 * kButtonSize, kButtonSize);

    connect(Zv1Exec, &QToolButton::clicked, this, &TLaunch::Zv1ExecClick);
    connect(RuleButton, &QToolButton::clicked, this, &TLaunch::RuleButtonClick);
    connect(ZvInstall, &QToolButton::clicked, this, &TLaunch::ZvInstallClick);
    connect(CharButton, &QToolButton::clicked, this, &TLaunch::CharButtonClick);
    connect(WakeRulebook, &QToolButton::clicked, this, &TLaunch::WakeRulebookClick);
    connect(WakeHelp, &QToolButton::clicked, this, &TLaunch::WakeHelpClick);
    connect(haifuswbutton, &QToolButton::clicked, this, &TLaunch::HaifuswButtonClick);
    connect(SoundButton, &QToolButton::clicked, this, &TLaunch::SoundButtonClick);
    connect(UnameButton, &QToolButton::clicked, this, &TLaunch::UnameButtonClick);
    connect(About, &QToolButton::clicked, this, &TLaunch::AboutClick);

    BuildMenu();
    adjustSize();
    setFixedSize(sizeHint());

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
    if (visible) centralWidget()->layout()->addWidget(button);
    return button;
}

void TLaunch::BuildMenu() {
    LaunchMainMenu = menuBar();
    LaunchMainMenu->setObjectName("LaunchMainMenu");
    LaunchMainMenu->setNativeMenuBar(false);

    GameMenu = LaunchMainMenu->addMenu(QStringLiteral("ゲーム"));
    GameMenu->setObjectName("GameMenu");
    lV1 = GameMenu->addAction(QStringLiteral("プレイ"), this, &TLaunch::Zv1ExecMenuClick);
    lV1->setObjectName("lV1");
    ExitMenu = GameMenu->addAction(QStringLiteral("終了"), this, &TLaunch::ExitMenuClick);
    ExitMenu->setObjectName("ExitMenu");

    N4 = LaunchMainMenu->addMenu(QStringLiteral("成績"));
    N4->setObjectName("N4");
    N4->menuAction()->setVisible(false);
    N2 = N4->addAction(QStringLiteral("全体成績"), this, &TLaunch::RankZelvan1Click);
    N2->setObjectName("N2");
    N3 = N4->addAction(QStringLiteral("個人成績"), this, &TLaunch::PlayerInfoMenuClick);
    N3->setObjectName("N3");

    N7 = LaunchMainMenu->addMenu(QStringLiteral("ヘルプ"));
    N7->setObjectName("N7");
    WakeRuleBookMenu = N7->addAction(QStringLiteral("ルールブック"), this, &TLaunch::WakeRuleBookMenuClick);
    WakeRuleBookMenu->setObjectName("WakeRuleBookMenu");
    WakeHelpMenu = N7->addAction(QStringLiteral("ヘルプ"), this, &TLaunch::WakeHelpMenuClick);
    WakeHelpMenu->setObjectName("WakeHelpMenu");
    AboutMenu = N7->addAction(QStringLiteral("バージョン"), this, &TLaunch::AboutMenuClick);
    AboutMenu->setObjectName("AboutMenu");
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
    move(settings.launchleft, settings.launchtop);
    Call(Hooks().startMusic, this);

    auto tip = StartupTip(settings.count, settings.DisplayHiColor);
    settings.count = NextStartCount(settings.count);
    if (tip) ShowMsgBox(this, kStartupTipTitle, *tip);
}

void TLaunch::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TLaunch::FormShow() { RenewPlayPicture(); }

void TLaunch::RenewPlayPicture() { Zv1Exec->setIcon(LayoutPicture(Settings().zv1form)); }

void TLaunch::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    LauncherSettings& settings = Settings();
    settings.launchleft = x();
    settings.launchtop = y();
    WidgetDialogs dialogs(this);
    WriteLauncherSettings(settings, dialogs);
    Call(Hooks().stopMusic);
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
    OpenZelvan1(this);
}

void TLaunch::PlayClient(const std::string& layout) {
    Settings().LayoutOption = " -T " + layout;
    if (Settings().execdlg_client != 0)
        Call(Hooks().clientBox, this);
    else
        Call(Hooks().clientDirectStart, this);
}

void TLaunch::Zv1ExecClick() { PlayOnePlayer(Settings().zv1form); }
void TLaunch::RuleButtonClick() { Call(Hooks().ruleBoxOnePlayer, this); }
void TLaunch::ZvInstallClick() { Call(Hooks().zv1FormBox, this); }
void TLaunch::CharButtonClick() { Call(Hooks().charNameBox, this); }

void TLaunch::WakeRulebookClick() {
    OpenDocument(RulebookIndexPath(CurrentPlatform().InstallDir()), "", "", kShowNormal);
}

void TLaunch::WakeHelpClick() {
    OpenDocument(HelpIndexPath(CurrentPlatform().InstallDir()), "", "", kShowNormal);
}

void TLaunch::HaifuswButtonClick() { EditRecordOption(this, 1); }
void TLaunch::SoundButtonClick() { Call(Hooks().soundBox, this); }
void TLaunch::UnameButtonClick() { Call(Hooks().unameBox, this); }
void TLaunch::AboutClick() { Call(Hooks().aboutBox, this); }
void TLaunch::Zv1ExecMenuClick() { Zv1ExecClick(); }
void TLaunch::ExitMenuClick() { close(); }
void TLaunch::RankZelvan1Click() { Call(Hooks().rankBox, this, false, true); }
void TLaunch::PlayerInfoMenuClick() { Call(Hooks().playerInfoBox, this); }
void TLaunch::WakeRuleBookMenuClick() { WakeRulebookClick(); }
void TLaunch::WakeHelpMenuClick() { WakeHelpClick(); }
void TLaunch::AboutMenuClick() { AboutClick(); }

void TLaunch::Small1Click() { PlayOnePlayer("small "); }
void TLaunch::Taku1Click() { PlayOnePlayer("large4 "); }
void TLaunch::Standard4Click() { PlayClient("large "); }
void TLaunch::Small4Click() { PlayClient("small "); }
void TLaunch::Taku4Click() { PlayClient("large4 "); }
void TLaunch::smalltaku4Click() { PlayClient("small4 "); }

void TLaunch::AutoClick() {
    if (Settings().execdlg_auto != 0)
        Call(Hooks().autoLaunchBox, this);
    else
        Call(Hooks().autoDirectStart, this, std::string("auto"));
}

void TLaunch::GameServerClick() { Call(Hooks().serverBox, this); }
void TLaunch::PingButtonClick() { Call(Hooks().pingBox, this); }
void TLaunch::ProtocolButtonClick() { Call(Hooks().protocolBox, this, std::string("ネットワークの設定")); }
void TLaunch::NetworkMenuClick() { ProtocolButtonClick(); }
void TLaunch::CustomExClick() { Call(Hooks().customExBox, this); }
void TLaunch::HaifuButtonClick() { Call(Hooks().haifuBox, this); }
void TLaunch::RankClick() { Call(Hooks().rankBox, this, false, false); }
void TLaunch::RankClientClick() { Call(Hooks().rankBox, this, true, true); }

void TLaunch::Zv1InstallClick() {
    Call(Hooks().zvSetupBox, this, 1);
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
