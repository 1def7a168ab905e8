#include "net/net_game.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "app/engine_paths.h"
#include "base/parse_int.h"
#include "base/secure_random.h"
#include "base/utf8_text.h"
#include "config/file_io.h"
#include "net/seat_token.h"
#include "platform/stream_sockets.h"
#include "riichi/game.h"

namespace zv::engine {
namespace {

using riichi::Action;

std::size_t Idx(int seat) { return static_cast<std::size_t>(seat); }

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool ToInt(const std::string& word, int& value) {
    return ParseInt(word, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), value);
}

}  // namespace

std::string EscapeForLog(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    auto escape = [&](unsigned char c) {
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
            ++i;
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
            ++i;
        } else if (std::size_t length = c >= 0x80 ? Utf8CharacterLength(text, i) : 0;
                   length > 0 && !(c == 0xc2 && static_cast<unsigned char>(text[i + 1]) < 0xa0)) {
            out.append(text, i, length);  // a character, but not one of the C1 controls U+0080..U+009F
            i += length;
        } else {
            escape(c);
            ++i;
        }
    }
    return out;
}

bool ParseResultWords(const std::string& words, PlayerStats& p) {
    auto w = Words(words);
    if (w.size() != 12) return false;
    PlayerStats parsed = p;
    int* fields[] = {&parsed.place,     &parsed.points,   &parsed.chips,        &parsed.plays,
                     &parsed.reaches,   &parsed.calls,    &parsed.tsumoPoints,  &parsed.tsumoCount,
                     &parsed.ronPoints, &parsed.ronCount, &parsed.dealInPoints, &parsed.dealInCount};
    for (std::size_t i = 0; i < 12; ++i)
        if (!ToInt(w[i], *fields[i])) return false;
    if (parsed.place < 1 || parsed.place > 4) return false;
    p = parsed;
    return true;
}

