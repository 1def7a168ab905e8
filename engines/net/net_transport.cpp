// The game server's connections: accepting them (and turning away too many),
// reading their lines, sending what the server says as far as each peer
// reads, and dropping those that misbehave. Run is the server's loop.
#include "net/net_server_parts.h"

#include <algorithm>

#include "net/net_record.h"
#include "platform/stream_sockets.h"

namespace zv::engine {

using namespace server_parts;

GameServer::GameServer(ServerConfig config, LogFn log) : config_(std::move(config)) {
    // Names and lines from clients end up in the log: none of their bytes may
    // steer the operator's terminal.
    log_ = [log = std::move(log)](const std::string& text) { log(EscapeForLog(text)); };
}

GameServer::~GameServer() {
    for (auto& c : connections_) CloseSocket(c->fd);
    CloseSocket(listenFd_);
}

GameServer::Clock::time_point GameServer::Now() const { return config_.now ? config_.now() : Clock::now(); }

bool GameServer::Open(std::string& error) {
    listenFd_ = ListenTcp(config_.bindAddress, config_.port, error);
    if (listenFd_ < 0) return false;
    port_ = CurrentStreamSockets().LocalPort(listenFd_);
    if (!config_.recordPath.empty())
        if (std::string done = RecoverRecord(config_.recordPath); !done.empty()) log_(done);
    if (config_.seed != 0)
        log_("games are dealt from the fixed seeds " + std::to_string(config_.seed) +
             ", +1, ...: their walls are predictable");
    return true;
}

void GameServer::Send(Connection* c, const std::string& line) {
    if (c == nullptr || c->dead || c->closing) return;
    // Every refusal goes out through here, so every one is logged.
    if (line.rfind("REFUSED ", 0) == 0)
        log_("refused " + c->peer + " (" + c->name() + "): " + line.substr(8));
    c->out += line;
    c->out += '\n';
}

void GameServer::SendAll(const std::string& line) {
    for (Seat& s : seats_) Send(s.conn, line);
}

void GameServer::Detach(Connection& c) {
    if (c.seat >= 0 && Idx(c.seat) < seats_.size() && seats_[Idx(c.seat)].conn == &c) {
        Seat& s = seats_[Idx(c.seat)];
        s.conn = nullptr;
        s.asked = false;
        s.nextPending = false;
        s.away = false;
        s.timeouts = 0;
        log_(c.request.name + " left seat " + std::to_string(c.seat) + "; a computer player takes it");
    } else if (c.joined && seats_.empty()) {
        log_(c.request.name + " left before the game");
    }
    c.seat = -1;
    c.joined = false;
}

void GameServer::Drop(Connection& c, const std::string& reason) {
    log_("refused " + c.peer + " (" + c.name() + "): " + reason + "; the connection is dropped");
    Detach(c);
    // A last word, if the peer still reads; then the connection is gone.
    std::string last = "REFUSED " + reason + "\n";
    SendSome(c.fd, last);
    CloseSocket(c.fd);
    c.fd = -1;
    c.dead = true;
    c.out.clear();
}

void GameServer::Accept() {
    for (;;) {
        std::string host;
        int peerPort = 0;
        int fd = CurrentStreamSockets().Accept(listenFd_, host, peerPort);
        if (fd < 0) return;
        std::string peer = host + ":" + std::to_string(peerPort);
        std::string busy;
        if (static_cast<int>(connections_.size()) >= config_.maxConnections)
            busy = "busy too many connections";
        else if (ConnectionsFrom(host) >= config_.maxConnectionsPerAddress)
            busy = "busy too many connections from " + host;
        if (!busy.empty()) {
            log_("refused " + peer + ": " + busy);
            busy = "REFUSED " + busy + "\n";
            SendSome(fd, busy);
            CloseSocket(fd);
            continue;
        }
        auto c = std::make_unique<Connection>();
        c->fd = fd;
        c->host = host;
        c->peer = peer;
        c->since = c->heard = c->pinged = c->window = Now();
        c->out = "HELLO zvserver " + std::to_string(kProtocolVersion) + "\n";
        connections_.push_back(std::move(c));
    }
}

int GameServer::ConnectionsFrom(const std::string& host) const {
    // Those on their way out do not count.
    return static_cast<int>(std::count_if(connections_.begin(), connections_.end(), [&](const auto& c) {
        return !c->dead && !c->closing && c->host == host;
    }));
}

void GameServer::Read(Connection& c) {
    std::vector<std::string> lines;
    bool tooLong = false;
    bool open = c.reader.ReadAvailable(c.fd, lines, tooLong);
    for (const std::string& line : lines) {
        if (c.dead || c.closing) return;
        auto now = Now();
        c.heard = now;
        if (now - c.window > std::chrono::seconds(1)) {
            c.window = now;
            c.linesInWindow = 0;
        }
        if (++c.linesInWindow > config_.maxLinesPerSecond) {
            Drop(c, "flood too many lines");
            return;
        }
        Handle(c, line);
    }
    if (c.dead) return;
    if (tooLong) {
        Drop(c, "toolong a line longer than " + std::to_string(kMaxLineLength) + " bytes");
    } else if (!open) {
        if (c.joined) log_(c.request.name + " closed the connection");
        Detach(c);
        CloseSocket(c.fd);
        c.fd = -1;
        c.dead = true;
    }
}

// Turns away a connection that does not join in time, drops a player that
// has gone silent and asks a quiet one to say something.
void GameServer::CheckConnections(Clock::time_point now) {
    for (auto& c : connections_) {
        if (c->dead) continue;
        if (!c->joined && !c->closing && now - c->since > Ms(config_.joinTimeoutMs)) {
            Send(c.get(), "REFUSED join no JOIN received");
            c->closing = true;
            c->since = now;
        }
        if (c->joined && now - c->heard > Ms(config_.silentMs)) {
            Drop(*c, "silent nothing heard for " + std::to_string(config_.silentMs / 1000) + " s");
            continue;
        }
        if (c->joined && now - c->heard > Ms(config_.heartbeatMs) &&
            now - c->pinged > Ms(config_.heartbeatMs)) {
            Send(c.get(), "PING");
            c->pinged = now;
        }
    }
}

int GameServer::Run(const std::atomic<bool>& stop) {
    while (!stop.load()) {
        CheckTimers();
        for (auto it = connections_.begin(); it != connections_.end();) {
            Connection& c = **it;
            if (!c.dead && c.closing && (c.out.empty() || Now() - c.since > std::chrono::seconds(10))) {
                CloseSocket(c.fd);
                c.fd = -1;
                c.dead = true;
            }
            if (c.dead) {
                Detach(c);
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
        if (Finished() && connections_.empty()) return 0;

        std::vector<SocketWait> waits;
        waits.push_back({Finished() ? -1 : listenFd_, true, false});
        for (auto& c : connections_) waits.push_back({c->fd, !c->closing, !c->out.empty()});
        // Wake for the nearest deadline, or at least every 50 ms for the others.
        auto wake = Now() + Ms(50);
        for (const Seat& s : seats_)
            if (s.asked) wake = std::min(wake, s.deadline);
        if (pausing_) wake = std::min(wake, pauseUntil_);
        auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Now()).count();
        if (CurrentStreamSockets().Wait(waits, Ms(static_cast<int>(std::clamp<long long>(wait + 1, 0, 50)))) <
            0) {
            log_("poll failed");
            return 1;
        }
        if (waits[0].socket >= 0 && waits[0].readable) Accept();
        const std::size_t polled = waits.size() - 1;
        for (std::size_t i = 0; i < polled && i < connections_.size(); ++i) {
            Connection& c = *connections_[i];
            if (c.dead) continue;
            const SocketWait& w = waits[i + 1];
            if (w.readable || w.hungUp) {
                if (c.closing) {
                    if (w.hungUp) {
                        CloseSocket(c.fd);
                        c.fd = -1;
                        c.dead = true;
                    }
                } else {
                    Read(c);
                }
            }
        }
        // Everything said in this round goes out now, as far as the peers read.
        for (auto& c : connections_) {
            if (c->dead || c->out.empty()) continue;
            if (!SendSome(c->fd, c->out)) {
                Detach(*c);
                CloseSocket(c->fd);
                c->fd = -1;
                c->dead = true;
                c->out.clear();
            } else if (c->out.size() > config_.maxPending) {
                Drop(*c, "slow the connection does not read what it is sent");
            }
        }
        // A dropped seat is played on by its computer player at once.
        if (game_ && !pausing_) Drive();
    }
    return 0;
}

}  // namespace zv::engine
