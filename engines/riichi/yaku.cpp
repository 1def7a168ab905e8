// Yaku and fu of one reading. A reading is a decomposition of the concealed
// tiles plus the declared melds, with the block the winning tile completed:
// that block decides the wait (and so pinfu and the wait's fu) and whether a
// triplet completed by a discard counts as open.
#include "riichi/yaku.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "riichi/yaku_table.h"

namespace zv::riichi::detail {
namespace {

struct Block {
    Kind kind = 0;
    bool sequence = false;
    bool kan = false;
    bool concealed = false;  // a concealed triplet or closed kan
};

enum class Wait { Ryanmen, Kanchan, Penchan, Tanki, Shanpon };

constexpr const char* kWindNames[4] = {"東", "南", "西", "北"};

Kind MeldBase(const Meld& m) {
    Kind base = KindOf(m.tiles[0]);
    for (int i = 1; i < m.size; ++i) base = std::min(base, KindOf(m.tiles[i]));
    return base;
}

bool HasOrphan(const Block& b) {
    if (b.sequence) return NumberOf(b.kind) == 1 || NumberOf(b.kind) == 7;
    return IsTerminalOrHonor(b.kind);
}

bool IsGreen(Kind k) {
    return k == kGreen || k == 19 || k == 20 || k == 21 || k == 23 || k == 25;  // 2 3 4 6 8 s
}

// Facts about the whole hand's tiles, whatever the reading.
struct TileFacts {
    bool allSimple = true, allHonor = true, allTerminal = true, allOrphan = true, allGreen = true;
    bool hasHonor = false;
    int suits = 0;  // bit per number suit present
};

TileFacts FactsOf(const Counts& all) {
    TileFacts f;
    for (Kind k = 0; k < kKinds; ++k) {
        if (all[k] == 0) continue;
        if (!IsSimple(k)) f.allSimple = false;
        if (!IsHonor(k)) {
            f.allHonor = false;
            f.suits |= 1 << SuitOf(k);
        } else {
            f.hasHonor = true;
        }
        if (!IsTerminal(k)) f.allTerminal = false;
        if (!IsTerminalOrHonor(k)) f.allOrphan = false;
        if (!IsGreen(k)) f.allGreen = false;
    }
    return f;
}

class Evaluator {
public:
    Evaluator(const WinSituation& win, const Rules& rules, const Counts& all, ReadingValue& out)
        : win_(win), rules_(rules), all_(all), out_(out), facts_(FactsOf(all)) {
        winKind_ = KindOf(win.winTile);
        closed_ = std::none_of(win.melds.begin(), win.melds.end(), [](const Meld& m) { return m.IsOpen(); });
    }

    void SevenPairs() {
        if (facts_.allHonor) AddYakuman(Yaku::Tsuuiisou);
        FirstTurnYakuman();
        if (out_.yakuman > 0) return;
        Situational();
        AddYaku(Yaku::Chiitoitsu);
        AllTileYaku();
        out_.fu = 25;
    }

    void ThirteenOrphans(const Decomposition& d) {
        if (d.pair == winKind_)
            AddYakuman(Yaku::Kokushi13);
        else
            AddYakuman(Yaku::Kokushi);
        FirstTurnYakuman();
    }

    void Regular(const Decomposition& d, int winBlock) {
        pair_ = d.pair;
        count_ = 0;
        for (int i = 0; i < d.setCount; ++i) {
            Block b;
            b.kind = d.sets[i].kind;
            b.sequence = d.sets[i].sequence;
            // A triplet completed by a discard counts as an open one.
            b.concealed = !b.sequence && !(i == winBlock && !win_.tsumo);
            blocks_[count_++] = b;
        }
        for (const Meld& m : win_.melds) {
            Block b;
            b.kind = MeldBase(m);
            b.sequence = m.type == MeldType::Chi;
            b.kan = m.IsKan();
            b.concealed = m.type == MeldType::ClosedKan;
            blocks_[count_++] = b;
        }
        if (winBlock < 0) {
            wait_ = Wait::Tanki;
        } else {
            const ConcealedSet& s = d.sets[winBlock];
            int pos = winKind_ - s.kind;
            if (!s.sequence)
                wait_ = Wait::Shanpon;
            else if (pos == 1)
                wait_ = Wait::Kanchan;
            else if ((pos == 0 && NumberOf(s.kind) == 7) || (pos == 2 && NumberOf(s.kind) == 1))
                wait_ = Wait::Penchan;
            else
                wait_ = Wait::Ryanmen;
        }
        for (int i = 0; i < count_; ++i) {
            const Block& b = blocks_[i];
            if (b.sequence) {
                ++sequences_;
                continue;
            }
            if (b.concealed) ++concealedTriplets_;
            if (b.kan) ++kans_;
            if (IsDragon(b.kind)) ++dragonTriplets_;
            if (IsWind(b.kind)) ++windTriplets_;
        }

        RegularYakuman(winBlock);
        FirstTurnYakuman();
        if (out_.yakuman > 0) return;

        Situational();
        bool pinfu = Pinfu();
        if (pinfu) AddYaku(Yaku::Pinfu);
        if (closed_) Peikou();
        Yakuhai();
        Outside();
        Straights();
        if (concealedTriplets_ == 3) AddYaku(Yaku::Sanankou);
        if (kans_ == 3) AddYaku(Yaku::Sankantsu);
        if (sequences_ == 0) AddYaku(Yaku::Toitoi);
        if (dragonTriplets_ == 2 && IsDragon(pair_)) AddYaku(Yaku::Shousangen);
        AllTileYaku();
        out_.fu = Fu(pinfu);
    }

private:
    // Adds a yaku at its closed or open value; `suffix` names the wind of
    // the wind yaku.
    void AddYaku(Yaku yaku, const char* suffix = nullptr) {
        const YakuRow& row = RowOf(yaku);
        std::string name = row.name;
        if (suffix != nullptr) name = name + " " + suffix;
        int han = closed_ ? row.closedHan : row.openHan;
        out_.yaku.push_back({std::move(name), han, 0, closed_ ? row.closedDigit : row.openDigit});
        out_.han += han;
    }
    // A yakuman is worth the same multiple open or closed.
    void AddYakuman(Yaku yaku) {
        const YakuRow& row = RowOf(yaku);
        out_.yaku.push_back({row.name, 0, row.closedHan, row.closedDigit});
        out_.yakuman += row.closedHan;
    }

