#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/process.h"

extern char** environ;

namespace zv {
namespace {

ProcessStarter* g_override = nullptr;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool EndsWithExe(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".exe";
}

// What a path names, for the program search.
enum class Found { Nothing, Program, NotRunnable, MissingFolder };

Found Probe(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return errno == ENOTDIR ? Found::MissingFolder : Found::Nothing;
    if (!S_ISREG(info.st_mode)) return Found::NotRunnable;
    return ::access(path.c_str(), X_OK) == 0 ? Found::Program : Found::NotRunnable;
}

// Tries `path`, then (for a name ending in ".exe") the same without it.
// Returns the first runnable candidate, or the best failure seen.
Found ProbeWithExeFallback(const std::string& path, std::string& resolved) {
    Found found = Probe(path);
    if (found == Found::Program) {
        resolved = path;
        return found;
    }
    if (EndsWithExe(path)) {
        std::string bare = path.substr(0, path.size() - 4);
        Found second = Probe(bare);
        if (second == Found::Program) {
            resolved = bare;
            return second;
        }
        if (found == Found::Nothing || found == Found::MissingFolder) found = second;
    }
    return found;
}

bool IsExistingFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> SearchFolders() {
    std::vector<std::string> folders;
    folders.push_back(CurrentPlatform().InstallDir());
    const char* path = std::getenv("PATH");
    std::string list = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        std::string folder = list.substr(start, end - start);
        // An empty entry would mean the current directory, which is never searched.
        if (!folder.empty()) {
            if (folder.back() != '/') folder += '/';
            folders.push_back(folder);
        }
        start = end + 1;
    }
    return folders;
}

// Finds the program a command line's first word names.
unsigned ResolveProgram(const std::string& word, std::string& resolved) {
    if (word.empty()) return kStartFileNotFound;
    std::size_t slash = word.rfind('/');
    if (slash != std::string::npos) {
        std::string folder = word.substr(0, slash + 1);
        if (!IsExistingFolder(folder)) return kStartPathNotFound;
        switch (ProbeWithExeFallback(word, resolved)) {
            case Found::Program:
                return kStartOk;
            case Found::NotRunnable:
                return kStartBadProgram;
            case Found::MissingFolder:
                return kStartPathNotFound;
            case Found::Nothing:
                return kStartFileNotFound;
        }
        return kStartFileNotFound;
    }
    bool sawUnrunnable = false;
    for (const std::string& folder : SearchFolders()) {
        Found found = ProbeWithExeFallback(folder + word, resolved);
        if (found == Found::Program) return kStartOk;
        if (found == Found::NotRunnable) sawUnrunnable = true;
    }
    return sawUnrunnable ? kStartBadProgram : kStartFileNotFound;
}

unsigned CodeForErrno(int error) {
    switch (error) {
        case ENOENT:
            return kStartFileNotFound;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG:
            return kStartPathNotFound;
        case ENOMEM:
        case EAGAIN:
        case E2BIG:
        case EMFILE:
        case ENFILE:
            return kStartOutOfResources;
        default:
            return kStartBadProgram;
    }
}

// Everything the child needs, prepared before fork: after fork only
// async-signal-safe calls are allowed.
struct ExecPlan {
    std::string program;
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::string directory;
    int input = -1;   // becomes the program's standard input, when set
    int output = -1;  // becomes its standard output, when set

    std::vector<char*> argv;
    std::vector<char*> envp;

    void Seal() {
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
    }
};

std::vector<std::string> EnvironmentWithShowMode(int showMode) {
    std::vector<std::string> env;
    const std::string prefix = std::string(kShowModeVariable) + "=";
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, prefix.c_str(), prefix.size()) == 0) continue;
        env.emplace_back(*entry);
    }
    env.push_back(prefix + std::to_string(showMode));
    return env;
}

[[noreturn]] void WriteErrorAndExit(int fd, int error) {
    while (::write(fd, &error, sizeof error) < 0 && errno == EINTR) {
    }
    ::_exit(127);
}

