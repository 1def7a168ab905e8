// Runs the built invoker from throw-away installation folders and checks
// what it started, through the argrecorder standing in for a program.
#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/arg_records.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using Words = std::vector<std::string>;
namespace fs = std::filesystem;

class InvokerTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_);
        fs::copy_file(ZV_INVOKER_PATH, dir_ + "invoker");
        fs::copy_file(ZV_ARGRECORDER_PATH, dir_ + "zelvan1");
        // The invoker names the user the system knows; a user without a
        // passwd entry is named by the login environment instead.
        if (passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name[0] != '\0') {
            user_ = entry->pw_name;
        } else {
            user_ = "e2e-user";
            env_.push_back("LOGNAME=" + user_);
        }
        env_.push_back("ARGRECORDER_OUT=" + out_);
    }

    void WriteTemplate(const std::string& bytes) { root_.Write("inst/command/zvcomm.arg", bytes); }

    // Runs the invoker from the root directory (not its own) and returns its
    // exit status.
    int RunInvoker(const Words& args = {}) {
        zv::test::ProgramRun run;
        run.args = {dir_ + "invoker"};
        run.args.insert(run.args.end(), args.begin(), args.end());
        run.dropEnv = {"ARGRECORDER_", "LOGNAME="};
        run.addEnv = env_;
        run.directory = root_.path();
        return zv::test::RunProgram(run, std::chrono::seconds(60));
    }

    std::vector<zv::test::ArgRecord> Records(std::size_t count) {
        return zv::test::WaitForArgRecords(out_, count);
    }

    // For checks that nothing was started: a started program would have
    // written its record well within this time.
    std::vector<zv::test::ArgRecord> RecordsAfterAWhile() {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return zv::test::ReadArgRecords(out_);
    }

    zv::test::TempDir root_;
    std::string dir_ = root_.Path("inst") + "/";
    std::string out_ = root_.Path("records.txt");
    std::string user_;
    Words env_;
};

TEST_F(InvokerTest, StartsTheTemplateWithDirectoryAndUserFilledIn) {
    WriteTemplate("$(EXEDIR)zelvan1.exe -B \"$(EXEDIR)usr/$(USER)\"  -c -n $(USER)\r\nsecond line\r\n");
    EXPECT_EQ(RunInvoker({"-u", "ignored"}), 0);
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (Words{dir_ + "zelvan1.exe", "-B", dir_ + "usr/" + user_, "-c", "-n", user_}));
    EXPECT_EQ(records[0].exe, dir_ + "zelvan1");
    EXPECT_EQ(records[0].show, "5");
    // The program runs in the installation directory, whatever the caller's was.
    EXPECT_EQ(records[0].cwd + "/", dir_);
}

TEST_F(InvokerTest, UserTwiceAndLowerCaseMarkers) {
    WriteTemplate("$(EXEDIR)zelvan1 $(USER) x $(USER) $(user) $(exedir)y $(User)\n");
    EXPECT_EQ(RunInvoker(), 0);
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args,
              (Words{dir_ + "zelvan1", user_, "x", user_, "$(user)", "$(exedir)y", "$(User)"}));
}

TEST_F(InvokerTest, RelativeProgramIsTakenFromTheInstallationDirectory) {
    WriteTemplate("./zelvan1 rel");
    EXPECT_EQ(RunInvoker(), 0);
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (Words{"./zelvan1", "rel"}));
}

TEST_F(InvokerTest, ShippedTemplateStartsTheLauncherForTheUser) {
    fs::copy_file(ZV_ARGRECORDER_PATH, dir_ + "zelvan");
    fs::create_directories(dir_ + "command");
    fs::copy_file(std::string(ZV_SOURCE_DIR) + "data/command/zvcomm.arg", dir_ + "command/zvcomm.arg");
    EXPECT_EQ(RunInvoker(), 0);
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, (Words{dir_ + "zelvan.exe", "-u", user_}));
}

TEST_F(InvokerTest, NothingToStartEndsQuietly) {
    EXPECT_EQ(RunInvoker(), 0);  // no command folder at all
    WriteTemplate("\r\n$(EXEDIR)zelvan1 should-not-run\r\n");
    EXPECT_EQ(RunInvoker(), 0);
    WriteTemplate("");
    EXPECT_EQ(RunInvoker(), 0);
    // A program that cannot be started is not reported either.
    WriteTemplate("$(EXEDIR)missing.exe $(USER)");
    EXPECT_EQ(RunInvoker(), 0);
    EXPECT_TRUE(RecordsAfterAWhile().empty());
}

TEST(InvokerProgramTest, DoesNotLinkQt) {
    std::string command = std::string("ldd '") + ZV_INVOKER_PATH + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    ASSERT_EQ(::pclose(pipe), 0) << output;
    EXPECT_NE(output.find("libc.so"), std::string::npos) << output;
    EXPECT_EQ(output.find("Qt"), std::string::npos) << output;
}

}  // namespace
