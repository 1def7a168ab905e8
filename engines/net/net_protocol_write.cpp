// The writing half of the network game's protocol (net_protocol.h): every
// line and word the server and the client send.
#include <algorithm>

#include "app/engine_paths.h"
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

// The text with line breaks and tabs turned into blanks, runs of blanks made one.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
        if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line.empty() ? "?" : line;
}

std::string SeatWord(int seat) { return seat >= 0 && seat < 4 ? std::to_string(seat) : "-"; }
std::string TileWord(TileId tile) { return tile >= 0 ? std::to_string(tile) : "-"; }

template <typename T>
std::string Joined(const std::array<T, 4>& values) {
    std::string text;
    for (std::size_t i = 0; i < 4; ++i)
        text += (i ? "," : "") + std::to_string(static_cast<long long>(values[i]));
    return text;
}

// A meld as "TYPE.FROM.CALLED.T1.T2.T3[.T4]".
std::string MeldText(const riichi::Meld& m) {
    std::string text;
    for (const MeldName& n : kMeldWords)
        if (n.type == m.type) text = n.word;
    text += "." + SeatWord(m.from) + "." + TileWord(m.called);
    for (int i = 0; i < m.size; ++i) text += "." + std::to_string(m.tiles[Idx(i)]);
    return text;
}

std::string MeldList(const std::vector<riichi::Meld>& melds) {
    if (melds.empty()) return "-";
    std::string text;
    for (const riichi::Meld& m : melds) text += (text.empty() ? "" : ",") + MeldText(m);
    return text;
}

// A river tile as its number followed by r (riichi), c (called), t (tsumogiri).
std::string RiverList(const std::vector<riichi::RiverTile>& river) {
    if (river.empty()) return "-";
    std::string text;
    for (const riichi::RiverTile& r : river) {
        text += (text.empty() ? "" : ",") + std::to_string(r.tile);
        if (r.riichi) text += 'r';
        if (r.called) text += 'c';
        if (r.tsumogiri) text += 't';
    }
    return text;
}

const char* PhaseWord(riichi::Phase phase) {
    switch (phase) {
        case riichi::Phase::Turn:
            return "turn";
        case riichi::Phase::Claims:
            return "claims";
        case riichi::Phase::Over:
            break;
    }
    return "over";
}

template <typename T>
std::string Flags(const std::array<T, 4>& flags) {
    std::string text;
    for (std::size_t i = 0; i < 4; ++i) text += (i ? "," : "") + std::string(flags[i] ? "1" : "0");
    return text;
}

}  // namespace

// ---------------------------------------------------------------- words

std::string ActionWord(const Action& action) {
    std::string word = "pass";
    for (const TypeName& n : kActionWords)
        if (n.type == action.type) word = n.word;
    if (action.tile >= 0) word += ":" + std::to_string(action.tile);
    if (action.with[0] >= 0)
        word += ":" + std::to_string(action.with[0]) + ":" + std::to_string(action.with[1]);
    return word;
}

std::string TileList(const std::vector<TileId>& tiles) {
    if (tiles.empty()) return "-";
    std::string text;
    for (TileId t : tiles) text += (text.empty() ? "" : ",") + std::to_string(t);
    return text;
}

std::string RulesWords(const riichi::Rules& rules) {
    std::string words;
    for (const riichi::RuleKey& key : riichi::RuleKeys())
        words += (words.empty() ? "" : " ") + std::string(key.key) + "=" + riichi::RuleValue(rules, key);
    return words;
}

// ---------------------------------------------------------------- server lines

std::string HandStartLine(const riichi::HandStart& s, int seat) {
    return "HAND " + std::to_string(s.roundWind) + " " + std::to_string(s.dealer) + " " +
           std::to_string(s.honba) + " " + std::to_string(s.sticks) + " " + std::to_string(s.scores[0]) +
           " " + std::to_string(s.scores[1]) + " " + std::to_string(s.scores[2]) + " " +
           std::to_string(s.scores[3]) + " " + TileWord(s.doraIndicator) + " " +
           TileList(s.hands[Idx(std::clamp(seat, 0, 3))]);
}

std::string EventLine(const riichi::TableEvent& e) {
    std::string seat = SeatWord(e.seat);
    switch (e.type) {
        case EventType::Draw:
            return "DRAW " + seat + " " + TileWord(e.tile) + (e.rinshan ? " rinshan" : "");
        case EventType::Discard:
            return "DISCARD " + seat + " " + TileWord(e.tile) + (e.tsumogiri ? " tsumogiri" : "") +
                   (e.riichi ? " riichi" : "");
        case EventType::Chi:
            return "CHI " + seat + " " + SeatWord(e.from) + " " + TileWord(e.tile) + " " +
                   TileList(e.consumed);
        case EventType::Pon:
            return "PON " + seat + " " + SeatWord(e.from) + " " + TileWord(e.tile) + " " +
                   TileList(e.consumed);
        case EventType::OpenKan:
            return "KAN " + seat + " " + SeatWord(e.from) + " " + TileWord(e.tile) + " " +
                   TileList(e.consumed);
        case EventType::ClosedKan:
            return "ANKAN " + seat + " " + TileList(e.consumed);
        case EventType::AddedKan:
            return "KAKAN " + seat + " " + TileWord(e.tile) + " " + TileList(e.consumed);
        case EventType::NewDora:
            return "DORA " + TileWord(e.tile);
        case EventType::RiichiAccepted:
            return "RIICHI " + seat;
        case EventType::North:
            return "NORTH " + seat + " " + TileWord(e.tile);
        case EventType::HandOver:
            break;
    }
    return {};
}

