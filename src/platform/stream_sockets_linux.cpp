#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/stream_sockets.h"

namespace zv {
namespace {

StreamSockets* g_override = nullptr;

bool MakeNonBlocking(int fd) {
    int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

void SendAtOnce(int fd) {
    int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

std::string Reason(int error) { return std::strerror(error); }

// Waits for a non-blocking connect on `fd` to end. Empty when connected,
// else why not.
std::string FinishConnect(int fd, std::chrono::milliseconds limit) {
    pollfd waiting{fd, POLLOUT, 0};
    int ready = ::poll(&waiting, 1, static_cast<int>(limit.count()));
    if (ready <= 0) return "no answer within " + std::to_string(limit.count() / 1000) + " s";
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    return error == 0 ? std::string() : Reason(error);
}

}  // namespace

int LinuxStreamSockets::Listen(const std::string& address, int port, std::string& error) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1) {
        error = "not an IPv4 address: " + address;
        return -1;
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = "socket: " + Reason(errno);
        return -1;
    }
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        error = "cannot listen on " + address + ":" + std::to_string(port) + " (" + Reason(errno) + ")";
        ::close(fd);
        return -1;
    }
    if (::listen(fd, 16) != 0 || !MakeNonBlocking(fd)) {
        error = "listen: " + Reason(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

int LinuxStreamSockets::LocalPort(int socket) {
    sockaddr_in addr{};
    socklen_t length = sizeof addr;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&addr), &length) != 0) return 0;
    return ntohs(addr.sin_port);
}

int LinuxStreamSockets::Accept(int listener, std::string& peerHost, int& peerPort) {
    sockaddr_in addr{};
    socklen_t length = sizeof addr;
    int fd = ::accept4(listener, reinterpret_cast<sockaddr*>(&addr), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return -1;
    SendAtOnce(fd);
    char text[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text);
    peerHost = text;
    peerPort = ntohs(addr.sin_port);
    return fd;
}

int LinuxStreamSockets::Connect(const std::string& host, int port, std::chrono::milliseconds limit,
                                std::string& error) {
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
        error = "socket: " + Reason(errno);
        if (fd >= 0) ::close(fd);
        ::freeaddrinfo(found);
        return -1;
    }
    rc = ::connect(fd, found->ai_addr, found->ai_addrlen);
    const int connectError = errno;
    ::freeaddrinfo(found);
    std::string why;
    if (rc != 0) why = connectError == EINPROGRESS ? FinishConnect(fd, limit) : Reason(connectError);
    if (!why.empty()) {
        error = "cannot connect to " + host + ":" + std::to_string(port) + " (" + why + ")";
        ::close(fd);
        return -1;
    }
    SendAtOnce(fd);
    return fd;
}

std::int64_t LinuxStreamSockets::Receive(int socket, char* buffer, std::size_t size) {
    for (;;) {
        ssize_t n = ::recv(socket, buffer, size, 0);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? kWouldBlock : -1;
    }
}

std::int64_t LinuxStreamSockets::Send(int socket, const char* data, std::size_t size) {
    for (;;) {
        // A peer gone away is an error of this call, never a signal.
        ssize_t n = ::send(socket, data, size, MSG_NOSIGNAL);
        if (n > 0 || size == 0) return n;
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : -1;
    }
}

int LinuxStreamSockets::Wait(std::vector<SocketWait>& sockets, std::chrono::milliseconds limit) {
    std::vector<pollfd> polled;
    polled.reserve(sockets.size());
    for (SocketWait& s : sockets) {
        s.readable = s.writable = s.hungUp = false;
        polled.push_back({s.socket, static_cast<short>((s.read ? POLLIN : 0) | (s.write ? POLLOUT : 0)), 0});
    }
    int ready = ::poll(polled.data(), polled.size(), static_cast<int>(std::max<long long>(limit.count(), 0)));
    if (ready < 0) return errno == EINTR ? 0 : -1;
    for (std::size_t i = 0; i < sockets.size(); ++i) {
        const short events = polled[i].revents;
        sockets[i].readable = (events & POLLIN) != 0;
        sockets[i].writable = (events & POLLOUT) != 0;
        sockets[i].hungUp = (events & (POLLHUP | POLLERR)) != 0;
    }
    return ready;
}

void LinuxStreamSockets::Close(int socket) {
    if (socket >= 0) ::close(socket);
}

StreamSockets& CurrentStreamSockets() {
    static LinuxStreamSockets real;
    return g_override != nullptr ? *g_override : real;
}

void SetStreamSockets(StreamSockets* sockets) { g_override = sockets; }

}  // namespace zv
