#pragma once
// The launcher's background music: one MIDI file played in an endless loop
// while the main window exists. Which file, and whether to play at all, come
// from the settings `bgm` and `playbgm`; they are read once, at start.
//
// The music is driven by command strings (media_commands.h) under the alias
// "bgm". Every failure is silent: the launcher then simply runs without music.
#include "sound/media_commands.h"

namespace zv {

struct LauncherSettings;

// Called once while the main window is created, after the settings were read.
// Nothing is sent when `bgm` is empty or `playbgm` is 0. Otherwise opens the
// file and plays it; `notify` (the main window's receiver) gets the end of
// the piece and should answer with RestartMusic on the window's thread.
void StartMusic(const LauncherSettings& settings, const MediaNotify& notify);

// The main window's answer to every notification, whatever its code: plays
// the piece again from its start, with the same kind of receiver.
void RestartMusic(const MediaNotify& notify);

// Called when the main window is destroyed: closes the device (always sent;
// it fails silently when nothing was opened).
void StopMusic();

}  // namespace zv
