#include "format/game_rules.h"

#include <algorithm>

#include "config/file_io.h"
#include "config/nuclear.h"
#include "config/personal_file.h"
#include "config/tokenizer.h"
#include "riichi/table.h"

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

}  // namespace

bool ReadRulesFile(const std::string& path, riichi::Rules& rules) {
    return ReadPersonalFile(path, [&](const std::string& key, const std::string& value) {
        riichi::ApplyRuleKey(rules, key, value);
    });
}

std::vector<std::string> RulesSummary(const riichi::Rules& r) {
    using riichi::Uma;
    auto onOff = [](bool on) { return std::string(on ? "あり" : "なし"); };
    std::string umaName = r.uma == Uma::None             ? "なし"
                          : r.uma == Uma::FiveTen        ? "ゴットー"
                          : r.uma == Uma::TenTwenty      ? "ワンツー"
                          : r.uma == Uma::TenThirty      ? "ワンスリー"
                          : r.uma == Uma::SevenFiveThree ? "シチゴサン"
                                                         : "沈みウマ";
    return {
        std::string("荘: ") + (r.eastOnly ? "東風戦" : "東南戦"),
        "持ち点: " + std::to_string(r.startPoint),
        "ウマ: " + umaName + " (" + riichi::UmaWord(r.uma) + ")",
        "御祝儀: 役満 " + std::to_string(r.yakumanChip) + " / 一発 " + std::to_string(r.ippatsuChip) +
            " / ウラドラ " + std::to_string(r.uraDoraChip) + " / 赤ドラ " + std::to_string(r.redFiveChip),
        "赤ドラ: " + onOff(!r.noRedFives) + "  飛び: " + onOff(!r.noBustOut) +
            "  箱下計算: " + onOff(r.under),
        "喰いタン: " + onOff(!r.noOpenTanyao) + "  ピンヅモ: " + onOff(!r.noPinfuTsumo) +
            "  7700点満貫: " + onOff(r.roundUpMangan),
        "頭ハネ: " + onOff(r.headBump) + "  三家和: " + onOff(!r.noTripleRonDraw) +
            "  喰い替え: " + onOff(!r.noSwapCalling) + "  包: " + onOff(r.pao),
    };
}

const std::array<WeightKey, 19>& WeightKeys() {
    using W = players::Weights;
    static const std::array<WeightKey, 19> keys{{
        {"kyusyu", &W::kyusyu, 0, 1000}, {"random", &W::random, 0, 1000},
        {"dora", &W::dora, 0, 1000},     {"color", &W::color, 0, 1000},
        {"suji", &W::suji, 0, 1000},     {"zone", &W::zone, 0, 1000},
        {"number", &W::number, 0, 1000}, {"deep", &W::deep, -100000, 100000},
        {"reach", &W::reach, 0, 1000},   {"kan", &W::kan, 0, 1000},
        {"pon", &W::pon, 0, 1000},       {"tie", &W::tie, 0, 1000},
        {"yomi", &W::yomi, 0, 1000},     {"tsuyoki", &W::tsuyoki, -100000, 100000},
        {"chitoi", &W::chitoi, 0, 1000}, {"kokushi", &W::kokushi, 0, 1000},
        {"toitoi", &W::toitoi, 0, 1000}, {"tanyao", &W::tanyao, 0, 1000},
        {"yaku", &W::yaku, 0, 1000},
    }};
    return keys;
}

bool ReadCharacterFile(const std::string& path, CharacterStyle& style) {
    int zoneLines = 0;
    bool ok = ReadPersonalFile(path, [&](const std::string& key, const std::string& value) {
        if (key == "name") {
            style.displayName = value;
            return;
        }
        if (key == "number") return;  // not a key of the file: the second zone line is
        if (key == "zone") {
            // The first zone line is the same-tile preference and stands for
            // the number preference too until a second zone line gives that.
            if (zoneLines++ == 0) SetInt(style.zone, value, 0, 1000);
            SetInt(style.number, value, 0, 1000);
            return;
        }
        for (const WeightKey& w : WeightKeys())
            if (key == w.key) SetInt(style.*w.field, value, w.low, w.high);
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
