#include "net/socket_helpers.h"

#include <cerrno>
#include <chrono>

#include <gtest/gtest.h>

#include "support/loopback_sockets.h"
#include "support/recording_dialogs.h"

namespace zv {
namespace {

using test::ClosedPort;
using test::FullListener;
using test::Listener;
using test::LoopbackSockets;

class SocketHelpers : public ::testing::Test {
protected:
    void SetUp() override { SetLastSocketError(0); }
    LoopbackSockets sockets;
};

TEST_F(SocketHelpers, ListeningPortConnectsAndKeepsTheLastError) {
    Listener listener;
    SetLastSocketError(10060);
    EXPECT_EQ(TcpConnectTest("127.0.0.1", listener.portText()), kConnected);
    EXPECT_EQ(TcpConnectTest("localhost", listener.portText()), kConnected);
    EXPECT_EQ(LastSocketError(), 10060);  // success leaves it alone
    // A dotted address is used as it is, without a lookup.
    EXPECT_EQ(sockets.lookups, std::vector<std::string>{"localhost"});
}

TEST_F(SocketHelpers, PortTextIsReadLikeAnIntegerWord) {
    Listener listener;
    EXPECT_EQ(TcpConnectTest("127.0.0.1", listener.portText() + "xyz"), kConnected);
}

TEST_F(SocketHelpers, RefusedConnectGivesCode3AndItsMessage) {
    ClosedPort closed;
    EXPECT_EQ(TcpConnectTest("localhost", closed.portText()), kConnectFailed);
    EXPECT_EQ(LastSocketError(), 10061);
    EXPECT_EQ(SocketErrorText(), "The attempt to connect was forcefully rejected.");
}

TEST_F(SocketHelpers, UnresolvableNameGivesCode1AndAnEmptyMessage) {
    SetLastSocketError(10061);
    EXPECT_EQ(TcpConnectTest("nonexistent.invalid", "4112"), kHostNotFound);
    EXPECT_EQ(LastSocketError(), 0);
    EXPECT_EQ(SocketErrorText(), "");
    EXPECT_EQ(TcpConnectTest("", "4112"), kHostNotFound);
    EXPECT_EQ(TcpConnectTest(std::string("127.0.0.1\0x", 11), "4112"), kHostNotFound);
    EXPECT_TRUE(sockets.tried.empty());
}

TEST_F(SocketHelpers, HangingConnectIsGivenUpAfterTheTimeLimit) {
    FullListener full;
    if (!full.Valid()) GTEST_SKIP() << "the kernel answers connects to a full listener at once";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(TcpConnectTest("127.0.0.1", full.portText()), kConnectFailed);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(LastSocketError(), 10004);
    EXPECT_EQ(SocketErrorText(), "The (blocking) call was canceled using WSACancelBlockingCall. ");
    EXPECT_GE(took, std::chrono::milliseconds(150));
    EXPECT_LT(took, std::chrono::seconds(3));
}

TEST_F(SocketHelpers, SpxIsNotAvailableAndFailsAtTheSocket) {
    SetLastSocketError(0);
    EXPECT_EQ(SpxConnectTest("000000000000", "2FFF"), kNoSocket);
    EXPECT_EQ(LastSocketError(), 10047);
    EXPECT_EQ(SocketErrorText(), "Addresses in the specified family cannot be used with this socket.");
}

TEST_F(SocketHelpers, StartupFailureShowsTheErrorDialog) {
    RecordingDialogs dialogs;
    EXPECT_TRUE(SocketStartup(dialogs));
    EXPECT_TRUE(dialogs.calls.empty());

    sockets.startupError = 10091;
    EXPECT_FALSE(SocketStartup(dialogs));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "error");
    EXPECT_EQ(
        dialogs.calls[0].texts,
        (std::vector<std::string>{
            "WSAStartup", "winsockの初期化が失敗しました。",
            "Indicates that the underlying network subsystem is not ready for network communication. "}));
    SocketCleanup();
    EXPECT_EQ(sockets.cleanups, 1);
}

TEST(SocketErrorTexts, TableKeepsTrailingBlanksAndUnknownCodesAreEmpty) {
    EXPECT_EQ(SocketErrorText(11003), "Nonrecoverable errors: FORMERR, REFUSED, NOTIMP.  ");
    EXPECT_EQ(SocketErrorText(11004), "name, no data record of requested type. ");
    EXPECT_EQ(SocketErrorText(10060), "Attempt to connect timed out without establishing a connection.");
    EXPECT_EQ(SocketErrorText(10035),
              "The socket is marked as nonblocking and the connection cannot be completed immediately. "
              "It is possible to select the socket while it is connecting by selecting it for writing.");
    EXPECT_EQ(SocketErrorText(10092),
              "The version of Windows Sockets support requested is not provided by this particular "
              "Windows Sockets implementation. ");
    EXPECT_EQ(SocketErrorText(0), "");
    EXPECT_EQ(SocketErrorText(10065), "");  // host unreachable has no text
    EXPECT_EQ(SocketErrorText(-1), "");
}

TEST(SocketErrorNumbers, ErrnoMapsToWinSockNumbering) {
    EXPECT_EQ(WinSockErrorFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(WinSockErrorFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(WinSockErrorFromErrno(EHOSTUNREACH), 10065);
    EXPECT_EQ(WinSockErrorFromErrno(ENETUNREACH), 10051);
    EXPECT_EQ(WinSockErrorFromErrno(EAFNOSUPPORT), 10047);
    EXPECT_EQ(WinSockErrorFromErrno(EADDRNOTAVAIL), 10049);
    EXPECT_EQ(WinSockErrorFromErrno(EADDRINUSE), 10048);
    EXPECT_EQ(WinSockErrorFromErrno(EMFILE), 10024);
    EXPECT_EQ(WinSockErrorFromErrno(EINTR), 10004);
    EXPECT_EQ(WinSockErrorFromErrno(0), 0);
    EXPECT_EQ(WinSockErrorFromErrno(ENOENT), 0);
}

TEST(HexBytes, DigitsOfBothCasesAndOtherCharacters) {
    std::uint8_t two[2] = {};
    HexToBytes("2fff", two, 2);
    EXPECT_EQ(two[0], 0x2F);
    EXPECT_EQ(two[1], 0xFF);

    std::uint8_t one[2] = {0, 0x55};
    HexToBytes("zz", one, 1);
    EXPECT_EQ(one[0], 0xEF);  // (255 * 16 + 255) & 0xFF
    EXPECT_EQ(one[1], 0x55);  // only `count` bytes are written

    HexToBytes("A9b", two, 2);  // a short text reads nothing beyond its end
    EXPECT_EQ(two[0], 0xA9);
    EXPECT_EQ(two[1], 0xB0);
}

TEST(HexBytes, IpxAddressLayout) {
    IpxAddress address = MakeIpxAddress("0123456789aB", "2FFF");
    IpxAddress expected = {6, 0, 0, 0, 0, 0, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0x2F, 0xFF};
    EXPECT_EQ(address, expected);
}

}  // namespace
}  // namespace zv
