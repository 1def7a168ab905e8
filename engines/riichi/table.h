#pragma once
// The table: one hand (`Hand`; the whole game, `Game`, is in game.h) of four- or
// three-player riichi mahjong as a deterministic state machine driven by the players'
// actions. The table is the only holder of hidden information; a player sees
// a `SeatView` and answers with an `Action`.
//
// Flow of a hand
// --------------
// Seats are 0..3 and never move; the dealer sits at East and the seat winds
// follow counter-clockwise (seat dealer+1 is South, ...). The deal gives 13
// consecutive wall tiles to each seat, the dealer first and then in turn
// order, and the dealer draws the 53rd tile. From then on the hand is always
// in one of three phases:
//
//  * Turn: one seat (`Turn()`) holds 14 - 3 * melds tiles and must act:
//    Tsumo, Riichi (discard and declare), ClosedKan, AddedKan, NineTerminals
//    (only on its first uninterrupted draw) or Discard. After a Pon or Chi the
//    caller may only discard.
//  * Claims: after a discard every other seat that could do something with the
//    tile (Ron, Pon, OpenKan, Chi for the next seat only) must answer, Pass
//    included; seats with nothing to do are not asked. After an AddedKan the
//    others may only Ron on the added tile (robbing the kan); a closed kan may
//    be robbed only by a thirteen-orphans hand waiting on that kind. The
//    answers may come in any order; once all are in, Ron beats Pon/OpenKan,
//    which beat Chi. When nobody claims, the next seat draws.
//  * Over: the hand has ended; `Result()` says how.
//
// `PendingSeats()` lists who must decide now, `LegalActions(seat)` every
// action that seat may take now, and `Apply(seat, action)` takes one of them.
// Anything else is refused with a message and leaves the state unchanged, so
// a misbehaving player can never corrupt the table.
//
// Rules decided here
// ------------------
//  * Several rons on one discard all win (each winner scores its own hand and
//    is paid its honba by the discarder); with rules.headBump only the first
//    in turn order after the discarder wins. Three rons end the hand as an
//    abortive draw unless rules.noTripleRonDraw. The riichi sticks on the
//    table go to the first winner in turn order.
//  * Riichi: a closed hand (closed kans allowed) that is ready after the
//    discard, a score of at least 1000 and at least 4 live tiles left. The
//    stick is paid and the declaration holds once the discard is not won on;
//    a ron on the declaring discard cancels it. Ippatsu lasts until the
//    declarer's next discard or any call (a kan too). After riichi the seat
//    may only win, discard the drawn tile or make a closed kan with the drawn
//    tile that keeps the waits unchanged.
//  * Furiten: a seat may not win by ron while a kind it waits on lies in its
//    own river (called tiles count), after it let a winning tile pass until
//    its own next discard, or for the rest of the hand when it let one pass
//    after declaring riichi. Letting a tile pass means not winning on a
//    discard (or robbed kan) of a kind it waits on, whether or not the hand
//    would have had a yaku. Self-drawn wins are never furiten.
//  * Kan: at most four per hand. A closed kan turns over its dora indicator at
//    once; an open or added kan when its declarer discards (a win on the
//    replacement tile comes before that). Four kans by one seat let play go
//    on; four kans by two or more seats end the hand as an abortive draw when
//    the discard after the fourth passes without a win. A declared closed or
//    added kan is laid down at once (its tiles leave the hand, so everyone
//    sees it in the claim window), but it completes (replacement tile, dora,
//    ippatsu broken) only when nobody robs it; a robbed kan never completes.
//    No kan, pon or chi on the last tile of the wall; no kan after drawing it.
//  * Swap calling: with rules.noSwapCalling the caller may not discard the
//    called kind after a pon or chi, nor the kind at the other end of a chi
//    sequence (chi 4 with 5-6 forbids 4 and 7). A call that would leave
//    nothing to discard is not offered.
//  * Exhaustive draw: a seat is ready when its 13 tiles wait on some kind it
//    does not hold all four of itself. Ready seats receive 3000 in all, split
//    evenly, from the others, who pay 3000 in all, split evenly (nothing with
//    0 or 4 ready). A seat whose discards are all terminals and honours, none
//    of them called, wins nagashi mangan: a mangan paid as a self-drawn win
//    without honba, and then there are no ready payments.
//  * Abortive draws: nine kinds of terminals and honours declared on the
//    first uninterrupted draw; the same wind discarded by all four in the
//    first uninterrupted go-around; four kans by several seats; all four
//    seats in riichi (when the fourth stick is paid); three rons.
//  * Three players (rules.threePlayer): seats 0..2 play and seat 3 stays
//    empty (no tiles, score 0, never asked). The wall has the 108 tiles
//    without 2m..8m (wall.h); the deal gives 13 tiles to each of the three.
//    Seat winds are east, south and west. No chi. A seat on its turn (not
//    right after a pon) may set a north aside (North) while tiles are left in
//    the live wall, in riichi only the north just drawn; each north set aside
//    is a dora of its owner (抜きドラ, counted like a held north for the
//    indicators too) and is not a meld: the hand stays closed. The others may
//    win on it by ron (furiten as for a discard; no robbing-a-kan yaku); else
//    the seat draws a replacement tile, on which a self-drawn win is rinshan
//    kaihou. It breaks nobody's ippatsu and is no interruption of the first
//    go-around. Riichi needs 3 live tiles. Self-draws are paid by the two
//    others as score.h's TsumoPayment says (rules.tsumoLoss); ready payments
//    share the same 3000. Four winds and four riichi are no abortive draws
//    with three players; a double ron is the most there can be.
//  * Liability (rules.pao): the seat whose discard was called into the third
//    dragon pon/kan (big three dragons), the fourth wind pon/kan (big four
//    winds) or the fourth kan (four kans, an open kan from a discard) is
//    liable for that yakuman. On a self-drawn win it pays all of that part
//    (and the honba); on a ron by another seat's discard it pays half of that
//    part and the discarder the rest. Yakuman of the hand outside the liable
//    part are paid the ordinary way.
//  * Chips (per winner): rules.ippatsuChip for ippatsu, rules.uraDoraChip per
//    ura dora, rules.redFiveChip per red five counted as dora,
//    rules.yakumanChip per yakuman multiple and 2 more when the winning hand
//    holds all three red fives (unless rules.noAllStars). The discarder pays
//    them on a ron; each of the other three pays them on a self-drawn win.
//    A yakuman pays the ippatsu, ura-dora and red-five chips too; under
//    rules.redFivesClosedOnly an open hand gets no red-five chips but the
//    all-three bonus still.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "riichi/rules.h"
#include "riichi/score.h"
#include "riichi/table_event.h"
#include "riichi/tile.h"
#include "riichi/wall.h"

