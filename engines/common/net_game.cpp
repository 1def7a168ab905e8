#include "net_game.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <sstream>

#include "config/file_io.h"
#include "engine_paths.h"
#include "parse_int.h"
#include "seat_answers.h"
#include "seat_token.h"
#include "secure_random.h"
#include "utf8_text.h"

namespace zv::engine {
namespace {

using Clock = std::chrono::steady_clock;
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

std::chrono::milliseconds Ms(int ms) { return std::chrono::milliseconds(ms); }

// Writes all of `data` to fd; false on an error.
bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A seed from the system's secure random source, never from the clock, so
// that nobody can work out a game's walls from when it started.
std::uint64_t SecureRandomSeed() {
    std::uint64_t value = 0;
    SecureRandomBytes(&value, sizeof value);
    return value;
}

// Flushes the folder holding `path`, so that a rename in it lasts.
void SyncFolder(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Whether `bytes` is a whole record: its first line, and a game's last line at the end.
bool IsWholeRecord(const std::string& bytes) {
    const std::string head = std::string(kRecordMagic) + "\r\n";
    if (bytes.rfind(head, 0) != 0 || bytes.size() < head.size() + 2 ||
        bytes.compare(bytes.size() - 2, 2, "\r\n") != 0)
        return false;
    std::size_t start = bytes.rfind("\r\n", bytes.size() - 3) + 2;
    return bytes.compare(start, 5, "end: ") == 0;
}

// The copy a write of the record left behind (a crash between writing it and
// putting it in place) is put in place when it is the record with a whole
// game more, and removed otherwise. Returns what was done, for the log.
std::string RecoverRecord(const std::string& path) {
    const std::string temporary = path + ".new";
    if (::access(temporary.c_str(), F_OK) != 0) return {};
    auto pending = ReadWholeFile(temporary);
    auto current = ReadWholeFile(path);
    if (!pending || (!current && ::access(path.c_str(), F_OK) == 0))
        return temporary + ": cannot read it or the record; both are left as they are";
    const std::string kept = current.value_or("");
    if (IsWholeRecord(*pending) && pending->size() > kept.size() &&
        pending->compare(0, kept.size(), kept) == 0) {
        if (::rename(temporary.c_str(), path.c_str()) != 0) return temporary + ": cannot put it in place";
        SyncFolder(path);
        return path + ": the last game written before the server stopped was taken from " + temporary;
    }
    ::unlink(temporary.c_str());
    SyncFolder(path);
    return temporary + ": an unfinished copy of the record was removed";
}

// Adds one game's block to the record: a new file beside it gets the record
// as it is, copied piece by piece, and the block, and then takes its place.
// Earlier games, of this run or of earlier ones, are kept. Neither the server
// nor this copy keeps more than one game in memory, however long a resident
// server runs.
std::string AppendRecordBlock(const std::string& path, const std::vector<std::string>& block) {
    const std::string problem = path + ": cannot write the record file";
    const std::string temporary = path + ".new";
    int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0 && errno != ENOENT) return problem;  // never replace a record that cannot be read
    int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        if (in >= 0) ::close(in);
        return problem;
    }
    bool ok = true;
    bool copied = false;
    if (in >= 0) {
        char chunk[65536];
        for (ssize_t n; ok && (n = ::read(in, chunk, sizeof chunk)) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            ok = n > 0 && WriteAll(out, chunk, static_cast<std::size_t>(n));
            copied = copied || n > 0;
        }
        ::close(in);
    }
    std::string bytes = EncodeCrLfLines(block);
    if (!copied) bytes = EncodeCrLfLines({kRecordMagic}) + bytes;
    ok = ok && WriteAll(out, bytes.data(), bytes.size()) && ::fsync(out) == 0;
    ok = (::close(out) == 0) && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) {
        SyncFolder(path);
        return {};
    }
    ::unlink(temporary.c_str());
    return problem;
}

// The address of a connected peer, as "a.b.c.d".
std::string PeerHost(const sockaddr_in& addr) {
    char text[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text);
    return text;
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

// ---------------------------------------------------------------- server

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

namespace {
// After this many decisions in a row that ran out of time, the seat is away.
constexpr int kTimeoutsUntilAway = 3;
}  // namespace

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
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
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
        sockaddr_in addr{};
        socklen_t length = sizeof addr;
        int fd =
            ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&addr), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        NoDelay(fd);
        std::string host = PeerHost(addr);
        std::string peer = host + ":" + std::to_string(ntohs(addr.sin_port));
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

