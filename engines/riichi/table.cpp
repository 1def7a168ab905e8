// The hand state machine: its state and what each seat may see of it, the
// step's events, and taking an action. The turns are in table_turn.cpp, the
// claim windows in table_claims.cpp and the payments at the end of a hand in
// table_settlement.cpp. See table.h for the rules it follows.
#include "riichi/table.h"

#include <algorithm>

#include "riichi/shanten.h"
#include "riichi/table_detail.h"

namespace zv::riichi {

using detail::Event;
using detail::SeatWind;

namespace {

const std::vector<Action> kNoActions;

const char* TypeWord(ActionType type) {
    switch (type) {
        case ActionType::Discard:
            return "discard";
        case ActionType::Riichi:
            return "riichi";
        case ActionType::Tsumo:
            return "tsumo";
        case ActionType::Ron:
            return "ron";
        case ActionType::Pon:
            return "pon";
        case ActionType::Chi:
            return "chi";
        case ActionType::OpenKan:
            return "open-kan";
        case ActionType::ClosedKan:
            return "closed-kan";
        case ActionType::AddedKan:
            return "added-kan";
        case ActionType::NineTerminals:
            return "nine-terminals";
        case ActionType::Pass:
            return "pass";
        case ActionType::North:
            return "north";
    }
    return "?";
}

// The tile's name in messages, "-" for no tile.
std::string Name(TileId t) { return t < 0 || t >= kTiles ? "-" : TileName(t); }

}  // namespace

std::string ActionText(const Action& action) {
    std::string text = TypeWord(action.type);
    if (action.tile >= 0) text += " " + Name(action.tile);
    if (action.with[0] >= 0) text += " " + Name(action.with[0]) + Name(action.with[1]);
    return text;
}

bool IsAbortive(HandEnd end) {
    return end == HandEnd::NineTerminals || end == HandEnd::FourWinds || end == HandEnd::FourKans ||
           end == HandEnd::FourRiichi || end == HandEnd::TripleRon;
}

// ---------------------------------------------------------------------------
// Hand: setting up and looking at the table.

Hand::Hand(const HandSetup& setup, const Wall& wall)
    : setup_(setup), players_(setup.rules.Players()), wall_(wall), scores_(setup.scores) {
    sticks_ = setup.sticks;
    result_.roundWind = setup.roundWind;
    result_.dealer = setup.dealer;
    result_.honba = setup.honba;
    result_.sticksBefore = setup.sticks;
    Deal();
    step_.clear();  // the deal is told by StartOf, not as a step
}

void Hand::Deal() {
    for (int i = 0; i < players_; ++i) {
        int seat = Next(setup_.dealer, i);
        for (int n = 0; n < 13; ++n) AddTile(seat, wall_.Draw());
    }
    for (int seat = 0; seat < players_; ++seat) UpdateWaits(seat);
    DrawFor(setup_.dealer);
}

void Hand::AddTile(int seat, TileId tile) {
    auto& s = seats_[Idx(seat)];
    s.hand.insert(std::upper_bound(s.hand.begin(), s.hand.end(), tile), tile);
    s.counts[static_cast<std::size_t>(KindOf(tile))] += 1;
}

void Hand::RemoveTile(int seat, TileId tile) {
    auto& s = seats_[Idx(seat)];
    auto it = std::lower_bound(s.hand.begin(), s.hand.end(), tile);
    if (it == s.hand.end() || *it != tile) return;  // callers only remove held tiles
    s.hand.erase(it);
    s.counts[static_cast<std::size_t>(KindOf(tile))] -= 1;
}

const Hand::SeatState& Hand::Seat(int seat) const {
    static const SeatState kNobody{};
    return seat >= 0 && seat < 4 ? seats_[Idx(seat)] : kNobody;
}

std::vector<int> Hand::PendingSeats() const {
    std::vector<int> seats;
    if (phase_ == Phase::Turn) {
        seats.push_back(turn_);
    } else if (phase_ == Phase::Claims) {
        for (int i = 1; i < players_; ++i) {
            int seat = Next(claimFrom_, i);
            if (claimPending_[Idx(seat)]) seats.push_back(seat);
        }
    }
    return seats;
}

const std::vector<Action>& Hand::LegalActions(int seat) const {
    if (seat < 0 || seat > 3) return kNoActions;
    if (phase_ == Phase::Turn) return seat == turn_ ? legal_[Idx(seat)] : kNoActions;
    if (phase_ == Phase::Claims) return claimPending_[Idx(seat)] ? legal_[Idx(seat)] : kNoActions;
    return kNoActions;
}

bool Hand::IsLegal(int seat, const Action& action) const {
    const auto& legal = LegalActions(seat);
    return std::find(legal.begin(), legal.end(), action) != legal.end();
}

bool Hand::Furiten(int seat) const {
    const auto& s = seats_[Idx(seat)];
    return (s.waits & s.riverKinds) != 0 || s.tempFuriten || s.riichiFuriten;
}

SeatView Hand::View(int seat) const {
    SeatView v;
    if (seat < 0 || seat > 3) return v;
    const auto& me = seats_[Idx(seat)];
    v.seat = seat;
    v.rules = setup_.rules;
    v.roundWind = setup_.roundWind;
    v.seatWind = SeatWind(seat, setup_.dealer, players_);
    v.dealer = setup_.dealer;
    v.honba = setup_.honba;
    v.sticks = sticks_;
    v.phase = phase_;
    v.turn = phase_ == Phase::Claims ? claimFrom_ : turn_;
    v.concealed = me.hand;
    if (phase_ == Phase::Turn && seat == turn_ && drawn_ >= 0) {
        v.drawn = drawn_;
        auto it = std::lower_bound(v.concealed.begin(), v.concealed.end(), drawn_);
        if (it != v.concealed.end() && *it == drawn_) v.concealed.erase(it);
    }
    for (int i = 0; i < 4; ++i) {
        const auto& s = seats_[Idx(i)];
        v.melds[Idx(i)] = s.melds;
        v.rivers[Idx(i)] = s.river;
        v.concealedCount[Idx(i)] = static_cast<int>(s.hand.size());
        v.riichi[Idx(i)] = s.riichi;
        v.north[Idx(i)] = s.north;
    }
    v.players = players_;
    if (phase_ == Phase::Claims) {
        v.claimTile = claimTile_;
        v.claimIsKan = claimKind_ == ClaimKind::AddedKan || claimKind_ == ClaimKind::ClosedKan;
        v.claimIsNorth = claimKind_ == ClaimKind::North;
    }
    v.doraIndicators = wall_.DoraIndicators();
    v.liveTiles = wall_.LiveRemaining();
    v.scores = scores_;
    v.ippatsu = me.ippatsu;
    v.firstGoAround = !interrupted_ && me.river.empty();
    v.legal = LegalActions(seat);
    v.furiten = Furiten(seat);
    v.waits = me.waits;
    return v;
}

std::string Hand::CheckTiles() const {
    std::array<int, kTiles> seen{};
    int held = 0;
    auto see = [&](TileId t, const char* where) -> std::string {
        if (t < 0 || t >= kTiles) return std::string("a bad tile id in ") + where;
        if (++seen[static_cast<std::size_t>(t)] > 1) return "tile " + Name(t) + " is in two places";
        ++held;
        return {};
    };
    for (int seat = 0; seat < 4; ++seat) {
        const auto& s = seats_[Idx(seat)];
        Counts counts{};
        for (TileId t : s.hand) {
            if (auto e = see(t, "a hand"); !e.empty()) return e;
            counts[static_cast<std::size_t>(KindOf(t))] += 1;
        }
        if (counts != s.counts) return "the kind counts of seat " + std::to_string(seat) + " are stale";
        for (const Meld& m : s.melds)
            for (int i = 0; i < m.size; ++i)
                if (auto e = see(m.tiles[Idx(i)], "a meld"); !e.empty()) return e;
        for (const RiverTile& r : s.river)
            if (!r.called)
                if (auto e = see(r.tile, "a river"); !e.empty()) return e;
        for (TileId t : s.north)
            if (auto e = see(t, "the norths set aside"); !e.empty()) return e;
    }
    for (TileId t : wall_.DoraIndicators())
        if (t >= 0 && t < kTiles && seen[static_cast<std::size_t>(t)] > 0)
            return "dora indicator " + Name(t) + " left the dead wall";
    int outOfWall = wall_.Size() - 14 - wall_.LiveRemaining();
    if (held != outOfWall)
        return std::to_string(held) + " tiles are held but " + std::to_string(outOfWall) + " left the wall";
    return {};
}

// ---------------------------------------------------------------------------
// Telling the step's events.

namespace {

// Where an event stands among a step's events: the discard, riichi
// accepted, the call or kan, new dora, the draw, the end.
int StepRank(EventType type) {
    switch (type) {
        case EventType::Discard:
            return 0;
        case EventType::RiichiAccepted:
            return 1;
        case EventType::Chi:
        case EventType::Pon:
        case EventType::OpenKan:
        case EventType::ClosedKan:
        case EventType::AddedKan:
        case EventType::North:
            return 2;
        case EventType::NewDora:
            return 3;
        case EventType::Draw:
            return 4;
        case EventType::HandOver:
            return 5;
    }
    return 5;
}

}  // namespace

void Hand::Tell(TableEvent event) {
    // Only the step's last draw is the seat's: an earlier one was replaced.
    if (event.type == EventType::Draw)
        std::erase_if(step_, [](const TableEvent& e) { return e.type == EventType::Draw; });
    auto at = std::find_if(step_.begin(), step_.end(),
                           [&](const TableEvent& e) { return StepRank(e.type) > StepRank(event.type); });
    step_.insert(at, std::move(event));
}

void Hand::RevealKanDora() {
    std::size_t shown = wall_.DoraIndicators().size();
    wall_.RevealKanDora();
    std::vector<TileId> now = wall_.DoraIndicators();
    if (now.size() > shown) Tell(Event(EventType::NewDora, -1, now.back()));
}

// ---------------------------------------------------------------------------
// What a seat holds: its waits, and what a win now would be scored from.

void Hand::UpdateWaits(int seat) {
    auto& s = seats_[Idx(seat)];
    int melds = static_cast<int>(s.melds.size());
    s.waits = Shanten(s.counts, melds) == 0 ? Waits(s.counts, melds) : 0;
}

WinSituation Hand::Situation(int seat, TileId winTile, bool tsumo, ClaimKind kind) const {
    const auto& s = seats_[Idx(seat)];
    WinSituation w;
    w.concealed = s.hand;
    if (!tsumo) w.concealed.push_back(winTile);
    w.melds = s.melds;
    w.north = s.north;
    w.winTile = winTile;
    w.tsumo = tsumo;
    w.riichi = s.riichi;
    w.doubleRiichi = s.riichi && s.doubleRiichi;
    w.ippatsu = s.riichi && s.ippatsu;
    int live = wall_.LiveRemaining();
    w.haitei = tsumo && !rinshan_ && live == 0;
    w.houtei = !tsumo && kind == ClaimKind::Discard && live == 0;
    w.rinshan = tsumo && rinshan_;
    w.chankan = !tsumo && (kind == ClaimKind::AddedKan || kind == ClaimKind::ClosedKan);
    bool first = tsumo && !interrupted_ && s.river.empty();
    w.tenhou = first && seat == setup_.dealer;
    w.chiihou = first && seat != setup_.dealer;
    w.roundWind = setup_.roundWind;
    w.seatWind = SeatWind(seat, setup_.dealer, players_);
    w.doraIndicators = wall_.DoraIndicators();
    if (s.riichi) {
        w.uraIndicators = wall_.UraIndicators();
        if (setup_.rules.noKanUra && w.uraIndicators.size() > 1) w.uraIndicators.resize(1);
    }
    w.honba = setup_.honba;
    w.sticks = 0;  // the table hands out the sticks itself
    return w;
}

// ---------------------------------------------------------------------------
// Taking actions.

bool Hand::Apply(int seat, const Action& action, std::string* error) {
    step_.clear();
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (seat < 0 || seat >= players_) return fail("there is no seat " + std::to_string(seat));
    if (phase_ == Phase::Over) return fail("the hand is over");
    if (!IsLegal(seat, action)) {
        if (LegalActions(seat).empty())
            return fail("seat " + std::to_string(seat) + " has nothing to decide now");
        return fail(ActionText(action) + " is not allowed for seat " + std::to_string(seat) + " now");
    }
    log_.push_back({seat, action});
    if (phase_ == Phase::Claims) {
        claimChoice_[Idx(seat)] = action;
        claimPending_[Idx(seat)] = false;
        if (std::none_of(claimPending_.begin(), claimPending_.end(), [](bool b) { return b; }))
            ResolveClaims();
        return true;
    }
    switch (action.type) {
        case ActionType::Tsumo:
            EndWins({seat}, drawn_, true, ClaimKind::Discard);
            break;
        case ActionType::Discard:
        case ActionType::Riichi:
            DoDiscard(action);
            break;
        case ActionType::ClosedKan:
        case ActionType::AddedKan:
            DoKan(seat, action);
            break;
        case ActionType::North:
            DoNorth(seat, action.tile);
            break;
        case ActionType::NineTerminals:
            result_.declarer = seat;
            result_.revealed[Idx(seat)] = seats_[Idx(seat)].hand;
            EndDraw(HandEnd::NineTerminals);
            break;
        default:
            break;  // claims never reach a turn's list
    }
    return true;
}
}  // namespace zv::riichi
