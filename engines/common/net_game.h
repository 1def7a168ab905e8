#pragma once
// The network game: a server that seats four players (clients and
// computer players), plays one game and sends each player its outcome, and
// the client side that joins such a server. The line protocol is described
// in engines/README.md.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game_outcome.h"
#include "game_record.h"
#include "game_rules.h"

namespace zv::engine {

inline constexpr int kProtocolVersion = 1;

using LogFn = std::function<void(const std::string&)>;

struct ServerConfig {
    std::string bindAddress = "127.0.0.1";
    int port = 0;  // 0: any free port (tests)
    GameRules rules;
    std::string recordPath;     // empty: no record
    bool resident = false;      // stay for the next game
    int joinTimeoutMs = 10000;  // a connection must say JOIN within this time
    std::uint64_t seed = 0;     // 0: choose one per game
};

class GameServer {
public:
    GameServer(ServerConfig config, LogFn log);
    ~GameServer();
    GameServer(const GameServer&) = delete;
    GameServer& operator=(const GameServer&) = delete;

    bool Open(std::string& error);
    int Port() const { return port_; }
    // Serves until one game is over (or for ever with `resident`), or until
    // `stop` becomes true. Returns the process exit code.
    int Run(const std::atomic<bool>& stop);
    int GamesPlayed() const { return gamesPlayed_; }

private:
    struct Connection;
    void PlayAndSend();

    ServerConfig config_;
    LogFn log_;
    int listenFd_ = -1;
    int port_ = 0;
    int gamesPlayed_ = 0;
    std::vector<std::string> recordBlocks_;
    std::vector<Connection*> connections_;
};

struct JoinRequest {
    std::string kind = "human";  // human or auto
    std::string name;
    CharacterStyle style;
};

// The JOIN line for a request, and its reading (false for a malformed line).
std::string JoinLine(const JoinRequest& request);
bool ParseJoinLine(const std::string& line, JoinRequest& request);

struct NetGameResult {
    int gameNumber = 0;
    int seat = -1;
    std::array<RecordSeat, 4> seats{};
    std::vector<std::string> recordLines;  // the game's block
    PlayerStats mine;
};

enum class NetStatus { Played, ConnectFailed, Refused, Lost, Cancelled };

// Connects, joins and waits for the game to be played (no time limit while
// waiting for other players, `cancel` ends the wait). `message` explains any
// status other than Played.
NetStatus PlayNetworkGame(const std::string& host, int port, const JoinRequest& request,
                          NetGameResult& result, std::string& message, const LogFn& progress,
                          const std::atomic<bool>* cancel);

// Parses "RESULT ..." / "YAKU ..." payloads into stats; false when malformed.
bool ParseResultWords(const std::string& words, PlayerStats& stats);
bool ParseYakuWord(const std::string& word, PlayerStats& stats);

}  // namespace zv::engine
