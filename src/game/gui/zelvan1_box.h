#pragma once
// The one-player game: the dialog that shows the three computer opponents and
// starts the engine, and the small dialog that switches the game record on
// or off.
#include <QDialog>
#include <string>

#include "game/zelvan1_start.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zv {

class TZelvan1Box : public QDialog {
    Q_OBJECT
public:
    // Fills the opponents from the settings. `nextOpponentSlot` counts the
    // characters picked in the run (see PickOpponent); it outlives the dialog.
    TZelvan1Box(QWidget* owner, int& nextOpponentSlot);
    ~TZelvan1Box() override;

    QLabel* Label2;
    QLabel* UserName;
    QGroupBox* GroupBox1;
    QLabel* player1;
    QLabel* player2;
    QLabel* player3;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* Image3;
    QPushButton* CharSelectButton;
    QPushButton* CancelButton;
    QPushButton* OKButton;

    void CharSelectButtonClick();
    void CancelButtonClick();
    void OKButtonClick();

    // Shows a character in an opponent slot (0 to 2): caption, picture, hint.
    void ShowOpponent(int slot, const std::string& name);
    // The three captions, as the engine's command line takes them.
    Opponents Captions() const;

    // A character picked in the selection dialog: fills opponent slot
    // `nextOpponentSlot` mod 3 and its setting, and counts the pick. The
    // count is never reset, so a dialog opened again continues where the
    // last one stopped.
    void PickOpponent(const std::string& name);

private:
    int& nextOpponentSlot_;
};

// Opens the one-player game from the main window after it has set the
// layout: the dialog when execdlg_zelvan1 is non-zero, else an immediate
// start with the default opponents. `nextOpponentSlot` is the run's count of
// picked characters.
void OpenZelvan1(QWidget* mainWindow, int& nextOpponentSlot);

// Starts the engine (see zelvan1_start.h); a TZelvan1Box owner gives the
// captions for DialogOpponents. Reports through the owner's dialogs.
int StartZelvan1(QWidget* owner, StartKind kind);

// Switches a game record on or off: which = 0 the server's, 1 the
// one-player game's, other values the network client's.
void EditRecordOption(QWidget* owner, int which);

class TMajOptionBox : public QDialog {
    Q_OBJECT
public:
    explicit TMajOptionBox(QWidget* owner);
    QGroupBox* RadioGroup2;
    QCheckBox* haifubutton;
    QPushButton* OKbutton;
};

}  // namespace zv
