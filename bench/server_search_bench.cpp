// The server search over 127.0.0.2 to 127.0.0.254 with the local address
// 127.0.0.1 and mask 255.255.255.0 put in place of the machine's: with game
// servers listening on three of those addresses (the others refuse at once),
// and with every host dropping connection requests (each test then runs out
// its time limit). Everything stays on the loopback network: the sockets
// layer refuses any other address.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cerrno>

#include <memory>
#include <string>
#include <vector>

#include "net/server_search.h"
#include "support/loopback_only.h"

namespace {

// A listening socket on a loopback address; accepted connections are closed
// between scans so the queue never fills.
class LoopbackListener {
public:
    LoopbackListener(const std::string& address, int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_addr.s_addr = ::inet_addr(address.c_str());
        where.sin_port = htons(static_cast<std::uint16_t>(port));
        int yes = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 || ::listen(fd_, 64) != 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        socklen_t size = sizeof where;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&where), &size);
        port_ = ntohs(where.sin_port);
    }
    ~LoopbackListener() {
        if (fd_ >= 0) ::close(fd_);
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool ok() const { return fd_ >= 0; }
    int port() const { return port_; }
    void Drain() const {
        for (int client; (client = ::accept(fd_, nullptr, nullptr)) >= 0;) ::close(client);
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

void BM_ServerSearchLoopback(benchmark::State& state) {
    zv::bench::LoopbackOnlySockets sockets({"127.0.0.1", "255.255.255.0"});
    LoopbackListener first("127.0.0.200", 0);
    LoopbackListener second("127.0.0.3", first.port());
    LoopbackListener third("127.0.0.100", first.port());
    if (!first.ok() || !second.ok() || !third.ok()) {
        state.SkipWithError("cannot listen on the loopback addresses");
        return;
    }
    const zv::SearchIdentity local = zv::LocalSearchIdentity();
    const std::string port = std::to_string(first.port());
    std::size_t found = 0;
    for (auto _ : state) {
        auto servers =
            zv::ScanForServers(local.address, local.mask, port, [](const std::string&) { return true; });
        found = servers.size();
        for (const LoopbackListener* listener : {&first, &second, &third}) listener->Drain();
    }
    if (found != 3) state.SkipWithError("the scan did not find the three listeners");
    state.counters["addresses"] = 253;
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_ServerSearchLoopback)->Unit(benchmark::kMillisecond)->UseRealTime();

// A listener that never accepts, with its queue of pending connections
// filled, so that the kernel drops every further connection request: a
// connect to it hangs until the caller gives up.
class DroppingListener {
public:
    DroppingListener(const std::string& address, int port) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_addr.s_addr = ::inet_addr(address.c_str());
        where.sin_port = htons(static_cast<std::uint16_t>(port));
        int yes = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
            ::listen(listener_, 0) != 0)
            return;
        socklen_t size = sizeof where;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&where), &size);
        port_ = ntohs(where.sin_port);
        // Connect until one connect hangs: the queue is then full.
        for (int i = 0; i < 8 && !dropping_; ++i) {
            int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            fillers_.push_back(filler);
            if (::connect(filler, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0) continue;
            if (errno != EINPROGRESS) break;
            pollfd waiting{filler, POLLOUT, 0};
            dropping_ = ::poll(&waiting, 1, 10) == 0;  // loopback connects complete at once
        }
    }
    ~DroppingListener() {
        for (int fd : fillers_) ::close(fd);
        if (listener_ >= 0) ::close(listener_);
    }
    DroppingListener(const DroppingListener&) = delete;
    DroppingListener& operator=(const DroppingListener&) = delete;

    bool dropping() const { return dropping_; }
    int port() const { return port_; }

private:
    int listener_ = -1;
    int port_ = 0;
    bool dropping_ = false;
    std::vector<int> fillers_;
};

void BM_ServerSearchDroppingHosts(benchmark::State& state) {
    zv::bench::LoopbackOnlySockets sockets({"127.0.0.1", "255.255.255.0"});
    std::vector<std::unique_ptr<DroppingListener>> hosts;
    int port = 0;
    for (int host = 2; host <= 254; ++host) {
        hosts.push_back(std::make_unique<DroppingListener>("127.0.0." + std::to_string(host), port));
        if (!hosts.back()->dropping()) {
            state.SkipWithError("cannot make the loopback hosts drop connection requests");
            return;
        }
        port = hosts.back()->port();
    }
    const zv::SearchIdentity local = zv::LocalSearchIdentity();
    std::size_t found = 0;
    for (auto _ : state) {
        found = zv::ScanForServers(local.address, local.mask, std::to_string(port), nullptr).size();
    }
    if (found != 0) state.SkipWithError("a dropping host was taken for a server");
    state.counters["addresses"] = 253;
    state.counters["parallel"] = zv::kSearchParallel;
}
BENCHMARK(BM_ServerSearchDroppingHosts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