void GameServer::StartGame() {
    int number = ++gamesPlayed_;
    std::uint64_t seed =
        config_.seed != 0 ? config_.seed + static_cast<std::uint64_t>(number) - 1 : SecureRandomSeed();
    game_ = std::make_unique<riichi::Game>(RiichiRules(config_.rules), seed);
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
        bool stepped = false;
        for (int seat : game_->PendingSeats()) {
            Seat& s = seats_[Idx(seat)];
            if (s.asked) continue;
            if (s.conn != nullptr) {
                s.askId = nextAsk_++;
                Send(s.conn, AskLine(s.askId, config_.decisionMs, game_->Current().LegalActions(seat)));
                if (!s.away) {
                    s.asked = true;
                    s.deadline = Now() + Ms(config_.decisionMs);
                    continue;
                }
                // Away: the question is shown but not waited for.
            }
            ComputerDecides(seat);
            stepped = true;
            break;
        }
        if (!stepped) return;
    }
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

void GameServer::CheckTimers() {
    auto now = Now();
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
        // A peer that has been quiet for a while is asked to say something.
        if (c->joined && now - c->heard > Ms(config_.heartbeatMs) &&
            now - c->pinged > Ms(config_.heartbeatMs)) {
            Send(c.get(), "PING");
            c->pinged = now;
        }
    }
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

        std::vector<pollfd> fds;
        fds.push_back({Finished() ? -1 : listenFd_, POLLIN, 0});
        for (auto& c : connections_)
            fds.push_back(
                {c->fd, static_cast<short>((c->closing ? 0 : POLLIN) | (c->out.empty() ? 0 : POLLOUT)), 0});
        // Wake for the nearest deadline, or at least every 50 ms for the others.
        auto wake = Now() + Ms(50);
        for (const Seat& s : seats_)
            if (s.asked) wake = std::min(wake, s.deadline);
        if (pausing_) wake = std::min(wake, pauseUntil_);
        auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(wake - Now()).count();
        int ready = ::poll(fds.data(), fds.size(), static_cast<int>(std::clamp<long long>(wait + 1, 0, 50)));
        if (ready < 0) {
            if (errno == EINTR) continue;
            log_("poll failed");
            return 1;
        }
        if (fds[0].fd >= 0 && (fds[0].revents & POLLIN)) Accept();
        const std::size_t polled = fds.size() - 1;
        for (std::size_t i = 0; i < polled && i < connections_.size(); ++i) {
            Connection& c = *connections_[i];
            if (c.dead) continue;
            if (fds[i + 1].revents & (POLLIN | POLLHUP | POLLERR)) {
                if (c.closing) {
                    if (fds[i + 1].revents & (POLLHUP | POLLERR)) {
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
    if (fd_ < 0) return updates;
    pollfd p{fd_, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0};
    int ready = ::poll(&p, 1, timeoutMs);
    if (ready < 0 && errno != EINTR) {
        Fail(Update::Lost, "poll failed", updates);
        return updates;
    }
    if (!out_.empty() && !SendSome(fd_, out_)) {
        Fail(Update::Lost, "the server closed the connection", updates);
        return updates;
    }
    if (ready <= 0) {
        // The server says something at least every few seconds while a game is on.
        if (std::chrono::steady_clock::now() - lastHeard_ > std::chrono::seconds(90))
            Fail(Update::Lost, "the server at " + where_ + " stopped answering", updates);
        return updates;
    }
    std::vector<std::string> lines;
    bool tooLong = false;
    bool open = reader_.ReadAvailable(fd_, lines, tooLong);
    if (!lines.empty()) lastHeard_ = std::chrono::steady_clock::now();
    for (const std::string& line : lines) {
        Line(line, updates);
        if (fd_ < 0) return updates;
    }
    if (!open) {
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
        gameRules_ = ParseRulesWords(rest);
        view_.rules = RiichiRules(gameRules_);
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
