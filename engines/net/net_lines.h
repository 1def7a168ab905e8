#pragma once
// TCP connections carrying text lines (UTF-8, LF-terminated) for the
// network engines, on the system's stream sockets (platform/stream_sockets.h):
// non-blocking handles, waited on with StreamSockets::Wait.
#include <string>
#include <vector>

namespace zv::engine {

inline constexpr std::size_t kMaxLineLength = 4096;

// A listening socket on address:port (IPv4 dotted address), or -1 with
// `error` set.
int ListenTcp(const std::string& address, int port, std::string& error);

// Connects to host:port (IPv4) within `timeoutMs`; returns the descriptor
// (non-blocking) or -1 with `error` set.
int ConnectTcp(const std::string& host, int port, int timeoutMs, std::string& error);

// Incoming bytes split into lines (a CR before the LF is dropped). A line
// longer than kMaxLineLength is an error.
class LineReader {
public:
    // Reads what is available on fd. Returns false at end of stream or on an
    // error (`tooLong` says whether a line was too long); complete lines are
    // added to `lines`.
    bool ReadAvailable(int fd, std::vector<std::string>& lines, bool& tooLong);
    // The same for bytes already received: false when a line is too long.
    bool Feed(const char* data, std::size_t size, std::vector<std::string>& lines);

private:
    std::string buffer_;
};

// Sends all of `data` on a non-blocking fd, waiting up to `timeoutMs` in all.
bool SendAll(int fd, const std::string& data, int timeoutMs);

// Sends what it can without blocking; removes the sent bytes from `data`.
// Returns false on a broken connection.
bool SendSome(int fd, std::string& data);

void CloseSocket(int fd);

}  // namespace zv::engine
