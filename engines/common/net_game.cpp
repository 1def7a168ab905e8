#include "net_game.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdlib>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "engine_paths.h"
#include "net_lines.h"

namespace zv::engine {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool ToInt(const std::string& word, int& value) {
    if (word.empty() || word.size() > 10) return false;
    std::size_t i = word[0] == '-' ? 1 : 0;
    if (i >= word.size()) return false;
    long long v = 0;
    for (; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') return false;
        v = v * 10 + (word[i] - '0');
    }
    value = static_cast<int>(word[0] == '-' ? -v : v);
    return true;
}

}  // namespace

// ---------------------------------------------------------------- joining

std::string JoinLine(const JoinRequest& r) {
    const CharacterStyle& s = r.style;
    std::string line = "JOIN " + OneWord(r.kind) + " " + OneWord(r.name);
    if (!s.displayName.empty()) line += " shown=" + OneWord(s.displayName);
    for (const WeightKey& w : WeightKeys())
        line += std::string(" ") + w.key + "=" + std::to_string(s.*w.field);
    return line;
}

bool ParseJoinLine(const std::string& line, JoinRequest& r) {
    auto words = Words(line);
    if (words.size() < 3 || words[0] != "JOIN") return false;
    if (words[1] != "human" && words[1] != "auto") return false;
    r = JoinRequest{};
    r.kind = words[1];
    r.name = OneWord(words[2]);
    for (std::size_t i = 3; i < words.size(); ++i) {
        std::size_t eq = words[i].find('=');
        if (eq == std::string::npos) continue;
        std::string key = words[i].substr(0, eq);
        std::string value = words[i].substr(eq + 1);
        int n = 0;
        if (key == "shown") {
            r.style.displayName = OneWord(value);
            continue;
        }
        if (!ToInt(value, n)) continue;
        for (const WeightKey& w : WeightKeys())
            if (key == w.key) r.style.*w.field = std::clamp(n, w.low, w.high);
    }
    return true;
}

bool ParseResultWords(const std::string& words, PlayerStats& p) {
    auto w = Words(words);
    if (w.size() != 12) return false;
    int* fields[] = {&p.place,     &p.points,   &p.chips,        &p.plays,
                     &p.reaches,   &p.calls,    &p.tsumoPoints,  &p.tsumoCount,
                     &p.ronPoints, &p.ronCount, &p.dealInPoints, &p.dealInCount};
    PlayerStats parsed = p;
    int* parsedFields[] = {&parsed.place,     &parsed.points,   &parsed.chips,        &parsed.plays,
                           &parsed.reaches,   &parsed.calls,    &parsed.tsumoPoints,  &parsed.tsumoCount,
                           &parsed.ronPoints, &parsed.ronCount, &parsed.dealInPoints, &parsed.dealInCount};
    for (std::size_t i = 0; i < 12; ++i)
        if (!ToInt(w[i], *parsedFields[i])) return false;
    if (parsed.place < 1 || parsed.place > 4) return false;
    for (std::size_t i = 0; i < 12; ++i) *fields[i] = *parsedFields[i];
    return true;
}

