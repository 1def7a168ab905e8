// The game server's lobby and seating: a connection's lines, JOIN (its
// checks, a player coming back to its seat with the seat's token), and the
// four players who take the table in the order they joined.
#include "net/net_server_parts.h"

#include <algorithm>

#include "app/engine_paths.h"
#include "base/utf8_text.h"
#include "net/seat_token.h"

namespace zv::engine {

using namespace server_parts;

void GameServer::Handle(Connection& c, const std::string& line) {
    ClientLine parsed = ParseClientLine(line);
    switch (parsed.kind) {
        case ClientLine::Kind::Join:
            if (Finished()) {
                Send(&c, "REFUSED over the game is over");
                c.closing = true;
                c.since = Now();
                return;
            }
            if (c.joined) {
                Send(&c, "REFUSED joined already seated");
                log_(c.request.name + ": a second JOIN refused");
                return;
            }
            Join(c, parsed.join);
            return;
        case ClientLine::Kind::Act:
            Answer(c, parsed.askId, &parsed.action);
            return;
        case ClientLine::Kind::Next:
            Answer(c, parsed.askId, nullptr);
            return;
        case ClientLine::Kind::Pong:
            return;
        case ClientLine::Kind::Quit:
            Detach(c);
            c.closing = true;
            c.since = Now();
            TellWaiting();
            return;
        case ClientLine::Kind::Bad:
            break;
    }
    Drop(c, "malformed " + parsed.error);
}

void GameServer::Welcome(Connection& c, int seat, bool again) {
    Send(&c, "WELCOME " + std::to_string(seat) + " " + c.token);
    if (!game_) return;
    Send(&c, "GAME " + std::to_string(gamesPlayed_));
    for (std::size_t s = 0; s < 4; ++s) {
        const JoinRequest& r = seats_[s].request;
        Send(&c, "PLAYER " + std::to_string(s) + " " + r.kind + " " + r.name + " " +
                     (r.style.displayName.empty() ? r.name : r.style.displayName));
    }
    Send(&c, "RULES " + RulesWords(config_.rules));
    if (!again) return;
    // Back at the table: the hand's start as this seat saw it, then the table now.
    Send(&c, HandStartLine(riichi::ForSeat(handStart_, seat), seat));
    Send(&c, ViewLine(game_->View(seat)));
}

void GameServer::Join(Connection& c, const JoinRequest& sent) {
    if (sent.version != kProtocolVersion) {
        log_("a client of protocol version " + std::to_string(sent.version) + " was refused");
        Send(&c, "REFUSED version this server speaks version " + std::to_string(kProtocolVersion));
        c.closing = true;
        c.since = Now();
        return;
    }
    if (!IsValidUtf8(sent.name) || !IsValidUtf8(sent.style.displayName)) {
        Send(&c, "REFUSED name the name is not valid UTF-8");
        c.closing = true;
        c.since = Now();
        return;
    }
    JoinRequest request = sent;
    if (!request.style.displayName.empty()) request.style.displayName = OneWord(request.style.displayName);
    if (!seats_.empty()) {
        // A game is on: only a player coming back, with its token, to a seat left empty.
        auto seat = std::find_if(seats_.begin(), seats_.end(),
                                 [&](const Seat& s) { return s.request.name == request.name; });
        if (seat != seats_.end() && seat->conn == nullptr && SameSeatToken(seat->token, request.token)) {
            int s = static_cast<int>(seat - seats_.begin());
            c.joined = true;
            c.request = request;
            c.token = seat->token;
            c.seat = s;
            seat->conn = &c;
            log_(request.name + " is back at seat " + std::to_string(s));
            Welcome(c, s, true);
            Drive();
            return;
        }
        if (seat == seats_.end()) {
            Send(&c, "REFUSED full the table is full");
        } else if (seat->conn != nullptr) {
            Send(&c, "REFUSED name " + request.name + " is already at the table");
        } else {
            Send(&c, "REFUSED name the seat of " + request.name + " is kept for its player");
        }
        c.closing = true;
        c.since = Now();
        return;
    }
    int seated = 0;
    for (auto& o : connections_) {
        if (!o->joined || o->dead || o->closing) continue;
        if (o->request.name == request.name) {
            Send(&c, "REFUSED name " + request.name + " is already at the table");
            c.closing = true;
            c.since = Now();
            return;
        }
        ++seated;
    }
    if (seated >= 4) {
        Send(&c, "REFUSED full the table is full");
        c.closing = true;
        c.since = Now();
        return;
    }
    c.joined = true;
    c.request = request;
    c.joinOrder = ++joins_;
    c.token = NewSeatToken();
    log_(request.kind + " player " + request.name + " joined");
    Send(&c, "WELCOME " + std::to_string(seated) + " " + c.token);
    TellWaiting();
}

void GameServer::TellWaiting() {
    if (!seats_.empty()) return;
    std::vector<Connection*> lobby;
    for (auto& o : connections_)
        if (o->joined && !o->dead && !o->closing) lobby.push_back(o.get());
    std::stable_sort(lobby.begin(), lobby.end(),
                     [](const Connection* a, const Connection* b) { return a->joinOrder < b->joinOrder; });
    if (lobby.size() == 4 && (!gameOver_ || config_.resident)) {
        seats_.resize(4);
        for (std::size_t s = 0; s < 4; ++s) {
            seats_[s].conn = lobby[s];
            seats_[s].request = lobby[s]->request;
            seats_[s].token = lobby[s]->token;
            lobby[s]->seat = static_cast<int>(s);
        }
        StartGame();
        return;
    }
    for (Connection* o : lobby) Send(o, "WAITING " + std::to_string(lobby.size()));
}

}  // namespace zv::engine
