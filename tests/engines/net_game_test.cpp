// The network game on loopback, in one process: a server on a free port,
// players joining from threads, raw connections that record every byte the
// server sends them, and peers that misbehave.
#include "net/net_game.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "base/utf8_text.h"
#include "config/file_io.h"
#include "net/net_client.h"
#include "net/net_lines.h"
#include "net/seat_token.h"
#include "support/fault_env.h"
#include "support/temp_dir.h"

namespace zv::engine {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        if (end > start) words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

// What the table looked like at the end of a hand (the server's truth).
struct HandTruth {
    std::array<std::vector<riichi::TileId>, 4> concealed;
    std::set<riichi::TileId> open;  // rivers, melds and dora indicators
};

// The server's clock: it stands still until a test moves it on, so no
// deadline passes unless the test says so.
struct FakeClock {
    std::chrono::steady_clock::time_point Now() const {
        return std::chrono::steady_clock::time_point{} + 1000s + std::chrono::milliseconds(ms.load());
    }
    void Advance(int by) { ms += by; }
    std::atomic<std::int64_t> ms{0};
};

struct Table {
    explicit Table(bool resident = false, std::function<void(ServerConfig&)> adjust = {}) {
        config.port = 0;  // any free loopback port
        config.resident = resident;
        config.seed = 77;
        config.joinTimeoutMs = 500;
        // The clock stands still, so a whole game falls into one flood
        // window: allow a game's worth of lines.
        config.maxLinesPerSecond = 1000;
        config.now = [this] { return clock.Now(); };
        config.rules.eastOnly = true;
        config.onHandOver = [this](const riichi::Hand& hand) {
            HandTruth truth;
            for (int s = 0; s < 4; ++s) {
                truth.concealed[static_cast<std::size_t>(s)] = hand.Concealed(s);
                for (const riichi::RiverTile& r : hand.River(s)) truth.open.insert(r.tile);
                for (const riichi::Meld& m : hand.Melds(s))
                    for (int i = 0; i < m.size; ++i) truth.open.insert(m.tiles[static_cast<std::size_t>(i)]);
            }
            for (riichi::TileId t : hand.WallState().DoraIndicators()) truth.open.insert(t);
            std::lock_guard<std::mutex> lock(mutex);
            hands.push_back(truth);
        };
        if (adjust) adjust(config);
        server = std::make_unique<GameServer>(config, [this](const std::string& text) {
            std::lock_guard<std::mutex> lock(mutex);
            log.push_back(text);
            logged.notify_all();
        });
        std::string error;
        EXPECT_TRUE(server->Open(error)) << error;
        thread = std::thread([this] { exitCode = server->Run(stop); });
    }
    ~Table() {
        stop.store(true);
        if (thread.joinable()) thread.join();
    }
    // Whether one line of the log holds `part` (and `also`).
    bool Logged(const std::string& part, const std::string& also = {}) {
        std::lock_guard<std::mutex> lock(mutex);
        for (const std::string& line : log)
            if (line.find(part) != std::string::npos && line.find(also) != std::string::npos) return true;
        return false;
    }
    // Waits until the server logs `part` (the time limit only ends a broken test).
    bool WaitLogged(const std::string& part) {
        std::unique_lock<std::mutex> lock(mutex);
        return logged.wait_for(lock, 30s, [&] {
            return std::any_of(log.begin(), log.end(),
                               [&](const std::string& line) { return line.find(part) != std::string::npos; });
        });
    }
    FakeClock clock;
    ServerConfig config;
    std::unique_ptr<GameServer> server;
    std::atomic<bool> stop{false};
    std::thread thread;
    int exitCode = -1;
    std::mutex mutex;
    std::condition_variable logged;
    std::vector<std::string> log;
    std::vector<HandTruth> hands;
};

struct Outcome {
    NetStatus status = NetStatus::Lost;
    NetGameResult result;
    std::string message;
};

JoinRequest Request(const std::string& name, const std::string& kind = "auto") {
    JoinRequest request;
    request.kind = kind;
    request.name = name;
    return request;
}

// Players that join from threads and play by their computer players.
struct Players {
    Players(int port, int count, int first = 0) : outcomes(static_cast<std::size_t>(count)) {
        for (int i = 0; i < count; ++i)
            threads.emplace_back([this, port, i, first] {
                JoinRequest request = Request("p" + std::to_string(first + i), i == 0 ? "human" : "auto");
                request.style.displayName = "名前" + std::to_string(first + i);
                Outcome& o = outcomes[static_cast<std::size_t>(i)];
                o.status = PlayNetworkGame(
                    "127.0.0.1", port, request, o.result, o.message, [](const std::string&) {}, nullptr);
            });
    }
    std::vector<Outcome>& Wait() {
        for (auto& t : threads) t.join();
        threads.clear();
        return outcomes;
    }
    ~Players() {
        for (auto& t : threads) t.join();
    }
    std::vector<Outcome> outcomes;
    std::vector<std::thread> threads;
};

// A connection to the server from the loopback address `source`.
int ConnectFrom(const std::string& source, int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in from{}, to{};
    from.sin_family = to.sin_family = AF_INET;
    ::inet_pton(AF_INET, source.c_str(), &from.sin_addr);
    ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

// A connection that keeps every line the server sends it.
struct RawClient {
    explicit RawClient(int port, const std::string& source = {}) {
        std::string error;
        fd = source.empty() ? ConnectTcp("127.0.0.1", port, 2000, error) : ConnectFrom(source, port);
        EXPECT_GE(fd, 0) << error << source;
    }
    ~RawClient() { CloseSocket(fd); }
    void Send(const std::string& line) { EXPECT_TRUE(SendAll(fd, line + "\n", 2000)) << line; }
    // The next line, or false when the connection ends or nothing comes in time.
    bool Next(std::string& line, std::chrono::milliseconds limit = 10s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            if (read < lines.size()) {
                line = lines[read++];
                return true;
            }
            if (closed || std::chrono::steady_clock::now() > deadline) return false;
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            bool tooLong = false;
            closed = !reader.ReadAvailable(fd, lines, tooLong);
        }
    }
    // Reads until a line starting with `prefix`; false when none comes.
    bool Until(const std::string& prefix, std::string* found = nullptr,
               std::chrono::milliseconds limit = 10s) {
        std::string line;
        while (Next(line, limit))
            if (line.rfind(prefix, 0) == 0) {
                if (found != nullptr) *found = line;
                return true;
            }
        return false;
    }
    // Answers what is asked (the last action offered, "next" after a hand)
    // until the game ends; `onLine` sees every line first and may stop early.
    bool PlayToEnd(const std::function<bool(const std::string&)>& onLine = {}) {
        std::string line;
        while (Next(line)) {
            if (onLine && !onLine(line)) return false;
            auto w = Words(line);
            if (w.empty()) continue;
            if (w[0] == "ASK") Send("ACT " + w[1] + " " + w.back());
            if (w[0] == "PING") Send("PONG");
            if (w[0] == "END") return true;
        }
        return false;
    }
    int fd = -1;
    LineReader reader;
    std::vector<std::string> lines;
    std::size_t read = 0;
    bool closed = false;
};

TEST(NetGameTest, FourPlayersGetOneGameEach) {
    Table table;
    Players players(table.server->Port(), 4);
    auto& outcomes = players.Wait();
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
        // The standings agree with each player's own result.
        EXPECT_EQ(o.result.standings[static_cast<std::size_t>(o.result.seat)].place, o.result.mine.place);
        EXPECT_EQ(o.result.standings[static_cast<std::size_t>(o.result.seat)].points, o.result.mine.points);
        std::set<std::string> names;
        for (const RecordSeat& seat : o.result.seats) names.insert(seat.name);
        EXPECT_EQ(names, (std::set<std::string>{"p0", "p1", "p2", "p3"}));
    }
    EXPECT_EQ(seats, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(places, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(points, 0);
    // Every decision came from the players: nobody was late or refused.
    EXPECT_FALSE(table.Logged("in time"));
    EXPECT_FALSE(table.Logged("refused"));
    // Without -X the server ends once the game is out.
    table.thread.join();
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_EQ(table.server->GamesPlayed(), 1);
}

// Once its one game is over, a server that is not resident seats nobody,
// however long a connection stays open, and ends.
TEST(NetGameTest, AFinishedServerRefusesLateJoinsAndEnds) {
    Table table;
    RawClient late(table.server->Port());
    ASSERT_TRUE(late.Until("HELLO"));
    {
        Players players(table.server->Port(), 4);
        for (const Outcome& o : players.Wait()) ASSERT_EQ(o.status, NetStatus::Played) << o.message;
    }
    ASSERT_TRUE(late.Until("REFUSED over"));
    // The server may have closed the connection already: a failed send is fine.
    std::string join = JoinLine(Request("late", "human")) + "\n";
    ::send(late.fd, join.data(), join.size(), MSG_NOSIGNAL);
    std::string line;
    while (late.Next(line)) EXPECT_NE(line.rfind("WELCOME", 0), 0u) << line;
    table.thread.join();  // the clock stands still: only the end of the game ends the server
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_EQ(table.server->GamesPlayed(), 1);
}

TEST(NetGameTest, ResidentServerPlaysAgain) {
    Table table(true);
    for (int game = 1; game <= 2; ++game) {
        Players players(table.server->Port(), 4);
        for (const Outcome& o : players.Wait()) {
            ASSERT_EQ(o.status, NetStatus::Played) << o.message;
            EXPECT_EQ(o.result.gameNumber, game);
        }
    }
    EXPECT_EQ(table.server->GamesPlayed(), 2);
}

// Without a fixed seed each game's walls come from a secure random seed of
// its own: nothing links one game's seed to the next one's.
TEST(NetGameTest, ResidentServerDealsUnrelatedWalls) {
    Table table(true, [](ServerConfig& c) { c.seed = 0; });
    std::vector<long double> seeds;
    for (int game = 1; game <= 3; ++game) {
        Players players(table.server->Port(), 4);
        Outcome o = players.Wait()[0];
        ASSERT_EQ(o.status, NetStatus::Played) << o.message;
        for (const std::string& line : o.result.recordLines)
            if (line.rfind("seed: ", 0) == 0) seeds.push_back(std::stold(line.substr(6)));
    }
    ASSERT_EQ(seeds.size(), 3u);
    // Readings of a clock (even in nanoseconds) taken a game apart differ by
    // far less than 2^40; two random 64-bit seeds do so once in millions.
    const long double near = 1099511627776.0L;
    long double first = seeds[1] - seeds[0], second = seeds[2] - seeds[1];
    EXPECT_GT(std::abs(first), near);
    EXPECT_GT(std::abs(second), near);
    EXPECT_GT(std::abs(second - first), near);
    EXPECT_FALSE(table.Logged("predictable"));
}

// A fixed seed deals S, S + 1, ... and says that the walls can be foreseen.
TEST(NetGameTest, AFixedSeedIsLoggedAsPredictable) {
    Table table(true);
    EXPECT_TRUE(table.WaitLogged("predictable"));
    Players players(table.server->Port(), 4);
    Outcome o = players.Wait()[0];
    ASSERT_EQ(o.status, NetStatus::Played) << o.message;
    EXPECT_NE(std::find(o.result.recordLines.begin(), o.result.recordLines.end(), "seed: 77"),
              o.result.recordLines.end());
}

// A folder of its own for a test's files, removed afterwards.
struct Folder {
    Folder() {
        path = std::filesystem::temp_directory_path() /
               ("zv_net_game_" + std::to_string(::getpid()) + "_" + std::to_string(++count));
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
    static inline int count = 0;
};

RecordFile ReadRecord(const std::string& path) {
    auto text = ReadTextFile(path);
    return text ? ParseRecord(*text) : RecordFile{};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A server started again on the same record keeps every earlier game.
TEST(NetGameTest, ARestartedServerAddsToItsRecord) {
    Folder folder;
    const std::string record = folder.File("server.fu");
    for (int run = 1; run <= 2; ++run) {
        Table table(false, [&](ServerConfig& c) { c.recordPath = record; });
        Players players(table.server->Port(), 4);
        for (const Outcome& o : players.Wait()) ASSERT_EQ(o.status, NetStatus::Played) << o.message;
        table.thread.join();
        RecordFile file = ReadRecord(record);
        EXPECT_TRUE(file.problems.empty());
        ASSERT_EQ(file.games.size(), static_cast<std::size_t>(run));
        for (const RecordedGame& game : file.games) EXPECT_EQ(game.number, 1);  // each run counts from 1
    }
    EXPECT_FALSE(std::filesystem::exists(record + ".new"));
}

// At the start the copy a crash left behind is put in place when it holds the
// record and a whole game more, and removed otherwise; the record is never shortened.
TEST(NetGameTest, ALeftoverCopyOfTheRecordIsRecovered) {
    Folder folder;
    const std::string record = folder.File("server.fu");
    auto open = [&] {
        ServerConfig config;
        config.recordPath = record;
        std::vector<std::string> log;
        GameServer server(config, [&](const std::string& text) { log.push_back(text); });
        std::string error;
        EXPECT_TRUE(server.Open(error)) << error;
        return log;
    };
    const std::string head = std::string(kRecordMagic) + "\r\n";
    const std::string game1 = "game: 1\r\nprogram: zvserver\r\nend: 1\r\n";
    const std::string game2 = "game: 2\r\nprogram: zvserver\r\nend: 2\r\n";

    // No record yet, a whole one in the copy: it becomes the record.
    WriteBytes(record + ".new", head + game1);
    open();
    EXPECT_EQ(ReadWholeFile(record).value_or(""), head + game1);
    EXPECT_FALSE(std::filesystem::exists(record + ".new"));
    // The record and a whole game more: taken.
    WriteBytes(record + ".new", head + game1 + game2);
    open();
    EXPECT_EQ(ReadWholeFile(record).value_or(""), head + game1 + game2);
    // Cut off in the middle of a game, or not beginning with the record: removed.
    for (const std::string& copy : {head + game1 + game2 + "game: 3\r\n", head + game2 + game1 + game2}) {
        WriteBytes(record + ".new", copy);
        auto log = open();
        EXPECT_EQ(ReadWholeFile(record).value_or(""), head + game1 + game2);
        EXPECT_FALSE(std::filesystem::exists(record + ".new"));
        EXPECT_FALSE(log.empty());
    }
}

// A record that cannot be written is said in the log; the games it held
// stay, and no copy is left beside it.
TEST(NetGameTest, ARecordThatCannotBeWrittenIsLoggedAndKeepsItsGames) {
    Folder folder;
    const std::string record = folder.File("server.fu");
    const std::string earlier = std::string(kRecordMagic) + "\r\ngame: 1\r\nprogram: zvserver\r\nend: 1\r\n";
    for (test::SaveFault fault : {test::SaveFault::Create, test::SaveFault::Write, test::SaveFault::Rename}) {
        WriteBytes(record, earlier);
        test::FaultInjectionEnv faults;
        faults.Inject(fault);
        Table table(false, [&](ServerConfig& c) { c.recordPath = record; });
        Players players(table.server->Port(), 4);
        for (const Outcome& o : players.Wait()) ASSERT_EQ(o.status, NetStatus::Played) << o.message;
        table.thread.join();
        EXPECT_TRUE(table.Logged(record + ": cannot write the record file"));
        EXPECT_EQ(ReadWholeFile(record).value_or(""), earlier);
        EXPECT_FALSE(std::filesystem::exists(record + ".new"));
    }
}

// A raw connection records every line of an east-south game; up to each
// hand's end block no line names a tile that, at the hand's end, was still
// hidden in another seat's hand or in the wall. Another seat's draw never
// names its tile at all.
TEST(NetGameTest, NoLineBeforeAHandsEndShowsAnotherSeatsTiles) {
    Table table(false, [](ServerConfig& c) {
        c.rules.eastOnly = false;
        c.rules.noBustOut = true;  // no bust-out: all eight hands at least
    });
    RawClient raw(table.server->Port());
    raw.Send(JoinLine(Request("watcher", "human")));
    std::string welcome;
    ASSERT_TRUE(raw.Until("WELCOME", &welcome));
    int me = std::stoi(Words(welcome)[1]);
    Players players(table.server->Port(), 3);
    ASSERT_TRUE(raw.PlayToEnd());
    for (const Outcome& o : players.Wait()) EXPECT_EQ(o.status, NetStatus::Played) << o.message;

    std::vector<std::set<riichi::TileId>> seen;  // per hand, before its end
    bool inHand = false;
    int otherDraws = 0;
    for (const std::string& line : raw.lines) {
        auto w = Words(line);
        if (w.empty()) continue;
        std::set<riichi::TileId>* tiles = seen.empty() ? nullptr : &seen.back();
        if (w[0] == "HAND") {
            seen.emplace_back();
            inHand = true;
            std::vector<riichi::TileId> hand;
            ASSERT_EQ(w.size(), 11u) << line;
            ASSERT_TRUE(ParseTileList(w[10], hand)) << line;
            EXPECT_EQ(hand.size(), 13u) << line;
            seen.back().insert(hand.begin(), hand.end());
            seen.back().insert(std::stoi(w[9]));
            continue;
        }
        if (w[0] == "WIN" || w[0] == "WINYAKU" || w[0] == "HANDEND") inHand = false;
        if (!inHand || tiles == nullptr) continue;
        riichi::TableEvent e;
        riichi::SeatView view;
        Ask ask;
        if (ParseEventLine(line, e)) {
            if (e.type == riichi::EventType::Draw && e.seat != me) {
                EXPECT_EQ(e.tile, -1) << line;
                ++otherDraws;
            }
            if (e.tile >= 0) tiles->insert(e.tile);
            tiles->insert(e.consumed.begin(), e.consumed.end());
        } else if (w[0] == "VIEW") {
            ASSERT_TRUE(ParseViewLine(line, view)) << line;
            tiles->insert(view.concealed.begin(), view.concealed.end());
            if (view.drawn >= 0) tiles->insert(view.drawn);
            for (std::size_t s = 0; s < 4; ++s) {
                for (const riichi::Meld& m : view.melds[s])
                    tiles->insert(m.tiles.begin(), m.tiles.begin() + m.size);
                for (const riichi::RiverTile& r : view.rivers[s]) tiles->insert(r.tile);
            }
            tiles->insert(view.doraIndicators.begin(), view.doraIndicators.end());
            if (view.claimTile >= 0) tiles->insert(view.claimTile);
        } else if (w[0] == "ASK") {
            ASSERT_TRUE(ParseAskLine(line, ask)) << line;
            for (const riichi::Action& a : ask.actions) {
                if (a.tile >= 0) tiles->insert(a.tile);
                for (riichi::TileId t : a.with)
                    if (t >= 0) tiles->insert(t);
            }
        }
    }
    std::lock_guard<std::mutex> lock(table.mutex);
    ASSERT_EQ(seen.size(), table.hands.size());
    ASSERT_GE(seen.size(), 8u);
    EXPECT_GT(otherDraws, 200);
    for (std::size_t h = 0; h < seen.size(); ++h) {
        const HandTruth& truth = table.hands[h];
        const auto& mine = truth.concealed[static_cast<std::size_t>(me)];
        for (riichi::TileId t : seen[h]) {
            bool allowed = truth.open.count(t) > 0 || std::find(mine.begin(), mine.end(), t) != mine.end();
            EXPECT_TRUE(allowed) << "hand " << h << ": tile " << t << " was hidden from seat " << me;
        }
    }
}

// The client of the player who left, started again: it reads the seat's
// token kept in the player's directory by the client before it.
JoinRequest RestartedClientRequest(const test::TempDir& dir, int port, const std::string& token) {
    EngineOptions options;
    options.baseDir = dir.path();
    options.name = "leaver";
    options.host = "127.0.0.1";
    options.port = std::to_string(port);
    std::vector<std::string> warnings;
    NetClient before;
    EXPECT_EQ(before.Prepare(options, warnings), "");
    EXPECT_EQ(before.KeepToken(token), "");
    NetClient restarted;
    EXPECT_EQ(restarted.Prepare(options, warnings), "");
    return restarted.Request();
}

// A player whose connection is cut mid-hand is played by the computer; the
// game goes on to its end, and the player may sit down again with the
// seat's token. Someone else under the player's name may not.
TEST(NetGameTest, ALostPlayerIsReplacedAndMayComeBack) {
    Table table(false, [](ServerConfig& c) {
        c.rules.eastOnly = false;
        c.rules.noBustOut = true;  // the game lasts into its second hand at least
    });
    std::string welcome;
    int seat = -1;
    test::TempDir dir;
    {
        RawClient raw(table.server->Port());
        raw.Send(JoinLine(Request("leaver", "human")));
        ASSERT_TRUE(raw.Until("WELCOME", &welcome));
        seat = std::stoi(Words(welcome)[1]);
        ASSERT_EQ(Words(welcome).size(), 3u) << welcome;
        const std::string token = Words(welcome)[2];
        EXPECT_TRUE(IsSeatToken(token)) << welcome;
        Players players(table.server->Port(), 2);
        // One of the others does not go on from the second hand's result
        // until the leaver is back; the clock stands still, so the game
        // waits for it.
        std::mutex gate;
        std::condition_variable opened;
        bool back = false;
        RawClient slow(table.server->Port());
        slow.Send(JoinLine(Request("slow")));
        std::thread slowThread([&] {
            int slowHands = 0;
            slow.PlayToEnd([&](const std::string& line) {
                if (line.rfind("HAND ", 0) == 0) ++slowHands;
                if (slowHands >= 2 && line.rfind("ASK", 0) == 0 && line.find(" next") != std::string::npos) {
                    std::unique_lock<std::mutex> lock(gate);
                    opened.wait(lock, [&] { return back; });
                }
                return true;
            });
        });
        auto letGo = [&] {
            {
                std::lock_guard<std::mutex> lock(gate);
                back = true;
                opened.notify_all();
            }
            if (slowThread.joinable()) slowThread.join();
        };
        // Also when an assertion below ends the test early.
        struct AtExit {
            std::function<void()> run;
            ~AtExit() { run(); }
        } release{letGo};
        int hands = 0;
        // Play into the second hand, then vanish after a few lines that ask something of it.
        int asks = 0;
        EXPECT_FALSE(raw.PlayToEnd([&](const std::string& line) {
            if (line.rfind("HAND ", 0) == 0) ++hands;
            if (hands >= 2 && line.rfind("ASK", 0) == 0) ++asks;
            return asks < 3;
        }));
        CloseSocket(raw.fd);
        raw.fd = -1;
        // The seat goes to nobody who only knows the name, or a wrong token.
        JoinRequest stranger = Request("leaver", "human");
        for (const std::string& guess : {std::string(), NewSeatToken()}) {
            stranger.token = guess;
            RawClient impostor(table.server->Port());
            impostor.Send(JoinLine(stranger));
            std::string refused;
            EXPECT_TRUE(impostor.Until("REFUSED", &refused));
            EXPECT_EQ(refused.rfind("REFUSED name", 0), 0u) << refused;
            for (const std::string& line : impostor.lines) EXPECT_NE(line.rfind("WELCOME", 0), 0u) << line;
        }
        EXPECT_FALSE(table.Logged("leaver is back at seat"));  // the computer still plays it
        EXPECT_TRUE(table.Logged("is kept for its player"));
        // The leaver comes back while the others wait for the slow one:
        RawClient again(table.server->Port());
        again.Send(JoinLine(RestartedClientRequest(dir, table.server->Port(), token)));
        ASSERT_TRUE(again.Until("WELCOME", &welcome));
        EXPECT_EQ(std::stoi(Words(welcome)[1]), seat);
        EXPECT_EQ(Words(welcome)[2], token);
        std::string view;
        ASSERT_TRUE(again.Until("VIEW", &view));  // the table as it is now
        // A second connection under the same name is refused while the first sits.
        RawClient twin(table.server->Port());
        twin.Send(JoinLine(Request("leaver", "human")));
        std::string refused;
        ASSERT_TRUE(twin.Until("REFUSED", &refused));
        EXPECT_NE(refused.find("REFUSED name"), std::string::npos) << refused;
        // Gone again, for good this time: the computer plays the seat to the end.
        CloseSocket(again.fd);
        again.fd = -1;
        letGo();
        for (const Outcome& o : players.Wait()) EXPECT_EQ(o.status, NetStatus::Played) << o.message;
        EXPECT_EQ(slow.lines.back().rfind("END", 0), 0u);
    }
    table.thread.join();
    EXPECT_EQ(table.server->GamesPlayed(), 1);
    EXPECT_TRUE(table.Logged("leaver left seat"));
    EXPECT_TRUE(table.Logged("leaver is back at seat"));
    EXPECT_GE(table.hands.size(), 4u);
}

// A player who leaves while a hand's result is being read does not hold the
// table until the reading time is up: the others go on at once.
TEST(NetGameTest, LeavingDuringAHandsResultDoesNotHoldTheTable) {
    Table table;  // a minute to read each result
    RawClient raw(table.server->Port());
    raw.Send(JoinLine(Request("reader", "human")));
    ASSERT_TRUE(raw.Until("WELCOME"));
    Players players(table.server->Port(), 3);
    EXPECT_FALSE(raw.PlayToEnd([](const std::string& line) {
        return line.rfind("ASK", 0) != 0 || line.find(" next") == std::string::npos;
    }));
    CloseSocket(raw.fd);
    raw.fd = -1;
    // The clock stands still: the reading time never runs out, so the game
    // ends only if the others go on without the one who left.
    for (const Outcome& o : players.Wait()) EXPECT_EQ(o.status, NetStatus::Played) << o.message;
    EXPECT_TRUE(table.Logged("reader left seat"));
}

// Actions out of turn or against the rules are refused, logged and never
// applied: the seat is still asked, and its right answer then goes through.
TEST(NetGameTest, WrongAnswersAreRefusedAndNotApplied) {
    Table table;
    RawClient raw(table.server->Port());
    raw.Send(JoinLine(Request("cheat", "human")));
    ASSERT_TRUE(raw.Until("WELCOME"));
    Players players(table.server->Port(), 3);
    raw.Send("ACT 0 discard:0");  // nothing is asked
    std::string ask;
    ASSERT_TRUE(raw.Until("ASK", &ask));
    auto w = Words(ask);
    Ask offered;
    ASSERT_TRUE(ParseAskLine(ask, offered));
    // A self-drawn win on a tile that is not offered.
    riichi::Action bad{riichi::ActionType::Tsumo, 0, {-1, -1}};
    for (riichi::TileId t = 0; t < riichi::kTiles; ++t) {
        bad.tile = t;
        if (std::find(offered.actions.begin(), offered.actions.end(), bad) == offered.actions.end()) break;
    }
    raw.Send("ACT " + w[1] + " " + ActionWord(bad));
    raw.Send("ACT " + std::to_string(std::stol(w[1]) + 1000) + " " + w.back());  // a decision never asked
    raw.Send("ACT " + w[1] + " " + w.back());                                    // the right answer
    ASSERT_TRUE(raw.PlayToEnd());
    int turn = 0, action = 0;
    for (const std::string& l : raw.lines) {
        turn += l.rfind("REFUSED turn", 0) == 0;
        action += l.rfind("REFUSED action", 0) == 0;
    }
    EXPECT_EQ(turn, 2);
    EXPECT_EQ(action, 1);
    for (const Outcome& o : players.Wait()) EXPECT_EQ(o.status, NetStatus::Played) << o.message;
    EXPECT_TRUE(table.Logged("cheat: illegal"));
    EXPECT_TRUE(table.Logged("out of turn refused"));
    EXPECT_FALSE(table.Logged("in time"));
}

// A seat that stays silent (answering only the heartbeat) is played by the
// server's computer player at each deadline; after three in a row it is away
// and played at once, without waiting; answering again brings it back.
TEST(NetGameTest, ASilentSeatIsPlayedForAtOnceAfterThreeDeadlines) {
    Table table(false, [](ServerConfig& c) {
        c.decisionMs = 1000;
        c.handPauseMs = 1000;
        c.heartbeatMs = 3600 * 1000;  // the heartbeat has a test of its own
        c.silentMs = 7200 * 1000;
    });
    RawClient raw(table.server->Port());
    raw.Send(JoinLine(Request("sleeper", "human")));
    std::string welcome;
    ASSERT_TRUE(raw.Until("WELCOME", &welcome));
    const std::string seat = Words(welcome)[1];
    Players players(table.server->Port(), 3);
    std::string line;
    int timeoutsBeforeAway = 0, timeoutsWhileAway = 0, asksWhileAway = 0, timeoutsAfterBack = 0;
    bool away = false, back = false, ended = false;
    std::string lastAsk;
    while (raw.Next(line)) {
        auto w = Words(line);
        if (w[0] == "AWAY" && w[1] == seat) away = true;
        if (w[0] == "BACK" && w[1] == seat) back = true;
        if (w[0] == "TIMEOUT") ++(back ? timeoutsAfterBack : away ? timeoutsWhileAway : timeoutsBeforeAway);
        if (w[0] == "END") {
            ended = true;
            break;
        }
        if (w[0] != "ASK") continue;
        if (!away || back) {
            // Waited for: the question's time runs out, once after coming back.
            if (timeoutsAfterBack == 0)
                table.clock.Advance(std::stoi(w[2]) + 1);
            else
                raw.Send("ACT " + w[1] + " " + w.back());
        } else if (w.back() != "next" && asksWhileAway < 5 && ++asksWhileAway == 5) {
            // Still asked, never waited for: answering one of them brings the seat back.
            raw.Send("ACT " + w[1] + " " + w.back());
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(timeoutsBeforeAway, 3);
    EXPECT_TRUE(away);
    EXPECT_EQ(timeoutsWhileAway, 0);
    EXPECT_EQ(asksWhileAway, 5);
    EXPECT_TRUE(back);
    EXPECT_EQ(timeoutsAfterBack, 1);
    for (const Outcome& o : players.Wait()) EXPECT_EQ(o.status, NetStatus::Played) << o.message;
    EXPECT_TRUE(table.Logged("sleeper did not answer in time"));
    EXPECT_TRUE(table.Logged("sleeper answers again"));
    EXPECT_FALSE(table.Logged("(sleeper): silent"));
    // The answer to a question the computer player had already taken is not refused.
    for (const std::string& l : raw.lines) EXPECT_NE(l.rfind("REFUSED", 0), 0u) << l;
}

// A connection that does not even answer the heartbeat is dropped; one that
// answers it stays.
TEST(NetGameTest, ASeatThatDoesNotAnswerTheHeartbeatIsDropped) {
    Table table(false, [](ServerConfig& c) {
        c.heartbeatMs = 10000;
        c.silentMs = 40000;
    });
    RawClient awake(table.server->Port()), mute(table.server->Port());
    awake.Send(JoinLine(Request("awake", "human")));
    mute.Send(JoinLine(Request("mute", "human")));
    ASSERT_TRUE(awake.Until("WELCOME"));
    ASSERT_TRUE(mute.Until("WELCOME"));
    for (int step = 0; step < 3; ++step) {
        table.clock.Advance(15000);
        ASSERT_TRUE(awake.Until("PING"));
        awake.Send("PONG");
        // The server answers lines in order: once this second JOIN is
        // refused, the PONG has been heard.
        awake.Send(JoinLine(Request("awake", "human")));
        ASSERT_TRUE(awake.Until("REFUSED joined"));
    }
    EXPECT_TRUE(mute.Until("REFUSED silent"));
    EXPECT_TRUE(table.Logged("(mute): silent"));
    EXPECT_FALSE(table.Logged("(awake): silent"));
}

TEST(NetGameTest, MisbehavingPeersAreDroppedAlone) {
    Table table;
    int port = table.server->Port();
    // Each of these is turned away or dropped; the game still gets its four.
    RawClient silent(port);  // never joins
    RawClient noisy(port);
    noisy.Send("HELLO there");
    RawClient old(port);
    old.Send("JOIN human oldtimer");
    RawClient longLine(port);
    SendAll(longLine.fd, std::string(kMaxLineLength + 10, 'x'), 1000);
    RawClient rogue(port);  // a line that would retitle and clear the operator's terminal
    rogue.Send("\x1b]0;owned\x07\x1b[2J\xc2\x9b");
    RawClient flood(port);
    flood.Send(JoinLine(Request("flood")));
    std::string many;
    for (int i = 0; i < 2000; ++i) many += "PONG\n";
    SendAll(flood.fd, many, 2000);
    RawClient leaver(port);
    leaver.Send(JoinLine(Request("leaver", "human")));
    ASSERT_TRUE(leaver.Until("WELCOME"));
    CloseSocket(leaver.fd);
    leaver.fd = -1;

    std::string said;
    ASSERT_TRUE(noisy.Until("REFUSED", &said));
    EXPECT_NE(said.find("malformed"), std::string::npos) << said;
    ASSERT_TRUE(old.Until("REFUSED", &said));
    EXPECT_NE(said.find("REFUSED version"), std::string::npos) << said;
    ASSERT_TRUE(longLine.Until("REFUSED", &said));
    EXPECT_NE(said.find("toolong"), std::string::npos) << said;
    ASSERT_TRUE(flood.Until("REFUSED flood", &said));
    ASSERT_TRUE(rogue.Until("REFUSED malformed", &said));
    table.clock.Advance(table.config.joinTimeoutMs + 1);
    ASSERT_TRUE(silent.Until("REFUSED join", &said));

    Players players(port, 4);
    ASSERT_TRUE(table.WaitLogged("game 1 starts"));
    // Latecomers during the game: a new name finds the table full, a seated name is taken.
    RawClient fifth(port), twin(port);
    fifth.Send(JoinLine(Request("p9")));
    twin.Send(JoinLine(Request("p1")));
    for (const Outcome& o : players.Wait()) {
        EXPECT_EQ(o.status, NetStatus::Played) << o.message;
        for (const RecordSeat& seat : o.result.seats) {
            EXPECT_NE(seat.name, "leaver");
            EXPECT_NE(seat.name, "flood");
        }
    }
    ASSERT_TRUE(fifth.Until("REFUSED", &said));
    EXPECT_EQ(said.rfind("REFUSED full", 0), 0u) << said;
    ASSERT_TRUE(twin.Until("REFUSED", &said));
    EXPECT_EQ(said.rfind("REFUSED name", 0), 0u) << said;
    EXPECT_EQ(table.server->GamesPlayed(), 1);
    // Every refusal is logged with the client's address, and no byte a client
    // sent reaches the log as a control character.
    for (const char* reason : {"malformed", "version", "toolong", "flood", "join", "full", "name"})
        EXPECT_TRUE(table.Logged(std::string("refused 127.0.0.1:")) &&
                    table.Logged(std::string(": ") + reason))
            << reason;
    EXPECT_TRUE(table.Logged("\\x1b]0;owned\\x07\\x1b[2J\\xc2\\x9b"));
    std::lock_guard<std::mutex> lock(table.mutex);
    for (const std::string& line : table.log)
        for (char c : line) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) << line;
}

// One host cannot take every connection: past its limit it is turned away,
// while another address still gets in.
TEST(NetGameTest, OneAddressCannotTakeEveryConnection) {
    Table table;
    std::vector<std::unique_ptr<RawClient>> mine;
    for (int i = 0; i < 8; ++i) {
        mine.push_back(std::make_unique<RawClient>(table.server->Port()));
        ASSERT_TRUE(mine.back()->Until("HELLO"));
    }
    RawClient ninth(table.server->Port());
    std::string said;
    ASSERT_TRUE(ninth.Until("REFUSED", &said));
    EXPECT_EQ(said.rfind("REFUSED busy", 0), 0u) << said;
    EXPECT_TRUE(table.Logged("refused 127.0.0.1:", "busy"));

    RawClient other(table.server->Port(), "127.0.0.2");
    ASSERT_TRUE(other.Until("HELLO", &said));
    other.Send(JoinLine(Request("elsewhere")));
    EXPECT_TRUE(other.Until("WELCOME"));
}

TEST(NetGameTest, LogTextKeepsCharactersAndEscapesControls) {
    EXPECT_EQ(EscapeForLog("p1 名前 ok"), "p1 名前 ok");
    EXPECT_EQ(EscapeForLog("a\x1b[2Jb\r\n\t"), "a\\x1b[2Jb\\x0d\\x0a\\x09");
    EXPECT_EQ(EscapeForLog("\x7f"), "\\x7f");
    EXPECT_EQ(EscapeForLog("\xc2\x9b\xc2\xa0"), "\\xc2\\x9b\xc2\xa0");  // C1 CSI; a no-break space stays
    EXPECT_EQ(EscapeForLog("\xff\xc0\xaf\xe5\x90"), "\\xff\\xc0\\xaf\\xe5\\x90");  // not UTF-8, cut short
    EXPECT_EQ(EscapeForLog("\xed\xa0\x80"), "\\xed\\xa0\\x80");                    // a surrogate
    EXPECT_EQ(EscapeForLog("a\\x41"), "a\\\\x41");  // an escape cannot be faked
}

// Names travel to every seat and into the record: only well-formed UTF-8
// is seated, and a long shown name is cut between two characters.
TEST(NetGameTest, NamesAreUtf8AndShownNamesAreCutBetweenCharacters) {
    Table table;
    int port = table.server->Port();
    for (const char* join : {"JOIN 2 human \xFF\xFE", "JOIN 2 human \xC0\xAF",
                             "JOIN 2 human ok shown=\xED\xA0\x80", "JOIN 2 human ok shown=a\xE3\x82"}) {
        RawClient bad(port);
        bad.Send(join);
        std::string said;
        ASSERT_TRUE(bad.Until("REFUSED", &said)) << join;
        EXPECT_EQ(said.rfind("REFUSED name", 0), 0u) << said;
    }
    const std::string cut(62, 'a');
    RawClient raw(port);
    raw.Send("JOIN 2 human long shown=" + cut + "\xF0\x9F\x80\x84z");
    ASSERT_TRUE(raw.Until("WELCOME"));
    Players players(port, 3);
    ASSERT_TRUE(raw.PlayToEnd());
    for (const Outcome& o : players.Wait()) EXPECT_EQ(o.status, NetStatus::Played) << o.message;
    int shown = 0;
    for (const std::string& line : raw.lines) {
        EXPECT_TRUE(IsValidUtf8(line)) << line;
        if (line.find(" long " + cut) != std::string::npos) {
            EXPECT_EQ(line.substr(line.size() - cut.size() - 1), " " + cut) << line;
            ++shown;
        }
    }
    EXPECT_EQ(shown, 2);  // PLAYER and the record's player line
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
        // Closes only after the client, so that it reads the line first.
        char buffer[256];
        for (pollfd q{c, POLLIN, 0}; ::poll(&q, 1, 5000) > 0 && ::read(c, buffer, sizeof buffer) > 0;) {
        }
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

// A server that sends `text` to the first connection and keeps it open until
// the client closes it.
struct OneShotServer {
    explicit OneShotServer(std::string text) {
        std::string error;
        listener = ListenTcp("127.0.0.1", 0, error);
        EXPECT_GE(listener, 0) << error;
        sockaddr_in addr{};
        socklen_t len = sizeof addr;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
        port = ntohs(addr.sin_port);
        thread = std::thread([this, text] {
            pollfd p{listener, POLLIN, 0};
            if (::poll(&p, 1, 10000) <= 0) return;
            int c = ::accept(listener, nullptr, nullptr);
            SendAll(c, text, 1000);
            std::vector<std::string> lines;
            LineReader reader;
            bool tooLong = false;
            for (pollfd q{c, POLLIN, 0};
                 ::poll(&q, 1, 10000) > 0 && reader.ReadAvailable(c, lines, tooLong);) {
            }
            CloseSocket(c);
        });
    }
    ~OneShotServer() {
        thread.join();
        CloseSocket(listener);
    }
    int listener = -1;
    int port = 0;
    std::thread thread;
};

// The first updates a session reports for what the server sent.
std::vector<NetSession::Update> FirstUpdates(const std::string& sent) {
    OneShotServer server(sent);
    NetSession session;
    std::string message;
    EXPECT_TRUE(session.Connect("127.0.0.1", server.port, Request("guest"), message)) << message;
    std::vector<NetSession::Update> updates;
    for (int i = 0; i < 100 && updates.empty() && session.connected(); ++i) updates = session.Poll(100);
    session.Close();
    return updates;
}

TEST(NetGameTest, NumbersTooLargeForTheirFieldAreNotReadAsOthers) {
    using Update = NetSession::Update;
    EXPECT_EQ(FirstUpdates("HELLO zvserver 2\nWELCOME 1\n"), std::vector<Update>{Update::Seated});
    // 4294967298 and 4294967297 are 2 and 1 once cut to 32 bits.
    EXPECT_EQ(FirstUpdates("HELLO zvserver 4294967298\nWELCOME 1\n"), std::vector<Update>{Update::Refused});
    EXPECT_EQ(FirstUpdates("HELLO zvserver 2\nWELCOME 4294967297\n"), std::vector<Update>{Update::Lost});
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
    ASSERT_TRUE(ParseJoinLine("JOIN 2 auto x number=5000 deep=-7000 kokushi=x", back));
    EXPECT_EQ(back.style.number, 1000);
    EXPECT_EQ(back.style.deep, -7000);
    EXPECT_EQ(back.style.kokushi, players::Weights{}.kokushi);
    EXPECT_FALSE(ParseJoinLine("JOIN 2 robot x", back));
    EXPECT_FALSE(ParseJoinLine("JOIN 2 human", back));

    PlayerStats stats;
    EXPECT_TRUE(ParseResultWords("2 -5 1 8 2 3 1000 1 2000 1 3900 1", stats));
    EXPECT_EQ(stats.place, 2);
    EXPECT_EQ(stats.dealInPoints, 3900);
    EXPECT_FALSE(ParseResultWords("5 -5 1 8 2 3 1000 1 2000 1 3900 1", stats));  // place 5
    EXPECT_FALSE(ParseResultWords("2 -5 1 8 2 3 1000 1 2000 1 3900", stats));
    EXPECT_FALSE(ParseResultWords("2 -5 1 8 2 3 1000 1 2000 1 3900 x", stats));
    EXPECT_FALSE(ParseResultWords("4294967298 -5 1 8 2 3 1000 1 2000 1 3900 1", stats));  // not place 2
    EXPECT_FALSE(ParseResultWords("2 -5 1 8 2 3 1000 1 2000 1 99999999999 1", stats));
    EXPECT_EQ(stats.place, 2);  // a rejected line changes nothing
    EXPECT_TRUE(ParseYakuWord(std::string(59, '0') + "3", stats));
    EXPECT_EQ(stats.yaku[59], 3);
    EXPECT_FALSE(ParseYakuWord(std::string(59, '0'), stats));
    EXPECT_FALSE(ParseYakuWord(std::string(59, '0') + "a", stats));
}

}  // namespace
}  // namespace zv::engine
