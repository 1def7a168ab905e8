// Yaku and fu of one reading. A reading is a decomposition of the concealed
// tiles plus the declared melds, with the block the winning tile completed:
// that block decides the wait (and so pinfu and the wait's fu) and whether a
// triplet completed by a discard counts as open.
#include "riichi/yaku.h"

#include <algorithm>
#include <array>

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
        if (facts_.allHonor) AddYakuman("字一色", 1, 7);
        FirstTurnYakuman();
        if (out_.yakuman > 0) return;
        Situational();
        AddYaku("七対子", 2, 49);
        AllTileYaku();
        out_.fu = 25;
    }

    void ThirteenOrphans(const Decomposition& d) {
        if (d.pair == winKind_)
            AddYakuman("国士無双十三面", 2, 1);
        else
            AddYakuman("国士無双", 1, 1);
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
        if (pinfu) AddYaku("平和", 1, 19);
        if (closed_) Peikou();
        Yakuhai();
        Outside();
        Straights();
        if (concealedTriplets_ == 3) AddYaku("三暗刻", 2, 36);
        if (kans_ == 3) AddYaku("三槓子", 2, 37);
        if (sequences_ == 0) AddYaku("対々和", 2, 38);
        if (dragonTriplets_ == 2 && IsDragon(pair_)) AddYaku("小三元", 2, 39);
        AllTileYaku();
        out_.fu = Fu(pinfu);
    }

private:
    void AddYaku(const char* name, int han, int stat) {
        out_.yaku.push_back({name, han, 0, stat});
        out_.han += han;
    }
    void AddYakuman(const char* name, int multiple, int stat) {
        out_.yaku.push_back({name, 0, multiple, stat});
        out_.yakuman += multiple;
    }

    bool IsValueKind(Kind k) const { return IsDragon(k) || k == win_.seatWind || k == win_.roundWind; }

    // Only a self-drawn win without any meld (a kan ends the first turn).
    void FirstTurnYakuman() {
        if (!win_.tsumo || !win_.melds.empty()) return;
        if (win_.tenhou) AddYakuman("天和", 1, 10);
        if (win_.chiihou) AddYakuman("地和", 1, 11);
    }

    // Yaku of the moment of the win, the same for every reading.
    void Situational() {
        if (win_.doubleRiichi)
            AddYaku("ダブル立直", 2, 15);
        else if (win_.riichi)
            AddYaku("立直", 1, 16);
        if (win_.ippatsu && (win_.riichi || win_.doubleRiichi)) AddYaku("一発", 1, 17);
        if (closed_ && win_.tsumo) AddYaku("門前清自摸和", 1, 18);
        if (win_.haitei && win_.tsumo) AddYaku("海底摸月", 1, 22);
        if (win_.houtei && !win_.tsumo) AddYaku("河底撈魚", 1, 22);  // shares the last-tile digit
        if (win_.rinshan && win_.tsumo) AddYaku("嶺上開花", 1, 29);
        if (win_.chankan && !win_.tsumo) AddYaku("槍槓", 1, 28);
    }

    // Yaku that only look at which tiles the hand holds.
    void AllTileYaku() {
        if (facts_.allSimple && (closed_ || !rules_.noOpenTanyao)) AddYaku("断幺九", 1, 20);
        if (facts_.allOrphan && facts_.hasHonor && facts_.suits != 0) AddYaku("混老頭", 2, 40);
        if (facts_.suits == 1 || facts_.suits == 2 || facts_.suits == 4) {
            if (facts_.hasHonor)
                closed_ ? AddYaku("混一色", 3, 44) : AddYaku("混一色", 2, 42);
            else
                closed_ ? AddYaku("清一色", 6, 48) : AddYaku("清一色", 5, 47);
        }
    }

    void RegularYakuman(int winBlock) {
        if (dragonTriplets_ == 3) {
            AddYakuman("大三元", 1, 2);
            out_.paoDragons = 1;
        }
        if (windTriplets_ == 4) {
            AddYakuman("大四喜", 2, 6);
            out_.paoWinds = 2;
        } else if (windTriplets_ == 3 && IsWind(pair_)) {
            AddYakuman("小四喜", 1, 5);
        }
        if (facts_.allHonor) AddYakuman("字一色", 1, 7);
        if (facts_.allGreen) AddYakuman("緑一色", 1, 8);
        if (facts_.allTerminal) AddYakuman("清老頭", 1, 12);
        if (concealedTriplets_ == 4) {
            if (winBlock < 0)
                AddYakuman("四暗刻単騎", 2, 3);
            else
                AddYakuman("四暗刻", 1, 3);
        }
        if (kans_ == 4) {
            AddYakuman("四槓子", 1, 4);
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
            AddYakuman("純正九蓮宝燈", 2, 9);
        else
            AddYakuman("九蓮宝燈", 1, 9);
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
            AddYaku("二盃口", 3, 46);
        else if (pairs == 1)
            AddYaku("一盃口", 1, 21);
    }

    void Yakuhai() {
        for (int i = 0; i < count_; ++i) {
            const Block& b = blocks_[i];
            if (b.sequence) continue;
            if (b.kind == kWhite) AddYaku("役牌 白", 1, 25);
            if (b.kind == kGreen) AddYaku("役牌 發", 1, 26);
            if (b.kind == kRed) AddYaku("役牌 中", 1, 27);
            if (b.kind == win_.seatWind)
                AddYaku((std::string("自風 ") + kWindNames[b.kind - kEast]).c_str(), 1, 23);
            if (b.kind == win_.roundWind)
                AddYaku((std::string("場風 ") + kWindNames[b.kind - kEast]).c_str(), 1, 24);
        }
    }

    // Chanta and junchan: every block and the pair hold a terminal or an
    // honour, with at least one sequence (without, it is toitoi territory).
    void Outside() {
        if (sequences_ == 0 || !IsTerminalOrHonor(pair_)) return;
        for (int i = 0; i < count_; ++i)
            if (!HasOrphan(blocks_[i])) return;
        if (!facts_.hasHonor)
            closed_ ? AddYaku("純全帯幺九", 3, 45) : AddYaku("純全帯幺九", 2, 43);
        else
            closed_ ? AddYaku("混全帯幺九", 2, 35) : AddYaku("混全帯幺九", 1, 32);
    }

    bool HasBlock(Kind kind, bool sequence) const {
        for (int i = 0; i < count_; ++i)
            if (blocks_[i].kind == kind && blocks_[i].sequence == sequence) return true;
        return false;
    }

    void Straights() {
        for (int s = 0; s < 3; ++s) {
            if (HasBlock(s * 9, true) && HasBlock(s * 9 + 3, true) && HasBlock(s * 9 + 6, true)) {
                closed_ ? AddYaku("一気通貫", 2, 34) : AddYaku("一気通貫", 1, 31);
                break;
            }
        }
        for (int n = 0; n < 7; ++n) {
            if (HasBlock(n, true) && HasBlock(9 + n, true) && HasBlock(18 + n, true)) {
                closed_ ? AddYaku("三色同順", 2, 33) : AddYaku("三色同順", 1, 30);
                break;
            }
        }
        for (int n = 0; n < 9; ++n) {
            if (HasBlock(n, false) && HasBlock(9 + n, false) && HasBlock(18 + n, false)) {
                AddYaku("三色同刻", 2, 41);
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