// In the child: restore what a fresh program expects and replace ourselves.
[[noreturn]] void ExecChild(const ExecPlan& plan, int errorFd) {
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &defaults, nullptr);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (plan.input >= 0 && ::dup2(plan.input, 0) < 0) WriteErrorAndExit(errorFd, errno);
    if (plan.output >= 0 && ::dup2(plan.output, 1) < 0) WriteErrorAndExit(errorFd, errno);
    // Descriptors the parent forgot to mark (sockets, files) must not leak
    // into the program; the error pipe is already close-on-exec.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    if (!plan.directory.empty() && ::chdir(plan.directory.c_str()) != 0) WriteErrorAndExit(errorFd, errno);
    ::execve(plan.program.c_str(), plan.argv.data(), plan.envp.data());
    WriteErrorAndExit(errorFd, errno);
}

void WaitQuietly(pid_t pid) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// Starts the plan. Detached: through an intermediate child that ends at once,
// so the program is adopted by the system and never becomes our zombie.
// Otherwise the program is our child and its pid is returned in `pid`.
unsigned Launch(ExecPlan& plan, bool detached, int* pid) {
    plan.Seal();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return kStartOutOfResources;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return kStartOutOfResources;
    }
    if (child == 0) {
        ::close(fds[0]);
        if (detached) {
            pid_t grandchild = ::_Fork();
            if (grandchild < 0) WriteErrorAndExit(fds[1], errno);
            if (grandchild > 0) ::_exit(0);
        }
        ExecChild(plan, fds[1]);
    }
    ::close(fds[1]);
    int error = 0;
    ssize_t got;
    do {
        got = ::read(fds[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(fds[0]);
    bool failed = got == static_cast<ssize_t>(sizeof error);
    if (detached || failed) WaitQuietly(child);
    if (failed) return CodeForErrno(error);
    if (!detached && pid != nullptr) *pid = child;
    return kStartOk;
}

unsigned Start(const std::string& commandLine, int showMode, bool detached, int* pid) {
    std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) return kStartFileNotFound;
    ExecPlan plan;
    unsigned found = ResolveProgram(words.front(), plan.program);
    if (found != kStartOk) return found;
    plan.args = std::move(words);
    plan.env = EnvironmentWithShowMode(showMode);
    return Launch(plan, detached, pid);
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    const std::size_t n = commandLine.size();
    std::size_t i = 0;
    while (i < n && IsBlank(commandLine[i])) ++i;
    if (i == n) return words;

    // The program name: quotes only group, backslashes are plain characters.
    std::string program;
    bool inQuotes = false;
    for (; i < n; ++i) {
        char c = commandLine[i];
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes && IsBlank(c)) {
            break;
        } else {
            program += c;
        }
    }
    words.push_back(program);

    // The arguments: 2n backslashes before a quote give n backslashes and the
    // quote toggles quoting; 2n+1 give n backslashes and a literal quote;
    // inside quotes "" is a literal quote and quoting goes on.
    for (;;) {
        while (i < n && IsBlank(commandLine[i])) ++i;
        if (i == n) break;
        std::string word;
        inQuotes = false;
        while (i < n) {
            std::size_t slashes = 0;
            while (i < n && commandLine[i] == '\\') {
                ++slashes;
                ++i;
            }
            if (i < n && commandLine[i] == '"') {
                word.append(slashes / 2, '\\');
                if (slashes % 2 == 1) {
                    word += '"';
                } else if (inQuotes && i + 1 < n && commandLine[i + 1] == '"') {
                    word += '"';
                    ++i;
                } else {
                    inQuotes = !inQuotes;
                }
                ++i;
                continue;
            }
            word.append(slashes, '\\');
            if (i == n || (!inQuotes && IsBlank(commandLine[i]))) break;
            word += commandLine[i++];
        }
        words.push_back(word);
    }
    return words;
}

