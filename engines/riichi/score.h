#pragma once
// Scoring a winning hand: every decomposition is tried and the one worth the
// most is kept; yaku, fu, han, limits and the payments with honba and riichi
// sticks.
#include <string>
#include <string_view>
#include <vector>

#include "riichi/decompose.h"
#include "riichi/rules.h"
#include "riichi/tile.h"

namespace zv::riichi {

struct WinSituation {
    std::vector<TileId> concealed;  // the concealed tiles, winning tile included
    std::vector<Meld> melds;        // declared melds (closed kans too)
    TileId winTile = -1;
    bool tsumo = false;
    bool riichi = false;
    bool doubleRiichi = false;  // implies riichi
    bool ippatsu = false;
    bool haitei = false;   // tsumo on the last tile of the live wall
    bool houtei = false;   // ron on the last discard
    bool rinshan = false;  // tsumo on a replacement tile
    bool chankan = false;  // ron on a tile added to a kan
    bool tenhou = false;   // dealer's win on the first draw
    bool chiihou = false;  // non-dealer's win on the first draw, no call before
    Kind roundWind = kEast;
    Kind seatWind = kSouth;  // kEast: the winner is the dealer
    std::vector<TileId> doraIndicators;
    std::vector<TileId> uraIndicators;  // counted only with riichi
    std::vector<TileId> north;          // three players: norths set aside, a dora each
    int honba = 0;
    int sticks = 0;  // riichi sticks on the table (1000 each), to the winner
};

enum class Limit { None, Mangan, Haneman, Baiman, Sanbaiman, Yakuman };
// "mangan", "haneman", "baiman", "sanbaiman", "yakuman"; empty for None.
std::string_view LimitWord(Limit limit);

struct YakuScore {
    std::string name;    // Japanese, as players know it: "立直", "役牌 白", "ドラ"
    int han = 0;         // 0 for a yakuman
    int yakuman = 0;     // 1 or 2 for a yakuman, else 0
    int statIndex = -1;  // digit of the results file's yaku line, -1 if none
};

// A yakuman hand (yakuman > 0 from its own yaku) reports han 0 and fu 0 and
// lists only its yakuman (no dora). A counted yakuman (13 han or more from
// ordinary yaku and dora) keeps its han and fu and its yaku list, with
// yakuman 1 and limit Yakuman.
struct Score {
    bool won = false;   // false: not a complete hand, or no yaku
    std::string error;  // why not, one line
    int han = 0;        // dora included; 0 for yakuman
    int fu = 0;
    int yakuman = 0;  // total yakuman multiples (counted yakuman: 1)
    Limit limit = Limit::None;
    bool dealer = false;
    int basePoints = 0;  // fu * 2^(han+2), or the limit's base
    int points = 0;      // what the winner receives, without honba and sticks
    // Each payer's amount, honba included: a ron has one payer; a tsumo has
    // the dealer and the others (all "others" when the winner deals).
    // When the winner deals, tsumoDealerPays equals tsumoOthersPay (each of
    // the three pays it). With three players there are two payers, who pay
    // as TsumoPayment says.
    int ronPayment = 0;
    int tsumoDealerPays = 0;
    int tsumoOthersPay = 0;
    int total = 0;  // all that the winner receives: payments plus sticks
    std::vector<YakuScore> yaku;
    int dora = 0, redFives = 0, uraDora = 0;  // counted (for chips)
    int northDora = 0;                        // norths set aside (three players)
    // Yakuman of the hand a liable player may have to pay for.
    int paoDragonsYakuman = 0;  // big three dragons
    int paoWindsYakuman = 0;    // big four winds
    int paoKansYakuman = 0;     // four kans
};

// Scores the best reading of the hand: the highest base points, then the
// most han, then the most fu. Not won (with `error` set) for bad tiles or
// melds, a winning tile not among the concealed tiles, a hand that is not
// complete, or a hand without a yaku (dora alone are not a yaku).
Score ScoreWin(const WinSituation& win, const Rules& rules);

// Scores one reading: `reading` decomposes the concealed tiles and
// `winBlock` is the block the winning tile completed (-1 the pair, 0..3 a
// set of the reading; ignored for seven pairs and thirteen orphans). The
// situation must be one ScoreWin accepts; ScoreWin keeps the best of these.
Score ScoreReading(const WinSituation& win, const Rules& rules, const Decomposition& reading, int winBlock);

// Base points of the limits, and the sticks and counters on the table.
inline constexpr int kManganBase = 2000;
inline constexpr int kHanemanBase = 3000;
inline constexpr int kBaimanBase = 4000;
inline constexpr int kSanbaimanBase = 6000;
inline constexpr int kYakumanBase = 8000;
inline constexpr int kRiichiStick = 1000;       // put down on riichi, to the next winner
inline constexpr int kHonbaCounter = 300;       // per honba, from the discarder or the three payers
inline constexpr int kNotenPenaltyPool = 3000;  // shared at an exhaustive draw

// Who pays a winner: the discarder of a ron, or on a self-draw the dealer
// and the others.
enum class Payer { Discarder, Dealer, NonDealer };

// What one payer hands a winner for a hand worth `basePoints`, rounded up to
// 100, with `honba` counters: all of each counter from the discarder, a third
// from each payer of a self-draw. When the winner deals, Dealer and NonDealer
// pay alike.
int Payment(int basePoints, bool winnerDeals, Payer payer, int honba = 0);

// What one payer (Dealer or NonDealer) hands the winner of a self-draw under
// `rules`. Four players: Payment. Three players (the dealer always plays, the
// absent seat would pay as a non-dealer): with rules.tsumoLoss the absent
// share is lost and each counter is 100 from each payer; without it each
// payer also pays half the absent share (rounded up to 100) and each counter
// is 150 from each payer.
int TsumoPayment(int basePoints, bool winnerDeals, Payer payer, int honba, const Rules& rules);

}  // namespace zv::riichi
