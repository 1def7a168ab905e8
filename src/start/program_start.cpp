#include "start/program_start.h"

#include "config/launcher_settings.h"
#include "config/message_dialogs.h"

namespace zv {
namespace {

// With -d every start waits for the user's yes.
bool Confirmed(MessageDialogs& dialogs, const std::string& commandLine) {
    return !Settings().ConfirmCommands || dialogs.AskYesNo(kConfirmTitle, commandLine);
}

}  // namespace

std::string StartErrorText(unsigned code) {
    switch (code) {
        case 0:
            return "メモリ、リソースが足りません";
        case 2:
            return "ファイルが見つかりません";
        case 3:
            return "パスが見つかりません";
        case 11:
            return "正しいWin32実行ファイルではありません";
        default:
            return "エラーです";
    }
}

unsigned RunCommand(MessageDialogs& dialogs, const std::string& commandLine, int showMode) {
    if (!Confirmed(dialogs, commandLine)) return 0;
    unsigned result = CurrentProcessStarter().WinExec(commandLine, showMode);
    if (!StartSucceeded(result)) dialogs.ShowErrorDialog("", kStartFailed, StartErrorText(result));
    return result;
}

bool TryCommand(MessageDialogs& dialogs, const std::string& commandLine, int showMode) {
    if (!Confirmed(dialogs, commandLine)) return true;
    return StartSucceeded(CurrentProcessStarter().WinExec(commandLine, showMode));
}

unsigned OpenDocument(const std::string& file, const std::string& parameters, const std::string& directory,
                      int showMode) {
    return CurrentProcessStarter().OpenDocument(file, parameters, directory, showMode);
}

std::string HelpIndexPath(const std::string& installDir) { return installDir + "help/index.html"; }

std::string RulebookIndexPath(const std::string& installDir) { return installDir + "rulebook/index.html"; }

std::string ImageViewerCommandLine(const std::string& installDir) {
    return "\"" + installDir + "glimpse.exe\" \"" + installDir + "image\"";
}

std::string SanmaCommandLine(const std::string& userName) { return "sanma1.exe -n " + userName + " -c"; }

std::string AmericaCommandLine(const std::string& userName) { return "tradmaj1.exe -n " + userName + " -c"; }

}  // namespace zv
