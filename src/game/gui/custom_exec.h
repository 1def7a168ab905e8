#pragma once
// Whether each program's settings dialog is shown before it starts, with a
// one-line summary of the stored settings a start without the dialog uses;
// also the hidden switch for full-colour character faces.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zv {

class TCustomExec : public QDialog {
    Q_OBJECT
public:
    explicit TCustomExec(QWidget* owner);

    QLabel* Label1;
    QLabel* Label2;
    QCheckBox* CheckBoxServer;
    QCheckBox* CheckBoxClient;
    QCheckBox* CheckBoxAuto;
    QCheckBox* CheckBoxZelvan1;
    QLabel* ServerInfo;
    QLabel* ClientInfo;
    QLabel* AutoInfo;
    QLabel* Zelvan1Info;
    QCheckBox* HiColorCharCheckBox;
    QPushButton* OKButton;

    void OKButtonClick();
};

// The whole showing: reads the settings into the dialog, shows it modally
// and, however it was closed, stores the check boxes (1 or 0).
void RunCustomExec(QWidget* owner);

}  // namespace zv