namespace zv::riichi {

enum class ActionType : std::uint8_t {
    Discard,        // tile: the tile discarded
    Riichi,         // tile: the tile discarded with the declaration
    Tsumo,          // tile: the drawn tile
    Ron,            // tile: the discarded (or kan) tile won on
    Pon,            // tile: the discarded tile; with: the two own tiles
    Chi,            // tile: the discarded tile; with: the two own tiles
    OpenKan,        // tile: the discarded tile (the three own tiles of its kind go with it)
    ClosedKan,      // tile: the lowest id of the four tiles of the kind
    AddedKan,       // tile: the own tile added to the pon
    NineTerminals,  // abortive draw; tile -1
    Pass,           // let a discard go by; tile -1
    North,          // three players: tile, the north set aside
};

struct Action {
    ActionType type = ActionType::Pass;
    TileId tile = -1;
    std::array<TileId, 2> with{-1, -1};  // sorted ascending; -1 when unused

    bool operator==(const Action&) const = default;
};

// Short text of an action for messages and logs: "discard 5m", "pon 5m 0m5m".
std::string ActionText(const Action& action);

enum class Phase : std::uint8_t { Turn, Claims, Over };

// One action a seat took, in the order the table accepted them. Replaying a
// hand's log on the same wall gives the same hand.
struct LoggedAction {
    int seat = -1;
    Action action;

    bool operator==(const LoggedAction&) const = default;
};

struct RiverTile {
    TileId tile = -1;
    bool riichi = false;     // the discard that declared riichi
    bool called = false;     // taken by another seat into a meld
    bool tsumogiri = false;  // the tile just drawn was discarded
};

// Everything one seat may know at this moment. Other seats' concealed tiles
// and the wall are never in it.
struct SeatView {
    int seat = 0;
    Rules rules;
    Kind roundWind = kEast;
    Kind seatWind = kEast;
    int dealer = 0;
    int honba = 0;
    int sticks = 0;  // riichi sticks on the table
    Phase phase = Phase::Turn;
    int turn = 0;  // the seat to act in Turn, the discarder in Claims

    std::vector<TileId> concealed;           // own concealed tiles, sorted, without `drawn`
    TileId drawn = -1;                       // own tile just drawn (-1 after a call or when not own turn)
    std::array<std::vector<Meld>, 4> melds;  // every seat's melds (closed kans too)
    std::array<std::vector<RiverTile>, 4> rivers;  // in order of discarding
    std::array<int, 4> concealedCount{};           // how many concealed tiles each seat holds
    TileId claimTile = -1;                         // in Claims: the tile that may be claimed
    bool claimIsKan = false;                       // in Claims: the tile was added to a kan (only Ron)
    bool claimIsNorth = false;                     // in Claims: a north set aside (only Ron)

