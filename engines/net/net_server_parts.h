#pragma once
// The game server's insides, shared by the files it is made of:
// net_transport.cpp (connections, reading and sending lines),
// net_lobby.cpp (JOIN, tokens and seats), net_table_driver.cpp (asking the
// seats, deadlines, the computer players' fallback), net_game_session.cpp
// (one game from its start to its end) and net_record.cpp (the record).
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "net/net_game.h"

namespace zv::engine {

namespace server_parts {
inline std::size_t Idx(int seat) { return static_cast<std::size_t>(seat); }
inline std::chrono::milliseconds Ms(int ms) { return std::chrono::milliseconds(ms); }
}  // namespace server_parts

struct GameServer::Connection {
    int fd = -1;
    LineReader reader;
    std::string out;
    int seat = -1;         // during a game: the seat it plays
    bool joined = false;   // in the lobby or at the table
    bool closing = false;  // close as soon as `out` is sent
    bool dead = false;     // closed: remove
    JoinRequest request;
    std::string token;         // given in WELCOME; takes the seat back after a loss
    std::string host;          // the client's address
    std::string peer;          // the client's address and port
    Clock::time_point since;   // connected, or (closing) when closing began
    Clock::time_point heard;   // the last line received
    Clock::time_point pinged;  // the last PING sent
    Clock::time_point window;  // the flood count's second
    int linesInWindow = 0;
    long joinOrder = 0;  // seats go by the order of joining
    std::string name() const { return joined ? request.name : "a connection"; }
};

struct GameServer::Seat {
    Connection* conn = nullptr;
    JoinRequest request;
    std::string token;  // its player's: only a JOIN with it takes the seat back
    std::unique_ptr<players::Player> computer;
    bool asked = false;  // a decision is asked for and not yet answered
    long askId = 0;
    Clock::time_point deadline;
    bool nextPending = false;  // the end of a hand: waiting for "next"
    int timeouts = 0;          // decisions in a row that ran out of time
    bool away = false;         // played at once by the computer until the player answers again
};

}  // namespace zv::engine
