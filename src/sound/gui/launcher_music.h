#pragma once
// The background music as the launcher's window runs it: the end of the
// piece is reported on the audio thread and handed to the user-interface
// thread by a queued call, where the piece is played again.
class QObject;

namespace zv {

// Starts the music from the settings; `receiver` (the main window, or any
// object living on the user-interface thread) receives the notifications,
// each answered with RestartMusic on that object's thread. Notifications
// arriving after the receiver is gone are dropped.
void StartLauncherMusic(QObject* receiver);

// Closes the music device (always sent).
void StopLauncherMusic();

}  // namespace zv
