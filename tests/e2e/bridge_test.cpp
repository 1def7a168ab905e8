// The mjai bridge end to end: a game server on a loopback port, three
// computer players, and zvbridge in the fourth seat running a tiny mjai bot
// that discards every tile it draws. The game is finished and the record
// shows the bot's seat discarding only drawn tiles. A bot that crashes,
// hangs or answers nonsense is replaced by the character player and the
// game still ends.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "config/file_io.h"
#include "format/game_record.h"
#include "format/record_replay.h"
#include "mjai/mjai.h"
#include "net/net_game.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

using namespace zv::engine;
namespace riichi = zv::riichi;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct BridgeRun {
    int exitCode = -1;
    std::string out, err;
    std::string record;  // the server's record (UTF-8)
    int seat = -1;       // the bridge's seat in the first game
};

// The bridge's seat in each game of the record.
std::vector<int> BridgeSeats(const RecordFile& record) {
    std::vector<int> seats;
    for (const auto& game : record.games) {
        seats.push_back(-1);
        for (int s = 0; s < 4; ++s)
            if (game.seats[static_cast<std::size_t>(s)].name == "botty") seats.back() = s;
    }
    return seats;
}

struct Series {
    int games = 1;                 // more: a resident server and bridge
    std::vector<std::string> env;  // more of the bridge's environment
};

