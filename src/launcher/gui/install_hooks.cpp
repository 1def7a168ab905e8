// Connects the main window's commands to the dialogs of every subsystem. The
// order of the calls is the order in which the kept windows are created.
#include "game/gui/network_games.h"
#include "game/gui/rule_layout_hooks.h"
#include "info/gui/info_boxes.h"
#include "launcher/gui/launcher_hooks.h"
#include "net/gui/net_dialogs.h"
#include "records/gui/records_hooks.h"
#include "rules/gui/characters.h"
#include "sound/gui/sound_hooks.h"

namespace zv {

void InstallSubsystemHooks() {
    InstallSoundHooks();
    InstallInfoHooks();
    InstallRuleAndLayoutHooks();
    InstallNetworkHooks();
    InstallRecordsHooks();
    InstallCharacterHooks();
    InstallNetworkGameHooks();
}

}  // namespace zv
