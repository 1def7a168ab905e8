#pragma once
// The server check: tells whether a game server answers at the address held
// in the settings, by opening a connection to it and closing it at once.
#include <QDialog>

class QAction;
class QLabel;
class QPushButton;

namespace zv {

class TPingBox : public QDialog {
    Q_OBJECT
public:
    explicit TPingBox(QWidget* owner);

    void ConnectButtonClick();
    void NetworkMenuClick();
    void OkButtonClick();

    QLabel* Label1;
    QLabel* Label3;
    QLabel* NetworkProtocol;
    QPushButton* ConnectButton;
    QLabel* Label2;
    QLabel* pingresult;
    QPushButton* OkButton;
    QAction* NetworkMenu;

private:
    void FormCreate();
};

}  // namespace zv
