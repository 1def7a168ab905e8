// The bridge's reading of a bot's answers: each mjai action finds the table
// action it stands for among those offered, and answers that are not
// offered, not the bot's own or not actions at all find none.
#include "zvbridge/mjai_bridge.h"

#include <gtest/gtest.h>

namespace zv::bridge {
namespace {

using riichi::Action;
using riichi::ActionType;

bool Read(const std::string& text, const riichi::SeatView& view, bool riichi, Action& action) {
    mjai::Json json;
    std::string error;
    EXPECT_TRUE(mjai::ParseJson(text, json, error)) << error;
    return ActionFromBot(json, 1, view, view.legal, riichi, action);
}

TEST(MjaiBridgeTest, AnswersFindTheActionsOffered) {
    riichi::SeatView turn;
    turn.seat = 1;
    turn.drawn = 18;  // 5m, copy 2
    turn.legal = {{ActionType::Discard, 17, {-1, -1}},      {ActionType::Discard, 18, {-1, -1}},
                  {ActionType::Discard, 16, {-1, -1}},      {ActionType::Riichi, 17, {-1, -1}},
                  {ActionType::Riichi, 18, {-1, -1}},       {ActionType::Tsumo, 18, {-1, -1}},
                  {ActionType::ClosedKan, 120, {-1, -1}},   {ActionType::AddedKan, 61, {-1, -1}},
                  {ActionType::NineTerminals, -1, {-1, -1}}};
    struct Case {
        const char* answer;
        bool riichi;
        Action expected;
    };
    std::vector<Case> cases = {
        {R"({"type":"dahai","actor":1,"pai":"5m","tsumogiri":true})",
         false,
         {ActionType::Discard, 18, {-1, -1}}},
        {R"({"type":"dahai","actor":1,"pai":"5m","tsumogiri":false})",
         false,
         {ActionType::Discard, 17, {-1, -1}}},
        {R"({"type":"dahai","actor":1,"pai":"5mr","tsumogiri":false})",
         false,
         {ActionType::Discard, 16, {-1, -1}}},
        {R"({"type":"dahai","actor":1,"pai":"5m","tsumogiri":true})",
         true,
         {ActionType::Riichi, 18, {-1, -1}}},
        {R"({"type":"hora","actor":1,"target":1,"pai":"5m"})", false, {ActionType::Tsumo, 18, {-1, -1}}},
        {R"({"type":"ankan","actor":1,"consumed":["N","N","N","N"]})",
         false,
         {ActionType::ClosedKan, 120, {-1, -1}}},
        {R"({"type":"kakan","actor":1,"pai":"7p","consumed":["7p","7p","7p"]})",
         false,
         {ActionType::AddedKan, 61, {-1, -1}}},
        {R"({"type":"ryukyoku","actor":1})", false, {ActionType::NineTerminals, -1, {-1, -1}}},
    };
    for (const Case& c : cases) {
        Action action;
        ASSERT_TRUE(Read(c.answer, turn, c.riichi, action)) << c.answer;
        EXPECT_EQ(action, c.expected) << c.answer;
    }

    riichi::SeatView claims;
    claims.seat = 1;
    claims.legal = {{ActionType::Chi, 20, {13, 24}},     {ActionType::Pon, 21, {22, 23}},
                    {ActionType::Pon, 21, {20, 22}},     {ActionType::Ron, 21, {-1, -1}},
                    {ActionType::OpenKan, 21, {-1, -1}}, {ActionType::Pass, -1, {-1, -1}}};
    Action action;
    ASSERT_TRUE(Read(R"({"type":"pon","actor":1,"target":0,"pai":"6m","consumed":["6m","6m"]})", claims,
                     false, action));
    EXPECT_EQ(action.type, ActionType::Pon);
    ASSERT_TRUE(Read(R"({"type":"chi","actor":1,"target":0,"pai":"6m","consumed":["7m","4m"]})", claims,
                     false, action));
    EXPECT_EQ(action, (Action{ActionType::Chi, 20, {13, 24}}));
    ASSERT_TRUE(Read(R"({"type":"hora","actor":1,"target":0,"pai":"6m"})", claims, false, action));
    EXPECT_EQ(action.type, ActionType::Ron);
    ASSERT_TRUE(Read(R"({"type":"daiminkan","actor":1,"target":0,"pai":"6m","consumed":["6m","6m","6m"]})",
                     claims, false, action));
    EXPECT_EQ(action.type, ActionType::OpenKan);
    ASSERT_TRUE(Read(R"({"type":"none"})", claims, false, action));
    EXPECT_EQ(action.type, ActionType::Pass);

    // What is not offered, not the bot's own or not an action finds nothing.
    for (const char* bad :
         {R"({"type":"none"})", R"({"type":"dahai","actor":2,"pai":"5m","tsumogiri":true})",
          R"({"type":"dahai","actor":1,"pai":"9s","tsumogiri":false})",
          R"({"type":"dahai","actor":1,"pai":"?","tsumogiri":false})",
          R"({"type":"pon","actor":1,"consumed":["6m","6m"]})", R"({"type":"reach","actor":1})",
          R"({"type":"dance","actor":1})", R"({"actor":1})", R"({"type":"dahai","pai":"5m"})"}) {
        EXPECT_FALSE(Read(bad, turn, false, action)) << bad;
    }
    EXPECT_FALSE(Read(R"({"type":"chi","actor":1,"consumed":["7m","5m"]})", claims, false, action));
    EXPECT_FALSE(Read(R"({"type":"dahai","actor":1,"pai":"5m","tsumogiri":true})", claims, false, action));
}

}  // namespace
}  // namespace zv::bridge
