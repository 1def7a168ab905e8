// The reading half of the network game's protocol (net_protocol.h): every
// line and word from the other side, checked word by word.
#include <algorithm>
#include <limits>
#include <map>
#include <sstream>

#include "app/engine_paths.h"
#include "base/parse_int.h"
#include "net/net_protocol.h"
#include "net/protocol_words.h"
#include "net/seat_token.h"
#include "riichi/game.h"

namespace zv::engine {
namespace {

using namespace protocol;
using riichi::Action;
using riichi::EventType;
using riichi::TileId;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

constexpr long kMaxAskId = std::numeric_limits<long>::max();

bool ToInt(const std::string& word, int& value, int low, int high) {
    return ParseInt(word, low, high, value);
}

bool ToTile(const std::string& word, TileId& tile) {
    if (word == "-") {
        tile = -1;
        return true;
    }
    return ToInt(word, tile, 0, riichi::kTiles - 1);
}

bool ToSeat(const std::string& word, int& seat) {
    if (word == "-") {
        seat = -1;
        return true;
    }
    return ToInt(word, seat, 0, 3);
}

template <typename T>
bool ParseFour(const std::string& word, std::array<T, 4>& values, long low, long high) {
    auto parts = Split(word, ',');
    if (parts.size() != 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        long v = 0;
        if (!ParseInt(parts[i], low, high, v)) return false;
        values[i] = static_cast<T>(v);
    }
    return true;
}

// key=value words after the first `skip` words.
std::map<std::string, std::string> Keys(const std::vector<std::string>& words, std::size_t skip) {
    std::map<std::string, std::string> keys;
    for (std::size_t i = skip; i < words.size(); ++i) {
        std::size_t eq = words[i].find('=');
        if (eq != std::string::npos) keys[words[i].substr(0, eq)] = words[i].substr(eq + 1);
    }
    return keys;
}

bool ParseMeld(const std::string& text, riichi::Meld& m) {
    auto parts = Split(text, '.');
    if (parts.size() != 6 && parts.size() != 7) return false;
    bool known = false;
    for (const MeldName& n : kMeldWords)
        if (parts[0] == n.word) {
            m.type = n.type;
            known = true;
        }
    if (!known || !ToSeat(parts[1], m.from) || !ToTile(parts[2], m.called)) return false;
    m.size = static_cast<int>(parts.size()) - 3;
    m.tiles = {-1, -1, -1, -1};
    for (int i = 0; i < m.size; ++i)
        if (!ToTile(parts[Idx(i + 3)], m.tiles[Idx(i)]) || m.tiles[Idx(i)] < 0) return false;
    bool kan = m.type == riichi::MeldType::OpenKan || m.type == riichi::MeldType::ClosedKan ||
               m.type == riichi::MeldType::AddedKan;
    return kan == (m.size == 4);
}

bool ParseMeldList(const std::string& word, std::vector<riichi::Meld>& melds) {
    melds.clear();
    if (word == "-") return true;
    auto parts = Split(word, ',');
    if (parts.size() > 4) return false;
    for (const std::string& p : parts) {
        riichi::Meld m;
        if (!ParseMeld(p, m)) return false;
        melds.push_back(m);
    }
    return true;
}

bool ParseRiverList(const std::string& word, std::vector<riichi::RiverTile>& river) {
    river.clear();
    if (word == "-") return true;
    auto parts = Split(word, ',');
    if (parts.size() > 40) return false;
    for (std::string p : parts) {
        riichi::RiverTile r;
        while (!p.empty() && (p.back() == 'r' || p.back() == 'c' || p.back() == 't')) {
            char flag = p.back();
            p.pop_back();
            (flag == 'r' ? r.riichi : flag == 'c' ? r.called : r.tsumogiri) = true;
        }
        if (!ToTile(p, r.tile) || r.tile < 0) return false;
        river.push_back(r);
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------- words

bool ParseActionWord(const std::string& word, Action& action) {
    auto parts = Split(word, ':');
    if (parts.size() != 1 && parts.size() != 2 && parts.size() != 4) return false;
    Action a;
    bool known = false;
    for (const TypeName& n : kActionWords)
        if (parts[0] == n.word) {
            a.type = n.type;
            known = true;
        }
    if (!known) return false;
    if (parts.size() >= 2 && (!ToTile(parts[1], a.tile) || a.tile < 0)) return false;
    if (parts.size() == 4) {
        if (!ToTile(parts[2], a.with[0]) || !ToTile(parts[3], a.with[1])) return false;
        if (a.with[0] < 0 || a.with[1] < 0) return false;
    }
    action = a;
    return true;
}

bool ParseTileList(const std::string& word, std::vector<TileId>& tiles) {
    tiles.clear();
    if (word == "-") return true;
    auto parts = Split(word, ',');
    if (parts.size() > riichi::kTiles) return false;
    for (const std::string& p : parts) {
        TileId t = -1;
        if (!ToTile(p, t) || t < 0) return false;
        tiles.push_back(t);
    }
    return true;
}

riichi::Rules ParseRulesWords(const std::string& words) {
    riichi::Rules rules;
    for (const auto& [key, value] : Keys(Words(words), 0)) riichi::ApplyRuleKey(rules, key, value);
    rules.threePlayer = false;  // the network game is for four players
    return rules;
}

// ---------------------------------------------------------------- server lines

bool ParseEventLine(const std::string& line, riichi::TableEvent& event) {
    auto w = Words(line);
    if (w.empty()) return false;
    riichi::TableEvent e;
    const std::string& c = w[0];
    auto flags = [&](std::size_t from) {
        for (std::size_t i = from; i < w.size(); ++i) {
            if (w[i] == "tsumogiri")
                e.tsumogiri = true;
            else if (w[i] == "riichi")
                e.riichi = true;
            else if (w[i] == "rinshan")
                e.rinshan = true;
            else
                return false;
        }
        return true;
    };
    bool ok = false;
    if (c == "DRAW" && w.size() >= 3) {
        e.type = EventType::Draw;
        ok = ToSeat(w[1], e.seat) && e.seat >= 0 && ToTile(w[2], e.tile) && flags(3);
    } else if (c == "DISCARD" && w.size() >= 3) {
        e.type = EventType::Discard;
        ok = ToSeat(w[1], e.seat) && e.seat >= 0 && ToTile(w[2], e.tile) && e.tile >= 0 && flags(3);
    } else if ((c == "CHI" || c == "PON" || c == "KAN") && w.size() == 5) {
        e.type = c == "CHI" ? EventType::Chi : c == "PON" ? EventType::Pon : EventType::OpenKan;
        ok = ToSeat(w[1], e.seat) && e.seat >= 0 && ToSeat(w[2], e.from) && e.from >= 0 &&
             ToTile(w[3], e.tile) && e.tile >= 0 && ParseTileList(w[4], e.consumed) &&
             e.consumed.size() == (e.type == EventType::OpenKan ? 3u : 2u);
    } else if (c == "ANKAN" && w.size() == 3) {
        e.type = EventType::ClosedKan;
        ok = ToSeat(w[1], e.seat) && e.seat >= 0 && ParseTileList(w[2], e.consumed) && e.consumed.size() == 4;
    } else if (c == "KAKAN" && w.size() == 4) {
        e.type = EventType::AddedKan;
        ok = ToSeat(w[1], e.seat) && e.seat >= 0 && ToTile(w[2], e.tile) && e.tile >= 0 &&
             ParseTileList(w[3], e.consumed) && e.consumed.size() == 3;
    } else if (c == "DORA" && w.size() == 2) {
        e.type = EventType::NewDora;
        ok = ToTile(w[1], e.tile) && e.tile >= 0;
    } else if (c == "RIICHI" && w.size() == 2) {
        e.type = EventType::RiichiAccepted;
        ok = ToSeat(w[1], e.seat) && e.seat >= 0;
    }
    if (ok) event = e;
    return ok;
}

bool ParseViewLine(const std::string& line, riichi::SeatView& view) {
    auto w = Words(line);
    if (w.empty() || w[0] != "VIEW") return false;
    auto k = Keys(w, 1);
    riichi::SeatView v;
    v.rules = view.rules;
    auto has = [&](const char* key) { return k.count(key) > 0; };
    for (const char* key : {"seat", "wind",   "seatwind", "dealer",  "honba", "sticks",   "phase",
                            "turn", "hand",   "drawn",    "counts",  "claim", "claimkan", "dora",
                            "live", "scores", "riichi",   "ippatsu", "first", "furiten",  "waits"})
        if (!has(key)) return false;
    auto flag = [&](const char* key, bool& out) {
        const std::string& value = k[key];
        if (value != "0" && value != "1") return false;
        out = value == "1";
        return true;
    };
    long waits = 0;
    bool ok =
        ToInt(k["seat"], v.seat, 0, 3) && ToInt(k["wind"], v.roundWind, riichi::kEast, riichi::kNorth) &&
        ToInt(k["seatwind"], v.seatWind, riichi::kEast, riichi::kNorth) &&
        ToInt(k["dealer"], v.dealer, 0, 3) && ToInt(k["honba"], v.honba, 0, 999) &&
        ToInt(k["sticks"], v.sticks, 0, 999) && ToInt(k["turn"], v.turn, 0, 3) &&
        ParseTileList(k["hand"], v.concealed) && v.concealed.size() <= 14 && ToTile(k["drawn"], v.drawn) &&
        ParseFour(k["counts"], v.concealedCount, 0, 14) && ToTile(k["claim"], v.claimTile) &&
        flag("claimkan", v.claimIsKan) && ParseTileList(k["dora"], v.doraIndicators) &&
        v.doraIndicators.size() <= 5 && ToInt(k["live"], v.liveTiles, 0, riichi::kTiles) &&
        ParseFour(k["scores"], v.scores, -100000000, 100000000) && ParseFour(k["riichi"], v.riichi, 0, 1) &&
        flag("ippatsu", v.ippatsu) && flag("first", v.firstGoAround) && flag("furiten", v.furiten) &&
        ParseInt(k["waits"], 0, (1L << riichi::kKinds) - 1, waits);
    if (!ok) return false;
    v.waits = static_cast<std::uint64_t>(waits);
    const std::string& phase = k["phase"];
    if (phase == "turn")
        v.phase = riichi::Phase::Turn;
    else if (phase == "claims")
        v.phase = riichi::Phase::Claims;
    else if (phase == "over")
        v.phase = riichi::Phase::Over;
    else
        return false;
    for (int s = 0; s < 4; ++s) {
        std::string m = "m" + std::to_string(s), r = "r" + std::to_string(s);
        if (!has(m.c_str()) || !has(r.c_str())) return false;
        if (!ParseMeldList(k[m], v.melds[Idx(s)]) || !ParseRiverList(k[r], v.rivers[Idx(s)])) return false;
    }
    view = v;
    return true;
}

bool ParseAskLine(const std::string& line, Ask& ask) {
    auto w = Words(line);
    if (w.size() < 4 || w[0] != "ASK" || w.size() > 200) return false;
    Ask a;
    if (!ParseInt(w[1], 0, kMaxAskId, a.id) || !ToInt(w[2], a.milliseconds, 0, 24 * 3600 * 1000))
        return false;
    if (w.size() == 4 && w[3] == "next") {
        a.next = true;
    } else {
        for (std::size_t i = 3; i < w.size(); ++i) {
            Action action;
            if (!ParseActionWord(w[i], action)) return false;
            a.actions.push_back(action);
        }
    }
    ask = a;
    return true;
}

bool EndReader::Take(const std::string& line, bool& complete, bool& bad) {
    complete = false;
    bad = false;
    auto w = Words(line);
    if (w.empty() || (w[0] != "WIN" && w[0] != "WINYAKU" && w[0] != "HANDEND")) return false;
    if (!open_) {
        result_ = riichi::HandResult{};
        open_ = true;
    }
    auto fail = [&] {
        bad = true;
        open_ = false;
        return true;
    };
    if (w[0] == "WIN") {
        if (w.size() < 3 || result_.winners.size() >= 3) return fail();
        riichi::WinResult win;
        riichi::Score& s = win.score;
        auto k = Keys(w, 3);
        int limit = -1;
        for (int i = 0; i < 6; ++i)
            if (k["limit"] == kLimitWords[i]) limit = i;
        std::string dealer = k["dealer"];
        if (!ToSeat(w[1], win.seat) || win.seat < 0 || !ToTile(w[2], win.winTile) ||
            !ToInt(k["han"], s.han, 0, 200) || !ToInt(k["fu"], s.fu, 0, 200) ||
            !ToInt(k["yakuman"], s.yakuman, 0, 20) || !ToInt(k["points"], s.points, 0, 10000000) ||
            limit < 0 || !ToInt(k["ron"], s.ronPayment, 0, 10000000) ||
            !ToInt(k["tsumodealer"], s.tsumoDealerPays, 0, 10000000) ||
            !ToInt(k["tsumoothers"], s.tsumoOthersPay, 0, 10000000) || (dealer != "0" && dealer != "1") ||
            !ToSeat(k["liable"], win.liable) || !ParseTileList(k["hand"], win.concealed) ||
            win.concealed.size() > 14 || !ParseMeldList(k["melds"], win.melds))
            return fail();
        s.won = true;
        s.limit = static_cast<riichi::Limit>(limit);
        s.dealer = dealer == "1";
        result_.winners.push_back(win);
        return true;
    }
    if (w[0] == "WINYAKU") {
        int seat = -1;
        riichi::YakuScore y;
        if (w.size() < 5 || !ToSeat(w[1], seat) || seat < 0 || !ToInt(w[2], y.han, 0, 100) ||
            !ToInt(w[3], y.yakuman, 0, 10))
            return fail();
        y.name = w[4];
        for (std::size_t i = 5; i < w.size(); ++i) y.name += " " + w[i];
        for (auto it = result_.winners.rbegin(); it != result_.winners.rend(); ++it)
            if (it->seat == seat) {
                if (it->score.yaku.size() >= 40) return fail();
                it->score.yaku.push_back(y);
                return true;
            }
        return fail();
    }
    riichi::HandResult& r = result_;
    if (w.size() < 2) return fail();
    bool known = false;
    for (const EndName& n : kEndWords)
        if (w[1] == n.word) {
            r.end = n.end;
            known = true;
        }
    auto k = Keys(w, 2);
    auto sticks = Split(k["sticks"], ',');
    if (!known || sticks.size() != 2 || !ToInt(sticks[0], r.sticksBefore, 0, 999) ||
        !ToInt(sticks[1], r.sticksAfter, 0, 999) ||
        !ToInt(k["wind"], r.roundWind, riichi::kEast, riichi::kNorth) ||
        !ToInt(k["dealer"], r.dealer, 0, 3) || !ToInt(k["honba"], r.honba, 0, 999) ||
        !ToSeat(k["loser"], r.loser) || !ToSeat(k["declarer"], r.declarer) ||
        !ParseFour(k["delta"], r.scoreDelta, -100000000, 100000000) ||
        !ParseFour(k["chips"], r.chipDelta, -100000, 100000) ||
        !ParseFour(k["scores"], r.scoresAfter, -100000000, 100000000) ||
        !ParseFour(k["ready"], r.ready, 0, 1) || !ParseFour(k["nagashi"], r.nagashi, 0, 1) ||
        !ParseFour(k["riichi"], r.riichi, 0, 1) || !ParseTileList(k["dora"], r.doraIndicators) ||
        r.doraIndicators.size() > 5 || !ParseTileList(k["ura"], r.uraIndicators) ||
        r.uraIndicators.size() > 5)
        return fail();
    for (int s = 0; s < 4; ++s) {
        std::string key = "show" + std::to_string(s);
        if (!k.count(key) || !ParseTileList(k[key], r.revealed[Idx(s)]) || r.revealed[Idx(s)].size() > 14)
            return fail();
    }
    for (riichi::WinResult& win : r.winners) win.score.total = win.score.points;
    open_ = false;
    complete = true;
    return true;
}

bool ParseStandingLine(const std::string& line, int& seat, riichi::SeatTotals& t) {
    auto w = Words(line);
    riichi::SeatTotals read;
    int s = -1;
    if (w.size() != 6 || w[0] != "STANDING" || !ToInt(w[1], s, 0, 3) || !ToInt(w[2], read.place, 1, 4) ||
        !ToInt(w[3], read.finalScore, -100000000, 100000000) ||
        !ToInt(w[4], read.points, -1000000, 1000000) || !ToInt(w[5], read.chips, -100000, 100000))
        return false;
    seat = s;
    t = read;
    return true;
}

// ---------------------------------------------------------------- client lines

bool ParseJoinLine(const std::string& line, JoinRequest& r) {
    auto words = Words(line);
    if (words.empty() || words[0] != "JOIN") return false;
    std::size_t at = 1;
    int version = 1;
    if (words.size() > 1 && ToInt(words[1], version, 0, 999999)) ++at;
    if (words.size() < at + 2) return false;
    if (words[at] != "human" && words[at] != "auto") return false;
    if (!IsPlainName(words[at + 1])) return false;
    r = JoinRequest{};
    r.version = version;
    r.kind = words[at];
    r.name = words[at + 1];
    for (std::size_t i = at + 2; i < words.size(); ++i) {
        std::size_t eq = words[i].find('=');
        if (eq == std::string::npos) continue;
        std::string key = words[i].substr(0, eq);
        std::string value = words[i].substr(eq + 1);
        if (key == "shown") {
            r.style.displayName = value;
            continue;
        }
        if (key == "token") {
            if (IsSeatToken(value)) r.token = value;
            continue;
        }
        int n = 0;
        if (!ToInt(value, n, -1000000000, 1000000000)) continue;
        for (const WeightKey& w : WeightKeys())
            if (key == w.key) r.style.*w.field = std::clamp(n, w.low, w.high);
    }
    return true;
}

ClientLine ParseClientLine(const std::string& line) {
    ClientLine c;
    auto w = Words(line);
    if (w.empty()) {
        c.error = "an empty line";
        return c;
    }
    if (w[0] == "JOIN") {
        if (ParseJoinLine(line, c.join))
            c.kind = ClientLine::Kind::Join;
        else
            c.error = "malformed JOIN";
    } else if (w[0] == "ACT") {
        long id = 0;
        if (w.size() != 3 || !ParseInt(w[1], 0, kMaxAskId, id)) {
            c.error = "malformed ACT";
        } else if (w[2] == "next") {
            c.kind = ClientLine::Kind::Next;
            c.askId = id;
        } else if (ParseActionWord(w[2], c.action)) {
            c.kind = ClientLine::Kind::Act;
            c.askId = id;
        } else {
            c.error = "not an action: " + w[2].substr(0, 40);
        }
    } else if (w[0] == "PONG" && w.size() <= 2) {
        c.kind = ClientLine::Kind::Pong;
    } else if (w[0] == "QUIT" && w.size() == 1) {
        c.kind = ClientLine::Kind::Quit;
    } else {
        c.error = "unknown command " + w[0].substr(0, 20);
    }
    return c;
}

}  // namespace zv::engine
