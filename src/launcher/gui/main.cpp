// zelvan: the launcher. Reads its command line, creates the main window and
// the windows kept for the whole run, and runs until the main window closes
// (or, in direct play, until the one-player engine has ended).
#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "config/launcher_settings.h"
#include "launcher/command_line.h"
#include "launcher/gui/launch_window.h"
#include "launcher/gui/launcher_hooks.h"
#include "launcher/gui/program_threads.h"

int main(int argc, char** argv) {
    using namespace zv;
    const std::vector<std::string> args(argv, argv + argc);

    // -d is looked for before anything else, the program's own path included.
    if (HasConfirmFlag(args)) Settings().ConfirmCommands = true;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("麻雀"));
    app.setProperty("helpFile", QStringLiteral("zelvan.hlp"));

    if (auto name = UserOverrideArgument(args)) Settings().UserOverride = *name;

    InstallSubsystemHooks();
    TLaunch window;

    std::vector<std::unique_ptr<ThreadHelp>> helpThreads;
    bool directPlay = false;
    for (StartAction action : StartActions(args)) {
        if (action == StartAction::DirectPlay) {
            directPlay = true;
            window.StartDirectPlay();
        } else {
            helpThreads.push_back(std::make_unique<ThreadHelp>());
        }
    }

    for (const auto& create : Hooks().keptWindows) create(&window);

    if (!directPlay) window.show();
    int result = app.exec();
    for (auto& thread : helpThreads) thread->wait();
    return result;
}
