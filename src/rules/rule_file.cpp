#include "rules/rule_file.h"

#include "config/codec.h"

namespace zv {

// clang-format off
const std::array<RuleKey, 20> kRuleKeys = {{
    {"tonpu", RuleControl::GameLength, "TonpuButton", "東風戦", "", "1"},
    {"nopintumo", RuleControl::Flag, "Nopintumo", "ピンヅモなし", "ツモったときは、ピンフがつかない", "0"},
    {"noakadora", RuleControl::Flag, "Noakadora", "赤ドラなし", "赤ドラをドラ扱いしない", "0"},
    {"nonakitan", RuleControl::Flag, "Nonakitan", "なきタンなし", "ないたときは、タンヤオがつかない", "0"},
    {"nokanura", RuleControl::Flag, "Nokanura", "カンウラなし", "裏ドラは一枚のみ", "0"},
    {"nofly", RuleControl::Flag, "Nofly", "飛びなし", "あがりやめなし/箱下計算あり", "0"},
    {"under", RuleControl::Flag, "Under", "箱下計算あり", "0点以下の分を0点扱いせずに計算する", "0"},
    {"nonakiaka", RuleControl::Flag, "Nonakiaka", "赤ドラは面前のみ", "ないたときは、赤ドラがつかない", "0"},
    {"noallstars", RuleControl::Flag, "NoAllStars", "オールスターなし",
     "赤ドラを3枚集めたときの御祝儀(2枚)をやめる", "0"},
    {"startpoint", RuleControl::Text, "StartPoint", "", "ゲーム開始時の持ち点", "25000"},
    {"yakuman-chip", RuleControl::Text, "Yakumanchip", "", "役満御祝儀の枚数", "2"},
    {"ippatu-chip", RuleControl::Text, "IppatuChip", "", "一発御祝儀の枚数", "1"},
    {"uradora-chip", RuleControl::Text, "UradoraChip", "", "ウラドラ御祝儀の枚数", "1"},
    {"akadora-chip", RuleControl::Text, "AkadoraChip", "", "赤ドラ御祝儀の枚数", "1"},
    {"atamahane", RuleControl::Flag, "AtamaHane", "頭ハネ", "頭ハネする", "0"},
    {"nosancyaho", RuleControl::Flag, "NoSanCyaoHo", "三家和なし", "", "0"},
    {"nokuikae", RuleControl::Flag, "Nokuikae", "喰いかえなし", "", "0"},
    {"pao", RuleControl::Flag, "pao", "包あり", "", "0"},
    {"77mangan", RuleControl::Flag, "Mangan77", "7700点満貫", "7700点を満貫とする", "0"},
    {"uma", RuleControl::Uma, "", "", "", "10-20"},
}};

const std::array<UmaChoice, 6> kUmaChoices = {{
    {"umanone", "なし", "none"},
    {"uma_5_10", "ゴットー", "5-10"},
    {"uma_1_2", "ワンツー", "10-20"},
    {"uma_1_3", "ワンスリー", "10-30"},
    {"uma_7_5_3", "シチゴサン", "7-5-3"},
    {"umashizumi", "沈みウマ", "under"},
}};
// clang-format on

std::vector<std::string> RuleTextItems(const std::string& key) {
    std::vector<std::string> items;
    if (key == "startpoint") {
        for (int points = 23000; points <= 30000; points += 1000) items.push_back(std::to_string(points));
    } else if (key.ends_with("-chip")) {
        for (int chips = 0; chips <= 9; ++chips) items.push_back(std::to_string(chips));
    }
    return items;
}

LocalRules::LocalRules() {
    for (const RuleKey& entry : kRuleKeys) {
        if (entry.control == RuleControl::Flag) flags[entry.key] = false;
        if (entry.control == RuleControl::Text) texts[entry.key] = entry.defaultValue;
    }
    uma[kDefaultUma] = true;
}

void ApplyRuleParam(LocalRules& rules, const std::string& key, const std::string& value) {
    if (key == "tonpu") {
        if (value == "1")
            rules.length = GameLength::EastOnly;
        else if (value == "0")
            rules.length = GameLength::EastSouth;
        else
            rules.length = GameLength::Unset;
        return;
    }
    if (key == "uma") {
        // The buttons are exclusive: the value checks exactly one of them.
        int chosen = kDefaultUma;
        for (std::size_t i = 0; i < kUmaChoices.size(); ++i)
            if (value == kUmaChoices[i].word) chosen = static_cast<int>(i);
        rules.uma.fill(false);
        rules.uma[chosen] = true;
        return;
    }
    if (auto flag = rules.flags.find(key); flag != rules.flags.end()) {
        flag->second = value != "0";
        return;
    }
    if (auto text = rules.texts.find(key); text != rules.texts.end()) text->second = value;
}

PersonalParams RuleParams(const LocalRules& rules) {
    PersonalParams params;
    for (const RuleKey& entry : kRuleKeys) {
        switch (entry.control) {
            case RuleControl::GameLength:
                params.emplace_back(entry.key, rules.length == GameLength::EastOnly ? "1" : "0");
                break;
            case RuleControl::Flag:
                params.emplace_back(entry.key, rules.flags.at(entry.key) ? "1" : "0");
                break;
            case RuleControl::Text:
                params.emplace_back(entry.key, rules.texts.at(entry.key));
                break;
            case RuleControl::Uma:
                for (std::size_t i = 0; i < kUmaChoices.size(); ++i)
                    if (rules.uma[i]) params.emplace_back(entry.key, kUmaChoices[i].word);
                break;
        }
    }
    return params;
}

bool IsServerRules(int gameKind) { return gameKind != kOnePlayerGame; }

std::string RulesFilePath(const std::string& userDir, int gameKind) {
    return userDir + (IsServerRules(gameKind) ? "/server.pf" : "/zelvan1.pf");
}

bool ReadRulesFile(const std::string& path, LocalRules& rules) {
    return ReadPersonalFile(
        path, [&](const std::string& key, const std::string& value) { ApplyRuleParam(rules, key, value); });
}

SaveResult WriteRulesFile(const std::string& path, const LocalRules& rules) {
    return WritePersonalFile(path, PersonalFileKind::Rules, RuleParams(rules));
}

bool IsStorableRuleText(const std::string& text) {
    if (text.find_first_of("\r\n") != std::string::npos) return false;
    return IsCp932Encodable(text);
}

}  // namespace zv
