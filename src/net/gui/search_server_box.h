#pragma once
// The server search: tries the game port of every host of the local subnet,
// many hosts side by side, and lets the user pick one of the servers that
// answered, listed in ascending order. The window keeps drawing during the
// scan, showing the address last started, and "閉じる" (or closing the
// window) stops a scan.
#include <QDialog>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace zv {

class TSearchServerBox : public QDialog {
    Q_OBJECT
public:
    explicit TSearchServerBox(QWidget* owner);

    void FindButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

    // The server chosen with OK; empty until then.
    const std::string& ChosenServer() const { return chosen_; }
    bool Scanning() const { return scanning_; }

    // Closing the dialog by any means stops a running scan.
    void done(int result) override;

    QLabel* IPaddress;
    QLabel* IPmask;
    QListWidget* ServerListBox;
    QLabel* MessageLabel;
    QPushButton* FindButton;
    QPushButton* OKButton;
    QPushButton* CancelButton;

private:
    std::string chosen_;
    bool scanning_ = false;
    bool stop_ = false;
};

}  // namespace zv
