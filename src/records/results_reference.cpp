#include "records/results_reference.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "config/tokenizer.h"

namespace zv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Totals are 32-bit counters that wrap around.
void Add(std::int32_t& total, std::int32_t value) {
    total = static_cast<std::int32_t>(static_cast<std::uint32_t>(total) + static_cast<std::uint32_t>(value));
}

// The runs of anything but blanks and tabs.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// "result: place points chips plays reaches calls tsumo-points tsumo-count
// ron-points ron-count deal-in-points deal-in-count"; a missing word is 0.
void AddResultWords(const std::vector<std::string_view>& words, PlayerResults& results) {
    auto number = [&words](std::size_t i) { return i < words.size() ? WordToInt(words[i]) : 0; };
    Add(results.games, 1);
    const std::int32_t place = number(1);
    if (place >= 1 && place <= 4) Add(results.places[place - 1], 1);
    std::int32_t* const fields[] = {&results.points,       &results.chips,      &results.plays,
                                    &results.reaches,      &results.calls,      &results.tsumoPoints,
                                    &results.tsumoCount,   &results.ronPoints,  &results.ronCount,
                                    &results.dealInPoints, &results.dealInCount};
    for (std::size_t k = 0; k < std::size(fields); ++k) Add(*fields[k], number(2 + k));
}

// "yaku: <60 digits>"; any other second word counts nothing.
void AddYakuWords(const std::vector<std::string_view>& words, PlayerResults& results) {
    if (words.size() < 2) return;
    const std::string_view digits = words[1];
    if (digits.size() != kYakuCount || !std::all_of(digits.begin(), digits.end(), IsDigit)) return;
    for (int k = 0; k < kYakuCount; ++k) Add(results.yaku[k], digits[k] - '0');
}

void AddLine(std::string_view line, PlayerResults& results) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) return;
    if (words[0] == "result:") AddResultWords(words, results);
    if (words[0] == "yaku:") AddYakuWords(words, results);
}

}  // namespace

PlayerResults ReferenceResults(std::string_view text) {
    PlayerResults results;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        AddLine(text.substr(0, end), results);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return results;
}

}  // namespace zv
