#include "format/mjai_export.h"

#include "format/record_replay.h"
#include "riichi/events.h"
#include "riichi/game.h"

namespace zv::engine {

bool MjaiLines(const RecordedGame& game, std::vector<std::string>& lines, std::string& error) {
    GameReplay replay;
    if (!replay.Load(game, error)) return false;
    lines.clear();
    const int players = replay.Rules().Players();
    mjai::Writer writer(lines, !replay.Rules().noRedFives, players);
    std::array<std::string, 4> names;
    for (std::size_t s = 0; s < 4; ++s)
        names[s] = game.seats[s].displayName.empty() ? game.seats[s].name : game.seats[s].displayName;
    writer.StartGame(names);
    const int firstDealer = game.hands.front().dealer;
    for (const ReplayedHand& hand : replay.Hands()) {
        riichi::Hand table = hand.start;
        writer.StartHand(riichi::StartOf(table),
                         (table.Setup().dealer - firstDealer + players) % players + 1);
        for (const auto& step : hand.steps) {
            for (const riichi::LoggedAction& a : step) {
                table.Apply(a.seat, a.action);
                for (const riichi::TableEvent& e : table.StepEvents()) {
                    if (e.type != riichi::EventType::HandOver) {
                        writer.Event(e, &table.Scores());
                        continue;
                    }
                    std::array<std::vector<riichi::TileId>, 4> hands;
                    for (int s = 0; s < 4; ++s) hands[static_cast<std::size_t>(s)] = table.Concealed(s);
                    writer.EndHand(table.Result(), hands);
                }
            }
        }
    }
    std::array<int, 4> finals{};
    for (std::size_t s = 0; s < 4; ++s) finals[s] = replay.Finished()->Totals()[s].finalScore;
    writer.EndGame(finals);
    return true;
}

std::unique_ptr<riichi::Game> PlayImported(const mjai::ImportedGame& game, const riichi::Rules& rules,
                                           std::string& error) {
    if (game.hands.empty()) {
        error = "no hand to play";
        return nullptr;
    }
    if (game.players != rules.Players()) {
        error = "the log has " + std::to_string(game.players) + " players, the rules " +
                std::to_string(rules.Players());
        return nullptr;
    }
    auto walls = [&game](int index, const riichi::HandSetup&) {
        std::size_t i = static_cast<std::size_t>(index);
        const auto& tiles = i < game.hands.size() ? game.hands[i].wall : game.hands.back().wall;
        if (game.players == 4) return riichi::Wall(tiles);
        return riichi::Wall::ThreePlayer(
            std::vector<riichi::TileId>(tiles.begin(), tiles.begin() + riichi::kThreePlayerTiles));
    };
    auto played = std::make_unique<riichi::Game>(rules, 0, game.hands.front().dealer, walls);
    for (std::size_t i = 0; i < game.hands.size(); ++i) {
        const mjai::ImportedHand& h = game.hands[i];
        const std::string where = "hand " + std::to_string(i + 1);
        if (played->Over()) {
            error = where + ": the game was already over";
            return nullptr;
        }
        riichi::Hand& table = played->Current();
        if (table.Setup().dealer != h.dealer || table.Setup().honba != h.honba ||
            table.Scores() != h.scoresBefore) {
            error = where + ": the log's dealer, honba or scores differ from the table's";
            return nullptr;
        }
        std::string why;
        if (!PlayHand(table, h.actions, nullptr, why)) {
            error = where + why;
            return nullptr;
        }
        if (table.Result().scoresAfter != h.scoresAfter) {
            error = where + ": the table's scores differ from the log's";
            return nullptr;
        }
        played->NextHand();
    }
    if (!played->Over()) {
        error = "the log ends before the game does";
        return nullptr;
    }
    if (game.hasFinalScores) {
        for (std::size_t s = 0; s < 4; ++s)
            if (played->Totals()[s].finalScore != game.finalScores[s]) {
                error = "the final scores differ from the log's";
                return nullptr;
            }
    }
    return played;
}

}  // namespace zv::engine
