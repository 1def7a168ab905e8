#pragma once
// Player information: the list of players, and for the chosen one the
// statistics window and the (hidden) rating window. Both result windows are
// modeless, owned by the player-information dialog and destroyed with it;
// several may be open at once.
#include <QDialog>
#include <string>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zv {

struct PlayerResults;

class TShowPlayerBox : public QDialog {
    Q_OBJECT
public:
    explicit TShowPlayerBox(QWidget* owner);
    // Fills every label and the yaku list from a results record.
    void ShowResults(const std::string& playerName, const PlayerResults& results);

    QLabel* PlayerName;
    QLabel* TotalGame;
    QLabel* TotalPlay;
    QLabel* TotalPoint;
    QLabel* TotalTip;
    QLabel* TotalMoney;
    QLabel* First;
    QLabel* Second;
    QLabel* Third;
    QLabel* Fourth;
    QLabel* TumoCount;
    QLabel* RonCount;
    QLabel* FuriCount;
    QLabel* ReachCount;
    QLabel* NakiCount;
    QLabel* TumoAve;
    QLabel* RonAve;
    QLabel* FuriAve;
    QLabel* CharImage;
    QListWidget* YakuListBox;
    QPushButton* OkButton;

    void OkButtonClick();
};

class TShowPointBox : public QDialog {
    Q_OBJECT
public:
    explicit TShowPointBox(QWidget* owner);
    void ShowRating(const std::string& playerName, const PlayerResults& results);

    QLabel* user;
    QLabel* tech;
    QLabel* luck;
    QLabel* strength;
    QLabel* attr;
    QLabel* Image1;
    QPushButton* CloseButton;

    void CloseButtonClick();
};

class TPlayerInfoBox : public QDialog {
    Q_OBJECT
public:
    // `powerUp` shows the choice between network and one-player results, the
    // rating button and the button of the statistics window with charts and
    // recorded games; without it the dialog is the plain one.
    explicit TPlayerInfoBox(QWidget* owner, bool powerUp = false);

    QListWidget* ListView;
    QPushButton* OKButton;
    QPushButton* StatsButton;
    QPushButton* PointButton;
    QPushButton* CancelButton;
    QRadioButton* ClientCheck;
    QRadioButton* Zelvan1Check;
    QAction* FaceMenu;
    QAction* ListMenu;

    void FormCreate();
    void OKButtonClick();
    void PointButtonClick();
    void StatsButtonClick();
    void CancelButtonClick();
    void FaceMenuClick();
    void ListMenuClick();

private:
    // The selected player's results, or false after telling the user why not.
    bool ReadSelected(std::string& name, PlayerResults& results);
};

// The main window's "個人成績": creates the dialog, places it, shows it
// modally and destroys it (with every result window it opened).
void RunPlayerInfoBox(QWidget* owner, bool powerUp = false);

}  // namespace zv
