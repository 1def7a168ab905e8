// zelvan: the launcher. Reads its command line, creates the main window and
// the windows kept for the whole run, and runs until the main window closes
// (or, in direct play, until the one-player engine has ended).
//
// ZV_EXIT_AFTER_SHOWN=1 in the environment makes the program end as soon as
// its main window has been painted for the first time, at once and without
// the closing save (as if it were killed then): the start-up benchmark
// measures start to first window with it.
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config/launcher_settings.h"
#include "gui_common/first_paint.h"
#include "launcher/gui/interface_font.h"
#include "launcher/gui/launch_window.h"
#include "launcher/gui/launcher_style.h"
#include "launcher/gui/program_threads.h"
#include "launcher/gui/subsystem_dialogs.h"
#include "start/command_line.h"

int main(int argc, char** argv) {
    using namespace zv;
    const std::vector<std::string> args(argv, argv + argc);

    // -d is looked for before anything else, the program's own path included.
    if (HasConfirmFlag(args)) Settings().ConfirmCommands = true;

    std::future<QString> interfaceFont = FindJapaneseInterfaceFont();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("麻雀"));
    QApplication::setStyle(new LauncherStyle);
    UseInterfaceFont(interfaceFont.get());
    app.setProperty("helpFile", QStringLiteral("zelvan.hlp"));

    if (auto name = UserOverrideArgument(args)) Settings().UserOverride = *name;

    // The dialogs outlive the main window, which uses them until it is gone.
    SubsystemDialogs dialogs;
    TLaunch window(dialogs);

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

    auto createKeptWindows = [&window, &dialogs] { dialogs.CreateKeptWindows(&window); };
    if (directPlay) {
        createKeptWindows();
    } else {
        const char* exitAfterShown = std::getenv("ZV_EXIT_AFTER_SHOWN");
        if (exitAfterShown != nullptr && std::strcmp(exitAfterShown, "1") == 0)
            AfterFirstPaint(&window, [] { std::_Exit(0); });
        // The windows kept for the run (and the background music they start)
        // are built once the main window is on screen, so that the player
        // sees it without waiting for them.
        AfterFirstPaint(&window, createKeptWindows);
        window.show();
    }
    int result = app.exec();
    for (auto& thread : helpThreads) thread->wait();
    return result;
}
