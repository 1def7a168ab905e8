// invoker: starts the command prepared in command/zvcomm.arg, with the
// installation directory and the user name filled in, and ends at once.
// It shows nothing, reads no arguments and always exits with 0.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "invoker/command_template.h"
#include "platform/platform.h"
#include "platform/process.h"

int main() {
    const std::string installDir = zv::CurrentPlatform().InstallDir();
    // Relative paths in the command are taken from the installation
    // directory. Without it the command could name the wrong files, so
    // nothing is started.
    if (::chdir(installDir.c_str()) != 0) {
        std::perror(installDir.c_str());
        return 0;
    }
    zv::InvokeCommand(installDir, zv::InvokerUserName(), zv::CurrentProcessStarter());
    return 0;
}
