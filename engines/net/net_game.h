#pragma once
// The network game. The server seats four players (clients and computer
// players), holds the table (riichi::Game) and plays it step by step: it
// deals, asks each seat for its decisions, checks and applies them, and tells
// every seat what happened as that seat may see it. A seat whose connection
// is lost, or that does not answer in time, is played by a computer player
// with the style its player joined with, until the player joins again with
// the seat's token (given in WELCOME). The client side (NetSession) joins such a server and keeps
// the seat's table; PlayNetworkGame plays a whole game with a computer
// player. The line protocol is in net_protocol.h and engines/README.md.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "format/game_outcome.h"
#include "format/game_record.h"
#include "format/game_rules.h"
#include "net/net_lines.h"
#include "net/net_protocol.h"
#include "players/player.h"
#include "riichi/game.h"

namespace zv::engine {

using LogFn = std::function<void(const std::string&)>;

struct ServerConfig {
    std::string bindAddress = "127.0.0.1";
    int port = 0;  // 0: any free port (tests)
    riichi::Rules rules;
    std::string recordPath;             // empty: no record
    bool resident = false;              // stay for the next game
    int joinTimeoutMs = 10000;          // a connection must say JOIN within this time
    std::uint64_t seed = 0;             // 0: a secure random one per game
    int decisionMs = 30000;             // a seat's time to answer a decision
    int handPauseMs = 60000;            // at most this long for the players to read a hand's result
    int heartbeatMs = 10000;            // a PING after this long without a line from the peer
    int silentMs = 45000;               // a peer that sends nothing this long is dropped
    int maxLinesPerSecond = 400;        // more from one peer is a flood: it is dropped
    std::size_t maxPending = 1u << 20;  // bytes waiting for a peer that does not read; more: dropped
    int maxConnections = 32;            // more are turned away at once
    int maxConnectionsPerAddress = 8;   // more from one address are turned away, the others still get in
    // The clock of every deadline; empty: the steady clock. Tests set their own
    // and move it on, and the server sees the change within 50 ms.
    std::function<std::chrono::steady_clock::time_point()> now;
    // Tests: called with the table at the end of each hand.
    std::function<void(const riichi::Hand&)> onHandOver;
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
    struct Seat;
    using Clock = std::chrono::steady_clock;

    void Accept();
    int ConnectionsFrom(const std::string& host) const;
    void Read(Connection& c);
    void Handle(Connection& c, const std::string& line);
    void Join(Connection& c, const JoinRequest& request);
    void Answer(Connection& c, long askId, const riichi::Action* action);
    void Drop(Connection& c, const std::string& reason);
    void Detach(Connection& c);
    void Send(Connection* c, const std::string& line);
    void SendAll(const std::string& line);
    void TellWaiting();

    void StartGame();
    void StartHand();
    void Drive();
    // Asks the seat's player for the decision unless asked already; true
    // while its answer is waited for, false when the computer decides now.
    bool Ask(int seat);
    void Step(int seat, const riichi::Action& action);
    void ComputerDecides(int seat);
    void HandOver();
    void AfterPause();
    void EndGame();
    void CheckConnections(Clock::time_point now);
    void CheckTimers();
    void Welcome(Connection& c, int seat, bool again);
    void ComeBack(int seat);
    bool Reading() const;   // a seat still reads a hand's result
    bool Finished() const;  // the one game of a server that is not resident is over
    Clock::time_point Now() const;

    ServerConfig config_;
    LogFn log_;
    int listenFd_ = -1;
    int port_ = 0;
    int gamesPlayed_ = 0;
    long nextAsk_ = 1;
    long joins_ = 0;
    bool gameOver_ = false;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::vector<Seat> seats_;  // four during a game, empty in the lobby
    std::unique_ptr<riichi::Game> game_;
    riichi::HandStart handStart_;
    bool pausing_ = false;  // a hand's result is being read
    Clock::time_point pauseUntil_;
};

// Parses "RESULT ..." / "YAKU ..." payloads into stats; false when malformed.
bool ParseResultWords(const std::string& words, PlayerStats& stats);
bool ParseYakuWord(const std::string& word, PlayerStats& stats);

// `text` with every byte that could steer a terminal written as \xNN: the
// control characters, DEL, the C1 controls and bytes that are not UTF-8
// (a backslash becomes \\). Well-formed other characters stay.
std::string EscapeForLog(const std::string& text);

// ---------------------------------------------------------------- client

struct NetGameResult {
    int gameNumber = 0;
    int seat = -1;
    std::array<RecordSeat, 4> seats{};
    std::vector<std::string> recordLines;  // the game's block
    PlayerStats mine;
    std::array<riichi::SeatTotals, 4> standings{};
    int leftoverSticks = 0;
    bool bustOut = false;
};

enum class NetStatus { Played, ConnectFailed, Refused, Lost, Cancelled };

// One seat's connection to a server: joins, answers the heartbeat, and keeps
// what the server told the seat: the players, the rules, the table as the
// seat sees it (the latest VIEW), the decision asked for, each hand's result
// and the game's end.
class NetSession {
public:
    enum class Update {
        Seated,     // WELCOME: seat() is known
        Waiting,    // WAITING: waitingCount() players are seated
        GameStart,  // GAME, PLAYER and RULES lines
        HandStart,  // a hand was dealt
        Event,      // a table event (lastEvent())
        Table,      // the table changed (view())
        Ask,        // a decision is asked for (ask())
        TimedOut,   // the decision was taken by the server's computer player
        Away,       // AWAY/BACK: away(awaySeat()) says whether the computer plays that seat at once
        HandOver,   // the hand's result (handResult())
        GameOver,   // the game's end (result()); the server closes the connection
        Refused,    // the server refused us (message())
        Lost,       // the connection ended before the game did (message())
    };

