#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/arg_records.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLineTest, BackslashAndQuoteVectors) {
    EXPECT_EQ(SplitCommandLine(R"(p "ab\"c" "\\" d)"), (Words{"p", "ab\"c", "\\", "d"}));
    EXPECT_EQ(SplitCommandLine(R"(p a\\\"b c d)"), (Words{"p", "a\\\"b", "c", "d"}));
    EXPECT_EQ(SplitCommandLine(R"(p a\\\\"b c" d e)"), (Words{"p", "a\\\\b c", "d", "e"}));
    // Backslashes not before a quote stay as they are.
    EXPECT_EQ(SplitCommandLine(R"(p a\b\\c d\\)"), (Words{"p", "a\\b\\\\c", "d\\\\"}));
    // A directory argument ending in a backslash, quoted.
    EXPECT_EQ(SplitCommandLine(R"(p "C:\dir\\" x)"), (Words{"p", "C:\\dir\\", "x"}));
}

TEST(SplitCommandLineTest, QuotesAndBlanks) {
    EXPECT_EQ(SplitCommandLine(""), Words{});
    EXPECT_EQ(SplitCommandLine(" \t "), Words{});
    EXPECT_EQ(SplitCommandLine("  p\ta  \t b  "), (Words{"p", "a", "b"}));
    // The doubled blanks of engine lines separate only.
    EXPECT_EQ(SplitCommandLine("zelvan1.exe -T  1  -B \"/usr/a b\""),
              (Words{"zelvan1.exe", "-T", "1", "-B", "/usr/a b"}));
    EXPECT_EQ(SplitCommandLine(R"(p "" b)"), (Words{"p", "", "b"}));
    EXPECT_EQ(SplitCommandLine(R"(p a"b c"d e)"), (Words{"p", "ab cd", "e"}));
    EXPECT_EQ(SplitCommandLine(R"(p "x""y" z)"), (Words{"p", "x\"y", "z"}));
    EXPECT_EQ(SplitCommandLine(R"(p "x""y z")"), (Words{"p", "x\"y z"}));
    // An unclosed quote runs to the end, blanks included.
    EXPECT_EQ(SplitCommandLine(R"(p "a b  c)"), (Words{"p", "a b  c"}));
}

TEST(SplitCommandLineTest, ProgramNameTakesQuotesAsGroupingOnly) {
    EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\z.exe" -a)"), (Words{"C:\\Program Files\\z.exe", "-a"}));
    EXPECT_EQ(SplitCommandLine(R"(C:\dir\\z.exe\ a)"), (Words{"C:\\dir\\\\z.exe\\", "a"}));
    EXPECT_EQ(SplitCommandLine(R"(a\"b c" d)"), (Words{"a\\b c", "d"}));
    EXPECT_EQ(SplitCommandLine(R"("" a)"), (Words{"", "a"}));
}

// A temporary installation with programs in it, a second folder standing for
// PATH, and the argrecorder's output file; restores PATH when done.
class ProcessStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_.installDir = install_.path() + "/";
        if (const char* path = std::getenv("PATH")) savedPath_ = path;
        ::setenv("PATH", pathDir_.path().c_str(), 1);
        ::setenv("ARGRECORDER_OUT", out_.c_str(), 1);
        ::unsetenv("ARGRECORDER_SLEEP_MS");
        ::unsetenv("ARGRECORDER_EXIT");
    }
    void TearDown() override {
        if (savedPath_) ::setenv("PATH", savedPath_->c_str(), 1);
        ::unsetenv("ARGRECORDER_OUT");
        ::unsetenv("ARGRECORDER_SLEEP_MS");
        ::unsetenv("ARGRECORDER_EXIT");
        ::unsetenv("ZV_SHOW_MODE");
    }

    static std::string Recorder(const std::string& target) {
        std::filesystem::create_directories(std::filesystem::path(target).parent_path());
        std::filesystem::copy_file(ZV_ARGRECORDER_PATH, target,
                                   std::filesystem::copy_options::overwrite_existing);
        return target;
    }

    std::vector<test::ArgRecord> Records(std::size_t count) { return test::WaitForArgRecords(out_, count); }

    test::TempDir install_;
    test::TempDir pathDir_;
    test::TempDir scratch_;
    test::FakePlatform platform_;
    std::string out_ = scratch_.Path("records.txt");
    std::optional<std::string> savedPath_;
    LinuxProcessStarter starter_;
};

