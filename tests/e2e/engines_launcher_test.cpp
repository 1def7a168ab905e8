// The launcher's direct play with the real one-player engine: the
// launcher starts it, waits for it, and the player's results and record are
// there afterwards.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "records/results.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

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

    Words env;
    for (char** e = environ; *e != nullptr; ++e) {
        std::string entry = *e;
        if (entry.rfind("ZV_", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
        env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("ZV_ENGINE_AUTOPLAY=1");
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    Words args{install + "zelvan", "-u", "guest", "-1"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, root.path().c_str());
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);

    int status = 0;
    bool ended = false;
    for (int i = 0; i < 6000 && !ended; ++i) {
        ended = ::waitpid(pid, &status, WNOHANG) == pid;
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "the launcher did not end";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

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
