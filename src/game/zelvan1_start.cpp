#include "game/zelvan1_start.h"

#include "config/launcher_settings.h"
#include "config/message_dialogs.h"
#include "config/user_identity.h"
#include "start/program_start.h"

namespace zv {
namespace {

std::string OrDefault(const std::string& name, const char* fallback) {
    return name.empty() ? fallback : name;
}

std::string OpponentPieces(const LauncherSettings& settings, StartKind kind, const Opponents& captions) {
    switch (kind) {
        case StartKind::DefaultOpponents:
            return " -u _todo -u _min -u _wizard ";
        case StartKind::DialogOpponents:
            return " -u " + OrDefault(captions[0], "auto") + " -u " + OrDefault(captions[1], "auto") +
                   " -u " + OrDefault(captions[2], "auto");
        case StartKind::DirectPlay:
            break;
    }
    return " -u " + OrDefault(settings.player1, "_wizard") + " -u " + OrDefault(settings.player2, "_min") +
           " -u " + OrDefault(settings.player3, "_todo");
}

}  // namespace

EngineCommand Zelvan1Command(const LauncherSettings& settings, StartKind kind, const Opponents& captions) {
    EngineCommand command;
    command.program = settings.real1 == 1 ? "rzelvan1.exe" : "zelvan1.exe";
    std::string qudir = "\"" + settings.UserDir + "\"";
    std::string length = settings.zelvan1tonpu == 1 ? " -Q " : " -H ";
    std::string record;
    if (settings.zelvan1haihu == 1) record = " -l \"" + settings.UserDir + "/zelvan1.fu\"";
    command.arguments = settings.LayoutOption + " -B " + qudir + " -c " + " -n " + settings.UserName +
                        length + record + OpponentPieces(settings, kind, captions);
    return command;
}

int StartZelvan1(MessageDialogs& dialogs, StartKind kind, const Opponents& captions, ProcessHandle* handle) {
    EngineCommand command = Zelvan1Command(Settings(), kind, captions);
    if (kind != StartKind::DirectPlay) {
        unsigned result = RunCommand(dialogs, command.CommandLine(), kShowNormal);
        return StartSucceeded(result) ? static_cast<int>(result) : -1;
    }
    // The engine receives the same arguments as from the other starts: its
    // own name first, then the options.
    ProcessHandle started;
    unsigned result = CurrentProcessStarter().StartWaitable(command.CommandLine(), kShowNormal, started);
    if (!StartSucceeded(result) || started.pid <= 0) {
        dialogs.ShowErrorDialog("", kStartFailed, command.program + "を実行できませんでした");
        return -1;
    }
    if (handle != nullptr) *handle = started;
    return started.pid;
}

int& RecordSwitch(LauncherSettings& settings, int which) {
    if (which == 0) return settings.serverhaihu;
    if (which == 1) return settings.zelvan1haihu;
    return settings.clienthaihu;
}

std::string OpponentFacePath(const std::string& installDir, const std::string& name) {
    if (IsSafeDirectoryName(name)) {
        std::string own = installDir + "usr/" + name + "/" + name + ".bmp";
        if (PathExists(own) && !IsDirectory(own)) return own;
    }
    std::string shared = installDir + "usr/_default/_default.bmp";
    if (PathExists(shared) && !IsDirectory(shared)) return shared;
    return "";
}

}  // namespace zv
