#pragma once
// A recorded game played again on the rules library: the walls come from
// the record's seed, the rules from its "rules:" line and every decision
// from its "act:" lines. The replay keeps each hand's table as dealt and the
// actions that lead from it, so any moment of the game can be rebuilt, and
// checks every hand's scores against the record's hand lines.
//
// The record leaves out the passes; the replay answers every claim that
// nobody took with a pass, just before the next recorded action (or at the
// end of the hand), which is where the table needs them.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "format/game_record.h"
#include "riichi/game.h"
#include "riichi/table.h"

namespace zv::engine {

struct ReplayedHand {
    explicit ReplayedHand(const riichi::Hand& dealt) : start(dealt) {}

    riichi::Hand start;  // as dealt, before any action
    // What the table took for each recorded action: the passes it needed
    // first, then the action itself (the last step also the passes after it).
    std::vector<std::vector<riichi::LoggedAction>> steps;
    riichi::HandResult result;  // once the hand is over
    const HandRecord* record = nullptr;
};

class GameReplay {
public:
    // Plays `game` again (it must outlive the replay). False with `error`
    // when the game cannot be played to its end: no seed, a hand without
    // actions, an action the table refuses, or scores that differ from the
    // record. The hands replayed before the problem stay available.
    bool Load(const RecordedGame& game, std::string& error);

    const std::vector<ReplayedHand>& Hands() const { return hands_; }
    int HandCount() const { return static_cast<int>(hands_.size()); }
    // Recorded actions of hand `hand` (the table after the last one is over).
    int Steps(int hand) const;
    // The table of hand `hand` after its first `step` actions (0: as dealt).
    riichi::Hand StateAt(int hand, int step) const;
    // The recorded action that leads to step `step` (1..Steps).
    riichi::LoggedAction ActionAt(int hand, int step) const;

    // The game played to its end (null when the replay stopped early).
    const riichi::Game* Finished() const { return complete_ ? game_.get() : nullptr; }
    const riichi::Rules& Rules() const { return rules_; }
    const RecordedGame* Record() const { return record_; }

private:
    std::unique_ptr<riichi::Game> game_;
    riichi::Rules rules_;
    std::vector<ReplayedHand> hands_;
    const RecordedGame* record_ = nullptr;
    bool complete_ = false;
};

// Plays recorded actions (without passes) on `hand` as GameReplay does,
// answering the open claims nobody took with passes; `steps` (if given)
// receives what the table took for each action. False with `error` when an
// action is refused or the actions end before the hand does.
bool PlayHand(riichi::Hand& hand, const std::vector<riichi::LoggedAction>& actions,
              std::vector<std::vector<riichi::LoggedAction>>* steps, std::string& error);

// The name of a hand as the record writes it ("E1 0": round, dealer, honba).
std::string HandName(const HandRecord& hand);

// The seed of a "seed:" line as a number; false when it is not one.
bool ParseSeed(const std::string& text, std::uint64_t& seed);

}  // namespace zv::engine
