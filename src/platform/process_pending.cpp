// Stand-in for the program starter until the Linux implementation lands:
// every start reports "file not found". Remove this file together with the
// arrival of the real starter.
#include "platform/process.h"

namespace zv {
namespace {
ProcessStarter* g_starter = nullptr;
}

unsigned ProcessStarter::WinExec(const std::string&, int) { return 2; }
unsigned ProcessStarter::StartWaitable(const std::string&, int, ProcessHandle&) { return 2; }
int ProcessStarter::WaitForProcess(ProcessHandle) { return -1; }
unsigned ProcessStarter::OpenDocument(const std::string&, const std::string&, const std::string&, int) {
    return 2;
}

ProcessStarter& CurrentProcessStarter() {
    static ProcessStarter real;
    return g_starter != nullptr ? *g_starter : real;
}

void SetProcessStarter(ProcessStarter* starter) { g_starter = starter; }

std::vector<std::string> SplitCommandLine(const std::string&) { return {}; }

}  // namespace zv
