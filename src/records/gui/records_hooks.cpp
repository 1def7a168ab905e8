#include "records/gui/records_hooks.h"

#include "launcher/gui/launcher_hooks.h"
#include "records/gui/haifu_box.h"
#include "records/gui/player_info_box.h"
#include "records/gui/rank_box.h"

namespace zv {

void InstallRecordsHooks() {
    LauncherHooks& hooks = Hooks();
    hooks.playerInfoBox = [](QWidget* owner) { RunPlayerInfoBox(owner); };
    // Only the commands that load the list first preset the client box.
    hooks.rankBox = [](QWidget* owner, bool clientCheck, bool loadList) {
        RunRankBox(owner, loadList, clientCheck, loadList);
    };
    hooks.haifuBox = [](QWidget* owner) { RunHaifuBox(owner); };
}

}  // namespace zv