unsigned LinuxProcessStarter::WinExec(const std::string& commandLine, int showMode) {
    return Start(commandLine, showMode, true, nullptr);
}

unsigned LinuxProcessStarter::StartWaitable(const std::string& commandLine, int showMode,
                                            ProcessHandle& handle) {
    handle.pid = -1;
    return Start(commandLine, showMode, false, &handle.pid);
}

int LinuxProcessStarter::WaitForProcess(ProcessHandle handle) {
    if (handle.pid <= 0) return -1;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(handle.pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    if (done != handle.pid) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

unsigned LinuxProcessStarter::OpenDocument(const std::string& file, const std::string& /*parameters*/,
                                           const std::string& directory, int showMode) {
    if (file.empty()) return kStartFileNotFound;
    if (!directory.empty() && !IsExistingFolder(directory)) return kStartPathNotFound;
    std::string target = file;
    if (target.front() != '/' && !directory.empty())
        target = directory + (directory.back() == '/' ? "" : "/") + file;
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return errno == ENOTDIR ? kStartPathNotFound : kStartFileNotFound;

    ExecPlan plan;
    bool found = false;
    for (const std::string& folder : SearchFolders()) {
        if (folder == CurrentPlatform().InstallDir()) continue;
        if (Probe(folder + "xdg-open") == Found::Program) {
            plan.program = folder + "xdg-open";
            found = true;
            break;
        }
    }
    if (!found) return kStartNoAssociation;
    plan.args = {plan.program, target};
    plan.env = EnvironmentWithShowMode(showMode);
    plan.directory = directory;
    return Launch(plan, true, nullptr);
}

ProcessStarter& CurrentProcessStarter() {
    static LinuxProcessStarter real;
    return g_override != nullptr ? *g_override : real;
}

void SetProcessStarter(ProcessStarter* starter) { g_override = starter; }

// ---------------------------------------------------------------- PipedChild

namespace {

// The longest a single wait lasts before the clock is read again.
constexpr int kSliceMs = 50;

int SliceUntil(PipedChild::Clock::time_point deadline, PipedChild::Clock::time_point now) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, kSliceMs));
}

