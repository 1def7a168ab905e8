// Connects the main window's commands to the dialogs of every subsystem. The
// order of the calls is the order in which the kept windows are created.
#include "info/gui/info_boxes.h"
#include "launcher/gui/launcher_hooks.h"
#include "net/gui/net_dialogs.h"

namespace zv {

void InstallSubsystemHooks() {
    InstallInfoHooks();
    InstallNetworkHooks();
}

}  // namespace zv
