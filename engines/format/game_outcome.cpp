#include "format/game_outcome.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "config/codec.h"
#include "platform/env.h"
#include "riichi/game.h"

namespace zv::engine {
namespace {

std::size_t Idx(int seat) { return static_cast<std::size_t>(seat); }

using riichi::kFourKansDigit;
using riichi::kFourWindsDigit;
using riichi::kNagashiDigit;
using riichi::kNineTerminalsDigit;
using riichi::kNotenRiichiDigit;
using riichi::kTripleRonDigit;
using riichi::kYakumanDigit;

void Count(PlayerStats& stats, int digit) {
    auto& count = stats.yaku[Idx(digit)];
    count = std::min(count + 1, 9);
}

const char* MeldWord(riichi::MeldType type) {
    switch (type) {
        case riichi::MeldType::Chi:
            return "chi";
        case riichi::MeldType::Pon:
            return "pon";
        case riichi::MeldType::OpenKan:
            return "kan";
        case riichi::MeldType::ClosedKan:
            return "ckan";
        case riichi::MeldType::AddedKan:
            return "akan";
    }
    return "pon";
}

// The results-file digits of a winning hand: each yaku's own digit, and
// digit 0 for a yakuman that has none (a yakuman counted from han).
std::vector<int> DigitsOf(const riichi::Score& score) {
    std::vector<int> digits;
    bool ownYakuman = false;
    for (const riichi::YakuScore& y : score.yaku) {
        if (y.yakuman > 0) ownYakuman = true;
        if (y.statIndex >= 0 && y.statIndex < kYakuCount)
            digits.push_back(y.statIndex);
        else if (y.yakuman > 0)
            digits.push_back(kYakumanDigit);
    }
    if (score.limit == riichi::Limit::Yakuman && !ownYakuman) digits.push_back(kYakumanDigit);
    return digits;
}

WinDetail DetailOf(const riichi::WinResult& w, int from) {
    WinDetail d;
    d.seat = w.seat;
    d.from = from;
    d.value = w.score.points;
    d.han = w.score.han;
    d.fu = w.score.fu;
    d.limit = std::string(riichi::LimitWord(w.score.limit));
    d.winTile = w.winTile >= 0 ? riichi::TileName(w.winTile) : "";
    d.concealed = riichi::FormatTiles(w.concealed);
    for (const riichi::Meld& m : w.melds) {
        std::vector<riichi::TileId> tiles(m.tiles.begin(), m.tiles.begin() + m.size);
        d.melds.push_back(std::string(MeldWord(m.type)) + "=" + riichi::FormatTiles(tiles));
    }
    for (const riichi::YakuScore& y : w.score.yaku) d.yaku.push_back({y.name, y.han, y.yakuman});
    d.digits = DigitsOf(w.score);
    return d;
}

HandRecord RecordOf(const riichi::HandResult& r, std::array<PlayerStats, 4>& players) {
    HandRecord h;
    h.round = std::clamp(r.roundWind - riichi::kEast, 0, 1);
    h.dealer = r.dealer;
    h.honba = r.honba;
    h.reached = r.riichi;
    h.scoreDelta = r.scoreDelta;
    h.chipDelta = r.chipDelta;
    h.scoresAfter = r.scoresAfter;
    h.dora = riichi::FormatTiles(r.doraIndicators);
    h.ura = riichi::FormatTiles(r.uraIndicators);
    for (const riichi::LoggedAction& a : r.actions)
        if (a.action.type != riichi::ActionType::Pass) h.actions.push_back(a);
    switch (r.end) {
        case riichi::HandEnd::Tsumo:
        case riichi::HandEnd::Ron: {
            h.end = r.end == riichi::HandEnd::Tsumo ? HandEnd::Tsumo : HandEnd::Ron;
            h.loser = h.end == HandEnd::Ron ? r.loser : -1;
            for (const riichi::WinResult& w : r.winners) {
                h.wins.push_back(DetailOf(w, h.loser));
                for (int digit : h.wins.back().digits) Count(players[Idx(w.seat)], digit);
            }
            if (!h.wins.empty()) {
                h.winner = h.wins.front().seat;
                h.value = h.wins.front().value;
                h.yaku = h.wins.front().digits;
            }
            break;
        }
        case riichi::HandEnd::Exhaustive:
        case riichi::HandEnd::NagashiMangan:
            h.end = HandEnd::Draw;
            for (int seat = 0; seat < 4; ++seat) {
                // A riichi that was not really ready (its waits all in its
                // own hand) is found out at the draw.
                if (r.riichi[Idx(seat)] && !r.ready[Idx(seat)]) Count(players[Idx(seat)], kNotenRiichiDigit);
                if (!r.nagashi[Idx(seat)]) continue;
                Count(players[Idx(seat)], kNagashiDigit);
                if (h.winner < 0) {
                    h.winner = seat;
                    h.value =
                        riichi::Payment(riichi::kManganBase, seat == r.dealer, riichi::Payer::Discarder);
                    h.yaku = {kNagashiDigit};
                }
            }
            break;
        case riichi::HandEnd::NineTerminals:
            h.end = HandEnd::Abortive;
            h.winner = r.declarer;
            h.yaku = {kNineTerminalsDigit};
            if (r.declarer >= 0 && r.declarer < 4) Count(players[Idx(r.declarer)], kNineTerminalsDigit);
            break;
        case riichi::HandEnd::FourWinds:
        case riichi::HandEnd::FourKans:
        case riichi::HandEnd::TripleRon: {
            // Events of the whole table: every seat saw it happen.
            int digit = r.end == riichi::HandEnd::FourWinds  ? kFourWindsDigit
                        : r.end == riichi::HandEnd::FourKans ? kFourKansDigit
                                                             : kTripleRonDigit;
            h.end = HandEnd::Abortive;
            h.yaku = {digit};
            for (PlayerStats& p : players) Count(p, digit);
            break;
        }
        case riichi::HandEnd::FourRiichi:
            h.end = HandEnd::Abortive;
            break;
    }
    return h;
}

}  // namespace

std::array<std::unique_ptr<players::Player>, 4> MakeSeatPlayers(const std::array<SeatStyle, 4>& seats,
                                                                std::uint64_t seed) {
    std::array<std::unique_ptr<players::Player>, 4> made;
    for (int seat = 0; seat < 4; ++seat)
        made[Idx(seat)] = players::MakeCharacterPlayer(seats[Idx(seat)].style, players::SeatSeed(seed, seat));
    return made;
}

GameOutcome OutcomeOf(const riichi::Game& finished) {
    GameOutcome game;
    game.seed = finished.Seed();
    game.bustOut = finished.BustOut();
    game.leftoverSticks = finished.LeftoverSticks();
    for (const riichi::HandResult& r : finished.Results()) game.hands.push_back(RecordOf(r, game.players));
    for (int seat = 0; seat < 4; ++seat) {
        const riichi::SeatTotals& t = finished.Totals()[Idx(seat)];
        PlayerStats& p = game.players[Idx(seat)];
        p.place = t.place;
        p.finalScore = t.finalScore;
        p.points = t.points;
        p.chips = t.chips;
        p.plays = t.hands;
        p.reaches = t.reaches;
        p.calls = t.calls;
        p.tsumoPoints = t.tsumoPoints;
        p.tsumoCount = t.tsumoCount;
        p.ronPoints = t.ronPoints;
        p.ronCount = t.ronCount;
        p.dealInPoints = t.dealInPoints;
        p.dealInCount = t.dealInCount;
    }
    return game;
}

GameOutcome PlayGame(const riichi::Rules& rules, const std::array<SeatStyle, 4>& seats, std::uint64_t seed) {
    riichi::Game table(rules, seed);
    auto seatPlayers = MakeSeatPlayers(seats, seed);
    std::array<riichi::Game::Decider, 4> deciders;
    for (int seat = 0; seat < 4; ++seat) deciders[Idx(seat)] = players::AsDecider(*seatPlayers[Idx(seat)]);
    table.PlayOut(deciders);
    return OutcomeOf(table);
}

std::string ResultLine(const PlayerStats& p) {
    std::string line = "result:";
    for (int v : {p.place, p.points, p.chips, p.plays, p.reaches, p.calls, p.tsumoPoints, p.tsumoCount,
                  p.ronPoints, p.ronCount, p.dealInPoints, p.dealInCount}) {
        line += ' ';
        line += std::to_string(v);
    }
    return line;
}

std::string YakuLine(const PlayerStats& p) {
    std::string line = "yaku: ";
    for (int count : p.yaku) line += static_cast<char>('0' + std::clamp(count, 0, 9));
    return line;
}

std::uint64_t ChooseSeed() {
    if (const char* env = std::getenv("ZV_ENGINE_SEED"); env != nullptr && *env != '\0')
        return std::strtoull(env, nullptr, 10);
    auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return now ^ (static_cast<std::uint64_t>(::getpid()) << 32);
}

std::string AppendResults(const std::string& path, const PlayerStats& stats) {
    std::string bytes = ToCp932(ResultLine(stats)) + "\r\n" + ToCp932(YakuLine(stats)) + "\r\n";
    if (!CurrentEnv().AppendToFile(path, bytes)) return path + ": cannot write the results file";
    return {};
}

}  // namespace zv::engine
