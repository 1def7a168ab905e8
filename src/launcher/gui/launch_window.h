#pragma once
// The launcher's main window: a bar of picture buttons with a menu. It loads
// the settings when it is created and saves them when it is destroyed; every
// dialog of the launcher is opened from here, through the LauncherDialogs it
// is given, and owned by it.
#include <QMainWindow>
#include <memory>
#include <string>

class QMenu;
class QAction;
class QToolButton;

namespace zv {

class LauncherDialogs;
class ThreadZelvan1;

class TLaunch : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate (user, settings, position, tip).
    // `dialogs` opens the other subsystems' windows; it outlives the window.
    explicit TLaunch(LauncherDialogs& dialogs);
    ~TLaunch() override;

    // Direct play: the window is minimised and hidden for good, and the
    // engine is started and waited for on a thread that ends the launcher.
    void StartDirectPlay();

    // The screen depth used for the colour test; 0 asks the screen (tests).
    static void SetScreenDepthForTests(int bitsPerPixel);

    // Buttons, visible ones first in their order. Every control's object
    // name stays the window's original component name ("Zv1Exec", "N4",
    // "lV1", ...): the button pictures are looked up by it, and tools that
    // drive the window find its controls by it.
    QToolButton* PlayButton;
    QToolButton* RuleButton;
    QToolButton* BoardLayoutButton;
    QToolButton* CharButton;
    QToolButton* RulebookButton;
    QToolButton* HelpButton;
    QToolButton* RecordSwitchButton;
    QToolButton* SoundButton;
    QToolButton* MachineInfoButton;
    QToolButton* AboutButton;

    QMenuBar* MainMenu;
    QMenu* GameMenu;
    QAction* PlayMenuItem;
    // The power-up switch (check item): shows the hidden buttons, the
    // results, network and other menus, and the dialogs' further controls.
    QAction* PowerUpMenuItem;
    QAction* ExitMenuItem;
    QMenu* ResultsMenu;
    QAction* OverallResultsMenuItem;
    QAction* PersonalResultsMenuItem;
    QMenu* HelpMenu;
    QAction* RulebookMenuItem;
    QAction* HelpMenuItem;
    QAction* AboutMenuItem;
    // Shown with the power-up switch only; each item calls one of the
    // further commands below.
    QMenu* NetworkMenu;
    QMenu* NetworkClientMenu;
    QMenu* OtherMenu;

    void FormCreate();
    void FormShow();
    void FormDestroy();

    // Commands of the buttons and menus.
    void Zv1ExecClick();
    void RuleButtonClick();
    void ZvInstallClick();
    void CharButtonClick();
    void WakeRulebookClick();
    void WakeHelpClick();
    void HaifuswButtonClick();
    void SoundButtonClick();
    void UnameButtonClick();
    void AboutClick();
    void Zv1ExecMenuClick();
    void ExitMenuClick();
    void RankZelvan1Click();
    void PlayerInfoMenuClick();
    void WakeRuleBookMenuClick();
    void WakeHelpMenuClick();
    void AboutMenuClick();
    void PowerUpMenuClick();
    void SearchServerMenuClick();

    // Further commands that no control of this window invokes.
    void Small1Click();
    void Taku1Click();
    void Standard4Click();
    void Small4Click();
    void Taku4Click();
    void smalltaku4Click();
    void AutoClick();
    void GameServerClick();
    void PingButtonClick();
    void ProtocolButtonClick();
    void NetworkMenuClick();
    void CustomExClick();
    void HaifuButtonClick();
    void RankClick();
    void RankClientClick();
    void Zv1InstallClick();
    void SanmaClick();
    void AmericaClick();
    void ImageViewMenuClick();

    void Standard4MenuClick();
    void Small4MenuClick();
    void Taku4MenuClick();
    void SmallTaku4MenuClick();
    void AutoMenuClick();
    void GameServerMenuClick();
    void PingMenuClick();
    void SanmaMenuClick();
    void AmericaMenuClick();
    void UnameButtonMenuClick();
    void CharButtonMenuClick();
    void SoundButtonMenuClick();
    void RuleButtonMenuClick();
    void CustomExMenuClick();
    void HaifuButtonMenuClick();
    void ProtocolButtonMenuClick();
    void Zv1InstallMenuClick();

    // Menu items of earlier editions that do nothing.
    void Standard1MenuClick() {}
    void Small1MenuClick() {}
    void Taku1MenuClick() {}
    void SmallTaku1MenuClick() {}
    void CustomButtonMenuClick() {}
    void HostNameButtonMenuClick() {}
    void PortNumberButtonMenuClick() {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* AddButton(const char* name, const QString& caption, const QString& hint, bool visible);
    void BuildMenu();
    void BuildPowerUpMenus();
    // Adds a menu item named `name` that calls `command`.
    void AddItem(QMenu* menu, const char* name, const QString& caption, void (TLaunch::*command)());
    bool PowerUp() const;
    // Shows or hides what the power-up switch governs and refits the window.
    void ApplyPowerUp();
    // The one-player game with the given layout word.
    void PlayOnePlayer(const std::string& layout);
    // The network client with the given layout word.
    void PlayClient(const std::string& layout);
    void RenewPlayPicture();
    void StartOrReport(const std::string& commandLine, const char* game, const char* failure,
                       const char* advice);

    LauncherDialogs& dialogs_;
    std::unique_ptr<ThreadZelvan1> directPlay_;
    bool destroyed_ = false;
};

}  // namespace zv
