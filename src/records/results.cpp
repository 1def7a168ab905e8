#include "records/results.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "config/codec.h"
#include "config/tokenizer.h"
#include "platform/platform.h"

namespace zv {

const std::array<const char*, kYakuCount> YakuNames = {
    "役満",
    "国士無双",
    "大三元",
    "四暗刻",
    "四槓子",
    "小四喜",
    "大四喜",
    "字一色",
    "緑一色",
    "九連宝燈",
    "天和",
    "地和",
    "清老頭",
    "人和",
    "流し満ガン",
    "ダブリー",
    "リーチ",
    "一発",
    "ツモ",
    "平和",
    "タンヤオ",
    "イイペイコ",
    "ハイテイ",
    "自風",
    "場風",
    "白",
    "発",
    "中",
    "チャンカン",
    "リンシャン",
    "三色(1)",
    "一通(1)",
    "チャンタ(1)",
    "三色(2)",
    "一通(2)",
    "チャンタ(2)",
    "三暗刻(2)",
    "三槓子(2)",
    "対々(2)",
    "小三元(2)",
    "混老頭",
    "三色同刻",
    "混一(2)",
    "純チャン(2)",
    "混一(3)",
    "純チャン(3)",
    "二ペイコウ(3)",
    "清一(5)",
    "清一(6)",
    "七対子(2)",
    "フリテン",
    "同巡",
    "九種九牌",
    "四風連打",
    "四槓流れ",
    "三家和",
    "ノーテンリーチ",
    "",
    "",
    "",
};

namespace {

// Totals wrap around like the 32-bit counters they are, instead of
// overflowing into undefined behaviour on absurd files.
void Add(std::int32_t& total, std::int32_t value) {
    total = static_cast<std::int32_t>(static_cast<std::uint32_t>(total) + static_cast<std::uint32_t>(value));
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<std::int32_t> Average(std::int32_t sum, std::int32_t count) {
    if (count <= 0) return std::nullopt;
    return sum / count;
}

std::string Decimal(std::int64_t value) { return std::to_string(value); }

std::string OptionalDecimal(const std::optional<std::int32_t>& value) {
    return value ? std::to_string(*value) : std::string();
}

}  // namespace

std::int64_t PlayerResults::Money() const {
    return static_cast<std::int64_t>(points) * 100 + static_cast<std::int64_t>(chips) * 500;
}

std::optional<std::int32_t> PlayerResults::TsumoAverage() const { return Average(tsumoPoints, tsumoCount); }
std::optional<std::int32_t> PlayerResults::RonAverage() const { return Average(ronPoints, ronCount); }
std::optional<std::int32_t> PlayerResults::DealInAverage() const {
    return Average(dealInPoints, dealInCount);
}

std::string ResultsPath(const std::string& playerName, bool network) {
    std::string path = CurrentPlatform().InstallDir() + "usr/" + playerName + "/";
    return path + (network ? std::string("zvclient.res") : playerName + ".res");
}

void AddResultsLine(std::string_view line, PlayerResults& results) {
    // Words are runs of anything but blanks and tabs. The keywords and the
    // numbers are ASCII, and no CP932 trail byte is a blank or a tab, so the
    // raw bytes split exactly as the decoded text would.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    constexpr int kWords = 13;
    std::array<std::string_view, kWords> words{};
    int count = 0;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (count < kWords) {
        while (i < n && IsBlank(line[i])) ++i;
        if (i == n) break;
        std::size_t start = i;
        while (i < n && !IsBlank(line[i])) ++i;
        words[count++] = line.substr(start, i - start);
        // Only the keyword decides whether the rest is worth splitting.
        if (count == 1 && words[0] != "result:" && words[0] != "yaku:") return;
        if (count == 2 && words[0] == "yaku:") break;
    }
    if (count == 0) return;

    if (words[0] == "yaku:") {
        std::string_view digits = words[1];
        if (digits.size() != kYakuCount) return;
        for (char c : digits)
            if (c < '0' || c > '9') return;
        for (int k = 0; k < kYakuCount; ++k) Add(results.yaku[k], digits[k] - '0');
        return;
    }

    std::array<std::int32_t, kWords> value{};
    for (int k = 1; k < count; ++k) value[k] = WordToInt(words[k]);
    Add(results.games, 1);
    if (value[1] >= 1 && value[1] <= 4) Add(results.places[value[1] - 1], 1);
    Add(results.points, value[2]);
    Add(results.chips, value[3]);
    Add(results.plays, value[4]);
    Add(results.reaches, value[5]);
    Add(results.calls, value[6]);
    Add(results.tsumoPoints, value[7]);
    Add(results.tsumoCount, value[8]);
    Add(results.ronPoints, value[9]);
    Add(results.ronCount, value[10]);
    Add(results.dealInPoints, value[11]);
    Add(results.dealInCount, value[12]);
}

bool ReadResultsFile(const std::string& path, PlayerResults& results) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // Totals go into a fresh record and reach the caller only when the whole
    // file was read.
    PlayerResults totals;
    std::string buffer(std::size_t{1} << 18, '\0');
    std::size_t filled = 0;
    bool ok = true;
    for (;;) {
        if (filled == buffer.size()) buffer.resize(buffer.size() * 2);  // one very long line
        ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
        const char* data = buffer.data();
        std::size_t start = 0;
        while (const void* found = std::memchr(data + start, '\n', filled - start)) {
            std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - data);
            AddResultsLine(std::string_view(data + start, end - start), totals);
            start = end + 1;
        }
        // Keep the unfinished line for the next read.
        if (start > 0) {
            std::memmove(buffer.data(), data + start, filled - start);
            filled -= start;
        }
    }
    ::close(fd);
    if (!ok) return false;
    if (filled > 0) AddResultsLine(std::string_view(buffer.data(), filled), totals);
    results = totals;
    return true;
}

bool ReadResults(PlayerResults& results, const std::string& playerName, bool network) {
    return ReadResultsFile(ResultsPath(playerName, network), results);
}

std::vector<std::pair<std::string, std::string>> StatisticsTexts(const std::string& playerName,
                                                                 const PlayerResults& r) {
    return {
        {"PlayerName", playerName},
        {"TotalGame", Decimal(r.games)},
        {"TotalPlay", Decimal(r.plays)},
        {"TotalPoint", Decimal(r.points)},
        {"TotalTip", Decimal(r.chips)},
        {"TotalMoney", Decimal(r.Money())},
        {"First", Decimal(r.places[0])},
        {"Second", Decimal(r.places[1])},
        {"Third", Decimal(r.places[2])},
        {"Fourth", Decimal(r.places[3])},
        {"TumoCount", Decimal(r.tsumoCount)},
        {"RonCount", Decimal(r.ronCount)},
        {"FuriCount", Decimal(r.dealInCount)},
        {"ReachCount", Decimal(r.reaches)},
        {"NakiCount", Decimal(r.calls)},
        {"TumoAve", OptionalDecimal(r.TsumoAverage())},
        {"RonAve", OptionalDecimal(r.RonAverage())},
        {"FuriAve", OptionalDecimal(r.DealInAverage())},
    };
}

std::vector<std::string> YakuListLines(const PlayerResults& results) {
    constexpr std::size_t kNameWidth = 20;
    std::vector<std::string> lines;
    for (int i = 0; i < kYakuCount; ++i) {
        if (results.yaku[i] <= 0) continue;
        std::string line = YakuNames[i];
        std::size_t width = Cp932Width(line);
        if (width < kNameWidth) line.append(kNameWidth - width, ' ');
        lines.push_back(line + std::to_string(results.yaku[i]));
    }
    return lines;
}

}  // namespace zv
