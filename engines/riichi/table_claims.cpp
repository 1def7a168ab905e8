// The claim windows: who may ron, pon, kan or chi a discard (or rob a kan,
// or win on a north set aside), and how the answers resolve once all are in.
#include <algorithm>

#include "riichi/shanten.h"
#include "riichi/table.h"
#include "riichi/table_detail.h"

namespace zv::riichi {

using detail::Bit;
using detail::Event;

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
    for (int i = 1; i < players_; ++i) {
        int seat = Next(from, i);
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
            if (seat == Next(from) && !IsHonor(k) && !rules.threePlayer) {
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
    for (int i = 1; i < players_; ++i) {
        int seat = Next(from, i);
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
    for (int i = 1; i < players_; ++i) {
        auto& s = seats_[Idx(Next(from, i))];
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
    if (claimKind_ == ClaimKind::North) {
        StartTurn(from, wall_.DrawReplacement(), true);
        return;
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
    for (int i = 1; i < players_; ++i) {
        int seat = Next(from, i);
        ActionType t = claimChoice_[Idx(seat)].type;
        if (t == ActionType::Pon || t == ActionType::OpenKan) {
            DoCall(seat, claimChoice_[Idx(seat)]);
            return;
        }
    }
    int next = Next(from);
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
    if (players_ == 4 &&
        std::all_of(seats_.begin(), seats_.end(), [](const SeatState& x) { return x.riichi; }))
        EndDraw(HandEnd::FourRiichi);
}

void Hand::AfterDiscardPasses() {
    if (players_ == 4 && !interrupted_ && discards_ == 4) {
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
    DrawFor(Next(claimFrom_));
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
}  // namespace zv::riichi
