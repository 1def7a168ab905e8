#include "net/server_check.h"

#include <gtest/gtest.h>

#include "config/launcher_settings.h"
#include "net/socket_helpers.h"
#include "support/loopback_sockets.h"

namespace zv {
namespace {

TEST(ServerCheck, AddressLineFollowsTheProtocol) {
    LauncherSettings settings;
    EXPECT_EQ(PingAddressLine(settings), "TCP/IP localhost 4112");
    settings.protocol = "IPX/SPX";
    settings.nodenum = "0123456789AB";
    EXPECT_EQ(PingAddressLine(settings), "IPX/SPX 0123456789AB 2FFF");
    settings.protocol = "NetBEUI";  // anything but TCP/IP is taken as IPX/SPX
    EXPECT_EQ(PingAddressLine(settings), "IPX/SPX 0123456789AB 2FFF");
}

TEST(ServerCheck, FailureLinesByResult) {
    EXPECT_EQ(PingFailureLine(1), "ホストアドレスを得ることができません (gethostbyname)");
    EXPECT_EQ(PingFailureLine(2), "ソケットを得ることができません (socket)");
    EXPECT_EQ(PingFailureLine(3), "接続に失敗しました (connect)");
    EXPECT_EQ(PingFailureLine(4), "winsock 不明なエラーです");
    EXPECT_EQ(PingFailureLine(-1), "winsock 不明なエラーです");
}

TEST(ServerCheck, RunsTheTestOfTheProtocol) {
    test::LoopbackSockets sockets;
    test::Listener listener;
    LauncherSettings settings;
    settings.port = listener.portText();
    EXPECT_EQ(RunServerCheck(settings), kConnected);
    settings.protocol = "TCP/IP ";  // not exactly TCP/IP: the IPX/SPX test
    EXPECT_EQ(RunServerCheck(settings), kNoSocket);
}

}  // namespace
}  // namespace zv
