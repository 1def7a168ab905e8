#pragma once
// The bridge between the game server and a program that plays by the mjai
// protocol (the way the community's bots are run): the bridge joins a game
// as a computer player does, tells the bot everything its seat sees as mjai
// events on the bot's standard input, one JSON line each, and reads one
// line back for each event: an action ({"type":"dahai",...}) or
// {"type":"none"}. When the server asks the seat to decide, the bot's answer
// to the events of that step is the decision. A riichi is the bot's "reach"
// answered with a "reach" event and then its "dahai".
//
// An answer that does not fit gets an mjai "error" event, and the bot's
// answer to that is taken instead. A bot that does not start, ends, does not
// answer in time or answers twice with something that does not fit is
// replaced for the rest of the game by the character player of the seat's
// style, and the game goes on.
#include <atomic>
#include <string>
#include <vector>

#include "mjai/mjai.h"
#include "net/net_game.h"
#include "zvbridge/bot_process.h"

namespace zv::bridge {

struct BridgeConfig {
    std::string host = "localhost";
    int port = 4112;
    engine::JoinRequest request;   // kind "auto"; the style plays when the bot cannot
    std::vector<std::string> bot;  // the bot's command line
    int botMs = 5000;              // the longest wait for one answer of the bot
    int startMs = 60000;           // the longest wait for its answer to start_game
    engine::LogFn keepToken;       // given the seat's token from WELCOME (for the next JOIN)
};

struct BridgeReport {
    int botDecisions = 0;       // decisions the bot took
    int fallbackDecisions = 0;  // decisions the character player took
    std::string replaced;       // why the bot was replaced; empty when it played to the end
};

// Joins and plays one game with `bot`, started when it is not running and
// left running for the next game. `message` explains any status other than
// Played.
engine::NetStatus PlayBridgedGame(const BridgeConfig& config, BotProcess& bot, engine::NetGameResult& result,
                                  std::string& message, BridgeReport& report, const engine::LogFn& log,
                                  const std::atomic<bool>* cancel);

// The table action an mjai answer of the bot in `seat` stands for, among
// `legal`; false when it stands for none of them. A "dahai" gives a Riichi
// when `riichi` (the bot declared it first); "reach" itself gives nothing.
bool ActionFromBot(const mjai::Json& answer, int seat, const riichi::SeatView& view,
                   const std::vector<riichi::Action>& legal, bool riichi, riichi::Action& action);

}  // namespace zv::bridge
