// The game server's session: one game from its start to its end: the
// players and rules told to every seat, each hand dealt and closed with a
// pause for reading its result, and at the end the results sent and the game
// added to the record.
#include "net/net_server_parts.h"

#include "app/engine_paths.h"
#include "base/secure_random.h"
#include "net/net_record.h"

namespace zv::engine {

using namespace server_parts;

namespace {

// A seed from the system's secure random source, never from the clock, so
// that nobody can work out a game's walls from when it started.
std::uint64_t SecureRandomSeed() {
    std::uint64_t value = 0;
    SecureRandomBytes(&value, sizeof value);
    return value;
}

}  // namespace

void GameServer::StartGame() {
    int number = ++gamesPlayed_;
    std::uint64_t seed =
        config_.seed != 0 ? config_.seed + static_cast<std::uint64_t>(number) - 1 : SecureRandomSeed();
    game_ = std::make_unique<riichi::Game>(config_.rules, seed);
    std::array<SeatStyle, 4> styles{};
    for (std::size_t s = 0; s < 4; ++s) styles[s].style = seats_[s].request.style;
    auto computers = MakeSeatPlayers(styles, seed);
    for (std::size_t s = 0; s < 4; ++s) seats_[s].computer = std::move(computers[s]);
    log_("game " + std::to_string(number) + " starts");
    for (std::size_t s = 0; s < 4; ++s) {
        Connection* c = seats_[s].conn;
        // The seat for good (someone may have left meanwhile).
        Send(c, "WELCOME " + std::to_string(s) + " " + seats_[s].token);
        Send(c, "GAME " + std::to_string(number));
        for (std::size_t o = 0; o < 4; ++o) {
            const JoinRequest& r = seats_[o].request;
            Send(c, "PLAYER " + std::to_string(o) + " " + r.kind + " " + r.name + " " +
                        (r.style.displayName.empty() ? r.name : r.style.displayName));
        }
        Send(c, "RULES " + RulesWords(config_.rules));
    }
    StartHand();
}

void GameServer::StartHand() {
    handStart_ = riichi::StartOf(game_->Current());
    for (int s = 0; s < 4; ++s) {
        Connection* c = seats_[Idx(s)].conn;
        if (c == nullptr) continue;
        riichi::HandStart mine = riichi::ForSeat(handStart_, s);
        Send(c, HandStartLine(mine, s));
        Send(c, EventLine(mine.dealerDraw));
        Send(c, ViewLine(game_->View(s)));
    }
    Drive();
}

void GameServer::HandOver() {
    const riichi::Hand& hand = game_->Current();
    if (config_.onHandOver) config_.onHandOver(hand);
    for (Seat& s : seats_) s.asked = false;
    auto lines = HandEndLines(hand.Result());
    pausing_ = true;
    pauseUntil_ = Now() + Ms(config_.handPauseMs);
    bool waiting = false;
    for (Seat& s : seats_) {
        if (s.conn == nullptr) continue;
        for (const std::string& line : lines) Send(s.conn, line);
        s.nextPending = true;
        s.askId = nextAsk_++;
        Send(s.conn, "ASK " + std::to_string(s.askId) + " " + std::to_string(config_.handPauseMs) + " next");
        waiting = waiting || !s.away;
    }
    if (!waiting) AfterPause();
}

void GameServer::AfterPause() {
    pausing_ = false;
    for (Seat& s : seats_) s.nextPending = false;
    if (game_->NextHand()) {
        StartHand();
        return;
    }
    EndGame();
}

void GameServer::EndGame() {
    int number = gamesPlayed_;
    GameOutcome outcome = OutcomeOf(*game_);
    std::array<RecordSeat, 4> record{};
    for (std::size_t s = 0; s < 4; ++s)
        record[s] = {seats_[s].request.name, seats_[s].request.style.displayName};
    std::vector<std::string> block = RecordLines(number, "zvserver", config_.rules, record, outcome);
    const auto& totals = game_->Totals();
    for (std::size_t s = 0; s < 4; ++s) {
        const PlayerStats& p = outcome.players[s];
        log_("game " + std::to_string(number) + ": " + seats_[s].request.name + " place " +
             std::to_string(p.place) + " score " + std::to_string(p.finalScore) + " points " +
             std::to_string(p.points));
        Connection* c = seats_[s].conn;
        if (c == nullptr) continue;
        Send(c, "GAMEEND " + std::to_string(number) + " " + std::to_string(game_->LeftoverSticks()) + " " +
                    (game_->BustOut() ? "1" : "0"));
        for (int o = 0; o < 4; ++o) Send(c, StandingLine(o, totals[Idx(o)]));
        Send(c, "RESULT " + ResultLine(p).substr(std::string("result: ").size()));
        Send(c, "YAKU " + YakuLine(p).substr(std::string("yaku: ").size()));
        for (const std::string& line : block) Send(c, "REC " + line);
        Send(c, "END " + std::to_string(number));
        c->closing = true;
        c->since = Now();
        c->seat = -1;
        c->joined = false;
    }
    if (!config_.recordPath.empty()) {
        std::string problem = CheckRecordPath(config_.recordPath);
        if (problem.empty()) problem = AppendRecordBlock(config_.recordPath, block);
        if (!problem.empty()) log_(problem);
    }
    seats_.clear();
    game_.reset();
    gameOver_ = true;
    if (Finished()) {
        // Nobody else gets a seat here: every other connection goes once told so.
        for (auto& o : connections_) {
            if (o->dead || o->closing) continue;
            Send(o.get(), "REFUSED over the game is over");
            o->closing = true;
            o->since = Now();
        }
    }
    TellWaiting();
}

bool GameServer::Finished() const { return gameOver_ && !config_.resident; }

}  // namespace zv::engine
