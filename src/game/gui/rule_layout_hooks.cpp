#include "game/gui/rule_layout_hooks.h"

#include "game/gui/zv_form_box.h"
#include "launcher/gui/launcher_hooks.h"
#include "rules/gui/rule_box.h"
#include "rules/rule_file.h"

namespace zv {

void InstallRuleAndLayoutHooks() {
    LauncherHooks& hooks = Hooks();
    hooks.ruleBoxOnePlayer = [](QWidget* owner) { OpenRuleBox(owner, kOnePlayerGame); };
    hooks.zv1FormBox = [](QWidget* owner) { ShowKeptWindow(owner, Zv1FormBox(owner)); };
    hooks.zvSetupBox = [](QWidget* owner, int kindOfGame) {
        TZvSetupBox* box = ZvSetupBox(owner);
        box->Kind = kindOfGame;
        ShowKeptWindow(owner, box);
    };
    // Created after the kept windows installed before this call (sound
    // settings, machine information).
    hooks.keptWindows.push_back(CreateLayoutWindows);
}

}  // namespace zv
