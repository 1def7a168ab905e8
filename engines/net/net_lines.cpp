#include "net/net_lines.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace zv::engine {
namespace {

bool MakeNonBlocking(int fd) {
    int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

void NoDelay(int fd) {
    int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

int ListenTcp(const std::string& address, int port, std::string& error) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1) {
        error = "not an IPv4 address: " + address;
        return -1;
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        error =
            "cannot listen on " + address + ":" + std::to_string(port) + " (" + std::strerror(errno) + ")";
        ::close(fd);
        return -1;
    }
    if (::listen(fd, 16) != 0 || !MakeNonBlocking(fd)) {
        error = std::string("listen: ") + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

int ConnectTcp(const std::string& host, int port, int timeoutMs, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (rc != 0 || found == nullptr) {
        error = "cannot find the host " + host + " (" + ::gai_strerror(rc) + ")";
        return -1;
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || !MakeNonBlocking(fd)) {
        error = std::string("socket: ") + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        ::freeaddrinfo(found);
        return -1;
    }
    rc = ::connect(fd, found->ai_addr, found->ai_addrlen);
    ::freeaddrinfo(found);
    std::string where = host + ":" + std::to_string(port);
    if (rc != 0 && errno != EINPROGRESS) {
        error = "cannot connect to " + where + " (" + std::strerror(errno) + ")";
        ::close(fd);
        return -1;
    }
    if (rc != 0) {
        pollfd p{fd, POLLOUT, 0};
        int ready = ::poll(&p, 1, timeoutMs);
        int soError = 0;
        socklen_t len = sizeof soError;
        if (ready <= 0) {
            error = "cannot connect to " + where + " (no answer within " + std::to_string(timeoutMs / 1000) +
                    " s)";
            ::close(fd);
            return -1;
        }
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
        if (soError != 0) {
            error = "cannot connect to " + where + " (" + std::strerror(soError) + ")";
            ::close(fd);
            return -1;
        }
    }
    NoDelay(fd);
    return fd;
}

bool LineReader::Feed(const char* data, std::size_t size, std::vector<std::string>& lines) {
    buffer_.append(data, size);
    std::size_t start = 0;
    for (std::size_t nl; (nl = buffer_.find('\n', start)) != std::string::npos; start = nl + 1) {
        if (nl - start > kMaxLineLength) {
            buffer_.clear();
            return false;
        }
        std::string line = buffer_.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    buffer_.erase(0, start);
    if (buffer_.size() > kMaxLineLength) {
        buffer_.clear();
        return false;
    }
    return true;
}

bool LineReader::ReadAvailable(int fd, std::vector<std::string>& lines, bool& tooLong) {
    tooLong = false;
    char chunk[4096];
    // At most 64 KiB per call, so that one busy peer cannot hold the caller.
    for (int round = 0; round < 16; ++round) {
        ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            if (!Feed(chunk, static_cast<std::size_t>(n), lines)) {
                tooLong = true;
                return false;
            }
            continue;
        }
        if (n == 0) return false;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
    return true;
}

bool SendSome(int fd, std::string& data) {
    while (!data.empty()) {
        ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
    return true;
}

bool SendAll(int fd, const std::string& data, int timeoutMs) {
    std::string rest = data;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!rest.empty()) {
        if (!SendSome(fd, rest)) return false;
        if (rest.empty()) break;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
    }
    return true;
}

void CloseSocket(int fd) {
    if (fd >= 0) ::close(fd);
}

}  // namespace zv::engine
