#include "game_rules.h"

#include <algorithm>

#include "config/file_io.h"
#include "config/nuclear.h"
#include "config/personal_file.h"
#include "config/tokenizer.h"

namespace zv::engine {
namespace {

bool IsNumber(const std::string& value) {
    std::size_t i = (!value.empty() && (value[0] == '-' || value[0] == '+')) ? 1 : 0;
    if (i >= value.size() || value.size() > 9) return false;
    return std::all_of(value.begin() + static_cast<long>(i), value.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

void SetInt(int& field, const std::string& value, int low, int high) {
    if (!IsNumber(value)) return;
    field = std::clamp(WordToInt(value), low, high);
}

// Flags are off only for "0", as the rule editor reads them.
bool Flag(const std::string& value) { return value != "0"; }

const char* kUmaWords[] = {"none", "5-10", "10-20", "10-30", "7-5-3", "under"};

}  // namespace

void ApplyRule(GameRules& r, const std::string& key, const std::string& value) {
    if (key == "tonpu") {
        if (value == "1")
            r.eastOnly = true;
        else if (value == "0")
            r.eastOnly = false;
    } else if (key == "startpoint") {
        SetInt(r.startPoint, value, 1000, 1000000);
    } else if (key == "yakuman-chip") {
        SetInt(r.yakumanChip, value, 0, 99);
    } else if (key == "ippatu-chip") {
        SetInt(r.ippatuChip, value, 0, 99);
    } else if (key == "uradora-chip") {
        SetInt(r.uradoraChip, value, 0, 99);
    } else if (key == "akadora-chip") {
        SetInt(r.akadoraChip, value, 0, 99);
    } else if (key == "uma") {
        bool known = std::find(std::begin(kUmaWords), std::end(kUmaWords), value) != std::end(kUmaWords);
        r.uma = known ? value : "10-20";
    } else if (key == "nopintumo") {
        r.noPinTumo = Flag(value);
    } else if (key == "noakadora") {
        r.noAkadora = Flag(value);
    } else if (key == "nonakitan") {
        r.noNakiTan = Flag(value);
    } else if (key == "nokanura") {
        r.noKanUra = Flag(value);
    } else if (key == "nofly") {
        r.noFly = Flag(value);
    } else if (key == "under") {
        r.under = Flag(value);
    } else if (key == "nonakiaka") {
        r.noNakiAka = Flag(value);
    } else if (key == "noallstars") {
        r.noAllStars = Flag(value);
    } else if (key == "77mangan") {
        r.mangan77 = Flag(value);
    }
}

bool ReadRulesFile(const std::string& path, GameRules& rules) {
    return ReadPersonalFile(
        path, [&](const std::string& key, const std::string& value) { ApplyRule(rules, key, value); });
}

std::vector<int> UmaForPlaces(const std::string& uma, int sinking) {
    if (uma == "5-10") return {10, 5, -5, -10};
    if (uma == "10-20") return {20, 10, -10, -20};
    if (uma == "10-30") return {30, 10, -10, -30};
    if (uma == "7-5-3" || uma == "under") {
        // Players below the start score pay the others: with 7-5-3 one such
        // player pays 7, two pay 5 each, three pay 3 each; with "under" the
        // sinking players pay 6 between them.
        if (sinking <= 0 || sinking >= 4) return {0, 0, 0, 0};
        int each = uma == "7-5-3" ? (sinking == 1 ? 7 : sinking == 2 ? 5 : 3) : 6 / sinking;
        int paid = each * sinking;
        int floating = 4 - sinking;
        std::vector<int> table(4, 0);
        for (int i = 0; i < floating; ++i) table[static_cast<std::size_t>(i)] = paid / floating;
        table[0] += paid - paid / floating * floating;  // the remainder goes to the top
        for (int i = floating; i < 4; ++i) table[static_cast<std::size_t>(i)] = -each;
        return table;
    }
    return {0, 0, 0, 0};
}

std::vector<std::string> RulesSummary(const GameRules& r) {
    auto onOff = [](bool on) { return std::string(on ? "あり" : "なし"); };
    std::string umaName = r.uma == "none"    ? "なし"
                          : r.uma == "5-10"  ? "ゴットー"
                          : r.uma == "10-20" ? "ワンツー"
                          : r.uma == "10-30" ? "ワンスリー"
                          : r.uma == "7-5-3" ? "シチゴサン"
                                             : "沈みウマ";
    return {
        std::string("荘: ") + (r.eastOnly ? "東風戦" : "東南戦"),
        "持ち点: " + std::to_string(r.startPoint),
        "ウマ: " + umaName + " (" + r.uma + ")",
        "御祝儀: 役満 " + std::to_string(r.yakumanChip) + " / 一発 " + std::to_string(r.ippatuChip) +
            " / ウラドラ " + std::to_string(r.uradoraChip) + " / 赤ドラ " + std::to_string(r.akadoraChip),
        "赤ドラ: " + onOff(!r.noAkadora) + "  飛び: " + onOff(!r.noFly) + "  箱下計算: " + onOff(r.under),
        "喰いタン: " + onOff(!r.noNakiTan) + "  ピンヅモ: " + onOff(!r.noPinTumo) +
            "  7700点満貫: " + onOff(r.mangan77),
    };
}

bool ReadCharacterFile(const std::string& path, CharacterStyle& style) {
    bool ok = ReadPersonalFile(path, [&](const std::string& key, const std::string& value) {
        if (key == "name")
            style.displayName = value;
        else if (key == "reach")
            SetInt(style.reach, value, 0, 1000);
        else if (key == "pon")
            SetInt(style.pon, value, 0, 1000);
        else if (key == "tie")
            SetInt(style.tie, value, 0, 1000);
        else if (key == "kan")
            SetInt(style.kan, value, 0, 1000);
        else if (key == "yaku")
            SetInt(style.yaku, value, 0, 1000);
        else if (key == "deep")
            SetInt(style.deep, value, -100000, 100000);
        else if (key == "yomi")
            SetInt(style.yomi, value, 0, 1000);
        else if (key == "tsuyoki")
            SetInt(style.tsuyoki, value, -100000, 100000);
        else if (key == "random")
            SetInt(style.random, value, 0, 1000);
    });
    style.found = ok;
    return ok;
}

SoundTable ReadSoundTable(const std::string& path) {
    SoundTable table;
    auto text = ReadTextFile(path);
    if (!text) return table;
    NucOpen(*text);
    while (NucNode* form = NucRead()) {
        std::string key;
        std::string value;
        NucGetString(form, 1, key);
        NucGetString(form, 2, value);
        if (key.rfind("sound_", 0) == 0) table[key] = value;
    }
    return table;
}

std::string SoundFor(const SoundTable& table, const std::string& key) {
    auto it = table.find(key);
    if (it != table.end()) return it->second;
    return key.substr(key.rfind("sound_", 0) == 0 ? 6 : 0) + ".wav";
}

}  // namespace zv::engine
