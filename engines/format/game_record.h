#pragma once
// Game records (.fu) of the engines: a plain-text format of our own,
// described in engines/README.md. One file holds the games of one run, each
// as a block from "game:" to "end:". Text is CP932 with CR LF line ends on
// disk; these functions work on UTF-8 lines.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format/game_outcome.h"
#include "format/game_rules.h"

namespace zv::engine {

struct RecordSeat {
    std::string name;         // the player's or character's name (one word)
    std::string displayName;  // shown name (one word; the name when empty)
};

// The lines of one game's block.
std::vector<std::string> RecordLines(int gameNumber, const std::string& program, const riichi::Rules& rules,
                                     const std::array<RecordSeat, 4>& seats, const GameOutcome& game);

// Actions in the record: one word per action, "SEAT LETTER TILES" without
// blanks (README: "Record format"). Tiles are written exactly: a red five as
// "0m", any other tile as its kind and its copy 0..3 ("5m2", "7z0"); several
// tiles are separated by commas. Passes are not written.
std::string ActionWord(const riichi::LoggedAction& action);
// Reads one action word; false with `error` set when it is not one.
bool ParseActionWord(std::string_view word, riichi::LoggedAction& action, std::string& error);
// The "act:" lines of a hand: its action words, a line at most
// kActionLineBytes long, as many lines as it takes.
inline constexpr std::size_t kActionLineBytes = 1024;
std::vector<std::string> ActionLines(const std::vector<riichi::LoggedAction>& actions);

// The rules of a record's "rules:" words (keys it does not name keep their
// defaults; unknown words are ignored).
riichi::Rules RulesFromRecord(const std::string& rulesWords);

// The first line of every record file.
inline constexpr const char* kRecordMagic = "# zelvan game record";

// Writes the whole record (magic line + blocks) atomically. Empty string on
// success, else a message naming the file.
std::string SaveRecord(const std::string& path, const std::vector<std::string>& blockLines);

// A record read back.
struct RecordedFinal {
    int seat = 0;
    int place = 0;
    int score = 0;
    int points = 0;
    int chips = 0;
};

struct RecordedGame {
    int number = 0;
    std::string program;
    std::string seed;
    std::string rules;  // the "rules:" line's words after the keyword
    std::array<RecordSeat, 4> seats{};
    std::vector<HandRecord> hands;
    std::vector<RecordedFinal> finals;
    bool complete = false;  // its "end:" line was seen
};

struct RecordFile {
    std::vector<RecordedGame> games;
    std::vector<std::string> problems;  // lines that could not be understood
};

RecordFile ParseRecord(const std::string& utf8Text);

// A readable summary (Japanese), one line per entry.
std::vector<std::string> SummarizeRecord(const RecordFile& record);

// Name of yaku index 0..59 (entries 57..59 are empty).
const std::string& YakuName(int index);

}  // namespace zv::engine
