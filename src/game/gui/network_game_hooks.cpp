#include "game/gui/auto_launch_box.h"
#include "game/gui/client_box.h"
#include "game/gui/custom_exec.h"
#include "game/gui/network_games.h"
#include "game/gui/server_box.h"
#include "launcher/gui/launcher_hooks.h"

namespace zv {

void InstallNetworkGameHooks() {
    LauncherHooks& hooks = Hooks();
    hooks.serverBox = RunServerBox;
    hooks.clientBox = RunClientBox;
    hooks.clientDirectStart = StartClient;
    hooks.autoLaunchBox = RunAutoLaunchBox;
    hooks.autoDirectStart = [](QWidget* owner, const std::string& name) { StartAutoPlayer(owner, name); };
    hooks.customExBox = RunCustomExec;
}

}  // namespace zv
