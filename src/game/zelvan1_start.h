#pragma once
// Starting the one-player engine: its command line (program, user directory,
// game length, record file, three computer opponents) and the start itself.
// Only the value 1 switches an option on; the pieces carry their own blanks
// and the doubled blanks they leave are part of the line the engine expects.
#include <array>
#include <string>

#include "platform/process.h"

namespace zv {

class MessageDialogs;
struct LauncherSettings;

// Who asks for the start, which decides where the opponents come from.
enum class StartKind {
    DefaultOpponents,  // the main window with the dialog switched off: fixed opponents
    DialogOpponents,   // the one-player dialog's OK: its three captions
    DirectPlay,        // direct play: the settings, and the caller waits on the process
};

using Opponents = std::array<std::string, 3>;

struct EngineCommand {
    std::string program;    // bare file name
    std::string arguments;  // begins with the layout option
    std::string CommandLine() const { return program + " " + arguments; }
};

// Builds the command from the settings (LayoutOption, UserDir, UserName,
// real1, zelvan1tonpu, zelvan1haihu, player1..3). `captions` are the dialog's
// opponent names, used only for DialogOpponents.
EngineCommand Zelvan1Command(const LauncherSettings& settings, StartKind kind,
                             const Opponents& captions = {});

// Starts the engine with the process-wide settings. DirectPlay returns the
// started process's id and fills `handle`; the other kinds return the start
// result. Failures are reported through `dialogs` and return -1.
int StartZelvan1(MessageDialogs& dialogs, StartKind kind, const Opponents& captions = {},
                 ProcessHandle* handle = nullptr);

// The record switch EditRecordOption edits: 0 the server's, 1 the one-player
// game's, any other value the network client's.
int& RecordSwitch(LauncherSettings& settings, int which);

// The face picture of a character: usr/<name>/<name>.bmp, else the shared
// usr/_default/_default.bmp, else empty when neither exists.
std::string OpponentFacePath(const std::string& installDir, const std::string& name);

}  // namespace zv