// Keeps SIGPIPE from this thread while it writes to a child that may have
// ended: the write then fails with EPIPE, and a SIGPIPE it raised is taken
// back so that it never reaches the process.
class PipeSignalGuard {
public:
    PipeSignalGuard() {
        sigset_t pending;
        ::sigemptyset(&pipe_);
        ::sigaddset(&pipe_, SIGPIPE);
        ::sigpending(&pending);
        wasPending_ = ::sigismember(&pending, SIGPIPE) == 1;
        ::pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~PipeSignalGuard() {
        if (raised && !wasPending_) {
            timespec none{};
            while (::sigtimedwait(&pipe_, nullptr, &none) < 0 && errno == EINTR) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    PipeSignalGuard(const PipeSignalGuard&) = delete;
    PipeSignalGuard& operator=(const PipeSignalGuard&) = delete;

    bool raised = false;  // a write failed with EPIPE

private:
    sigset_t pipe_{};
    sigset_t old_{};
    bool wasPending_ = false;
};

std::string StartFailure(unsigned code) {
    switch (code) {
        case kStartFileNotFound:
            return "no such program";
        case kStartPathNotFound:
            return "no such folder";
        case kStartBadProgram:
            return "not a program that can be run";
        default:
            return "out of resources";
    }
}

int ExitStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

PipedChild::PipedChild(NowFn now, std::size_t maxLine) : now_(std::move(now)), maxLine_(maxLine) {}

PipedChild::~PipedChild() { Stop(Now()); }

bool PipedChild::Start(const std::vector<std::string>& argv, std::string& error) {
    Stop(Now());
    if (argv.empty() || argv[0].empty()) {
        error = "no program";
        return false;
    }
    ExecPlan plan;
    unsigned found = ResolveProgram(argv[0], plan.program);
    if (found != kStartOk) {
        error = argv[0] + ": " + StartFailure(found);
        return false;
    }
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    if (::pipe2(out, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        ::close(in[0]);
        ::close(in[1]);
        return false;
    }
    plan.args = argv;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        plan.env.emplace_back(*entry);
    plan.input = in[0];
    plan.output = out[1];
    int pid = -1;
    unsigned started = Launch(plan, false, &pid);
    ::close(in[0]);
    ::close(out[1]);
    if (started != kStartOk) {
        ::close(in[1]);
        ::close(out[0]);
        error = argv[0] + ": " + StartFailure(started);
        return false;
    }
    pid_ = pid;
    exitStatus_ = -1;
    toChild_ = in[1];
    fromChild_ = out[0];
    ::fcntl(toChild_, F_SETFL, ::fcntl(toChild_, F_GETFL) | O_NONBLOCK);
    ::fcntl(fromChild_, F_SETFL, ::fcntl(fromChild_, F_GETFL) | O_NONBLOCK);
    buffer_.clear();
    return true;
}

bool PipedChild::WriteLine(const std::string& line, Clock::time_point deadline) {
    std::string data = line + "\n";
    std::size_t sent = 0;
    PipeSignalGuard guard;
    while (sent < data.size()) {
        if (toChild_ < 0) return false;
        ssize_t n = ::write(toChild_, data.data() + sent, data.size() - sent);
        guard.raised = guard.raised || (n < 0 && errno == EPIPE);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {  // EPIPE: the child has ended
            CloseInput();
            return false;
        }
        auto now = Now();
        if (now >= deadline) return false;
        pollfd p{toChild_, POLLOUT, 0};
        if (::poll(&p, 1, SliceUntil(deadline, now)) < 0 && errno != EINTR) return false;
    }
    return true;
}

PipedChild::Read PipedChild::ReadLine(Clock::time_point deadline, std::string& line) {
    for (;;) {
        std::size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() > maxLine_) return Read::TooLong;
            return Read::Line;
        }
        if (buffer_.size() > maxLine_) {
            buffer_.clear();
            return Read::TooLong;
        }
        if (fromChild_ < 0) {
            if (buffer_.empty()) return Read::Ended;
            line.swap(buffer_);  // its last line, without a line end
            buffer_.clear();
            return Read::Line;
        }
        char chunk[4096];
        ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
        if (n > 0) {
            buffer_.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            CloseOutput();
            continue;
        }
        if (errno == EINTR) continue;
        auto now = Now();
        if (now >= deadline) return Read::TimedOut;
        pollfd p{fromChild_, POLLIN, 0};
        if (::poll(&p, 1, SliceUntil(deadline, now)) < 0 && errno != EINTR) {
            CloseOutput();
            continue;
        }
    }
}

bool PipedChild::Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
    pid_ = -1;
    exitStatus_ = ExitStatus(status);
    return false;
}

int PipedChild::Stop(Clock::time_point deadline) {
    CloseInput();
    CloseOutput();
    buffer_.clear();
    if (pid_ <= 0) {
        int ended = exitStatus_;
        exitStatus_ = -1;
        return ended;
    }
    // A well-behaved child ends when its input does.
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(pid_, &status, WNOHANG)) == 0) {
        auto now = Now();
        if (now >= deadline) {
            ::kill(pid_, SIGKILL);
            do {
                done = ::waitpid(pid_, &status, 0);
            } while (done < 0 && errno == EINTR);
            break;
        }
        ::poll(nullptr, 0, SliceUntil(deadline, now));
    }
    pid_ = -1;
    return done > 0 ? ExitStatus(status) : -1;
}

void PipedChild::CloseInput() {
    if (toChild_ >= 0) ::close(toChild_);
    toChild_ = -1;
}

void PipedChild::CloseOutput() {
    if (fromChild_ >= 0) ::close(fromChild_);
    fromChild_ = -1;
}

}  // namespace zv
