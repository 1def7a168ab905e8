#include "zvbridge/bot_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace zv::bridge {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

bool BotProcess::Start(const std::vector<std::string>& argv, std::string& error) {
    Stop();
    if (argv.empty() || argv[0].empty()) {
        error = "no bot command";
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (auto& w : words) args.push_back(w.data());
    args.push_back(nullptr);
    int started = ::posix_spawnp(&pid_, words[0].c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    if (started != 0) {
        pid_ = -1;
        ::close(in[1]);
        ::close(out[0]);
        error = argv[0] + ": cannot start the bot (" + std::strerror(started) + ")";
        return false;
    }
    toBot_ = in[1];
    fromBot_ = out[0];
    ::fcntl(toBot_, F_SETFL, ::fcntl(toBot_, F_GETFL) | O_NONBLOCK);
    ::fcntl(fromBot_, F_SETFL, ::fcntl(fromBot_, F_GETFL) | O_NONBLOCK);
    reader_ = engine::LineReader{};
    lines_.clear();
    return true;
}

bool BotProcess::Send(const std::string& line, int timeoutMs) {
    if (toBot_ < 0) return false;
    std::string data = line + "\n";
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = ::write(toBot_, data.data() + sent, data.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;  // EPIPE: the bot has ended
        pollfd p{toBot_, POLLOUT, 0};
        if (MsLeft(deadline) == 0 || ::poll(&p, 1, MsLeft(deadline)) < 0) return false;
    }
    return true;
}

std::optional<std::string> BotProcess::Receive(int timeoutMs, std::string& why) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (!lines_.empty()) {
            std::string line = std::move(lines_.front());
            lines_.erase(lines_.begin());
            return line;
        }
        if (fromBot_ < 0) {
            why = "the bot has ended";
            return std::nullopt;
        }
        pollfd p{fromBot_, POLLIN, 0};
        int ready = ::poll(&p, 1, MsLeft(deadline));
        if (ready == 0) {
            why = "the bot did not answer within " + std::to_string(timeoutMs) + " ms";
            return std::nullopt;
        }
        if (ready < 0 && errno == EINTR) continue;
        char buffer[4096];
        ssize_t n = ::read(fromBot_, buffer, sizeof buffer);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) {
            ::close(fromBot_);
            fromBot_ = -1;
            continue;  // the lines already read come first
        }
        if (!reader_.Feed(buffer, static_cast<std::size_t>(n), lines_)) {
            why = "the bot sent a line that is too long";
            return std::nullopt;
        }
    }
}

void BotProcess::Stop() {
    if (toBot_ >= 0) ::close(toBot_);
    if (fromBot_ >= 0) ::close(fromBot_);
    toBot_ = fromBot_ = -1;
    if (pid_ <= 0) return;
    // A well-behaved bot ends when its input does.
    auto deadline = Clock::now() + std::chrono::milliseconds(300);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
}

}  // namespace zv::bridge