    int players = 4;                           // 3 in a three-player game (seat 3 empty)
    std::array<std::vector<TileId>, 4> north;  // norths each seat has set aside
    std::vector<TileId> doraIndicators;
    int liveTiles = 0;  // draws left in the live wall
    std::array<int, 4> scores{};
    std::array<bool, 4> riichi{};  // declared and paid
    bool ippatsu = false;          // own ippatsu chance is alive
    bool firstGoAround = false;    // no call yet and this seat has not discarded

    std::vector<Action> legal;  // own legal actions now (empty: nothing to decide)
    bool furiten = false;       // own furiten of any kind
    std::uint64_t waits = 0;    // own waits (bit per kind) while holding 13 - 3 * melds tiles
};

enum class HandEnd : std::uint8_t {
    Tsumo,
    Ron,            // one or more winners on one discard or robbed kan
    Exhaustive,     // the wall ran out (ready payments)
    NagashiMangan,  // the wall ran out and a seat won nagashi mangan
    NineTerminals,  // abortive draws from here on
    FourWinds,
    FourKans,
    FourRiichi,
    TripleRon,
};
bool IsAbortive(HandEnd end);

struct WinResult {
    int seat = -1;
    Score score;
    TileId winTile = -1;
    std::vector<TileId> concealed;  // the hand shown, winning tile included
    std::vector<Meld> melds;
    int liable = -1;         // seat liable for a yakuman (rules.pao), -1 if none
    WinSituation situation;  // what the hand was scored from (flags, indicators)
};

struct HandResult {
    HandEnd end = HandEnd::Exhaustive;
    Kind roundWind = kEast;
    int dealer = 0;
    int honba = 0;         // honba of the hand
    int sticksBefore = 0;  // riichi sticks on the table when the hand began
    int sticksAfter = 0;   // riichi sticks left on the table after it

    std::vector<WinResult> winners;  // in turn order after the discarder
    int loser = -1;                  // ron: the discarder (or the robbed kan's declarer)
    int declarer = -1;               // NineTerminals: who declared it (its hand is revealed)
    std::array<bool, 4> ready{};     // draws: ready seats
    std::array<bool, 4> nagashi{};   // seats that won nagashi mangan

    // Score changes in the hand: payments, riichi sticks paid (-1000) and the
    // sticks a winner took. Sum of deltas + 1000 * (sticksAfter - sticksBefore)
    // is zero.
    std::array<int, 4> scoreDelta{};
    std::array<int, 4> chipDelta{};
    std::array<int, 4> scoresAfter{};

    std::array<std::vector<TileId>, 4> revealed;  // hands shown at the end (winners, ready seats)
    std::vector<TileId> doraIndicators;
    std::vector<TileId> uraIndicators;  // only when a winner had declared riichi

    std::array<bool, 4> riichi{};  // seats whose riichi held
    std::array<int, 4> calls{};    // tiles claimed by each seat (pon, chi, open kan)
    // Counters of a results file: what each winner received from payments
    // (honba in, sticks out), and what each discarder paid on a ron.
    std::array<int, 4> tsumoPoints{}, tsumoCount{};
    std::array<int, 4> ronPoints{}, ronCount{};
    std::array<int, 4> dealInPoints{}, dealInCount{};

    std::vector<LoggedAction> actions;  // every action taken in the hand, in order
};

// Where a hand starts from: the seats' scores, the dealer, round wind, honba
// and the sticks already on the table.
struct HandSetup {
    Rules rules;
    Kind roundWind = kEast;
    int dealer = 0;
    int honba = 0;
    int sticks = 0;
    std::array<int, 4> scores{25000, 25000, 25000, 25000};
};

class Hand {
public:
    Hand(const HandSetup& setup, const Wall& wall);

    Phase CurrentPhase() const { return phase_; }
    bool Over() const { return phase_ == Phase::Over; }
    int Turn() const { return turn_; }
    // Seats that must still decide (one seat in Turn, the undecided claimants
    // in Claims, none when Over), in turn order.
    std::vector<int> PendingSeats() const;
    const std::vector<Action>& LegalActions(int seat) const;
    bool IsLegal(int seat, const Action& action) const;
    // Takes a legal action. Returns false and leaves the table as it was
    // when the action is not legal for that seat now; `error` then says why.
    bool Apply(int seat, const Action& action, std::string* error = nullptr);

    SeatView View(int seat) const;
    const HandResult& Result() const { return result_; }  // complete once Over()
    const HandSetup& Setup() const { return setup_; }
    const std::array<int, 4>& Scores() const { return scores_; }
    int Sticks() const { return sticks_; }
    // The turn seat's tile just drawn (-1 after a call, in Claims and when over).
    TileId Drawn() const { return phase_ == Phase::Turn ? drawn_ : -1; }
    bool RiichiHeld(int seat) const { return Seat(seat).riichi; }
    const std::vector<LoggedAction>& Log() const { return log_; }
    // The events of the last call of Apply, in the order events.h gives;
    // empty before the first, after a refused action and after a claim
    // answer that left the window open.
    const std::vector<TableEvent>& StepEvents() const { return step_; }

