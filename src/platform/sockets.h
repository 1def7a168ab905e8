#pragma once
// The operating system's side of the connection tests: socket start-up, name
// lookup, the local network identity, and a connect bounded by a time limit.
// The launcher never sends or receives data; a test opens a connection and
// closes it again at once.
//
// As with Platform, the class is abstract, LinuxSockets is this system's,
// and tests install a replacement with SetSockets (for instance to give the server
// search a local address of their choosing).
//
// Error codes are given in WinSock numbering (10000 + the BSD errno), which
// is what the launcher's messages are keyed by, whatever the system.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace zv {

// WinSock error numbers the layer produces itself.
inline constexpr int kWsaEintr = 10004;         // call cancelled (time limit reached)
inline constexpr int kWsaEafnosupport = 10047;  // address family not supported
inline constexpr int kWsaEconnrefused = 10061;

// How a connect attempt ended.
struct ConnectOutcome {
    enum class Stage {
        Connected,     // connected, then closed
        SocketFailed,  // no socket could be created; `error` says why
        NotGuarded,    // the time limit could not be put in place; no connect attempted
        ConnectFailed  // the connect failed or ran out of time; `error` says why
    };
    Stage stage = Stage::Connected;
    int error = 0;  // WinSock numbering
};

// An IPX/SPX address in the 14-byte WinSock layout (family, network number,
// node number, socket number).
using IpxAddress = std::array<std::uint8_t, 14>;

// The local TCP/IP identity; a value the system cannot give is missing.
struct LocalNetwork {
    std::optional<std::string> address;  // dotted IPv4 text
    std::optional<std::string> mask;     // dotted IPv4 text
};

class Sockets {
public:
    virtual ~Sockets() = default;

    // Starts the socket library (version 1.1): 0, or a WinSock error code.
    // Linux needs no start-up and always answers 0.
    virtual int Startup() = 0;
    // Stops it again; nothing to do on Linux.
    virtual void Cleanup() = 0;

    // Looks a host name up; the first IPv4 address in network byte order, or
    // nothing when the name cannot be resolved.
    virtual std::optional<std::uint32_t> LookupHost(const std::string& name) = 0;

    // Connects a stream socket to `address`:`port` (both in network byte
    // order) and closes it at once. A connect still pending after `limit` is
    // given up and reported as ConnectFailed with kWsaEintr.
    virtual ConnectOutcome ConnectTcp(std::uint32_t address, std::uint16_t port,
                                      std::chrono::milliseconds limit) = 0;

    // The same for an SPX connection. Linux has no IPX/SPX: the socket cannot
    // be created, and the outcome says so.
    virtual ConnectOutcome ConnectSpx(const IpxAddress& address, std::chrono::milliseconds limit) = 0;

    // This computer's address and mask on its network: on Linux those of the
    // first IPv4 interface that is up and not a loopback one.
    virtual LocalNetwork LocalIPv4() const = 0;

    // Where the system keeps its hosts file. `osKind` (95 for the Windows 95
    // family, else 0) decides the folder on Windows; Linux has one place.
    virtual std::string HostsFilePath(int osKind) const = 0;
};

// This system's sockets.
class LinuxSockets : public Sockets {
public:
    int Startup() override;
    void Cleanup() override;
    std::optional<std::uint32_t> LookupHost(const std::string& name) override;
    ConnectOutcome ConnectTcp(std::uint32_t address, std::uint16_t port,
                              std::chrono::milliseconds limit) override;
    ConnectOutcome ConnectSpx(const IpxAddress& address, std::chrono::milliseconds limit) override;
    LocalNetwork LocalIPv4() const override;
    std::string HostsFilePath(int osKind) const override;
};

// The process-wide sockets layer. Defaults to the real system.
Sockets& CurrentSockets();

// Replaces the process-wide sockets layer (tests); nullptr restores the real one.
void SetSockets(Sockets* sockets);

// Turns a Linux errno value into the WinSock error number of the same
// meaning; 0 for values that have none.
int WinSockErrorFromErrno(int err);

}  // namespace zv
