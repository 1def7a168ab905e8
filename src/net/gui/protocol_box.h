#pragma once
// The network settings dialog: protocol, game server address per protocol,
// and the kanji code used on the network.
#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace zv {

class TProtocolBox : public QDialog {
    Q_OBJECT
public:
    explicit TProtocolBox(QWidget* owner);

    // Enables the controls that fit the checked protocol (and the stored
    // purpose) and shows the protocol's page.
    void ApplyProtocolState();

    // Checks the protocol radio buttons after a protocol text: "TCP/IP" or
    // "IPX/SPX"; any other text leaves the current check.
    void CheckProtocol(const std::string& protocol);

    void OKButtonClick();

    // Closing by the window frame (or Escape) keeps the fields as OK does,
    // so it refuses the same texts that the settings file cannot hold.
    void reject() override;

    QLabel* what;
    QRadioButton* tcpip;
    QRadioButton* ipxspx;
    QTabWidget* PageControl;
    QWidget* TabSheetTCPIP;
    QWidget* TabSheetIPXSPX;
    QWidget* TabSheetKanji;
    QComboBox* TcpipHostName;
    QLineEdit* TcpipPortNumber;
    QCheckBox* ReadHostsCheckBox;
    QLineEdit* IpxNetworknumber;
    QLineEdit* NodeNumber;
    QLineEdit* SocketNumber;
    QRadioButton* ShiftJIS;
    QRadioButton* EUC;
    QRadioButton* unicode;
    QPushButton* OKButton;

private:
    void FormCreate();
    // False, after telling the user, when a field of the checked protocol
    // holds a double quote.
    bool FieldsAreStorable();
};

// Fills the item list of a combo box with the host names of the system's
// hosts file (nothing when it cannot be read).
void ReadHostsFile(QComboBox* list);

}  // namespace zv
