// The character player's decisions in hand-made positions, and the figures
// it decides from: chance to win, when to fold, how good a hand's waits will
// be, where the game's last hand stands and how dangerous a tile is.
#include <gtest/gtest.h>

#include <string>

#include "players/hand_reading.h"
#include "players/hand_shape.h"
#include "players/hand_value.h"
#include "players/player.h"
#include "riichi/shanten.h"
#include "riichi/table.h"

namespace zv::players {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::Kind;
using riichi::SeatView;
using riichi::TileId;

// Hands out physical tiles so that the hand, the rivers and the indicators
// of one position never share a copy.
class TileBox {
public:
    std::vector<TileId> Take(const std::string& text) {
        std::vector<TileId> parsed;
        std::string error;
        EXPECT_TRUE(riichi::ParseTiles(text, parsed, error)) << error;
        std::vector<TileId> out;
        for (TileId t : parsed) {
            TileId id = riichi::FreeCopy(riichi::KindOf(t), riichi::IsRedFive(t), used_);
            EXPECT_GE(id, 0) << text;
            used_[static_cast<std::size_t>(id)] = true;
            out.push_back(id);
        }
        return out;
    }
    TileId One(const std::string& text) { return Take(text).front(); }

private:
    std::array<bool, riichi::kTiles> used_{};
};

// Seat 0 in the east round, seat 1 the dealer (seat 0's wind is north).
SeatView BaseView(TileBox& box, const std::string& concealed, const std::string& indicator) {
    SeatView v;
    v.seat = 0;
    v.dealer = 1;
    v.roundWind = riichi::kEast;
    v.seatWind = riichi::kNorth;
    v.concealed = box.Take(concealed);
    std::sort(v.concealed.begin(), v.concealed.end());
    v.doraIndicators = box.Take(indicator);
    v.liveTiles = 50;
    v.scores = {25000, 25000, 25000, 25000};
    for (int s = 0; s < 4; ++s) v.concealedCount[static_cast<std::size_t>(s)] = 13;
    return v;
}

void SetRiver(SeatView& v, TileBox& box, int seat, const std::string& tiles, bool riichiOnLast) {
    auto& river = v.rivers[static_cast<std::size_t>(seat)];
    for (TileId t : box.Take(tiles)) river.push_back({t, false, false, false});
    if (riichiOnLast) {
        river.back().riichi = true;
        v.riichi[static_cast<std::size_t>(seat)] = true;
    }
}

// Seat 0 to discard after drawing `drawn`: every tile may go, and riichi
// with every tile that leaves the closed hand ready.
void OwnTurn(SeatView& v, TileBox& box, const std::string& drawn) {
    v.phase = riichi::Phase::Turn;
    v.turn = 0;
    v.drawn = box.One(drawn);
    std::vector<TileId> all = v.concealed;
    all.push_back(v.drawn);
    for (TileId t : all) {
        v.legal.push_back({ActionType::Discard, t, {-1, -1}});
        riichi::Counts c = riichi::CountKinds(all);
        c[static_cast<std::size_t>(riichi::KindOf(t))] -= 1;
        if (riichi::Shanten(c, 0) == 0) v.legal.push_back({ActionType::Riichi, t, {-1, -1}});
    }
}

Kind KindOfText(const char* text) { return riichi::ParseKind(text); }

Weights Wizard() {
    Weights w;
    w.yaku = 1000, w.chitoi = 500, w.kokushi = 1000, w.toitoi = 500, w.tanyao = 500, w.kyusyu = 300;
    w.random = 0, w.dora = 250, w.color = 100, w.suji = 0, w.zone = 200, w.number = 200, w.deep = 800;
    w.reach = 1000, w.kan = 100, w.pon = 250, w.tie = 250, w.yomi = 700, w.tsuyoki = 300;
    return w;
}

// Both the maker's defaults and the all-rounder, over several seeds.
template <typename Check>
void ForCharacters(const SeatView& view, Check check) {
    for (const Weights& w : {Weights{}, Wizard()})
        for (std::uint64_t seed = 1; seed <= 6; ++seed) check(MakeCharacterPlayer(w, seed)->Decide(view));
}

TEST(Decisions, FoldsACheapOneShantenHandAgainstTheDealersRiichi) {
    // 234m 678m 34p 67s 99s 2z and an isolated 8p: one step from ready, no
    // dora, no yaku but riichi. The dealer has declared; 3m and 7m are in
    // its river, the only tiles certain to be safe.
    TileBox box;
    SeatView v = BaseView(box, "234678m34p6799s2z", "5z");
    SetRiver(v, box, 1, "1z9p7m1s3m", true);
    SetRiver(v, box, 2, "9m4z1p", false);
    SetRiver(v, box, 3, "1p9s6z", false);
    SetRiver(v, box, 0, "1z8s5z", false);
    OwnTurn(v, box, "8p");
    ForCharacters(v, [](const Action& a) {
        Kind k = riichi::KindOf(a.tile);
        EXPECT_TRUE(k == KindOfText("3m") || k == KindOfText("7m")) << riichi::ActionText(a);
    });
    // The quick baseline gives up a hand not yet ready the same way.
    Kind quick = riichi::KindOf(MakeQuickPlayer()->Decide(v).tile);
    EXPECT_TRUE(quick == KindOfText("3m") || quick == KindOfText("7m"));
}

// Seat `seat` has called a pon of each of `kinds` (as "6z8s") from the
// seat after it; its concealed tiles shrink to match.
void GivePons(SeatView& v, TileBox& box, int seat, const std::string& kinds) {
    for (std::size_t i = 0; i + 1 < kinds.size(); i += 2) {
        std::string k = kinds.substr(i, 2);
        std::vector<TileId> tiles = box.Take(std::string(3, k[0]) + k[1]);
        riichi::Meld m;
        m.tiles = {tiles[0], tiles[1], tiles[2], -1};
        m.called = tiles[0];
        m.from = (seat + 1) % 4;
        v.melds[static_cast<std::size_t>(seat)].push_back(m);
        v.concealedCount[static_cast<std::size_t>(seat)] -= 3;
    }
}

// Seat 2 discards a red dragon; seat 0, holding a pair of them, may pon
// it or pass.
void OfferRedDragonPon(SeatView& v, TileBox& box) {
    TileId chun = box.One("7z");
    v.rivers[2].push_back({chun, false, false, false});
    v.phase = riichi::Phase::Claims;
    v.turn = 2;
    v.claimTile = chun;
    std::vector<TileId> pair;
    for (TileId t : v.concealed)
        if (riichi::KindOf(t) == KindOfText("7z")) pair.push_back(t);
    ASSERT_EQ(pair.size(), 2u);
    v.legal = {{ActionType::Pon, chun, {pair[0], pair[1]}}, {ActionType::Pass, -1, {-1, -1}}};
}

TEST(Decisions, TwoCallsOfTheDealerAreNoReasonToGiveUpButFourLateAre) {
    // 789m 34m 46p 55s 77z 1s 9p, two steps from ready, is offered the third
    // red dragon. The dealer has called the green dragon and 8s: a hand of
    // two calls is seldom ready yet, so the pon that gives the yaku is
    // still taken. With four calls and ten draws left the dealer is all but
    // surely ready: the hand gives way.
    for (int live : {50, 10}) {
        TileBox box;
        SeatView v = BaseView(box, "34789m469p155s77z", "4z");
        v.liveTiles = live;
        SetRiver(v, box, 1, "1z9p2m1p3m", false);
        SetRiver(v, box, 3, "2z8p", false);
        SetRiver(v, box, 0, "3z1p", false);
        GivePons(v, box, 1, live > 20 ? "6z8s" : "6z8s1m2p");
        OfferRedDragonPon(v, box);
        ActionType expected = live > 20 ? ActionType::Pon : ActionType::Pass;
        ForCharacters(v, [&](const Action& a) { EXPECT_EQ(a.type, expected) << live; });
    }
}

TEST(Decisions, PushesAReadyManganAgainstARiichi) {
    // 234m 0p67p 4s0s6s 33s 67s, dora 3m: all simples, pinfu and three dora
    // waiting on 5s-8s. The drawn 8m is unsafe against the dealer's riichi;
    // the only safe tile in hand, 3s, would break the hand.
    TileBox box;
    SeatView v = BaseView(box, "234m067p3340s6s67s", "2m");
    SetRiver(v, box, 1, "9m1p4z6z3s", true);
    SetRiver(v, box, 2, "1z9p2z", false);
    SetRiver(v, box, 3, "1s9s7z", false);
    SetRiver(v, box, 0, "1m5z9p", false);
    OwnTurn(v, box, "8m");
    ForCharacters(v, [](const Action& a) {
        EXPECT_TRUE(a.type == ActionType::Discard || a.type == ActionType::Riichi);
        EXPECT_EQ(riichi::KindOf(a.tile), KindOfText("8m")) << riichi::ActionText(a);
    });
}

TEST(Decisions, RiichiWhereItMakesTheHandAndQuietWithAHaneman) {
    // 123m 46m 456p 789s 99p waits on the 5m closed wait with no yaku: only
    // riichi lets it win on a discard.
    {
        TileBox box;
        SeatView v = BaseView(box, "12346m456p99p789s", "5z");
        SetRiver(v, box, 1, "1z9m", false);
        OwnTurn(v, box, "8p");
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            Action a = MakeCharacterPlayer(Weights{}, seed)->Decide(v);
            EXPECT_EQ(a.type, ActionType::Riichi);
            EXPECT_EQ(riichi::KindOf(a.tile), KindOfText("8p"));
        }
    }
    // The ready mangan of above with the 3s pair as dora too: all simples,
    // pinfu and five dora. The maker's defaults stay quiet.
    {
        TileBox box;
        SeatView v = BaseView(box, "234m067p3340s6s67s", "2m2s");
        SetRiver(v, box, 1, "1z9m", false);
        OwnTurn(v, box, "8m");
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            Action a = MakeCharacterPlayer(Weights{}, seed)->Decide(v);
            EXPECT_EQ(a.type, ActionType::Discard);
            EXPECT_EQ(riichi::KindOf(a.tile), KindOfText("8m"));
        }
    }
}

