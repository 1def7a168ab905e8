#pragma once
// The network client dialog: shows the user, the protocol and the server
// address, switches the network settings and the talk function, and starts
// the client engine. The main window can also start the client directly.
#include <QDialog>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace zv {

class TClickLabel;

class TClientBox : public QDialog {
    Q_OBJECT
public:
    explicit TClientBox(QWidget* owner);

    QMenuBar* OptionMenu;
    QMenu* N1;
    QAction* NetworkMenu;
    QAction* RealPai;
    QAction* Communication;
    QLabel* Label2;
    QLabel* UserName;
    QLabel* Label4;
    QLabel* Protocol;
    QLabel* Label1;
    TClickLabel* Host;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    // The network settings for a client; afterwards the protocol and the
    // address are shown again. A click on Host does the same.
    void NetworkMenuClick();
    void HostClick();
    // The menu has already inverted the check mark; stores it in clienttalk.
    void CommunicationClick();
    // The server search; a found server is shown, the settings stay as
    // they are.
    void SearchServerMenuClick();
    void OKButtonClick();
    void CancelButtonClick();
};

// Starts the client with the stored settings; failures are reported to the
// owner.
void StartClient(QWidget* owner);

// The dialog, placed, shown modally and freed.
void RunClientBox(QWidget* owner);

}  // namespace zv