TEST_F(ProcessStartTest, ProgramGetsExactArgumentsAndShowMode) {
    std::string program = Recorder(install_.Path("zelvan1"));
    unsigned result = starter_.WinExec(R"(zelvan1.exe -B "/usr/a b\c" -n na\"me "tail\\" "" x"y z"  -c)",
                                       kShowMinimizedNoActivate);
    ASSERT_TRUE(StartSucceeded(result)) << result;
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args,
              (Words{"zelvan1.exe", "-B", "/usr/a b\\c", "-n", "na\"me", "tail\\", "", "xy z", "-c"}));
    EXPECT_EQ(records[0].show, "7");
    EXPECT_EQ(records[0].exe, program);
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(records[0].cwd, cwd);
}

TEST_F(ProcessStartTest, StartedProgramIsNotOurChildAndLeavesNoZombie) {
    Recorder(install_.Path("zelvan1"));
    ::setenv("ARGRECORDER_SLEEP_MS", "300", 1);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(StartSucceeded(starter_.WinExec("zelvan1", kShowNormal)));
    auto records = Records(3);
    ASSERT_EQ(records.size(), 3u);
    for (const auto& record : records) {
        char state = 0;
        int parent = 0;
        if (test::ProcessState(record.pid, state, parent)) {
            EXPECT_NE(parent, ::getpid());
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(test::ZombieChildren().empty());
}

TEST_F(ProcessStartTest, ShowModeReplacesAnInheritedOne) {
    Recorder(install_.Path("zelvan1"));
    ::setenv("ZV_SHOW_MODE", "6", 1);
    ASSERT_TRUE(StartSucceeded(starter_.WinExec("zelvan1", kShowNormal)));
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].show, "5");
}

TEST_F(ProcessStartTest, DescriptorsAreNotHandedOn) {
    Recorder(install_.Path("zelvan1"));
    int leaky = ::open(scratch_.Path("leaky").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(leaky, 3);
    unsigned result = starter_.WinExec("zelvan1", kShowNormal);
    ::close(leaky);
    ASSERT_TRUE(StartSucceeded(result));
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(std::count(records[0].fds.begin(), records[0].fds.end(), leaky), 0);
}

TEST_F(ProcessStartTest, InstallDirComesBeforePath) {
    std::string ours = Recorder(install_.Path("zelvan1"));
    Recorder(pathDir_.Path("zelvan1"));
    Recorder(pathDir_.Path("helper"));
    ASSERT_TRUE(StartSucceeded(starter_.WinExec("zelvan1.exe", kShowNormal)));
    ASSERT_TRUE(StartSucceeded(starter_.WinExec("helper.exe a", kShowNormal)));
    auto records = Records(2);
    ASSERT_EQ(records.size(), 2u);
    std::sort(records.begin(), records.end(),
              [](const auto& a, const auto& b) { return a.args.front() > b.args.front(); });
    EXPECT_EQ(records[0].exe, ours);
    EXPECT_EQ(records[1].exe, pathDir_.Path("helper"));
    EXPECT_EQ(records[1].args, (Words{"helper.exe", "a"}));
}

TEST_F(ProcessStartTest, ExeNameIsPreferredToTheBareName) {
    std::string withExe = Recorder(install_.Path("prog.EXE"));
    Recorder(install_.Path("prog"));
    ASSERT_TRUE(StartSucceeded(starter_.WinExec("prog.EXE", kShowNormal)));
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].exe, withExe);
}

