#pragma once
// The computer-player launcher: four characters, each started as a computer
// player that joins the game server of the network settings when its
// picture is clicked. The dialog stays open for further starts.
#include <QDialog>
#include <string>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace zv {

class TClickLabel;

class TAutoLaunchBox : public QDialog {
    Q_OBJECT
public:
    // Shows the settings' four characters and becomes the current
    // computer-player dialog.
    explicit TAutoLaunchBox(QWidget* owner);

    QMenuBar* OptionMenu;
    QMenu* Port;
    QAction* NetworkMenu;
    QMenu* M1;
    QAction* CharSelectMenu;
    QAction* CharAssocMenu;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label5;
    QLabel* Label4;
    QLabel* Protocol;
    QLabel* Label1;
    QLabel* Host;
    QGroupBox* GroupBox1;
    QLabel* player1;
    QLabel* player2;
    QLabel* player3;
    QLabel* player4;
    TClickLabel* Image1;
    TClickLabel* Image2;
    TClickLabel* Image3;
    TClickLabel* Image4;
    QCheckBox* NonTerminate;
    QPushButton* CancelButton;

    // A click or a double click on a place's picture: one computer player
    // for the name shown in that place (0 to 3).
    void ImageClick(int place);
    void NonTerminateClick();
    void NetworkMenuClick();
    void CharSelectMenuClick();
    void CharAssocMenuClick();
    void CancelButtonClick();

    // Shows a character in a place (0 to 3): name, picture and description.
    void ShowCharacter(int place, const std::string& name);
    // The name shown in a place.
    std::string PlaceName(int place) const;

private:
    QLabel* Names(int place) const;
    TClickLabel* Images(int place) const;
};

// Starts one computer player for a character; failures are reported to the
// owner.
void StartAutoPlayer(QWidget* owner, const std::string& name);

// A character picked in the selection dialog: fills the next place of the
// current computer-player dialog and its setting. Does nothing while no
// such dialog exists.
void OnAutoPlayerSelected(const std::string& name);

// The dialog, placed, shown modally and freed.
void RunAutoLaunchBox(QWidget* owner);

}  // namespace zv
