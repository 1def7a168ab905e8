// The table's events over seeded games: a seat that knows only the events it
// was sent can rebuild everything public of the table and its own hand, it
// never learns another seat's drawn tile, and a hand's action log replayed
// on the same wall gives the same hand.
#include "riichi/events.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "riichi/game.h"
#include "riichi/random.h"
#include "riichi/table.h"
#include "support/simple_player.h"

namespace zv::riichi {
namespace {

std::size_t I(int i) { return static_cast<std::size_t>(i); }

#ifdef NDEBUG
constexpr std::uint64_t kGames = 300;
#else
constexpr std::uint64_t kGames = 30;
#endif
// Robbed kans are rare: about one game in thirty has one.
constexpr std::uint64_t kRobbingGames = kGames < 100 ? 100 : kGames;

// What one seat rebuilds from its events.
struct SeatModel {
    int seat = 0;
    std::vector<TileId> hand;  // own concealed tiles, drawn tile included
    std::array<std::vector<TileId>, 4> rivers;
    std::array<std::vector<Meld>, 4> melds;
    std::array<std::vector<TileId>, 4> north;
    std::array<bool, 4> riichi{};
    std::vector<TileId> dora;

    void Start(const HandStart& start) {
        hand = start.hands[I(seat)];
        for (int s = 0; s < 4; ++s) {
            if (s != seat) {
                EXPECT_TRUE(start.hands[I(s)].empty());
            }
            rivers[I(s)].clear(), melds[I(s)].clear(), north[I(s)].clear();
        }
        riichi = {};
        dora = {start.doraIndicator};
        Apply(start.dealerDraw);
    }

    void Remove(TileId t) {
        auto it = std::find(hand.begin(), hand.end(), t);
        ASSERT_NE(it, hand.end()) << "seat " << seat << " lost track of " << t;
        hand.erase(it);
    }

    void Apply(const TableEvent& e) {
        const bool mine = e.seat == seat;
        switch (e.type) {
            case EventType::Draw:
                if (mine) {
                    ASSERT_GE(e.tile, 0);
                    hand.push_back(e.tile);
                } else {
                    ASSERT_EQ(e.tile, -1) << "seat " << seat << " saw another seat's draw";
                }
                break;
            case EventType::Discard:
                if (mine) Remove(e.tile);
                rivers[I(e.seat)].push_back(e.tile);
                break;
            case EventType::Chi:
            case EventType::Pon:
            case EventType::OpenKan:
            case EventType::ClosedKan: {
                Meld m;
                m.type = e.type == EventType::Chi       ? MeldType::Chi
                         : e.type == EventType::Pon     ? MeldType::Pon
                         : e.type == EventType::OpenKan ? MeldType::OpenKan
                                                        : MeldType::ClosedKan;
                std::vector<TileId> tiles = e.consumed;
                if (e.tile >= 0) tiles.push_back(e.tile);
                std::sort(tiles.begin(), tiles.end());
                m.size = static_cast<int>(tiles.size());
                for (std::size_t i = 0; i < tiles.size(); ++i) m.tiles[i] = tiles[i];
                m.called = e.tile;
                m.from = e.from;
                if (mine)
                    for (TileId t : e.consumed) Remove(t);
                melds[I(e.seat)].push_back(m);
                break;
            }
            case EventType::AddedKan:
                if (mine) Remove(e.tile);
                for (Meld& m : melds[I(e.seat)]) {
                    if (m.type != MeldType::Pon || KindOf(m.tiles[0]) != KindOf(e.tile)) continue;
                    m.type = MeldType::AddedKan;
                    m.tiles[3] = e.tile;
                    m.size = 4;
                    std::sort(m.tiles.begin(), m.tiles.end());
                }
                break;
            case EventType::NewDora:
                dora.push_back(e.tile);
                break;
            case EventType::RiichiAccepted:
                riichi[I(e.seat)] = true;
                break;
            case EventType::HandOver:
                break;
            case EventType::North:
                if (mine) Remove(e.tile);
                north[I(e.seat)].push_back(e.tile);
                break;
        }
    }