    // Read-only looks for tests and for the engine's record: the whole table.
    const Wall& WallState() const { return wall_; }
    // (Empty for a seat outside 0..3.)
    const std::vector<TileId>& Concealed(int seat) const { return Seat(seat).hand; }
    const std::vector<Meld>& Melds(int seat) const { return Seat(seat).melds; }
    const std::vector<RiverTile>& River(int seat) const { return Seat(seat).river; }
    const std::vector<TileId>& North(int seat) const { return Seat(seat).north; }
    int Players() const { return players_; }
    // Empty when every one of the wall's tiles is in exactly one place (a
    // hand, a meld, a river, the norths set aside, the live wall or the dead
    // wall); else what is wrong.
    std::string CheckTiles() const;

private:
    struct SeatState {
        std::vector<TileId> hand;  // concealed tiles, sorted (the drawn tile too)
        Counts counts{};
        std::vector<Meld> melds;
        std::vector<RiverTile> river;
        std::vector<TileId> north;     // set aside (three players)
        std::uint64_t riverKinds = 0;  // kinds ever discarded by this seat
        std::uint64_t waits = 0;       // valid while holding 13 - 3 * melds tiles
        bool riichi = false, doubleRiichi = false, ippatsu = false;
        bool pendingRiichi = false;  // declared on the discard now in the claim window
        bool tempFuriten = false, riichiFuriten = false;
        bool nagashi = true;  // every discard a terminal or honour, none called
        int kans = 0;
        int dragonMelds = 0, windMelds = 0;
        int liableDragons = -1, liableWinds = -1, liableKans = -1;
        int calls = 0;
        std::uint64_t forbidden = 0;  // kinds it may not discard (swap calling)
    };
    enum class ClaimKind : std::uint8_t { Discard, AddedKan, ClosedKan, North };

    static std::size_t Idx(int seat) { return static_cast<std::size_t>(seat); }
    // The seat `step` places after `seat` in turn order.
    int Next(int seat, int step = 1) const { return (seat + step) % players_; }
    const SeatState& Seat(int seat) const;
    void Deal();
    void StartTurn(int seat, TileId drawn, bool rinshan);
    void DrawFor(int seat);
    void ComputeTurnActions();
    void OpenClaims(ClaimKind kind, int from, TileId tile);
    void ResolveClaims();
    void AfterDiscardPasses();
    void DoDiscard(const Action& action);
    void DoCall(int seat, const Action& action);
    void DoKan(int seat, const Action& action);
    void LayDownKan(int seat, const Action& action);
    void FinishKan(int seat, MeldType type);
    void DoNorth(int seat, TileId tile);
    void EstablishPendingRiichi();
    void UpdateWaits(int seat);
    bool Furiten(int seat) const;
    bool CanRon(int seat, TileId tile, ClaimKind kind) const;
    WinSituation Situation(int seat, TileId winTile, bool tsumo, ClaimKind kind) const;
    void AddTile(int seat, TileId tile);
    void RemoveTile(int seat, TileId tile);
    void EndWins(const std::vector<int>& seats, TileId winTile, bool tsumo, ClaimKind kind);
    void EndDraw(HandEnd end);
    void EndExhaustive();
    void Finish();
    bool Ready(int seat) const;
    // Adds an event to the step's, in its place among them.
    void Tell(TableEvent event);
    void RevealKanDora();  // and tells the new indicator

    HandSetup setup_;
    int players_ = 4;
    Wall wall_;
    std::array<SeatState, 4> seats_{};
    std::array<int, 4> scores_{};
    int sticks_ = 0;
    Phase phase_ = Phase::Turn;
    int turn_ = 0;
    TileId drawn_ = -1;
    bool rinshan_ = false;      // the drawn tile is a replacement tile
    bool afterCall_ = false;    // the turn seat called and must discard
    bool interrupted_ = false;  // a call (kans too) has been made this hand
    int discards_ = 0;          // discards so far in the hand
    int pendingKanDora_ = 0;    // open/added kans whose indicator comes at the discard
    int kanCount_ = 0;
    // Claim window.
    ClaimKind claimKind_ = ClaimKind::Discard;
    int claimFrom_ = -1;
    TileId claimTile_ = -1;
    Action claimKan_;  // the kan waiting for the window (AddedKan/ClosedKan)
    std::array<bool, 4> claimPending_{};
    std::array<Action, 4> claimChoice_{};
    std::array<std::vector<Action>, 4> legal_;
    std::vector<LoggedAction> log_;
    std::vector<TableEvent> step_;  // events of the last action applied
    HandResult result_;
};

}  // namespace zv::riichi