TEST(Decisions, TakesTheValueHonourPonThatGivesTheOnlyYaku) {
    // 789m 13m 46p 55s 77z 1s 9p: two steps from ready and no yaku but the
    // red dragon pair. Seat 2 discards the third red dragon.
    TileBox box;
    SeatView v = BaseView(box, "13789m469p155s77z", "4z");
    SetRiver(v, box, 1, "1z9s", false);
    SetRiver(v, box, 3, "2z8p", false);
    SetRiver(v, box, 0, "3z1p", false);
    OfferRedDragonPon(v, box);
    ForCharacters(v, [](const Action& a) { EXPECT_EQ(a.type, ActionType::Pon); });
    EXPECT_EQ(MakeQuickPlayer()->Decide(v).type, ActionType::Pon);

    // A character that never calls still lets it go.
    Weights quiet;
    quiet.pon = 0;
    EXPECT_EQ(MakeCharacterPlayer(quiet, 1)->Decide(v).type, ActionType::Pass);
}

// Seat 3 (the seat before seat 0) has discarded `tile`; seat 0 may chi it
// with the two tiles of `with` or pass.
void OfferChi(SeatView& v, TileBox& box, const std::string& tile, const std::string& with) {
    TileId called = box.One(tile);
    v.rivers[3].push_back({called, false, false, false});
    v.phase = riichi::Phase::Claims;
    v.turn = 3;
    v.claimTile = called;
    // `with` is two numbers and a suit, as "34p".
    std::array<TileId, 2> own{-1, -1};
    for (std::size_t i = 0; i < 2; ++i) {
        Kind k = KindOfText((with.substr(i, 1) + with.substr(2)).c_str());
        auto it = std::find_if(v.concealed.begin(), v.concealed.end(),
                               [k](TileId t) { return riichi::KindOf(t) == k; });
        ASSERT_NE(it, v.concealed.end()) << with;
        own[i] = *it;
    }
    v.legal = {{ActionType::Chi, called, {own[0], own[1]}}, {ActionType::Pass, -1, {-1, -1}}};
}

