#include "sound/gui/launcher_music.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include "config/launcher_settings.h"
#include "sound/background_music.h"

namespace zv {
namespace {

// The notification comes on the audio thread. It is posted to the
// application object, which lives on the user-interface thread for the whole
// run; only there is the receiver looked at, so a window that is gone is
// seen safely.
MediaNotify NotifyOnThreadOf(QPointer<QObject> receiver) {
    return [receiver](int /*code: every notification restarts*/) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr) return;
        QMetaObject::invokeMethod(
            app,
            [receiver] {
                if (!receiver.isNull()) RestartMusic(NotifyOnThreadOf(receiver));
            },
            Qt::QueuedConnection);
    };
}

}  // namespace

void StartLauncherMusic(QObject* receiver) { StartMusic(Settings(), NotifyOnThreadOf(receiver)); }

void StopLauncherMusic() { StopMusic(); }

}  // namespace zv
