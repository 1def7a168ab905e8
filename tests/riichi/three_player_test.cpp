// The three-player game: its wall, the payments of a self-draw with and
// without the absent seat's share, norths set aside as dora, the claim window
// on a north, ready payments among three and the final points with a return
// score. Every amount below is worked out by hand in its comment.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "riichi/game.h"
#include "riichi/score.h"
#include "riichi/table.h"
#include "support/simple_player.h"

namespace zv::riichi {
namespace {

std::size_t I(int i) { return static_cast<std::size_t>(i); }

Rules Sanma(bool tsumoLoss = true) {
    Rules rules = ThreePlayerRules(Rules{});
    rules.tsumoLoss = tsumoLoss;
    return rules;
}

std::vector<TileId> Tiles(std::string_view text) {
    std::vector<TileId> tiles;
    std::string error;
    EXPECT_TRUE(ParseTiles(text, tiles, error)) << text << ": " << error;
    return tiles;
}

// A three-player wall with the given tiles at the given places; the rest of
// the 108 tiles follow in id order. Hands are dealt 13 each from 0 (dealer
// seat 0, then 1 and 2), the dealer draws 39, the others draw 40, 41, ...
Wall MakeWall(const std::map<int, std::string>& placed) {
    std::vector<TileId> order(kThreePlayerTiles, -1);
    std::array<bool, kTiles> used{};
    for (TileId t = 0; t < kTiles; ++t) used[I(t)] = !InThreePlayerSet(KindOf(t));
    for (const auto& [at, text] : placed) {
        int index = at;
        for (TileId t : Tiles(text)) {
            TileId copy = FreeCopy(KindOf(t), IsRedFive(t), used);
            if (copy < 0 && KindOf(t) % 9 == 4) copy = FreeCopy(KindOf(t), true, used);
            EXPECT_GE(copy, 0) << "no copy of " << TileName(t) << " left";
            if (copy < 0) continue;
            used[I(copy)] = true;
            order[I(index++)] = copy;
        }
    }
    TileId next = 0;
    for (TileId& t : order) {
        if (t >= 0) continue;
        while (used[I(next)]) ++next;
        used[I(next)] = true;
        t = next;
    }
    return Wall::ThreePlayer(order);
}

Hand StartHand(const Wall& wall, const Rules& rules) {
    HandSetup setup;
    setup.rules = rules;
    setup.scores = {35000, 35000, 35000, 0};
    return Hand(setup, wall);
}

// Each of the three seats discards its drawn tile and lets every claim pass,
// until `stop` says so or the hand is over.
void PlayTsumogiri(
    Hand& hand, const std::function<bool()>& stop = [] { return false; }) {
    for (int step = 0; step < 500 && !hand.Over() && !stop(); ++step) {
        int seat = hand.PendingSeats().front();
        SeatView v = hand.View(seat);
        Action pass{ActionType::Pass, -1, {-1, -1}};
        Action discard{ActionType::Discard, v.drawn, {-1, -1}};
        ASSERT_TRUE(hand.Apply(seat, v.phase == Phase::Claims ? pass : discard)) << step;
    }
}

TEST(ThreePlayerTest, TheWallHoldsTheHundredAndEightTilesAndEightReplacements) {
    Wall wall(99, true);
    EXPECT_EQ(wall.Size(), 108);
    std::set<TileId> seen(wall.Tiles().begin(), wall.Tiles().begin() + 108);
    EXPECT_EQ(seen.size(), 108u);
    for (TileId t : seen) EXPECT_TRUE(InThreePlayerSet(KindOf(t))) << TileName(t);
    EXPECT_EQ(wall.Tiles()[108], -1);
    // 108 - 14 dead = 94 live tiles; the deal takes 40 of them.
    EXPECT_EQ(wall.LiveRemaining(), 94);
    EXPECT_EQ(wall.DoraIndicators().front(), wall.Tiles()[102]);
    // Four replacements from the dead wall's end, then from the tiles it took
    // back from the live wall's end (93, 92, ...); each shortens the live wall.
    const int expected[] = {107, 106, 105, 104, 93, 92, 91, 90};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(wall.DrawReplacement(), wall.Tiles()[I(expected[i])]) << i;
    EXPECT_EQ(wall.DrawReplacement(), -1);
    EXPECT_EQ(wall.LiveRemaining(), 86);
    // The four-player wall is as it was.
    EXPECT_EQ(Wall(99).Size(), 136);
    EXPECT_EQ(Wall(99).LiveRemaining(), 122);
}

TEST(ThreePlayerTest, OneManIndicatesNineManAndBack) {
    EXPECT_EQ(DoraOf(0, true), 8);  // 1m -> 9m
    EXPECT_EQ(DoraOf(8, true), 0);  // 9m -> 1m
    EXPECT_EQ(DoraOf(0), 1);        // four players: 1m -> 2m
    EXPECT_EQ(DoraOf(9, true), 10);
    EXPECT_EQ(DoraOf(kWest, true), kNorth);
}

TEST(ThreePlayerTest, SelfDrawPaymentsWithAndWithoutTheAbsentShare) {
    struct Row {
        int base;
        bool dealer;
        Payer payer;
        int honba;
        bool loss;
        int pays;
    };
    const Row rows[] = {
        // A non-dealer's 30 fu 3 han: base 960. The dealer pays 1920 -> 2000,
        // the other 960 -> 1000; the absent non-dealer's 1000 is lost ...
        {960, false, Payer::Dealer, 0, true, 2000},
        {960, false, Payer::NonDealer, 0, true, 1000},
        // ... or split: 500 more from each, 2500 and 1500 (4000 in all, as
        // with four players).
        {960, false, Payer::Dealer, 0, false, 2500},
        {960, false, Payer::NonDealer, 0, false, 1500},
        // The dealer's 30 fu 3 han: 2000 from each of two (4000); without the
        // loss the absent 2000 is split: 3000 each (6000, as with four).
        {960, true, Payer::NonDealer, 0, true, 2000},
        {960, true, Payer::NonDealer, 0, false, 3000},
        // A non-dealer's mangan: 4000 and 2000 (6000); split: 5000 and 3000.
        {kManganBase, false, Payer::Dealer, 0, true, 4000},
        {kManganBase, false, Payer::NonDealer, 0, false, 3000},
        // A 20 fu 2 han tsumo (base 320): 700 and 400; split: 400 / 2 = 200
        // more each, 900 and 600.
        {320, false, Payer::Dealer, 0, false, 900},
        {320, false, Payer::NonDealer, 0, false, 600},
        // Two honba: 100 a counter from each payer with the loss, 150 without.
        {960, false, Payer::NonDealer, 2, true, 1200},
        {960, false, Payer::NonDealer, 2, false, 1800},
    };
    for (const Row& r : rows) {
        Rules rules = Sanma(r.loss);
        EXPECT_EQ(TsumoPayment(r.base, r.dealer, r.payer, r.honba, rules), r.pays)
            << r.base << (r.dealer ? " dealer" : " non-dealer") << " honba " << r.honba << " loss " << r.loss;
    }
    // Four players: the ordinary payment whatever the three-player keys say.
    Rules four;
    four.tsumoLoss = false;
    EXPECT_EQ(TsumoPayment(960, false, Payer::NonDealer, 1, four), 1100);
}

TEST(ThreePlayerTest, NorthsSetAsideAreDoraAndCountForTheIndicators) {
    // 234p 567p 789s 23s 99p, won on 4s by ron: riichi and pinfu, 30 fu.
    WinSituation win;
    win.concealed = Tiles("234567p99p789s234s");
    win.winTile = win.concealed.back();
    win.riichi = true;
    win.roundWind = kEast;
    win.seatWind = kSouth;
    win.doraIndicators = Tiles("5s");  // points at 6s: none held
    win.north = Tiles("4z");
    Rules rules = Sanma();
    Score s = ScoreWin(win, rules);
    ASSERT_TRUE(s.won) << s.error;
    // Riichi 1 + pinfu 1 + one north 1 = 3 han 30 fu: a non-dealer's 3900.
    EXPECT_EQ(s.han, 3);
    EXPECT_EQ(s.fu, 30);
    EXPECT_EQ(s.northDora, 1);
    EXPECT_EQ(s.ronPayment, 3900);
    EXPECT_TRUE(
        std::any_of(s.yaku.begin(), s.yaku.end(), [](const YakuScore& y) { return y.name == "抜きドラ"; }));
    // With west as the indicator the north is a dora too: 4 han 30 fu, 7700.
    win.doraIndicators = Tiles("3z");
    s = ScoreWin(win, rules);
    EXPECT_EQ(s.han, 4);
    EXPECT_EQ(s.dora, 1);
    EXPECT_EQ(s.ronPayment, 7700);
    // A 1m indicator makes 9m the dora: a 99m pair instead of 99p is two.
    win.concealed = Tiles("234567p99m789s234s");
    win.winTile = win.concealed.back();
    win.doraIndicators = Tiles("1m");
    win.north.clear();
    s = ScoreWin(win, rules);
    ASSERT_TRUE(s.won) << s.error;
    EXPECT_EQ(s.dora, 2);
    EXPECT_EQ(s.han, 4);
    // Norths alone are no yaku, and 2m..8m are not played.
    win.riichi = false;
    win.concealed = Tiles("234p789p123s789s11z");
    win.winTile = win.concealed.front();
    win.seatWind = kWest;
    win.north = Tiles("4z");
    EXPECT_FALSE(ScoreWin(win, rules).won);  // ron, closed, no yaku but the north
    win.concealed = Tiles("234m789p123s789s11z");
    win.winTile = win.concealed.front();
    s = ScoreWin(win, rules);
    EXPECT_FALSE(s.won);
    EXPECT_EQ(s.error, "2m to 8m are not played with three players");
}

TEST(ThreePlayerTest, ANorthSetAsideMayBeWonOnWithoutTheRobbingYaku) {
    // The dealer (seat 0) holds a north; seat 1 waits on north alone with a
    // closed pure straight in pins.
    Wall wall = MakeWall({{0, "4z"}, {13, "123456789p111s4z"}, {102, "6s"}});
    Hand hand = StartHand(wall, Sanma());
    SeatView v = hand.View(0);
    auto north = std::find_if(v.legal.begin(), v.legal.end(),
                              [](const Action& a) { return a.type == ActionType::North; });
    ASSERT_NE(north, v.legal.end());
    for (const Action& a : v.legal) EXPECT_NE(a.type, ActionType::Chi);
    ASSERT_TRUE(hand.Apply(0, *north));
    EXPECT_EQ(hand.North(0).size(), 1u);
    // Only seat 1 may answer, with a ron or a pass.
    EXPECT_EQ(hand.PendingSeats(), std::vector<int>{1});
    SeatView claim = hand.View(1);
    EXPECT_TRUE(claim.claimIsNorth);
    EXPECT_FALSE(claim.claimIsKan);
    ASSERT_TRUE(hand.Apply(1, {ActionType::Ron, claim.claimTile, {-1, -1}}));
    ASSERT_TRUE(hand.Over());
    const HandResult& r = hand.Result();
    ASSERT_EQ(r.winners.size(), 1u);
    EXPECT_EQ(r.loser, 0);
    // Pure straight 2 han; 20 + 10 closed ron + 8 the concealed 111s + 2 the
    // single wait = 40 fu: a non-dealer's 2600, all from the dealer.
    const Score& s = r.winners[0].score;
    EXPECT_EQ(s.han, 2);
    EXPECT_EQ(s.fu, 40);
    EXPECT_TRUE(
        std::none_of(s.yaku.begin(), s.yaku.end(), [](const YakuScore& y) { return y.name == "槍槓"; }));
    EXPECT_EQ(r.scoreDelta, (std::array<int, 4>{-2600, 2600, 0, 0}));
}

TEST(ThreePlayerTest, NobodyWinningOnTheNorthGivesAReplacementTile) {
    Wall wall = MakeWall({{0, "4z"}, {107, "7z"}});
    Hand hand = StartHand(wall, Sanma());
    TileId north = -1;
    for (const Action& a : hand.View(0).legal)
        if (a.type == ActionType::North) north = a.tile;
    ASSERT_GE(north, 0);
    int live = hand.View(0).liveTiles;
    ASSERT_TRUE(hand.Apply(0, {ActionType::North, north, {-1, -1}}));
    // Nobody waits on a north here: the dealer draws the replacement at once.
    EXPECT_EQ(hand.CurrentPhase(), Phase::Turn);
    EXPECT_EQ(hand.Turn(), 0);
    EXPECT_EQ(KindOf(hand.Drawn()), kRed);
    EXPECT_EQ(hand.View(0).liveTiles, live - 1);
    EXPECT_EQ(hand.CheckTiles(), "");
    // The north is public: every seat sees it set aside.
    EXPECT_EQ(hand.View(2).north[0], std::vector<TileId>{north});
}

TEST(ThreePlayerTest, TheTwoOthersPayASelfDrawAsTheRuleSays) {
    // Seat 1 is ready on 1s-4s with pinfu (234p 567p 789s 23s 99p) and draws
    // 4s on its second turn (draw index 43), out of the first go-around.
    std::map<int, std::string> placed = {{13, "234567p99p789s23s"}, {43, "4s"}, {102, "5s"}};
    for (bool loss : {true, false}) {
        SCOPED_TRACE(loss ? "with the loss" : "without it");
        Hand hand = StartHand(MakeWall(placed), Sanma(loss));
        PlayTsumogiri(hand, [&] {
            return hand.CurrentPhase() == Phase::Turn && hand.Turn() == 1 && KindOf(hand.Drawn()) == 21;
        });
        ASSERT_FALSE(hand.Over());
        ASSERT_TRUE(hand.Apply(1, {ActionType::Tsumo, hand.Drawn(), {-1, -1}}));
        // Menzen tsumo 1 + pinfu 1, 20 fu: base 320. The dealer pays 700, the
        // other 400 (1100); without the loss 200 more each (900 and 600).
        std::array<int, 4> expected =
            loss ? std::array<int, 4>{-700, 1100, -400, 0} : std::array<int, 4>{-900, 1500, -600, 0};
        EXPECT_EQ(hand.Result().scoreDelta, expected);
        EXPECT_EQ(hand.Result().winners[0].score.tsumoDealerPays, -expected[0]);
        EXPECT_EQ(hand.Result().winners[0].score.tsumoOthersPay, -expected[2]);
    }
}

TEST(ThreePlayerTest, ReadyPaymentsShareThreeThousandAmongThree) {
    // The dealer is ready (123p 456p 789p 11s 2s3s waits on 1s/4s); nobody
    // else is: 3000 to the dealer, 1500 from each of the two others.
    Wall wall = MakeWall(
        {{0, "123456789p11s23s"}, {13, "1m9m2p5p8p3s6s9s2z3z6z7z7z"}, {26, "1m9m1p4p7p1s4s7s1z2z3z5z6z"}});
    Hand hand = StartHand(wall, Sanma());
    PlayTsumogiri(hand);
    ASSERT_TRUE(hand.Over());
    const HandResult& r = hand.Result();
    ASSERT_EQ(r.end, HandEnd::Exhaustive);
    EXPECT_EQ(r.ready, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(r.scoreDelta, (std::array<int, 4>{3000, -1500, -1500, 0}));
    EXPECT_EQ(hand.CheckTiles(), "");
}

TEST(ThreePlayerTest, PointsCountFromTheReturnScoreAndTheTopTakesTheDifference) {
    // Uma for three: 10-20 gives +20, 0, -20.
    EXPECT_EQ(UmaForPlaces(Uma::TenTwenty, 0, 3), (std::array<int, 4>{20, 0, -20, 0}));
    EXPECT_EQ(UmaForPlaces(Uma::SevenFiveThree, 1, 3), (std::array<int, 4>{4, 3, -7, 0}));
    Rules rules = Sanma();
    Game game(rules, 4242);
    game.PlayOut({ShantenOnlyDecision, ShantenOnlyDecision, ShantenOnlyDecision, ShantenOnlyDecision});
    ASSERT_TRUE(game.Over());
    int points = 0, scores = 0;
    std::set<int> places;
    for (int seat = 0; seat < 3; ++seat) {
        const SeatTotals& t = game.Totals()[I(seat)];
        points += t.points;
        scores += t.finalScore;
        places.insert(t.place);
        if (t.place > 1) {
            // (score - 40000) / 1000 rounded, plus the uma of the place.
            int diff = t.finalScore - 40000;
            int base = diff >= 0 ? (diff + 500) / 1000 : -((-diff + 499) / 1000);
            EXPECT_EQ(t.points, base + (t.place == 2 ? 0 : -20)) << seat;
        }
    }
    EXPECT_EQ(points, 0);
    EXPECT_EQ(scores, 3 * 35000);
    EXPECT_EQ(places, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(game.Totals()[3].place, 0);
    EXPECT_EQ(game.Scores()[3], 0);
}

}  // namespace
}  // namespace zv::riichi
