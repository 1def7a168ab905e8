#include "net/server_search.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(sockets.tried, shown);  // each address is shown before it is tried
}

TEST(ServerScan, OtherMaskStopsAt127) {
    LoopbackSockets sockets;
    ThreeServers servers;
    auto found = ScanForServers("127.0.0.1", "255.255.0.0", servers.high.portText(), nullptr);
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.3", "127.0.0.100"}));
    ASSERT_FALSE(sockets.tried.empty());
    EXPECT_EQ(sockets.tried.back(), "127.0.0.127");
}

TEST(ServerScan, ProgressCanStopTheScan) {
    LoopbackSockets sockets;
    ThreeServers servers;
    auto found = ScanForServers("127.0.0.1", "255.255.255.0", servers.high.portText(),
                                [](const std::string& address) { return address != "127.0.0.150"; });
    EXPECT_EQ(found, (std::vector<std::string>{"127.0.0.3", "127.0.0.100"}));
    EXPECT_EQ(sockets.tried.back(), "127.0.0.149");
}

}  // namespace
}  // namespace zv