// Games with the server and three computer players in threads, the bridge
// as a program with `bot` as its bot. A resident bridge is stopped once it
// has told the last game's result.
BridgeRun PlayWithBot(const zv::test::TempDir& dir, const std::string& bot, int botMs,
                      const Series& series = {}) {
    ServerConfig config;
    config.port = 0;
    config.seed = 4242;
    config.rules.eastOnly = true;
    config.resident = series.games > 1;
    config.recordPath = dir.Path("server.fu");
    GameServer server(config, [](const std::string&) {});
    std::string error;
    EXPECT_TRUE(server.Open(error)) << error;
    std::atomic<bool> stop{false};
    std::thread serving([&] { server.Run(stop); });
    std::vector<std::thread> players;
    for (int i = 0; i < 3; ++i)
        players.emplace_back([&, i] {
            JoinRequest request;
            request.kind = "auto";
            request.name = "cpu" + std::to_string(i);
            request.style.displayName = "Shown" + std::to_string(i);
            // Loose players who seldom get ready, so that a simple bot wins
            // hands too and its wins go through the bridge.
            request.style.deep = 0;
            request.style.random = 1000;
            for (int g = 0; g < series.games; ++g) {
                NetGameResult result;
                std::string message;
                PlayNetworkGame(
                    "127.0.0.1", server.Port(), request, result, message, [](const std::string&) {}, nullptr);
            }
        });

    BridgeRun run;
    std::string out = dir.Path("bridge.out"), err = dir.Path("bridge.err");
    std::vector<std::string> words = {
        ZV_ZVBRIDGE_PATH, "-n",    "botty", "-p", std::to_string(server.Port()), "-h", "127.0.0.1", "-B",
        dir.path(),       "--bot", bot};
    if (series.games > 1) words.push_back("-X");
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string(*e).rfind("ZV_", 0) != 0) env.push_back(*e);
    env.push_back("ZV_BRIDGE_BOT_MS=" + std::to_string(botMs));
    env.insert(env.end(), series.env.begin(), series.env.end());
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (pid > 0 && series.games > 1) {
        // Resident: it plays until told to stop, after its last game.
        const std::string last = "game " + std::to_string(series.games) + " over";
        while (Read(out).find(last) == std::string::npos && ::waitpid(pid, &status, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (::waitpid(pid, &status, WNOHANG) == 0) ::kill(pid, SIGTERM);
    }
    if (pid > 0) ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    for (auto& t : players) t.join();
    stop.store(true);
    serving.join();
    run.out = Read(out);
    run.err = Read(err);
    run.record = zv::ReadTextFile(config.recordPath).value_or("");
    std::vector<int> seats = BridgeSeats(ParseRecord(run.record));
    if (!seats.empty()) run.seat = seats[0];
    return run;
}

std::string Bot(const std::string& mode) { return std::string("\"") + ZV_MJAI_BOT_PATH + "\" " + mode; }

std::string BoldBot(const std::string& pidFile) {
    return std::string("\"") + ZV_MJAI_BOLD_BOT_PATH + "\" \"" + pidFile + "\"";
}

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(BridgeTest, TheBotPlaysAWholeGame) {
    zv::test::TempDir dir;
    BridgeRun run = PlayWithBot(dir, Bot("tsumogiri"), 5000);
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_NE(run.out.find("game 1 over"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("the character player 0"), std::string::npos)
        << run.out;  // the bot took every decision
    EXPECT_EQ(run.err.find("replaced"), std::string::npos) << run.err;
    ASSERT_GE(run.seat, 0);
    // Replayed from the server's record: every discard of the bot's seat was
    // the tile it had just drawn, and nothing else was declared.
    RecordFile record = ParseRecord(run.record);
    ASSERT_EQ(record.games.size(), 1u);
    GameReplay replay;
    std::string error;
    ASSERT_TRUE(replay.Load(record.games[0], error)) << error;
    int discards = 0;
    for (int h = 0; h < replay.HandCount(); ++h) {
        riichi::Hand end = replay.StateAt(h, replay.Steps(h));
        for (const riichi::RiverTile& r : end.River(run.seat)) {
            EXPECT_TRUE(r.tsumogiri) << "hand " << h;
            ++discards;
        }
        EXPECT_TRUE(end.Melds(run.seat).empty());
    }
    EXPECT_GT(discards, 10);
    // The results are kept in the character's directory.
    EXPECT_NE(Read(dir.Path("zvclient.res")).find("result: "), std::string::npos);
}

TEST(BridgeTest, ABotThatFailsIsReplacedAndTheGameGoesOn) {
    struct Fault {
        const char* mode;
        const char* why;
    };
    for (const Fault& f : {Fault{"crash 40", "ended"}, Fault{"hang 40", "did not answer within 300 ms"},
                           Fault{"nonsense 40", "the bot"}}) {
        zv::test::TempDir dir;
        BridgeRun run = PlayWithBot(dir, Bot(f.mode), 300);
        EXPECT_EQ(run.exitCode, 0) << f.mode << ": " << run.err << run.out;
        EXPECT_NE(run.out.find("game 1 over"), std::string::npos) << f.mode << ": " << run.out;
        EXPECT_NE(run.err.find("the bot was replaced"), std::string::npos) << f.mode << ": " << run.err;
        EXPECT_NE(run.err.find(f.why), std::string::npos) << f.mode << ": " << run.err;
        EXPECT_NE(run.record.find("end: 1"), std::string::npos) << f.mode;
    }
    // A bot that cannot be started at all: the character player plays.
    zv::test::TempDir dir;
    BridgeRun run = PlayWithBot(dir, "/nonexistent/bot", 300);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("game 1 over"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("cannot start the bot"), std::string::npos) << run.err;
}

TEST(BridgeTest, OneBotPlaysEveryGameOfAResidentBridgeAndUsesTheWholeProtocol) {
    zv::test::TempDir dir;
    const int games = 12;
    BridgeRun run = PlayWithBot(dir, BoldBot(dir.Path("bot.pid")), 5000, Series{games, {}});
    EXPECT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(run.err.find("replaced"), std::string::npos) << run.err;
    // One process for all the games: it loads once.
    EXPECT_EQ(Lines(Read(dir.Path("bot.pid"))), 1);
    RecordFile record = ParseRecord(run.record);
    ASSERT_EQ(record.games.size(), static_cast<std::size_t>(games));
    std::vector<int> seats = BridgeSeats(record);
    // What the bot's seat did, over all the games.
    std::set<riichi::ActionType> done;
    for (std::size_t g = 0; g < record.games.size(); ++g)
        for (const auto& hand : record.games[g].hands)
            for (const riichi::LoggedAction& a : hand.actions)
                if (a.seat == seats[g]) done.insert(a.action.type);
    using T = riichi::ActionType;
    EXPECT_TRUE(done.count(T::Pon) + done.count(T::Chi) > 0) << "no call";
    EXPECT_TRUE(done.count(T::Riichi) > 0) << "no riichi";
    EXPECT_TRUE(done.count(T::OpenKan) + done.count(T::ClosedKan) + done.count(T::AddedKan) > 0) << "no kan";
    EXPECT_TRUE(done.count(T::Tsumo) + done.count(T::Ron) > 0) << "no win";
    std::istringstream out(run.out);
    int played = 0;
    for (std::string line; std::getline(out, line);)
        if (line.find(" over: ") != std::string::npos) {
            ++played;
            // The character player never had to decide for the bot.
            EXPECT_NE(line.find("the character player 0"), std::string::npos) << line;
        }
    EXPECT_EQ(played, games);
}

TEST(BridgeTest, AnAnswerThatDoesNotFitIsAskedForAgainAfterAnErrorEvent) {
    zv::test::TempDir dir;
    BridgeRun run = PlayWithBot(dir, Bot("mistakes 40"), 5000);
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(run.err.find("replaced"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("the character player 0"), std::string::npos) << run.out;
    std::size_t asked = 0;
    for (std::size_t at = run.out.find("asked again"); at != std::string::npos;
         at = run.out.find("asked again", at + 1))
        ++asked;
    EXPECT_EQ(asked, 2u) << run.out;
}

TEST(BridgeTest, StartGameTellsTheRulesAndTheJoinedNamesAndMayTakeLong) {
    zv::test::TempDir dir;
    BridgeRun run = PlayWithBot(dir, Bot("log \"" + dir.Path("events.log") + "\""), 5000);
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    std::istringstream events(Read(dir.Path("events.log")));
    std::string first;
    std::getline(events, first);
    zv::mjai::Json start;
    std::string error;
    ASSERT_TRUE(zv::mjai::ParseJson(first, start, error)) << first;
    ASSERT_EQ(start.Find("type")->string, "start_game");
    const zv::mjai::Json* names = start.Find("names");
    ASSERT_TRUE(names != nullptr && names->items.size() == 4u) << first;
    std::set<std::string> joined;
    for (const auto& n : names->items) joined.insert(n.string);
    EXPECT_EQ(joined, (std::set<std::string>{"botty", "cpu0", "cpu1", "cpu2"})) << first;
    const zv::mjai::Json* rules = start.Find("zelvan_rules");
    ASSERT_NE(rules, nullptr) << first;
    EXPECT_EQ(rules->Find("game_length")->string, "east");
    EXPECT_TRUE(rules->Find("red_fives")->boolean);
    EXPECT_TRUE(rules->Find("swap_calls")->boolean);
    EXPECT_EQ(rules->Find("uma")->string, "10-20");

    // A bot that answers start_game later than the answer time allows, as
    // one that loads a model there, is not replaced for it.
    zv::test::TempDir slow;
    run = PlayWithBot(slow, Bot("slow 5500"), 5000);
    EXPECT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(run.err.find("replaced"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("the character player 0"), std::string::npos) << run.out;
}

}  // namespace
