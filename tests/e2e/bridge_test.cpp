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

#include <atomic>
#include <fstream>
#include <thread>

#include "config/file_io.h"
#include "format/game_record.h"
#include "format/record_replay.h"
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
    int seat = -1;       // the bridge's seat
};

// One game: the server and three computer players in threads, the bridge
// as a program with `bot` as its bot.
BridgeRun PlayWithBot(const zv::test::TempDir& dir, const std::string& bot, int botMs) {
    ServerConfig config;
    config.port = 0;
    config.seed = 4242;
    config.rules.eastOnly = true;
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
            NetGameResult result;
            std::string message;
            PlayNetworkGame(
                "127.0.0.1", server.Port(), request, result, message, [](const std::string&) {}, nullptr);
        });

    BridgeRun run;
    std::string out = dir.Path("bridge.out"), err = dir.Path("bridge.err");
    std::vector<std::string> words = {
        ZV_ZVBRIDGE_PATH, "-n",    "botty", "-p", std::to_string(server.Port()), "-h", "127.0.0.1", "-B",
        dir.path(),       "--bot", bot};
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string(*e).rfind("ZV_", 0) != 0) env.push_back(*e);
    env.push_back("ZV_BRIDGE_BOT_MS=" + std::to_string(botMs));
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
    if (pid > 0) ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    for (auto& t : players) t.join();
    stop.store(true);
    serving.join();
    run.out = Read(out);
    run.err = Read(err);
    run.record = zv::ReadTextFile(config.recordPath).value_or("");
    RecordFile record = ParseRecord(run.record);
    if (!record.games.empty())
        for (int s = 0; s < 4; ++s)
            if (record.games[0].seats[static_cast<std::size_t>(s)].name == "botty") run.seat = s;
    return run;
}

std::string Bot(const std::string& mode) { return std::string("\"") + ZV_MJAI_BOT_PATH + "\" " + mode; }

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

}  // namespace
