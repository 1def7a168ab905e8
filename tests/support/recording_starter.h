#pragma once
// A ProcessStarter that starts nothing: it records every command line and
// answers with the result the test sets. Installs itself for its lifetime.
#include <mutex>
#include <string>
#include <vector>

#include "platform/process.h"

namespace zv::test {

class RecordingStarter : public ProcessStarter {
public:
    RecordingStarter() { SetProcessStarter(this); }
    ~RecordingStarter() override { SetProcessStarter(nullptr); }

    struct Start {
        std::string kind;  // "exec", "waitable", "document"
        std::string commandLine;
        int showMode = 0;
    };

    unsigned WinExec(const std::string& commandLine, int showMode) override {
        std::lock_guard lock(mutex);
        starts.push_back({"exec", commandLine, showMode});
        return result;
    }
    unsigned StartWaitable(const std::string& commandLine, int showMode, ProcessHandle& handle) override {
        std::lock_guard lock(mutex);
        starts.push_back({"waitable", commandLine, showMode});
        if (StartSucceeded(result)) handle.pid = pid;
        return result;
    }
    int WaitForProcess(ProcessHandle handle) override {
        std::lock_guard lock(mutex);
        waited.push_back(handle.pid);
        return 0;
    }
    unsigned OpenDocument(const std::string& file, const std::string& parameters,
                          const std::string& directory, int showMode) override {
        std::lock_guard lock(mutex);
        starts.push_back({"document", file + "|" + parameters + "|" + directory, showMode});
        return result;
    }

    std::vector<Start> Starts() {
        std::lock_guard lock(mutex);
        return starts;
    }

    std::mutex mutex;
    std::vector<Start> starts;
    std::vector<int> waited;
    unsigned result = kStartOk;
    int pid = 4242;
};

}  // namespace zv::test