// Seat 0 holding `hand` with no threat on the table, offered a chi of
// `tile` with `with`: what every character decides.
template <typename Check>
void ForQuietChiOffer(const std::string& hand, const std::string& indicator, const std::string& tile,
                      const std::string& with, Check check) {
    TileBox box;
    SeatView v = BaseView(box, hand, indicator);
    SetRiver(v, box, 1, "1z9s", false);
    SetRiver(v, box, 2, "2z8p", false);
    SetRiver(v, box, 0, "3z1p", false);
    OfferChi(v, box, tile, with);
    ForCharacters(v, check);
}

TEST(Decisions, AChiIsJudgedByTheSpeedAndValueItBrings) {
    // 0m67m 34p 22s 456s 79s: one step from ready, all simples with a red
    // five, a riichi and a two-sided wait to come. Calling 2p makes it ready
    // at once, but as a 2000-point hand waiting on the 8s between: it stays
    // closed.
    ForQuietChiOffer("067m34p22456s79s", "1z", "2p", "34p",
                     [](const Action& a) { EXPECT_EQ(a.type, ActionType::Pass); });
    // 0m6m 34p 88p 345s 667s 9m, dora 6m (two with the red five): two steps
    // from ready. Calling 5p for all simples makes it one step from ready
    // with its dora kept: it is taken.
    ForQuietChiOffer("069m3488p345667s", "5m", "5p", "34p",
                     [](const Action& a) { EXPECT_EQ(a.type, ActionType::Chi); });
}

