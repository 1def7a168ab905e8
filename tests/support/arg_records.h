#pragma once
// Reading what the argrecorder test program wrote: one record per run.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace zv::test {

struct ArgRecord {
    std::vector<std::string> args;
    std::string cwd;
    std::string show;
    std::string exe;
    std::vector<int> fds;
    int pid = -1;
};

inline std::vector<ArgRecord> ReadArgRecords(const std::string& file) {
    std::vector<ArgRecord> records;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    ArgRecord current;
    while (std::getline(in, line)) {
        std::size_t blank = line.find(' ');
        std::string key = line.substr(0, blank);
        std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (key == "arg")
            current.args.push_back(value);
        else if (key == "cwd")
            current.cwd = value;
        else if (key == "show")
            current.show = value;
        else if (key == "exe")
            current.exe = value;
        else if (key == "pid")
            current.pid = std::stoi(value);
        else if (key == "fds") {
            std::istringstream list(value);
            for (int fd; list >> fd;) current.fds.push_back(fd);
        } else if (key == "end") {
            records.push_back(current);
            current = ArgRecord{};
        }
    }
    return records;
}

// Waits (up to a generous limit, for slow machines) until `count` records
// are there; returns what was read.
inline std::vector<ArgRecord> WaitForArgRecords(const std::string& file, std::size_t count) {
    auto records = ReadArgRecords(file);
    for (int i = 0; i < 1000 && records.size() < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        records = ReadArgRecords(file);
    }
    return records;
}

// State letter and parent of a process from /proc, or false when it is gone.
inline bool ProcessState(int pid, char& state, int& parent) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::size_t close = text.rfind(')');
    if (close == std::string::npos) return false;
    std::istringstream rest(text.substr(close + 1));
    return static_cast<bool>(rest >> state >> parent);
}

// Pids of our own children that are zombies.
inline std::vector<int> ZombieChildren() {
    std::vector<int> zombies;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return zombies;
    while (dirent* entry = ::readdir(proc)) {
        int pid = std::atoi(entry->d_name);
        char state = 0;
        int parent = 0;
        if (pid > 0 && ProcessState(pid, state, parent) && parent == ::getpid() && state == 'Z')
            zombies.push_back(pid);
    }
    ::closedir(proc);
    return zombies;
}

}  // namespace zv::test
