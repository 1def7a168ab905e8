#pragma once
// The lines of the network game's protocol (version 2), written and read in
// one place: the server's story of a hand (events cut to one seat), a seat's
// table as one line, decision requests and answers, the end of a hand and
// of a game, and the client's lines as the server reads them. Every reader
// takes any text: a line it cannot read gives false (or Bad), never a crash.
// engines/README.md describes the protocol for other programs.
//
// Tiles travel as their numbers 0..135 (kind * 4 + copy, red fives 16, 52
// and 88), lists of tiles as numbers joined by commas, "-" for none.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/game_rules.h"
#include "riichi/events.h"
#include "riichi/game.h"
#include "riichi/rules.h"
#include "riichi/table.h"

namespace zv::engine {

inline constexpr int kProtocolVersion = 2;

// ---------------------------------------------------------------- words

// An action as one word: "discard:53", "pon:60:61:62", "kan:60", "pass".
// Types: discard riichi tsumo ron pon chi kan ankan kakan kyushu pass.
std::string ActionWord(const riichi::Action& action);
bool ParseActionWord(const std::string& word, riichi::Action& action);

// "1,2,3" or "-"; reading checks every number is a tile.
std::string TileList(const std::vector<riichi::TileId>& tiles);
bool ParseTileList(const std::string& word, std::vector<riichi::TileId>& tiles);

// The rules as the keys of a rules file ("tonpu=1 startpoint=25000 ...").
std::string RulesWords(const riichi::Rules& rules);
riichi::Rules ParseRulesWords(const std::string& words);

// ---------------------------------------------------------------- server lines

// "HAND WIND DEALER HONBA STICKS S0 S1 S2 S3 DORA TILES": the start of a
// hand as `start.hands[seat]` shows it (the caller cuts it with ForSeat).
std::string HandStartLine(const riichi::HandStart& start, int seat);
// One table event: "DRAW 2 -", "DISCARD 1 53 tsumogiri", "PON 0 3 60 61,62",
// "DORA 17", "RIICHI 1". HandOver has no line of its own (the end block
// tells it): the result is empty.
std::string EventLine(const riichi::TableEvent& event);
// Reads an event line back; false for anything else.
bool ParseEventLine(const std::string& line, riichi::TableEvent& event);

// "VIEW key=value ...": everything of a SeatView except its rules and legal
// actions (those come with RULES and ASK).
std::string ViewLine(const riichi::SeatView& view);
bool ParseViewLine(const std::string& line, riichi::SeatView& view);

// "ASK ID MS ACTION ...": the seat must answer with one of the actions
// within MS milliseconds.
std::string AskLine(long id, int milliseconds, const std::vector<riichi::Action>& actions);
struct Ask {
    long id = 0;
    int milliseconds = 0;
    bool next = false;  // the end of a hand: answer "next" when read
    std::vector<riichi::Action> actions;
};
bool ParseAskLine(const std::string& line, Ask& ask);

// The end of a hand: a "WIN" line and "WINYAKU" lines per winner, then one
// "HANDEND" line. `EndReader` collects them and has the result at HANDEND.
std::vector<std::string> HandEndLines(const riichi::HandResult& result);
class EndReader {
public:
    // True when the line belongs to the end block; `complete` then says
    // whether it was the last one. A malformed line of the block gives
    // false with `bad` set.
    bool Take(const std::string& line, bool& complete, bool& bad);
    const riichi::HandResult& result() const { return result_; }

private:
    riichi::HandResult result_;
    bool open_ = false;
};

// One seat's totals at the end of a game: "STANDING SEAT PLACE SCORE POINTS CHIPS".
std::string StandingLine(int seat, const riichi::SeatTotals& totals);
bool ParseStandingLine(const std::string& line, int& seat, riichi::SeatTotals& totals);

// ---------------------------------------------------------------- client lines

struct JoinRequest {
    int version = kProtocolVersion;
    std::string kind = "human";  // human or auto
    std::string name;
    CharacterStyle style;
    std::string token;  // the seat's token from WELCOME: takes a left seat back
};

// "JOIN VERSION KIND NAME [KEY=VALUE ...]" and its reading (false for a
// malformed line; a line without a version number reads as version 1).
// The reading keeps the shown name as sent, for the server to check; a
// token that is not one is left out.
std::string JoinLine(const JoinRequest& request);
bool ParseJoinLine(const std::string& line, JoinRequest& request);

// A line a client sent, as the server reads it.
struct ClientLine {
    enum class Kind { Join, Act, Next, Pong, Quit, Bad };
    Kind kind = Kind::Bad;
    JoinRequest join;
    long askId = 0;
    riichi::Action action;
    std::string error;  // Bad: what is wrong
};
ClientLine ParseClientLine(const std::string& line);

}  // namespace zv::engine