bool ParseYakuWord(const std::string& word, PlayerStats& p) {
    if (word.size() != static_cast<std::size_t>(kYakuCount)) return false;
    if (!std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    for (int i = 0; i < kYakuCount; ++i) p.yaku[Idx(i)] = word[Idx(i)] - '0';
    return true;
}

// ---------------------------------------------------------------- client

NetSession::~NetSession() { Close(); }

void NetSession::Close() {
    CloseSocket(fd_);
    fd_ = -1;
}

bool NetSession::Connect(const std::string& host, int port, const JoinRequest& request, std::string& message,
                         int timeoutMs) {
    Close();
    where_ = host + ":" + std::to_string(port);
    fd_ = ConnectTcp(host, port, timeoutMs, message);
    if (fd_ < 0) return false;
    reader_ = LineReader{};
    pending_.clear();
    discardToShow_ = false;
    out_.clear();
    greeted_ = false;
    asked_ = false;
    gameOver_ = false;
    haveResult_ = haveYaku_ = false;
    away_ = {};
    result_ = NetGameResult{};
    message_.clear();
    token_ = request.token;
    lastHeard_ = std::chrono::steady_clock::now();
    Send(JoinLine(request));
    return true;
}

void NetSession::Send(const std::string& line) {
    if (fd_ < 0) return;
    out_ += line;
    out_ += '\n';
    if (!SendSome(fd_, out_)) {
        Close();
        message_ = "the server closed the connection";
    }
}

void NetSession::Answer(const Action& action) {
    if (!asked_ || ask_.next) return;
    asked_ = false;
    view_.legal.clear();
    Send("ACT " + std::to_string(ask_.id) + " " + ActionWord(action));
}

void NetSession::Next() {
    if (!asked_ || !ask_.next) return;
    asked_ = false;
    Send("ACT " + std::to_string(ask_.id) + " next");
}

void NetSession::Quit() {
    Send("QUIT");
    Close();
}

void NetSession::Fail(Update update, const std::string& message, std::vector<Update>& updates) {
    message_ = message;
    updates.push_back(update);
    Close();
}

std::vector<NetSession::Update> NetSession::Poll(int timeoutMs) {
    std::vector<Update> updates;
    stoppedAtDiscard_ = false;
    if (fd_ < 0) return updates;
    std::vector<SocketWait> waits{{fd_, true, !out_.empty()}};
    int ready =
        CurrentStreamSockets().Wait(waits, std::chrono::milliseconds(pending_.empty() ? timeoutMs : 0));
    if (ready < 0) {
        Fail(Update::Lost, "poll failed", updates);
        return updates;
    }
    if (!out_.empty() && !SendSome(fd_, out_)) {
        Fail(Update::Lost, "the server closed the connection", updates);
        return updates;
    }
    if (ready <= 0 && pending_.empty()) {
        // The server says something at least every few seconds while a game is on.
        if (std::chrono::steady_clock::now() - lastHeard_ > std::chrono::seconds(90))
            Fail(Update::Lost, "the server at " + where_ + " stopped answering", updates);
        return updates;
    }
    bool tooLong = false, open = true;
    if (ready > 0) {
        std::vector<std::string> lines;
        open = reader_.ReadAvailable(fd_, lines, tooLong);
        if (!lines.empty()) lastHeard_ = std::chrono::steady_clock::now();
        pending_.insert(pending_.end(), lines.begin(), lines.end());
    }
    while (!pending_.empty()) {
        std::string line = std::move(pending_.front());
        pending_.pop_front();
        std::size_t before = updates.size();
        Line(line, updates);
        if (fd_ < 0) return updates;
        if (stopAfterDiscards_ && updates.size() > before && StopsAfter(updates.back())) {
            stoppedAtDiscard_ = true;
            break;
        }
    }
    // A closed connection is taken as such once every line before it was.
    if (!open && (tooLong || pending_.empty())) {
        if (gameOver_) {
            Close();
        } else {
            Fail(Update::Lost,
                 tooLong ? "the server sent a line that is too long"
                         : "the server closed the connection before the game ended",
                 updates);
        }
    }
    return updates;
}

// The table after another seat's discard comes in the VIEW line after the
// discard's events: that is where Poll stops.
bool NetSession::StopsAfter(Update update) {
    if (update == Update::Event && event_.type == riichi::EventType::Discard && event_.seat != seat())
        discardToShow_ = true;
    if (update != Update::Table || !discardToShow_) return false;
    discardToShow_ = false;
    return true;
}

void NetSession::Line(const std::string& line, std::vector<Update>& updates) {
    std::size_t blank = line.find(' ');
    std::string command = line.substr(0, blank);
    std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (!greeted_) {
        auto w = Words(rest);
        if (command != "HELLO" || w.empty() || w[0] != "zvserver") {
            Fail(Update::Refused, "the server at " + where_ + " is not a game server", updates);
            return;
        }
        int version = 0;
        if (w.size() < 2 || !ToInt(w[1], version) || version != kProtocolVersion) {
            Fail(Update::Refused,
                 "the game server at " + where_ + " speaks another version of the protocol (" +
                     (w.size() > 1 ? w[1] : "?") + ", this program " + std::to_string(kProtocolVersion) + ")",
                 updates);
            return;
        }
        greeted_ = true;
        return;
    }
    riichi::TableEvent event;
    bool complete = false, bad = false;
    if (command == "PING") {
        Send("PONG");
    } else if (command == "WELCOME") {
        auto w = Words(rest);
        int seat = -1;
        if (w.empty() || !ToInt(w[0], seat) || seat < 0 || seat > 3) {
            Fail(Update::Lost, "the server sent a bad seat", updates);
            return;
        }
        result_.seat = seat;
        if (w.size() > 1 && IsSeatToken(w[1])) token_ = w[1];
        updates.push_back(Update::Seated);
    } else if (command == "WAITING") {
        ToInt(rest, waiting_);
        updates.push_back(Update::Waiting);
    } else if (command == "REFUSED") {
        auto w = Words(rest);
        std::string reason = w.empty() ? "" : w[0];
        std::string text = rest.size() > reason.size() ? rest.substr(reason.size() + 1) : reason;
        // Refusals of a join end the session; those of an action are reported only.
        if (reason == "action" || reason == "turn") {
            message_ = "the server refused: " + text;
            return;
        }
        if (reason == "full") text = "the game server's table is full";
        Fail(Update::Refused, "the server refused: " + text, updates);
    } else if (command == "GAME") {
        ToInt(rest, result_.gameNumber);
        asked_ = false;
    } else if (command == "PLAYER") {
        auto w = Words(rest);
        int seat = -1;
        if (w.size() >= 4 && ToInt(w[0], seat) && seat >= 0 && seat < 4) {
            result_.seats[Idx(seat)] = {w[2], w[3]};
            kinds_[Idx(seat)] = w[1];
        }
    } else if (command == "RULES") {
        view_.rules = ParseRulesWords(rest);
        updates.push_back(Update::GameStart);
    } else if (command == "HAND") {
        asked_ = false;
        updates.push_back(Update::HandStart);
    } else if (command == "VIEW") {
        riichi::SeatView v = view_;
        if (!ParseViewLine(line, v)) {
            Fail(Update::Lost, "the server sent a table that cannot be read", updates);
            return;
        }
        v.legal = asked_ && !ask_.next ? ask_.actions : std::vector<Action>{};
        view_ = v;
        updates.push_back(Update::Table);
    } else if (command == "ASK") {
        Ask ask;
        if (!ParseAskLine(line, ask)) {
            Fail(Update::Lost, "the server asked something that cannot be read", updates);
            return;
        }
        ask_ = ask;
        asked_ = true;
        view_.legal = ask.next ? std::vector<Action>{} : ask.actions;
        updates.push_back(Update::Ask);
    } else if (command == "AWAY" || command == "BACK") {
        int seat = -1;
        if (!ToInt(rest, seat) || seat < 0 || seat > 3) return;
        away_[Idx(seat)] = command == "AWAY";
        awaySeat_ = seat;
        updates.push_back(Update::Away);
    } else if (command == "TIMEOUT") {
        asked_ = false;
        view_.legal.clear();
        updates.push_back(Update::TimedOut);
    } else if (ends_.Take(line, complete, bad)) {
        if (bad) {
            Fail(Update::Lost, "the server sent a hand's result that cannot be read", updates);
            return;
        }
        if (complete) updates.push_back(Update::HandOver);
    } else if (ParseEventLine(line, event)) {
        event_ = event;
        updates.push_back(Update::Event);
    } else if (command == "GAMEEND") {
        auto w = Words(rest);
        if (w.size() == 3) {
            ToInt(w[1], result_.leftoverSticks);
            result_.bustOut = w[2] == "1";
        }
    } else if (command == "STANDING") {
        int seat = -1;
        riichi::SeatTotals totals;
        if (ParseStandingLine(line, seat, totals)) result_.standings[Idx(seat)] = totals;
    } else if (command == "REC") {
        if (result_.recordLines.size() < 100000) result_.recordLines.push_back(rest);
    } else if (command == "RESULT") {
        haveResult_ = ParseResultWords(rest, result_.mine);
    } else if (command == "YAKU") {
        haveYaku_ = ParseYakuWord(rest, result_.mine);
    } else if (command == "END") {
        if (!haveResult_ || !haveYaku_) {
            Fail(Update::Lost, "the server sent no valid result", updates);
            return;
        }
        gameOver_ = true;
        asked_ = false;
        updates.push_back(Update::GameOver);
    }
    // Anything else is a line of a later version: skipped.
}

NetStatus PlayNetworkGame(const std::string& host, int port, const JoinRequest& request,
                          NetGameResult& result, std::string& message, const LogFn& progress,
                          const std::atomic<bool>* cancel, const LogFn& keepToken) {
    NetSession session;
    if (!session.Connect(host, port, request, message)) return NetStatus::ConnectFailed;
    progress("connected to " + host + ":" + std::to_string(port));
    std::unique_ptr<players::Player> player;
    for (;;) {
        if (cancel != nullptr && cancel->load()) {
            session.Quit();
            message = "cancelled";
            return NetStatus::Cancelled;
        }
        for (NetSession::Update u : session.Poll(200)) {
            switch (u) {
                case NetSession::Update::Seated:
                    progress("seated, waiting for the other players");
                    if (keepToken && !session.token().empty()) keepToken(session.token());
                    break;
                case NetSession::Update::Waiting:
                    progress(std::to_string(session.waitingCount()) + " of 4 players are here");
                    break;
                case NetSession::Update::GameStart:
                    progress("the game starts");
                    player = players::MakeCharacterPlayer(
                        request.style, players::SeatSeed(ChooseSeed() + static_cast<std::uint64_t>(
                                                                            session.result().gameNumber),
                                                         session.seat()));
                    break;
                case NetSession::Update::Ask:
                    if (session.ask().next) {
                        session.Next();
                    } else if (player != nullptr && !session.view().legal.empty()) {
                        session.Answer(player->Decide(session.view()));
                    }
                    break;
                case NetSession::Update::GameOver:
                    result = session.result();
                    return NetStatus::Played;
                case NetSession::Update::Refused:
                    message = session.message();
                    return NetStatus::Refused;
                case NetSession::Update::Lost:
                    message = session.message();
                    return NetStatus::Lost;
                default:
                    break;
            }
        }
        if (!session.connected()) {
            message = session.message().empty() ? "the connection was lost" : session.message();
            return NetStatus::Lost;
        }
    }
}

}  // namespace zv::engine
