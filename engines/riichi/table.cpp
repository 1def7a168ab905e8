// The hand state machine: dealing, turns, claim windows and their
// resolution, and the payments at the end of a hand. See table.h for the
// rules it follows.
#include "riichi/table.h"

#include <algorithm>

#include "riichi/shanten.h"

namespace zv::riichi {
namespace {

constexpr std::uint64_t Bit(Kind k) { return std::uint64_t{1} << k; }

const std::vector<Action> kNoActions;

Payer PayerOnTsumo(int seat, int dealer) { return seat == dealer ? Payer::Dealer : Payer::NonDealer; }

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
    }
    return "?";
}

// The tile's name in messages, "-" for no tile.
std::string Name(TileId t) { return t < 0 || t >= kTiles ? "-" : TileName(t); }

Kind SeatWind(int seat, int dealer) { return kEast + (seat - dealer + 4) % 4; }

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

Hand::Hand(const HandSetup& setup, const Wall& wall) : setup_(setup), wall_(wall), scores_(setup.scores) {
    sticks_ = setup.sticks;
    result_.roundWind = setup.roundWind;
    result_.dealer = setup.dealer;
    result_.honba = setup.honba;
    result_.sticksBefore = setup.sticks;
    Deal();
    step_.clear();  // the deal is told by StartOf, not as a step
}

void Hand::Deal() {
    for (int i = 0; i < 4; ++i) {
        int seat = (setup_.dealer + i) % 4;
        for (int n = 0; n < 13; ++n) AddTile(seat, wall_.Draw());
    }
    for (int seat = 0; seat < 4; ++seat) UpdateWaits(seat);
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
        for (int i = 1; i < 4; ++i) {
            int seat = (claimFrom_ + i) % 4;
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
    v.seatWind = SeatWind(seat, setup_.dealer);
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
    }
    if (phase_ == Phase::Claims) {
        v.claimTile = claimTile_;
        v.claimIsKan = claimKind_ != ClaimKind::Discard;
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
    }
    for (TileId t : wall_.DoraIndicators())
        if (t >= 0 && t < kTiles && seen[static_cast<std::size_t>(t)] > 0)
            return "dora indicator " + Name(t) + " left the dead wall";
    int outOfWall = kTiles - 14 - wall_.LiveRemaining();
    if (held != outOfWall)
        return std::to_string(held) + " tiles are held but " + std::to_string(outOfWall) + " left the wall";
    return {};
}

// ---------------------------------------------------------------------------
// Telling the step's events.

