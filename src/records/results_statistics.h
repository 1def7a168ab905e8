#pragma once
// Figures a player looks at beside the plain totals of a results file: place
// rates and the average place, how often hands are won, dealt in, started
// with riichi or opened with calls, the average win and deal-in, and the
// places of the latest games in order for the charts.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/results.h"

namespace zv {

// Games shown in the charts: the latest ones, oldest first.
inline constexpr std::size_t kChartedGames = 100;

struct ResultsStatistics {
    std::int32_t games = 0;
    // Over the games with a place of 1 to 4; nothing when there are none.
    std::optional<double> averagePlace;
    std::array<double, 4> placeRates{};  // shares of 1st to 4th places, 0 to 1
    // Shares of the hands played (0 when none was played).
    double winRate = 0;
    double dealInRate = 0;
    double riichiRate = 0;
    double callRate = 0;
    // Truncated toward zero; nothing when there was no win or deal-in.
    std::optional<std::int32_t> averageWin;
    std::optional<std::int32_t> averageDealIn;
    // Places of the latest placed games, oldest first, and the average place
    // over all placed games up to and including each of them.
    std::vector<int> recentPlaces;
    std::vector<double> averagePlaceTrend;
};

// The place of every "result:" line in file order; 0 for a line whose place
// is not 1 to 4.
std::vector<int> GamePlaces(std::string_view fileBytes);

ResultsStatistics ComputeStatistics(const PlayerResults& totals, const std::vector<int>& places);

// Reads the player's results file (network or one-player). False when it
// cannot be read; `statistics` is then left as it was.
bool ReadResultsStatistics(const std::string& playerName, bool network, ResultsStatistics& statistics);
// The same for a results file given by its path (the three-player one).
bool ReadResultsStatisticsFile(const std::string& path, ResultsStatistics& statistics);

// A share as a percentage with one decimal ("37.5%").
std::string PercentText(double share);

}  // namespace zv