TEST_F(ProcessStartTest, ProgramWithDirectoryIsUsedAsGiven) {
    std::string program = Recorder(scratch_.Path("dir with blank/tool"));
    Recorder(install_.Path("tool"));
    ASSERT_TRUE(StartSucceeded(starter_.WinExec("\"" + program + ".exe\" 1", kShowNormal)));
    auto records = Records(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].exe, program);
    EXPECT_EQ(records[0].args, (Words{program + ".exe", "1"}));
}

TEST_F(ProcessStartTest, FailureCodes) {
    // Nothing of that name anywhere.
    EXPECT_EQ(starter_.WinExec("no-such-engine.exe -c", kShowNormal), kStartFileNotFound);
    EXPECT_EQ(starter_.WinExec("", kShowNormal), kStartFileNotFound);
    EXPECT_EQ(starter_.WinExec(install_.Path("missing"), kShowNormal), kStartFileNotFound);
    // The directory part does not exist, or is a file.
    EXPECT_EQ(starter_.WinExec("/no-such-folder/zelvan1.exe", kShowNormal), kStartPathNotFound);
    install_.Write("plain.txt", "text");
    EXPECT_EQ(starter_.WinExec(install_.Path("plain.txt") + "/x", kShowNormal), kStartPathNotFound);
    // Present but not runnable: not executable, a folder, not a program.
    EXPECT_EQ(starter_.WinExec("plain.txt", kShowNormal), kStartBadProgram);
    std::filesystem::create_directory(install_.Path("folder.exe"));
    EXPECT_EQ(starter_.WinExec("folder.exe", kShowNormal), kStartBadProgram);
    std::string garbage = install_.Write("garbage.exe", "MZ\x90\x00 not a program here");
    ::chmod(garbage.c_str(), 0755);
    EXPECT_EQ(starter_.WinExec("garbage.exe", kShowNormal), kStartBadProgram);
    EXPECT_EQ(starter_.WinExec(garbage, kShowNormal), kStartBadProgram);
    EXPECT_TRUE(test::ZombieChildren().empty());
}

TEST_F(ProcessStartTest, ScriptsRunWithoutAShell) {
    // A script with its interpreter line is a program; one without is not,
    // since nothing falls back to a shell.
    std::string script = install_.Write("job.sh", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    ::chmod(script.c_str(), 0755);
    std::string bare = install_.Write("bare.sh", "echo hi > " + scratch_.Path("bare") + "\n");
    ::chmod(bare.c_str(), 0755);
    ProcessHandle handle;
    ASSERT_TRUE(StartSucceeded(
        starter_.StartWaitable("job.sh \"$HOME; x\" " + scratch_.Path("echo"), kShowNormal, handle)));
    EXPECT_EQ(starter_.WaitForProcess(handle), 0);
    EXPECT_EQ(scratch_.Read("echo"), "$HOME; x\n");
    EXPECT_EQ(starter_.WinExec("bare.sh", kShowNormal), kStartBadProgram);
    EXPECT_FALSE(std::filesystem::exists(scratch_.Path("bare")));
}

TEST_F(ProcessStartTest, WaitableStartIsWaitedForFromAnotherThread) {
    Recorder(install_.Path("zvserver"));
    ::setenv("ARGRECORDER_SLEEP_MS", "100", 1);
    ::setenv("ARGRECORDER_EXIT", "7", 1);
    ProcessHandle handle;
    ASSERT_TRUE(StartSucceeded(starter_.StartWaitable("zvserver.exe -p 1", kShowNormal, handle)));
    ASSERT_GT(handle.pid, 0);
    int status = -2;
    std::thread waiter([&] { status = starter_.WaitForProcess(handle); });
    waiter.join();
    EXPECT_EQ(status, 7);
    auto records = test::ReadArgRecords(out_);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].pid, handle.pid);
    EXPECT_EQ(records[0].args, (Words{"zvserver.exe", "-p", "1"}));
    EXPECT_TRUE(test::ZombieChildren().empty());
    // Waiting again, or on nothing, cannot block.
    EXPECT_EQ(starter_.WaitForProcess(handle), -1);
    EXPECT_EQ(starter_.WaitForProcess(ProcessHandle{}), -1);
}

