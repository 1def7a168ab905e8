#include "launcher/gui/launcher_hooks.h"

namespace zv {

LauncherHooks& Hooks() {
    static LauncherHooks hooks;
    return hooks;
}

}  // namespace zv
