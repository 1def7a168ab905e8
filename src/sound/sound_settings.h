#pragma once
// sound.nuc, the file through which the game engines learn which sound to play
// for each event, and how a name typed in the sound dialog becomes a path.
//
// The file holds one `(define KEY "VALUE")` line per event, CP932 with CR LF
// line ends, always all 36 in event order. Reading takes the lines in any
// order; unknown keys are ignored and a later line for a key wins.
#include <string>
#include <vector>

#include "sound/sound_events.h"

namespace zv {

class MessageDialogs;
struct LauncherSettings;

// Path of sound.nuc in the user directory.
std::string SoundNucPath(const LauncherSettings& settings);

// Applies the forms of a sound.nuc text (UTF-8) to `values`; events the text
// does not mention keep what they had.
void ApplySoundNuc(SoundValues& values, const std::string& text);

// Reads sound.nuc into `values`. A missing or unreadable file leaves them as
// they are and is not reported. Returns whether the file was read.
bool ReadSoundNuc(const std::string& path, SoundValues& values);

// The 36 lines (UTF-8, without line ends) in event order. The format has no
// escapes: a value is written up to its first double quote, which is exactly
// what a reader gets back, and the lines after it stay readable.
std::vector<std::string> SoundNucLines(const SoundValues& values);

// Saves sound.nuc atomically. On failure shows the error dialog (path, what
// failed) and returns false; the old file is then left as it was.
bool WriteSoundNuc(const std::string& path, const SoundValues& values, MessageDialogs& dialogs);

// Converts the text's separators ('\\') to '/'.
std::string WithSlashes(std::string path);

// The file a test play of `name` opens. A bare name (longer than two bytes,
// not "X:...", not starting with a separator) is taken from the installation
// directory's sound/ folder; anything else is used as written. On this system
// a leading '\\' or '/' means the root of the file system, and a drive prefix
// "X:" is dropped, leaving the rest relative to the root.
std::string SoundTestPath(const std::string& name, const std::string& installDir);

// The file the background music opens for the `bgm` setting: a name starting
// with a drive prefix is used as written (drive dropped, as above), and so is
// a full path of this system ("/..."), which is what the file chooser gives;
// every other name, one starting with '\\' included, lies below sound/.
std::string MusicPath(const std::string& bgm, const std::string& installDir);

}  // namespace zv
