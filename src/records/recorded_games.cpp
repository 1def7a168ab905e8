#include "records/recorded_games.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "config/codec.h"
#include "config/file_io.h"
#include "records/game_records.h"

namespace zv {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<long> Number(const std::string& word) {
    try {
        std::size_t used = 0;
        long value = std::stol(word, &used);
        if (used == word.size()) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// One game block while it is read.
struct OpenGame {
    int number = 0;
    bool threePlayer = false;
    std::optional<int> seat;
    std::optional<RecordedGame> standing;
};

void ReadPlayerLine(const std::vector<std::string>& w, const std::string& player, OpenGame& game) {
    if (w.size() < 3 || w[2] != player) return;
    std::optional<long> seat = Number(w[1]);
    if (seat && *seat >= 0 && *seat <= 3) game.seat = static_cast<int>(*seat);
}

void ReadFinalLine(const std::vector<std::string>& w, OpenGame& game) {
    if (!game.seat || w.size() < 5) return;
    std::optional<long> seat = Number(w[1]), place = Number(w[2]), points = Number(w[4]);
    if (!seat || *seat != *game.seat || !place || *place < 1 || *place > 4 || !points) return;
    RecordedGame found;
    found.game = game.number;
    found.threePlayer = game.threePlayer;
    found.seat = *game.seat;
    found.place = static_cast<int>(*place);
    found.points = static_cast<std::int32_t>(std::clamp<long>(*points, INT32_MIN, INT32_MAX));
    game.standing = found;
}

std::optional<std::int64_t> WrittenAt(const std::string& path) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(written);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

}  // namespace

std::vector<RecordedGame> PlayerGamesInRecord(std::string_view text, const std::string& player,
                                              const std::string& path) {
    std::vector<RecordedGame> games;
    OpenGame game;
    auto close = [&] {
        if (game.standing) {
            game.standing->path = path;
            games.push_back(*game.standing);
        }
        const int number = game.number;
        game = OpenGame{};
        game.number = number;
    };
    for (const std::string& line : SplitLines(std::string(text))) {
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        if (w[0] == "game:") {
            close();
            ++game.number;
        } else if (w[0] == "rules:") {
            game.threePlayer = std::find(w.begin(), w.end(), "sanma=1") != w.end();
        } else if (w[0] == "player:") {
            ReadPlayerLine(w, player, game);
        } else if (w[0] == "final:") {
            ReadFinalLine(w, game);
        }
    }
    close();
    return games;
}

std::vector<RecordedGame> RecordedGamesOf(const std::string& player) {
    struct Record {
        std::optional<std::int64_t> writtenAt;
        std::vector<RecordedGame> games;
    };
    std::vector<Record> records;
    for (const std::string& path : CollectUserRecords()) {
        std::optional<std::string> bytes = ReadWholeFile(path);
        if (!bytes) continue;
        Record record{WrittenAt(path), PlayerGamesInRecord(FromCp932(*bytes), player, path)};
        for (RecordedGame& game : record.games) game.writtenAt = record.writtenAt;
        std::reverse(record.games.begin(), record.games.end());
        records.push_back(std::move(record));
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.writtenAt > b.writtenAt; });
    std::vector<RecordedGame> games;
    for (Record& record : records) games.insert(games.end(), record.games.begin(), record.games.end());
    return games;
}

std::string ReviewRecordCommand(const std::string& path, int seat) {
    return "pad.exe --seat " + std::to_string(seat) + " " + QuoteArgument(path);
}

}  // namespace zv
