#include "net/server_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "net/socket_helpers.h"
#include "support/loopback_sockets.h"

namespace zv {
namespace {

using test::Listener;
using test::LoopbackSockets;

TEST(SearchRange, LimitFollowsTheExactMaskText) {
    EXPECT_EQ(SearchLimit("255.255.255.0"), 255);
    EXPECT_EQ(SearchLimit("255.255.255.128"), 128);
    EXPECT_EQ(SearchLimit("255.255.0.0"), 128);
    EXPECT_EQ(SearchLimit("255.255.255.0 "), 128);
    EXPECT_EQ(SearchLimit("unknown"), 128);
}

TEST(SearchRange, PrefixEndsAtTheThirdDot) {
    EXPECT_EQ(SearchPrefix("192.0.2.17"), "192.0.2.");
    EXPECT_EQ(SearchPrefix("1.2.3.4.5"), "1.2.3.");
    EXPECT_EQ(SearchPrefix("1.2.3"), "");
    EXPECT_EQ(SearchPrefix("unknown"), "");
    EXPECT_EQ(SearchPrefix("..."), "...");
}

TEST(SearchRange, AddressesRunFrom2BelowTheLimit) {
    auto full = SearchAddresses("127.0.0.1", "255.255.255.0");
    ASSERT_EQ(full.size(), 253u);
    EXPECT_EQ(full.front(), "127.0.0.2");
    EXPECT_EQ(full.back(), "127.0.0.254");

    auto half = SearchAddresses("127.0.0.1", "255.255.0.0");
    ASSERT_EQ(half.size(), 126u);
    EXPECT_EQ(half.back(), "127.0.0.127");

    auto unknown = SearchAddresses("unknown", "unknown");
    EXPECT_EQ(unknown.front(), "2");
    EXPECT_EQ(unknown.back(), "127");
}

TEST(SearchRange, ResultMessages) {
    EXPECT_EQ(SearchResultMessage(0), "ｹﾞｰﾑｻｰﾊﾞｰは見つかりませんでした。");
    EXPECT_EQ(SearchResultMessage(3), "ｹﾞｰﾑｻｰﾊﾞｰが、3 見つかりました。");
}

TEST(SearchIdentity, MissingValuesShowAsUnknown) {
    LoopbackSockets sockets;
    auto shown = LocalSearchIdentity();
    EXPECT_EQ(shown.address, "unknown");
    EXPECT_EQ(shown.mask, "unknown");
    sockets.local = {"127.0.0.1", "255.255.255.0"};
    shown = LocalSearchIdentity();
    EXPECT_EQ(shown.address, "127.0.0.1");
    EXPECT_EQ(shown.mask, "255.255.255.0");
}

// Listeners on three loopback addresses of the /24 range, all on one port
// number, opened out of order.
struct ThreeServers {
    Listener high{"127.0.0.200"};
    Listener low{"127.0.0.3", high.port()};
    Listener mid{"127.0.0.100", high.port()};
};

TEST(ServerScan, FullMaskFindsEveryListenerInAscendingOrder) {
    LoopbackSockets sockets;
    ThreeServers servers;
    std::vector<std::string> shown;
    auto found = ScanForServers("127.0.0.1", "255.255.255.0", servers.high.portText(),
                                [&](const std::string& address) {
                                    shown.push_back(address);
                                    return true;
                                });
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.3", "127.0.0.100", "127.0.0.200"}));
    EXPECT_EQ(shown, SearchAddresses("127.0.0.1", "255.255.255.0"));
    EXPECT_EQ(sockets.TriedInOrder(), shown);  // each address shown is tried once
}

TEST(ServerScan, OtherMaskStopsAt127) {
    LoopbackSockets sockets;
    ThreeServers servers;
    auto found = ScanForServers("127.0.0.1", "255.255.0.0", servers.high.portText(), nullptr);
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.3", "127.0.0.100"}));
    ASSERT_EQ(sockets.tried.size(), 126u);
    EXPECT_EQ(sockets.TriedInOrder().back(), "127.0.0.127");
}

TEST(ServerScan, ProgressCanStopTheScan) {
    LoopbackSockets sockets;
    ThreeServers servers;
    auto found = ScanForServers("127.0.0.1", "255.255.255.0", servers.high.portText(),
                                [](const std::string& address) { return address != "127.0.0.150"; });
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.3", "127.0.0.100"}));
    // Nothing from the stopping address on is tried; what had started is
    // finished and counted.
    ASSERT_EQ(sockets.tried.size(), 148u);
    EXPECT_EQ(sockets.TriedInOrder().back(), "127.0.0.149");
}

TEST(ServerScan, HostsThatDropConnectionsAreNotServers) {
    // A listener whose queue is full drops the connection request, so the
    // test of its host runs out of time; the other hosts are still found.
    LoopbackSockets sockets;
    ThreeServers servers;
    test::FullListener dropping("127.0.0.50", servers.high.port());
    if (!dropping.Valid()) GTEST_SKIP() << "the kernel does not drop connections to a full queue here";
    auto found = ScanForServers("127.0.0.1", "255.255.255.0", servers.high.portText(), nullptr);
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.3", "127.0.0.100", "127.0.0.200"}));
}

// A sockets layer whose connects meet: each waits until a given number of
// connects are under way at once (or until it gives up on that), so a scan
// that tries one host after the other never gets past one.
class MeetingSockets : public LoopbackSockets {
public:
    explicit MeetingSockets(int meeting) : meeting_(meeting) {}