TEST_F(ProcessStartTest, FailedWaitableStartGivesNoHandle) {
    ProcessHandle handle{1234};
    EXPECT_EQ(starter_.StartWaitable("no-such-engine.exe", kShowNormal, handle), kStartFileNotFound);
    EXPECT_EQ(handle.pid, -1);
    install_.Write("plain", "x");
    EXPECT_EQ(starter_.StartWaitable("plain", kShowNormal, handle), kStartBadProgram);
    EXPECT_EQ(handle.pid, -1);
    std::string garbage = install_.Write("garbage", "not a program");
    ::chmod(garbage.c_str(), 0755);
    EXPECT_EQ(starter_.StartWaitable("garbage", kShowNormal, handle), kStartBadProgram);
    EXPECT_EQ(handle.pid, -1);
    EXPECT_TRUE(test::ZombieChildren().empty());
}

TEST_F(ProcessStartTest, DocumentGoesToTheOpenerAsOneArgument) {
    Recorder(pathDir_.Path("xdg-open"));
    std::string page = scratch_.Write("help dir/index.html", "<html></html>");
    ASSERT_TRUE(StartSucceeded(starter_.OpenDocument(page, "", "", kShowNormal)));
    ASSERT_TRUE(
        StartSucceeded(starter_.OpenDocument("index.html", "", scratch_.Path("help dir"), kShowMinNoActive)));
    auto records = Records(2);
    ASSERT_EQ(records.size(), 2u);
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.show < b.show; });
    EXPECT_EQ(records[0].args, (Words{pathDir_.Path("xdg-open"), page}));
    EXPECT_EQ(records[0].show, "5");
    EXPECT_EQ(records[1].args, (Words{pathDir_.Path("xdg-open"), page}));
    EXPECT_EQ(records[1].cwd, scratch_.Path("help dir"));
}

TEST_F(ProcessStartTest, DocumentFailures) {
    std::string page = scratch_.Write("index.html", "x");
    EXPECT_EQ(starter_.OpenDocument(page, "", "", kShowNormal), kStartNoAssociation);
    Recorder(pathDir_.Path("xdg-open"));
    EXPECT_EQ(starter_.OpenDocument(scratch_.Path("missing.html"), "", "", kShowNormal), kStartFileNotFound);
    EXPECT_EQ(starter_.OpenDocument("index.html", "", scratch_.Path("no folder"), kShowNormal),
              kStartPathNotFound);
    EXPECT_EQ(starter_.OpenDocument("", "", "", kShowNormal), kStartFileNotFound);
    EXPECT_TRUE(test::ReadArgRecords(out_).empty());
}

class CountingStarter : public LinuxProcessStarter {
public:
    unsigned WinExec(const std::string& line, int) override {
        lines.push_back(line);
        return kStartOk;
    }
    std::vector<std::string> lines;
};

TEST(ProcessStarterOverrideTest, FakeReplacesAndRestoresTheRealStarter) {
    ProcessStarter* real = &CurrentProcessStarter();
    CountingStarter fake;
    SetProcessStarter(&fake);
    EXPECT_EQ(CurrentProcessStarter().WinExec("x y", kShowNormal), kStartOk);
    EXPECT_EQ(fake.lines, Words{"x y"});
    SetProcessStarter(nullptr);
    EXPECT_EQ(&CurrentProcessStarter(), real);
}

// A clock that stands still unless the test moves it: no wait below ever
// depends on how fast the machine is.
struct StillClock {
    PipedChild::Clock::time_point now{};
    PipedChild::NowFn Fn() {
        return [this] { return now; };
    }
    PipedChild::Clock::time_point Later() const { return now + std::chrono::hours(1); }
};

