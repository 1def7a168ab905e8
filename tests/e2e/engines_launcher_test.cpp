// The launcher's direct play with the real one-player engine: the
// launcher starts it, waits for it, and the player's results and record are
// there afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "records/results.h"
#include "support/fake_platform.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(EnginesLauncherTest, DirectPlayRunsTheGameToTheEnd) {
    zv::test::TempDir root;
    std::string install = root.Path("game dir") + "/";
    fs::create_directories(install + "usr/guest");
    fs::copy_file(ZV_ZELVAN_PATH, install + "zelvan");
    fs::copy_file(ZV_ZELVAN1_PATH, install + "zelvan1");
    // Settings of a player who has started the launcher before (no start-up tip).
    zv::LauncherSettings stored;
    stored.count = 5;
    ASSERT_EQ(zv::SaveFileAtomically(install + "usr/guest/launch.nuc",
                                     zv::EncodeCrLfLines(zv::LaunchNucLines(stored))),
              zv::SaveResult::Saved);

    zv::test::ProgramRun run;
    run.args = {install + "zelvan", "-u", "guest", "-1"};
    run.dropEnv = {"ZV_", "QT_QPA_PLATFORM="};
    run.addEnv = {"QT_QPA_PLATFORM=offscreen", "ZV_ENGINE_AUTOPLAY=1"};
    run.directory = root.path();
    const pid_t pid = zv::test::StartProgram(run);
    ASSERT_GT(pid, 0);
    const zv::test::ProgramEnd end = zv::test::WaitForProgram(pid, std::chrono::seconds(60));
    ASSERT_FALSE(end.killed) << "the launcher did not end";
    EXPECT_TRUE(end.exited && end.code == 0);

    // One game in the player's one-player results, in one of the four places.
    zv::test::FakePlatform platform;
    platform.installDir = install;
    zv::PlayerResults results;
    ASSERT_TRUE(zv::ReadResults(results, "guest", false));
    EXPECT_EQ(results.games, 1);
    EXPECT_EQ(results.places[0] + results.places[1] + results.places[2] + results.places[3], 1);
    std::ifstream res(install + "usr/guest/guest.res", std::ios::binary);
    std::string lines((std::istreambuf_iterator<char>(res)), {});
    EXPECT_EQ(lines.substr(lines.size() < 2 ? 0 : lines.size() - 2), "\r\n");
    std::ifstream record(install + "usr/guest/zelvan1.fu", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(record)), {});
    EXPECT_NE(text.find("game: 1\r\n"), std::string::npos);
    EXPECT_NE(text.find("program: zelvan1\r\n"), std::string::npos);
    // The hands played are the hands filed.
    int hands = 0;
    for (std::size_t pos = 0; (pos = text.find("\r\nhand: ", pos)) != std::string::npos; ++pos) ++hands;
    EXPECT_GT(hands, 0);
    EXPECT_EQ(results.plays, hands);
}

}  // namespace
