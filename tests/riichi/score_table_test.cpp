// Hands scored by hand: each row is a zvscore request with the han, fu,
// yakuman multiples, points, payments, limit and yaku it must give. The
// figures were worked out from the standard points tables (non-dealer ron:
// 30 fu 1 han 1000, 40 fu 2 han 2600, 30 fu 4 han 7700, 25 fu 2 han 1600;
// dealer ron 30 fu 4 han 11600; tsumo 20 fu 2 han 700/400, ...).
// Unless a row says otherwise the winner sits south in the east round (not
// the dealer) and wins on a discard.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "riichi/score.h"
#include "zvscore/score_command.h"

namespace zv::riichi {
namespace {

struct Row {
    const char* args;
    int han, fu, yakuman, points;
    const char* pay;    // ron: "2000"; tsumo: "dealer/others", honba included
    const char* limit;  // "" for none
    const char* yaku;   // "name=han;..." (a yakuman counts 13 per multiple)
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

Score ScoreArgs(const std::string& args, std::string* error = nullptr, WinSituation* situation = nullptr) {
    WinSituation local;
    WinSituation& win = situation ? *situation : local;
    Rules rules;
    std::string why;
    if (!ParseScoreRequest(Words(args), nullptr, win, rules, why)) {
        Score s;
        s.error = "request: " + why;
        if (error) *error = s.error;
        return s;
    }
    Score s = ScoreWin(win, rules);
    if (error) *error = s.error;
    return s;
}

void Check(const Row& row) {
    SCOPED_TRACE(row.args);
    WinSituation win;
    Score s = ScoreArgs(row.args, nullptr, &win);
    ASSERT_TRUE(s.won) << s.error;
    EXPECT_EQ(s.han, row.han);
    EXPECT_EQ(s.fu, row.fu);
    EXPECT_EQ(s.yakuman, row.yakuman);
    EXPECT_EQ(s.points, row.points);
    std::string pay = s.ronPayment > 0
                          ? std::to_string(s.ronPayment)
                          : std::to_string(s.tsumoDealerPays) + "/" + std::to_string(s.tsumoOthersPay);
    EXPECT_EQ(pay, row.pay);
    EXPECT_EQ(LimitWord(s.limit), row.limit);
    std::vector<std::string> got;
    for (const YakuScore& y : s.yaku)
        got.push_back(y.name + "=" + std::to_string(y.yakuman ? 13 * y.yakuman : y.han));
    std::vector<std::string> want = Split(row.yaku, ';');
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
    // Whatever the hand: every yaku but dora has its results digit, and
    // what the payers give adds up to the points plus honba.
    for (const YakuScore& y : s.yaku) {
        bool dora = y.name == "ドラ" || y.name == "赤ドラ" || y.name == "裏ドラ";
        EXPECT_EQ(y.statIndex < 0, dora) << y.name;
    }
    int paid = s.ronPayment > 0 ? s.ronPayment - 300 * win.honba
                                : s.tsumoDealerPays + 2 * s.tsumoOthersPay - 300 * win.honba;
    EXPECT_EQ(paid, s.points);
    EXPECT_EQ(s.total, paid + 300 * win.honba + 1000 * win.sticks);
}

void CheckAll(const std::vector<Row>& rows) {
    for (const Row& row : rows) Check(row);
}

// Fu of each wait, each kind of triplet and kan, pairs, and the reading of
// an ambiguous hand that scores best.
TEST(ScoreTableTest, FuAndWaits) {
    CheckAll({
        {"--riichi --win 2m 234567m345p678s99p", 2, 30, 0, 2000, "2000", "", "立直=1;平和=1"},
        {"--riichi --tsumo --win 2m 234567m345p678s99p", 3, 20, 0, 2700, "1300/700", "",
         "立直=1;門前清自摸和=1;平和=1"},
        {"--tsumo --win 2m 234567m345p678s99p", 2, 20, 0, 1500, "700/400", "", "門前清自摸和=1;平和=1"},
        {"--rule nopintumo --tsumo --win 2m 234567m345p678s99p", 1, 30, 0, 1100, "500/300", "",
         "門前清自摸和=1"},
        {"--seat E --tsumo --win 2m 234567m345p678s99p", 2, 20, 0, 2100, "700/700", "",
         "門前清自摸和=1;平和=1"},
        {"--win 2m 234567m345p678s55p", 2, 30, 0, 2000, "2000", "", "平和=1;断幺九=1"},
        {"--seat E --win 2m 234567m345p678s55p", 2, 30, 0, 2900, "2900", "", "平和=1;断幺九=1"},
        // Open pinfu shape: 20 fu raised to 30.
        {"--chi 234m --win 2p 567m234p678s55p", 1, 30, 0, 1000, "1000", "", "断幺九=1"},
        {"--chi 234m --tsumo --win 2p 567m234p678s55p", 1, 30, 0, 1100, "500/300", "", "断幺九=1"},
        // Kanchan, penchan, tanki: closed ron 30 + 2 = 40.
        {"--riichi --win 3m 234m567p123s789s99m", 1, 40, 0, 1300, "1300", "", "立直=1"},
        {"--riichi --win 3s 567m234p123s789s99m", 1, 40, 0, 1300, "1300", "", "立直=1"},
        {"--riichi --win 9m 234m567p123s789s99m", 1, 40, 0, 1300, "1300", "", "立直=1"},
        // Shanpon: a terminal triplet completed by ron counts open (4 fu),
        // by tsumo concealed (8 fu).
        {"--riichi --win 1p 111p234m567s789s99m", 1, 40, 0, 1300, "1300", "", "立直=1"},
        {"--riichi --tsumo --win 1p 111p234m567s789s99m", 2, 30, 0, 2000, "1000/500", "",
         "立直=1;門前清自摸和=1"},
        // 111222333m: three triplets or three equal sequences.
        {"--win 3m 111222333m456p99s", 1, 40, 0, 1300, "1300", "", "一盃口=1"},
        {"--tsumo --win 3m 111222333m456p99s", 3, 40, 0, 5200, "2600/1300", "", "門前清自摸和=1;三暗刻=2"},
        {"--riichi --win 3m 111222333m456p99s", 2, 40, 0, 2600, "2600", "", "立直=1;一盃口=1"},
        // 23444m on 4m: ryanmen (pinfu) or tanki.
        {"--win 4m 23444m567p678s234s", 2, 30, 0, 2000, "2000", "", "平和=1;断幺九=1"},
        {"--tsumo --win 4m 23444m567p678s234s", 3, 20, 0, 2700, "1300/700", "",
         "門前清自摸和=1;平和=1;断幺九=1"},
        {"--rule nopintumo --tsumo --win 4m 23444m567p678s234s", 2, 30, 0, 2000, "1000/500", "",
         "門前清自摸和=1;断幺九=1"},
        // Pairs: double wind 4 fu, one value wind or dragon 2, a guest wind none.
        {"--seat E --round E --riichi --win 2m 234567m345p678s11z", 1, 40, 0, 2000, "2000", "", "立直=1"},
        {"--round S --seat S --riichi --win 2m 234567m345p678s22z", 1, 40, 0, 1300, "1300", "", "立直=1"},
        {"--round N --seat N --riichi --win 2m 234567m345p678s44z", 1, 40, 0, 1300, "1300", "", "立直=1"},
        {"--riichi --win 2m 234567m345p678s55z", 1, 40, 0, 1300, "1300", "", "立直=1"},
        {"--riichi --win 2m 234567m345p678s44z", 2, 30, 0, 2000, "2000", "", "立直=1;平和=1"},
        {"--riichi --win 2m 234567m345p678s33z", 2, 30, 0, 2000, "2000", "", "立直=1;平和=1"},
        // Kans: closed terminal 32, open simple 8, open terminal 16, closed
        // simple 16, added honour 16, closed honour 32.
        {"--ankan 1111p --riichi --win 2m 234567m345p99s", 1, 70, 0, 2300, "2300", "", "立直=1"},
        {"--seat E --ankan 1111p --riichi --win 2m 234567m345p99s", 1, 70, 0, 3400, "3400", "", "立直=1"},
        {"--pon 777z --minkan 8888p --win 2m 234567m99s", 1, 40, 0, 1300, "1300", "", "役牌 中=1"},
        {"--minkan 9999m --pon 555z --win 2p 234567p11s", 1, 40, 0, 1300, "1300", "", "役牌 白=1"},
        {"--ankan 3333s --riichi --win 2m 234567m345p99s", 1, 50, 0, 1600, "1600", "", "立直=1"},
        {"--kakan 7777z --win 2m 234567m345p99s", 1, 40, 0, 1300, "1300", "", "役牌 中=1"},
        {"--ankan 1111z --seat E --win 2m 234567m345p99s", 2, 70, 0, 6800, "6800", "", "自風 東=1;場風 東=1"},
        {"--ankan 2222m --minkan 6666p --kakan 8888s --win 3z 345m33z", 2, 60, 0, 3900, "3900", "",
         "三槓子=2"},
        {"--ankan 1111m --ankan 9999p --minkan 1111s --win 7s 234s77s", 2, 110, 0, 7100, "7100", "",
         "三槓子=2"},
        {"--seat E --ankan 1111m --ankan 9999p --minkan 1111s --win 7s 234s77s", 2, 110, 0, 10600, "10600",
         "", "三槓子=2"},
        {"--ankan 1111m --ankan 9999p --riichi --win 2s 234s567s99m", 1, 100, 0, 3200, "3200", "", "立直=1"},
        {"--ankan 1111m --riichi --dora 8p --win 3s 123s456p567m99p", 3, 70, 0, 8000, "8000", "mangan",
         "立直=1;ドラ=2"},
    });
}

// One or more rows for every yaku.
TEST(ScoreTableTest, Yaku) {
    CheckAll({
        {"--riichi --ippatsu --tsumo --win 2m 234567m345p678s99p", 4, 20, 0, 5200, "2600/1300", "",
         "立直=1;一発=1;門前清自摸和=1;平和=1"},
        {"--double-riichi --win 2m 234567m345p678s99p", 3, 30, 0, 3900, "3900", "", "ダブル立直=2;平和=1"},
        {"--double-riichi --ippatsu --tsumo --win 2m 234567m345p678s99p", 5, 20, 0, 8000, "4000/2000",
         "mangan", "ダブル立直=2;一発=1;門前清自摸和=1;平和=1"},
        {"--win 4p 223344p567m789s55s", 2, 30, 0, 2000, "2000", "", "平和=1;一盃口=1"},
        {"--win 4p 223344p667788s55m", 5, 30, 0, 8000, "8000", "mangan", "平和=1;断幺九=1;二盃口=3"},
        {"--win 2m 234567m345p555z99s", 1, 40, 0, 1300, "1300", "", "役牌 白=1"},
        {"--pon 666z --win 2m 234567m345p99s", 1, 30, 0, 1000, "1000", "", "役牌 發=1"},
        {"--pon 777z --pon 222z --win 2m 234567m99s", 2, 30, 0, 2000, "2000", "", "役牌 中=1;自風 南=1"},
        {"--round S --seat W --pon 222z --win 2m 234567m345p99s", 1, 30, 0, 1000, "1000", "", "場風 南=1"},
        {"--round S --seat S --pon 222z --win 2m 234567m345p99s", 2, 30, 0, 2000, "2000", "",
         "自風 南=1;場風 南=1"},
        {"--seat E --pon 111z --win 2m 234567m345p99s", 2, 30, 0, 2900, "2900", "", "自風 東=1;場風 東=1"},
        {"--seat N --round W --pon 333z --win 2m 234567m345p99s", 1, 30, 0, 1000, "1000", "", "場風 西=1"},
        {"--seat W --round W --pon 333z --win 2m 234567m345p99s", 2, 30, 0, 2000, "2000", "",
         "自風 西=1;場風 西=1"},
        {"--seat N --pon 444z --win 2m 234567m345p99s", 1, 30, 0, 1000, "1000", "", "自風 北=1"},
        {"--pon 222z --win 2m 234567m345p99s", 1, 30, 0, 1000, "1000", "", "自風 南=1"},
        {"--haitei --tsumo --win 2m 234567m345p678s99p", 3, 20, 0, 2700, "1300/700", "",
         "門前清自摸和=1;平和=1;海底摸月=1"},
        {"--houtei --win 2m 234567m345p678s99p", 2, 30, 0, 2000, "2000", "", "平和=1;河底撈魚=1"},
        {"--ankan 1111z --rinshan --tsumo --win 2m 234567m345p99s", 3, 60, 0, 7900, "3900/2000", "",
         "場風 東=1;門前清自摸和=1;嶺上開花=1"},
        {"--chankan --win 2m 234567m345p678s99p", 2, 30, 0, 2000, "2000", "", "平和=1;槍槓=1"},
        {"--win 3m 123m789p123s99s111z", 3, 40, 0, 5200, "5200", "", "混全帯幺九=2;場風 東=1"},
        {"--seat E --win 3m 123m789p123s99s111z", 4, 40, 0, 12000, "12000", "mangan",
         "混全帯幺九=2;自風 東=1;場風 東=1"},
        {"--seat W --round S --win 3m 123m789p123s99s111z", 2, 40, 0, 2600, "2600", "", "混全帯幺九=2"},
        {"--chi 123m --win 9p 789p123s99s111z", 2, 30, 0, 2000, "2000", "", "混全帯幺九=1;場風 東=1"},
        {"--win 9s 123m789m123p789s11p", 4, 30, 0, 7700, "7700", "", "平和=1;純全帯幺九=3"},
        {"--chi 789m --win 9s 123m123p789s11p", 2, 30, 0, 2000, "2000", "", "純全帯幺九=2"},
        {"--win 9m 123456789m234p55s", 3, 30, 0, 3900, "3900", "", "平和=1;一気通貫=2"},
        {"--chi 123m --win 9m 456789m234p55s", 1, 30, 0, 1000, "1000", "", "一気通貫=1"},
        {"--win 4s 234m234p234s789m55p", 3, 30, 0, 3900, "3900", "", "平和=1;三色同順=2"},
        {"--chi 234m --win 4s 234p234s789m55p", 1, 30, 0, 1000, "1000", "", "三色同順=1"},
        {"--pon 222m --pon 222p --win 2s 222s456m88p", 3, 30, 0, 3900, "3900", "", "断幺九=1;三色同刻=2"},
        {"--riichi --win 2m 111m333p777s234m99s", 3, 50, 0, 6400, "6400", "", "立直=1;三暗刻=2"},
        {"--tsumo --riichi --win 2m 111m333p777s234m99s", 4, 40, 0, 8000, "4000/2000", "mangan",
         "立直=1;門前清自摸和=1;三暗刻=2"},
        {"--pon 222m --pon 888p --win 5s 555s666s99m", 2, 30, 0, 2000, "2000", "", "対々和=2"},
        {"--pon 222m --pon 888p --tsumo --win 5s 555s666s99m", 2, 40, 0, 2700, "1300/700", "", "対々和=2"},
        {"--pon 111m --pon 999p --win 1s 111s222z99s", 5, 40, 0, 8000, "8000", "mangan",
         "自風 南=1;対々和=2;混老頭=2"},
        {"--win 1m 11m99m11p99p11s99s11z", 4, 25, 0, 6400, "6400", "", "七対子=2;混老頭=2"},
        {"--win 3m 123m456p555z666z77z", 4, 50, 0, 8000, "8000", "mangan", "役牌 白=1;役牌 發=1;小三元=2"},
        {"--win 9s 22m55m77p11s33s66s99s", 2, 25, 0, 1600, "1600", "", "七対子=2"},
        {"--seat E --win 9s 22m55m77p11s33s66s99s", 2, 25, 0, 2400, "2400", "", "七対子=2"},
        {"--tsumo --win 9s 22m55m77p11s33s66s99s", 3, 25, 0, 3200, "1600/800", "", "門前清自摸和=1;七対子=2"},
        {"--seat E --tsumo --win 9s 22m55m77p11s33s66s99s", 3, 25, 0, 4800, "1600/1600", "",
         "門前清自摸和=1;七対子=2"},
        {"--riichi --tsumo --win 9s 22m55m77p11s33s66s99s", 4, 25, 0, 6400, "3200/1600", "",
         "立直=1;門前清自摸和=1;七対子=2"},
        {"--win 8s 22m55m77p22s33s66s88s", 3, 25, 0, 3200, "3200", "", "七対子=2;断幺九=1"},
        {"--seat E --win 8s 22m55m77p22s33s66s88s", 3, 25, 0, 4800, "4800", "", "七対子=2;断幺九=1"},
        {"--win 9m 123m456m789m555z11m", 6, 40, 0, 12000, "12000", "haneman",
         "役牌 白=1;一気通貫=2;混一色=3"},
        {"--seat E --win 9m 123m456m789m555z11m", 6, 40, 0, 18000, "18000", "haneman",
         "役牌 白=1;一気通貫=2;混一色=3"},
        {"--win 2m 234m678m345m99m333z", 3, 40, 0, 5200, "5200", "", "混一色=3"},
        {"--seat E --win 2m 234m678m345m99m333z", 3, 40, 0, 7700, "7700", "", "混一色=3"},
        {"--chi 678m --win 2m 234m345m99m333z", 2, 30, 0, 2000, "2000", "", "混一色=2"},
        {"--win 9p 123p456p789p234p55p", 9, 30, 0, 16000, "16000", "baiman", "平和=1;一気通貫=2;清一色=6"},
        {"--seat E --win 9p 123p456p789p234p55p", 9, 30, 0, 24000, "24000", "baiman",
         "平和=1;一気通貫=2;清一色=6"},
        {"--chi 123s --win 6s 456s444s22s888s", 5, 30, 0, 8000, "8000", "mangan", "清一色=5"},
    });
}

// Dora, red fives and ura-dora, with the rules keys that change them.
TEST(ScoreTableTest, Dora) {
    CheckAll({
        {"--riichi --dora 1m --win 2m 234567m345p678s99p", 3, 30, 0, 3900, "3900", "",
         "立直=1;平和=1;ドラ=1"},
        {"--riichi --win 2m 234067m345p678s99p", 3, 30, 0, 3900, "3900", "", "立直=1;平和=1;赤ドラ=1"},
        {"--rule noakadora --riichi --win 2m 234067m345p678s99p", 2, 30, 0, 2000, "2000", "",
         "立直=1;平和=1"},
        {"--chi 406p --win 2m 234567m678s55s", 2, 30, 0, 2000, "2000", "", "断幺九=1;赤ドラ=1"},
        {"--rule nonakiaka --chi 406p --win 2m 234567m678s55s", 1, 30, 0, 1000, "1000", "", "断幺九=1"},
        {"--rule nonakiaka --riichi --win 2m 234067m345p678s99p", 3, 30, 0, 3900, "3900", "",
         "立直=1;平和=1;赤ドラ=1"},
        {"--riichi --ura 1m --win 2m 234567m345p678s99p", 3, 30, 0, 3900, "3900", "",
         "立直=1;平和=1;裏ドラ=1"},
        {"--tsumo --ura 1m --win 2m 234567m345p678s99p", 2, 20, 0, 1500, "700/400", "",
         "門前清自摸和=1;平和=1"},
        {"--rule nokanura --riichi --ura 8p,1m --win 2m 234567m345p678s99p", 4, 30, 0, 7700, "7700", "",
         "立直=1;平和=1;裏ドラ=2"},
        {"--riichi --ura 8p,1m --win 2m 234567m345p678s99p", 5, 30, 0, 8000, "8000", "mangan",
         "立直=1;平和=1;裏ドラ=3"},
        {"--riichi --dora 9p,4z --win 2m 234567m345p678s11p", 4, 30, 0, 7700, "7700", "",
         "立直=1;平和=1;ドラ=2"},
        {"--dora 7z --pon 555z --win 2m 234567m345p99s", 4, 30, 0, 7700, "7700", "", "役牌 白=1;ドラ=3"},
        {"--dora 4z --riichi --win 2m 234567m345p678s11z", 3, 40, 0, 5200, "5200", "", "立直=1;ドラ=2"},
        {"--dora 9s --riichi --win 2m 234567m345p678s11s", 4, 30, 0, 7700, "7700", "",
         "立直=1;平和=1;ドラ=2"},
        {"--riichi --dora 1m --win 3m 234m567p123s789s99m", 2, 40, 0, 2600, "2600", "", "立直=1;ドラ=1"},
    });
}

// Every limit, counted yakuman and the 77mangan key.
TEST(ScoreTableTest, Limits) {
    CheckAll({
        {"--rule 77mangan --win 9s 123m789m123p789s11p", 4, 30, 0, 8000, "8000", "mangan",
         "平和=1;純全帯幺九=3"},
        {"--seat E --win 9s 123m789m123p789s11p", 4, 30, 0, 11600, "11600", "", "平和=1;純全帯幺九=3"},
        {"--seat E --rule 77mangan --win 9s 123m789m123p789s11p", 4, 30, 0, 12000, "12000", "mangan",
         "平和=1;純全帯幺九=3"},
        {"--rule 77mangan --ankan 1111z --rinshan --tsumo --win 2m 234567m345p99s", 3, 60, 0, 8000,
         "4000/2000", "mangan", "場風 東=1;門前清自摸和=1;嶺上開花=1"},
        {"--riichi --win 9p 112233p456p789p55p", 11, 30, 0, 24000, "24000", "sanbaiman",
         "立直=1;平和=1;一盃口=1;一気通貫=2;清一色=6"},
        {"--riichi --tsumo --win 9p 112233p456p789p55p", 12, 20, 0, 24000, "12000/6000", "sanbaiman",
         "立直=1;門前清自摸和=1;平和=1;一盃口=1;一気通貫=2;清一色=6"},
        {"--seat E --riichi --win 9p 112233p456p789p55p", 11, 30, 0, 36000, "36000", "sanbaiman",
         "立直=1;平和=1;一盃口=1;一気通貫=2;清一色=6"},
        {"--seat E --tsumo --riichi --win 9p 112233p456p789p55p", 12, 20, 0, 36000, "12000/12000",
         "sanbaiman", "立直=1;門前清自摸和=1;平和=1;一盃口=1;一気通貫=2;清一色=6"},
        {"--riichi --tsumo --dora 4p --win 9p 112233p456p789p55p", 15, 20, 1, 32000, "16000/8000", "yakuman",
         "立直=1;門前清自摸和=1;平和=1;一盃口=1;一気通貫=2;清一色=6;ドラ=3"},
    });
}

// Who pays what: dealer and non-dealer, ron and tsumo, honba and sticks.
TEST(ScoreTableTest, Payments) {
    CheckAll({
        {"--honba 2 --win 2m 234567m345p678s55p", 2, 30, 0, 2000, "2600", "", "平和=1;断幺九=1"},
        {"--honba 1 --tsumo --win 2m 234567m345p678s99p", 2, 20, 0, 1500, "800/500", "",
         "門前清自摸和=1;平和=1"},
        {"--seat E --honba 3 --tsumo --win 2m 234567m345p678s99p", 2, 20, 0, 2100, "1000/1000", "",
         "門前清自摸和=1;平和=1"},
        {"--sticks 2 --riichi --win 2m 234567m345p678s99p", 2, 30, 0, 2000, "2000", "", "立直=1;平和=1"},
        {"--chi 234m --honba 1 --sticks 1 --win 2p 567m234p678s55p", 1, 30, 0, 1000, "1300", "", "断幺九=1"},
        {"--seat E --win 4p 223344p667788s55m", 5, 30, 0, 12000, "12000", "mangan",
         "平和=1;断幺九=1;二盃口=3"},
        {"--seat E --tsumo --win 4p 223344p667788s55m", 6, 20, 0, 18000, "6000/6000", "haneman",
         "門前清自摸和=1;平和=1;断幺九=1;二盃口=3"},
        {"--tsumo --win 4p 223344p667788s55m", 6, 20, 0, 12000, "6000/3000", "haneman",
         "門前清自摸和=1;平和=1;断幺九=1;二盃口=3"},
        {"--seat E --chi 234m --win 2p 567m234p678s55p", 1, 30, 0, 1500, "1500", "", "断幺九=1"},
        {"--seat E --chi 234m --tsumo --win 2p 567m234p678s55p", 1, 30, 0, 1500, "500/500", "", "断幺九=1"},
        {"--seat E --riichi --tsumo --win 3m 234m567p123s789s99m", 2, 30, 0, 3000, "1000/1000", "",
         "立直=1;門前清自摸和=1"},
        {"--seat E --riichi --win 2m 234567m345p678s99p", 2, 30, 0, 2900, "2900", "", "立直=1;平和=1"},
        {"--seat E --riichi --tsumo --win 2m 234567m345p678s99p", 3, 20, 0, 3900, "1300/1300", "",
         "立直=1;門前清自摸和=1;平和=1"},
        {"--seat E --riichi --win 3m 234m567p123s789s99m", 1, 40, 0, 2000, "2000", "", "立直=1"},
        {"--seat E --riichi --win 1p 111p234m567s789s99m", 1, 40, 0, 2000, "2000", "", "立直=1"},
        {"--round S --riichi --win 2m 234567m345p678s99p", 2, 30, 0, 2000, "2000", "", "立直=1;平和=1"},
    });
}

// Every yakuman; double ones count twice and several add up.
TEST(ScoreTableTest, Yakuman) {
    CheckAll({
        {"--win 9m 119m19p19s1234567z", 0, 0, 1, 32000, "32000", "yakuman", "国士無双=13"},
        {"--tsumo --win 9m 119m19p19s1234567z", 0, 0, 1, 32000, "16000/8000", "yakuman", "国士無双=13"},
        {"--win 1m 119m19p19s1234567z", 0, 0, 2, 64000, "64000", "yakuman", "国士無双十三面=26"},
        {"--seat E --win 1m 119m19p19s1234567z", 0, 0, 2, 96000, "96000", "yakuman", "国士無双十三面=26"},
        {"--tsumo --win 5p 111m555p999s222z33m", 0, 0, 1, 32000, "16000/8000", "yakuman", "四暗刻=13"},
        {"--seat E --tsumo --win 5p 111m555p999s222z33m", 0, 0, 1, 48000, "16000/16000", "yakuman",
         "四暗刻=13"},
        // A ron on the shanpon wait leaves three concealed triplets.
        {"--win 5p 111m555p999s222z33m", 5, 60, 0, 8000, "8000", "mangan", "自風 南=1;三暗刻=2;対々和=2"},
        {"--win 3m 111m555p999s222z33m", 0, 0, 2, 64000, "64000", "yakuman", "四暗刻単騎=26"},
        {"--pon 555z --win 7z 666z777z234m99s", 0, 0, 1, 32000, "32000", "yakuman", "大三元=13"},
        {"--seat E --pon 555z --win 7z 666z777z234m99s", 0, 0, 1, 48000, "48000", "yakuman", "大三元=13"},
        {"--tsumo --pon 555z --win 7z 666z777z234m99s", 0, 0, 1, 32000, "16000/8000", "yakuman", "大三元=13"},
        {"--pon 111z --win 4z 222z333z44z567m", 0, 0, 1, 32000, "32000", "yakuman", "小四喜=13"},
        {"--pon 111z --pon 222z --win 4z 333z444z99m", 0, 0, 2, 64000, "64000", "yakuman", "大四喜=26"},
        {"--win 7z 111z222z555z666z77z", 0, 0, 3, 96000, "96000", "yakuman", "字一色=13;四暗刻単騎=26"},
        {"--seat E --tsumo --win 7z 111z222z555z666z77z", 0, 0, 3, 144000, "48000/48000", "yakuman",
         "字一色=13;四暗刻単騎=26"},
        {"--pon 111z --win 7z 222z555z666z77z", 0, 0, 1, 32000, "32000", "yakuman", "字一色=13"},
        {"--win 7z 11z22z33z44z55z66z77z", 0, 0, 1, 32000, "32000", "yakuman", "字一色=13"},
        {"--pon 666z --win 8s 234s234s666s88s", 0, 0, 1, 32000, "32000", "yakuman", "緑一色=13"},
        {"--win 6s 222333444s666s88s", 0, 0, 1, 32000, "32000", "yakuman", "緑一色=13"},
        {"--pon 111m --win 9s 999m111p99s111s", 0, 0, 1, 32000, "32000", "yakuman", "清老頭=13"},
        {"--ankan 1111m --minkan 2222p --kakan 3333s --minkan 4444z --win 5m 55m", 0, 0, 1, 32000, "32000",
         "yakuman", "四槓子=13"},
        {"--win 5m 11123455678999m", 0, 0, 2, 64000, "64000", "yakuman", "純正九蓮宝燈=26"},
        {"--win 9m 11123455678999m", 0, 0, 1, 32000, "32000", "yakuman", "九蓮宝燈=13"},
        {"--seat E --tenhou --tsumo --win 2m 234567m345p678s99p", 0, 0, 1, 48000, "16000/16000", "yakuman",
         "天和=13"},
        {"--chiihou --tsumo --win 2m 234567m345p678s99p", 0, 0, 1, 32000, "16000/8000", "yakuman", "地和=13"},
    });
}

// Requests that do not score: a clear one-line reason each.
TEST(ScoreTableTest, Refusals) {
    struct Bad {
        const char* args;
        const char* error;  // part of the message
    };
    const Bad bad[] = {
        {"--win 1m 123x456m", "bad tiles"},
        {"--win 1m 11111m234p567s99s", "fifth"},
        {"--pon 111m --win 1m 11m234p567s99s234s", "fifth"},
        {"--pon 555m --win 5m 55m234p567s99s", "fourth plain five"},
        {"--win 8m 234567m345p678s99p", "not in the hand"},
        {"--win 0m 234567m345p678s99p", "not in the hand"},
        {"--win 2m 234567m345p678s19p", "not a winning hand"},
        {"--win 3m 234m567p123s789s99m", "no yaku"},
        {"--dora 1m --win 3m 234m567p123s789s99m", "no yaku"},
        {"--rule nonakitan --chi 234m --win 2p 567m234p678s55p", "no yaku"},
        {"--bogus --win 2m 234567m345p678s99p", "unknown option"},
        {"234567m345p678s99p", "--win is required"},
        {"--win 2m", "no hand"},
        {"--win 2m 234567m345p678s9p", "13 concealed tiles"},
        {"--pon 777z --win 2m 234567m345p678s99p", "11 expected"},
        {"--seat X --win 2m 234567m345p678s99p", "E, S, W or N"},
        {"--honba x --win 2m 234567m345p678s99p", "number"},
        {"--sticks -1 --win 2m 234567m345p678s99p", "number"},
        {"234567m345p678s99p --win", "needs a value"},
        {"--chi 124m --win 2m 234567m345p99s", "not a sequence"},
        {"--pon 12m --win 2m 234567m345p99s", "takes 3 tiles"},
        {"--ankan 111m --win 2m 234567m345p99s", "takes 4 tiles"},
        {"--win 22m 234567m345p678s99p", "one tile"},
        {"--rules /nonexistent --win 2m 234567m345p678s99p", "cannot read"},
        {"--win 2m 234567m345p678s99p 123m", "more than one hand"},
        {"--tsumo=1 --win 2m 234567m345p678s99p", "takes no value"},
        {"--riichi --chi 234m --win 2p 567m234p678s55p", "closed hand"},
        {"--tenhou --tsumo --win 2m 234567m345p678s99p", "dealer"},
        {"--seat E --chiihou --tsumo --win 2m 234567m345p678s99p", "dealer"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.args);
        std::string error;
        Score s = ScoreArgs(b.args, &error);
        EXPECT_FALSE(s.won);
        EXPECT_NE(error.find(b.error), std::string::npos) << error;
    }
}

// The fields the table reads besides the points: liability, the counted
// dora, the dealer flag and the total with sticks.
TEST(ScoreTableTest, LiabilityDoraCountsAndTotal) {
    Score s = ScoreArgs("--pon 555z --win 7z 666z777z234m99s");
    EXPECT_EQ(s.paoDragonsYakuman, 1);
    EXPECT_EQ(s.paoWindsYakuman, 0);
    s = ScoreArgs("--pon 111z --pon 222z --win 4z 333z444z99m");
    EXPECT_EQ(s.paoWindsYakuman, 2);
    s = ScoreArgs("--ankan 1111m --minkan 2222p --kakan 3333s --minkan 4444z --win 5m 55m");
    EXPECT_EQ(s.paoKansYakuman, 1);
    EXPECT_EQ(s.paoDragonsYakuman, 0);

    s = ScoreArgs("--riichi --dora 4m --ura 1m --win 2m 234067m345p678s99p");
    EXPECT_EQ(s.dora, 1);
    EXPECT_EQ(s.redFives, 1);
    EXPECT_EQ(s.uraDora, 1);

    s = ScoreArgs("--seat E --sticks 2 --honba 1 --tsumo --win 2m 234567m345p678s99p");
    EXPECT_TRUE(s.dealer);
    EXPECT_EQ(s.total, 3 * 800 + 2000);
    s = ScoreArgs("--sticks 3 --honba 2 --win 2m 234567m345p678s55p");
    EXPECT_FALSE(s.dealer);
    EXPECT_EQ(s.total, 2600 + 3000);
}

// What each payer hands over, rounded up to 100, with the honba counters.
TEST(ScoreTableTest, PaymentsOfEachPayer) {
    // 30 fu 4 han: base 1920.
    EXPECT_EQ(Payment(1920, false, Payer::Discarder), 7700);
    EXPECT_EQ(Payment(1920, true, Payer::Discarder), 11600);
    EXPECT_EQ(Payment(1920, false, Payer::Dealer), 3900);
    EXPECT_EQ(Payment(1920, false, Payer::NonDealer), 2000);
    EXPECT_EQ(Payment(1920, true, Payer::NonDealer), 3900);
    EXPECT_EQ(Payment(1920, false, Payer::Discarder, 2), 7700 + 600);
    EXPECT_EQ(Payment(1920, false, Payer::NonDealer, 2), 2000 + 200);
    EXPECT_EQ(Payment(kManganBase, true, Payer::Discarder), 12000);
    EXPECT_EQ(Payment(2 * kYakumanBase, false, Payer::Dealer, 1), 32000 + 100);
}

// The results digits of the yaku the statistics count.
TEST(ScoreTableTest, ResultsDigits) {
    auto digits = [](const std::string& args) {
        std::vector<int> d;
        for (const YakuScore& y : ScoreArgs(args).yaku) d.push_back(y.statIndex);
        std::sort(d.begin(), d.end());
        return d;
    };
    EXPECT_EQ(digits("--riichi --ippatsu --tsumo --win 2m 234567m345p678s55p"),
              (std::vector<int>{16, 17, 18, 19, 20}));
    EXPECT_EQ(digits("--double-riichi --win 4p 223344p567m789s55s"), (std::vector<int>{15, 19, 21}));
    EXPECT_EQ(digits("--win 9m 123m456m789m555z11m"), (std::vector<int>{25, 34, 44}));
    EXPECT_EQ(digits("--chi 123m --win 9m 456789m234p55s"), (std::vector<int>{31}));
    EXPECT_EQ(digits("--win 4s 234m234p234s789m55p"), (std::vector<int>{19, 33}));
    EXPECT_EQ(digits("--chi 234m --win 4s 234p234s789m55p"), (std::vector<int>{30}));
    EXPECT_EQ(digits("--win 9p 123p456p789p234p55p"), (std::vector<int>{19, 34, 48}));
    EXPECT_EQ(digits("--chi 123s --win 6s 456s444s22s888s"), (std::vector<int>{47}));
    EXPECT_EQ(digits("--win 1m 11m99m11p99p11s99s11z"), (std::vector<int>{40, 49}));
    EXPECT_EQ(digits("--win 5m 11123455678999m"), (std::vector<int>{9}));
    EXPECT_EQ(digits("--win 7z 111z222z555z666z77z"), (std::vector<int>{3, 7}));
    EXPECT_EQ(digits("--dora 1m --riichi --win 2m 234567m345p678s99p"), (std::vector<int>{-1, 16, 19}));
}

}  // namespace
}  // namespace zv::riichi
