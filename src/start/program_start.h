#pragma once
// Starting programs from the launcher. All starts go through the process-wide
// ProcessStarter; when the launcher was started with -d, each start is first
// confirmed with a yes/no question titled "Execute?".
#include <string>

#include "platform/process.h"

namespace zv {

class MessageDialogs;

inline constexpr const char* kConfirmTitle = "Execute?";
inline constexpr const char* kStartFailed = "コマンドの実行が失敗しました";

// The user's text for a failed start's result code.
std::string StartErrorText(unsigned code);

// Starts the command line and returns the start result (32 or more: started).
// A failed start is reported with an error dialog; a declined confirmation
// returns 0 without a dialog.
unsigned RunCommand(MessageDialogs& dialogs, const std::string& commandLine, int showMode);

// Starts the command line silently; false only when the start failed. A
// declined confirmation counts as success, so that the caller's own "not
// available" message does not follow.
bool TryCommand(MessageDialogs& dialogs, const std::string& commandLine, int showMode);

// Asks the desktop to open a document with its default program; nothing is
// reported on failure.
unsigned OpenDocument(const std::string& file, const std::string& parameters, const std::string& directory,
                      int showMode);

// Full paths below the installation directory (which ends in '/').
std::string HelpIndexPath(const std::string& installDir);
std::string RulebookIndexPath(const std::string& installDir);

// The image viewer's command line: its quoted path and the quoted image folder.
std::string ImageViewerCommandLine(const std::string& installDir);

// The command line of the three-player or American-rule game for a user.
std::string SanmaCommandLine(const std::string& userName);
std::string AmericaCommandLine(const std::string& userName);

}  // namespace zv
