// Tiles in the mjai notation and the writer of a game's events.
#include <algorithm>

#include "mjai/mjai.h"

namespace zv::mjai {
namespace {

using riichi::EventType;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

constexpr const char* kHonours[] = {"E", "S", "W", "N", "P", "F", "C"};
constexpr char kSuits[] = {'m', 'p', 's'};

const char* RyukyokuReason(riichi::HandEnd end) {
    switch (end) {
        case riichi::HandEnd::NagashiMangan:
            return "nagashimangan";
        case riichi::HandEnd::NineTerminals:
            return "kyushukyuhai";
        case riichi::HandEnd::FourWinds:
            return "suufonrenda";
        case riichi::HandEnd::FourKans:
            return "suukaikan";
        case riichi::HandEnd::FourRiichi:
            return "suuchariichi";
        case riichi::HandEnd::TripleRon:
            return "sanchaho";
        default:
            return "fanpai";
    }
}

// Each winner's own payments, `deltas` being the whole hand's (riichi
// sticks of the hand given back): a winner's own change is all its win
// brought it, the first winner's includes the sticks on the table, and the
// discarder pays the rest of it. The last winner takes what is left, so the
// parts always add up to the whole.
std::vector<std::array<int, 4>> WinnerDeltas(const riichi::HandResult& r, const std::array<int, 4>& deltas) {
    std::vector<std::array<int, 4>> parts(r.winners.size());
    if (parts.empty()) return parts;
    int sticks = r.sticksBefore;
    for (bool declared : r.riichi) sticks += declared ? 1 : 0;
    std::array<int, 4> left = deltas;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        int w = r.winners[i].seat;
        int gained = deltas[Idx(w)];
        parts[i][Idx(w)] = gained;
        if (r.loser >= 0 && r.loser != w) parts[i][Idx(r.loser)] = -(gained - (i == 0 ? 1000 * sticks : 0));
        for (std::size_t s = 0; s < 4; ++s) left[s] -= parts[i][s];
    }
    parts.back() = left;
    return parts;
}

}  // namespace

std::string TileText(riichi::TileId tile, bool redFives) {
    if (tile < 0 || tile >= riichi::kTiles) return "?";
    riichi::Kind k = riichi::KindOf(tile);
    if (riichi::IsHonor(k)) return kHonours[k - riichi::kEast];
    std::string text = std::to_string(riichi::NumberOf(k)) + kSuits[riichi::SuitOf(k)];
    if (redFives && riichi::IsRedFive(tile)) text += 'r';
    return text;
}

bool ParseTile(std::string_view text, riichi::Kind& kind, bool& red) {
    red = false;
    for (int i = 0; i < 7; ++i)
        if (text == kHonours[i]) {
            kind = riichi::kEast + i;
            return true;
        }
    if (text.size() < 2 || text.size() > 3 || text[0] < '1' || text[0] > '9') return false;
    const char* suit = std::find(std::begin(kSuits), std::end(kSuits), text[1]);
    if (suit == std::end(kSuits)) return false;
    if (text.size() == 3) {
        if (text[2] != 'r' || text[0] != '5') return false;
        red = true;
    }
    kind = static_cast<int>(suit - kSuits) * 9 + (text[0] - '1');
    return true;
}

std::string Writer::Numbers(const std::array<int, 4>& values) const {
    std::string text = "[";
    for (int i = 0; i < players_; ++i) text += (i > 0 ? "," : "") + std::to_string(values[Idx(i)]);
    return text + "]";
}

std::string Writer::Bools(const std::array<bool, 4>& values) const {
    std::string text = "[";
    for (int i = 0; i < players_; ++i)
        text += std::string(i > 0 ? "," : "") + (values[Idx(i)] ? "true" : "false");
    return text + "]";
}

std::string Writer::Tiles(const std::vector<riichi::TileId>& tiles) const {
    std::string text = "[";
    for (std::size_t i = 0; i < tiles.size(); ++i) text += (i > 0 ? "," : "") + Quote(Tile(tiles[i]));
    return text + "]";
}

void Writer::StartGame(const std::array<std::string, 4>& names) {
    std::string line = "{\"type\":\"start_game\",\"names\":[";
    for (int i = 0; i < players_; ++i) line += (i > 0 ? "," : "") + Quote(names[Idx(i)]);
    out_.push_back(line + "]}");
}

void Writer::StartHand(const riichi::HandStart& start, int kyoku) {
    std::string line =
        "{\"type\":\"start_kyoku\",\"bakaze\":" + Quote(kHonours[start.roundWind - riichi::kEast]) +
        ",\"kyoku\":" + std::to_string(kyoku) + ",\"honba\":" + std::to_string(start.honba) +
        ",\"kyotaku\":" + std::to_string(start.sticks) + ",\"oya\":" + std::to_string(start.dealer) +
        ",\"dora_marker\":" + Quote(Tile(start.doraIndicator)) + ",\"scores\":" + Numbers(start.scores) +
        ",\"tehais\":[";
    for (int s = 0; s < players_; ++s)
        line += (s > 0 ? "," : "") + Tiles(start.hands[Idx(s)].empty() ? std::vector<riichi::TileId>(13, -1)
                                                                       : start.hands[Idx(s)]);
    out_.push_back(line + "]}");
    const riichi::TableEvent& draw = start.dealerDraw;
    if (draw.seat < 0) return;
    out_.push_back("{\"type\":\"tsumo\",\"actor\":" + std::to_string(draw.seat) +
                   ",\"pai\":" + Quote(Tile(draw.tile)) + "}");
}

