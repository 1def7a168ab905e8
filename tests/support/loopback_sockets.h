#pragma once
// Test helpers for the connection tests, which must reach nothing but the
// loopback network:
// - LoopbackSockets installs itself as the sockets layer for its lifetime; it
//   refuses (and fails the test on) any connect outside 127.0.0.0/8, resolves
//   names from its own table instead of asking a name server, and reports the
//   local address and mask the test chose;
// - Listener opens a listening TCP port on a loopback address;
// - ClosedPort holds a port that is bound but not listening, so connects to
//   it are refused.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sockets.h"

namespace zv::test {

inline bool IsLoopback(std::uint32_t networkOrder) { return (ntohl(networkOrder) >> 24) == 127; }

class LoopbackSockets : public LinuxSockets {
public:
    LoopbackSockets() { SetSockets(this); }
    ~LoopbackSockets() override { SetSockets(nullptr); }

    int Startup() override {
        ++startups;
        return startupError;
    }
    void Cleanup() override { ++cleanups; }

    std::optional<std::uint32_t> LookupHost(const std::string& name) override {
        lookups.push_back(name);
        auto found = names.find(name);
        if (found == names.end()) return std::nullopt;
        return ::inet_addr(found->second.c_str());
    }

    // Called from several threads at once by the server search.
    ConnectOutcome ConnectTcp(std::uint32_t address, std::uint16_t port,
                              std::chrono::milliseconds limit) override {
        char text[INET_ADDRSTRLEN] = {};
        in_addr parsed{address};
        ::inet_ntop(AF_INET, &parsed, text, sizeof text);
        {
            std::lock_guard lock(triedMutex);
            tried.push_back(text);
        }
        if (!IsLoopback(address)) {
            ADD_FAILURE() << "connect outside the loopback network: " << text;
            return {ConnectOutcome::Stage::ConnectFailed, kWsaEconnrefused};
        }
        return LinuxSockets::ConnectTcp(address, port, limit);
    }

    // The addresses tried, in ascending host order (tests that run side by
    // side are asked for in no fixed order).
    std::vector<std::string> TriedInOrder() const {
        std::vector<std::string> sorted = tried;
        std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return ntohl(::inet_addr(a.c_str())) < ntohl(::inet_addr(b.c_str()));
        });
        return sorted;
    }

    LocalNetwork LocalIPv4() const override { return local; }
    std::string HostsFilePath(int osKind) const override {
        lastOsKind = osKind;
        return hostsPath;
    }

    int startupError = 0;
    int startups = 0;
    int cleanups = 0;
    std::map<std::string, std::string> names{{"localhost", "127.0.0.1"}};
    std::vector<std::string> lookups;
    std::vector<std::string> tried;  // every address a connect was asked for, as asked
    std::mutex triedMutex;
    LocalNetwork local;
    std::string hostsPath = "/nonexistent/hosts";
    mutable int lastOsKind = -1;
};

// A TCP socket bound to a loopback address and the given port (0: an unused
// one).
class BoundSocket {
public:
    explicit BoundSocket(const std::string& address = "127.0.0.1", int port = 0) : address_(address) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_addr.s_addr = ::inet_addr(address.c_str());
        where.sin_port = htons(static_cast<std::uint16_t>(port));
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) {
            ADD_FAILURE() << "cannot bind to " << address;
            return;
        }
        socklen_t size = sizeof where;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&where), &size);
        port_ = ntohs(where.sin_port);
    }
    ~BoundSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;

    int fd() const { return fd_; }
    int port() const { return port_; }
    std::string portText() const { return std::to_string(port_); }
    const std::string& address() const { return address_; }

private:
    std::string address_;
    int fd_ = -1;
    int port_ = 0;
};

// Bound but not listening: a connect to it is refused.
using ClosedPort = BoundSocket;

// Listening, with room for `backlog` pending connections.
class Listener : public BoundSocket {
public:
    explicit Listener(const std::string& address = "127.0.0.1", int port = 0, int backlog = 16)
        : BoundSocket(address, port) {
        if (fd() >= 0 && ::listen(fd(), backlog) != 0) ADD_FAILURE() << "cannot listen on " << address;
    }
};

// A listener whose queue of pending connections is full, so that the kernel
// drops further connection requests and a connect to it hangs. Valid() is
// false when the kernel never let a connect hang.
class FullListener : public Listener {
public:
    explicit FullListener(const std::string& address = "127.0.0.1", int portNumber = 0)
        : Listener(address, portNumber, 0) {
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_addr.s_addr = ::inet_addr(address.c_str());
        where.sin_port = htons(static_cast<std::uint16_t>(port()));
        for (int i = 0; i < 16 && !valid_; ++i) {
            int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            fillers_.push_back(fd);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0) continue;
            if (errno != EINPROGRESS) break;
            pollfd waiting{fd, POLLOUT, 0};
            valid_ = ::poll(&waiting, 1, 150) == 0;  // this one hangs: the queue is full
        }
    }
    ~FullListener() {
        for (int fd : fillers_)
            if (fd >= 0) ::close(fd);
    }
    bool Valid() const { return valid_; }

private:
    std::vector<int> fillers_;
    bool valid_ = false;
};

}  // namespace zv::test
