#include "rules/character_file.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/codec.h"
#include "config/message_dialogs.h"
#include "config/personal_file.h"
#include "config/tokenizer.h"
#include "config/user_identity.h"
#include "platform/env.h"

namespace zv {
namespace {

constexpr std::array<CharacterParam, kCharacterParamCount> kParams = {{
    {"kyusyu", "Kyusyu", 1, "九種九牌のとき、九種九牌を宣言する", "", 700, true},
    {"random", "Random", 1, "ランダムな値", "ランダムな値の影響する度合い", 50, true},
    {"dora", "PreferDora", 1, "ドラ牌を選好する", "", 100, true},
    {"color", "PreferColor", 1, "牌の色の偏り方", "", 300, true},
    {"suji", "PreferSuji", 1, "筋牌の偏り方", "", 100, true},
    {"zone", "SamePrefer", 1, "同じ牌の偏り方", "", 300, true},
    {"deep", "SyantenPrefer", 1, "シャンテン数の減少を選好する", "通常はｼｬﾝﾃﾝ数がすくなるなる方がベターです",
     500, false},
    {"reach", "ReachRate", 2, "テンぱったときのリーチ率", "", 700, true},
    {"kan", "KanRate", 2, "カンをする確率の初期値", "", 0, true},
    {"pon", "PonRate", 2, "ポンする確率の初期値", "", 50, true},
    {"tie", "TieRate", 2, "チーする確率の初期値", "", 200, true},
    {"yomi", "YomiRate", 2, "現物牌、危険牌の読み", "現物牌危険牌を考慮する度合い", 500, true},
    {"zone", "NumberPrefer", 2, "数字の偏り方", "同じ数字、近くの数字を好む", 300, true},
    {"tsuyoki", "Tsuyoki", 2, "強気", "", 200, false},
    {"chitoi", "PreferChitoi", 3, "チートイを選好する", "", 0, true},
    {"kokushi", "PreferKokushi", 3, "国士無双を選好する", "", 700, true},
    {"toitoi", "PreferToitoi", 3, "トイトイを選好する", "", 1000, true},
    {"tanyao", "PreferTanyao", 3, "タンヤオを選好する", "", 1000, true},
    {"yaku", "PreferYaku", 3, "役づくりをする", "", 1000, true},
}};

// Written before and again after the tile weights.
constexpr const char* kHandShapes[] = {"PreferYaku", "PreferChitoi", "PreferKokushi", "PreferToitoi",
                                       "PreferTanyao"};
constexpr const char* kHandShapesAgain[] = {"PreferChitoi", "PreferKokushi", "PreferToitoi", "PreferTanyao",
                                            "PreferYaku"};
constexpr const char* kMiddle[] = {"Kyusyu",     "Random",        "PreferDora",   "PreferColor", "PreferSuji",
                                   "SamePrefer", "SyantenPrefer", "ReachRate",    "KanRate",     "PonRate",
                                   "TieRate",    "YomiRate",      "NumberPrefer", "Tsuyoki"};

// Indices of the entries by control name and by file key ("zone" names two).
struct ParamIndex {
    std::unordered_map<std::string_view, std::size_t> byControl;
    std::unordered_map<std::string_view, std::vector<std::size_t>> byKey;
};

const ParamIndex& Index() {
    static const ParamIndex index = [] {
        ParamIndex made;
        for (std::size_t i = 0; i < kParams.size(); ++i) {
            made.byControl.emplace(kParams[i].control, i);
            made.byKey[kParams[i].key].push_back(i);
        }
        return made;
    }();
    return index;
}

std::optional<std::size_t> FindControl(std::string_view control) {
    auto found = Index().byControl.find(control);
    if (found == Index().byControl.end()) return std::nullopt;
    return found->second;
}

std::size_t IndexOf(const char* control) { return FindControl(control).value_or(0); }

// The entries in the order they are written.
const std::vector<std::size_t>& WriteOrder() {
    static const std::vector<std::size_t> order = [] {
        std::vector<std::size_t> made;
        for (const char* control : kHandShapes) made.push_back(IndexOf(control));
        for (const char* control : kMiddle) made.push_back(IndexOf(control));
        for (const char* control : kHandShapesAgain) made.push_back(IndexOf(control));
        return made;
    }();
    return order;
}

}  // namespace

const std::array<CharacterParam, kCharacterParamCount>& CharacterParams() { return kParams; }

std::optional<std::size_t> CharacterParamIndex(const std::string& control) { return FindControl(control); }

std::int32_t ClampCharacterValue(const CharacterParam& param, std::int32_t value) {
    if (!param.bounded) return value;
    return std::clamp(value, kCharacterMin, kCharacterMax);
}

std::int32_t& CharacterValues::operator[](const char* control) { return weights[IndexOf(control)]; }
std::int32_t CharacterValues::operator[](const char* control) const { return weights[IndexOf(control)]; }

CharacterValues DefaultCharacterValues(const std::string& characterName) {
    CharacterValues values;
    for (std::size_t i = 0; i < kParams.size(); ++i) values.weights[i] = kParams[i].defaultValue;
    values.displayName = characterName;
    return values;
}

std::string CharacterDir(const std::string& installDir, const std::string& name) {
    return installDir + "usr/" + name;
}

std::string CharacterFilePath(const std::string& installDir, const std::string& name) {
    return CharacterDir(installDir, name) + "/" + name + ".pf";
}

void ApplyCharacterParam(CharacterValues& values, const std::string& key, const std::string& value) {
    if (key == "name") {
        values.displayName = value;
        return;
    }
    if (key == "noisy") {
        std::int32_t flag = WordToInt(value);
        if (flag == 1) values.noisy = true;
        if (flag == 0) values.noisy = false;
        return;
    }
    // Every entry with this key takes the value: "zone" sets both of its fields.
    auto found = Index().byKey.find(key);
    if (found == Index().byKey.end()) return;
    for (std::size_t i : found->second) values.weights[i] = ClampCharacterValue(kParams[i], WordToInt(value));
}

std::vector<std::pair<std::string, std::string>> CharacterFileParams(const CharacterValues& values) {
    std::vector<std::pair<std::string, std::string>> lines;
    lines.reserve(WriteOrder().size() + 2);
    for (std::size_t i : WriteOrder()) lines.emplace_back(kParams[i].key, std::to_string(values.weights[i]));
    lines.emplace_back("noisy", values.noisy ? "1" : "0");
    if (!values.displayName.empty()) lines.emplace_back("name", values.displayName);
    return lines;
}

SaveResult SaveCharacterFile(const std::string& path, const CharacterValues& values) {
    return WritePersonalFile(path, PersonalFileKind::Character, CharacterFileParams(values));
}

bool LoadCharacterFile(const std::string& path, CharacterValues& values, MessageDialogs& dialogs) {
    if (IsDirectory(path) || !CurrentEnv().OpenForReading(path)) {
        dialogs.ShowErrorDialog(path, "ファイルをオープンできません", "ファイルがみつかりません");
        return false;
    }
    // A text file never holds NUL bytes; one that does is not a character file.
    auto bytes = ReadWholeFile(path);
    if (!bytes || bytes->find('\0') != std::string::npos) {
        dialogs.ShowErrorDialog(path, "ファイルの読み込み時にエラーです", "ファイルが壊れています");
        return false;
    }
    CharacterValues read = values;
    LineSource source(FromCp932(*bytes));
    while (!source.AtEnd()) {
        ReadTokenLine(source);
        if (Token(1) == "param:") ApplyCharacterParam(read, Token(2), Token(4));
    }
    values = std::move(read);
    return true;
}

}  // namespace zv
