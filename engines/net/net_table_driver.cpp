// The game server's table driver: asks each seat for its decisions with a
// deadline, applies the answers and tells every seat what it may see, and lets
// the seat's computer player decide when the time is up or the seat is away.
#include "net/net_server_parts.h"

#include <algorithm>

#include "riichi/seat_answers.h"

namespace zv::engine {

using namespace server_parts;
using riichi::Action;

namespace {
// After this many decisions in a row that ran out of time, the seat is away.
constexpr int kTimeoutsUntilAway = 3;
}  // namespace

void GameServer::Step(int seat, const Action& action) {
    std::string error;
    if (!game_->Apply(seat, action, &error)) {
        log_("seat " + std::to_string(seat) + ": " + error);
        return;
    }
    const auto& events = game_->Current().StepEvents();
    for (int s = 0; s < 4; ++s) {
        Seat& st = seats_[Idx(s)];
        if (st.conn == nullptr) continue;
        bool told = false;
        for (const riichi::TableEvent& e : events) {
            std::string line = EventLine(riichi::ForSeat(e, s));
            if (line.empty()) continue;
            Send(st.conn, line);
            told = true;
        }
        if (told) Send(st.conn, ViewLine(game_->View(s)));
    }
}

void GameServer::ComputerDecides(int seat) {
    riichi::SeatView view = game_->View(seat);
    if (view.legal.empty()) return;
    Action action = seats_[Idx(seat)].computer->Decide(view);
    action = riichi::LegalAnswer(game_->Current(), seat, action);
    Step(seat, action);
}

void GameServer::Drive() {
    if (!game_ || pausing_) return;
    for (int guard = 0; guard < 10000; ++guard) {
        if (game_->Current().Over()) {
            HandOver();
            return;
        }
        int seat = riichi::NextComputerSeat(game_->Current(), [this](int pending) { return Ask(pending); });
        if (seat < 0) return;
        ComputerDecides(seat);
    }
}

bool GameServer::Ask(int seat) {
    Seat& s = seats_[Idx(seat)];
    if (s.asked) return true;
    if (s.conn == nullptr) return false;
    s.askId = nextAsk_++;
    Send(s.conn, AskLine(s.askId, config_.decisionMs, game_->Current().LegalActions(seat)));
    if (s.away) return false;  // the question is shown but not waited for
    s.asked = true;
    s.deadline = Now() + Ms(config_.decisionMs);
    return true;
}

void GameServer::Answer(Connection& c, long askId, const Action* action) {
    if (c.seat < 0 || !game_) {
        Send(&c, "REFUSED turn no decision is asked of you");
        log_(c.name() + ": an answer out of the game refused");
        return;
    }
    Seat& s = seats_[Idx(c.seat)];
    if (s.away) {
        ComeBack(c.seat);
        // An answer to a question the computer player took meanwhile is not refused.
        if (action != nullptr && !s.asked && askId <= s.askId) return;
    }
    if (action == nullptr) {
        if (!s.nextPending || askId != s.askId) {
            Send(&c, "REFUSED turn nothing to go on from");
            return;
        }
        s.nextPending = false;
        if (!Reading()) AfterPause();
        return;
    }
    if (!s.asked || askId != s.askId) {
        Send(&c, "REFUSED turn no decision " + std::to_string(askId) + " is open for you");
        log_(c.request.name + ": " + ActionWord(*action) + " out of turn refused");
        return;
    }
    if (!game_->Current().IsLegal(c.seat, *action)) {
        Send(&c, "REFUSED action " + ActionWord(*action) + " is not allowed now");
        log_(c.request.name + ": illegal " + ActionWord(*action) + " refused");
        return;
    }
    s.asked = false;
    s.timeouts = 0;
    Step(c.seat, *action);
    Drive();
}

void GameServer::ComeBack(int seat) {
    Seat& s = seats_[Idx(seat)];
    s.away = false;
    s.timeouts = 0;
    log_(s.request.name + " answers again; seat " + std::to_string(seat) + " waits for its decisions");
    SendAll("BACK " + std::to_string(seat));
}

bool GameServer::Reading() const {
    return std::any_of(seats_.begin(), seats_.end(), [](const Seat& s) { return s.nextPending && !s.away; });
}

void GameServer::CheckTimers() {
    auto now = Now();
    CheckConnections(now);
    if (!game_) return;
    if (pausing_) {
        // Everyone has read the result, or left, or the time is up.
        if (!Reading() || now > pauseUntil_) AfterPause();
        return;
    }
    for (int seat = 0; seat < 4; ++seat) {
        Seat& s = seats_[Idx(seat)];
        if (!s.asked || now < s.deadline) continue;
        s.asked = false;
        Send(s.conn, "TIMEOUT " + std::to_string(s.askId));
        log_(s.request.name + " did not answer in time; the computer player decides");
        if (++s.timeouts >= kTimeoutsUntilAway && !s.away) {
            s.away = true;
            log_(s.request.name + " has not answered " + std::to_string(s.timeouts) +
                 " times in a row; the computer player plays seat " + std::to_string(seat) +
                 " at once until it answers");
            SendAll("AWAY " + std::to_string(seat));
        }
        ComputerDecides(seat);
        Drive();
        if (!game_ || pausing_) return;
    }
}

}  // namespace zv::engine
