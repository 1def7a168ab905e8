#include "format/record_replay.h"
#include "riichi/game.h"

#include <charconv>

namespace zv::engine {
namespace {

using riichi::ActionType;
using riichi::Hand;
using riichi::LoggedAction;

bool IsClaim(ActionType type) {
    return type == ActionType::Ron || type == ActionType::Pon || type == ActionType::Chi ||
           type == ActionType::OpenKan;
}

bool Pending(const Hand& hand, int seat) {
    for (int s : hand.PendingSeats())
        if (s == seat) return true;
    return false;
}

// Passes for the seats of an open claim window that `next` does not answer
// (all of them when `next` is null), applied to `hand` and kept in `taken`.
void PassUntil(Hand& hand, const LoggedAction* next, std::vector<LoggedAction>& taken) {
    while (hand.CurrentPhase() == riichi::Phase::Claims) {
        if (next != nullptr && IsClaim(next->action.type) && Pending(hand, next->seat)) return;
        int seat = -1;
        for (int s : hand.PendingSeats())
            if (next == nullptr || s != next->seat || !IsClaim(next->action.type)) seat = s;
        if (seat < 0) return;
        LoggedAction pass{seat, riichi::Action{}};
        if (!hand.Apply(seat, pass.action)) return;
        taken.push_back(pass);
    }
}

}  // namespace

bool PlayHand(Hand& table, const std::vector<LoggedAction>& actions,
              std::vector<std::vector<LoggedAction>>* steps, std::string& error) {
    for (std::size_t n = 0; n < actions.size(); ++n) {
        const LoggedAction& a = actions[n];
        std::vector<LoggedAction> taken;
        PassUntil(table, &a, taken);
        std::string why;
        if (table.Over() || !table.Apply(a.seat, a.action, &why)) {
            error = ", action " + std::to_string(n + 1) + " (" + ActionWord(a) +
                    "): " + (table.Over() ? "the hand was already over" : why);
            return false;
        }
        taken.push_back(a);
        if (n + 1 == actions.size()) PassUntil(table, nullptr, taken);
        if (steps != nullptr) steps->push_back(std::move(taken));
    }
    if (!table.Over()) {
        error = ": the recorded actions end before the hand does";
        return false;
    }
    return true;
}

std::string HandName(const HandRecord& h) {
    return std::string(h.round == 0 ? "E" : "S") + std::to_string(h.dealer + 1) + " " +
           std::to_string(h.honba);
}

bool ParseSeed(const std::string& text, std::uint64_t& seed) {
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seed);
    return ec == std::errc() && end == text.data() + text.size();
}

bool GameReplay::Load(const RecordedGame& record, std::string& error) {
    record_ = &record;
    hands_.clear();
    complete_ = false;
    std::uint64_t seed = 0;
    if (!ParseSeed(record.seed, seed)) {
        error = "the game has no seed";
        return false;
    }
    if (record.hands.empty()) {
        error = "the game has no hands";
        return false;
    }
    rules_ = RulesFromRecord(record.rules);
    game_ = std::make_unique<riichi::Game>(rules_, seed, record.hands.front().dealer);
    for (std::size_t i = 0; i < record.hands.size(); ++i) {
        const HandRecord& h = record.hands[i];
        const std::string where = "hand " + std::to_string(i + 1) + " (" + HandName(h) + ")";
        if (game_->Over()) {
            error = where + ": the game was already over";
            return false;
        }
        if (h.actions.empty()) {
            error = where + ": no actions recorded";
            return false;
        }
        Hand& table = game_->Current();
        hands_.emplace_back(table);
        ReplayedHand& replayed = hands_.back();
        replayed.record = &h;
        std::string why;
        if (!PlayHand(table, h.actions, &replayed.steps, why)) {
            error = where + why;
            return false;
        }
        replayed.result = table.Result();
        if (replayed.result.scoresAfter != h.scoresAfter) {
            error = where + ": the replay's scores differ from the record";
            return false;
        }
        game_->NextHand();
    }
    if (!game_->Over()) {
        error = "the record ends before the game does";
        return false;
    }
    complete_ = true;
    return true;
}

int GameReplay::Steps(int hand) const {
    if (hand < 0 || hand >= HandCount()) return 0;
    return static_cast<int>(hands_[static_cast<std::size_t>(hand)].steps.size());
}

riichi::Hand GameReplay::StateAt(int hand, int step) const {
    const ReplayedHand& h = hands_.at(static_cast<std::size_t>(hand));
    Hand table = h.start;
    for (int i = 0; i < step && i < Steps(hand); ++i)
        for (const LoggedAction& a : h.steps[static_cast<std::size_t>(i)]) table.Apply(a.seat, a.action);
    return table;
}

riichi::LoggedAction GameReplay::ActionAt(int hand, int step) const {
    if (step < 1 || step > Steps(hand)) return {};
    const auto& taken = hands_[static_cast<std::size_t>(hand)].steps[static_cast<std::size_t>(step - 1)];
    for (auto it = taken.rbegin(); it != taken.rend(); ++it)
        if (it->action.type != ActionType::Pass) return *it;
    return {};
}

}  // namespace zv::engine
