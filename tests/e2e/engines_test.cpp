// The engines run as programs from a throw-away installation folder: the
// one-player game in its windowless mode, a network game on a free loopback
// port, and the ways they refuse to start.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// One started program; killed and reaped if still running at the end.
class Child {
public:
    Child(const std::string& program, const Words& args, const Words& extraEnv, const std::string& out,
          const std::string& err) {
        Words env;
        for (char** e = environ; *e != nullptr; ++e) {
            std::string entry = *e;
            if (entry.rfind("ZV_", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
            env.push_back(entry);
        }
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        Words all{program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() { Kill(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The exit code, -1 while still running after `ms`, -2 for a signal.
    int Wait(int ms) {
        if (pid_ < 0) return status_;
        auto deadline = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            int status = 0;
            pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                pid_ = -1;
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
                return status_;
            }
            if (Clock::now() >= deadline) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    void Signal(int sig) {
        if (pid_ > 0) ::kill(pid_, sig);
    }
    pid_t pid() const { return pid_; }
    void Kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int status_ = -3;
};

int FreeLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

int CountStarts(const std::string& text, const std::string& start) {
    int n = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, start.size(), start) == 0) ++n;
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    return n;
}

class EnginesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(inst_);
        for (const char* program :
             {"zelvan1", "rzelvan1", "zvserver", "zvauto", "zvclient", "rclient", "pad", "zvarena"})
            fs::copy_file(std::string(ZV_STAGE_DIR) + program, inst_ + program);
        if (fs::is_directory(std::string(ZV_STAGE_DIR) + "usr"))
            fs::copy(std::string(ZV_STAGE_DIR) + "usr", inst_ + "usr", fs::copy_options::recursive);
        for (const char* dir : {"usr/guest", "usr/_todo", "usr/_min", "usr/_wizard"})
            fs::create_directories(inst_ + dir);
    }

    std::unique_ptr<Child> Start(const std::string& program, const Words& args, const Words& env = {}) {
        std::string base = root_.Path(program + "-" + std::to_string(++runs_));
        logs_.push_back(base);
        return std::make_unique<Child>(inst_ + program, args, env, base + ".out", base + ".err");
    }
    // Runs to the end (or fails the test after a generous limit).
    int Run(const std::string& program, const Words& args, const Words& env = {}) {
        auto child = Start(program, args, env);
        int code = child->Wait(60000);
        EXPECT_NE(code, -1) << program << " did not end";
        return code;
    }
    std::string Out() { return Read(logs_.back() + ".out"); }
    std::string Err() { return Read(logs_.back() + ".err"); }
    std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string User(const std::string& file = "") {
        return inst_ + "usr/guest" + (file.empty() ? "" : "/" + file);
    }

    // A server on a free loopback port, ready to take players.
    std::unique_ptr<Child> StartServer(int& port, const Words& extra = {}) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            port = FreeLoopbackPort();
            Words args{"-p", std::to_string(port), "-Q", "-l", User("server.fu"), "-B", User()};
            args.insert(args.end(), extra.begin(), extra.end());
            auto server = Start("zvserver", args);
            std::string out = logs_.back() + ".out";
            for (int i = 0; i < 500; ++i) {
                if (Read(out).find("listening") != std::string::npos) return server;
                if (server->Wait(10) != -1) break;  // the port was taken meanwhile: try another
            }
        }
        ADD_FAILURE() << "the server did not start";
        return nullptr;
    }

    std::unique_ptr<Child> StartAuto(const std::string& name, int port, const Words& extra = {}) {
        Words args{"-n", name, "-p", std::to_string(port), "-h", "127.0.0.1", "-B", inst_ + "usr/" + name};
        args.insert(args.end(), extra.begin(), extra.end());
        return Start("zvauto", args, {"ZV_AUTO_RETRY_SECONDS=2"});
    }

    Words ClientArgs(int port) {
        return {"-T",
                "large",
                "-B",
                User(),
                "-c",
                "-n",
                "guest",
                "-p",
                std::to_string(port),
                "-h",
                "127.0.0.1",
                "-l",
                User("client.fu"),
                "-C",
                "-k"};
    }

    zv::test::TempDir root_;
    std::string inst_ = root_.Path("inst") + "/";
    std::vector<std::string> logs_;
    int runs_ = 0;
};

