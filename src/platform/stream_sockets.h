#pragma once
// Stream (TCP) connections of the programs that play over the network:
// listening, accepting, connecting within a time limit, and moving bytes
// without ever blocking. A socket is known by a handle (-1: none); every
// socket is non-blocking and sends small writes at once instead of
// gathering them, since each line of a game waits for an answer.
//
// As with Sockets, the class is abstract, LinuxStreamSockets is this
// system's, and tests install a replacement with SetStreamSockets.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zv {

// Receive and Send: nothing can move now, try again when Wait says so.
inline constexpr std::int64_t kWouldBlock = -2;

// One socket Wait watches, and what it found.
struct SocketWait {
    int socket = -1;     // -1: left out
    bool read = false;   // wake when it can be read, or a connection waits to be accepted
    bool write = false;  // wake when it can be written
    bool readable = false;
    bool writable = false;
    bool hungUp = false;  // the peer closed, or the connection failed
};

class StreamSockets {
public:
    virtual ~StreamSockets() = default;

    // Listens on `address`:`port` (dotted IPv4; port 0 takes a free one).
    // The handle, or -1 with `error` set.
    virtual int Listen(const std::string& address, int port, std::string& error) = 0;
    // The port a socket is bound to; 0 when it cannot be told.
    virtual int LocalPort(int socket) = 0;
    // Takes a connection waiting on a listening socket: its handle, with the
    // peer's dotted address and port; -1 when none waits.
    virtual int Accept(int listener, std::string& peerHost, int& peerPort) = 0;
    // Connects to `host`:`port` (a name or a dotted IPv4 address) within
    // `limit`. The handle, or -1 with `error` set.
    virtual int Connect(const std::string& host, int port, std::chrono::milliseconds limit,
                        std::string& error) = 0;

    // Receives up to `size` bytes: the count, 0 at the end of the stream,
    // kWouldBlock when nothing has come yet, -1 on an error.
    virtual std::int64_t Receive(int socket, char* buffer, std::size_t size) = 0;
    // Sends up to `size` bytes: the count sent, kWouldBlock when nothing can
    // go now, -1 on a broken connection.
    virtual std::int64_t Send(int socket, const char* data, std::size_t size) = 0;
    // Waits until one of `sockets` is ready as asked, or `limit` has passed,
    // and fills in what each is ready for. The count of ready sockets (0 when
    // the time ran out or a signal came), or -1 on an error.
    virtual int Wait(std::vector<SocketWait>& sockets, std::chrono::milliseconds limit) = 0;
    virtual void Close(int socket) = 0;
};

// This system's stream sockets.
class LinuxStreamSockets : public StreamSockets {
public:
    int Listen(const std::string& address, int port, std::string& error) override;
    int LocalPort(int socket) override;
    int Accept(int listener, std::string& peerHost, int& peerPort) override;
    int Connect(const std::string& host, int port, std::chrono::milliseconds limit,
                std::string& error) override;
    std::int64_t Receive(int socket, char* buffer, std::size_t size) override;
    std::int64_t Send(int socket, const char* data, std::size_t size) override;
    int Wait(std::vector<SocketWait>& sockets, std::chrono::milliseconds limit) override;
    void Close(int socket) override;
};

// The process-wide stream sockets. Defaults to the real system.
StreamSockets& CurrentStreamSockets();
// Replaces them (tests); nullptr restores the real ones.
void SetStreamSockets(StreamSockets* sockets);

}  // namespace zv
