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
    // Fills the opponents from the settings and becomes the current
    // one-player dialog.
    explicit TZelvan1Box(QWidget* owner);
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
};

// Opens the one-player game from the main window after it has set the
// layout: the dialog when execdlg_zelvan1 is non-zero, else an immediate
// start with the default opponents.
void OpenZelvan1(QWidget* mainWindow);

// Starts the engine (see zelvan1_start.h); a TZelvan1Box owner gives the
// captions for DialogOpponents. Reports through the owner's dialogs.
int StartZelvan1(QWidget* owner, StartKind kind);

// A character picked in the selection dialog: fills the next opponent slot
// of the current one-player dialog and its setting. Does nothing while no
// dialog exists.
void OnOpponentSelected(const std::string& name);

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

// The face shown for a character (empty when there is none).
QPixmap OpponentPicture(const std::string& name);
std::string OpponentDescription(const std::string& name);

}  // namespace zv
