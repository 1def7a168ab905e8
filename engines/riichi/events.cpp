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

}  // namespace

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
        case EventType::North:
            return "north";
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