TEST_F(EnginesTest, OnePlayerGamePlaysTwoGamesWithoutAWindow) {
    EXPECT_EQ(Run("zelvan1",
                  {"-B", User(), "-n", "guest", "-c", "-T", "small", "-u", "_todo", "-u", "_min", "-u",
                   "_wizard", "-Q", "-l", User("zelvan1.fu")},
                  {"ZV_ENGINE_AUTOPLAY=2"}),
              0)
        << Err();
    std::string res = Read(User("guest.res"));
    EXPECT_EQ(CountStarts(res, "result: "), 2) << res;
    EXPECT_EQ(CountStarts(res, "yaku: "), 2) << res;
    EXPECT_EQ(std::count(res.begin(), res.end(), '\n'), std::count(res.begin(), res.end(), '\r'));
    std::string record = Read(User("zelvan1.fu"));
    EXPECT_EQ(CountStarts(record, "game: "), 2);
    EXPECT_EQ(CountStarts(record, "end: "), 2);
    // Real hands were played: every hand shows its dora indicators, and the
    // winning hands their tiles and yaku.
    EXPECT_EQ(CountStarts(record, "dora: "), CountStarts(record, "hand: ")) << record;
    int wonHands = 0;
    std::istringstream lines(record);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("hand: ", 0) == 0 &&
            (line.find(" tsumo ") != std::string::npos || line.find(" ron ") != std::string::npos))
            ++wonHands;
    EXPECT_GE(CountStarts(record, "win: "), wonHands) << record;  // a double ron has two
    EXPECT_GE(CountStarts(record, "winyaku: "), CountStarts(record, "win: ")) << record;

    // The record analyser reads it back (its windowless mode prints the summary).
    EXPECT_EQ(Run("pad", {User("zelvan1.fu")}, {"ZV_ENGINE_AUTOPLAY=1"}), 0) << Err();
    EXPECT_NE(Out().find("2 ゲーム"), std::string::npos) << Out();
    EXPECT_NE(Out().find("1位"), std::string::npos);
    EXPECT_NE(Out().find("ドラ表示牌"), std::string::npos) << Out();
    EXPECT_EQ(Out().find("読めなかった行"), std::string::npos) << Out();

    // The real-tile build is the same game.
    EXPECT_EQ(Run("rzelvan1", {"-B", User(), "-n", "guest", "-H"}, {"ZV_ENGINE_AUTOPLAY=1"}), 0) << Err();
    EXPECT_EQ(CountStarts(Read(User("guest.res")), "result: "), 3);

    // Only the player's own two files were written anywhere.
    int files = 0;
    for (auto& e : fs::recursive_directory_iterator(inst_ + "usr")) files += e.is_regular_file() ? 1 : 0;
    int shipped = 0;
    if (fs::is_directory(std::string(ZV_STAGE_DIR) + "usr"))
        for (auto& e : fs::recursive_directory_iterator(std::string(ZV_STAGE_DIR) + "usr"))
            shipped += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, shipped + 2);
}

TEST_F(EnginesTest, ArenaPlaysTheOnePlayerGameOfTheSameSeed) {
    // The player's own style and the rules, read by both programs from the
    // same files.
    std::ofstream(User("guest.pf"), std::ios::binary) << "param: reach = 400\r\nparam: pon = 600\r\n";
    std::ofstream(User("zelvan1.pf"), std::ios::binary)
        << "param: tonpu = 1\r\nparam: startpoint = 27000\r\n";
    ASSERT_EQ(Run("zelvan1", {"-B", User(), "-n", "guest", "-u", "_todo", "-u", "_min", "-u", "_wizard"},
                  {"ZV_ENGINE_AUTOPLAY=1", "ZV_ENGINE_SEED=31337"}),
              0)
        << Err();
    std::string played = Out();  // "zelvan1: game 1: place P, score X, points Y"
    std::size_t at = played.find(", score ");
    ASSERT_NE(at, std::string::npos) << played;
    int score = std::stoi(played.substr(at + 8));

    ASSERT_EQ(Run("zvarena", {"--games", "1", "--seed", "31337", "--players", "guest,_todo,_min,_wizard",
                              "--rules", User("zelvan1.pf"), "--json"}),
              0)
        << Err();
    std::string report = Out();
    at = report.find("\"averageScore\":");  // the first player's, its one game
    ASSERT_NE(at, std::string::npos) << report;
    EXPECT_EQ(std::stod(report.substr(at + 15)), score) << played << report;
}

TEST_F(EnginesTest, EveryEngineNamesTheRealGame) {
    for (const char* program : {"zelvan1", "rzelvan1", "zvserver", "zvauto", "zvclient", "rclient", "pad"}) {
        EXPECT_EQ(Run(program, {"--help"}), 0) << program;
        EXPECT_NE(Out().find("riichi mahjong"), std::string::npos) << program << Out();
        EXPECT_EQ(Out().find("STAND-IN"), std::string::npos) << program << Out();
        EXPECT_EQ(Out().find("random outcome"), std::string::npos) << program << Out();
    }
}

