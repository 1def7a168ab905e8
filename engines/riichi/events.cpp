#include "riichi/events.h"

#include <algorithm>

namespace zv::riichi {
namespace {

std::size_t Idx(int seat) { return static_cast<std::size_t>(seat); }

std::vector<TileId> OwnTiles(const Meld& meld) {
    std::vector<TileId> own;
    for (int i = 0; i < meld.size; ++i) {
        TileId t = meld.tiles[Idx(i)];
        if (t != meld.called) own.push_back(t);
    }
    std::sort(own.begin(), own.end());
    return own;
}

TableEvent MeldEvent(int seat, const Meld& meld) {
    TableEvent e;
    e.seat = seat;
    e.tile = meld.called;
    e.from = meld.from;
    e.consumed = OwnTiles(meld);
    switch (meld.type) {
        case MeldType::Chi:
            e.type = EventType::Chi;
            break;
        case MeldType::Pon:
            e.type = EventType::Pon;
            break;
        case MeldType::OpenKan:
            e.type = EventType::OpenKan;
            break;
        case MeldType::ClosedKan:
            e.type = EventType::ClosedKan;
            e.tile = -1;
            e.from = -1;
            break;
        case MeldType::AddedKan:
            break;  // found by comparing with the pon it was
    }
    return e;
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
                TileId t = now[i].tiles[Idx(k)];
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

}  // namespace

const char* EventName(EventType type) {
    switch (type) {
        case EventType::Draw:
            return "draw";
        case EventType::Discard:
            return "discard";
        case EventType::Chi:
            return "chi";
        case EventType::Pon:
            return "pon";
        case EventType::OpenKan:
            return "kan";
        case EventType::ClosedKan:
            return "ankan";
        case EventType::AddedKan:
            return "kakan";
        case EventType::NewDora:
            return "dora";
        case EventType::RiichiAccepted:
            return "riichi";
        case EventType::HandOver:
            return "end";
    }
    return "?";
}

HandStart StartOf(const Hand& hand) {
    const HandSetup& setup = hand.Setup();
    HandStart start;
    start.roundWind = setup.roundWind;
    start.dealer = setup.dealer;
    start.honba = setup.honba;
    start.sticks = setup.sticks;
    start.scores = setup.scores;
    start.doraIndicator = hand.WallState().DoraIndicators().front();
    for (int seat = 0; seat < 4; ++seat) start.hands[Idx(seat)] = hand.Concealed(seat);
    start.dealerDraw.type = EventType::Draw;
    start.dealerDraw.seat = setup.dealer;
    start.dealerDraw.tile = hand.Drawn();
    auto& dealerHand = start.hands[Idx(setup.dealer)];
    auto it = std::find(dealerHand.begin(), dealerHand.end(), hand.Drawn());
    if (it != dealerHand.end()) dealerHand.erase(it);
    return start;
}

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

TableEvent ForSeat(TableEvent event, int viewer) {
    if (event.type == EventType::Draw && event.seat != viewer) event.tile = -1;
    return event;
}

HandStart ForSeat(HandStart start, int viewer) {
    for (int seat = 0; seat < 4; ++seat)
        if (seat != viewer) start.hands[Idx(seat)].clear();
    start.dealerDraw = ForSeat(start.dealerDraw, viewer);
    return start;
}

}  // namespace zv::riichi
