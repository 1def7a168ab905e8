// Runs the built launcher in direct play from a throw-away installation
// folder, with the argrecorder installed as the one-player engine.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "support/arg_records.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

class LauncherE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(ZV_ARGRECORDER_PATH)) GTEST_SKIP() << "argument recorder not built";
        fs::create_directories(install_);
        fs::copy_file(ZV_ZELVAN_PATH, install_ + "zelvan");
        fs::copy_file(ZV_ARGRECORDER_PATH, install_ + "zelvan1");
    }

    // Starts the launcher with `args` from the root folder (not its own) and
    // returns its process id.
    pid_t StartLauncher(const Words& args, const Words& extraEnv) {
        zv::test::ProgramRun run;
        run.args = {install_ + "zelvan"};
        run.args.insert(run.args.end(), args.begin(), args.end());
        run.dropEnv = {"ARGRECORDER_", "QT_QPA_PLATFORM="};
        run.addEnv = {"QT_QPA_PLATFORM=offscreen"};
        run.addEnv.insert(run.addEnv.end(), extraEnv.begin(), extraEnv.end());
        run.directory = root_.path();
        return zv::test::StartProgram(run);
    }

    // Waits for the launcher to end (killing it after a generous limit, so a
    // launcher that never ends fails the test instead of hanging it).
    int WaitForLauncher(pid_t pid) {
        const zv::test::ProgramEnd end = zv::test::WaitForProgram(pid, std::chrono::seconds(60));
        if (end.killed) ADD_FAILURE() << "the launcher did not end";
        return end.exited ? end.code : -1;
    }

    zv::test::TempDir root_;
    std::string install_ = root_.Path("game dir") + "/";
    std::string out_ = root_.Path("engine.txt");
};

TEST_F(LauncherE2ETest, DirectPlayRunsTheEngineWaitsAndSavesTheSettings) {
    fs::create_directories(install_ + "usr/guest");
    zv::LauncherSettings stored;
    stored.count = 5;
    stored.zelvan1tonpu = 0;
    stored.player3 = "";
    ASSERT_EQ(zv::SaveFileAtomically(install_ + "usr/guest/launch.nuc",
                                     zv::EncodeCrLfLines(zv::LaunchNucLines(stored))),
              zv::SaveResult::Saved);

    pid_t launcher =
        StartLauncher({"-u", "guest", "-1"}, {"ARGRECORDER_OUT=" + out_, "ARGRECORDER_SLEEP_MS=800"});
    ASSERT_GT(launcher, 0);
    int status = WaitForLauncher(launcher);
    EXPECT_EQ(status, 0);

    auto records = zv::test::ReadArgRecords(out_);
    ASSERT_EQ(records.size(), 1u);
    const std::string userDir = install_ + "usr/guest";
    EXPECT_EQ(records[0].args,
              (Words{"zelvan1.exe", "-T", "small", "-B", userDir, "-c", "-n", "guest", "-H", "-l",
                     userDir + "/zelvan1.fu", "-u", "_todo", "-u", "_min", "-u", "_todo"}));
    // The engine lingered after writing; had the launcher not waited for it,
    // it would still be running now.
    EXPECT_EQ(::kill(records[0].pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);

    auto text = zv::ReadTextFile(userDir + "/launch.nuc");
    ASSERT_TRUE(text.has_value());
    auto lines = zv::SplitLines(*text);
    EXPECT_EQ(lines.size(), 40u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "(define count 6)"), lines.end());
}

}  // namespace
