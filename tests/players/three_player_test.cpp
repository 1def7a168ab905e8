// The computer players in the three-player game: hand-made positions (norths
// set aside or kept, the smaller tile set in acceptance and dora) and whole
// seeded games of every shipped character.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "players/hand_reading.h"
#include "players/player.h"
#include "riichi/game.h"
#include "riichi/shanten.h"
#include "riichi/table.h"
#include "zvarena/arena.h"

namespace zv::players {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::SeatView;
using riichi::TileId;

std::vector<TileId> Tiles(const std::string& text) {
    std::vector<TileId> tiles;
    std::string error;
    EXPECT_TRUE(riichi::ParseTiles(text, tiles, error)) << error;
    return tiles;
}

// Seat 0 of a three-player east round, seat 1 the dealer.
SeatView ThreePlayerView(const std::string& concealed, const std::string& indicator) {
    SeatView v;
    v.players = 3;
    v.rules = riichi::ThreePlayerRules(v.rules);
    v.seat = 0;
    v.dealer = 1;
    v.seatWind = riichi::kWest;
    v.concealed = Tiles(concealed);
    v.doraIndicators = Tiles(indicator);
    v.liveTiles = 40;
    v.scores = {35000, 35000, 35000, 0};
    v.concealedCount = {13, 13, 13, 0};
    return v;
}

// Seat 0's turn after drawing `drawn`: every tile may go, and a north held
// may be set aside.
void OwnTurn(SeatView& v, const std::string& drawn) {
    v.phase = riichi::Phase::Turn;
    v.turn = 0;
    std::vector<TileId> all = v.concealed;
    for (TileId t : Tiles(drawn)) {
        // A copy the hand does not hold yet.
        while (std::find(all.begin(), all.end(), t) != all.end()) ++t;
        v.drawn = t;
    }
    all.push_back(v.drawn);
    for (TileId t : all) v.legal.push_back({ActionType::Discard, t, {-1, -1}});
    for (TileId t : all)
        if (riichi::KindOf(t) == riichi::kNorth) {
            v.legal.push_back({ActionType::North, t, {-1, -1}});
            break;
        }
}

std::unique_ptr<Player> DefaultCharacter() { return MakeCharacterPlayer(Weights{}, 5); }

TEST(ThreePlayerDecisions, ALoneNorthIsSetAside) {
    SeatView v = ThreePlayerView("19m123p456p78s2355z", "1p");
    OwnTurn(v, "4z");
    EXPECT_EQ(DefaultCharacter()->Decide(v).type, ActionType::North);
    EXPECT_EQ(MakeEfficiencyPlayer()->Decide(v).type, ActionType::North);
}

TEST(ThreePlayerDecisions, ANorthPairHeadingAReadyHandIsKept) {
    // Keeping both norths and letting 9m go leaves 123p 456p 789s 44z 13s
    // waiting on 2s; one north set aside would leave the hand a step back.
    SeatView v = ThreePlayerView("123p456p789s13s44z", "1p");
    OwnTurn(v, "9m");
    for (auto* make : {&DefaultCharacter, &MakeEfficiencyPlayer}) {
        Action a = (*make)()->Decide(v);
        EXPECT_EQ(a.type, ActionType::Discard);
        EXPECT_EQ(riichi::KindOf(a.tile), 8) << riichi::ActionText(a);
    }
}

TEST(ThreePlayerDecisions, NorthsAreKeptOnlyWhereTheyMakeTheHand) {
    auto aside = [](const std::string& hand) {
        Counts counts = riichi::CountKinds(Tiles(hand));
        return SetNorthAside(counts, 0);
    };
    EXPECT_TRUE(aside("19m123p456p78s2355z4z"));  // a lone north
    EXPECT_FALSE(aside("9m123p456p789s13s44z"));  // the head of a ready hand
    EXPECT_FALSE(aside("9m123p456p78s55s444z"));  // a triplet of a ready hand
    EXPECT_TRUE(aside("19m19p19s1234567z44z"));   // a pair far from ready: one more dora
    EXPECT_TRUE(aside("19m19p1s13566z444z4z"));   // the fourth north: the triplet stays
    EXPECT_FALSE(aside("19m123p456p78s23555z"));  // no north at all
}

TEST(ThreePlayerReading, TwoToEightOfCharactersAreNeverInTheWall) {
    // 1m 9m alone beside three sets and a pair: with four players 2m 3m 7m
    // 8m also make the hand ready (16 tiles); with three they do not exist.
    SeatView three = ThreePlayerView("19m345p678p234s55s", "7z");
    SeatView four = three;
    four.players = 4;
    four.rules = riichi::Rules{};
    auto seen3 = VisibleCounts(three);
    auto seen4 = VisibleCounts(four);
    for (riichi::Kind k = 1; k <= 7; ++k) EXPECT_EQ(seen3[Ix(k)], 4) << k;
    EXPECT_EQ(seen3[0], 1);
    Counts counts = OwnCounts(three);
    int shanten = riichi::Shanten(counts, 0);
    ASSERT_EQ(shanten, 1);
    EXPECT_EQ(Acceptance(counts, 0, shanten, seen4) - Acceptance(counts, 0, shanten, seen3), 16);
}

TEST(ThreePlayerReading, DoraFollowTheSmallerSet) {
    SeatView v = ThreePlayerView("19m123p456p78s2355z", "1m");
    v.north[0] = Tiles("4z");
    EXPECT_EQ(DoraValue(v, Tiles("9m")[0]), 1);  // 1m points at 9m
    EXPECT_EQ(DoraValue(v, Tiles("2m")[0]), 0);
    EXPECT_EQ(DoraValue(v, Tiles("4z")[0]), 1);  // a north is set aside as a dora
    EXPECT_EQ(VisibleCounts(v)[riichi::kNorth], 1);
    SeatView four = v;
    four.players = 4;
    four.north[0].clear();
    EXPECT_EQ(DoraValue(four, Tiles("2m")[0]), 1);
    EXPECT_EQ(DoraValue(four, Tiles("4z")[0]), 0);
}

TEST(ThreePlayerReading, TheEmptySeatIsNoThreat) {
    SeatView v = ThreePlayerView("19m123p456p78s2355z", "1p");
    OwnTurn(v, "4z");
    auto visible = VisibleCounts(v);
    EXPECT_EQ(ReadDanger(v, visible).threat, 0.0f);
    v.rivers[1].push_back({Tiles("6p")[0], true, false, false});
    v.riichi[1] = true;
    Danger danger = ReadDanger(v, visible);
    EXPECT_EQ(danger.seatThreat[1], 1.0f);
    EXPECT_EQ(danger.seatThreat[3], 0.0f);
    EXPECT_EQ(danger.kind[Ix(riichi::KindOf(Tiles("6p")[0]))], 0.0f);  // its own discard
}

// Whole games: every shipped character at a three-player table, every
// answer checked against the legal actions.
TEST(ThreePlayerGames, EveryShippedCharacterFinishesSaneGames) {
    std::vector<Weights> cast;
    for (const char* name : {"_default", "_min", "_todo", "_wizard"}) {
        arena::Entrant e;
        std::string error;
        ASSERT_TRUE(arena::LoadEntrant(ZV_SOURCE_DIR "data/", name, e, error)) << error;
        cast.push_back(e.weights);
    }

    riichi::Rules rules = riichi::ThreePlayerRules(riichi::Rules{});
    constexpr int kGames = 300;
    int hands = 0, norths = 0, refused = 0;
    for (int g = 0; g < kGames; ++g) {
        std::uint64_t seed = 900 + static_cast<std::uint64_t>(g);
        std::array<std::unique_ptr<Player>, 4> players;
        std::array<riichi::Game::Decider, 4> deciders;
        for (int s = 0; s < 4; ++s) {
            std::size_t pick = Ix((g + s) % static_cast<int>(cast.size() + 1));
            players[Ix(s)] = pick < cast.size() ? MakeCharacterPlayer(cast[pick], SeatSeed(seed, s))
                                                : MakeEfficiencyPlayer();
            deciders[Ix(s)] = [&, s](const SeatView& view) {
                EXPECT_NE(s, 3) << "the empty seat was asked";
                Action a = players[Ix(s)]->Decide(view);
                if (std::find(view.legal.begin(), view.legal.end(), a) == view.legal.end()) ++refused;
                return a;
            };
        }
        rules.eastOnly = g % 2 == 0;
        riichi::Game game(rules, seed);
        game.PlayOut(deciders);
        ASSERT_TRUE(game.Over()) << "game " << g;
        const auto& totals = game.Totals();
        std::array<bool, 4> placed{};
        int sum = 0, points = 0;
        for (int s = 0; s < 3; ++s) {
            const auto& t = totals[Ix(s)];
            ASSERT_GE(t.place, 1) << "game " << g;
            ASSERT_LE(t.place, 3) << "game " << g;
            EXPECT_FALSE(placed[Ix(t.place)]) << "game " << g;
            placed[Ix(t.place)] = true;
            sum += t.finalScore;
            points += t.points;
        }
        EXPECT_EQ(totals[3].place, 0);
        EXPECT_EQ(totals[3].finalScore, 0);
        EXPECT_EQ(sum, 3 * rules.startPoint) << "game " << g;
        EXPECT_EQ(points, 0) << "game " << g;
        for (const riichi::HandResult& r : game.Results()) {
            ++hands;
            for (const auto& a : r.actions) {
                EXPECT_NE(a.action.type, ActionType::Chi);
                norths += a.action.type == ActionType::North ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(refused, 0);
    EXPECT_GT(hands, kGames * 4);
    EXPECT_GT(norths, hands);  // about one north per hand and seat is dealt or drawn
}

}  // namespace
}  // namespace zv::players