    bool IsValueKind(Kind k) const { return IsDragon(k) || k == win_.seatWind || k == win_.roundWind; }

    // Only a self-drawn win without any meld (a kan ends the first turn).
    void FirstTurnYakuman() {
        if (!win_.tsumo || !win_.melds.empty()) return;
        if (win_.tenhou) AddYakuman(Yaku::Tenhou);
        if (win_.chiihou) AddYakuman(Yaku::Chiihou);
    }

    // Yaku of the moment of the win, the same for every reading.
    void Situational() {
        if (win_.doubleRiichi)
            AddYaku(Yaku::DoubleRiichi);
        else if (win_.riichi)
            AddYaku(Yaku::Riichi);
        if (win_.ippatsu && (win_.riichi || win_.doubleRiichi)) AddYaku(Yaku::Ippatsu);
        if (closed_ && win_.tsumo) AddYaku(Yaku::MenzenTsumo);
        if (win_.haitei && win_.tsumo) AddYaku(Yaku::Haitei);
        if (win_.houtei && !win_.tsumo) AddYaku(Yaku::Houtei);
        if (win_.rinshan && win_.tsumo) AddYaku(Yaku::Rinshan);
        if (win_.chankan && !win_.tsumo) AddYaku(Yaku::Chankan);
    }

    // Yaku that only look at which tiles the hand holds.
    void AllTileYaku() {
        if (facts_.allSimple && (closed_ || !rules_.noOpenTanyao)) AddYaku(Yaku::Tanyao);
        if (facts_.allOrphan && facts_.hasHonor && facts_.suits != 0) AddYaku(Yaku::Honroutou);
        if (facts_.suits == 1 || facts_.suits == 2 || facts_.suits == 4) {
            if (facts_.hasHonor)
                AddYaku(Yaku::Honitsu);
            else
                AddYaku(Yaku::Chinitsu);
        }
    }

    void RegularYakuman(int winBlock) {
        if (dragonTriplets_ == 3) {
            AddYakuman(Yaku::Daisangen);
            out_.paoDragons = 1;
        }
        if (windTriplets_ == 4) {
            AddYakuman(Yaku::Daisuushii);
            out_.paoWinds = 2;
        } else if (windTriplets_ == 3 && IsWind(pair_)) {
            AddYakuman(Yaku::Shousuushii);
        }
        if (facts_.allHonor) AddYakuman(Yaku::Tsuuiisou);
        if (facts_.allGreen) AddYakuman(Yaku::Ryuuiisou);
        if (facts_.allTerminal) AddYakuman(Yaku::Chinroutou);
        if (concealedTriplets_ == 4) {
            if (winBlock < 0)
                AddYakuman(Yaku::SuuankouTanki);
            else
                AddYakuman(Yaku::Suuankou);
        }
        if (kans_ == 4) {
            AddYakuman(Yaku::Suukantsu);
            out_.paoKans = 1;
        }
        NineGates();
    }

    void NineGates() {
        if (!win_.melds.empty() || facts_.hasHonor) return;
        int suit = facts_.suits == 1 ? 0 : facts_.suits == 2 ? 1 : facts_.suits == 4 ? 2 : -1;
        if (suit < 0) return;
        static constexpr int kShape[9] = {3, 1, 1, 1, 1, 1, 1, 1, 3};
        int extra = -1;
        for (int n = 0; n < 9; ++n) {
            int c = all_[suit * 9 + n];
            if (c < kShape[n]) return;
            if (c > kShape[n]) extra = suit * 9 + n;
        }
        if (extra == winKind_)
            AddYakuman(Yaku::JunseiChuuren);
        else
            AddYakuman(Yaku::Chuuren);
    }