TEST(Decisions, InTheLastDrawsACallThatMakesTheHandReadyIsTakenWithoutAYaku) {
    // 123m 456p 99p 78s 13s 5z, no yaku in sight: calling 2s makes it ready
    // on 6s and 9s, which only pays at the draw. Early on it stays closed;
    // with a handful of draws left the call is taken.
    for (int live : {40, 6}) {
        TileBox box;
        SeatView v = BaseView(box, "123m45699p1378s5z", "1z");
        v.liveTiles = live;
        OfferChi(v, box, "2s", "13s");
        ActionType expected = live > 8 ? ActionType::Pass : ActionType::Chi;
        ForCharacters(v, [&](const Action& a) { EXPECT_EQ(a.type, expected) << live; });
        // The quick baseline calls only for a yaku.
        EXPECT_EQ(MakeQuickPlayer()->Decide(v).type, ActionType::Pass) << live;
    }
}

TEST(HandValue, WinChanceFollowsWaitsStepsAndTheWall) {
    EXPECT_GT(WinChance(0, 8, 50), WinChance(0, 2, 50));
    EXPECT_GT(WinChance(0, 8, 50), WinChance(0, 8, 10));
    EXPECT_GT(WinChance(0, 6, 50), WinChance(1, 20, 50));
    EXPECT_GT(WinChance(1, 20, 50), WinChance(2, 40, 50));
    // Every tile that takes a step counts while draws are left, also for a
    // slow hand in mid-game.
    for (int shanten = 1; shanten <= 3; ++shanten)
        for (int live : {60, 40, 24})
            for (int acc = 4; acc < 40; acc += 4)
                EXPECT_LT(WinChance(shanten, acc, live), WinChance(shanten, acc + 4, live))
                    << shanten << " " << live << " " << acc;
    // A ready hand on six tiles at the ninth turn wins about as often as
    // declared hands do at the table (45 to 47 % in our records), and one
    // step from ready on twenty tiles about half as often.
    EXPECT_NEAR(WinChance(0, 6, 34), 0.45, 0.05);
    EXPECT_NEAR(WinChance(1, 20, 34) / WinChance(0, 6, 34), 0.5, 0.1);
    // Never certain nor hopeless before a win, also with nothing left.
    for (int live : {0, 70})
        for (int acc : {0, 40}) {
            EXPECT_GT(WinChance(3, acc, live), 0.0);
            EXPECT_LT(WinChance(0, acc, live), 1.0);
        }
}

