#pragma once
// Where the main window's commands meet the dialogs of the other subsystems.
// Each subsystem installs its entry points here when the program starts; an
// entry left empty makes its command do nothing. Every entry receives the window that opens the dialog as
// owner.
#include <QPixmap>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace zv {

struct LauncherHooks {
    using Open = std::function<void(QWidget* owner)>;

    // Creators of the windows made after the main window and kept until the
    // end, run in list order (sound settings, machine information, the three
    // board-layout windows).
    std::vector<Open> keptWindows;
    // Background music, started when the main window (the argument) is
    // created and stopped when it is destroyed.
    Open startMusic;
    std::function<void()> stopMusic;

    Open ruleBoxOnePlayer;  // rule editor set to the one-player game
    Open zv1FormBox;        // kept board-layout window of the one-player game
    std::function<void(QWidget* owner, int kindOfGame)> zvSetupBox;
    Open charNameBox;
    Open soundBox;
    Open unameBox;
    Open aboutBox;
    Open playerInfoBox;
    // Ranking: whether its client box is checked and the list loaded first.
    std::function<void(QWidget* owner, bool clientCheck, bool loadList)> rankBox;
    Open serverBox;
    Open pingBox;
    std::function<void(QWidget* owner, const std::string& title)> protocolBox;
    Open customExBox;
    Open haifuBox;
    Open autoLaunchBox;
    std::function<void(QWidget* owner, const std::string& name)> autoDirectStart;
    Open clientBox;
    Open clientDirectStart;

    // Characters: picture and description of a character, and the selection
    // dialog, which it places directly below its owner (PlaceBelow), shows
    // modally and which calls `picked` once for each newly picked character.
    std::function<QPixmap(const std::string& name)> characterPicture;
    std::function<std::string(const std::string& name)> characterDescription;
    std::function<void(QWidget* owner, std::function<void(const std::string&)> picked)> charSelectBox;
};

// The process-wide table.
LauncherHooks& Hooks();

// Fills the table with every subsystem's entry points, in the order the kept
// windows must be created. Called once by the program's main().
void InstallSubsystemHooks();

}  // namespace zv