TEST_F(EnginesTest, BadOptionsEndWithAMessage) {
    const Words autoplay{"ZV_ENGINE_AUTOPLAY=1"};
    struct Case {
        std::string program;
        Words args;
        std::string says;
    };
    const std::vector<Case> cases = {
        {"zelvan1", {"-n", "guest", "-B"}, "needs a value"},
        {"zelvan1", {"-B", inst_ + "usr/nobody", "-n", "guest"}, "does not exist"},
        {"zelvan1", {"-B", User(), "-n", "../guest"}, "cannot be a player name"},
        {"zelvan1", {"-B", User(), "-n", "guest", "-l", inst_ + "gone/zelvan1.fu"}, "does not exist"},
        {"zvclient", {"-B", User(), "-n", "guest", "-p", "abc"}, "not a TCP port"},
        {"zvclient", {"-B", User(), "-n", "guest", "-S", "-p", "2FFF", "-h", "000000000000"}, "IPX/SPX"},
        {"zvserver", {"-S", "-p", "2FFF", "-Q"}, "IPX/SPX"},
        {"zvserver", {"-p", "99999"}, "not a TCP port"},
        {"zvserver", {"-p", "4112", "-l", inst_ + "gone/server.fu"}, "does not exist"},
        {"zvauto", {"-n", "_todo", "-S", "-p", "2FFF"}, "IPX/SPX"},
        {"zvauto", {"-n", "a/b", "-p", "4112"}, "cannot be a character name"},
    };
    for (const Case& c : cases) {
        int code = Run(c.program, c.args, autoplay);
        EXPECT_GT(code, 0) << c.program << " " << c.says;
        EXPECT_NE(Err().find(c.says), std::string::npos) << c.program << ": " << Err();
    }
    EXPECT_FALSE(fs::exists(inst_ + "usr/nobody"));
    EXPECT_FALSE(fs::exists(inst_ + "gone"));
    // Unknown options are only mentioned.
    EXPECT_EQ(Run("zelvan1", {"-B", User(), "-n", "guest", "-Z", "-X"}, autoplay), 0);
    EXPECT_NE(Err().find("-Z"), std::string::npos);
}

TEST_F(EnginesTest, UnwritableResultsGiveAMessageNotACrash) {
    fs::create_directories(User("guest.res"));
    EXPECT_EQ(
        Run("zelvan1", {"-B", User(), "-n", "guest", "-l", User("zelvan1.fu")}, {"ZV_ENGINE_AUTOPLAY=1"}), 1);
    EXPECT_NE(Err().find("guest.res"), std::string::npos) << Err();
    EXPECT_TRUE(fs::exists(User("zelvan1.fu")));
}

TEST_F(EnginesTest, UnreachableServerEndsClientAndComputerPlayer) {
    int port = FreeLoopbackPort();  // nobody listens there
    EXPECT_EQ(Run("zvclient", ClientArgs(port), {"ZV_ENGINE_AUTOPLAY=1"}), 1);
    EXPECT_NE(Err().find("cannot connect"), std::string::npos) << Err();
    EXPECT_FALSE(fs::exists(User("zvclient.res")));
    auto player = StartAuto("_todo", port, {"-X"});
    EXPECT_EQ(player->Wait(30000), 1);
    EXPECT_NE(Err().find("cannot connect"), std::string::npos) << Err();
}

TEST_F(EnginesTest, ServerThreeComputerPlayersAndAClientPlayAGame) {
    int port = 0;
    auto server = StartServer(port, {"-H"});  // east and south
    ASSERT_NE(server, nullptr);
    std::vector<std::unique_ptr<Child>> players;
    for (const char* name : {"_todo", "_min", "_wizard"}) players.push_back(StartAuto(name, port));
    EXPECT_EQ(Run("zvclient", ClientArgs(port), {"ZV_ENGINE_AUTOPLAY=1"}), 0) << Err();
    for (auto& p : players) EXPECT_EQ(p->Wait(30000), 0);
    EXPECT_EQ(server->Wait(30000), 0);

    std::string res = Read(User("zvclient.res"));
    EXPECT_EQ(CountStarts(res, "result: "), 1) << res;
    EXPECT_EQ(CountStarts(res, "yaku: "), 1) << res;
    for (const char* name : {"_todo", "_min", "_wizard"})
        EXPECT_EQ(CountStarts(Read(inst_ + "usr/" + name + "/zvclient.res"), "result: "), 1) << name;
    std::string client = Read(User("client.fu"));
    EXPECT_EQ(CountStarts(client, "game: "), 1);
    EXPECT_NE(client.find("rules: tonpu=0 "), std::string::npos) << client;
    EXPECT_EQ(CountStarts(client, "final: "), 4) << client;
    EXPECT_EQ(client, Read(User("server.fu")));  // the same record on both sides
}

