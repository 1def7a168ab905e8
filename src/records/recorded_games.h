#pragma once
// The games a player took part in, found in the game records below usr/:
// each with its record file, its place in that file, the player's seat,
// final place and points, and when the record was last written.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

struct RecordedGame {
    std::string path;                       // the record file
    int game = 0;                           // 1 for the file's first game
    int seat = 0;                           // the player's seat
    int place = 0;                          // 1 to 4
    std::int32_t points = 0;                // the game's points for the player
    std::optional<std::int64_t> writtenAt;  // seconds since 1970 (UTC)
    bool threePlayer = false;               // its rules line says "sanma=1"
};

// The finished games of `player` in one record's UTF-8 text, in file order.
// Games the player did not sit in, or that have no final standing for the
// player's seat, are left out; so are lines that cannot be read.
std::vector<RecordedGame> PlayerGamesInRecord(std::string_view text, const std::string& player,
                                              const std::string& path);

// The player's games in every record below the installation's usr folder,
// the most recently written record first, and its later games first.
std::vector<RecordedGame> RecordedGamesOf(const std::string& player);

// The record analyser reviewing the discards of `seat`: "pad.exe --seat N"
// and the quoted path.
std::string ReviewRecordCommand(const std::string& path, int seat);

}  // namespace zv
