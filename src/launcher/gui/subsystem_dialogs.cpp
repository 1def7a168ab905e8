#include "launcher/gui/subsystem_dialogs.h"

#include <QCoreApplication>

#include "config/launcher_settings.h"
#include "game/gui/auto_launch_box.h"
#include "game/gui/client_box.h"
#include "game/gui/custom_exec.h"
#include "game/gui/server_box.h"
#include "game/gui/zelvan1_box.h"
#include "game/gui/zv_form_box.h"
#include "gui_common/first_paint.h"
#include "info/gui/info_boxes.h"
#include "net/gui/net_dialogs.h"
#include "records/gui/haifu_box.h"
#include "records/gui/player_info_box.h"
#include "records/gui/rank_box.h"
#include "rules/gui/characters.h"
#include "rules/gui/rule_box.h"
#include "rules/rule_file.h"
#include "sound/gui/launcher_music.h"
#include "sound/gui/sound_box.h"

namespace zv {

SubsystemDialogs::SubsystemDialogs() : layouts_(std::make_unique<LayoutWindows>()) {}
SubsystemDialogs::~SubsystemDialogs() = default;

void SubsystemDialogs::CreateKeptWindows(QWidget* mainWindow) {
    // 1. The sound settings (reads sound.nuc on creation).
    if (soundBox_.isNull()) {
        soundBox_ = new TSoundBox(mainWindow, soundDialogs_);
        soundDialogs_.SetOwner(soundBox_);
    }
    // 2. The machine information (gathers the system's facts).
    if (unameBox_.isNull()) unameBox_ = new TUnameBox(mainWindow);
    // 3. The three board-layout windows.
    layouts_->Create(mainWindow);
}

void SubsystemDialogs::StartMusic(QWidget* mainWindow) {
    // Opening the music loads the audio libraries and the synthesizer's
    // samples: it begins once the main window is on screen, so that the two
    // do not compete. The application object lives on the window's thread
    // for the whole run.
    AfterFirstPaint(mainWindow, [] { StartLauncherMusic(QCoreApplication::instance()); });
}

void SubsystemDialogs::StopMusic() { StopLauncherMusic(); }

void SubsystemDialogs::OnePlayerGame(QWidget* owner) { OpenZelvan1(owner, nextOpponentSlot_); }

void SubsystemDialogs::RuleBoxOnePlayer(QWidget* owner) { OpenRuleBox(owner, kOnePlayerGame); }

void SubsystemDialogs::Zv1FormBox(QWidget* owner, bool powerUp) {
    TZv1FormBox* box = layouts_->Zv1Form(owner);
    box->OfferEveryChoice(powerUp);
    ShowKeptWindow(owner, box);
}

void SubsystemDialogs::ZvSetupBox(QWidget* owner, int kindOfGame) {
    TZvSetupBox* box = layouts_->Setup(owner);
    box->Kind = kindOfGame;
    ShowKeptWindow(owner, box);
}

void SubsystemDialogs::CharNameBox(QWidget* owner) { OpenCharNameBox(owner); }

void SubsystemDialogs::SoundBox(QWidget* owner) {
    if (soundBox_.isNull()) return;  // only the kept window is shown
    PlaceDialog(owner, soundBox_);
    soundBox_->exec();
}

void SubsystemDialogs::UnameBox(QWidget* owner) {
    if (unameBox_.isNull()) unameBox_ = new TUnameBox(owner);
    PlaceDialog(owner, unameBox_);
    unameBox_->exec();
}

void SubsystemDialogs::AboutBox(QWidget* owner) { RunAboutBox(owner); }
void SubsystemDialogs::PlayerInfoBox(QWidget* owner, bool powerUp) { RunPlayerInfoBox(owner, powerUp); }

void SubsystemDialogs::RankBox(QWidget* owner, bool clientCheck, bool loadList) {
    // Only the commands that load the list first preset the client box.
    RunRankBox(owner, loadList, clientCheck, loadList);
}

void SubsystemDialogs::ServerBox(QWidget* owner) { RunServerBox(owner); }
void SubsystemDialogs::PingBox(QWidget* owner) { RunPingBox(owner); }

void SubsystemDialogs::SearchServerBox(QWidget* owner) {
    std::string server = RunSearchServerBox(owner);
    if (!server.empty()) Settings().hostname = server;
}

void SubsystemDialogs::ProtocolBox(QWidget* owner, const std::string& title) {
    RunProtocolBox(owner, 0, title);  // a client's settings
}

void SubsystemDialogs::CustomExBox(QWidget* owner) { RunCustomExec(owner); }
void SubsystemDialogs::HaifuBox(QWidget* owner, bool powerUp) { RunHaifuBox(owner, powerUp); }
void SubsystemDialogs::AutoLaunchBox(QWidget* owner) { RunAutoLaunchBox(owner); }

void SubsystemDialogs::AutoDirectStart(QWidget* owner, const std::string& name) {
    StartAutoPlayer(owner, name);
}

void SubsystemDialogs::ClientBox(QWidget* owner) { RunClientBox(owner); }
void SubsystemDialogs::ClientDirectStart(QWidget* owner) { StartClient(owner); }

TSoundBox* SubsystemDialogs::KeptSoundBox() const { return soundBox_; }

LayoutWindows& SubsystemDialogs::Layouts() { return *layouts_; }

}  // namespace zv
