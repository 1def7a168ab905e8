#pragma once
// The mjai protocol's JSON events for riichi mahjong games: one JSON object
// per line ({"type":"dahai","actor":0,"pai":"5m","tsumogiri":false}), tiles
// written "1m".."9m", "1p".., "1s".., "5mr"/"5pr"/"5sr" for red fives and
// "E" "S" "W" "N" "P" "F" "C" for the honours. Seats are the actors 0..3.
//
// A three-player game is written in the three-player form: the lists of
// start_game's names, start_kyoku's tehais and scores, and the deltas,
// scores and tenpais of the other events have three entries (seats 0..2),
// the wall is the 108 tiles without 2m..8m, there is no chi, and a north
// set aside is {"type":"nukidora","actor":N,"pai":"N"}, followed by a
// replacement tsumo unless someone wins on it (hora with the north as pai).
//
//  * `Writer` tells a game played on the rules library as mjai events, from
//    the table's own events (riichi/events.h): start_game, start_kyoku,
//    tsumo, dahai, reach, reach_accepted, chi, pon, daiminkan, ankan, kakan,
//    nukidora, dora, hora, ryukyoku, end_kyoku, end_game. The log holds everything
//    (every hand at the deal and every draw), as a game record does.
//  * `Validate` plays a log through and reports what breaks the protocol:
//    lines that are not events, events out of turn, tiles a player does not
//    hold, more than four of a tile, scores that do not add up.
//  * `ReadGame` turns a log back into hands of the rules library: each
//    hand's wall (the tiles the log shows where the table takes them, the
//    unseen ones after them) and every action, so that the game can be
//    played again.
// No Qt, no allocation worries: logs are small.
#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "riichi/events.h"
#include "riichi/table.h"
#include "riichi/tile.h"

namespace zv::mjai {

// ---------------------------------------------------------------------------
// Tiles.

// "5m", "5mr" (a red five when `redFives`), "E".."N", "P" "F" "C".
std::string TileText(riichi::TileId tile, bool redFives = true);
// A tile text's kind and redness; false when it is not a tile.
bool ParseTile(std::string_view text, riichi::Kind& kind, bool& red);

// ---------------------------------------------------------------------------
// JSON, as much as the protocol needs.

struct Json {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Json> items;        // Array
    std::vector<std::string> keys;  // Object: its member names, in order,
    std::vector<Json> values;       // and their values (a pair would need Json complete)

    const Json* Find(std::string_view key) const;  // an object's member, or null
};
// Parses one JSON text (nothing but blanks may follow it).
bool ParseJson(std::string_view text, Json& out, std::string& error);
// A JSON string literal.
std::string Quote(std::string_view text);

// ---------------------------------------------------------------------------
// Writing.

class Writer {
public:
    // `redFives`: the rules count red fives (otherwise they are written as
    // plain fives). `players`: 4, or 3 for the three-player form.
    Writer(std::vector<std::string>& out, bool redFives, int players = 4)
        : out_(out), red_(redFives), players_(players) {}

    void StartGame(const std::array<std::string, 4>& names);
    // A hand as dealt; `kyoku` is 1..4 within the round. A hand that is
    // not known (empty) is written as 13 "?" tiles; the dealer's first draw
    // follows when `start.dealerDraw` names a seat.
    void StartHand(const riichi::HandStart& start, int kyoku);
    // One table event (a HandOver writes nothing: EndHand tells the end). A
    // draw of an unknown tile is written "?"; `scores` after the step, when
    // known, go with a reach_accepted.
    void Event(const riichi::TableEvent& event, const std::array<int, 4>* scores = nullptr);
    // The end of a hand (hora or ryukyoku, then end_kyoku); `hands` are the
    // seats' concealed tiles shown with a ryukyoku.
    void EndHand(const riichi::HandResult& result, const std::array<std::vector<riichi::TileId>, 4>& hands);
    void EndGame(const std::array<int, 4>& finalScores);

private:
    std::string Tile(riichi::TileId t) const { return TileText(t, red_); }
    std::string Tiles(const std::vector<riichi::TileId>& tiles) const;
    // The first `players_` entries as a JSON list.
    std::string Numbers(const std::array<int, 4>& values) const;
    std::string Bools(const std::array<bool, 4>& values) const;

    std::vector<std::string>& out_;
    bool red_ = true;
    int players_ = 4;
};

// ---------------------------------------------------------------------------
// Checking.

struct Problem {
    int line = 0;  // 1-based
    std::string text;
};
// Everything in the log that breaks the protocol or the game; empty when the
// log is a sound game.
std::vector<Problem> Validate(const std::vector<std::string>& lines);

// ---------------------------------------------------------------------------
// Reading.

struct ImportedHand {
    // The wall as a permutation of 0..135; with three players the first
    // 108 entries hold the tiles of that game and the rest are -1.
    int dealer = 0;
    int kyoku = 1;
    int honba = 0;
    riichi::Kind roundWind = riichi::kEast;
    std::array<int, 4> scoresBefore{};
    std::array<riichi::TileId, riichi::kTiles> wall{};  // a permutation of 0..135
    std::vector<riichi::LoggedAction> actions;          // without passes
    std::array<int, 4> scoresAfter{};                   // from its last hora or ryukyoku
};

struct ImportedGame {
    int players = 4;  // 3: a log in the three-player form (seat 3 empty)
    std::array<std::string, 4> names;
    std::vector<ImportedHand> hands;
    std::array<int, 4> finalScores{};  // end_game's, when it gives them
    bool hasFinalScores = false;
};

// Reads a log written as the protocol defines it; false with `error` (the
// line and what is wrong) when it is not one game that can be played again.
bool ReadGame(const std::vector<std::string>& lines, ImportedGame& game, std::string& error);

}  // namespace zv::mjai
