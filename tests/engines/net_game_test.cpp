// The network game on loopback, in one process: a server on a free port,
// four players joining from threads, and peers that misbehave.
#include "net_game.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <set>
#include <thread>

#include "net_lines.h"

namespace zv::engine {
namespace {

struct Table {
    explicit Table(bool resident = false) {
        config.port = 0;  // any free loopback port
        config.resident = resident;
        config.seed = 77;
        config.joinTimeoutMs = 500;
        server = std::make_unique<GameServer>(config, [](const std::string&) {});
        std::string error;
        EXPECT_TRUE(server->Open(error)) << error;
        thread = std::thread([this] { exitCode = server->Run(stop); });
    }
    ~Table() {
        stop.store(true);
        if (thread.joinable()) thread.join();
    }
    ServerConfig config;
    std::unique_ptr<GameServer> server;
    std::atomic<bool> stop{false};
    std::thread thread;
    int exitCode = -1;
};

struct Outcome {
    NetStatus status = NetStatus::Lost;
    NetGameResult result;
    std::string message;
};

std::vector<Outcome> PlayFour(int port) {
    std::vector<Outcome> outcomes(4);
    std::vector<std::thread> players;
    for (int i = 0; i < 4; ++i) {
        players.emplace_back([&outcomes, port, i] {
            JoinRequest request;
            request.kind = i == 0 ? "human" : "auto";
            request.name = "p" + std::to_string(i);
            request.style.displayName = "名前" + std::to_string(i);
            Outcome& o = outcomes[static_cast<std::size_t>(i)];
            o.status = PlayNetworkGame(
                "127.0.0.1", port, request, o.result, o.message, [](const std::string&) {}, nullptr);
        });
    }
    for (auto& t : players) t.join();
    return outcomes;
}

TEST(NetGameTest, FourPlayersGetOneGameEach) {
    Table table;
    auto outcomes = PlayFour(table.server->Port());
    std::set<int> seats, places;
    int points = 0;
    for (const Outcome& o : outcomes) {
        ASSERT_EQ(o.status, NetStatus::Played) << o.message;
        seats.insert(o.result.seat);
        places.insert(o.result.mine.place);
        points += o.result.mine.points;
        EXPECT_EQ(o.result.gameNumber, 1);
        EXPECT_EQ(o.result.recordLines, outcomes[0].result.recordLines);  // everyone gets the same record
        EXPECT_EQ(o.result.recordLines.front(), "game: 1");
        EXPECT_EQ(o.result.recordLines.back(), "end: 1");
        std::set<std::string> names;
        for (const RecordSeat& seat : o.result.seats) names.insert(seat.name);
        EXPECT_EQ(names, (std::set<std::string>{"p0", "p1", "p2", "p3"}));
    }
    EXPECT_EQ(seats, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(places, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(points, 0);
    // Without -X the server ends once the game is out.
    table.thread.join();
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_EQ(table.server->GamesPlayed(), 1);
}

TEST(NetGameTest, ResidentServerPlaysAgain) {
    Table table(true);
    for (int game = 1; game <= 2; ++game) {
        auto outcomes = PlayFour(table.server->Port());
        for (const Outcome& o : outcomes) {
            ASSERT_EQ(o.status, NetStatus::Played) << o.message;
            EXPECT_EQ(o.result.gameNumber, game);
        }
    }
    EXPECT_EQ(table.server->GamesPlayed(), 2);
}

TEST(NetGameTest, MisbehavingPeersDoNotTakeSeats) {
    Table table;
    int port = table.server->Port();
    std::string error;
    // A peer that never joins is sent away; one that sends garbage gets an error.
    int silent = ConnectTcp("127.0.0.1", port, 2000, error);
    ASSERT_GE(silent, 0) << error;
    int noisy = ConnectTcp("127.0.0.1", port, 2000, error);
    ASSERT_GE(noisy, 0) << error;
    ASSERT_TRUE(SendAll(noisy, "HELLO there\nJOIN robot x\n", 1000));
    // A player that leaves before the game frees its seat.
    int leaver = ConnectTcp("127.0.0.1", port, 2000, error);
    ASSERT_TRUE(SendAll(leaver, "JOIN human leaver\n", 1000));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    CloseSocket(leaver);
    // A line that never ends is cut off.
    int flood = ConnectTcp("127.0.0.1", port, 2000, error);
    SendAll(flood, std::string(kMaxLineLength + 10, 'x'), 1000);

    auto outcomes = PlayFour(port);
    for (const Outcome& o : outcomes) EXPECT_EQ(o.status, NetStatus::Played) << o.message;
    for (const Outcome& o : outcomes)
        for (const RecordSeat& seat : o.result.seats) EXPECT_NE(seat.name, "leaver");

    std::string said;
    char buffer[512];
    for (int i = 0; i < 50 && said.find("ERROR malformed JOIN") == std::string::npos; ++i) {
        ssize_t n = ::recv(noisy, buffer, sizeof buffer, 0);
        if (n > 0)
            said.append(buffer, static_cast<std::size_t>(n));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_NE(said.find("ERROR unknown command"), std::string::npos) << said;
    EXPECT_NE(said.find("ERROR malformed JOIN"), std::string::npos) << said;
    CloseSocket(silent);
    CloseSocket(noisy);
    CloseSocket(flood);
}

TEST(NetGameTest, ClientFailuresAreReported) {
    // A port nobody listens on: bind one, note it, close it.
    std::string error;
    int fd = ListenTcp("127.0.0.1", 0, error);
    ASSERT_GE(fd, 0);
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    int port = ntohs(addr.sin_port);
    CloseSocket(fd);
    NetGameResult result;
    std::string message;
    JoinRequest request;
    request.name = "guest";
    EXPECT_EQ(PlayNetworkGame(
                  "127.0.0.1", port, request, result, message, [](const std::string&) {}, nullptr),
              NetStatus::ConnectFailed);
    EXPECT_NE(message.find("cannot connect"), std::string::npos) << message;

    // Something that is not a game server.
    int other = ListenTcp("127.0.0.1", 0, error);
    ::getsockname(other, reinterpret_cast<sockaddr*>(&addr), &len);
    std::thread fake([other] {
        pollfd p{other, POLLIN, 0};
        ::poll(&p, 1, 5000);
        int c = ::accept(other, nullptr, nullptr);
        SendAll(c, "SSH-2.0-whatever\n", 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        CloseSocket(c);
    });
    EXPECT_EQ(
        PlayNetworkGame(
            "127.0.0.1", ntohs(addr.sin_port), request, result, message, [](const std::string&) {}, nullptr),
        NetStatus::Refused);
    EXPECT_NE(message.find("not a game server"), std::string::npos) << message;
    fake.join();
    CloseSocket(other);
}

TEST(NetGameTest, JoinAndResultWordsRoundTrip) {
    JoinRequest request;
    request.kind = "auto";
    request.name = "_todo";
    request.style.displayName = "ト ド";
    request.style.reach = 900;
    request.style.tsuyoki = -20;
    JoinRequest back;
    ASSERT_TRUE(ParseJoinLine(JoinLine(request), back));
    EXPECT_EQ(back.kind, "auto");
    EXPECT_EQ(back.name, "_todo");
    EXPECT_EQ(back.style.displayName, "ト_ド");
    EXPECT_EQ(back.style.reach, 900);
    EXPECT_EQ(back.style.tsuyoki, -20);
    // Every weight travels, each pulled into its range.
    int value = 1;
    for (const WeightKey& w : WeightKeys()) request.style.*w.field = value++;
    ASSERT_TRUE(ParseJoinLine(JoinLine(request), back));
    for (const WeightKey& w : WeightKeys()) EXPECT_EQ(back.style.*w.field, request.style.*w.field) << w.key;
    ASSERT_TRUE(ParseJoinLine("JOIN auto x number=5000 deep=-7000 kokushi=x", back));
    EXPECT_EQ(back.style.number, 1000);
    EXPECT_EQ(back.style.deep, -7000);
    EXPECT_EQ(back.style.kokushi, players::Weights{}.kokushi);
    EXPECT_FALSE(ParseJoinLine("JOIN robot x", back));
    EXPECT_FALSE(ParseJoinLine("JOIN human", back));

    PlayerStats stats;
    EXPECT_TRUE(ParseResultWords("2 -5 1 8 2 3 1000 1 2000 1 3900 1", stats));
    EXPECT_EQ(stats.place, 2);
    EXPECT_EQ(stats.dealInPoints, 3900);
    EXPECT_FALSE(ParseResultWords("5 -5 1 8 2 3 1000 1 2000 1 3900 1", stats));  // place 5
    EXPECT_FALSE(ParseResultWords("2 -5 1 8 2 3 1000 1 2000 1 3900", stats));
    EXPECT_FALSE(ParseResultWords("2 -5 1 8 2 3 1000 1 2000 1 3900 x", stats));
    EXPECT_EQ(stats.place, 2);  // a rejected line changes nothing
    EXPECT_TRUE(ParseYakuWord(std::string(59, '0') + "3", stats));
    EXPECT_EQ(stats.yaku[59], 3);
    EXPECT_FALSE(ParseYakuWord(std::string(59, '0'), stats));
    EXPECT_FALSE(ParseYakuWord(std::string(59, '0') + "a", stats));
}

}  // namespace
}  // namespace zv::engine
