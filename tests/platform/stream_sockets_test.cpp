// The system's stream sockets over 127.0.0.1: a connection accepted and
// carrying bytes both ways, the end of a stream, and the failures a caller
// is told about.
#include "platform/stream_sockets.h"

#include <gtest/gtest.h>

#include <string>

#include "support/loopback_sockets.h"

namespace zv {
namespace {

using namespace std::chrono_literals;

// Generous: it only ends a broken test; a working one never waits this long.
constexpr auto kBrokenTestLimit = 10s;

// A listener on a free loopback port and a client connected to it.
struct LoopbackPair {
    LoopbackPair() {
        std::string error;
        listener = sockets.Listen("127.0.0.1", 0, error);
        EXPECT_GE(listener, 0) << error;
        port = sockets.LocalPort(listener);
        EXPECT_GT(port, 0);
        client = sockets.Connect("127.0.0.1", port, kBrokenTestLimit, error);
        EXPECT_GE(client, 0) << error;
        std::vector<SocketWait> waits{{listener, true, false}};
        EXPECT_EQ(sockets.Wait(waits, kBrokenTestLimit), 1);
        EXPECT_TRUE(waits[0].readable);
        server = sockets.Accept(listener, peerHost, peerPort);
        EXPECT_GE(server, 0);
    }
    ~LoopbackPair() {
        sockets.Close(client);
        sockets.Close(server);
        sockets.Close(listener);
    }
    // Everything that arrives on `socket` until `size` bytes or the end.
    std::string ReceiveUpTo(int socket, std::size_t size) {
        std::string got;
        char buffer[256];
        while (got.size() < size) {
            std::vector<SocketWait> waits{{socket, true, false}};
            if (sockets.Wait(waits, kBrokenTestLimit) <= 0) break;
            std::int64_t n = sockets.Receive(socket, buffer, sizeof buffer);
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    LinuxStreamSockets sockets;
    int listener = -1, client = -1, server = -1;
    int port = 0;
    std::string peerHost;
    int peerPort = 0;
};

TEST(StreamSocketsTest, AnAcceptedConnectionCarriesLinesBothWays) {
    LoopbackPair pair;
    EXPECT_EQ(pair.peerHost, "127.0.0.1");
    EXPECT_GT(pair.peerPort, 0);
    std::string host;
    int port = 0;
    EXPECT_EQ(pair.sockets.Accept(pair.listener, host, port), -1);  // nobody else waits

    char buffer[16];
    EXPECT_EQ(pair.sockets.Receive(pair.server, buffer, sizeof buffer), kWouldBlock);
    const std::string hello = "JOIN 1 human a\n";
    EXPECT_EQ(pair.sockets.Send(pair.client, hello.data(), hello.size()),
              static_cast<std::int64_t>(hello.size()));
    EXPECT_EQ(pair.ReceiveUpTo(pair.server, hello.size()), hello);
    const std::string answer = "WELCOME 0\n";
    EXPECT_EQ(pair.sockets.Send(pair.server, answer.data(), answer.size()),
              static_cast<std::int64_t>(answer.size()));
    EXPECT_EQ(pair.ReceiveUpTo(pair.client, answer.size()), answer);

    std::vector<SocketWait> waits{{pair.client, false, true}};
    EXPECT_EQ(pair.sockets.Wait(waits, kBrokenTestLimit), 1);
    EXPECT_TRUE(waits[0].writable);
}

TEST(StreamSocketsTest, APeerThatClosesEndsTheStreamAfterItsLastBytes) {
    LoopbackPair pair;
    const std::string last = "QUIT\n";
    pair.sockets.Send(pair.client, last.data(), last.size());
    pair.sockets.Close(pair.client);
    pair.client = -1;
    EXPECT_EQ(pair.ReceiveUpTo(pair.server, 1000), last);
    std::vector<SocketWait> waits{{pair.server, true, false}};
    EXPECT_EQ(pair.sockets.Wait(waits, kBrokenTestLimit), 1);
    char buffer[16];
    EXPECT_EQ(pair.sockets.Receive(pair.server, buffer, sizeof buffer), 0);
}

TEST(StreamSocketsTest, FailuresSayWhatFailed) {
    LinuxStreamSockets sockets;
    std::string error;
    EXPECT_EQ(sockets.Listen("localhost", 0, error), -1);
    EXPECT_EQ(error, "not an IPv4 address: localhost");

    test::ClosedPort closed;
    EXPECT_EQ(sockets.Connect("127.0.0.1", closed.port(), kBrokenTestLimit, error), -1);
    EXPECT_EQ(error.rfind("cannot connect to 127.0.0.1:" + closed.portText() + " (", 0), 0u) << error;

    // A listener whose queue is full lets a connect hang: a limit of nothing
    // gives it up at once.
    test::FullListener full;
    if (!full.Valid()) GTEST_SKIP() << "the system never let a connect hang";
    EXPECT_EQ(sockets.Connect("127.0.0.1", full.port(), 0ms, error), -1);
    EXPECT_EQ(error, "cannot connect to 127.0.0.1:" + full.portText() + " (no answer within 0 s)");
}

}  // namespace
}  // namespace zv
