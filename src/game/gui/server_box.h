#pragma once
// The game server dialog: shows the network protocol, switches the server's
// game record, the network settings and the notification-area icon, and
// starts the server engine.
#include <QDialog>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace zv {

class TServerBox : public QDialog {
    Q_OBJECT
public:
    explicit TServerBox(QWidget* owner);

    QMenuBar* OptionMenu;
    QMenu* Port;
    QAction* haifu;
    QAction* NetworkMenu;
    QLabel* Label2;
    QLabel* Label1;
    QLabel* Protocol;
    QCheckBox* ResidentCheckBox;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void haifuClick();
    void NetworkMenuClick();
    // Stores the check box, starts the server and closes.
    void OKButtonClick();
    void CancelButtonClick();

    // However the dialog closes, the check box is stored in `resident`.
    void done(int result) override;

private:
    void StoreResident();
};

// The main window's game server command: the dialog, placed, shown modally
// and freed.
void RunServerBox(QWidget* owner);

}  // namespace zv