    void Check(const Hand& table, const std::string& where) const {
        std::vector<TileId> own = hand;
        std::sort(own.begin(), own.end());
        ASSERT_EQ(own, table.Concealed(seat)) << where;
        for (int s = 0; s < 4; ++s) {
            std::vector<TileId> river;
            for (const RiverTile& r : table.River(s)) river.push_back(r.tile);
            ASSERT_EQ(rivers[I(s)], river) << where << " river " << s;
            const auto& real = table.Melds(s);
            ASSERT_EQ(melds[I(s)].size(), real.size()) << where;
            for (std::size_t i = 0; i < real.size(); ++i) {
                EXPECT_EQ(melds[I(s)][i].type, real[i].type) << where;
                EXPECT_EQ(melds[I(s)][i].tiles, real[i].tiles) << where;
                EXPECT_EQ(melds[I(s)][i].called, real[i].called) << where;
                EXPECT_EQ(melds[I(s)][i].from, real[i].from) << where;
            }
            ASSERT_EQ(riichi[I(s)], table.RiichiHeld(s)) << where;
            ASSERT_EQ(north[I(s)], table.North(s)) << where;
        }
        ASSERT_EQ(dora, table.WallState().DoraIndicators()) << where;
    }
};

Action Bold(const SeatView& v, Random& r) {
    for (const Action& a : v.legal)
        if (a.type != ActionType::Pass && a.type != ActionType::Discard && r.Chance(350)) return a;
    return ShantenOnlyDecision(v);
}

// Wins whenever it can and calls pon and every kan, so that added kans are
// declared often and sometimes robbed.
Action KanHungry(const SeatView& v, Random&) {
    for (ActionType wanted : {ActionType::Ron, ActionType::Tsumo, ActionType::AddedKan, ActionType::ClosedKan,
                              ActionType::OpenKan, ActionType::Pon})
        for (const Action& a : v.legal)
            if (a.type == wanted) return a;
    return ShantenOnlyDecision(v);
}

// The seat's one new or changed meld between the two states, as an event.
bool MeldChange(const Hand& before, const Hand& after, int seat, TableEvent& event) {
    const auto& was = before.Melds(seat);
    const auto& now = after.Melds(seat);
    if (now.size() > was.size()) {
        event = MeldEvent(seat, now.back());
        return true;
    }
    for (std::size_t i = 0; i < now.size() && i < was.size(); ++i) {
        if (was[i].type == MeldType::Pon && now[i].type == MeldType::AddedKan) {
            event = TableEvent{};
            event.type = EventType::AddedKan;
            event.seat = seat;
            for (int k = 0; k < 4; ++k) {
                TileId t = now[i].tiles[I(k)];
                bool inPon =
                    std::find(was[i].tiles.begin(), was[i].tiles.begin() + 3, t) != was[i].tiles.begin() + 3;
                if (inPon)
                    event.consumed.push_back(t);
                else
                    event.tile = t;
            }
            std::sort(event.consumed.begin(), event.consumed.end());
            return true;
        }
    }
    return false;
}

int TilesDrawn(const Hand& hand) {
    return -hand.WallState().LiveRemaining() + hand.WallState().KansDeclared();
}

// The events of one step found the other way: by comparing copies of the
// hand taken before and after it. The table's own account must agree.
std::vector<TableEvent> EventsBetween(const Hand& before, const Hand& after) {
    std::vector<TableEvent> events;
    // A step holds at most one discard, call or kan of its own.
    for (int seat = 0; seat < 4; ++seat) {
        const auto& was = before.River(seat);
        const auto& now = after.River(seat);
        if (now.size() <= was.size()) continue;
        TableEvent e;
        e.type = EventType::Discard;
        e.seat = seat;
        e.tile = now.back().tile;
        e.tsumogiri = now.back().tsumogiri;
        e.riichi = now.back().riichi;
        events.push_back(e);
    }
    for (int seat = 0; seat < 4; ++seat) {
        if (before.RiichiHeld(seat) || !after.RiichiHeld(seat)) continue;
        TableEvent e;
        e.type = EventType::RiichiAccepted;
        e.seat = seat;
        events.push_back(e);
    }
    for (int seat = 0; seat < 4; ++seat) {
        TableEvent call;
        if (MeldChange(before, after, seat, call)) events.push_back(call);
    }
    const auto wasDora = before.WallState().DoraIndicators();
    const auto nowDora = after.WallState().DoraIndicators();
    for (std::size_t i = wasDora.size(); i < nowDora.size(); ++i) {
        TableEvent e;
        e.type = EventType::NewDora;
        e.tile = nowDora[i];
        events.push_back(e);
    }
    if (TilesDrawn(after) > TilesDrawn(before) && after.Drawn() >= 0) {
        TableEvent e;
        e.type = EventType::Draw;
        e.seat = after.Turn();
        e.tile = after.Drawn();
        e.rinshan = after.WallState().KansDeclared() > before.WallState().KansDeclared();
        events.push_back(e);
    }
    if (after.Over() && !before.Over()) {
        TableEvent e;
        e.type = EventType::HandOver;
        events.push_back(e);
    }
    return events;
}

// A refused action tells nothing, so that a caller never hears the step
// before it again.
TEST(TableEvents, ARefusedActionTellsNothing) {
    Game game(Rules{}, 3);
    Hand& hand = game.Current();
    EXPECT_TRUE(hand.StepEvents().empty());  // the deal is told by StartOf
    int dealer = hand.PendingSeats().front();
    ASSERT_TRUE(hand.Apply(dealer, hand.LegalActions(dealer).back()));
    ASSERT_FALSE(hand.StepEvents().empty());
    EXPECT_EQ(hand.StepEvents().front().type, EventType::Discard);
    EXPECT_FALSE(hand.Apply(dealer, Action{ActionType::Pon, -1, {-1, -1}}));
    EXPECT_TRUE(hand.StepEvents().empty());
}

struct Tally {
    int calls = 0, kans = 0, riichis = 0, robbed = 0;
};

// Plays game `seed`, feeds every step's events to a model of each seat and
// checks the models against the table after every step. A win on a robbed
// kan must follow the kan's event with nothing in between: no replacement
// draw and no dora.
void PlayTold(std::uint64_t seed, Action (*decide)(const SeatView&, Random&), Tally& tally) {
    Random r(seed * 7919);
    Rules rules;
    rules.eastOnly = true;
    Game game(rules, seed);
    std::array<SeatModel, 4> seats;
    for (int s = 0; s < 4; ++s) seats[I(s)].seat = s;
    while (!game.Over()) {
        for (auto& m : seats) m.Start(ForSeat(StartOf(game.Current()), m.seat));
        int step = 0;
        TableEvent lastTold;
        while (!game.Current().Over()) {
            int seat = game.PendingSeats().front();
            Hand before = game.Current();
            ASSERT_TRUE(game.Apply(seat, decide(game.View(seat), r)));
            auto events = EventsBetween(before, game.Current());
            for (const TableEvent& e : events) {
                tally.calls += e.type == EventType::Chi || e.type == EventType::Pon;
                tally.kans += e.type == EventType::OpenKan || e.type == EventType::ClosedKan ||
                              e.type == EventType::AddedKan;
                tally.riichis += e.type == EventType::RiichiAccepted;
                if (e.type != EventType::HandOver) lastTold = e;
            }
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            EXPECT_EQ(game.Current().StepEvents(), events) << where;
            if (game.Current().Over()) {
                ASSERT_FALSE(events.empty());
                EXPECT_EQ(events.back().type, EventType::HandOver);
                const HandResult& result = game.Current().Result();
                if (!result.winners.empty() && result.winners[0].situation.chankan) {
                    ++tally.robbed;
                    TileId won = result.winners[0].winTile;
                    EXPECT_EQ(lastTold.seat, result.loser) << where;
                    if (lastTold.type == EventType::AddedKan) {
                        EXPECT_EQ(lastTold.tile, won) << where;
                    } else {
                        ASSERT_EQ(lastTold.type, EventType::ClosedKan) << where;
                        EXPECT_EQ(KindOf(lastTold.consumed.at(0)), KindOf(won)) << where;
                    }
                }
            }
            for (auto& m : seats) {
                for (const TableEvent& e : events) m.Apply(ForSeat(e, m.seat));
                m.Check(game.Current(), where);
                if (testing::Test::HasFatalFailure()) return;
            }
            ++step;
        }
        game.NextHand();
    }
}

TEST(TableEvents, EverySeatRebuildsItsTableFromItsOwnEvents) {
    Tally tally;
    for (std::uint64_t seed = 1; seed <= kGames; ++seed) {
        PlayTold(seed, Bold, tally);
        if (testing::Test::HasFatalFailure()) return;
    }
    // The players above are bold enough that every kind of event occurs.
    EXPECT_GT(tally.calls, 0);
    EXPECT_GT(tally.kans, 0);
    EXPECT_GT(tally.riichis, 0);
}

TEST(TableEvents, ARobbedKanIsToldBeforeTheWinOnItAndNeverCompletes) {
    Tally tally;
    for (std::uint64_t seed = 1; seed <= kRobbingGames; ++seed) {
        PlayTold(seed, KanHungry, tally);
        if (testing::Test::HasFatalFailure()) return;
    }
    EXPECT_GT(tally.robbed, 0);
}

TEST(TableEvents, ActionLogReplaysTheSameGame) {
    for (std::uint64_t seed = 1; seed <= kGames / 3; ++seed) {
        Random r(seed);
        Rules rules;
        Game played(rules, seed);
        played.PlayOut(
            {[&](const SeatView& v) { return Bold(v, r); }, [&](const SeatView& v) { return Bold(v, r); },
             [&](const SeatView& v) { return Bold(v, r); }, [&](const SeatView& v) { return Bold(v, r); }});
        Game replay(rules, seed);
        for (const HandResult& recorded : played.Results()) {
            ASSERT_FALSE(replay.Over());
            for (const LoggedAction& a : recorded.actions)
                ASSERT_TRUE(replay.Apply(a.seat, a.action)) << seed;
            ASSERT_TRUE(replay.Current().Over());
            EXPECT_EQ(replay.Current().Result().scoresAfter, recorded.scoresAfter);
            EXPECT_EQ(replay.Current().Result().actions, recorded.actions);
            replay.NextHand();
        }
        EXPECT_TRUE(replay.Over());
        EXPECT_EQ(replay.Scores(), played.Scores());
    }
}

}  // namespace
}  // namespace zv::riichi
