#pragma once
// The sound settings dialog: for each of the 36 game events the sound file
// the engines play (saved to sound.nuc), a test play of a choice, and the
// background music of the launcher (the settings `bgm` and `playbgm`).
//
// One object lives for the whole run: it reads sound.nuc once when created,
// is shown modally as often as asked, and keeps whatever was typed, also
// after "閉じる", for the next opening.
#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "sound/sound_events.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace zv {

class MessageDialogs;

class TSoundBox : public QDialog {
    Q_OBJECT
public:
    // `dialogs` receives the messages of the test play and of saving; it must
    // outlive the box.
    TSoundBox(QWidget* owner, MessageDialogs& dialogs);

    // Chooses an existing file: (parent, title, start folder, filter) -> the
    // full path, or nothing when the user cancels.
    using FileChooser =
        std::function<std::optional<QString>(QWidget*, const QString&, const QString&, const QString&)>;
    // Replaces the file dialog (tests); an empty chooser restores it.
    static void SetFileChooserForTests(FileChooser chooser);

    // The event edits in file order, and the BGM controls.
    std::array<QLineEdit*, kSoundEventCount> EventEdits;
    QLineEdit* Bgm;
    QCheckBox* BgmCheckBox;
    QTabWidget* PageControl;
    QPushButton* RefFileName;
    QPushButton* Save;
    QPushButton* Cancel;

    // The edit the user last clicked, changed or double-clicked; null before.
    QLineEdit* CurrentEdit() const { return current_; }

    void FormCreate();
    void RefFileNameClick();
    void SaveClick();
    void CancelClick();
    // Test play of an event edit's file.
    void TestPlay(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildEventPage(const SoundPage& page);
    QWidget* BuildBgmPage();

    MessageDialogs& dialogs_;
    QLineEdit* current_ = nullptr;
};

}  // namespace zv