    bool Pinfu() const {
        if (!win_.melds.empty() || sequences_ != 4 || IsValueKind(pair_) || wait_ != Wait::Ryanmen)
            return false;
        return !(win_.tsumo && rules_.noPinfuTsumo);
    }

    void Peikou() {
        std::array<int, kKinds> seqs{};
        for (int i = 0; i < count_; ++i)
            if (blocks_[i].sequence) ++seqs[blocks_[i].kind];
        int pairs = 0;
        for (int c : seqs) pairs += c / 2;
        if (pairs >= 2)
            AddYaku(Yaku::Ryanpeikou);
        else if (pairs == 1)
            AddYaku(Yaku::Iipeikou);
    }

    void Yakuhai() {
        for (int i = 0; i < count_; ++i) {
            const Block& b = blocks_[i];
            if (b.sequence) continue;
            if (b.kind == kWhite) AddYaku(Yaku::White);
            if (b.kind == kGreen) AddYaku(Yaku::Green);
            if (b.kind == kRed) AddYaku(Yaku::Red);
            if (b.kind == win_.seatWind) AddYaku(Yaku::SeatWind, kWindNames[b.kind - kEast]);
            if (b.kind == win_.roundWind) AddYaku(Yaku::RoundWind, kWindNames[b.kind - kEast]);
        }
    }

    // Chanta and junchan: every block and the pair hold a terminal or an
    // honour, with at least one sequence (without, it is toitoi territory).
    void Outside() {
        if (sequences_ == 0 || !IsTerminalOrHonor(pair_)) return;
        for (int i = 0; i < count_; ++i)
            if (!HasOrphan(blocks_[i])) return;
        if (!facts_.hasHonor)
            AddYaku(Yaku::Junchan);
        else
            AddYaku(Yaku::Chanta);
    }

    bool HasBlock(Kind kind, bool sequence) const {
        for (int i = 0; i < count_; ++i)
            if (blocks_[i].kind == kind && blocks_[i].sequence == sequence) return true;
        return false;
    }

    void Straights() {
        for (int s = 0; s < 3; ++s) {
            if (HasBlock(s * 9, true) && HasBlock(s * 9 + 3, true) && HasBlock(s * 9 + 6, true)) {
                AddYaku(Yaku::Ittsu);
                break;
            }
        }
        for (int n = 0; n < 7; ++n) {
            if (HasBlock(n, true) && HasBlock(9 + n, true) && HasBlock(18 + n, true)) {
                AddYaku(Yaku::Sanshoku);
                break;
            }
        }
        for (int n = 0; n < 9; ++n) {
            if (HasBlock(n, false) && HasBlock(9 + n, false) && HasBlock(18 + n, false)) {
                AddYaku(Yaku::SanshokuDoukou);
                break;
            }
        }
    }

    int Fu(bool pinfu) const {
        if (pinfu) return win_.tsumo ? 20 : 30;
        int fu = 20;
        if (closed_ && !win_.tsumo) fu += 10;
        if (win_.tsumo) fu += 2;
        for (int i = 0; i < count_; ++i) {
            const Block& b = blocks_[i];
            if (b.sequence) continue;
            int f = 2;
            if (IsTerminalOrHonor(b.kind)) f *= 2;
            if (b.concealed) f *= 2;
            if (b.kan) f *= 4;
            fu += f;
        }
        if (IsDragon(pair_)) fu += 2;
        if (pair_ == win_.seatWind) fu += 2;
        if (pair_ == win_.roundWind) fu += 2;
        if (wait_ == Wait::Kanchan || wait_ == Wait::Penchan || wait_ == Wait::Tanki) fu += 2;
        fu = (fu + 9) / 10 * 10;
        return std::max(fu, 30);  // an open hand without fu still counts 30
    }

    const WinSituation& win_;
    const Rules& rules_;
    const Counts& all_;
    ReadingValue& out_;
    TileFacts facts_;
    Kind winKind_ = 0;
    bool closed_ = true;
    Kind pair_ = -1;
    std::array<Block, 4> blocks_{};
    int count_ = 0;
    Wait wait_ = Wait::Tanki;
    int sequences_ = 0, concealedTriplets_ = 0, kans_ = 0, dragonTriplets_ = 0, windTriplets_ = 0;
};

}  // namespace

void EvaluateReading(const WinSituation& win, const Rules& rules, const Counts& all,
                     const Decomposition& reading, int winBlock, ReadingValue& out) {
    out = ReadingValue{};
    Evaluator e(win, rules, all, out);
    switch (reading.form) {
        case HandForm::Regular:
            e.Regular(reading, winBlock);
            break;
        case HandForm::SevenPairs:
            e.SevenPairs();
            break;
        case HandForm::ThirteenOrphans:
            e.ThirteenOrphans(reading);
            break;
    }
    if (out.yakuman > 0) {
        out.han = 0;
        out.fu = 0;
    }
}

}  // namespace zv::riichi::detail
