#pragma once
// The naming dialog behind the main window's character button: the user
// names a character, a new one gets its directory below usr/, and the
// character maker opens on it.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace zv {

class TInputCharNameBox : public QDialog {
    Q_OBJECT
public:
    // Offers every entry below usr/ and presets the network logon name.
    explicit TInputCharNameBox(QWidget* owner);

    QLabel* NameLabel;
    QComboBox* ModifyCharNameComboBox;
    QPushButton* ModifyCharButton;
    QPushButton* CancelButton;

    // Refuses names that cannot be one directory below usr/ or be stored in
    // launch.nuc; asks before creating a new character; then shows the
    // character maker and closes. Stays open when the user declines or a
    // step fails.
    void ModifyCharButtonClick();
    void CancelButtonClick();
};

}  // namespace zv
