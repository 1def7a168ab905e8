#pragma once
// The yaku in one table: the name players know, the han with a closed and
// with an open hand, and the digit each is counted under on the "yaku:" line
// of a results file. The scorer, the engines' results writer and the
// launcher's results reader all read this table.
#include <array>

namespace zv::riichi {

enum class Yaku {
    Riichi,
    DoubleRiichi,
    Ippatsu,
    MenzenTsumo,
    Haitei,
    Houtei,
    Rinshan,
    Chankan,
    Pinfu,
    Tanyao,
    Iipeikou,
    Ryanpeikou,
    White,
    Green,
    Red,
    SeatWind,
    RoundWind,
    Sanshoku,
    Ittsu,
    Chanta,
    Junchan,
    Sanankou,
    Sankantsu,
    Toitoi,
    Shousangen,
    Honroutou,
    SanshokuDoukou,
    Honitsu,
    Chinitsu,
    Chiitoitsu,
    // Yakuman: their "han" are multiples of a yakuman.
    Kokushi,
    Kokushi13,
    Daisangen,
    Suuankou,
    SuuankouTanki,
    Suukantsu,
    Shousuushii,
    Daisuushii,
    Tsuuiisou,
    Ryuuiisou,
    Chinroutou,
    Chuuren,
    JunseiChuuren,
    Tenhou,
    Chiihou,
};
inline constexpr int kYakuKinds = static_cast<int>(Yaku::Chiihou) + 1;

struct YakuRow {
    Yaku yaku;
    const char* name;  // as scored; the wind yaku add the wind: "自風 東"
    bool yakuman;
    int closedHan;    // han (yakuman: multiples) with a closed hand
    int openHan;      // the same with an open hand; 0: closed hands only
    int closedDigit;  // results-file digit with a closed hand
    int openDigit;    // results-file digit with an open hand
};

const YakuRow& RowOf(Yaku yaku);
const std::array<YakuRow, kYakuKinds>& YakuTable();

// The "yaku:" line of a results file: one digit per counter.
inline constexpr int kResultsDigits = 60;
// What the launcher shows for each counter; 57 to 59 are unnamed (empty).
extern const std::array<const char*, kResultsDigits> kResultsDigitLabels;

// Counters of the line that no yaku of the table fills: a yakuman counted
// from han, and events of a hand rather than patterns of a winning one.
inline constexpr int kYakumanDigit = 0;
inline constexpr int kNagashiDigit = 14;
inline constexpr int kNineTerminalsDigit = 52;
inline constexpr int kFourWindsDigit = 53;
inline constexpr int kFourKansDigit = 54;
inline constexpr int kTripleRonDigit = 55;
inline constexpr int kNotenRiichiDigit = 56;

}  // namespace zv::riichi