TEST(PipedChildTest, LinesGoBothWaysAndTheChildEndsWithItsInput) {
    StillClock clock;
    PipedChild child(clock.Fn());
    std::string error, line;
    ASSERT_TRUE(child.Start({"cat"}, error)) << error;
    EXPECT_TRUE(child.Running());
    ASSERT_TRUE(child.WriteLine("{\"type\":\"none\"}", clock.Later()));
    ASSERT_TRUE(child.WriteLine("second", clock.Later()));
    ASSERT_EQ(child.ReadLine(clock.Later(), line), PipedChild::Read::Line);
    EXPECT_EQ(line, "{\"type\":\"none\"}");
    ASSERT_EQ(child.ReadLine(clock.Later(), line), PipedChild::Read::Line);
    EXPECT_EQ(line, "second");
    EXPECT_EQ(child.Stop(clock.Later()), 0);
    EXPECT_FALSE(child.Running());
    EXPECT_EQ(child.Stop(clock.Later()), -1);
}

TEST(PipedChildTest, WhatAnEndedChildWroteComesBeforeItsEnd) {
    StillClock clock;
    PipedChild child(clock.Fn());
    std::string error, line;
    ASSERT_TRUE(child.Start({"sh", "-c", "printf 'a\\r\\nb\\nlast'; exit 3"}, error)) << error;
    std::vector<std::string> lines;
    while (child.ReadLine(clock.Later(), line) == PipedChild::Read::Line) lines.push_back(line);
    EXPECT_EQ(lines, (Words{"a", "b", "last"}));
    EXPECT_EQ(child.ReadLine(clock.Later(), line), PipedChild::Read::Ended);
    while (child.Running()) ::poll(nullptr, 0, 10);  // until the system has ended it
    EXPECT_EQ(child.Stop(clock.Later()), 3);
    EXPECT_EQ(child.Stop(clock.Later()), -1);
}

TEST(PipedChildTest, DeadlinesEndEveryWait) {
    StillClock clock;
    PipedChild child(clock.Fn());
    std::string error, line;
    ASSERT_TRUE(child.Start({"sh", "-c", "exec 0<&-; echo closed; exec sleep 1000"}, error)) << error;
    ASSERT_EQ(child.ReadLine(clock.Later(), line), PipedChild::Read::Line);
    // Silent: the wait ends when the clock passes the deadline.
    EXPECT_EQ(child.ReadLine(clock.now, line), PipedChild::Read::TimedOut);
    // Its input is closed: writing fails without a signal reaching us.
    EXPECT_FALSE(child.WriteLine("anyone there?", clock.Later()));
    // It does not end with its input: it is killed at the deadline.
    EXPECT_EQ(child.Stop(clock.now), 128 + SIGKILL);
}

TEST(PipedChildTest, LongLinesAndMissingProgramsAreReported) {
    StillClock clock;
    PipedChild child(clock.Fn(), 8);
    std::string error, line;
    ASSERT_TRUE(child.Start({"sh", "-c", "echo 123456789; echo ok"}, error)) << error;
    EXPECT_EQ(child.ReadLine(clock.Later(), line), PipedChild::Read::TooLong);
    EXPECT_EQ(child.ReadLine(clock.Later(), line), PipedChild::Read::Line);
    EXPECT_EQ(line, "ok");
    child.Stop(clock.Later());

    EXPECT_FALSE(child.Start({"/nonexistent/folder/bot"}, error));
    EXPECT_NE(error.find("/nonexistent/folder/bot"), std::string::npos) << error;
    EXPECT_FALSE(child.Start({"zv-no-such-program"}, error));
    EXPECT_NE(error.find("no such program"), std::string::npos) << error;
    EXPECT_FALSE(child.Start({}, error));
    EXPECT_FALSE(child.Running());
}

}  // namespace
}  // namespace zv
