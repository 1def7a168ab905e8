#pragma once
// Results files: the game engines append one "result:" line per finished game
// and one "yaku:" line of winning-hand counts to a per-player file in the
// player's directory. The launcher only reads them: a whole file is totalled
// into one PlayerResults record, used by the player statistics, the rating
// and the ranking.
//
//   usr/<name>/zvclient.res   network games
//   usr/<name>/<name>.res     one-player games
//   usr/<name>/<name>.sanma.res  three-player one-player games (places 1 to 3),
//                             read only by the statistics, apart from the rest
//
// A "result:" line holds, from word 2 on: place (1 to 4), points, chips,
// plays, reaches, calls, tsumo points, tsumo count, ron points, ron count,
// deal-in points, deal-in count; a missing word counts as 0. A "yaku:" line
// holds a word of exactly 60 digits, digit i being how often yaku i was
// scored. Every other line is skipped; so are places outside 1 to 4 and yaku
// words that are not 60 digits, so that no line can reach outside the record.
// The reader below is built for speed; ReferenceResults (results_reference.h)
// reads the same lines the plain way, and both must always agree.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zv {

inline constexpr int kYakuCount = 60;

struct PlayerResults {
    std::int32_t games = 0;
    std::array<std::int32_t, 4> places{};  // places[0] = count of 1st places
    std::int32_t points = 0;
    std::int32_t chips = 0;
    std::int32_t plays = 0;
    std::int32_t reaches = 0;
    std::int32_t calls = 0;
    std::int32_t tsumoPoints = 0;
    std::int32_t tsumoCount = 0;
    std::int32_t ronPoints = 0;
    std::int32_t ronCount = 0;
    std::int32_t dealInPoints = 0;
    std::int32_t dealInCount = 0;
    std::array<std::int32_t, kYakuCount> yaku{};

    // points x 100 + chips x 500, computed wide so that it cannot overflow.
    std::int64_t Money() const;
    // Averages truncated toward zero; nothing when the count is not above 0.
    std::optional<std::int32_t> TsumoAverage() const;
    std::optional<std::int32_t> RonAverage() const;
    std::optional<std::int32_t> DealInAverage() const;

    bool operator==(const PlayerResults&) const = default;
};

// Names of the 60 yaku counters, from the rules library's yaku table; 57 to
// 59 are unnamed (empty).
extern const std::array<const char*, kYakuCount>& YakuNames;

// Path of a player's results file below the installation directory.
std::string ResultsPath(const std::string& playerName, bool network);
// Path of a player's three-player results file.
std::string ThreePlayerResultsPath(const std::string& playerName);

// Totals the player's results file into `results`. False when the file
// cannot be opened or read; `results` is then left as it was. Otherwise the
// record is zeroed first, so an empty file gives all zeros.
bool ReadResults(PlayerResults& results, const std::string& playerName, bool network);

// The same for a file given by its path.
bool ReadResultsFile(const std::string& path, PlayerResults& results);

// Adds one line (without its line end) to the totals.
void AddResultsLine(std::string_view line, PlayerResults& results);

// Label texts of the statistics window, as (label object name, text) pairs in
// display order. Averages with a zero count are empty.
std::vector<std::pair<std::string, std::string>> StatisticsTexts(const std::string& playerName,
                                                                 const PlayerResults& results);

// One line per yaku scored at least once, in index order: the name padded
// with blanks to 20 bytes of CP932 (no blank when it is that long already),
// then the count.
std::vector<std::string> YakuListLines(const PlayerResults& results);

}  // namespace zv