// A computer player killed in the middle of the game: the server plays its
// seat on, and everyone else finishes and files the game.
TEST_F(EnginesTest, KillingAPlayerMidGameLeavesTheGameRunning) {
    int port = 0;
    auto server = StartServer(port, {"-H"});
    ASSERT_NE(server, nullptr);
    std::string serverOut = logs_.back() + ".out";
    std::vector<std::unique_ptr<Child>> players;
    for (const char* name : {"_todo", "_min", "_wizard"}) players.push_back(StartAuto(name, port));
    auto client = Start("zvclient", ClientArgs(port), {"ZV_ENGINE_AUTOPLAY=1"});
    for (int i = 0; i < 1000 && Read(serverOut).find("game 1 starts") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    players[1]->Signal(SIGKILL);
    EXPECT_EQ(players[1]->Wait(5000), -2);
    EXPECT_EQ(client->Wait(60000), 0);
    EXPECT_EQ(players[0]->Wait(30000), 0);
    EXPECT_EQ(players[2]->Wait(30000), 0);
    EXPECT_EQ(server->Wait(30000), 0);
    std::string log = Read(serverOut);
    EXPECT_NE(log.find("_min closed the connection"), std::string::npos) << log;
    EXPECT_NE(log.find("game 1: _min place"), std::string::npos) << log;
    EXPECT_EQ(CountStarts(Read(User("zvclient.res")), "result: "), 1);
    EXPECT_EQ(CountStarts(Read(inst_ + "usr/_min/zvclient.res"), "result: "), 0);
    EXPECT_EQ(Read(User("client.fu")), Read(User("server.fu")));
}

// The resident server over many games with computer players that come back
// after each: every game is played and filed, and the server's memory does
// not grow from the first games to the last.
TEST_F(EnginesTest, ResidentServerSoak) {
#ifdef NDEBUG
    const int games = 100;
#else
    const int games = 20;
#endif
    int port = 0;
    auto server = StartServer(port, {"-X"});
    ASSERT_NE(server, nullptr);
    std::string serverOut = logs_.back() + ".out";
    std::vector<std::unique_ptr<Child>> players;
    for (const char* name : {"_todo", "_min", "_wizard", "guest"}) {
        if (std::string(name) == "guest")
            players.push_back(Start("zvauto", {"-n", "guest", "-p", std::to_string(port), "-h", "127.0.0.1",
                                               "-B", User(), "-X"}));
        else
            players.push_back(StartAuto(name, port, {"-X"}));
    }
    auto rss = [&] {
        std::ifstream status("/proc/" + std::to_string(server->pid()) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
        return -1L;
    };
    auto played = [&] { return CountStarts(Read(serverOut), "zvserver: game "); };
    auto start = Clock::now();
    long early = -1;
    // "game N starts" and four "game N: NAME place" lines per game.
    while (played() < games * 5 && Clock::now() - start < std::chrono::seconds(170)) {
        if (early < 0 && played() >= (games / 5) * 5) early = rss();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    long late = rss();
    EXPECT_GE(played(), games * 5) << "games played in the time: " << played() / 5;
    std::string res = Read(User("zvclient.res"));
    EXPECT_GE(CountStarts(res, "result: "), games - 1);
    EXPECT_GE(CountStarts(Read(User("server.fu")), "end: "), games - 1);
    ASSERT_GT(early, 0);
    std::printf("server VmRSS: %ld kB after %d games, %ld kB after %d\n", early, games / 5, late, games);
    // A few hundred KiB of slack for the allocator; a leak of one game's
    // table or record each time would be many times that. AddressSanitizer
    // holds freed memory back in its quarantine, so the resident size of a
    // sanitized server grows without any leak: it is not compared there.
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(late - early, 1024) << "VmRSS " << early << " kB after " << games / 5 << " games, " << late
                                  << " kB after " << games;
#endif
    server->Signal(SIGTERM);
    EXPECT_EQ(server->Wait(10000), 0);
}

TEST_F(EnginesTest, ResidentServerAndReturningComputerPlayers) {
    int port = 0;
    auto server = StartServer(port, {"-X"});
    ASSERT_NE(server, nullptr);
    std::vector<std::unique_ptr<Child>> players;
    for (const char* name : {"_todo", "_min", "_wizard"})
        players.push_back(StartAuto(name, port, {"-X", "-k"}));
    EXPECT_EQ(Run("zvclient", ClientArgs(port), {"ZV_ENGINE_AUTOPLAY=2"}), 0) << Err();
    EXPECT_EQ(CountStarts(Read(User("zvclient.res")), "result: "), 2);
    EXPECT_EQ(CountStarts(Read(User("client.fu")), "game: "), 2);
    // The server stays for more games; the computer players wait for one.
    EXPECT_EQ(server->Wait(300), -1);
    server->Signal(SIGTERM);
    EXPECT_EQ(server->Wait(10000), 0);
    EXPECT_EQ(CountStarts(Read(User("server.fu")), "game: "), 2);
    // Without a server they give up after the retry time and end normally.
    for (auto& p : players) EXPECT_EQ(p->Wait(30000), 0);
}

}  // namespace
