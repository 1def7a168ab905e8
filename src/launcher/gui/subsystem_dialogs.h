#pragma once
// The program's LauncherDialogs: opens the real dialogs of every subsystem
// and keeps the windows that live for the whole run. One object serves the
// main window for the run; it must outlive the window.
#include <QPointer>

#include <memory>

#include "gui_common/message_boxes.h"
#include "launcher/gui/launcher_dialogs.h"

class QDialog;

namespace zv {

class LayoutWindows;
class TSoundBox;
class TUnameBox;

class SubsystemDialogs : public LauncherDialogs {
public:
    SubsystemDialogs();
    ~SubsystemDialogs() override;

    void CreateKeptWindows(QWidget* mainWindow) override;
    void StartMusic(QWidget* mainWindow) override;
    void StopMusic() override;
    void OnePlayerGame(QWidget* owner) override;
    void RuleBoxOnePlayer(QWidget* owner) override;
    void Zv1FormBox(QWidget* owner, bool powerUp) override;
    void ZvSetupBox(QWidget* owner, int kindOfGame) override;
    void CharNameBox(QWidget* owner) override;
    void SoundBox(QWidget* owner) override;
    void UnameBox(QWidget* owner) override;
    void AboutBox(QWidget* owner) override;
    void PlayerInfoBox(QWidget* owner, bool powerUp) override;
    void RankBox(QWidget* owner, bool clientCheck, bool loadList) override;
    void ServerBox(QWidget* owner) override;
    void PingBox(QWidget* owner) override;
    void SearchServerBox(QWidget* owner) override;
    void ProtocolBox(QWidget* owner, const std::string& title) override;
    void CustomExBox(QWidget* owner) override;
    void HaifuBox(QWidget* owner, bool powerUp) override;
    void AutoLaunchBox(QWidget* owner) override;
    void AutoDirectStart(QWidget* owner, const std::string& name) override;
    void ClientBox(QWidget* owner) override;
    void ClientDirectStart(QWidget* owner) override;

    // The kept sound window, or null before CreateKeptWindows (or after the
    // main window that owns it was destroyed).
    TSoundBox* KeptSoundBox() const;
    // The board-layout windows.
    LayoutWindows& Layouts();

private:
    // The sound window reports through dialogs owned by itself; they are
    // bound to it once it exists and outlive it.
    WidgetDialogs soundDialogs_{nullptr};
    QPointer<TSoundBox> soundBox_;
    QPointer<TUnameBox> unameBox_;
    std::unique_ptr<LayoutWindows> layouts_;
    // Characters picked for the one-player game in this run (never reset).
    int nextOpponentSlot_ = 0;
};

}  // namespace zv