void Writer::Event(const riichi::TableEvent& e, const std::array<int, 4>* scores) {
    const std::string actor = "\"actor\":" + std::to_string(e.seat);
    switch (e.type) {
        case EventType::Draw:
            out_.push_back("{\"type\":\"tsumo\"," + actor + ",\"pai\":" + Quote(Tile(e.tile)) + "}");
            break;
        case EventType::Discard:
            if (e.riichi) out_.push_back("{\"type\":\"reach\"," + actor + "}");
            out_.push_back("{\"type\":\"dahai\"," + actor + ",\"pai\":" + Quote(Tile(e.tile)) +
                           ",\"tsumogiri\":" + (e.tsumogiri ? "true" : "false") + "}");
            break;
        case EventType::RiichiAccepted: {
            std::array<int, 4> deltas{};
            deltas[Idx(e.seat)] = -1000;
            out_.push_back("{\"type\":\"reach_accepted\"," + actor + ",\"deltas\":" + Numbers(deltas) +
                           (scores != nullptr ? ",\"scores\":" + Numbers(*scores) : std::string()) + "}");
            break;
        }
        case EventType::Chi:
        case EventType::Pon:
        case EventType::OpenKan: {
            const char* type = e.type == EventType::Chi   ? "chi"
                               : e.type == EventType::Pon ? "pon"
                                                          : "daiminkan";
            out_.push_back("{\"type\":\"" + std::string(type) + "\"," + actor +
                           ",\"target\":" + std::to_string(e.from) + ",\"pai\":" + Quote(Tile(e.tile)) +
                           ",\"consumed\":" + Tiles(e.consumed) + "}");
            break;
        }
        case EventType::ClosedKan:
            out_.push_back("{\"type\":\"ankan\"," + actor + ",\"consumed\":" + Tiles(e.consumed) + "}");
            break;
        case EventType::AddedKan:
            out_.push_back("{\"type\":\"kakan\"," + actor + ",\"pai\":" + Quote(Tile(e.tile)) +
                           ",\"consumed\":" + Tiles(e.consumed) + "}");
            break;
        case EventType::NewDora:
            out_.push_back("{\"type\":\"dora\",\"dora_marker\":" + Quote(Tile(e.tile)) + "}");
            break;
        case EventType::North:
            out_.push_back("{\"type\":\"nukidora\"," + actor + ",\"pai\":\"N\"}");
            break;
        case EventType::HandOver:
            break;
    }
}

void Writer::EndHand(const riichi::HandResult& r, const std::array<std::vector<riichi::TileId>, 4>& hands) {
    // The riichi sticks were told with reach_accepted; the end tells the rest.
    std::array<int, 4> deltas = r.scoreDelta;
    for (std::size_t s = 0; s < 4; ++s)
        if (r.riichi[s]) deltas[s] += 1000;
    if (r.end == riichi::HandEnd::Tsumo || r.end == riichi::HandEnd::Ron) {
        const std::vector<std::array<int, 4>> paid = WinnerDeltas(r, deltas);
        std::array<int, 4> scores = r.scoresAfter;
        for (std::size_t s = 0; s < 4; ++s) scores[s] -= deltas[s];
        for (std::size_t i = 0; i < r.winners.size(); ++i) {
            const riichi::WinResult& w = r.winners[i];
            int target = r.end == riichi::HandEnd::Tsumo ? w.seat : r.loser;
            int fan = w.score.han > 0 ? w.score.han : 13 * std::max(w.score.yakuman, 1);
            // Only a winner in riichi turns the ura indicators over.
            const std::vector<riichi::TileId> none;
            const auto& ura = r.riichi[Idx(w.seat)] ? r.uraIndicators : none;
            for (std::size_t s = 0; s < 4; ++s) scores[s] += paid[i][s];
            out_.push_back("{\"type\":\"hora\",\"actor\":" + std::to_string(w.seat) +
                           ",\"target\":" + std::to_string(target) + ",\"pai\":" + Quote(Tile(w.winTile)) +
                           ",\"uradora_markers\":" + Tiles(ura) + ",\"fu\":" + std::to_string(w.score.fu) +
                           ",\"fan\":" + std::to_string(fan) +
                           ",\"hora_points\":" + std::to_string(w.score.points) +
                           ",\"deltas\":" + Numbers(paid[i]) + ",\"scores\":" + Numbers(scores) + "}");
        }
    } else {
        std::string line =
            "{\"type\":\"ryukyoku\",\"reason\":" + Quote(RyukyokuReason(r.end)) + ",\"tehais\":[";
        for (int s = 0; s < players_; ++s) line += (s > 0 ? "," : "") + Tiles(hands[Idx(s)]);
        line += "],\"tenpais\":" + Bools(r.ready) + ",\"deltas\":" + Numbers(deltas) +
                ",\"scores\":" + Numbers(r.scoresAfter) + "}";
        out_.push_back(line);
    }
    out_.push_back("{\"type\":\"end_kyoku\"}");
}

void Writer::EndGame(const std::array<int, 4>& finalScores) {
    out_.push_back("{\"type\":\"end_game\",\"scores\":" + Numbers(finalScores) + "}");
}

}  // namespace zv::mjai
