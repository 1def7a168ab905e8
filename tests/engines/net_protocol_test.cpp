// The network protocol's lines over seeded games: every seat's table, every
// event, every decision and every hand's end read back as they were written;
// and the client lines the server reads, good and bad.
#include "net/net_protocol.h"

#include <gtest/gtest.h>

#include "riichi/game.h"
#include "riichi/random.h"
#include "support/simple_player.h"

namespace zv::engine {
namespace {

using riichi::Action;
using riichi::ActionType;

#ifdef NDEBUG
constexpr std::uint64_t kGames = 60;
#else
constexpr std::uint64_t kGames = 8;
#endif

Action Bold(const riichi::SeatView& v, riichi::Random& r) {
    for (const Action& a : v.legal)
        if (a.type != ActionType::Pass && a.type != ActionType::Discard && r.Chance(350)) return a;
    return riichi::ShantenOnlyDecision(v);
}

void ExpectSameView(const riichi::SeatView& a, const riichi::SeatView& b, const std::string& where) {
    EXPECT_EQ(a.seat, b.seat) << where;
    EXPECT_EQ(a.roundWind, b.roundWind) << where;
    EXPECT_EQ(a.seatWind, b.seatWind) << where;
    EXPECT_EQ(a.dealer, b.dealer) << where;
    EXPECT_EQ(a.honba, b.honba) << where;
    EXPECT_EQ(a.sticks, b.sticks) << where;
    EXPECT_EQ(a.phase, b.phase) << where;
    EXPECT_EQ(a.turn, b.turn) << where;
    EXPECT_EQ(a.concealed, b.concealed) << where;
    EXPECT_EQ(a.drawn, b.drawn) << where;
    for (std::size_t s = 0; s < 4; ++s) {
        ASSERT_EQ(a.melds[s].size(), b.melds[s].size()) << where;
        for (std::size_t m = 0; m < a.melds[s].size(); ++m) {
            EXPECT_EQ(a.melds[s][m].type, b.melds[s][m].type) << where;
            EXPECT_EQ(a.melds[s][m].tiles, b.melds[s][m].tiles) << where;
            EXPECT_EQ(a.melds[s][m].size, b.melds[s][m].size) << where;
            EXPECT_EQ(a.melds[s][m].called, b.melds[s][m].called) << where;
            EXPECT_EQ(a.melds[s][m].from, b.melds[s][m].from) << where;
        }
        ASSERT_EQ(a.rivers[s].size(), b.rivers[s].size()) << where;
        for (std::size_t i = 0; i < a.rivers[s].size(); ++i) {
            EXPECT_EQ(a.rivers[s][i].tile, b.rivers[s][i].tile) << where;
            EXPECT_EQ(a.rivers[s][i].riichi, b.rivers[s][i].riichi) << where;
            EXPECT_EQ(a.rivers[s][i].called, b.rivers[s][i].called) << where;
            EXPECT_EQ(a.rivers[s][i].tsumogiri, b.rivers[s][i].tsumogiri) << where;
        }
    }
    EXPECT_EQ(a.concealedCount, b.concealedCount) << where;
    EXPECT_EQ(a.claimTile, b.claimTile) << where;
    EXPECT_EQ(a.claimIsKan, b.claimIsKan) << where;
    EXPECT_EQ(a.doraIndicators, b.doraIndicators) << where;
    EXPECT_EQ(a.liveTiles, b.liveTiles) << where;
    EXPECT_EQ(a.scores, b.scores) << where;
    EXPECT_EQ(a.riichi, b.riichi) << where;
    EXPECT_EQ(a.ippatsu, b.ippatsu) << where;
    EXPECT_EQ(a.firstGoAround, b.firstGoAround) << where;
    EXPECT_EQ(a.furiten, b.furiten) << where;
    EXPECT_EQ(a.waits, b.waits) << where;
}

void ExpectSameEnd(const riichi::HandResult& a, const riichi::HandResult& b) {
    EXPECT_EQ(a.end, b.end);
    EXPECT_EQ(a.roundWind, b.roundWind);
    EXPECT_EQ(a.dealer, b.dealer);
    EXPECT_EQ(a.honba, b.honba);
    EXPECT_EQ(a.sticksBefore, b.sticksBefore);
    EXPECT_EQ(a.sticksAfter, b.sticksAfter);
    EXPECT_EQ(a.loser, b.loser);
    EXPECT_EQ(a.declarer, b.declarer);
    EXPECT_EQ(a.ready, b.ready);
    EXPECT_EQ(a.nagashi, b.nagashi);
    EXPECT_EQ(a.scoreDelta, b.scoreDelta);
    EXPECT_EQ(a.chipDelta, b.chipDelta);
    EXPECT_EQ(a.scoresAfter, b.scoresAfter);
    EXPECT_EQ(a.revealed, b.revealed);
    EXPECT_EQ(a.doraIndicators, b.doraIndicators);
    EXPECT_EQ(a.uraIndicators, b.uraIndicators);
    EXPECT_EQ(a.riichi, b.riichi);
    ASSERT_EQ(a.winners.size(), b.winners.size());
    for (std::size_t i = 0; i < a.winners.size(); ++i) {
        const riichi::WinResult& x = a.winners[i];
        const riichi::WinResult& y = b.winners[i];
        EXPECT_EQ(x.seat, y.seat);
        EXPECT_EQ(x.winTile, y.winTile);
        EXPECT_EQ(x.concealed, y.concealed);
        EXPECT_EQ(x.liable, y.liable);
        ASSERT_EQ(x.melds.size(), y.melds.size());
        EXPECT_EQ(x.score.han, y.score.han);
        EXPECT_EQ(x.score.fu, y.score.fu);
        EXPECT_EQ(x.score.yakuman, y.score.yakuman);
        EXPECT_EQ(x.score.limit, y.score.limit);
        EXPECT_EQ(x.score.points, y.score.points);
        EXPECT_EQ(x.score.dealer, y.score.dealer);
        EXPECT_EQ(x.score.ronPayment, y.score.ronPayment);
        EXPECT_EQ(x.score.tsumoDealerPays, y.score.tsumoDealerPays);
        EXPECT_EQ(x.score.tsumoOthersPay, y.score.tsumoOthersPay);
        ASSERT_EQ(x.score.yaku.size(), y.score.yaku.size());
        for (std::size_t k = 0; k < x.score.yaku.size(); ++k) {
            EXPECT_EQ(x.score.yaku[k].name, y.score.yaku[k].name);
            EXPECT_EQ(x.score.yaku[k].han, y.score.yaku[k].han);
            EXPECT_EQ(x.score.yaku[k].yakuman, y.score.yaku[k].yakuman);
        }
    }
}

TEST(NetProtocol, EveryTableEventDecisionAndEndReadsBackAsWritten) {
    int asks = 0, events = 0, ends = 0, wins = 0;
    for (std::uint64_t seed = 1; seed <= kGames; ++seed) {
        riichi::Random r(seed * 31);
        riichi::Rules rules;
        rules.eastOnly = seed % 2 == 0;
        riichi::Game game(rules, seed);
        while (!game.Over()) {
            riichi::HandStart start = riichi::StartOf(game.Current());
            for (int s = 0; s < 4; ++s) {
                riichi::HandStart mine = riichi::ForSeat(start, s);
                std::string line = HandStartLine(mine, s);
                EXPECT_NE(line.find(" " + TileList(mine.hands[static_cast<std::size_t>(s)])),
                          std::string::npos);
            }
            while (!game.Current().Over()) {
                std::string where =
                    "seed " + std::to_string(seed) + " hand " + std::to_string(game.HandIndex());
                for (int s = 0; s < 4; ++s) {
                    riichi::SeatView view = game.View(s);
                    riichi::SeatView back;
                    ASSERT_TRUE(ParseViewLine(ViewLine(view), back)) << ViewLine(view);
                    ExpectSameView(view, back, where);
                    if (view.legal.empty()) continue;
                    Ask ask;
                    ASSERT_TRUE(ParseAskLine(AskLine(7, 1500, view.legal), ask));
                    EXPECT_EQ(ask.id, 7);
                    EXPECT_EQ(ask.milliseconds, 1500);
                    EXPECT_EQ(ask.actions, view.legal) << AskLine(7, 1500, view.legal);
                    ++asks;
                }
                if (testing::Test::HasFatalFailure()) return;
                int seat = game.PendingSeats().front();
                ASSERT_TRUE(game.Apply(seat, Bold(game.View(seat), r)));
                for (const riichi::TableEvent& e : game.Current().StepEvents()) {
                    for (int s = 0; s < 4; ++s) {
                        riichi::TableEvent seen = riichi::ForSeat(e, s);
                        std::string line = EventLine(seen);
                        if (e.type == riichi::EventType::HandOver) {
                            EXPECT_TRUE(line.empty());
                            continue;
                        }
                        riichi::TableEvent back;
                        ASSERT_TRUE(ParseEventLine(line, back)) << line;
                        EXPECT_EQ(back, seen) << line;
                        ++events;
                    }
                }
            }
            EndReader reader;
            bool complete = false, bad = false;
            for (const std::string& line : HandEndLines(game.Current().Result())) {
                ASSERT_TRUE(reader.Take(line, complete, bad)) << line;
                ASSERT_FALSE(bad) << line;
            }
            ASSERT_TRUE(complete);
            ExpectSameEnd(game.Current().Result(), reader.result());
            ++ends;
            wins += static_cast<int>(game.Current().Result().winners.size());
            game.NextHand();
        }
        for (int s = 0; s < 4; ++s) {
            int seat = -1;
            riichi::SeatTotals back;
            ASSERT_TRUE(
                ParseStandingLine(StandingLine(s, game.Totals()[static_cast<std::size_t>(s)]), seat, back));
            EXPECT_EQ(seat, s);
            EXPECT_EQ(back.place, game.Totals()[static_cast<std::size_t>(s)].place);
            EXPECT_EQ(back.points, game.Totals()[static_cast<std::size_t>(s)].points);
        }
    }
    EXPECT_GT(asks, 1000);
    EXPECT_GT(events, 1000);
    EXPECT_GT(wins, 0);
    EXPECT_GT(ends, static_cast<int>(kGames));
}

TEST(NetProtocol, BrokenServerLinesAreRejected) {
    riichi::SeatView view;
    riichi::Game game(riichi::Rules{}, 3);
    std::string good = ViewLine(game.View(0));
    ASSERT_TRUE(ParseViewLine(good, view));
    for (const std::string& bad : {
             std::string("VIEW"),
             good.substr(0, good.size() / 2),
             good + " hand=999",  // a tile that does not exist (the last key wins)
             std::string(good).replace(good.find("seat=0"), 6, "seat=4"),
             std::string(good).replace(good.find("phase=turn"), 10, "phase=lunch"),
             good + " m1=pon.9.1.1.2.3",  // a meld from no seat
             good + " r2=1,2,3x",
             good + " waits=99999999999999999999",
         })
        EXPECT_FALSE(ParseViewLine(bad, view)) << bad;

    riichi::TableEvent event;
    for (const char* bad :
         {"DRAW", "DRAW 4 5", "DRAW 1 136", "DISCARD 1 -", "DISCARD 0 5 sideways", "PON 0 1 5 6",
          "CHI 0 1 5 6,7,8", "ANKAN 1 1,2,3", "KAKAN 1 4 5,6", "DORA -", "RIICHI -", "HELLO 1"})
        EXPECT_FALSE(ParseEventLine(bad, event)) << bad;

    Ask ask;
    EXPECT_FALSE(ParseAskLine("ASK 1 100", ask));
    EXPECT_FALSE(ParseAskLine("ASK x 100 pass", ask));
    EXPECT_FALSE(ParseAskLine("ASK 1 100 dance:5", ask));
    EXPECT_FALSE(ParseAskLine("ASK 1 100 discard:500", ask));
    ASSERT_TRUE(ParseAskLine("ASK 12 100 next", ask));
    EXPECT_TRUE(ask.next);

    // An end block that goes wrong says so, and the next block starts afresh.
    EndReader reader;
    bool complete = false, bad = false;
    EXPECT_TRUE(reader.Take("WINYAKU 2 1 0 立直", complete, bad));
    EXPECT_TRUE(bad);
    EXPECT_TRUE(reader.Take("HANDEND sideways", complete, bad));
    EXPECT_TRUE(bad);
    EXPECT_FALSE(reader.Take("DRAW 1 -", complete, bad));
    riichi::HandResult draw;
    draw.end = riichi::HandEnd::Exhaustive;
    draw.ready = {true, false, false, true};
    for (const std::string& line : HandEndLines(draw)) EXPECT_TRUE(reader.Take(line, complete, bad) && !bad);
    EXPECT_TRUE(complete);
    EXPECT_EQ(reader.result().ready, draw.ready);
}

TEST(NetProtocol, ClientLinesAsTheServerReadsThem) {
    ClientLine c = ParseClientLine("ACT 17 pon:60:61:62");
    ASSERT_EQ(c.kind, ClientLine::Kind::Act);
    EXPECT_EQ(c.askId, 17);
    EXPECT_EQ(c.action.type, ActionType::Pon);
    EXPECT_EQ(c.action.tile, 60);
    EXPECT_EQ(c.action.with, (std::array<riichi::TileId, 2>{61, 62}));
    EXPECT_EQ(ParseClientLine("ACT 3 next").kind, ClientLine::Kind::Next);
    EXPECT_EQ(ParseClientLine("PONG").kind, ClientLine::Kind::Pong);
    EXPECT_EQ(ParseClientLine("QUIT").kind, ClientLine::Kind::Quit);
    c = ParseClientLine("JOIN 2 human guest shown=ゲスト reach=900");
    ASSERT_EQ(c.kind, ClientLine::Kind::Join);
    EXPECT_EQ(c.join.version, 2);
    EXPECT_EQ(c.join.style.displayName, "ゲスト");
    EXPECT_EQ(c.join.style.reach, 900);
    // The seat's token travels as a key; anything else in its place is left out.
    JoinRequest read;
    JoinRequest request;
    request.name = "guest";
    request.token = std::string(32, 'f');
    ASSERT_TRUE(ParseJoinLine(JoinLine(request), read));
    EXPECT_EQ(read.token, request.token);
    request.token = "not a token";
    EXPECT_EQ(JoinLine(request).find("token="), std::string::npos);
    ASSERT_TRUE(ParseJoinLine("JOIN 2 human guest token=xyz", read));
    EXPECT_EQ(read.token, "");
    // The join line's shown name is cut between characters, never inside one.
    request.style.displayName = std::string(62, 'a') + "\xF0\x9F\x80\x84";
    EXPECT_NE(JoinLine(request).find(" shown=" + std::string(62, 'a') + " "), std::string::npos);
    // An old client's JOIN reads as version 1, for the server to refuse clearly.
    c = ParseClientLine("JOIN human guest");
    ASSERT_EQ(c.kind, ClientLine::Kind::Join);
    EXPECT_EQ(c.join.version, 1);
    for (const char* bad :
         {"", "   ", "act 1 pass", "ACT", "ACT 1", "ACT -1 pass", "ACT 1 pass extra", "ACT 1 discard:136",
          "ACT 1 discard:-1", "ACT 1 pon:1:2", "ACT 99999999999999999999 pass", "JOIN 2 robot x",
          "JOIN 2 human", "JOIN 2 human ../x", "QUIT now", "HELLO"}) {
        ClientLine line = ParseClientLine(bad);
        EXPECT_EQ(line.kind, ClientLine::Kind::Bad) << bad;
        EXPECT_FALSE(line.error.empty()) << bad;
    }
    // Every action type travels as one word and back.
    for (ActionType type : {ActionType::Discard, ActionType::Riichi, ActionType::Tsumo, ActionType::Ron,
                            ActionType::Pon, ActionType::Chi, ActionType::OpenKan, ActionType::ClosedKan,
                            ActionType::AddedKan, ActionType::NineTerminals, ActionType::Pass}) {
        Action a{type, type == ActionType::NineTerminals || type == ActionType::Pass ? -1 : 40, {-1, -1}};
        if (type == ActionType::Pon || type == ActionType::Chi) a.with = {41, 44};
        Action back;
        ASSERT_TRUE(ParseActionWord(ActionWord(a), back)) << ActionWord(a);
        EXPECT_EQ(back, a) << ActionWord(a);
    }
}

TEST(NetProtocol, RulesTravelWithEveryKey) {
    riichi::Rules rules;
    rules.eastOnly = false;
    rules.startPoint = 30000;
    rules.yakumanChip = 5;
    rules.uma = riichi::Uma::SevenFiveThree;
    rules.noKanUra = rules.redFivesClosedOnly = rules.noAllStars = rules.pao = rules.noSwapCalling = true;
    rules.headBump = rules.roundUpMangan = rules.under = rules.noBustOut = true;
    riichi::Rules back = ParseRulesWords(RulesWords(rules));
    EXPECT_EQ(RulesWords(back), RulesWords(rules));
    EXPECT_EQ(back.uma, riichi::Uma::SevenFiveThree);
    EXPECT_TRUE(back.redFivesClosedOnly && back.roundUpMangan && back.noBustOut);
    EXPECT_EQ(RulesWords(ParseRulesWords("")), RulesWords(riichi::Rules{}));
    // The network game is for four players, whatever a server sends.
    EXPECT_FALSE(ParseRulesWords("sanma=1 tonpu=0").threePlayer);
}

// Other programs read the RULES line: its words and their order stay put.
TEST(NetProtocol, RulesWordsKeepTheirOrder) {
    EXPECT_EQ(RulesWords(riichi::Rules{}),
              "tonpu=1 startpoint=25000 yakuman-chip=2 ippatu-chip=1 uradora-chip=1 akadora-chip=1 uma=10-20 "
              "nopintumo=0 noakadora=0 nonakitan=0 nokanura=0 nofly=0 under=0 nonakiaka=0 noallstars=0 "
              "77mangan=0 atamahane=0 nosancyaho=0 nokuikae=0 pao=0");
}

}  // namespace
}  // namespace zv::engine
