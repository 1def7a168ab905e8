// A stand-in program for tests of program starts. Each run appends one record
// to the file named by ARGRECORDER_OUT:
//
//   arg <argv[0]>
//   arg <argv[1]>
//   ...
//   cwd <current directory>
//   show <value of ZV_SHOW_MODE, empty when unset>
//   exe <path of the running executable>
//   fds <open descriptors, separated by blanks>
//   pid <process id>
//   end
//
// ARGRECORDER_SLEEP_MS makes it linger after writing; ARGRECORDER_EXIT gives
// its exit code (0 otherwise).
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    std::string record;
    for (int i = 0; i < argc; ++i) record += std::string("arg ") + argv[i] + "\n";
    char cwd[4096];
    record += std::string("cwd ") + (::getcwd(cwd, sizeof cwd) != nullptr ? cwd : "?") + "\n";
    const char* show = std::getenv("ZV_SHOW_MODE");
    record += std::string("show ") + (show != nullptr ? show : "") + "\n";
    char exe[4096];
    ssize_t exeLength = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    record += std::string("exe ") + std::string(exe, exeLength > 0 ? exeLength : 0) + "\n";
    record += "fds";
    if (DIR* fds = ::opendir("/proc/self/fd")) {
        while (dirent* entry = ::readdir(fds)) {
            if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == ::dirfd(fds)) continue;
            record += std::string(" ") + entry->d_name;
        }
        ::closedir(fds);
    }
    record += "\n";
    record += "pid " + std::to_string(::getpid()) + "\nend\n";

    if (const char* out = std::getenv("ARGRECORDER_OUT")) {
        int fd = ::open(out, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd >= 0) {
            // One write, so that records of programs running side by side never interleave.
            if (::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) return 99;
            ::close(fd);
        }
    }
    if (const char* sleep = std::getenv("ARGRECORDER_SLEEP_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(sleep)));
    const char* code = std::getenv("ARGRECORDER_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
