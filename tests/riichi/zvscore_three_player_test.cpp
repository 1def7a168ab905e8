// The zvscore command with three players: payments of the two payers of a
// self-draw with and without tsumo loss, norths set aside as dora, and the
// tiles and seats the three-player game does not have. Every figure of the
// table is worked out by hand in its comment.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "zvscore/score_command.h"

namespace zv::riichi {
namespace {

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

CommandOutput Command(const std::string& args, const RulesReader& reader = nullptr) {
    return RunScoreCommand(Words(args), reader);
}

// The number after `"key":` in a JSON line, -1 when missing.
int Field(const std::string& json, const std::string& key) {
    auto at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return -1;
    return std::stoi(json.substr(at + key.size() + 3));
}

// Closed riichi, self-drawn, a concealed white triplet, the 2p drawn to a
// 3-4p side wait: riichi + tsumo + white = 3 han; 20 fu + 2 (self-draw) + 8
// (concealed honour triplet) = 30 fu.
constexpr const char* kHand = "--riichi --tsumo --win 2p 234p567s789s99m555z";
// The same hand open (white called) and won on a discard: white 1 han;
// 20 fu + 4 (open honour triplet) = 24, rounded up to 30 fu.
constexpr const char* kOpenRon = "--pon 555z --win 2p 234p567s789s99m";

struct Row {
    const char* what;
    std::string args;
    int han, fu;
    int dealerPays, othersPay;  // self-draw: each payer; -1 for a ron
    int ron;                    // ron payment, -1 for a self-draw
    int points;
};

TEST(ZvscoreThreePlayers, PaymentsWorkedOutByHand) {
    const std::string three = "--players 3 ";
    const std::string noLoss = "--players 3 --rule tumozon=0 ";
    const std::string hand = kHand;
    const Row rows[] = {
        // 30 fu 3 han: base 30 * 2^5 = 960. The dealer pays 2 * 960 = 1920
        // -> 2000, the other non-dealer 960 -> 1000; the absent seat's 1000
        // is lost: 3000 in all.
        {"non-dealer tsumo, tsumo loss", three + hand, 3, 30, 2000, 1000, -1, 3000},
        // Without the loss each payer adds half the absent 1000 (500):
        // 2500 and 1500, 4000 in all (as with four players).
        {"non-dealer tsumo, no tsumo loss", noLoss + hand, 3, 30, 2500, 1500, -1, 4000},
        // The dealer wins: each of the two pays 2 * 960 -> 2000, 4000 in all.
        {"dealer tsumo, tsumo loss", three + "--seat E " + hand, 3, 30, 2000, 2000, -1, 4000},
        // ... and each adds half the absent 2000: 3000 each, 6000 in all.
        {"dealer tsumo, no tsumo loss", noLoss + "--seat E " + hand, 3, 30, 3000, 3000, -1, 6000},
        // One honba: 100 from each payer with the loss, 150 without (the
        // absent third shared). Points stay without honba.
        {"honba, tsumo loss", three + "--honba 1 " + hand, 3, 30, 2100, 1100, -1, 3000},
        {"honba, no tsumo loss", noLoss + "--honba 1 " + hand, 3, 30, 2650, 1650, -1, 4000},
        // Two norths set aside: 3 + 2 = 5 han, a mangan (base 2000): the
        // dealer pays 4000, the other 2000; without the loss 4000 + 1000 and
        // 2000 + 1000 (half the absent 2000).
        {"mangan tsumo, tsumo loss", three + "--nuki 2 " + hand, 5, 30, 4000, 2000, -1, 6000},
        {"mangan tsumo, no tsumo loss", noLoss + "--nuki 2 " + hand, 5, 30, 5000, 3000, -1, 8000},
        // Ron: white 1 han 30 fu, base 240, the discarder pays 4 * 240 = 960
        // -> 1000; ron payments do not change with three players.
        {"open ron", three + kOpenRon, 1, 30, -1, -1, 1000, 1000},
        // Two norths make it 3 han: base 960, 4 * 960 = 3840 -> 3900.
        {"open ron with two norths", three + "--nuki 2 " + kOpenRon, 3, 30, -1, -1, 3900, 3900},
        // A closed ron of kHand: riichi + white 2 han; 20 + 10 (closed ron)
        // + 8 = 38 -> 40 fu, base 640, 4 * 640 = 2560 -> 2600.
        {"closed ron", three + "--riichi --win 2p 234p567s789s99m555z", 2, 40, -1, -1, 2600, 2600},
    };
    for (const Row& row : rows) {
        auto r = Command(row.args);
        ASSERT_EQ(r.exitCode, 0) << row.what << ": " << r.err;
        EXPECT_EQ(Field(r.out, "han"), row.han) << row.what;
        EXPECT_EQ(Field(r.out, "fu"), row.fu) << row.what;
        EXPECT_EQ(Field(r.out, "dealer"), row.dealerPays) << row.what;
        EXPECT_EQ(Field(r.out, "others"), row.othersPay) << row.what;
        EXPECT_EQ(Field(r.out, "ron"), row.ron) << row.what;
        EXPECT_EQ(Field(r.out, "points"), row.points) << row.what;
    }
}

TEST(ZvscoreThreePlayers, NorthsAreListedAsTheirOwnDora) {
    auto r = Command("--players 3 --nuki 2 " + std::string(kOpenRon));
    EXPECT_NE(r.out.find("{\"name\":\"抜きドラ\",\"han\":2}"), std::string::npos) << r.out;
    // With three players a 9m indicator points at 1m; the north set aside
    // is a dora of its own, the pair of norths held is not.
    auto held =
        Command("--players 3 --nuki 1 --dora 9m --seat W --tsumo --riichi --win 1m 111m234p567s789s44z");
    ASSERT_EQ(held.exitCode, 0) << held.err;
    // riichi + tsumo 2 han, 1m dora x3 (9m points at 1m), one north: 6 han.
    EXPECT_EQ(Field(held.out, "han"), 6) << held.out;
}

TEST(ZvscoreThreePlayers, TheRulesFileDecidesTsumoLossAndThePlayers) {
    auto reader = [](const std::string& path) -> std::optional<std::string> {
        if (path == "sanma.pf") return std::string("param: sanma = 1\r\nparam: tumozon = 0\r\n");
        return std::nullopt;
    };
    auto file = Command("--rules sanma.pf " + std::string(kHand), reader);
    ASSERT_EQ(file.exitCode, 0) << file.err;
    EXPECT_EQ(Field(file.out, "dealer"), 2500);  // three players without the loss
    EXPECT_EQ(Field(file.out, "others"), 1500);
    // --players wins over the file's key wherever it stands.
    auto four = Command("--players 4 --rules sanma.pf " + std::string(kHand), reader);
    EXPECT_EQ(Field(four.out, "others"), 1000) << four.err;
    EXPECT_EQ(Field(four.out, "points"), 4000);
}

TEST(ZvscoreThreePlayers, RefusesWhatThreePlayersDoNotHave) {
    const char* bad[] = {
        "--players 3 --riichi --tsumo --win 2m 234m567s789s99m555z",            // 2m-8m in the hand
        "--players 3 --chi 345m --win 2p 234p789s99m555z",                      // ... in a meld
        "--players 3 --dora 5m --riichi --tsumo --win 2p 234p567s789s99m555z",  // ... as an indicator
        "--players 3 --riichi --tsumo --win 5m 234p567s789s99m555z",            // ... as the winning tile
        "--nuki 1 --riichi --tsumo --win 2p 234p567s789s99m555z",  // norths without three players
        "--players 3 --nuki 5 --riichi --tsumo --win 2p 234p567s789s99m555z",
        "--players 3 --nuki x --riichi --tsumo --win 2p 234p567s789s99m555z",
        "--players 3 --nuki 2 --riichi --tsumo --win 2p 234p567s789s99m444z",  // five norths
        "--players 3 --seat N --riichi --tsumo --win 2p 234p567s789s99m555z",
        "--players 2 --riichi --tsumo --win 2p 234p567s789s99m555z",
        "--players",
    };
    for (const char* args : bad) {
        auto r = Command(args);
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
    EXPECT_EQ(Command(bad[0]).err,
              "zvscore: 2m-8m are not played with three players: 2m in \"234m567s789s99m555z\"\n");
}

}  // namespace
}  // namespace zv::riichi
