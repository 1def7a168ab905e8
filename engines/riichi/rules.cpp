#include "rules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace zv::riichi {
namespace {

// Flags are off only for "0": an empty or any other value is on, as the rule
// editor reads them.
bool Flag(std::string_view value) { return value != "0"; }

// A plain decimal number with an optional sign and at most nine digits
// (so it never overflows). The launcher's reader accepts the same words.
bool ParseNumber(std::string_view word, int& out) {
    std::size_t i = !word.empty() && (word[0] == '-' || word[0] == '+') ? 1 : 0;
    if (i >= word.size() || word.size() > 9) return false;
    std::int64_t value = 0;
    for (std::size_t k = i; k < word.size(); ++k) {
        if (word[k] < '0' || word[k] > '9') return false;
        value = value * 10 + (word[k] - '0');
    }
    out = static_cast<int>(word[0] == '-' ? -value : value);
    return true;
}

void SetNumber(int& field, std::string_view value, int low, int high) {
    int number = 0;
    if (ParseNumber(value, number)) field = std::clamp(number, low, high);
}

struct UmaName {
    Uma uma;
    const char* word;
};
constexpr std::array<UmaName, 6> kUmaWords{{{Uma::None, "none"},
                                            {Uma::FiveTen, "5-10"},
                                            {Uma::TenTwenty, "10-20"},
                                            {Uma::TenThirty, "10-30"},
                                            {Uma::SevenFiveThree, "7-5-3"},
                                            {Uma::Under, "under"}}};

// The words of one line, split at blanks and tabs like the launcher's line
// tokenizer: a line that ends in blanks gets one final empty word.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (i < line.size() && blank(line[i])) ++i;
    while (i < line.size()) {
        std::size_t start = i;
        while (i < line.size() && !blank(line[i])) ++i;
        words.push_back(line.substr(start, i - start));
        while (i < line.size() && blank(line[i])) ++i;
        if (i == line.size() && blank(line.back())) words.emplace_back();
    }
    if (words.empty() && !line.empty()) words.emplace_back();  // blanks only
    return words;
}

}  // namespace

void ApplyRuleKey(Rules& r, std::string_view key, std::string_view value) {
    if (key == "tonpu") {
        if (value == "1")
            r.eastOnly = true;
        else if (value == "0")
            r.eastOnly = false;
    } else if (key == "nopintumo") {
        r.noPinfuTsumo = Flag(value);
    } else if (key == "noakadora") {
        r.noRedFives = Flag(value);
    } else if (key == "nonakitan") {
        r.noOpenTanyao = Flag(value);
    } else if (key == "nokanura") {
        r.noKanUra = Flag(value);
    } else if (key == "nofly") {
        r.noBustOut = Flag(value);
    } else if (key == "under") {
        r.under = Flag(value);
    } else if (key == "nonakiaka") {
        r.redFivesClosedOnly = Flag(value);
    } else if (key == "noallstars") {
        r.noAllStars = Flag(value);
    } else if (key == "startpoint") {
        SetNumber(r.startPoint, value, 1000, 1000000);
    } else if (key == "yakuman-chip") {
        SetNumber(r.yakumanChip, value, 0, 99);
    } else if (key == "ippatu-chip") {
        SetNumber(r.ippatsuChip, value, 0, 99);
    } else if (key == "uradora-chip") {
        SetNumber(r.uraDoraChip, value, 0, 99);
    } else if (key == "akadora-chip") {
        SetNumber(r.redFiveChip, value, 0, 99);
    } else if (key == "atamahane") {
        r.headBump = Flag(value);
    } else if (key == "nosancyaho") {
        r.noTripleRonDraw = Flag(value);
    } else if (key == "nokuikae") {
        r.noSwapCalling = Flag(value);
    } else if (key == "pao") {
        r.pao = Flag(value);
    } else if (key == "77mangan") {
        r.roundUpMangan = Flag(value);
    } else if (key == "uma") {
        r.uma = Uma::TenTwenty;
        for (const auto& name : kUmaWords)
            if (value == name.word) r.uma = name.uma;
    }
}

Rules RulesFromText(std::string_view text) {
    Rules rules;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        std::vector<std::string_view> words = Words(line);
        if (words.empty()) continue;
        if (words[0] == "param:") {
            // "param: key = value": the third word is not examined, as in
            // the launcher's reader.
            if (words.size() >= 2) ApplyRuleKey(rules, words[1], words.size() >= 4 ? words[3] : "");
        } else if (words[0].find(':') == std::string_view::npos) {
            ApplyRuleKey(rules, words[0], words.size() >= 2 ? words[1] : "");
        }
    }
    return rules;
}

std::string UmaWord(Uma uma) {
    for (const auto& name : kUmaWords)
        if (name.uma == uma) return name.word;
    return "10-20";
}

}  // namespace zv::riichi
