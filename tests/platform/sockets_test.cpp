#include "platform/sockets.h"

#include <arpa/inet.h>

#include <gtest/gtest.h>

namespace zv {
namespace {

// These ask the running system only about itself; nothing is sent anywhere.
TEST(SystemSockets, LocalAddressIsNeverALoopbackOne) {
    LocalNetwork local = LinuxSockets().LocalIPv4();
    if (!local.address) GTEST_SKIP() << "no network interface besides loopback";
    EXPECT_NE(local.address->rfind("127.", 0), 0u) << *local.address;
    EXPECT_NE(::inet_addr(local.address->c_str()), INADDR_NONE);
    ASSERT_TRUE(local.mask.has_value());
    EXPECT_NE(::inet_addr(local.mask->c_str()), 0u);
}

TEST(SystemSockets, LocalhostResolvesFromTheHostsFile) {
    auto address = LinuxSockets().LookupHost("localhost");
    ASSERT_TRUE(address.has_value());
    EXPECT_EQ(ntohl(*address) >> 24, 127u);
    EXPECT_FALSE(LinuxSockets().LookupHost("").has_value());
}

TEST(SystemSockets, StartupAndCleanupNeedNothing) {
    LinuxSockets sockets;
    EXPECT_EQ(sockets.Startup(), 0);
    sockets.Cleanup();
    EXPECT_EQ(&CurrentSockets(), &CurrentSockets());
}

}  // namespace
}  // namespace zv