bool ParseYakuWord(const std::string& word, PlayerStats& p) {
    if (word.size() != static_cast<std::size_t>(kYakuCount)) return false;
    if (!std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    for (int i = 0; i < kYakuCount; ++i)
        p.yaku[static_cast<std::size_t>(i)] = word[static_cast<std::size_t>(i)] - '0';
    return true;
}

// ---------------------------------------------------------------- server

struct GameServer::Connection {
    int fd = -1;
    LineReader reader;
    std::string out;
    bool joined = false;
    bool closing = false;  // close as soon as `out` is sent
    JoinRequest request;
    Clock::time_point since = Clock::now();  // connected, or (closing) when closing began

    void Close(const std::string& lastWords) {
        out += lastWords;
        closing = true;
        since = Clock::now();
    }
};

GameServer::GameServer(ServerConfig config, LogFn log) : config_(std::move(config)), log_(std::move(log)) {}

GameServer::~GameServer() {
    for (Connection* c : connections_) {
        CloseSocket(c->fd);
        delete c;
    }
    CloseSocket(listenFd_);
}

bool GameServer::Open(std::string& error) {
    listenFd_ = ListenTcp(config_.bindAddress, config_.port, error);
    if (listenFd_ < 0) return false;
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    return true;
}

void GameServer::PlayAndSend() {
    std::vector<Connection*> seated;
    for (Connection* c : connections_)
        if (c->joined && !c->closing) seated.push_back(c);
    std::array<SeatStyle, 4> styles{};
    std::array<RecordSeat, 4> seats{};
    for (std::size_t s = 0; s < 4; ++s) {
        styles[s].style = seated[s]->request.style;
        seats[s] = {seated[s]->request.name, seated[s]->request.style.displayName};
    }
    int number = ++gamesPlayed_;
    std::uint64_t seed =
        config_.seed != 0 ? config_.seed + static_cast<std::uint64_t>(number) - 1 : ChooseSeed();
    GameOutcome game = PlayGame(config_.rules, styles, seed);
    std::vector<std::string> block = RecordLines(number, "zvserver", config_.rules, seats, game);
    recordBlocks_.insert(recordBlocks_.end(), block.begin(), block.end());

    std::string common = "START " + std::to_string(number) + "\n";
    for (std::size_t s = 0; s < 4; ++s) {
        common += "PLAYER " + std::to_string(s) + " " + seated[s]->request.kind + " " +
                  OneWord(seats[s].name) + " " +
                  OneWord(seats[s].displayName.empty() ? seats[s].name : seats[s].displayName) + "\n";
    }
    for (const std::string& line : block) common += "REC " + line + "\n";
    for (std::size_t s = 0; s < 4; ++s) {
        const PlayerStats& p = game.players[s];
        std::string result = ResultLine(p).substr(std::string("result: ").size());
        std::string yaku = YakuLine(p).substr(std::string("yaku: ").size());
        seated[s]->Close(common + "RESULT " + result + "\nYAKU " + yaku + "\nEND " + std::to_string(number) +
                         "\n");
        log_("game " + std::to_string(number) + ": " + seats[s].name + " place " + std::to_string(p.place) +
             " score " + std::to_string(p.finalScore) + " points " + std::to_string(p.points));
    }
    if (!config_.recordPath.empty()) {
        std::string problem = CheckRecordPath(config_.recordPath);
        if (problem.empty()) problem = SaveRecord(config_.recordPath, recordBlocks_);
        if (!problem.empty()) log_(problem);
    }
}

int GameServer::Run(const std::atomic<bool>& stop) {
    bool gameOver = false;
    while (!stop.load()) {
        // Drop connections that are finished.
        for (auto it = connections_.begin(); it != connections_.end();) {
            Connection* c = *it;
            bool expired = !c->joined && !c->closing &&
                           Clock::now() - c->since > std::chrono::milliseconds(config_.joinTimeoutMs);
            if (expired) c->Close("ERROR no JOIN received\n");
            // A peer that does not take its last lines within this time is dropped.
            if (c->fd < 0 || (c->closing && c->out.empty()) ||
                (c->closing && Clock::now() - c->since > std::chrono::seconds(30))) {
                CloseSocket(c->fd);
                delete c;
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
        if (gameOver && !config_.resident && connections_.empty()) return 0;

        std::vector<pollfd> fds;
        fds.push_back({gameOver && !config_.resident ? -1 : listenFd_, POLLIN, 0});
        for (Connection* c : connections_)
            fds.push_back({c->fd, static_cast<short>(POLLIN | (c->out.empty() ? 0 : POLLOUT)), 0});
        int ready = ::poll(fds.data(), fds.size(), 200);
        if (ready < 0) {
            if (errno == EINTR) continue;
            log_("poll failed");
            return 1;
        }
        const std::size_t polled = connections_.size();
        if (fds[0].fd >= 0 && (fds[0].revents & POLLIN)) {
            for (;;) {
                int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (fd < 0) break;
                auto* c = new Connection;
                c->fd = fd;
                c->out = "HELLO zvserver " + std::to_string(kProtocolVersion) + "\n";
                connections_.push_back(c);
            }
        }
        bool seatsChanged = false;
        for (std::size_t i = 0; i < polled; ++i) {
            Connection* c = connections_[i];
            short revents = fds[i + 1].revents;
            if (revents & (POLLIN | POLLHUP | POLLERR)) {
                std::vector<std::string> lines;
                bool tooLong = false;
                bool open = c->reader.ReadAvailable(c->fd, lines, tooLong);
                for (const std::string& line : lines) {
                    if (c->closing) break;
                    if (line.rfind("JOIN", 0) == 0 && !c->joined) {
                        int seated = static_cast<int>(
                            std::count_if(connections_.begin(), connections_.end(),
                                          [](Connection* o) { return o->joined && !o->closing; }));
                        if (!ParseJoinLine(line, c->request)) {
                            c->Close("ERROR malformed JOIN\n");
                        } else if (seated >= 4) {
                            c->Close("FULL\n");
                        } else {
                            c->joined = true;
                            c->out += "WELCOME " + std::to_string(seated) + "\n";
                            log_(c->request.kind + " player " + c->request.name + " joined");
                            seatsChanged = true;
                        }
                    } else if (line == "QUIT") {
                        seatsChanged = seatsChanged || c->joined;
                        c->joined = false;
                        c->Close("");
                    } else if (!line.empty()) {
                        c->out += "ERROR unknown command\n";
                    }
                }
                if (!open) {
                    if (tooLong) log_("a connection sent a line that is too long");
                    if (c->joined && !c->closing) {
                        log_(c->request.name + " left before the game");
                        seatsChanged = true;
                    }
                    CloseSocket(c->fd);
                    c->fd = -1;
                    c->out.clear();
                    c->joined = false;
                    continue;
                }
            }
            if (c->fd >= 0 && !c->out.empty() && !SendSome(c->fd, c->out)) {
                CloseSocket(c->fd);
                c->fd = -1;
                c->out.clear();
                if (c->joined && !c->closing) seatsChanged = true;
                c->joined = false;
            }
        }
        if (seatsChanged) {
            std::vector<Connection*> seated;
            for (Connection* c : connections_)
                if (c->joined && !c->closing && c->fd >= 0) seated.push_back(c);
            if (seated.size() == 4) {
                PlayAndSend();
                gameOver = true;
            } else {
                for (Connection* c : seated) c->out += "WAITING " + std::to_string(seated.size()) + "\n";
            }
            for (Connection* c : connections_)
                if (c->fd >= 0 && !c->out.empty() && !SendSome(c->fd, c->out)) {
                    c->out.clear();
                    c->Close("");
                }
        }
    }
    return 0;
}

// ---------------------------------------------------------------- client

NetStatus PlayNetworkGame(const std::string& host, int port, const JoinRequest& request,
                          NetGameResult& result, std::string& message, const LogFn& progress,
                          const std::atomic<bool>* cancel) {
    int fd = ConnectTcp(host, port, 5000, message);
    if (fd < 0) return NetStatus::ConnectFailed;
    struct Closer {
        int fd;
        ~Closer() { CloseSocket(fd); }
    } closer{fd};
    progress("connected to " + host + ":" + std::to_string(port));
    if (!SendAll(fd, JoinLine(request) + "\n", 5000)) {
        message = "the server closed the connection";
        return NetStatus::Lost;
    }
    result = NetGameResult{};
    LineReader reader;
    bool greeted = false;
    bool haveResult = false;
    bool haveYaku = false;
    for (;;) {
        if (cancel != nullptr && cancel->load()) {
            SendAll(fd, "QUIT\n", 1000);
            message = "cancelled";
            return NetStatus::Cancelled;
        }
        pollfd p{fd, POLLIN, 0};
        int ready = ::poll(&p, 1, 200);
        if (ready < 0 && errno != EINTR) {
            message = "poll failed";
            return NetStatus::Lost;
        }
        if (ready <= 0) continue;
        std::vector<std::string> lines;
        bool tooLong = false;
        bool open = reader.ReadAvailable(fd, lines, tooLong);
        for (const std::string& line : lines) {
            std::size_t blank = line.find(' ');
            std::string command = line.substr(0, blank);
            std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
            if (!greeted) {
                if (command != "HELLO" || rest.rfind("zvserver", 0) != 0) {
                    message = "the server at " + host + ":" + std::to_string(port) + " is not a game server";
                    return NetStatus::Refused;
                }
                greeted = true;
                continue;
            }
            if (command == "WELCOME") {
                result.seat = std::atoi(rest.c_str());
                progress("seated, waiting for the other players");
            } else if (command == "WAITING") {
                progress(rest + " of 4 players are here");
            } else if (command == "FULL") {
                message = "the game server's table is full";
                return NetStatus::Refused;
            } else if (command == "ERROR") {
                message = "the server reports: " + rest;
                return NetStatus::Refused;
            } else if (command == "START") {
                result.gameNumber = std::atoi(rest.c_str());
                progress("the game starts");
            } else if (command == "PLAYER") {
                auto w = Words(rest);
                int seat = -1;
                if (w.size() >= 4 && ToInt(w[0], seat) && seat >= 0 && seat < 4)
                    result.seats[static_cast<std::size_t>(seat)] = {w[2], w[3]};
            } else if (command == "REC") {
                result.recordLines.push_back(rest);
            } else if (command == "RESULT") {
                haveResult = ParseResultWords(rest, result.mine);
            } else if (command == "YAKU") {
                haveYaku = ParseYakuWord(rest, result.mine);
            } else if (command == "END") {
                if (!haveResult || !haveYaku) {
                    message = "the server sent no valid result";
                    return NetStatus::Lost;
                }
                return NetStatus::Played;
            }
        }
        if (!open) {
            message = tooLong ? "the server sent a line that is too long"
                              : "the server closed the connection before the game ended";
            return NetStatus::Lost;
        }
    }
}

}  // namespace zv::engine
