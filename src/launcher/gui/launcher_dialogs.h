#pragma once
// What the main window opens: every dialog and kept window of the other
// subsystems, as one interface the window is given when it is built. The
// program's implementation is SubsystemDialogs (subsystem_dialogs.h); tests
// give the window one that records the calls. Every entry is pure virtual,
// so an implementation that leaves one out does not compile.
//
// Each entry receives the window that opens the dialog as its owner; the
// dialogs are placed 50 pixels right of and below it and shown modally.
// `powerUp` is the main window's power-up switch: the dialogs that take it
// show their further controls when it is on.
#include <string>

class QWidget;

namespace zv {

class LauncherDialogs {
public:
    virtual ~LauncherDialogs() = default;

    // The windows kept for the whole run, owned by the main window: the
    // sound settings, the machine information and the three board-layout
    // windows, created in that order. A second call does nothing.
    virtual void CreateKeptWindows(QWidget* mainWindow) = 0;

    // Background music, started when the main window is created and stopped
    // when it is destroyed.
    virtual void StartMusic(QWidget* mainWindow) = 0;
    virtual void StopMusic() = 0;

    // The one-player game: its dialog, or a start with the default opponents
    // (execdlg_zelvan1 decides), after LayoutOption has been set.
    virtual void OnePlayerGame(QWidget* owner) = 0;
    // The rule editor set to the one-player game.
    virtual void RuleBoxOnePlayer(QWidget* owner) = 0;
    // The kept board-layout window of the one-player game.
    virtual void Zv1FormBox(QWidget* owner, bool powerUp) = 0;
    // The kept setup hub for `kindOfGame` (1 the one-player game).
    virtual void ZvSetupBox(QWidget* owner, int kindOfGame) = 0;
    virtual void CharNameBox(QWidget* owner) = 0;
    // The kept sound settings window.
    virtual void SoundBox(QWidget* owner) = 0;
    // The kept machine-information window.
    virtual void UnameBox(QWidget* owner) = 0;
    virtual void AboutBox(QWidget* owner) = 0;
    virtual void PlayerInfoBox(QWidget* owner, bool powerUp) = 0;
    // The ranking: whether its client box is checked and the list loaded first.
    virtual void RankBox(QWidget* owner, bool clientCheck, bool loadList) = 0;
    virtual void ServerBox(QWidget* owner) = 0;
    virtual void PingBox(QWidget* owner) = 0;
    // The server search; the chosen server becomes the host name setting.
    virtual void SearchServerBox(QWidget* owner) = 0;
    // The network settings of a client, under the given title.
    virtual void ProtocolBox(QWidget* owner, const std::string& title) = 0;
    virtual void CustomExBox(QWidget* owner) = 0;
    virtual void HaifuBox(QWidget* owner, bool powerUp) = 0;
    virtual void AutoLaunchBox(QWidget* owner) = 0;
    // A computer player sent to the server at once, with the given name.
    virtual void AutoDirectStart(QWidget* owner, const std::string& name) = 0;
    // The network client, after LayoutOption has been set.
    virtual void ClientBox(QWidget* owner) = 0;
    virtual void ClientDirectStart(QWidget* owner) = 0;
};

}  // namespace zv
