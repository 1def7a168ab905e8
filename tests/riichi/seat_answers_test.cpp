// How the table takes a seat's answer, and the computer seats' share of the
// asking loop.
#include "riichi/seat_answers.h"

#include "riichi/game.h"

#include <gtest/gtest.h>

#include <vector>

namespace zv::riichi {
namespace {

const Action kPon{ActionType::Pon, -1, {-1, -1}};

TEST(SeatAnswersTest, AnAnswerNotAllowedBecomesTheLastLegalAction) {
    Game game(Rules{}, 7);
    Hand& hand = game.Current();
    int dealer = hand.PendingSeats().front();
    Action last = hand.LegalActions(dealer).back();
    EXPECT_EQ(LegalAnswer(hand, dealer, kPon), last);
    Action first = hand.LegalActions(dealer).front();
    EXPECT_EQ(LegalAnswer(hand, dealer, first), first);

    int other = (dealer + 1) % 4;
    EXPECT_EQ(LegalAnswer(hand, other, kPon), Action{});
    EXPECT_FALSE(ApplyAnswer(hand, other, kPon));  // nothing to decide, nothing applied
    EXPECT_EQ(hand.PendingSeats(), std::vector<int>{dealer});

    ASSERT_TRUE(ApplyAnswer(hand, dealer, kPon));
    SeatView view = hand.View(dealer);
    const auto& river = view.rivers[static_cast<std::size_t>(dealer)];
    ASSERT_EQ(river.size(), 1u);
    EXPECT_EQ(river.back().tile, last.tile);
}

TEST(SeatAnswersTest, ComputerSeatsPlayAndAskedSeatsWait) {
    Game game(Rules{}, 7);
    Hand& hand = game.Current();
    int dealer = hand.PendingSeats().front();
    std::vector<int> decided;
    auto decide = [&](int seat, const SeatView& view) {
        decided.push_back(seat);
        EXPECT_EQ(view.seat, seat);
        return kPon;  // never allowed here: each falls back to the last legal action
    };
    auto askDealer = [&](int seat) { return seat == dealer; };
    EXPECT_FALSE(PlayComputerSeat(hand, askDealer, decide));
    EXPECT_TRUE(decided.empty());

    // Everyone a computer: the hand plays out one answer at a time.
    int steps = 0;
    while (PlayComputerSeat(
        hand, [](int) { return false; }, decide))
        ++steps;
    EXPECT_TRUE(hand.Over());
    EXPECT_EQ(static_cast<std::size_t>(steps), decided.size());
    EXPECT_EQ(decided.front(), dealer);
    EXPECT_FALSE(PlayComputerSeat(
        hand, [](int) { return false; }, decide));
}

TEST(SeatAnswersTest, TheNextComputerSeatIsFoundByAskingThePendingSeatsInTurn) {
    Game game(Rules{}, 7);
    auto none = [](int) { return false; };
    auto decide = [](int, const SeatView& view) { return view.legal.back(); };
    // Play on to a claim window where several seats decide.
    while (game.Current().PendingSeats().size() < 2) {
        if (!PlayComputerSeat(game.Current(), none, decide)) {
            ASSERT_TRUE(game.NextHand()) << "the seed gives no window with two claimants";
        }
    }
    Hand& hand = game.Current();
    std::vector<int> pending = hand.PendingSeats();

    std::vector<int> consulted;
    auto noneWaits = [&](int seat) {
        consulted.push_back(seat);
        return false;
    };
    EXPECT_EQ(NextComputerSeat(hand, noneWaits), pending[0]);
    // The seats after the one found are not asked yet.
    EXPECT_EQ(consulted, std::vector<int>{pending[0]});

    consulted.clear();
    auto firstWaits = [&](int seat) {
        consulted.push_back(seat);
        return seat == pending[0];
    };
    EXPECT_EQ(NextComputerSeat(hand, firstWaits), pending[1]);
    EXPECT_EQ(consulted, (std::vector<int>{pending[0], pending[1]}));

    consulted.clear();
    auto allWait = [&](int seat) {
        consulted.push_back(seat);
        return true;
    };
    EXPECT_EQ(NextComputerSeat(hand, allWait), -1);
    EXPECT_EQ(consulted, pending);

    while (PlayComputerSeat(hand, none, decide)) {
    }
    ASSERT_TRUE(hand.Over());
    consulted.clear();
    EXPECT_EQ(NextComputerSeat(hand, allWait), -1);
    EXPECT_TRUE(consulted.empty());
}

}  // namespace
}  // namespace zv::riichi
