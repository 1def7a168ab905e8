#pragma once
// Game records: collects the ".fu" files below usr/, lets the player pick
// one or browse for one, and hands it to the text viewer, the record
// analyser or the record player.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace zv {

class THaifuBox : public QDialog {
    Q_OBJECT
public:
    // `powerUp` shows the replay button.
    explicit THaifuBox(QWidget* owner, bool powerUp = false);

    QLineEdit* HaifuFileName;
    QPushButton* ReferButton;
    QListWidget* ListBox;
    QPushButton* FindButton;
    QPushButton* ViewButton;
    QPushButton* AnalizeButton;
    QPushButton* ExecButton;
    QPushButton* PlviewButton;
    QPushButton* CancelButton;

    void FindButtonClick();
    void ListBoxClick();
    void ReferButtonClick();
    void ViewButtonClick();
    void AnalizeButtonClick();
    void ExecButtonClick();
    void PlviewButtonClick();
    void CancelButtonClick();

private:
    // The record to view or analyse: the edit, else the selected list item
    // (copied into the edit). Empty after reporting under `what`.
    std::string ChosenRecord(const char* what);
};

// The browse dialog: owner and starting folder in, chosen file's full path
// out (nothing when cancelled). Tests replace it; nullptr restores the real
// file dialog.
using HaifuFileChooser = std::function<std::optional<std::string>(QWidget* owner, const std::string& folder)>;
void SetHaifuFileChooserForTests(HaifuFileChooser chooser);

// The main window's game-record command: creates the dialog, places it,
// shows it modally and destroys it.
void RunHaifuBox(QWidget* owner, bool powerUp = false);

}  // namespace zv
