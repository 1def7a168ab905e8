#include "launcher/gui/launcher_hooks.h"
#include "net/gui/net_dialogs.h"

namespace zv {

void InstallNetworkHooks() {
    Hooks().pingBox = [](QWidget* owner) { RunPingBox(owner); };
    // The main window opens the settings for a client.
    Hooks().protocolBox = [](QWidget* owner, const std::string& title) { RunProtocolBox(owner, 0, title); };
}

}  // namespace zv