    ConnectOutcome ConnectTcp(std::uint32_t address, std::uint16_t port,
                              std::chrono::milliseconds limit) override {
        std::unique_lock lock(mutex_);
        ++underWay_;
        peak = std::max(peak, underWay_);
        if (underWay_ >= meeting_) met_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, std::chrono::seconds(5), [&] { return met_; });
        met_ = true;  // a scan that never meets is not held up again
        --underWay_;
        lock.unlock();
        return LoopbackSockets::ConnectTcp(address, port, limit);
    }

    int peak = 0;

private:
    const int meeting_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int underWay_ = 0;
    bool met_ = false;
};

TEST(ServerScan, RunsTheTestsSideBySideUpToTheBound) {
    MeetingSockets sockets(kSearchParallel);
    ThreeServers servers;
    std::vector<std::string> shown;
    std::vector<std::string> reported;
    const auto scanThread = std::this_thread::get_id();
    auto found = ScanForServers(
        "127.0.0.1", "255.255.255.0", servers.high.portText(),
        [&](const std::string& address) {
            EXPECT_EQ(std::this_thread::get_id(), scanThread);
            shown.push_back(address);
            return true;
        },
        [&](const std::string& address) {
            EXPECT_EQ(std::this_thread::get_id(), scanThread);
            reported.push_back(address);
        });
    EXPECT_EQ(sockets.peak, kSearchParallel);
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.3", "127.0.0.100", "127.0.0.200"}));
    EXPECT_EQ(reported, found);
    EXPECT_EQ(shown, SearchAddresses("127.0.0.1", "255.255.255.0"));
    EXPECT_EQ(sockets.TriedInOrder(), shown);
}

// A sockets layer that lets chosen hosts answer, and holds the answer of
// `late` back until the test of `early` has finished.
class LateAnswerSockets : public LoopbackSockets {
public:
    LateAnswerSockets(std::string late, std::string early)
        : late_(std::move(late)), early_(std::move(early)) {}

    ConnectOutcome ConnectTcp(std::uint32_t address, std::uint16_t /*port*/,
                              std::chrono::milliseconds /*limit*/) override {
        char host[INET_ADDRSTRLEN] = {};
        in_addr parsed{address};
        ::inet_ntop(AF_INET, &parsed, host, sizeof host);
        std::unique_lock lock(mutex_);
        if (host == late_) changed_.wait_for(lock, std::chrono::seconds(5), [&] { return earlyDone_; });
        if (host == early_) {
            earlyDone_ = true;
            changed_.notify_all();
        }
        bool answers = host == late_ || host == early_;
        return answers ? ConnectOutcome{}
                       : ConnectOutcome{ConnectOutcome::Stage::ConnectFailed, kWsaEconnrefused};
    }

private:
    std::string late_, early_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool earlyDone_ = false;
};

TEST(ServerScan, AnswersThatArriveOutOfOrderAreListedInAscendingOrder) {
    LateAnswerSockets sockets("127.0.0.4", "127.0.0.60");
    std::vector<std::string> reported;
    auto found = ScanForServers("127.0.0.1", "255.255.255.0", "4112", nullptr,
                                [&](const std::string& address) { reported.push_back(address); });
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.4", "127.0.0.60"}));
    EXPECT_EQ(reported, found);
}

}  // namespace
}  // namespace zv
