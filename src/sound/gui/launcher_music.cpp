#include "sound/gui/launcher_music.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <thread>

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

// Opening the piece loads the synthesizer's instrument samples, which can
// take a second; it runs on this thread so that the window shows at once.
// The thread is always joined before the music is touched again.
struct MusicStarter {
    std::thread thread;
    void Wait() {
        if (thread.joinable()) thread.join();
    }
    ~MusicStarter() { Wait(); }
};
MusicStarter g_starter;

}  // namespace

void StartLauncherMusic(QObject* receiver) {
    g_starter.Wait();
    // The settings as they are now: the user-interface thread may change
    // them while the music opens.
    g_starter.thread = std::thread(
        [settings = Settings(), notify = NotifyOnThreadOf(receiver)] { StartMusic(settings, notify); });
}

void WaitForLauncherMusicStart() { g_starter.Wait(); }

void StopLauncherMusic() {
    g_starter.Wait();
    StopMusic();
}

}  // namespace zv
