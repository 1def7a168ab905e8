#pragma once
// Starting programs and documents, the way the launcher's engines expect:
// a command line is one string, split into arguments with the Windows C
// runtime rules, and never passed through a shell.
//
// As with Platform, the base class is the Linux implementation; tests
// install a fake with SetProcessStarter.
#include <string>
#include <vector>

namespace zv {

// Show modes of the started program's window.
enum ShowMode : int { kShowNormal = 5, kShowMinNoActive = 6, kShowMinimizedNoActivate = 7 };

// Result codes of a start: 0 out of resources, 2 file not found, 3 path not
// found, 11 not a valid program; 32 or more means the program was started.
inline constexpr unsigned kStartOk = 33;
inline bool StartSucceeded(unsigned result) { return result >= 32; }

// A started process that can be waited for.
struct ProcessHandle {
    int pid = -1;
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // WinExec: starts the command line; the program is its first word,
    // looked up in the installation directory first, then PATH (a name
    // ending in ".exe" that is not found is tried without it). The started
    // program is not followed; no zombie is left behind.
    virtual unsigned WinExec(const std::string& commandLine, int showMode);

    // Like WinExec, but the caller gets a handle to wait on.
    virtual unsigned StartWaitable(const std::string& commandLine, int showMode, ProcessHandle& handle);

    // Blocks until the process has ended; returns its exit status (-1 when
    // it cannot be waited for).
    virtual int WaitForProcess(ProcessHandle handle);

    // ShellExecute with no verb: opens a file with the desktop's default
    // program. Returns a value of 32 or more on success.
    virtual unsigned OpenDocument(const std::string& file, const std::string& parameters,
                                  const std::string& directory, int showMode);
};

ProcessStarter& CurrentProcessStarter();
void SetProcessStarter(ProcessStarter* starter);

// Splits a command line with the Microsoft C runtime rules.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace zv
