// The turns of a hand: the draw, the actions a seat may take on its turn,
// the discard, the kans (laid down, then completed once nobody robs them)
// and the norths set aside with three players.
#include <algorithm>

#include "riichi/shanten.h"
#include "riichi/table.h"
#include "riichi/table_detail.h"

namespace zv::riichi {

using detail::Bit;
using detail::Event;

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
        if (rules.threePlayer && live > 0 && s.counts[kNorth] > 0) {
            // In riichi only the north just drawn, which leaves the waits as they were.
            bool drewNorth = KindOf(drawn_) == kNorth;
            if (drewNorth || !s.riichi) {
                TileId north =
                    drewNorth ? drawn_ : *std::lower_bound(s.hand.begin(), s.hand.end(), kNorth * 4);
                out.push_back({ActionType::North, north, {-1, -1}});
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
                     live >= players_ && Shanten(s.counts, melds) <= 0;
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

void Hand::DoNorth(int seat, TileId tile) {
    auto& s = seats_[Idx(seat)];
    RemoveTile(seat, tile);
    s.north.push_back(tile);
    UpdateWaits(seat);
    Tell(Event(EventType::North, seat, tile));
    // The others may win on it; else the seat draws its replacement.
    OpenClaims(ClaimKind::North, seat, tile);
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
}  // namespace zv::riichi
