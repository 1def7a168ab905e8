#pragma once
// Starting a built program from an end-to-end test and waiting for it: the
// program gets our environment less the entries a test leaves out plus the
// ones it adds, may run in another folder and with its standard files
// redirected, and a program that does not end in time is killed, so a test
// fails instead of hanging.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zv::test {

struct ProgramRun {
    std::vector<std::string> args;      // args[0] is the program's path
    std::vector<std::string> dropEnv;   // beginnings of environment entries left out ("ARGRECORDER_")
    std::vector<std::string> addEnv;    // entries added ("NAME=value")
    std::string directory;              // the program's current folder; empty: ours
    std::string input, output, errors;  // files for its standard streams; empty: ours
};

// Starts the program; its process id, or -1 when it cannot be started.
inline pid_t StartProgram(const ProgramRun& run) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool dropped = false;
        for (const std::string& prefix : run.dropEnv) dropped = dropped || entry.rfind(prefix, 0) == 0;
        if (!dropped) env.push_back(entry);
    }
    env.insert(env.end(), run.addEnv.begin(), run.addEnv.end());
    std::vector<char*> envp;
    for (auto& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = run.args;
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!run.directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, run.directory.c_str());
    if (!run.input.empty()) posix_spawn_file_actions_addopen(&actions, 0, run.input.c_str(), O_RDONLY, 0);
    if (!run.output.empty())
        posix_spawn_file_actions_addopen(&actions, 1, run.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!run.errors.empty())
        posix_spawn_file_actions_addopen(&actions, 2, run.errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int error =
        posix_spawn(&pid, words.empty() ? "" : words[0].c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// How a program ended.
struct ProgramEnd {
    bool exited = false;  // it called exit (else a signal ended it, or it was killed)
    int code = -1;        // its exit code when it exited
    bool killed = false;  // it was still running at the limit and was killed
};

// Waits for the program to end, at most `limit`; kills it then.
inline ProgramEnd WaitForProgram(pid_t pid, std::chrono::milliseconds limit) {
    ProgramEnd end;
    if (pid <= 0) return end;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) return end;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            end.killed = true;
            return end;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    end.exited = WIFEXITED(status);
    if (end.exited) end.code = WEXITSTATUS(status);
    return end;
}

// Starts the program and waits for it; its exit code, or -1 when it could not
// be started, did not exit by itself or had to be killed at the limit.
inline int RunProgram(const ProgramRun& run, std::chrono::milliseconds limit) {
    const ProgramEnd end = WaitForProgram(StartProgram(run), limit);
    return end.exited ? end.code : -1;
}

}  // namespace zv::test
