#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/sockets.h"

namespace zv {
namespace {

Sockets* g_override = nullptr;

// Linux errno -> WinSock error number (10000 + the BSD errno of the same name).
constexpr std::pair<int, int> kErrnoToWinSock[] = {
    {EINTR, 10004},           {EBADF, 10009},           {EACCES, 10013},        {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},          {EMFILE, 10024},        {ENFILE, 10024},
    {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},     {EALREADY, 10037},      {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
    {ENETUNREACH, 10051},     {ENETRESET, 10052},       {ECONNABORTED, 10053},  {ECONNRESET, 10054},
    {ENOBUFS, 10055},         {ENOMEM, 10055},          {EISCONN, 10056},       {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},       {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},     {ECONNREFUSED, 10061},
    {ELOOP, 10062},           {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},     {EHOSTUNREACH, 10065},
};

// Closes a descriptor when leaving scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Waits until a non-blocking connect on `fd` has finished or `limit` has
// passed. Returns the WinSock error of the attempt (0 = connected).
int FinishConnect(int fd, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() < 0) left = std::chrono::milliseconds(0);
        pollfd waiting{fd, POLLOUT, 0};
        int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return WinSockErrorFromErrno(errno);
        if (ready == 0) return kWsaEintr;  // still pending: cancelled
        // The outcome of the connect; reading it clears it, so read it once.
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
        return error == 0 ? 0 : WinSockErrorFromErrno(error);
    }
}

}  // namespace

int WinSockErrorFromErrno(int err) {
    for (const auto& [native, winsock] : kErrnoToWinSock)
        if (native == err) return winsock;
    return 0;
}

int LinuxSockets::Startup() { return 0; }

void LinuxSockets::Cleanup() {}

std::optional<std::uint32_t> LinuxSockets::LookupHost(const std::string& name) {
    if (name.empty()) return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
    std::optional<std::uint32_t> address;
    for (addrinfo* entry = found; entry != nullptr && !address; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
            address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
        }
    }
    ::freeaddrinfo(found);
    return address;
}

ConnectOutcome LinuxSockets::ConnectTcp(std::uint32_t address, std::uint16_t port,
                                        std::chrono::milliseconds limit) {
    Descriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.get() < 0) return {ConnectOutcome::Stage::SocketFailed, WinSockErrorFromErrno(errno)};

    // The time limit rests on a non-blocking connect; without it there is
    // nothing to bound the wait, so no connect is attempted.
    int flags = ::fcntl(socket.get(), F_GETFL);
    if (flags < 0 || ::fcntl(socket.get(), F_SETFL, flags | O_NONBLOCK) != 0) {
        return {ConnectOutcome::Stage::NotGuarded, 0};
    }

    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = port;
    target.sin_addr.s_addr = address;
    int error = 0;
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        error = errno == EINPROGRESS ? FinishConnect(socket.get(), limit) : WinSockErrorFromErrno(errno);
    }
    if (error != 0) return {ConnectOutcome::Stage::ConnectFailed, error};
    return {ConnectOutcome::Stage::Connected, 0};
}

ConnectOutcome LinuxSockets::ConnectSpx(const IpxAddress& /*address*/, std::chrono::milliseconds /*limit*/) {
    // The kernel has no IPX/SPX family: asking for such a socket fails. If it
    // ever succeeded there would still be no way to connect it, so the
    // outcome is the same.
    int fd = ::socket(AF_IPX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    int error = fd < 0 ? WinSockErrorFromErrno(errno) : kWsaEafnosupport;
    if (fd >= 0) ::close(fd);
    if (error == 0) error = kWsaEafnosupport;
    return {ConnectOutcome::Stage::SocketFailed, error};
}

LocalNetwork LinuxSockets::LocalIPv4() const {
    LocalNetwork local;
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) return local;
    for (ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) local.address = text;
        if (entry->ifa_netmask != nullptr && entry->ifa_netmask->sa_family == AF_INET) {
            const auto* mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask);
            if (::inet_ntop(AF_INET, &mask->sin_addr, text, sizeof text) != nullptr) local.mask = text;
        }
        break;
    }
    ::freeifaddrs(interfaces);
    return local;
}

std::string LinuxSockets::HostsFilePath(int /*osKind*/) const { return "/etc/hosts"; }

Sockets& CurrentSockets() {
    static LinuxSockets real;
    return g_override != nullptr ? *g_override : real;
}

void SetSockets(Sockets* sockets) { g_override = sockets; }

}  // namespace zv
