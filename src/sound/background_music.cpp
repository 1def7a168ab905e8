#include "sound/background_music.h"

#include "config/launcher_settings.h"
#include "platform/platform.h"
#include "sound/sound_settings.h"

namespace zv {
namespace {

void Send(const std::string& command, const MediaNotify& notify = {}) {
    std::string reply;
    reply.reserve(kMediaReplySize);
    MediaSendString(command, reply, notify);  // failures are silent by design
}

}  // namespace

void StartMusic(const LauncherSettings& settings, const MediaNotify& notify) {
    if (settings.bgm.empty() || settings.playbgm == 0) return;
    std::string path = MusicPath(settings.bgm, CurrentPlatform().InstallDir());
    Send("open \"" + path + "\" type sequencer alias bgm");
    Send("play bgm from 0 notify", notify);
}

void RestartMusic(const MediaNotify& notify) { Send("play bgm from 0 notify", notify); }

void StopMusic() { Send("close bgm"); }

}  // namespace zv