TEST(HandValue, FoldDegreeWeighsTheHandAgainstTheThreat) {
    double dealerRiichi = 7700;
    // A cheap hand one step from ready folds; a ready mangan pushes.
    EXPECT_GE(FoldDegree(WinChance(1, 16, 50), 2000, dealerRiichi, 1.0), 1.0);
    EXPECT_LT(FoldDegree(WinChance(0, 6, 50), 8000, dealerRiichi, 1.0), 1.0);
    // No threat, nothing to give way to; a bolder character gives way less.
    EXPECT_EQ(FoldDegree(0.3, 2000, 0, 1.0), 0.0);
    EXPECT_LT(FoldDegree(0.3, 2000, 5000, 2.0), FoldDegree(0.3, 2000, 5000, 1.0));
}

TEST(HandValue, ReadyQualityPrefersHandsThatEndOnTwoSidedWaits) {
    std::array<std::uint8_t, riichi::kKinds> visible{};
    auto quality = [&](const char* text) {
        TileBox box;
        riichi::Counts c = riichi::CountKinds(box.Take(text));
        return ReadyQuality(c, 0, visible);
    };
    // Two two-sided shapes against one of them and an edge shape.
    EXPECT_GT(quality("23m67p123s456s99s1z"), quality("12m67p123s456s99s1z"));
    EXPECT_GT(quality("23m67p123s456s99s1z"), quality("13m67p123s456s99s1z"));
}

TEST(HandValue, LastHandStandingOnlyInTheLastHand) {
    TileBox box;
    SeatView v = BaseView(box, "123m", "1z");
    v.rules.eastOnly = false;
    v.roundWind = riichi::kSouth;
    v.dealer = 3;  // first dealer 0
    v.scores = {40000, 20000, 20000, 20000};
    EXPECT_EQ(LastHandStanding(v, 0), 1);
    EXPECT_EQ(LastHandStanding(v, -1), 0);
    EXPECT_EQ(LastHandStanding(v, 1), 0);
    v.roundWind = riichi::kEast;
    EXPECT_EQ(LastHandStanding(v, 0), 0);
    v.roundWind = riichi::kSouth;
    v.scores = {10000, 30000, 30000, 30000};
    EXPECT_EQ(LastHandStanding(v, 0), -1);
    v.scores = {30000, 27000, 23000, 20000};
    EXPECT_EQ(LastHandStanding(v, 0), 0);  // leads by less than a mangan
}

TEST(Danger, AWallMakesTheTilesBesideItSafer) {
    TileBox box;
    SeatView v = BaseView(box, "123m", "1z");
    SetRiver(v, box, 2, "1z1z1z9m", true);
    SetRiver(v, box, 1, "6p6p6p6p", false);
    auto danger = ReadDanger(v, VisibleCounts(v));
    Kind p7 = KindOfText("7p"), s7 = KindOfText("7s"), p8 = KindOfText("8p"), s8 = KindOfText("8s");
    EXPECT_LT(danger.kind[static_cast<std::size_t>(p7)], danger.kind[static_cast<std::size_t>(s7)]);
    EXPECT_LT(danger.kind[static_cast<std::size_t>(p8)], danger.kind[static_cast<std::size_t>(s8)]);
    EXPECT_GT(danger.seatThreat[2], 0.0f);
    EXPECT_EQ(danger.seatThreat[1], 0.0f);
}

}  // namespace
}  // namespace zv::players
