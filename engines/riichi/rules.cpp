#include "riichi/rules.h"

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

const std::array<RuleKey, 20>& RuleKeys() {
    using K = RuleKind;
    using R = Rules;
    static const std::array<RuleKey, 20> keys{{
        {"tonpu", K::Switch, &R::eastOnly},
        {"startpoint", K::Number, nullptr, &R::startPoint, 1000, 1000000},
        {"yakuman-chip", K::Number, nullptr, &R::yakumanChip, 0, 99},
        {"ippatu-chip", K::Number, nullptr, &R::ippatsuChip, 0, 99},
        {"uradora-chip", K::Number, nullptr, &R::uraDoraChip, 0, 99},
        {"akadora-chip", K::Number, nullptr, &R::redFiveChip, 0, 99},
        {"uma", K::Uma},
        {"nopintumo", K::Flag, &R::noPinfuTsumo},
        {"noakadora", K::Flag, &R::noRedFives},
        {"nonakitan", K::Flag, &R::noOpenTanyao},
        {"nokanura", K::Flag, &R::noKanUra},
        {"nofly", K::Flag, &R::noBustOut},
        {"under", K::Flag, &R::under},
        {"nonakiaka", K::Flag, &R::redFivesClosedOnly},
        {"noallstars", K::Flag, &R::noAllStars},
        {"77mangan", K::Flag, &R::roundUpMangan},
        {"atamahane", K::Flag, &R::headBump},
        {"nosancyaho", K::Flag, &R::noTripleRonDraw},
        {"nokuikae", K::Flag, &R::noSwapCalling},
        {"pao", K::Flag, &R::pao},
    }};
    return keys;
}

const std::array<RuleKey, 3>& ThreePlayerRuleKeys() {
    using K = RuleKind;
    using R = Rules;
    static const std::array<RuleKey, 3> keys{{
        {"sanma", K::Flag, &R::threePlayer},
        {"tumozon", K::Switch, &R::tsumoLoss},
        {"returnpoint", K::Number, nullptr, &R::returnPoint, 0, 1000000},
    }};
    return keys;
}

Rules ThreePlayerRules(Rules rules) {
    rules.threePlayer = true;
    rules.startPoint = 35000;
    rules.returnPoint = 40000;
    return rules;
}

std::string RuleValue(const Rules& rules, const RuleKey& key) {
    switch (key.kind) {
        case RuleKind::Flag:
        case RuleKind::Switch:
            return rules.*key.flag ? "1" : "0";
        case RuleKind::Number:
            return std::to_string(rules.*key.number);
        case RuleKind::Uma:
            break;
    }
    return UmaWord(rules.uma);
}

namespace {

const RuleKey* FindKey(std::string_view key) {
    for (const RuleKey& k : RuleKeys())
        if (key == k.key) return &k;
    for (const RuleKey& k : ThreePlayerRuleKeys())
        if (key == k.key) return &k;
    return nullptr;
}

}  // namespace

void ApplyRuleKey(Rules& r, std::string_view key, std::string_view value) {
    if (const RuleKey* found = FindKey(key)) {
        const RuleKey& k = *found;
        switch (k.kind) {
            case RuleKind::Flag:
                r.*k.flag = Flag(value);
                break;
            case RuleKind::Switch:
                if (value == "1" || value == "0") r.*k.flag = value == "1";
                break;
            case RuleKind::Number:
                SetNumber(r.*k.number, value, k.low, k.high);
                break;
            case RuleKind::Uma:
                r.uma = Uma::TenTwenty;
                for (const auto& name : kUmaWords)
                    if (value == name.word) r.uma = name.uma;
                break;
        }
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
