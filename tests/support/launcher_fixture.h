#pragma once
// A throw-away installation for GUI tests of the launcher's windows: a fake
// platform pointing at a temporary folder, a recording program starter,
// recorded message dialogs, fresh settings, the program's own dialogs for
// the main window (`launcherDialogs`), and user "guest".
#include <gtest/gtest.h>

#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "game/zelvan1_start.h"
#include "gui_common/message_boxes.h"
#include "launcher/gui/launch_window.h"
#include "launcher/gui/subsystem_dialogs.h"
#include "support/fake_platform.h"
#include "support/recording_dialogs.h"
#include "support/recording_starter.h"
#include "support/temp_dir.h"

namespace zv::test {

class LauncherFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installDir = dir.path() + "/";
        Settings() = LauncherSettings{};
        Settings().UserOverride = "guest";
        SetDialogOverrideForTests(&dialogs);
        TLaunch::SetScreenDepthForTests(32);
    }
    void TearDown() override {
        SetDialogOverrideForTests(nullptr);
        TLaunch::SetScreenDepthForTests(0);
        Settings() = LauncherSettings{};
    }

    std::string UserDir() const { return dir.path() + "/usr/guest"; }

    // Writes usr/guest/launch.nuc holding `settings`' stored keys.
    void WriteLaunchNuc(const LauncherSettings& settings) {
        dir.Write("usr/guest/launch.nuc", EncodeCrLfLines(LaunchNucLines(settings)));
    }

    // The settings a fresh read of usr/guest/launch.nuc gives.
    LauncherSettings ReadBack() const {
        LauncherSettings read;
        read.UserDir = UserDir();
        ReadLauncherSettings(read);
        return read;
    }

    TempDir dir;
    FakePlatform platform;
    RecordingStarter starter;
    RecordingDialogs dialogs;
    // What the main window opens (TLaunch window(launcherDialogs)); declared
    // before any window a test makes, so it outlives them.
    SubsystemDialogs launcherDialogs;
};

}  // namespace zv::test
