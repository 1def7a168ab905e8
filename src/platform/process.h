#pragma once
// Starting programs and documents, the way the launcher's engines expect:
// a command line is one string, split into arguments with the Windows C
// runtime rules, and never passed through a shell.
//
// As with Platform, the class is abstract and LinuxProcessStarter is this
// system's; tests install a double with SetProcessStarter.
//
// Linux has no window show mode at process start. The mode is handed to the
// started program in the environment variable ZV_SHOW_MODE (its decimal
// value); our own engines read it, other programs ignore it.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zv {

// Show modes of the started program's window.
enum ShowMode : int { kShowNormal = 5, kShowMinNoActive = 6, kShowMinimizedNoActivate = 7 };

// Name of the environment variable that carries the show mode.
inline constexpr const char* kShowModeVariable = "ZV_SHOW_MODE";

// Result codes of a start: 0 out of resources, 2 file not found, 3 path not
// found, 11 not a valid program; 32 or more means the program was started.
inline constexpr unsigned kStartOutOfResources = 0;
inline constexpr unsigned kStartFileNotFound = 2;
inline constexpr unsigned kStartPathNotFound = 3;
inline constexpr unsigned kStartBadProgram = 11;
inline constexpr unsigned kStartNoAssociation = 31;
inline constexpr unsigned kStartOk = 33;
inline bool StartSucceeded(unsigned result) { return result >= 32; }

// A started process that can be waited for.
struct ProcessHandle {
    int pid = -1;
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // WinExec: starts the command line; the program is its first word.
    // A word without '/' is looked up in the installation directory first,
    // then in each PATH folder (empty PATH entries, meaning the current
    // directory, are skipped); in each folder a name ending in ".exe" that
    // is not there is tried without it. A word with '/' is used as given
    // (again trying it without ".exe"). The program runs with the caller's
    // current directory and environment plus ZV_SHOW_MODE. It is started
    // through an intermediate process that ends at once, so the program is
    // not our child and leaves no zombie behind.
    //
    // Results: kStartOk; 2 when no such file exists; 3 when the word's
    // directory part does not exist; 11 when the file exists but cannot be
    // run (not executable, not a program); 0 when the system is out of
    // processes or memory.
    virtual unsigned WinExec(const std::string& commandLine, int showMode) = 0;

    // Like WinExec, but the program is our child and the caller gets a
    // handle to wait on. The caller must wait for it (WaitForProcess), or a
    // zombie stays until our process ends.
    virtual unsigned StartWaitable(const std::string& commandLine, int showMode, ProcessHandle& handle) = 0;

    // Blocks until the process has ended; returns its exit status, 128 plus
    // the signal number when a signal ended it, or -1 when it cannot be
    // waited for. Any thread may wait.
    virtual int WaitForProcess(ProcessHandle handle) = 0;

    // ShellExecute with no verb: opens a file with the desktop's default
    // program (xdg-open from PATH, given the file as its one argument; the
    // opener takes no further parameters, so `parameters` is not passed on).
    // `directory`, when not empty, is the opener's current directory and
    // the folder a relative `file` is taken from. Returns kStartOk when the
    // opener started, 2 when the file does not exist, 3 when the directory
    // does not exist, 31 when there is no opener, 0 when out of resources.
    virtual unsigned OpenDocument(const std::string& file, const std::string& parameters,
                                  const std::string& directory, int showMode) = 0;
};

// Starts processes on this system.
class LinuxProcessStarter : public ProcessStarter {
public:
    unsigned WinExec(const std::string& commandLine, int showMode) override;
    unsigned StartWaitable(const std::string& commandLine, int showMode, ProcessHandle& handle) override;
    int WaitForProcess(ProcessHandle handle) override;
    unsigned OpenDocument(const std::string& file, const std::string& parameters,
                          const std::string& directory, int showMode) override;
};

ProcessStarter& CurrentProcessStarter();
void SetProcessStarter(ProcessStarter* starter);

// Splits a command line with the Microsoft C runtime rules.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// A program run as our child with pipes to its standard input and output
// (its standard error stays ours), spoken to in lines. Every wait ends at a
// deadline on the clock given (the steady clock when none is), which is
// read again at least every 50 ms, so a clock moved on by a test is seen.
// A child that has ended or stopped reading is noticed, never waited on for
// ever.
class PipedChild {
public:
    using Clock = std::chrono::steady_clock;
    using NowFn = std::function<Clock::time_point()>;

    enum class Read { Line, TimedOut, Ended, TooLong };

    explicit PipedChild(NowFn now = {}, std::size_t maxLine = 65536);
    ~PipedChild();
    PipedChild(const PipedChild&) = delete;
    PipedChild& operator=(const PipedChild&) = delete;

    // Starts `argv`: its first word is found as WinExec finds a program, the
    // others are its arguments; it gets our environment. False with `error`
    // set (a child already running is stopped first).
    bool Start(const std::vector<std::string>& argv, std::string& error);
    // Writes `line` and a line end; false when the child no longer reads
    // (it has ended, or takes nothing in before `deadline`).
    bool WriteLine(const std::string& line, Clock::time_point deadline);
    // The child's next line (without its end; a CR before it is dropped).
    // Lines it wrote before it ended come first, then Ended.
    Read ReadLine(Clock::time_point deadline, std::string& line);
    // Closes the child's input, gives it until `deadline` to end, then kills
    // it. Returns its exit status (128 plus the signal that ended it), or -1
    // when no child was running.
    int Stop(Clock::time_point deadline);
    // False once the child has ended (what it wrote can still be read).
    bool Running();
    Clock::time_point Now() const { return now_ ? now_() : Clock::now(); }

private:
    void CloseInput();
    void CloseOutput();

    NowFn now_;
    std::size_t maxLine_;
    int pid_ = -1;
    int exitStatus_ = -1;  // of a child that ended while it was looked at
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;  // read from the child, not yet a whole line
};

}  // namespace zv
