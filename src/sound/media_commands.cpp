#include "sound/media_commands.h"

#include "sound/audio_output.h"

namespace zv {
namespace {

constexpr char kOpenPrefix[] = "open \"";
constexpr char kOpenSuffix[] = "\" type sequencer alias bgm";

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

AudioOutput& DeviceMediaCommands::Output() { return output_ != nullptr ? *output_ : CurrentAudio(); }

int DeviceMediaCommands::SendString(const std::string& command, std::string& reply,
                                    const MediaNotify& notify) {
    reply.clear();
    const std::string openPrefix = kOpenPrefix;
    const std::string openSuffix = kOpenSuffix;
    if (StartsWith(command, openPrefix) && EndsWith(command, openSuffix) &&
        command.size() >= openPrefix.size() + openSuffix.size()) {
        if (open_) return kMediaAliasInUse;
        std::string path =
            command.substr(openPrefix.size(), command.size() - openPrefix.size() - openSuffix.size());
        if (path.empty() || path.find('"') != std::string::npos) return kMediaCannotLoad;
        if (!Output().OpenMusic(path)) return kMediaCannotLoad;
        open_ = true;
        return kMediaOk;
    }
    if (command == "play bgm from 0 notify") {
        if (!open_) return kMediaDeviceNotOpen;
        std::function<void()> ended;
        if (notify) ended = [notify] { notify(kMediaNotifySuccessful); };
        return Output().PlayMusic(std::move(ended)) ? kMediaOk : kMediaPlayFailed;
    }
    if (command == "close bgm") {
        if (!open_) return kMediaDeviceNotOpen;
        Output().CloseMusic();
        open_ = false;
        return kMediaOk;
    }
    return kMediaUnrecognizedCommand;
}

namespace {
MediaCommands* g_commands = nullptr;
}

MediaCommands& CurrentMediaCommands() {
    if (g_commands != nullptr) return *g_commands;
    static DeviceMediaCommands real;
    return real;
}

void SetMediaCommands(MediaCommands* commands) { g_commands = commands; }

int MediaSendString(const std::string& command, std::string& reply, const MediaNotify& notify) {
    return CurrentMediaCommands().SendString(command, reply, notify);
}

}  // namespace zv
