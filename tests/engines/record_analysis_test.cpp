// The analyser's review of a player's discards over many replayed games:
// the chosen discard is never better than the best one, the totals add up,
// a tile judged safe against riichi is never won on by a riichi seat, and
// the deal-ins agree with the record.
#include "format/record_analysis.h"

#include <gtest/gtest.h>

#include "riichi/shanten.h"

namespace zv::engine {
namespace {

#ifdef NDEBUG
constexpr int kGames = 40;
#else
constexpr int kGames = 4;
#endif

RecordedGame Recorded(std::uint64_t seed, int pushing) {
    std::array<SeatStyle, 4> styles{};
    for (auto& s : styles) {
        s.style.reach = 1000;
        s.style.tsuyoki = pushing;  // some seats push on against riichi and deal in
        s.style.yomi = 1000 - pushing;
    }
    riichi::Rules rules;
    rules.eastOnly = false;
    std::string text;
    std::array<RecordSeat, 4> seats{{{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}}};
    for (const auto& line : RecordLines(1, "zelvan1", rules, seats, PlayGame(rules, styles, seed)))
        text += line + "\n";
    return ParseRecord(text).games.at(0);
}

TEST(RecordAnalysisTest, ReviewsAgreeWithTheTableAndTheRecord) {
    int reviewed = 0, underRiichi = 0, dealIns = 0, safeSeen = 0;
    for (int i = 0; i < kGames; ++i) {
        RecordedGame game = Recorded(7000 + static_cast<std::uint64_t>(i), i % 2 == 0 ? 1000 : 0);
        GameReplay replay;
        std::string error;
        ASSERT_TRUE(replay.Load(game, error)) << error;
        for (int seat = 0; seat < 4; ++seat) {
            GameReview review = ReviewDiscards(replay, seat);
            ASSERT_EQ(review.hands.size(), game.hands.size());
            ReviewTotals sum;
            for (std::size_t h = 0; h < review.hands.size(); ++h) {
                const HandReview& hand = review.hands[h];
                int discards = 0;
                for (const riichi::LoggedAction& a : game.hands[h].actions)
                    discards += a.seat == seat && (a.action.type == riichi::ActionType::Discard ||
                                                   a.action.type == riichi::ActionType::Riichi);
                ASSERT_EQ(static_cast<int>(hand.discards.size()), discards);
                int handDealIns = 0;
                for (const DiscardReview& d : hand.discards) {
                    ++reviewed;
                    EXPECT_LE(d.bestShanten, d.shantenAfter);
                    if (!d.WentBack()) {
                        EXPECT_GE(d.bestAcceptance, d.acceptance);
                        EXPECT_GE(d.Loss(), 0);
                    }
                    if (d.best == d.tile) {
                        EXPECT_EQ(d.Loss(), 0);
                    }
                    if (d.safe && d.underRiichi) {
                        EXPECT_TRUE(d.safeAtHand);
                    }
                    underRiichi += d.underRiichi;
                    safeSeen += d.underRiichi && d.safe;
                    handDealIns += d.dealtIn;
                    // A tile safe against every riichi is never won on by a
                    // seat in riichi.
                    if (d.dealtIn && d.safe && d.underRiichi) {
                        for (const WinDetail& w : game.hands[h].wins)
                            EXPECT_FALSE(game.hands[h].reached[static_cast<std::size_t>(w.seat)]);
                    }
                }
                // Every ron on this seat's discard is a deal-in of the review
                // (a robbed kan is not a discard).
                const HandRecord& record = game.hands[h];
                bool robbed =
                    !record.actions.empty() && record.actions.size() >= 2 &&
                    (record.actions[record.actions.size() - 2].action.type == riichi::ActionType::AddedKan ||
                     record.actions[record.actions.size() - 2].action.type == riichi::ActionType::ClosedKan);
                if (record.end == HandEnd::Ron && record.loser == seat && !robbed)
                    EXPECT_EQ(handDealIns, 1) << "hand " << h;
                else
                    EXPECT_EQ(handDealIns, 0) << "hand " << h;
                dealIns += handDealIns;
                EXPECT_LE(hand.totals.avoidableDealIns, hand.totals.dealIns);
                EXPECT_LE(hand.totals.best, hand.totals.discards);
                sum.Add(hand.totals);
            }
            EXPECT_EQ(sum.discards, review.totals.discards);
            EXPECT_EQ(sum.acceptanceLost, review.totals.acceptanceLost);
            EXPECT_EQ(sum.dealIns, review.totals.dealIns);
            EXPECT_EQ(sum.unsafeUnderRiichi, review.totals.unsafeUnderRiichi);
        }
    }
    EXPECT_GT(reviewed, 0);
    EXPECT_GT(underRiichi, 0);
    EXPECT_GT(safeSeen, 0);
    EXPECT_GT(dealIns, 0);
}

TEST(RecordAnalysisTest, TheReviewTextSumsUpEveryHandAndTheGame) {
    RecordedGame game = Recorded(12, 500);
    RecordFile record;
    record.games.push_back(game);
    auto lines = ReviewRecord(record, 2);
    int hands = 0, summaries = 0, game_summaries = 0;
    for (const auto& line : lines) {
        hands += line.find("本場") != std::string::npos;
        summaries +=
            line.find("まとめ: 打牌") != std::string::npos && line.find("ゲーム") == std::string::npos;
        game_summaries += line.find("ゲームのまとめ") != std::string::npos;
    }
    EXPECT_EQ(hands, static_cast<int>(game.hands.size()));
    EXPECT_EQ(summaries, hands);
    EXPECT_EQ(game_summaries, 1);
    EXPECT_NE(lines.at(2).find("(席2)"), std::string::npos) << lines.at(2);

    // A record without actions says why it cannot be reviewed.
    for (HandRecord& h : record.games[0].hands) h.actions.clear();
    lines = ReviewRecord(record, 0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[2].find("分析できません"), std::string::npos);
}

}  // namespace
}  // namespace zv::engine