namespace {

TableEvent Event(EventType type, int seat = -1, TileId tile = -1) {
    TableEvent e;
    e.type = type;
    e.seat = seat;
    e.tile = tile;
    return e;
}

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
// Turns.

void Hand::DrawFor(int seat) { StartTurn(seat, wall_.Draw(), false); }

void Hand::StartTurn(int seat, TileId drawn, bool rinshan) {
    phase_ = Phase::Turn;
    turn_ = seat;
    drawn_ = drawn;
    rinshan_ = rinshan;
    afterCall_ = false;
    if (drawn >= 0) {
        AddTile(seat, drawn);
        TableEvent draw = Event(EventType::Draw, seat, drawn);
        draw.rinshan = rinshan;
        Tell(std::move(draw));
    }
    ComputeTurnActions();
}

void Hand::UpdateWaits(int seat) {
    auto& s = seats_[Idx(seat)];
    int melds = static_cast<int>(s.melds.size());
    s.waits = Shanten(s.counts, melds) == 0 ? Waits(s.counts, melds) : 0;
}

void Hand::ComputeTurnActions() {
    for (auto& l : legal_) l.clear();
    auto& out = legal_[Idx(turn_)];
    const auto& s = seats_[Idx(turn_)];
    const Rules& rules = setup_.rules;
    int melds = static_cast<int>(s.melds.size());
    int live = wall_.LiveRemaining();

    if (!afterCall_ && drawn_ >= 0) {
        if (IsComplete(s.counts, melds)) {
            Score score = ScoreWin(Situation(turn_, drawn_, true, ClaimKind::Discard), rules);
            if (score.won) out.push_back({ActionType::Tsumo, drawn_, {-1, -1}});
        }
        if (kanCount_ < 4 && live > 0) {
            if (s.riichi) {
                Kind k = KindOf(drawn_);
                if (s.counts[static_cast<std::size_t>(k)] == 4) {
                    Counts after = s.counts;
                    after[static_cast<std::size_t>(k)] = 0;
                    if (Waits(after, melds + 1) == s.waits)
                        out.push_back({ActionType::ClosedKan, k * 4, {-1, -1}});
                }
            } else {
                for (Kind k = 0; k < kKinds; ++k)
                    if (s.counts[static_cast<std::size_t>(k)] == 4)
                        out.push_back({ActionType::ClosedKan, k * 4, {-1, -1}});
                for (const Meld& m : s.melds) {
                    if (m.type != MeldType::Pon) continue;
                    Kind k = KindOf(m.tiles[0]);
                    if (s.counts[static_cast<std::size_t>(k)] == 0) continue;
                    TileId own = *std::lower_bound(s.hand.begin(), s.hand.end(), k * 4);
                    out.push_back({ActionType::AddedKan, own, {-1, -1}});
                }
            }
        }
        if (!interrupted_ && s.river.empty() && !rinshan_) {
            int kinds = 0;
            for (Kind k = 0; k < kKinds; ++k)
                if (IsTerminalOrHonor(k) && s.counts[static_cast<std::size_t>(k)] > 0) ++kinds;
            if (kinds >= 9) out.push_back({ActionType::NineTerminals, -1, {-1, -1}});
        }
    }

    if (s.riichi) {
        out.push_back({ActionType::Discard, drawn_, {-1, -1}});
        return;
    }
    bool closed = std::all_of(s.melds.begin(), s.melds.end(), [](const Meld& m) { return !m.IsOpen(); });
    bool mayRiichi = closed && !afterCall_ && drawn_ >= 0 && scores_[Idx(turn_)] >= kRiichiStick &&
                     live >= 4 && Shanten(s.counts, melds) <= 0;
    std::array<std::int8_t, kKinds> readyAfter{};  // 0 unknown, 1 ready, -1 not
    Counts counts = s.counts;
    for (TileId t : s.hand) {
        Kind k = KindOf(t);
        if (s.forbidden & Bit(k)) continue;
        out.push_back({ActionType::Discard, t, {-1, -1}});
        if (!mayRiichi) continue;
        auto& r = readyAfter[static_cast<std::size_t>(k)];
        if (r == 0) {
            counts[static_cast<std::size_t>(k)] -= 1;
            r = Shanten(counts, melds) == 0 ? 1 : -1;
            counts[static_cast<std::size_t>(k)] += 1;
        }
        if (r == 1) out.push_back({ActionType::Riichi, t, {-1, -1}});
    }
}

void Hand::DoDiscard(const Action& action) {
    int seat = turn_;
    auto& s = seats_[Idx(seat)];
    TileId tile = action.tile;
    Kind k = KindOf(tile);
    bool tsumogiri = tile == drawn_;
    RemoveTile(seat, tile);
    s.ippatsu = false;
    s.tempFuriten = false;
    s.forbidden = 0;
    s.river.push_back({tile, action.type == ActionType::Riichi, false, tsumogiri});
    TableEvent discard = Event(EventType::Discard, seat, tile);
    discard.tsumogiri = tsumogiri;
    discard.riichi = action.type == ActionType::Riichi;
    Tell(std::move(discard));
    s.riverKinds |= Bit(k);
    if (!IsTerminalOrHonor(k)) s.nagashi = false;
    if (action.type == ActionType::Riichi) {
        s.pendingRiichi = true;
        s.doubleRiichi = !interrupted_ && s.river.size() == 1;
    }
    for (; pendingKanDora_ > 0; --pendingKanDora_) RevealKanDora();
    ++discards_;
    drawn_ = -1;
    rinshan_ = false;
    afterCall_ = false;
    UpdateWaits(seat);
    OpenClaims(ClaimKind::Discard, seat, tile);
}

// ---------------------------------------------------------------------------
// Claims.

WinSituation Hand::Situation(int seat, TileId winTile, bool tsumo, ClaimKind kind) const {
    const auto& s = seats_[Idx(seat)];
    WinSituation w;
    w.concealed = s.hand;
    if (!tsumo) w.concealed.push_back(winTile);
    w.melds = s.melds;
    w.winTile = winTile;
    w.tsumo = tsumo;
    w.riichi = s.riichi;
    w.doubleRiichi = s.riichi && s.doubleRiichi;
    w.ippatsu = s.riichi && s.ippatsu;
    int live = wall_.LiveRemaining();
    w.haitei = tsumo && !rinshan_ && live == 0;
    w.houtei = !tsumo && kind == ClaimKind::Discard && live == 0;
    w.rinshan = tsumo && rinshan_;
    w.chankan = !tsumo && kind != ClaimKind::Discard;
    bool first = tsumo && !interrupted_ && s.river.empty();
    w.tenhou = first && seat == setup_.dealer;
    w.chiihou = first && seat != setup_.dealer;
    w.roundWind = setup_.roundWind;
    w.seatWind = SeatWind(seat, setup_.dealer);
    w.doraIndicators = wall_.DoraIndicators();
    if (s.riichi) {
        w.uraIndicators = wall_.UraIndicators();
        if (setup_.rules.noKanUra && w.uraIndicators.size() > 1) w.uraIndicators.resize(1);
    }
    w.honba = setup_.honba;
    w.sticks = 0;  // the table hands out the sticks itself
    return w;
}

bool Hand::CanRon(int seat, TileId tile, ClaimKind kind) const {
    const auto& s = seats_[Idx(seat)];
    Kind k = KindOf(tile);
    if (kind == ClaimKind::ClosedKan) {
        Counts c = s.counts;
        c[static_cast<std::size_t>(k)] += 1;
        if (ShantenThirteenOrphans(c) != -1) return false;
    } else if (!(s.waits & Bit(k))) {
        return false;
    }
    if (Furiten(seat)) return false;
    return ScoreWin(Situation(seat, tile, false, kind), setup_.rules).won;
}

void Hand::OpenClaims(ClaimKind kind, int from, TileId tile) {
    phase_ = Phase::Claims;
    claimKind_ = kind;
    claimFrom_ = from;
    claimTile_ = tile;
    for (auto& l : legal_) l.clear();
    claimPending_ = {};
    claimChoice_ = {};
    const Rules& rules = setup_.rules;
    Kind k = KindOf(tile);
    int live = wall_.LiveRemaining();
    bool any = false;
    for (int i = 1; i < 4; ++i) {
        int seat = (from + i) % 4;
        const auto& s = seats_[Idx(seat)];
        auto& out = legal_[Idx(seat)];
        if (CanRon(seat, tile, kind)) out.push_back({ActionType::Ron, tile, {-1, -1}});
        if (kind == ClaimKind::Discard && live > 0 && !s.riichi) {
            // The own copies of the discarded kind, and of any kind.
            auto copies = [&](Kind kk) {
                std::vector<TileId> v;
                auto it = std::lower_bound(s.hand.begin(), s.hand.end(), kk * 4);
                for (; it != s.hand.end() && KindOf(*it) == kk; ++it) v.push_back(*it);
                return v;
            };
            // Whether something is left to discard after using `a` and `b`.
            auto leavesDiscard = [&](TileId a, TileId b, std::uint64_t banned) {
                Counts c = s.counts;
                c[static_cast<std::size_t>(KindOf(a))] -= 1;
                c[static_cast<std::size_t>(KindOf(b))] -= 1;
                for (Kind kk = 0; kk < kKinds; ++kk)
                    if (c[static_cast<std::size_t>(kk)] > 0 && !(banned & Bit(kk))) return true;
                return false;
            };
            std::vector<TileId> own = copies(k);
            if (own.size() >= 2) {
                std::uint64_t banned = rules.noSwapCalling ? Bit(k) : 0;
                // One pon per choice of red five: pairs that differ in redness only.
                std::vector<std::array<TileId, 2>> pairs;
                for (std::size_t a = 0; a < own.size(); ++a)
                    for (std::size_t b = a + 1; b < own.size(); ++b) {
                        int reds = IsRedFive(own[a]) + IsRedFive(own[b]);
                        bool dup = std::any_of(pairs.begin(), pairs.end(), [&](const auto& p) {
                            return IsRedFive(p[0]) + IsRedFive(p[1]) == reds;
                        });
                        if (!dup) pairs.push_back({own[a], own[b]});
                    }
                for (const auto& p : pairs)
                    if (leavesDiscard(p[0], p[1], banned)) out.push_back({ActionType::Pon, tile, p});
            }
            if (own.size() == 3 && kanCount_ < 4) out.push_back({ActionType::OpenKan, tile, {-1, -1}});
            if (seat == (from + 1) % 4 && !IsHonor(k)) {
                int n = NumberOf(k);
                // (first, second) own kinds relative to the called kind, and the
                // other end a swap call would discard.
                const int shapes[3][3] = {{-2, -1, -3}, {-1, 1, 99}, {1, 2, 3}};
                for (const auto& sh : shapes) {
                    int na = n + sh[0], nb = n + sh[1];
                    if (na < 1 || nb > 9) continue;
                    std::vector<TileId> as = copies(k + sh[0]), bs = copies(k + sh[1]);
                    if (as.empty() || bs.empty()) continue;
                    std::uint64_t banned = 0;
                    if (rules.noSwapCalling) {
                        banned = Bit(k);
                        int ne = n + sh[2];
                        if (sh[2] != 99 && ne >= 1 && ne <= 9) banned |= Bit(k + sh[2]);
                    }
                    // Red and plain choices of each side: the first copy of
                    // each redness.
                    auto variants = [](const std::vector<TileId>& v) {
                        std::vector<TileId> r;
                        for (TileId t : v)
                            if (std::none_of(r.begin(), r.end(),
                                             [&](TileId x) { return IsRedFive(x) == IsRedFive(t); }))
                                r.push_back(t);
                        return r;
                    };
                    for (TileId a : variants(as))
                        for (TileId b : variants(bs))
                            if (leavesDiscard(a, b, banned))
                                out.push_back({ActionType::Chi, tile, {std::min(a, b), std::max(a, b)}});
                }
            }
        }
        if (!out.empty()) {
            out.push_back({ActionType::Pass, -1, {-1, -1}});
            claimPending_[Idx(seat)] = true;
            any = true;
        }
    }
    if (!any) ResolveClaims();
}

void Hand::ResolveClaims() {
    int from = claimFrom_;
    Kind k = KindOf(claimTile_);
    std::vector<int> rons;
    for (int i = 1; i < 4; ++i) {
        int seat = (from + i) % 4;
        if (claimChoice_[Idx(seat)].type == ActionType::Ron) rons.push_back(seat);
    }
    for (auto& l : legal_) l.clear();
    claimPending_ = {};
    if (!rons.empty()) {
        if (rons.size() == 3 && !setup_.rules.noTripleRonDraw) {
            EndDraw(HandEnd::TripleRon);
            return;
        }
        if (setup_.rules.headBump) rons.resize(1);
        EndWins(rons, claimTile_, false, claimKind_);
        return;
    }
    // Everyone let the tile pass: those waiting on it are furiten now.
    for (int i = 1; i < 4; ++i) {
        auto& s = seats_[Idx((from + i) % 4)];
        bool passedWin = (s.waits & Bit(k)) != 0;
        if (claimKind_ == ClaimKind::ClosedKan) {
            // Only a thirteen-orphans hand could have robbed the closed kan.
            Counts c = s.counts;
            c[static_cast<std::size_t>(k)] += 1;
            passedWin = ShantenThirteenOrphans(c) == -1;
        }
        if (passedWin) {
            s.tempFuriten = true;
            if (s.riichi) s.riichiFuriten = true;
        }
    }
    if (claimKind_ != ClaimKind::Discard) {
        FinishKan(from, claimKind_ == ClaimKind::AddedKan ? MeldType::AddedKan : MeldType::ClosedKan);
        return;
    }
    EstablishPendingRiichi();
    if (phase_ == Phase::Over) return;
    if (kanCount_ == 4) {
        int owners = 0;
        for (const auto& s : seats_) owners += s.kans > 0 ? 1 : 0;
        if (owners > 1) {
            EndDraw(HandEnd::FourKans);
            return;
        }
    }
    for (int i = 1; i < 4; ++i) {
        int seat = (from + i) % 4;
        ActionType t = claimChoice_[Idx(seat)].type;
        if (t == ActionType::Pon || t == ActionType::OpenKan) {
            DoCall(seat, claimChoice_[Idx(seat)]);
            return;
        }
    }
    int next = (from + 1) % 4;
    if (claimChoice_[Idx(next)].type == ActionType::Chi) {
        DoCall(next, claimChoice_[Idx(next)]);
        return;
    }
    AfterDiscardPasses();
}

void Hand::EstablishPendingRiichi() {
    auto& s = seats_[Idx(claimFrom_)];
    if (!s.pendingRiichi) return;
    s.pendingRiichi = false;
    s.riichi = true;
    Tell(Event(EventType::RiichiAccepted, claimFrom_));
    s.ippatsu = true;
    scores_[Idx(claimFrom_)] -= kRiichiStick;
    sticks_ += 1;
    if (std::all_of(seats_.begin(), seats_.end(), [](const SeatState& x) { return x.riichi; }))
        EndDraw(HandEnd::FourRiichi);
}

void Hand::AfterDiscardPasses() {
    if (!interrupted_ && discards_ == 4) {
        Kind first = KindOf(seats_[0].river[0].tile);
        bool same = IsWind(first) && std::all_of(seats_.begin(), seats_.end(), [&](const SeatState& s) {
                        return KindOf(s.river[0].tile) == first;
                    });
        if (same) {
            EndDraw(HandEnd::FourWinds);
            return;
        }
    }
    if (wall_.LiveRemaining() == 0) {
        EndExhaustive();
        return;
    }
    DrawFor((claimFrom_ + 1) % 4);
}

void Hand::DoCall(int seat, const Action& action) {
    int from = claimFrom_;
    TileId tile = claimTile_;
    Kind k = KindOf(tile);
    auto& s = seats_[Idx(seat)];
    auto& giver = seats_[Idx(from)];
    giver.river.back().called = true;
    giver.nagashi = false;
    for (auto& x : seats_) x.ippatsu = false;
    interrupted_ = true;
    s.calls += 1;

    Meld m;
    m.called = tile;
    m.from = from;
    std::vector<TileId> tiles{tile};
    if (action.type == ActionType::OpenKan) {
        m.type = MeldType::OpenKan;
        auto it = std::lower_bound(s.hand.begin(), s.hand.end(), k * 4);
        for (int i = 0; i < 3; ++i, ++it) tiles.push_back(*it);
    } else {
        m.type = action.type == ActionType::Pon ? MeldType::Pon : MeldType::Chi;
        tiles.push_back(action.with[0]);
        tiles.push_back(action.with[1]);
    }
    std::sort(tiles.begin(), tiles.end());
    m.size = static_cast<int>(tiles.size());
    for (std::size_t i = 0; i < tiles.size(); ++i) m.tiles[i] = tiles[i];
    for (TileId t : tiles)
        if (t != tile) RemoveTile(seat, t);
    s.melds.push_back(m);
    Tell(MeldEvent(seat, m));

    if (m.type != MeldType::Chi) {
        if (IsDragon(k) && ++s.dragonMelds == 3) s.liableDragons = from;
        if (IsWind(k) && ++s.windMelds == 4) s.liableWinds = from;
    }
    if (m.type == MeldType::OpenKan) {
        ++kanCount_;
        if (++s.kans == 4) s.liableKans = from;
        ++pendingKanDora_;
        StartTurn(seat, wall_.DrawReplacement(), true);
        return;
    }
    s.forbidden = 0;
    if (setup_.rules.noSwapCalling) {
        s.forbidden = Bit(k);
        if (m.type == MeldType::Chi) {
            Kind lo = KindOf(tiles[0]), hi = KindOf(tiles[2]);
            if (k == lo && NumberOf(hi) < 9) s.forbidden |= Bit(hi + 1);
            if (k == hi && NumberOf(lo) > 1) s.forbidden |= Bit(lo - 1);
        }
    }
    phase_ = Phase::Turn;
    turn_ = seat;
    drawn_ = -1;
    rinshan_ = false;
    afterCall_ = true;
    ComputeTurnActions();
}

void Hand::DoKan(int seat, const Action& action) {
    claimKan_ = action;
    LayDownKan(seat, action);
    ClaimKind kind = action.type == ActionType::AddedKan ? ClaimKind::AddedKan : ClaimKind::ClosedKan;
    // The kan may be robbed before it is complete.
    OpenClaims(kind, seat, action.tile);
}

void Hand::LayDownKan(int seat, const Action& action) {
    auto& s = seats_[Idx(seat)];
    TileId tile = action.tile;
    Kind k = KindOf(tile);
    if (action.type == ActionType::ClosedKan) {
        Meld m;
        m.type = MeldType::ClosedKan;
        m.size = 4;
        for (int i = 0; i < 4; ++i) {
            m.tiles[Idx(i)] = k * 4 + i;
            RemoveTile(seat, k * 4 + i);
        }
        s.melds.push_back(m);
        Tell(MeldEvent(seat, m));
        return;
    }
    for (Meld& m : s.melds) {
        if (m.type != MeldType::Pon || KindOf(m.tiles[0]) != k) continue;
        TableEvent added = Event(EventType::AddedKan, seat, tile);
        added.consumed.assign(m.tiles.begin(), m.tiles.begin() + 3);
        std::sort(added.consumed.begin(), added.consumed.end());
        Tell(std::move(added));
        m.type = MeldType::AddedKan;
        m.tiles[3] = tile;
        m.size = 4;
        std::sort(m.tiles.begin(), m.tiles.end());
        break;
    }
    RemoveTile(seat, tile);
}

void Hand::FinishKan(int seat, MeldType type) {
    auto& s = seats_[Idx(seat)];
    Kind k = KindOf(claimKan_.tile);
    if (type == MeldType::ClosedKan) {
        if (IsDragon(k)) ++s.dragonMelds;
        if (IsWind(k)) ++s.windMelds;
        for (; pendingKanDora_ > 0; --pendingKanDora_) RevealKanDora();
        RevealKanDora();
    } else {
        ++pendingKanDora_;
    }
    ++s.kans;
    ++kanCount_;
    for (auto& x : seats_) x.ippatsu = false;
    interrupted_ = true;
    StartTurn(seat, wall_.DrawReplacement(), true);
}

// ---------------------------------------------------------------------------
// Taking actions.

bool Hand::Apply(int seat, const Action& action, std::string* error) {
    step_.clear();
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return false;
    };
    if (seat < 0 || seat > 3) return fail("there is no seat " + std::to_string(seat));
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

// ---------------------------------------------------------------------------
// The end of a hand.

bool Hand::Ready(int seat) const {
    const auto& s = seats_[Idx(seat)];
    std::uint64_t waits = s.waits;
    Counts own = s.counts;
    for (const Meld& m : s.melds)
        if (m.type != MeldType::Chi) own[static_cast<std::size_t>(KindOf(m.tiles[0]))] += 3;
    for (Kind k = 0; k < kKinds; ++k)
        if (own[static_cast<std::size_t>(k)] >= 4) waits &= ~Bit(k);
    return waits != 0;
}

void Hand::EndWins(const std::vector<int>& winners, TileId winTile, bool tsumo, ClaimKind kind) {
    const Rules& rules = setup_.rules;
    int loser = tsumo ? -1 : claimFrom_;
    result_.end = tsumo ? HandEnd::Tsumo : HandEnd::Ron;
    result_.loser = loser;
    int honba = setup_.honba;
    bool anyRiichi = false;
    for (std::size_t n = 0; n < winners.size(); ++n) {
        int w = winners[n];
        const auto& s = seats_[Idx(w)];
        WinSituation ws = Situation(w, winTile, tsumo, kind);
        Score score = ScoreWin(ws, rules);
        bool dealer = w == setup_.dealer;
        anyRiichi = anyRiichi || s.riichi;

        // Liability: one liable seat per hand, for the yakuman it is liable for.
        int liable = -1, paoYakuman = 0;
        if (rules.pao) {
            const std::pair<int, int> parts[] = {{s.liableDragons, score.paoDragonsYakuman},
                                                 {s.liableWinds, score.paoWindsYakuman},
                                                 {s.liableKans, score.paoKansYakuman}};
            for (const auto& [seat, yakuman] : parts) {
                if (seat < 0 || yakuman <= 0 || seat == w) continue;
                if (liable < 0) liable = seat;
                if (seat == liable) paoYakuman += yakuman;
            }
        }
        std::array<int, 4> pay{};
        if (tsumo) {
            int base = score.basePoints;
            if (liable >= 0) {
                pay[Idx(liable)] += Payment(kYakumanBase * paoYakuman, dealer, Payer::Discarder, honba);
                base = std::max(0, base - kYakumanBase * paoYakuman);
                honba = 0;
            }
            if (base > 0)
                for (int p = 0; p < 4; ++p)
                    if (p != w) pay[Idx(p)] += Payment(base, dealer, PayerOnTsumo(p, setup_.dealer), honba);
        } else {
            int all = Payment(score.basePoints, dealer, Payer::Discarder, honba);
            if (liable >= 0 && liable != loser) {
                int half = Payment(kYakumanBase * paoYakuman, dealer, Payer::Discarder) / 2;
                pay[Idx(liable)] += half;
                all -= half;
            }
            pay[Idx(loser)] += all;
        }
        int gained = 0;
        for (int p = 0; p < 4; ++p) {
            scores_[Idx(p)] -= pay[Idx(p)];
            gained += pay[Idx(p)];
        }
        scores_[Idx(w)] += gained;
        if (n == 0) {
            scores_[Idx(w)] += kRiichiStick * sticks_;
            sticks_ = 0;
        }

        // Chips.
        int chips = score.uraDora * rules.uraDoraChip + score.redFives * rules.redFiveChip +
                    score.yakuman * rules.yakumanChip;
        if (ws.ippatsu) chips += rules.ippatsuChip;
        int reds = 0;
        for (TileId t : ws.concealed) reds += IsRedFive(t) ? 1 : 0;
        for (const Meld& m : ws.melds)
            for (int i = 0; i < m.size; ++i) reds += IsRedFive(m.tiles[Idx(i)]) ? 1 : 0;
        if (reds == 3 && !rules.noRedFives && !rules.noAllStars) chips += 2;
        for (int p = 0; p < 4; ++p) {
            if (p == w || (!tsumo && p != loser)) continue;
            result_.chipDelta[Idx(p)] -= chips;
            result_.chipDelta[Idx(w)] += chips;
        }

        if (tsumo) {
            result_.tsumoPoints[Idx(w)] += gained;
            result_.tsumoCount[Idx(w)] += 1;
        } else {
            result_.ronPoints[Idx(w)] += gained;
            result_.ronCount[Idx(w)] += 1;
            result_.dealInPoints[Idx(loser)] += pay[Idx(loser)];  // not a liable seat's share
            result_.dealInCount[Idx(loser)] += 1;
        }
        WinResult win;
        win.seat = w;
        win.score = std::move(score);
        win.winTile = winTile;
        win.concealed = ws.concealed;
        win.melds = s.melds;
        win.liable = liable;
        win.situation = ws;
        result_.revealed[Idx(w)] = ws.concealed;
        result_.winners.push_back(std::move(win));
    }
    if (anyRiichi) {
        result_.uraIndicators = wall_.UraIndicators();
        if (rules.noKanUra && result_.uraIndicators.size() > 1) result_.uraIndicators.resize(1);
    }
    Finish();
}

void Hand::EndDraw(HandEnd end) {
    result_.end = end;
    Finish();
}

void Hand::EndExhaustive() {
    std::array<bool, 4> ready{};
    int readyCount = 0, nagashiCount = 0;
    for (int seat = 0; seat < 4; ++seat) {
        ready[Idx(seat)] = Ready(seat);
        readyCount += ready[Idx(seat)] ? 1 : 0;
        const auto& s = seats_[Idx(seat)];
        result_.nagashi[Idx(seat)] = s.nagashi && !s.river.empty();
        nagashiCount += result_.nagashi[Idx(seat)] ? 1 : 0;
        if (ready[Idx(seat)]) result_.revealed[Idx(seat)] = s.hand;
    }
    result_.ready = ready;
    if (nagashiCount > 0) {
        result_.end = HandEnd::NagashiMangan;
        for (int w = 0; w < 4; ++w) {
            if (!result_.nagashi[Idx(w)]) continue;
            for (int p = 0; p < 4; ++p) {
                if (p == w) continue;
                int amount = Payment(kManganBase, w == setup_.dealer, PayerOnTsumo(p, setup_.dealer));
                scores_[Idx(p)] -= amount;
                scores_[Idx(w)] += amount;
            }
        }
    } else {
        result_.end = HandEnd::Exhaustive;
        if (readyCount > 0 && readyCount < 4) {
            int gain = kNotenPenaltyPool / readyCount, loss = kNotenPenaltyPool / (4 - readyCount);
            for (int seat = 0; seat < 4; ++seat) scores_[Idx(seat)] += ready[Idx(seat)] ? gain : -loss;
        }
    }
    Finish();
}

void Hand::Finish() {
    phase_ = Phase::Over;
    Tell(Event(EventType::HandOver));
    result_.actions = log_;
    for (auto& l : legal_) l.clear();
    claimPending_ = {};
    for (int seat = 0; seat < 4; ++seat) {
        const auto& s = seats_[Idx(seat)];
        result_.scoreDelta[Idx(seat)] = scores_[Idx(seat)] - setup_.scores[Idx(seat)];
        result_.riichi[Idx(seat)] = s.riichi;
        result_.calls[Idx(seat)] = s.calls;
    }
    result_.scoresAfter = scores_;
    result_.sticksAfter = sticks_;
    result_.doraIndicators = wall_.DoraIndicators();
}

}  // namespace zv::riichi
