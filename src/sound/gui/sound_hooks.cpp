#include "sound/gui/sound_hooks.h"

#include <QCoreApplication>
#include <QPointer>

#include "launcher/gui/first_paint.h"
#include "launcher/gui/launcher_hooks.h"
#include "launcher/gui/message_boxes.h"
#include "sound/gui/launcher_music.h"
#include "sound/gui/sound_box.h"

namespace zv {
namespace {

// The message dialogs of the sound box, owned by the box itself (which is
// created after them, so the owner is filled in afterwards).
class BoxDialogs : public MessageDialogs {
public:
    void ShowErrorDialog(const std::string& what, const std::string& failure,
                         const std::string& detail) override {
        WidgetDialogs(owner).ShowErrorDialog(what, failure, detail);
    }
    void ShowMsgBox(const std::string& title, const std::string& text) override {
        WidgetDialogs(owner).ShowMsgBox(title, text);
    }
    bool AskYesNo(const std::string& title, const std::string& question) override {
        return WidgetDialogs(owner).AskYesNo(title, question);
    }
    void AskInputLine(const std::string& title, const std::string& label, std::string& value) override {
        WidgetDialogs(owner).AskInputLine(title, label, value);
    }
    QPointer<QWidget> owner;
};

struct Kept {
    BoxDialogs dialogs;  // lives to the end of the program, longer than the box
    QPointer<TSoundBox> box;
};

Kept& TheKept() {
    static Kept kept;
    return kept;
}

void CreateSoundBox(QWidget* owner) {
    Kept& kept = TheKept();
    if (kept.box) return;
    kept.box = new TSoundBox(owner, kept.dialogs);  // owned by the main window
    kept.dialogs.owner = kept.box;
}

}  // namespace

TSoundBox* KeptSoundBox() { return TheKept().box; }

void InstallSoundHooks() {
    LauncherHooks& hooks = Hooks();
    hooks.keptWindows.push_back(CreateSoundBox);
    hooks.soundBox = [](QWidget* owner) {
        TSoundBox* box = KeptSoundBox();
        if (box == nullptr) return;
        PlaceDialog(owner, box);
        box->exec();
    };
    // Opening the music loads the audio libraries and the synthesizer's
    // samples: it begins once the main window is on screen, so that the two
    // do not compete. The application object lives on the window's thread
    // for the whole run.
    hooks.startMusic = [](QWidget* window) {
        AfterFirstPaint(window, [] { StartLauncherMusic(QCoreApplication::instance()); });
    };
    hooks.stopMusic = [] { StopLauncherMusic(); };
}

}  // namespace zv