    NetSession() = default;
    ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // Connects and sends the JOIN line. False with `message` set.
    bool Connect(const std::string& host, int port, const JoinRequest& request, std::string& message,
                 int timeoutMs = 5000);
    // Reads what the server sent, waiting up to `timeoutMs` for it, and
    // returns what changed in the order it happened.
    std::vector<Update> Poll(int timeoutMs);
    // With it on, Poll returns right after the table that shows another
    // seat's discard and keeps the lines after it for the next Poll, so that
    // a window can pause there.
    void SetStopAfterDiscards(bool stop) { stopAfterDiscards_ = stop; }
    // Lines already read and not yet taken (see SetStopAfterDiscards).
    bool hasPending() const { return !pending_.empty(); }
    // The last Poll stopped after another seat's discard.
    bool stoppedAtDiscard() const { return stoppedAtDiscard_; }
    // Answers the decision asked for with one of its actions.
    void Answer(const riichi::Action& action);
    // Answers the end of a hand ("next").
    void Next();
    void Quit();
    void Close();
    bool connected() const { return fd_ >= 0; }

    int seat() const { return result_.seat; }
    int waitingCount() const { return waiting_; }
    const riichi::Rules& rules() const { return view_.rules; }
    // The table as the seat sees it; `legal` holds the actions asked for.
    const riichi::SeatView& view() const { return view_; }
    bool asked() const { return asked_; }
    const Ask& ask() const { return ask_; }
    const riichi::TableEvent& lastEvent() const { return event_; }
    const riichi::HandResult& handResult() const { return ends_.result(); }
    const NetGameResult& result() const { return result_; }
    const std::array<std::string, 4>& kinds() const { return kinds_; }
    const std::string& message() const { return message_; }
    bool gameOver() const { return gameOver_; }
    // The seat's token (WELCOME): a JOIN with it takes the seat back after a loss.
    const std::string& token() const { return token_; }
    int awaySeat() const { return awaySeat_; }
    bool away(int seat) const { return seat >= 0 && seat < 4 && away_[static_cast<std::size_t>(seat)]; }

private:
    void Send(const std::string& line);
    void Line(const std::string& line, std::vector<Update>& updates);
    void Fail(Update update, const std::string& message, std::vector<Update>& updates);
    bool StopsAfter(Update update);

    int fd_ = -1;
    std::string where_;
    LineReader reader_;
    std::deque<std::string> pending_;
    bool stopAfterDiscards_ = false;
    bool discardToShow_ = false;
    bool stoppedAtDiscard_ = false;
    std::string out_;
    bool greeted_ = false;
    int waiting_ = 0;
    riichi::SeatView view_;
    bool asked_ = false;
    Ask ask_;
    riichi::TableEvent event_;
    EndReader ends_;
    NetGameResult result_;
    std::array<std::string, 4> kinds_{};
    bool haveResult_ = false, haveYaku_ = false;
    bool gameOver_ = false;
    std::array<bool, 4> away_{};
    int awaySeat_ = -1;
    std::string message_;
    std::string token_;
    std::chrono::steady_clock::time_point lastHeard_ = std::chrono::steady_clock::now();
};

// Connects, joins and plays one game, every decision taken by a character
// player of `request.style` (no time limit while waiting for other players;
// `cancel` ends the wait). `message` explains any status other than Played.
// `keepToken`, when set, is given the seat's token each time the server
// seats the player, to be sent with the next JOIN.
NetStatus PlayNetworkGame(const std::string& host, int port, const JoinRequest& request,
                          NetGameResult& result, std::string& message, const LogFn& progress,
                          const std::atomic<bool>* cancel, const LogFn& keepToken = {});

}  // namespace zv::engine
