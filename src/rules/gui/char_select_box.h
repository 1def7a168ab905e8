#pragma once
// The character selection dialog: a list of every character, each newly
// picked one reported to the process-wide selection callback (installed by
// the game dialog that opens it).
#include <QDialog>

class QAction;
class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QMenuBar;
class QPushButton;

namespace zv {

class TCharSelectBox : public QDialog {
    Q_OBJECT
public:
    // Fills the list and takes its view from the `liststyle` setting.
    explicit TCharSelectBox(QWidget* owner);
    ~TCharSelectBox() override;

    QMenuBar* MainMenu;
    QAction* NormalMenu;
    QAction* ListMenu;
    QListWidget* ListView;
    QCheckBox* ReadFaceCheckBox;
    QPushButton* CancelButton;

    void NormalMenuClick();
    void ListMenuClick();
    void CancelButtonClick();
    // Reports the selected item once: only when it is also the current item,
    // differs from the item last reported and a callback is set. The item is
    // remembered as last reported even when nobody was called.
    void ListViewChange();
};

}  // namespace zv
