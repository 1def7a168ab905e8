#include "records/results_statistics.h"

#include <cmath>
#include <cstdio>

#include "config/file_io.h"

namespace zv {
namespace {

double Share(std::int64_t part, std::int64_t whole) {
    return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

std::optional<std::int32_t> Average(std::int64_t sum, std::int64_t count) {
    if (count <= 0) return std::nullopt;
    return static_cast<std::int32_t>(sum / count);
}

// The place of one line's game: 1 to 4, 0 for an unplaced game, nothing for
// a line that is no game.
std::optional<int> LinePlace(std::string_view line) {
    PlayerResults single;
    AddResultsLine(line, single);
    if (single.games == 0) return std::nullopt;
    for (int place = 1; place <= 4; ++place) {
        if (single.places[place - 1] > 0) return place;
    }
    return 0;
}

void AddPlaceFigures(const PlayerResults& totals, ResultsStatistics& s) {
    std::int64_t placed = 0, placeSum = 0;
    for (int i = 0; i < 4; ++i) {
        placed += totals.places[i];
        placeSum += static_cast<std::int64_t>(totals.places[i]) * (i + 1);
    }
    if (placed <= 0) return;
    s.averagePlace = static_cast<double>(placeSum) / static_cast<double>(placed);
    for (int i = 0; i < 4; ++i) s.placeRates[i] = Share(totals.places[i], placed);
}

void AddHandFigures(const PlayerResults& totals, ResultsStatistics& s) {
    const std::int64_t wins = std::int64_t{totals.tsumoCount} + totals.ronCount;
    s.winRate = Share(wins, totals.plays);
    s.dealInRate = Share(totals.dealInCount, totals.plays);
    s.riichiRate = Share(totals.reaches, totals.plays);
    s.callRate = Share(totals.calls, totals.plays);
    s.averageWin = Average(std::int64_t{totals.tsumoPoints} + totals.ronPoints, wins);
    s.averageDealIn = Average(totals.dealInPoints, totals.dealInCount);
}

void AddTrend(const std::vector<int>& places, ResultsStatistics& s) {
    std::vector<double> averages;
    std::vector<int> placed;
    std::int64_t sum = 0;
    for (int place : places) {
        if (place < 1 || place > 4) continue;
        placed.push_back(place);
        sum += place;
        averages.push_back(static_cast<double>(sum) / static_cast<double>(placed.size()));
    }
    const std::size_t first = placed.size() > kChartedGames ? placed.size() - kChartedGames : 0;
    s.recentPlaces.assign(placed.begin() + static_cast<std::ptrdiff_t>(first), placed.end());
    s.averagePlaceTrend.assign(averages.begin() + static_cast<std::ptrdiff_t>(first), averages.end());
}

}  // namespace

std::vector<int> GamePlaces(std::string_view fileBytes) {
    std::vector<int> places;
    while (!fileBytes.empty()) {
        const std::size_t end = fileBytes.find('\n');
        const std::string_view line = fileBytes.substr(0, end);
        if (std::optional<int> place = LinePlace(line)) places.push_back(*place);
        if (end == std::string_view::npos) break;
        fileBytes.remove_prefix(end + 1);
    }
    return places;
}

ResultsStatistics ComputeStatistics(const PlayerResults& totals, const std::vector<int>& places) {
    ResultsStatistics s;
    s.games = totals.games;
    AddPlaceFigures(totals, s);
    AddHandFigures(totals, s);
    AddTrend(places, s);
    return s;
}

bool ReadResultsStatistics(const std::string& playerName, bool network, ResultsStatistics& statistics) {
    return ReadResultsStatisticsFile(ResultsPath(playerName, network), statistics);
}

bool ReadResultsStatisticsFile(const std::string& path, ResultsStatistics& statistics) {
    PlayerResults totals;
    if (!ReadResultsFile(path, totals)) return false;
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return false;
    statistics = ComputeStatistics(totals, GamePlaces(*bytes));
    return true;
}

std::string PercentText(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", std::round(share * 1000.0) / 10.0);
    return text;
}

}  // namespace zv
