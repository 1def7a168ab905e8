// The table's rules on set-up walls: each test places the tiles that matter
// (hands, draws, the dead wall) and fills the rest of the wall from a fixed
// shuffle, then drives the seats' actions and checks what the table allows
// and how the hand ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "riichi/game.h"
#include "riichi/random.h"
#include "riichi/table.h"

namespace zv::riichi {
namespace {

std::size_t I(int i) { return static_cast<std::size_t>(i); }

struct Layout {
    int dealer = 0;
    std::array<std::string, 4> hands;  // by seat; fewer than 13 tiles: the rest is filler
    std::vector<std::string> draws;    // the live wall from the dealer's first draw on; "?" any tile
    std::vector<std::string> last;     // the last tiles of the live wall, the very last at the end
    std::string dora, ura, replacements;
};

Wall MakeWall(const Layout& l) {
    std::array<TileId, kTiles> order;
    order.fill(-1);
    std::array<bool, kTiles> used{};
    auto place = [&](int index, std::string_view text) {
        std::vector<TileId> tiles;
        std::string error;
        EXPECT_TRUE(ParseTiles(text, tiles, error)) << text << ": " << error;
        for (TileId t : tiles) {
            // A plain five takes the red copy once the plain ones are used up.
            TileId copy = FreeCopy(KindOf(t), IsRedFive(t), used);
            if (copy < 0 && KindOf(t) % 9 == 4) copy = FreeCopy(KindOf(t), true, used);
            EXPECT_GE(copy, 0) << "no copy of " << TileName(t) << " left";
            if (copy < 0) return;
            EXPECT_EQ(order[I(index)], -1) << "two tiles at " << index;
            used[I(copy)] = true;
            order[I(index++)] = copy;
        }
    };
    for (int s = 0; s < 4; ++s) {
        // A dealer's hand of 14 tiles: the 14th is its first draw.
        std::vector<TileId> tiles;
        std::string error;
        EXPECT_TRUE(ParseTiles(l.hands[I(s)], tiles, error)) << error;
        int at = 13 * ((s - l.dealer + 4) % 4);
        for (std::size_t i = 0; i < tiles.size(); ++i)
            place(i < 13 ? at + static_cast<int>(i) : 52, TileName(tiles[i]));
    }
    for (std::size_t i = 0; i < l.draws.size(); ++i)
        if (l.draws[i] != "?") place(52 + static_cast<int>(i), l.draws[i]);
    for (std::size_t i = 0; i < l.last.size(); ++i)
        if (l.last[i] != "?") place(Wall::kDeadWallStart - static_cast<int>(l.last.size() - i), l.last[i]);
    if (!l.dora.empty()) place(Wall::kFirstDora, l.dora);
    if (!l.ura.empty()) place(Wall::kFirstDora + 1, l.ura);
    std::vector<TileId> reps;
    std::string error;
    EXPECT_TRUE(ParseTiles(l.replacements, reps, error)) << error;
    for (std::size_t i = 0; i < reps.size(); ++i)
        place(Wall::kFirstReplacement - static_cast<int>(i), TileName(reps[i]));
    std::vector<TileId> rest;
    for (TileId t = 0; t < kTiles; ++t)
        if (!used[I(t)]) rest.push_back(t);
    Random r(12345);
    r.Shuffle(rest.begin(), rest.end());
    std::size_t next = 0;
    for (TileId& t : order)
        if (t < 0) t = rest[next++];
    return Wall(order);
}

Hand Start(const Layout& l, HandSetup setup = {}) {
    setup.dealer = l.dealer;
    return Hand(setup, MakeWall(l));
}

std::vector<Action> Matching(const Hand& h, int seat, ActionType type, std::string_view kind = {}) {
    std::vector<Action> out;
    Kind k = kind.empty() ? -1 : ParseKind(kind);
    for (const Action& a : h.LegalActions(seat))
        if (a.type == type && (k < 0 || KindOf(a.tile) == k)) out.push_back(a);
    return out;
}

bool Offers(const Hand& h, int seat, ActionType type, std::string_view kind = {}) {
    return !Matching(h, seat, type, kind).empty();
}

void Act(Hand& h, int seat, ActionType type, std::string_view kind = {}) {
    auto m = Matching(h, seat, type, kind);
    ASSERT_FALSE(m.empty()) << "seat " << seat << " may not " << ActionText({type, -1, {-1, -1}}) << " "
                            << kind;
    std::string error;
    ASSERT_TRUE(h.Apply(seat, m.front(), &error)) << error;
}

void PassAll(Hand& h) {
    while (h.CurrentPhase() == Phase::Claims) {
        int seat = h.PendingSeats().front();
        ASSERT_TRUE(h.Apply(seat, {ActionType::Pass, -1, {-1, -1}}));
    }
}

// The seat to play discards the tile it drew; everyone lets it pass.
void DiscardDrawn(Hand& h) {
    ASSERT_EQ(h.CurrentPhase(), Phase::Turn);
    SeatView v = h.View(h.Turn());
    ASSERT_GE(v.drawn, 0);
    ASSERT_TRUE(h.Apply(h.Turn(), {ActionType::Discard, v.drawn, {-1, -1}}));
    PassAll(h);
}

void Toss(Hand& h, std::string_view kind) {
    Act(h, h.Turn(), ActionType::Discard, kind);
    PassAll(h);
}

std::set<Kind> KindsOf(const std::vector<Action>& actions) {
    std::set<Kind> kinds;
    for (const Action& a : actions) kinds.insert(KindOf(a.tile));
    return kinds;
}

// A closed hand waiting on the two winds east and south.
const char* kReadyEastSouth = "123m456p789s1122z";

// --- The deal and refusals ----------------------------------------------

TEST(HandTest, DealsThirteenEachAndTheDealerActsFirst) {
    Layout l;
    l.dealer = 2;
    Hand h = Start(l);
    EXPECT_EQ(h.PendingSeats(), std::vector<int>{2});
    for (int s = 0; s < 4; ++s) EXPECT_EQ(h.Concealed(s).size(), s == 2 ? 14u : 13u);
    EXPECT_EQ(h.View(2).liveTiles, 69);
    EXPECT_EQ(h.View(0).seatWind, kWest);
    EXPECT_EQ(h.View(3).seatWind, kSouth);
    EXPECT_TRUE(h.LegalActions(3).empty());

    std::string error;
    EXPECT_FALSE(h.Apply(3, {ActionType::Discard, h.Concealed(3)[0], {-1, -1}}, &error));
    EXPECT_NE(error.find("nothing to decide"), std::string::npos) << error;
    TileId notHeld = h.Concealed(3)[0];
    EXPECT_FALSE(h.Apply(2, {ActionType::Discard, notHeld, {-1, -1}}, &error));
    EXPECT_FALSE(h.Apply(2, {ActionType::Pass, -1, {-1, -1}}, &error));
    EXPECT_FALSE(h.Apply(7, {ActionType::Pass, -1, {-1, -1}}, &error));
    EXPECT_EQ(h.PendingSeats(), std::vector<int>{2});
    EXPECT_EQ(h.Concealed(2).size(), 14u);
}

// --- Riichi ----------------------------------------------------------------

TEST(HandTest, RiichiIsOfferedOnlyForDiscardsThatLeaveTheHandReady) {
    Layout l;
    l.hands[0] = kReadyEastSouth;
    l.draws = {"5z"};
    Hand h = Start(l);
    EXPECT_EQ(KindsOf(Matching(h, 0, ActionType::Riichi)), std::set<Kind>{kWhite});
    EXPECT_EQ(Matching(h, 0, ActionType::Discard).size(), 14u);

    HandSetup poor;
    poor.scores = {900, 25000, 25000, 25000};
    Hand h2 = Start(l, poor);
    EXPECT_FALSE(Offers(h2, 0, ActionType::Riichi));
}

TEST(HandTest, RiichiNeedsFourLiveTilesLeft) {
    Layout l;
    l.hands[1] = kReadyEastSouth;
    l.hands[2] = "123p456s789m3344z";
    l.draws = {"9m", "9p", "9s", "5z"};
    Hand h = Start(l);
    bool sawFour = false, sawThree = false;
    while (!h.Over()) {
        int seat = h.Turn();
        if (seat == 1 || seat == 2) {
            int live = h.View(seat).liveTiles;
            EXPECT_EQ(Offers(h, seat, ActionType::Riichi), live >= 4) << "live " << live;
            sawFour = sawFour || (seat == 1 && live == 4);
            sawThree = sawThree || (seat == 2 && live == 3);
        }
        DiscardDrawn(h);
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(sawFour);
    EXPECT_TRUE(sawThree);
}

TEST(HandTest, RiichiPaysItsStickOnceTheDiscardPassesAndFreezesTheHand) {
    Layout l;
    l.hands[0] = kReadyEastSouth;
    l.hands[1] = "1z";
    l.draws = {"5z", "9p", "9s", "8m", "9m", "4s"};
    l.ura = "8p";
    Hand h = Start(l);
    Act(h, 0, ActionType::Riichi, "5z");
    PassAll(h);
    EXPECT_EQ(h.Scores()[0], 24000);
    EXPECT_EQ(h.Sticks(), 1);
    EXPECT_TRUE(h.View(2).riichi[0]);
    EXPECT_TRUE(h.View(0).ippatsu);
    EXPECT_TRUE(h.River(0)[0].riichi);

    Toss(h, "9p");  // seat 1
    DiscardDrawn(h);
    DiscardDrawn(h);
    // Seat 0 after riichi: only the drawn tile may go.
    ASSERT_EQ(h.Turn(), 0);
    const auto& legal = h.LegalActions(0);
    ASSERT_EQ(legal.size(), 1u);
    EXPECT_EQ(legal[0].type, ActionType::Discard);
    EXPECT_EQ(legal[0].tile, h.View(0).drawn);
    DiscardDrawn(h);
    EXPECT_FALSE(h.View(0).ippatsu);  // its next discard ended ippatsu

    Act(h, 1, ActionType::Discard, "1z");  // seat 1 discards its east
    ASSERT_EQ(h.CurrentPhase(), Phase::Claims);
    Act(h, 0, ActionType::Ron);
    PassAll(h);
    ASSERT_TRUE(h.Over());
    const HandResult& r = h.Result();
    ASSERT_EQ(r.end, HandEnd::Ron);
    ASSERT_EQ(r.winners.size(), 1u);
    const WinResult& w = r.winners[0];
    EXPECT_EQ(w.seat, 0);
    EXPECT_EQ(r.loser, 1);
    EXPECT_TRUE(w.situation.riichi);
    EXPECT_TRUE(w.situation.doubleRiichi);
    EXPECT_FALSE(w.situation.ippatsu);
    EXPECT_EQ(w.situation.uraIndicators.size(), 1u);
    int pay = Payment(w.score.basePoints, true, Payer::Discarder);
    EXPECT_EQ(r.scoreDelta[0], pay);  // the stick came back
    EXPECT_EQ(r.scoreDelta[1], -pay);
    EXPECT_EQ(r.sticksAfter, 0);
    EXPECT_TRUE(r.riichi[0]);
    EXPECT_EQ(r.ronCount[0], 1);
    EXPECT_EQ(r.ronPoints[0], pay);
    EXPECT_EQ(r.dealInPoints[1], pay);
}

TEST(HandTest, RonOnTheIppatsuTurnPaysTheIppatsuChip) {
    Layout l;
    l.hands[0] = kReadyEastSouth;
    l.hands[1] = "1z";
    l.draws = {"5z", "9p"};
    l.ura = "8p";
    Hand h = Start(l);
    Act(h, 0, ActionType::Riichi, "5z");
    PassAll(h);
    Act(h, 1, ActionType::Discard, "1z");
    Act(h, 0, ActionType::Ron);
    PassAll(h);
    const HandResult& r = h.Result();
    ASSERT_EQ(r.winners.size(), 1u);
    EXPECT_TRUE(r.winners[0].situation.ippatsu);
    EXPECT_EQ(r.chipDelta[0], 1);
    EXPECT_EQ(r.chipDelta[1], -1);
}

TEST(HandTest, RonOnTheDeclaringDiscardCancelsTheRiichi) {
    Layout l;
    l.hands[0] = kReadyEastSouth;
    l.hands[1] = "234m345p456s666z5z";  // waits on white alone, green in hand
    l.draws = {"5z"};
    Hand h = Start(l);
    Act(h, 0, ActionType::Riichi, "5z");
    Act(h, 1, ActionType::Ron);
    PassAll(h);
    const HandResult& r = h.Result();
    ASSERT_EQ(r.end, HandEnd::Ron);
    EXPECT_FALSE(r.riichi[0]);
    EXPECT_EQ(r.sticksAfter, 0);
    EXPECT_EQ(r.scoreDelta[0] + r.scoreDelta[1], 0);
    EXPECT_LT(r.scoreDelta[0], 0);
}

TEST(HandTest, AnyCallEndsEveryonesIppatsu) {
    Layout l;
    l.hands[0] = kReadyEastSouth;
    l.hands[2] = "99m";
    l.draws = {"5z", "9m"};
    Hand h = Start(l);
    Act(h, 0, ActionType::Riichi, "5z");
    PassAll(h);
    ASSERT_TRUE(h.View(0).ippatsu);
    Act(h, 1, ActionType::Discard, "9m");
    Act(h, 2, ActionType::Pon, "9m");
    PassAll(h);
    EXPECT_FALSE(h.View(0).ippatsu);
    EXPECT_EQ(h.Turn(), 2);
    EXPECT_EQ(h.View(2).drawn, -1);
    EXPECT_FALSE(Offers(h, 2, ActionType::Tsumo));
    EXPECT_EQ(h.Melds(2).size(), 1u);
    EXPECT_TRUE(h.River(1).back().called);
    EXPECT_FALSE(Offers(h, 2, ActionType::Riichi));  // an open hand
}

TEST(HandTest, AfterRiichiAClosedKanMustKeepTheWaits) {
    // 111m stays a set: the kan keeps the waits on east and south.
    Layout keeps;
    keeps.hands[0] = "111m456p789s1122z";
    keeps.draws = {"5z", "9p", "9s", "9m", "1m"};
    keeps.replacements = "1z";
    Hand h = Start(keeps);
    Act(h, 0, ActionType::Riichi, "5z");
    PassAll(h);
    for (int i = 0; i < 3; ++i) DiscardDrawn(h);
    ASSERT_TRUE(Offers(h, 0, ActionType::ClosedKan, "1m"));
    Act(h, 0, ActionType::ClosedKan, "1m");
    EXPECT_EQ(h.View(1).doraIndicators.size(), 2u);  // a closed kan turns its indicator at once
    EXPECT_EQ(h.View(0).melds[0].size(), 1u);
    EXPECT_EQ(h.View(3).melds[0][0].type, MeldType::ClosedKan);
    ASSERT_TRUE(Offers(h, 0, ActionType::Tsumo));  // the replacement tile completes it
    Act(h, 0, ActionType::Tsumo);
    const WinResult& w = h.Result().winners.at(0);
    EXPECT_TRUE(w.situation.rinshan);
    EXPECT_FALSE(w.situation.haitei);
    EXPECT_FALSE(w.situation.ippatsu);  // the kan ended it

    // 1112m3m: the fourth 1m would take the east-pair reading away.
    Layout changes;
    changes.hands[0] = "11123m456p789s11z";
    changes.draws = {"5z", "9p", "9s", "9m", "1m"};
    Hand h2 = Start(changes);
    Act(h2, 0, ActionType::Riichi, "5z");
    PassAll(h2);
    for (int i = 0; i < 3; ++i) DiscardDrawn(h2);
    ASSERT_EQ(h2.Turn(), 0);
    EXPECT_FALSE(Offers(h2, 0, ActionType::ClosedKan));
    EXPECT_TRUE(Offers(h2, 0, ActionType::Tsumo));
}

// --- Furiten -----------------------------------------------------------------

// Seat 1 waits on 1m and 4m (all simples with 4m, pinfu with either).
const char* kWaits14m = "23m456m345p456s88s";

TEST(HandTest, FuritenOfEachKind) {
    // Permanent: a waiting kind in the own river; a self-drawn win is still fine.
    {
        Layout l;
        l.hands[1] = kWaits14m;
        l.draws = {"9p", "1m", "4m", "9s", "9m", "4m"};
        Hand h = Start(l);
        DiscardDrawn(h);
        EXPECT_TRUE(Offers(h, 1, ActionType::Tsumo));
        Toss(h, "1m");
        EXPECT_TRUE(h.View(1).furiten);
        Act(h, 2, ActionType::Discard, "4m");
        EXPECT_FALSE(Offers(h, 1, ActionType::Ron));
        PassAll(h);
        DiscardDrawn(h);
        DiscardDrawn(h);
        ASSERT_EQ(h.Turn(), 1);
        EXPECT_TRUE(Offers(h, 1, ActionType::Tsumo));
    }
    // Temporary: a passed win until the own next discard.
    {
        Layout l;
        l.hands[1] = kWaits14m;
        l.draws = {"9p", "9s", "4m", "1m", "9m", "7z", "1m"};
        Hand h = Start(l);
        DiscardDrawn(h);
        DiscardDrawn(h);
        Act(h, 2, ActionType::Discard, "4m");
        ASSERT_TRUE(Offers(h, 1, ActionType::Ron));
        PassAll(h);
        EXPECT_TRUE(h.View(1).furiten);
        Act(h, 3, ActionType::Discard, "1m");
        EXPECT_FALSE(Offers(h, 1, ActionType::Ron));
        PassAll(h);
        DiscardDrawn(h);
        DiscardDrawn(h);  // seat 1's own discard
        EXPECT_FALSE(h.View(1).furiten);
        Act(h, 2, ActionType::Discard, "1m");
        EXPECT_TRUE(Offers(h, 1, ActionType::Ron));
    }
    // After riichi: a passed win is furiten for the rest of the hand.
    {
        Layout l;
        l.hands[1] = kWaits14m;
        l.draws = {"9p", "9s", "4m", "6z", "9m", "7z", "1m", "5z", "8m", "1m"};
        Hand h = Start(l);
        DiscardDrawn(h);
        Act(h, 1, ActionType::Riichi, "9s");
        PassAll(h);
        Act(h, 2, ActionType::Discard, "4m");
        ASSERT_TRUE(Offers(h, 1, ActionType::Ron));
        PassAll(h);
        DiscardDrawn(h);
        DiscardDrawn(h);
        DiscardDrawn(h);  // seat 1's own discard
        EXPECT_TRUE(h.View(1).furiten);
        Act(h, 2, ActionType::Discard, "1m");
        EXPECT_FALSE(Offers(h, 1, ActionType::Ron));
        PassAll(h);
        DiscardDrawn(h);
        DiscardDrawn(h);
        ASSERT_EQ(h.Turn(), 1);
        EXPECT_TRUE(Offers(h, 1, ActionType::Tsumo));
    }
}

// --- Kans ------------------------------------------------------------------

// Seat 1 pons the dealer's 5p and later draws the fourth; seat 2 waits on 2p-5p.
Layout AddedKanLayout() {
    Layout l;
    l.hands[0] = "5p";
    l.hands[1] = "55p123m789m111z99s";
    l.hands[2] = "234m456s678s34p99m";
    l.draws = {"9m", "1z", "2z", "3z", "5p"};
    return l;
}

void PlayToTheAddedKan(Hand& h) {
    Act(h, 0, ActionType::Discard, "5p");
    ASSERT_TRUE(Offers(h, 1, ActionType::Pon, "5p"));
    Act(h, 1, ActionType::Pon, "5p");
    PassAll(h);
    Toss(h, "9s");
    for (int i = 0; i < 3; ++i) DiscardDrawn(h);
    ASSERT_EQ(h.Turn(), 1);
    Act(h, 1, ActionType::AddedKan, "5p");
}

TEST(HandTest, AnAddedKanMayBeRobbed) {
    Hand h = Start(AddedKanLayout());
    PlayToTheAddedKan(h);
    ASSERT_EQ(h.CurrentPhase(), Phase::Claims);
    EXPECT_TRUE(h.View(2).claimIsKan);
    // Everyone sees the kan laid down while it may be robbed.
    const SeatView seen = h.View(2);
    ASSERT_EQ(seen.melds[1].size(), 1u);
    EXPECT_EQ(seen.melds[1][0].type, MeldType::AddedKan);
    EXPECT_EQ(seen.concealedCount[1], 10);
    const auto& held = h.Concealed(1);
    EXPECT_EQ(std::find(held.begin(), held.end(), seen.claimTile), held.end());
    const auto& legal = h.LegalActions(2);
    ASSERT_EQ(legal.size(), 2u);  // ron or pass: nothing else on a kan tile
    Act(h, 2, ActionType::Ron);
    PassAll(h);
    const HandResult& r = h.Result();
    ASSERT_EQ(r.end, HandEnd::Ron);
    EXPECT_EQ(r.loser, 1);
    EXPECT_TRUE(r.winners.at(0).situation.chankan);
    EXPECT_EQ(KindOf(r.winners.at(0).winTile), ParseKind("5p"));
    // The robbed kan never completes: no replacement tile, no kan dora.
    EXPECT_EQ(h.WallState().KansDeclared(), 0);
    EXPECT_EQ(r.doraIndicators.size(), 1u);
    EXPECT_EQ(h.CheckTiles(), "");
}

TEST(HandTest, AnUnrobbedAddedKanCompletesAndTurnsItsDoraAtTheDiscard) {
    Layout l = AddedKanLayout();
    l.replacements = "7s";
    Hand h = Start(l);
    PlayToTheAddedKan(h);
    PassAll(h);
    ASSERT_EQ(h.Turn(), 1);
    EXPECT_EQ(h.Melds(1).at(0).type, MeldType::AddedKan);
    EXPECT_EQ(h.Melds(1).at(0).size, 4);
    EXPECT_EQ(KindOf(h.View(1).drawn), ParseKind("7s"));
    EXPECT_TRUE(h.View(2).furiten);  // it let the kan tile go
    EXPECT_EQ(h.View(0).doraIndicators.size(), 1u);
    DiscardDrawn(h);
    EXPECT_EQ(h.View(0).doraIndicators.size(), 2u);
}

TEST(HandTest, OnlyThirteenOrphansMayRobAClosedKan) {
    Layout l;
    l.hands[1] = "111m";
    l.hands[2] = "99m19p19s1234567z";
    l.hands[3] = "23m456p456s678s99p";  // waits on 1m too, but an ordinary hand
    l.draws = {"5s", "1m"};
    Hand h = Start(l);
    DiscardDrawn(h);
    Act(h, 1, ActionType::ClosedKan, "1m");
    ASSERT_EQ(h.CurrentPhase(), Phase::Claims);
    EXPECT_EQ(h.PendingSeats(), std::vector<int>{2});
    ASSERT_EQ(h.Melds(1).size(), 1u);  // laid down while it may be robbed
    EXPECT_EQ(h.Melds(1)[0].type, MeldType::ClosedKan);
    EXPECT_FALSE(Offers(h, 3, ActionType::Ron));
    Act(h, 2, ActionType::Ron);
    const HandResult& r = h.Result();
    ASSERT_EQ(r.end, HandEnd::Ron);
    EXPECT_EQ(r.winners.at(0).seat, 2);
    EXPECT_TRUE(r.winners.at(0).situation.chankan);
    EXPECT_EQ(r.winners.at(0).score.yakuman, 1);
}

TEST(HandTest, AnOpenKanDrawsAReplacementAndItsDoraWaitsForTheDiscard) {
    Layout l;
    l.hands[0] = "7z";
    l.hands[1] = "777z123m456p789s5z";
    l.draws = {"9m"};
    l.replacements = "5z";
    Hand h = Start(l);
    Act(h, 0, ActionType::Discard, "7z");
    Act(h, 1, ActionType::OpenKan, "7z");
    PassAll(h);
    ASSERT_EQ(h.Turn(), 1);
    EXPECT_EQ(h.View(1).doraIndicators.size(), 1u);
    ASSERT_TRUE(Offers(h, 1, ActionType::Tsumo));
    Act(h, 1, ActionType::Tsumo);
    const HandResult& r = h.Result();
    EXPECT_TRUE(r.winners.at(0).situation.rinshan);
    EXPECT_EQ(r.winners.at(0).situation.doraIndicators.size(), 1u);
    EXPECT_EQ(r.calls[1], 1);
}

TEST(HandTest, FourKansByTwoSeatsEndTheHandWhenTheNextDiscardPasses) {
    Layout l;
    l.hands[0] = "1111m2222m3333p1z";
    l.hands[1] = "444s";
    l.draws = {"9s", "4s"};
    l.replacements = "1s2s3s5z";
    Hand h = Start(l);
    Act(h, 0, ActionType::ClosedKan, "1m");
    Act(h, 0, ActionType::ClosedKan, "2m");
    Act(h, 0, ActionType::ClosedKan, "3p");
    EXPECT_EQ(h.View(2).doraIndicators.size(), 4u);
    Toss(h, "1z");
    Act(h, 1, ActionType::ClosedKan, "4s");
    EXPECT_FALSE(h.Over());
    Toss(h, "5z");
    ASSERT_TRUE(h.Over());
    EXPECT_EQ(h.Result().end, HandEnd::FourKans);
    EXPECT_TRUE(IsAbortive(h.Result().end));
}

TEST(HandTest, FourKansByOneSeatPlayOnAndAFifthIsNotAllowed) {
    Layout l;
    l.hands[0] = "1111m2222m333p44p";
    l.hands[1] = "777z";
    l.draws = {"3p", "7z"};
    l.replacements = "4p4p5z6z";
    Hand h = Start(l);
    for (const char* k : {"1m", "2m", "3p", "4p"}) Act(h, 0, ActionType::ClosedKan, k);
    EXPECT_EQ(h.Melds(0).size(), 4u);
    Toss(h, "6z");
    ASSERT_FALSE(h.Over());
    ASSERT_EQ(h.Turn(), 1);
    EXPECT_FALSE(Offers(h, 1, ActionType::ClosedKan));
}

// --- The end of the wall ------------------------------------------------

TEST(HandTest, TheLastTileWinsHaitei) {
    Layout l;
    l.hands[1] = kReadyEastSouth;
    l.draws = {"9m", "9p", "9s", "5z"};
    l.last = {"1z"};  // the 70th draw: seat 1's
    Hand h = Start(l);
    while (!h.Over() && h.View(h.Turn()).liveTiles > 0) DiscardDrawn(h);
    ASSERT_FALSE(h.Over());
    ASSERT_EQ(h.Turn(), 1);
    ASSERT_TRUE(Offers(h, 1, ActionType::Tsumo));
    EXPECT_FALSE(Offers(h, 1, ActionType::Riichi));
    Act(h, 1, ActionType::Tsumo);
    EXPECT_TRUE(h.Result().winners.at(0).situation.haitei);
}

TEST(HandTest, TheLastDiscardWinsHouteiAndCannotBeCalled) {
    Layout l;
    l.hands[2] = "123m456m789m123p6z";
    l.hands[3] = "66z";
    l.draws = {"9m", "9p", "9s", "5z"};
    l.last = {"6z"};
    Hand h = Start(l);
    while (!h.Over() && h.View(h.Turn()).liveTiles > 0) DiscardDrawn(h);
    ASSERT_EQ(h.Turn(), 1);
    Act(h, 1, ActionType::Discard, "6z");
    EXPECT_TRUE(Offers(h, 2, ActionType::Ron));
    EXPECT_FALSE(Offers(h, 3, ActionType::Pon));
    Act(h, 2, ActionType::Ron);
    PassAll(h);
    EXPECT_TRUE(h.Result().winners.at(0).situation.houtei);
}

// Hands for the ready payments: four that wait, and one that is far from it.
const char* kReady[4] = {"123m456m789m1122z", "123p456p789p3344z", "123s456s789s5566z", "111m999m111p99p77z"};
const char* kNotReady = "258m258p258s4567z";

TEST(HandTest, ExhaustiveDrawPaysTheReadySeats) {
    struct Case {
        int ready;
        std::array<int, 4> delta;
    };
    const Case cases[] = {{0, {0, 0, 0, 0}},
                          {1, {3000, -1000, -1000, -1000}},
                          {2, {1500, 1500, -1500, -1500}},
                          {3, {1000, 1000, 1000, -3000}},
                          {4, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        Layout l;
        for (int s = 0; s < 4; ++s) l.hands[I(s)] = s < c.ready ? kReady[s] : kNotReady;
        Hand h = Start(l);
        while (!h.Over()) {
            DiscardDrawn(h);
            if (HasFatalFailure()) return;
        }
        const HandResult& r = h.Result();
        ASSERT_EQ(r.end, HandEnd::Exhaustive) << c.ready;
        EXPECT_EQ(r.scoreDelta, c.delta) << c.ready << " ready";
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(r.ready[I(s)], s < c.ready) << c.ready;
            EXPECT_EQ(r.revealed[I(s)].empty(), s >= c.ready) << c.ready;
        }
    }
}

TEST(HandTest, AWaitOnTheOwnFourthTileIsNotReady) {
    Layout l;
    l.hands[0] = "1111m456p789s123s";  // waits on 1m only, all four held
    l.hands[1] = "258m258p258s1234z";
    l.hands[2] = "369m369p369s5677z";
    l.hands[3] = "258m258p258s4567z";
    Hand h = Start(l);
    while (!h.Over()) {
        DiscardDrawn(h);
        if (HasFatalFailure()) return;
    }
    EXPECT_FALSE(h.Result().ready[0]);
}

TEST(HandTest, AllTerminalAndHonourDiscardsWinNagashiMangan) {
    Layout l;
    const char* orphans[] = {"1m", "9m", "1p", "9p", "1s", "9s", "1z", "2z", "3z", "4z", "5z", "6z", "7z"};
    l.draws.assign(70, "?");
    for (int j = 2, n = 0; j < 70; j += 4, ++n) l.draws[I(j)] = orphans[n % 13];
    Hand h = Start(l);
    while (!h.Over()) {
        DiscardDrawn(h);
        if (HasFatalFailure()) return;
    }
    const HandResult& r = h.Result();
    ASSERT_EQ(r.end, HandEnd::NagashiMangan);
    EXPECT_EQ(r.nagashi, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(r.scoreDelta, (std::array<int, 4>{-4000, -2000, 8000, -2000}));
}

// --- Abortive draws -------------------------------------------------------

TEST(HandTest, TheSameWindFromAllFourIsAnAbortiveDraw) {
    Layout l;
    l.hands[0] = "1z";
    l.draws = {"9m", "1z", "1z", "1z"};
    Hand h = Start(l);
    Toss(h, "1z");
    Toss(h, "1z");
    Toss(h, "1z");
    EXPECT_FALSE(h.Over());
    Toss(h, "1z");
    ASSERT_TRUE(h.Over());
    EXPECT_EQ(h.Result().end, HandEnd::FourWinds);

    l.draws = {"9m", "1z", "1z", "2z"};
    Hand h2 = Start(l);
    for (const char* k : {"1z", "1z", "1z", "2z"}) Toss(h2, k);
    EXPECT_FALSE(h2.Over());
}

TEST(HandTest, FourRiichiIsAnAbortiveDrawAndTheSticksStay) {
    Layout l;
    l.hands = {"123m456m789m1122z", "123p456p789p3344z", "123s456s789s5566z", "234m345p456s777z8s"};
    l.draws = {"9p", "9s", "1m", "9m"};
    Hand h = Start(l);
    for (const char* k : {"9p", "9s", "1m"}) {
        Act(h, h.Turn(), ActionType::Riichi, k);
        PassAll(h);
    }
    ASSERT_FALSE(h.Over());
    Act(h, 3, ActionType::Riichi, "9m");
    PassAll(h);
    ASSERT_TRUE(h.Over());
    const HandResult& r = h.Result();
    EXPECT_EQ(r.end, HandEnd::FourRiichi);
    EXPECT_EQ(r.sticksAfter, 4);
    EXPECT_EQ(r.scoreDelta, (std::array<int, 4>{-1000, -1000, -1000, -1000}));
}

TEST(HandTest, NineKindsOfTerminalsMayBeDeclaredOnTheFirstDrawOnly) {
    Layout l;
    l.hands[0] = "19m19p19s123z2468m";
    l.hands[1] = "19m19p19s123z2468p";
    l.draws = {"5z", "5z"};
    Hand h = Start(l);
    ASSERT_TRUE(Offers(h, 0, ActionType::NineTerminals));
    DiscardDrawn(h);
    EXPECT_TRUE(Offers(h, 1, ActionType::NineTerminals));
    Act(h, 1, ActionType::NineTerminals);
    EXPECT_EQ(h.Result().end, HandEnd::NineTerminals);
    EXPECT_EQ(h.Result().declarer, 1);
    EXPECT_EQ(h.Result().revealed[1].size(), 14u);
    EXPECT_EQ(h.Result().scoreDelta, (std::array<int, 4>{}));
}

// --- Several rons -----------------------------------------------------------

TEST(HandTest, SeveralRonsOnOneDiscard) {
    // Seats 1, 2 and 3 wait on 3m-6m with all simples; the dealer throws 3m.
    struct Case {
        bool third, headBump, noTripleRonDraw;
        HandEnd end;
        std::vector<int> winners;
    };
    const Case cases[] = {
        {true, false, false, HandEnd::TripleRon, {}}, {true, false, true, HandEnd::Ron, {1, 2, 3}},
        {true, true, true, HandEnd::Ron, {1}},        {false, false, false, HandEnd::Ron, {1, 3}},
        {false, true, false, HandEnd::Ron, {1}},
    };
    for (const Case& c : cases) {
        Layout l;
        l.hands = {"3m111z222z333z99m1s", "45m234p567p234s66s",
                   c.third ? "45m345p678p345s77s" : "19m345p678p345s77s", "45m456p678s678s22p"};
        l.draws = {"1p"};
        HandSetup setup;
        setup.rules.headBump = c.headBump;
        setup.rules.noTripleRonDraw = c.noTripleRonDraw;
        setup.honba = 2;
        setup.sticks = 1;
        setup.scores = {24000, 25000, 25000, 25000};
        Hand h = Start(l, setup);
        Act(h, 0, ActionType::Discard, "3m");
        for (int s : {1, 2, 3})
            if (Offers(h, s, ActionType::Ron)) Act(h, s, ActionType::Ron);
        PassAll(h);
        ASSERT_TRUE(h.Over());
        const HandResult& r = h.Result();
        EXPECT_EQ(r.end, c.end);
        std::vector<int> winners;
        for (const WinResult& w : r.winners) winners.push_back(w.seat);
        EXPECT_EQ(winners, c.winners);
        if (c.winners.empty()) {
            EXPECT_EQ(r.scoreDelta, (std::array<int, 4>{}));
            EXPECT_EQ(r.sticksAfter, 1);
            continue;
        }
        // Each winner is paid its hand and the honba; the stick goes to the first.
        int paid = 0;
        for (std::size_t i = 0; i < r.winners.size(); ++i) {
            const WinResult& w = r.winners[i];
            int pay = Payment(w.score.basePoints, false, Payer::Discarder, 2);
            EXPECT_EQ(r.scoreDelta[I(w.seat)], pay + (i == 0 ? 1000 : 0));
            paid += pay;
        }
        EXPECT_EQ(r.scoreDelta[0], -paid);
        EXPECT_EQ(r.sticksAfter, 0);
        EXPECT_EQ(r.dealInCount[0], static_cast<int>(c.winners.size()));
    }
}

// --- Calls ----------------------------------------------------------------

TEST(HandTest, SwapCallingIsRefusedWhenTheRulesSaySo) {
    for (bool forbidden : {false, true}) {
        Layout l;
        l.hands[0] = "3m";
        l.hands[1] = "3456m111z222z333z";
        l.draws = {"9s"};
        HandSetup setup;
        setup.rules.noSwapCalling = forbidden;
        Hand h = Start(l, setup);
        Act(h, 0, ActionType::Discard, "3m");
        auto chis = Matching(h, 1, ActionType::Chi);
        ASSERT_EQ(chis.size(), 1u);
        EXPECT_EQ(KindOf(chis[0].with[0]), ParseKind("4m"));
        EXPECT_EQ(KindOf(chis[0].with[1]), ParseKind("5m"));
        Act(h, 1, ActionType::Chi);
        PassAll(h);
        ASSERT_EQ(h.Turn(), 1);
        std::set<Kind> kinds = KindsOf(Matching(h, 1, ActionType::Discard));
        EXPECT_EQ(kinds.count(ParseKind("3m")), forbidden ? 0u : 1u);  // the called kind
        EXPECT_EQ(kinds.count(ParseKind("6m")), forbidden ? 0u : 1u);  // the other end
        EXPECT_EQ(kinds.count(kEast), 1u);
    }
    Layout l;
    l.hands[0] = "7z";
    l.hands[1] = "777z";
    l.draws = {"9s"};
    HandSetup setup;
    setup.rules.noSwapCalling = true;
    Hand h = Start(l, setup);
    Act(h, 0, ActionType::Discard, "7z");
    EXPECT_TRUE(Offers(h, 1, ActionType::OpenKan));
    Act(h, 1, ActionType::Pon);
    PassAll(h);
    EXPECT_FALSE(Offers(h, 1, ActionType::Discard, "7z"));
    EXPECT_FALSE(Offers(h, 1, ActionType::AddedKan));  // no kan straight after a call
}

TEST(HandTest, PonWithARedFiveOffersBothChoices) {
    Layout l;
    l.hands[0] = "5m";
    l.hands[2] = "05m";
    l.draws = {"9s"};
    Hand h = Start(l);
    Act(h, 0, ActionType::Discard, "5m");
    EXPECT_EQ(Matching(h, 2, ActionType::Pon).size(), 1u);
    Layout l3;
    l3.hands[0] = "5m";
    l3.hands[2] = "055m";
    l3.draws = {"9s"};
    Hand h3 = Start(l3);
    Act(h3, 0, ActionType::Discard, "5m");
    EXPECT_EQ(Matching(h3, 2, ActionType::Pon).size(), 2u);  // with or without the red five
    EXPECT_FALSE(Offers(h3, 2, ActionType::Chi));            // chi only for the next seat
}

// --- Liability ------------------------------------------------------------

// Seat 1 pons white, green and red; seat 2 feeds the third dragon.
void PlayToBigThreeDragons(Hand& h) {
    Act(h, 0, ActionType::Discard, "5z");
    Act(h, 1, ActionType::Pon, "5z");
    PassAll(h);
    Toss(h, "4p");
    Act(h, 2, ActionType::Discard, "6z");
    Act(h, 1, ActionType::Pon, "6z");
    PassAll(h);
    Toss(h, "5p");
    Act(h, 2, ActionType::Discard, "7z");
    Act(h, 1, ActionType::Pon, "7z");
    PassAll(h);
    Toss(h, "6p");
}

Layout DragonsLayout(const char* dealerDraw) {
    Layout l;
    l.hands[0] = "5z";
    l.hands[1] = "55z66z77z123m456p9s";
    l.draws = {"9m", "6z", "7z", "1p", "2p", dealerDraw, "9s"};
    return l;
}

TEST(HandTest, TheFeederOfTheThirdDragonPaysASelfDrawnBigThreeDragons) {
    for (bool pao : {true, false}) {
        HandSetup setup;
        setup.rules.pao = pao;
        Hand h = Start(DragonsLayout("3p"), setup);
        PlayToBigThreeDragons(h);
        DiscardDrawn(h);
        DiscardDrawn(h);
        DiscardDrawn(h);
        ASSERT_EQ(h.Turn(), 1);
        Act(h, 1, ActionType::Tsumo);
        const HandResult& r = h.Result();
        ASSERT_EQ(r.winners.size(), 1u);
        EXPECT_EQ(r.winners[0].liable, pao ? 2 : -1);
        EXPECT_EQ(r.calls[1], 3);
        std::array<int, 4> fed{0, 32000, -32000, 0}, shared{-16000, 32000, -8000, -8000};
        EXPECT_EQ(r.scoreDelta, pao ? fed : shared);
    }
}

TEST(HandTest, OnARonTheFeederAndTheDiscarderShareBigThreeDragons) {
    HandSetup setup;
    setup.rules.pao = true;
    Hand h = Start(DragonsLayout("9s"), setup);
    PlayToBigThreeDragons(h);
    DiscardDrawn(h);
    DiscardDrawn(h);
    Act(h, 0, ActionType::Discard, "9s");
    Act(h, 1, ActionType::Ron);
    PassAll(h);
    const HandResult& r = h.Result();
    EXPECT_EQ(r.scoreDelta, (std::array<int, 4>{-16000, 32000, -16000, 0}));
    EXPECT_EQ(r.loser, 0);
    // The discarder's deal-in counts its own share; the feeder dealt nothing in.
    EXPECT_EQ(r.ronPoints[1], 32000);
    EXPECT_EQ(r.dealInPoints, (std::array<int, 4>{16000, 0, 0, 0}));
    EXPECT_EQ(r.dealInCount, (std::array<int, 4>{1, 0, 0, 0}));
}

// --- Chips ----------------------------------------------------------------

TEST(HandTest, AllThreeRedFivesEarnTheAllStarsChips) {
    for (bool noAllStars : {false, true}) {
        Layout l;
        l.hands[0] = "2p";
        l.hands[1] = "340m406p406s678s2p";
        l.draws = {"9m"};
        HandSetup setup;
        setup.rules.noAllStars = noAllStars;
        Hand h = Start(l, setup);
        Act(h, 0, ActionType::Discard, "2p");
        Act(h, 1, ActionType::Ron);
        PassAll(h);
        const HandResult& r = h.Result();
        ASSERT_EQ(r.winners.size(), 1u);
        EXPECT_EQ(r.winners[0].score.redFives, 3);
        EXPECT_EQ(r.chipDelta[1], noAllStars ? 3 : 5);
        EXPECT_EQ(r.chipDelta[0], noAllStars ? -3 : -5);
    }
}

TEST(HandTest, AYakumanPaysTheIppatsuUraAndRedFiveChipsItHolds) {
    // Riichi on big three dragons waiting on red or 5p; ron on red at once.
    Layout l;
    l.hands[0] = "555z666z77z340m55p";
    l.hands[1] = "7z";
    l.draws = {"9s"};
    l.ura = "4p";  // ura dora 5p: two
    HandSetup setup;
    setup.rules.yakumanChip = 20;
    setup.rules.ippatsuChip = 5;
    setup.rules.uraDoraChip = 3;
    setup.rules.redFiveChip = 1;
    Hand h = Start(l, setup);
    Act(h, 0, ActionType::Riichi, "9s");
    PassAll(h);
    Act(h, 1, ActionType::Discard, "7z");
    Act(h, 0, ActionType::Ron);
    PassAll(h);
    const HandResult& r = h.Result();
    ASSERT_EQ(r.winners.size(), 1u);
    const WinResult& w = r.winners[0];
    EXPECT_EQ(w.score.yakuman, 1);
    EXPECT_TRUE(w.situation.ippatsu);
    EXPECT_EQ(w.score.uraDora, 2);
    EXPECT_EQ(w.score.redFives, 1);
    // 20 for the yakuman + 5 ippatsu + 2 * 3 ura + 1 red five.
    EXPECT_EQ(r.chipDelta, (std::array<int, 4>{32, -32, 0, 0}));
}

TEST(HandTest, AnOpenHandUnderClosedOnlyRedsGetsOnlyTheAllStarsChips) {
    struct Case {
        bool closedOnly, noAllStars;
        int chips;
    };
    for (const Case& c : {Case{false, false, 5}, Case{true, false, 2}, Case{true, true, 0}}) {
        SCOPED_TRACE(testing::Message() << "nonakiaka " << c.closedOnly << " noallstars " << c.noAllStars);
        // Seat 1 pons 8s and waits on 2p alone with all three red fives.
        Layout l;
        l.hands[0] = "8s";
        l.hands[1] = "340m406p406s2p88s9m";
        l.hands[2] = "2p";
        l.draws = {"9p"};
        HandSetup setup;
        setup.rules.redFivesClosedOnly = c.closedOnly;
        setup.rules.noAllStars = c.noAllStars;
        Hand h = Start(l, setup);
        Act(h, 0, ActionType::Discard, "8s");
        Act(h, 1, ActionType::Pon, "8s");
        PassAll(h);
        Toss(h, "9m");
        Act(h, 2, ActionType::Discard, "2p");
        Act(h, 1, ActionType::Ron);
        PassAll(h);
        const HandResult& r = h.Result();
        ASSERT_EQ(r.winners.size(), 1u);
        EXPECT_EQ(r.winners[0].score.redFives, c.closedOnly ? 0 : 3);
        EXPECT_EQ(r.chipDelta, (std::array<int, 4>{0, c.chips, -c.chips, 0}));
    }
}

// --- Whole games ------------------------------------------------------------

// Every hand of these games is set up: `plan(index, setup)` gives the hands
// by seat; the players discard what they draw and take only the wins and
// declarations their role allows.
Game ScriptedGame(const Rules& rules, int firstDealer,
                  std::function<std::array<std::string, 4>(int, const HandSetup&)> plan) {
    return Game(rules, 1, firstDealer, [plan](int index, const HandSetup& setup) {
        Layout l;
        l.dealer = setup.dealer;
        l.hands = plan(index, setup);
        return MakeWall(l);
    });
}

Action Passive(const SeatView& v) {
    if (v.phase == Phase::Claims) return {ActionType::Pass, -1, {-1, -1}};
    for (const Action& a : v.legal)
        if (a.type == ActionType::Discard && a.tile == v.drawn) return a;
    return v.legal.back();
}

Action Winner(const SeatView& v) {
    for (const Action& a : v.legal)
        if (a.type == ActionType::Tsumo || a.type == ActionType::Ron) return a;
    return Passive(v);
}

Action Reacher(const SeatView& v) {
    for (const Action& a : v.legal)
        if (a.type == ActionType::Riichi && a.tile == v.drawn) return a;
    return Passive(v);
}

Action Aborter(const SeatView& v) {
    for (const Action& a : v.legal)
        if (a.type == ActionType::NineTerminals) return a;
    return Passive(v);
}

void Play(Game& g, Game::Decider d) { g.PlayOut({d, d, d, d}); }

const std::array<std::string, 4> kQuiet = {kNotReady, kNotReady, kNotReady, kNotReady};
const char* kDealerReady = "345m345p345s67m99p";  // waits on 5m-8m
const char* kComplete = "345m345p345s678m99p";    // 14 tiles: a win on the first draw
const char* kSecondReady = "678m678p678s33z44s";  // waits on west and 4s
const char* kThirdReady = "123s456s789s5566z";    // waits on white and green

std::array<std::string, 4> With(int seat, const char* hand) {
    std::array<std::string, 4> hands = kQuiet;
    hands[I(seat)] = hand;
    return hands;
}

TEST(GameTest, AnEastOnlyGameOfDrawsRotatesTheDealAndPlacesTiesByTheFirstDealer) {
    Rules rules;
    for (int firstDealer : {0, 2}) {
        Game g = ScriptedGame(rules, firstDealer, [](int, const HandSetup&) { return kQuiet; });
        Play(g, Passive);
        ASSERT_TRUE(g.Over());
        ASSERT_EQ(g.Results().size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(g.Results()[I(i)].end, HandEnd::Exhaustive);
            EXPECT_EQ(g.Results()[I(i)].dealer, (firstDealer + i) % 4);
            EXPECT_EQ(g.Results()[I(i)].honba, i);
        }
        for (int i = 0; i < 4; ++i) {
            const SeatTotals& t = g.Totals()[I((firstDealer + i) % 4)];
            EXPECT_EQ(t.place, i + 1);
            EXPECT_EQ(t.finalScore, 25000);
            EXPECT_EQ(t.hands, 4);
        }
        EXPECT_EQ(g.Totals()[I(firstDealer)].points, 20);
        EXPECT_EQ(g.Totals()[I((firstDealer + 3) % 4)].points, -20);
    }
}

TEST(GameTest, EastAndSouthPlaysEightHands) {
    Rules rules;
    rules.eastOnly = false;
    Game g = ScriptedGame(rules, 0, [](int, const HandSetup&) { return kQuiet; });
    Play(g, Passive);
    ASSERT_EQ(g.Results().size(), 8u);
    EXPECT_EQ(g.Results()[4].roundWind, kSouth);
    EXPECT_EQ(g.Results()[4].dealer, 0);
}

TEST(GameTest, TheDealerKeepsTheDealWhenReadyOrWinningAndHonbaRise) {
    Rules rules;
    Game g = ScriptedGame(rules, 0, [](int index, const HandSetup& s) {
        if (index == 0) return With(s.dealer, kDealerReady);  // ready at the draw
        if (index == 2) return With(s.dealer, kComplete);     // a win on the first draw
        return kQuiet;
    });
    // Only the planned win is taken.
    Play(g, [&g](const SeatView& v) { return g.HandIndex() == 2 ? Winner(v) : Passive(v); });
    const auto& r = g.Results();
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[0].scoreDelta, (std::array<int, 4>{3000, -1000, -1000, -1000}));
    const int dealers[] = {0, 0, 1, 1, 2, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(r[I(i)].dealer, dealers[i]) << i;
        EXPECT_EQ(r[I(i)].honba, i) << i;  // a dealer's repeat or a draw: one more each time
    }
    ASSERT_EQ(r[2].end, HandEnd::Tsumo);
    EXPECT_TRUE(r[2].winners.at(0).situation.tenhou);
    EXPECT_FALSE(r[2].winners.at(0).situation.chiihou);
}

TEST(GameTest, ANonDealerWinResetsHonbaAndPaysThemWithTheSticks) {
    Rules rules;
    Game g(rules, 1, 0, [](int index, const HandSetup& s) {
        Layout l;
        l.dealer = s.dealer;
        l.hands = kQuiet;
        if (index == 0) l.hands[0] = kDealerReady;  // seat 0 riichi, ready: keeps the deal
        if (index == 1) {
            l.hands[1] = kDealerReady;  // seat 1 draws its 8m first
            l.draws = {"9m", "8m"};
        }
        return MakeWall(l);
    });
    // Hand 0: seat 0 declares riichi; hand 1: seat 1 wins on its first draw.
    auto decider = [&g](const SeatView& v) {
        return g.HandIndex() == 0 && v.seat == 0 ? Reacher(v) : Winner(v);
    };
    while (g.HandIndex() < 2 && !g.Over()) {
        Hand& h = g.Current();
        while (!h.Over()) {
            int seat = h.PendingSeats().front();
            ASSERT_TRUE(h.Apply(seat, decider(h.View(seat))));
        }
        g.NextHand();
    }
    const auto& r = g.Results();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(r[0].riichi[0]);
    EXPECT_EQ(r[0].sticksAfter, 1);
    EXPECT_EQ(r[0].scoreDelta, (std::array<int, 4>{2000, -1000, -1000, -1000}));
    ASSERT_EQ(r[1].end, HandEnd::Tsumo);
    EXPECT_TRUE(r[1].winners.at(0).situation.chiihou);
    EXPECT_EQ(r[1].honba, 1);
    EXPECT_EQ(r[1].sticksBefore, 1);
    const Score& s = r[1].winners.at(0).score;
    int payments = Payment(s.basePoints, false, Payer::Dealer, 1) +
                   2 * Payment(s.basePoints, false, Payer::NonDealer, 1);
    EXPECT_EQ(r[1].scoreDelta[1], payments + 1000);
    EXPECT_EQ(r[1].tsumoPoints[1], payments);
    EXPECT_EQ(r[1].sticksAfter, 0);
    EXPECT_EQ(g.Current().Setup().honba, 0);
    EXPECT_EQ(g.Current().Setup().dealer, 1);
}

TEST(GameTest, ADealerWinInTheLastHandPlaysOn) {
    Rules rules;
    Game g = ScriptedGame(rules, 0, [](int index, const HandSetup& s) {
        return index == 3 ? With(s.dealer, kComplete) : kQuiet;
    });
    Play(g, Winner);
    const auto& r = g.Results();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[3].end, HandEnd::Tsumo);
    EXPECT_EQ(r[4].dealer, 3);
    EXPECT_EQ(r[4].honba, 4);
    EXPECT_EQ(g.Totals()[3].place, 1);
}

TEST(GameTest, LeftoverSticksGoToTheTopAndUmaIsAdded) {
    Rules rules;
    Game g = ScriptedGame(rules, 0, [](int index, const HandSetup&) {
        return index == 3 ? With(0, kDealerReady) : kQuiet;  // seat 0 ready in the last hand
    });
    g.PlayOut({Reacher, Passive, Passive, Passive});
    ASSERT_TRUE(g.Over());
    ASSERT_EQ(g.Results().size(), 4u);
    EXPECT_EQ(g.LeftoverSticks(), 1);
    const auto& t = g.Totals();
    EXPECT_EQ(t[0].finalScore, 28000);  // 25000 - 1000 + 3000 + the stick
    EXPECT_EQ(t[0].place, 1);
    EXPECT_EQ(t[1].finalScore, 24000);
    EXPECT_EQ(t[1].place, 2);
    EXPECT_EQ(t[3].place, 4);
    // (24000 - 25000) / 1000 = -1, plus 10, -10, -20; the top takes the rest.
    EXPECT_EQ(t[1].points, 9);
    EXPECT_EQ(t[2].points, -11);
    EXPECT_EQ(t[3].points, -21);
    EXPECT_EQ(t[0].points, 23);
    EXPECT_EQ(t[0].reaches, 1);
}

TEST(GameTest, AScoreBelowZeroEndsTheGameUnlessTheRulesSayOtherwise) {
    Rules rules;
    rules.startPoint = 1000;
    rules.uma = Uma::None;
    auto plan = [](int index, const HandSetup&) {
        std::array<std::string, 4> hands = kQuiet;
        if (index == 0) hands = {kDealerReady, kSecondReady, kThirdReady, kNotReady};
        return hands;
    };
    Game g = ScriptedGame(rules, 0, plan);
    Play(g, Passive);
    ASSERT_TRUE(g.Over());
    EXPECT_TRUE(g.BustOut());
    ASSERT_EQ(g.Results().size(), 1u);
    EXPECT_EQ(g.Totals()[3].finalScore, -2000);
    // Below zero counts as zero: (0 - 1000) / 1000 = -1; the top takes what
    // is left of the others' points, so the unpaid debt comes out of it.
    EXPECT_EQ(g.Totals()[3].points, -1);
    EXPECT_EQ(g.Totals()[1].points, 1);
    EXPECT_EQ(g.Totals()[2].points, 1);
    EXPECT_EQ(g.Totals()[0].points, -1);

    rules.noBustOut = true;
    rules.under = true;
    Game g2 = ScriptedGame(rules, 0, plan);
    Play(g2, Passive);
    EXPECT_FALSE(g2.BustOut());
    EXPECT_EQ(g2.Results().size(), 5u);  // the dealer was ready in hand 0
    EXPECT_EQ(g2.Totals()[3].finalScore, -2000);
    EXPECT_EQ(g2.Totals()[3].points, -3);  // with "under" the score counts as it is
    EXPECT_EQ(g2.Totals()[0].points, 1);
}

TEST(GameTest, AbortiveDrawsKeepTheDealAndTheGameStillEnds) {
    Rules rules;
    Game g =
        ScriptedGame(rules, 0, [](int, const HandSetup& s) { return With(s.dealer, "19m19p19s1234567z"); });
    Play(g, Aborter);
    ASSERT_TRUE(g.Over());
    EXPECT_EQ(static_cast<int>(g.Results().size()), Game::kMaxHands);
    for (const HandResult& r : g.Results()) {
        EXPECT_EQ(r.end, HandEnd::NineTerminals);
        EXPECT_EQ(r.dealer, 0);
    }
    EXPECT_EQ(g.Results().back().honba, Game::kMaxHands - 1);
}

TEST(GameTest, UmaTablesFollowTheRulesWord) {
    EXPECT_EQ(UmaForPlaces(Uma::FiveTen, 2), (std::array<int, 4>{10, 5, -5, -10}));
    EXPECT_EQ(UmaForPlaces(Uma::TenThirty, 0), (std::array<int, 4>{30, 10, -10, -30}));
    EXPECT_EQ(UmaForPlaces(Uma::None, 2), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(UmaForPlaces(Uma::SevenFiveThree, 1), (std::array<int, 4>{3, 2, 2, -7}));
    EXPECT_EQ(UmaForPlaces(Uma::SevenFiveThree, 2), (std::array<int, 4>{5, 5, -5, -5}));
    EXPECT_EQ(UmaForPlaces(Uma::SevenFiveThree, 3), (std::array<int, 4>{9, -3, -3, -3}));
    EXPECT_EQ(UmaForPlaces(Uma::Under, 1), (std::array<int, 4>{2, 2, 2, -6}));
    EXPECT_EQ(UmaForPlaces(Uma::Under, 4), (std::array<int, 4>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace zv::riichi
