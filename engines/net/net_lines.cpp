#include "net/net_lines.h"

#include <chrono>

#include "platform/stream_sockets.h"

namespace zv::engine {

int ListenTcp(const std::string& address, int port, std::string& error) {
    return CurrentStreamSockets().Listen(address, port, error);
}

int ConnectTcp(const std::string& host, int port, int timeoutMs, std::string& error) {
    return CurrentStreamSockets().Connect(host, port, std::chrono::milliseconds(timeoutMs), error);
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
        std::int64_t n = CurrentStreamSockets().Receive(fd, chunk, sizeof chunk);
        if (n > 0) {
            if (!Feed(chunk, static_cast<std::size_t>(n), lines)) {
                tooLong = true;
                return false;
            }
            continue;
        }
        return n == kWouldBlock;
    }
    return true;
}

bool SendSome(int fd, std::string& data) {
    while (!data.empty()) {
        std::int64_t n = CurrentStreamSockets().Send(fd, data.data(), data.size());
        if (n == kWouldBlock) return true;
        if (n <= 0) return false;
        data.erase(0, static_cast<std::size_t>(n));
    }
    return true;
}

bool SendAll(int fd, const std::string& data, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    std::string rest = data;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!rest.empty()) {
        if (!SendSome(fd, rest)) return false;
        if (rest.empty()) break;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        std::vector<SocketWait> waits{{fd, false, true}};
        if (CurrentStreamSockets().Wait(waits, left) < 0) return false;
    }
    return true;
}

void CloseSocket(int fd) { CurrentStreamSockets().Close(fd); }

}  // namespace zv::engine
