#pragma once
// Installs a sockets layer that ends the benchmark at once when asked to
// connect anywhere outside 127.0.0.0/8, and that reports the local address
// and mask the benchmark chose. Benchmarks reach nothing but loopback.
#include <arpa/inet.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "platform/sockets.h"

namespace zv::bench {

class LoopbackOnlySockets : public LinuxSockets {
public:
    explicit LoopbackOnlySockets(LocalNetwork local) : local_(std::move(local)) { SetSockets(this); }
    ~LoopbackOnlySockets() override { SetSockets(nullptr); }
    LoopbackOnlySockets(const LoopbackOnlySockets&) = delete;
    LoopbackOnlySockets& operator=(const LoopbackOnlySockets&) = delete;

    ConnectOutcome ConnectTcp(std::uint32_t address, std::uint16_t port,
                              std::chrono::milliseconds limit) override {
        if ((ntohl(address) >> 24) != 127) {
            std::fprintf(stderr, "refusing a connect outside the loopback network\n");
            std::abort();
        }
        return LinuxSockets::ConnectTcp(address, port, limit);
    }
    // Dotted addresses only: no name service is ever asked.
    std::optional<std::uint32_t> LookupHost(const std::string& name) override {
        in_addr parsed{};
        if (::inet_aton(name.c_str(), &parsed) == 0) return std::nullopt;
        return parsed.s_addr;
    }
    LocalNetwork LocalIPv4() const override { return local_; }

private:
    LocalNetwork local_;
};

}  // namespace zv::bench