std::string ViewLine(const riichi::SeatView& v) {
    std::string line = "VIEW seat=" + std::to_string(v.seat) + " wind=" + std::to_string(v.roundWind) +
                       " seatwind=" + std::to_string(v.seatWind) + " dealer=" + std::to_string(v.dealer) +
                       " honba=" + std::to_string(v.honba) + " sticks=" + std::to_string(v.sticks) +
                       " phase=" + PhaseWord(v.phase) + " turn=" + std::to_string(v.turn) +
                       " hand=" + TileList(v.concealed) + " drawn=" + TileWord(v.drawn);
    for (int s = 0; s < 4; ++s) line += " m" + std::to_string(s) + "=" + MeldList(v.melds[Idx(s)]);
    for (int s = 0; s < 4; ++s) line += " r" + std::to_string(s) + "=" + RiverList(v.rivers[Idx(s)]);
    line += " counts=" + Joined(v.concealedCount) + " claim=" + TileWord(v.claimTile) +
            " claimkan=" + (v.claimIsKan ? "1" : "0") + " dora=" + TileList(v.doraIndicators) +
            " live=" + std::to_string(v.liveTiles) + " scores=" + Joined(v.scores) +
            " riichi=" + Flags(v.riichi) + " ippatsu=" + (v.ippatsu ? "1" : "0") +
            " first=" + (v.firstGoAround ? "1" : "0") + " furiten=" + (v.furiten ? "1" : "0") +
            " waits=" + std::to_string(v.waits);
    return line;
}

std::string AskLine(long id, int milliseconds, const std::vector<Action>& actions) {
    std::string line = "ASK " + std::to_string(id) + " " + std::to_string(milliseconds);
    for (const Action& a : actions) line += " " + ActionWord(a);
    return line;
}

std::vector<std::string> HandEndLines(const riichi::HandResult& r) {
    std::vector<std::string> lines;
    for (const riichi::WinResult& w : r.winners) {
        const riichi::Score& s = w.score;
        lines.push_back(
            "WIN " + std::to_string(w.seat) + " " + TileWord(w.winTile) + " han=" + std::to_string(s.han) +
            " fu=" + std::to_string(s.fu) + " yakuman=" + std::to_string(s.yakuman) +
            " points=" + std::to_string(s.points) + " limit=" + kLimitWords[static_cast<int>(s.limit)] +
            " ron=" + std::to_string(s.ronPayment) + " tsumodealer=" + std::to_string(s.tsumoDealerPays) +
            " tsumoothers=" + std::to_string(s.tsumoOthersPay) + " dealer=" + (s.dealer ? "1" : "0") +
            " liable=" + SeatWord(w.liable) + " hand=" + TileList(w.concealed) +
            " melds=" + MeldList(w.melds));
        for (const riichi::YakuScore& y : s.yaku)
            lines.push_back("WINYAKU " + std::to_string(w.seat) + " " + std::to_string(y.han) + " " +
                            std::to_string(y.yakuman) + " " + OneLine(y.name));
    }
    std::string end = "exhaustive";
    for (const EndName& n : kEndWords)
        if (n.end == r.end) end = n.word;
    std::string line = "HANDEND " + end + " wind=" + std::to_string(r.roundWind) +
                       " dealer=" + std::to_string(r.dealer) + " honba=" + std::to_string(r.honba) +
                       " sticks=" + std::to_string(r.sticksBefore) + "," + std::to_string(r.sticksAfter) +
                       " loser=" + SeatWord(r.loser) + " declarer=" + SeatWord(r.declarer) +
                       " delta=" + Joined(r.scoreDelta) + " chips=" + Joined(r.chipDelta) +
                       " scores=" + Joined(r.scoresAfter) + " ready=" + Flags(r.ready) +
                       " nagashi=" + Flags(r.nagashi) + " riichi=" + Flags(r.riichi) +
                       " dora=" + TileList(r.doraIndicators) + " ura=" + TileList(r.uraIndicators);
    for (int s = 0; s < 4; ++s) line += " show" + std::to_string(s) + "=" + TileList(r.revealed[Idx(s)]);
    lines.push_back(line);
    return lines;
}

std::string StandingLine(int seat, const riichi::SeatTotals& t) {
    return "STANDING " + std::to_string(seat) + " " + std::to_string(t.place) + " " +
           std::to_string(t.finalScore) + " " + std::to_string(t.points) + " " + std::to_string(t.chips);
}

// ---------------------------------------------------------------- client lines

std::string JoinLine(const JoinRequest& r) {
    const CharacterStyle& s = r.style;
    std::string line = "JOIN " + std::to_string(r.version) + " " + OneWord(r.kind) + " " + OneWord(r.name);
    if (!s.displayName.empty()) line += " shown=" + OneWord(s.displayName);
    if (IsSeatToken(r.token)) line += " token=" + r.token;
    for (const WeightKey& w : WeightKeys())
        line += std::string(" ") + w.key + "=" + std::to_string(s.*w.field);
    return line;
}

}  // namespace zv::engine
