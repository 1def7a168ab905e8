// The zvscore command as a whole: its JSON line, --help, --shanten, the
// rules file and the way bad input is refused (exit 1, one line on standard
// error, nothing on standard output). Then the three-player game: payments of
// the two payers of a self-draw with and without tsumo loss, norths set aside
// as dora, and the tiles and seats that game does not have; every figure of
// its table is worked out by hand in its comment.
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

TEST(ZvscoreTest, PrintsOneJsonLine) {
    auto r = Command("--riichi --tsumo --dora 1m --win 2m 234067m345p678s99p");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(
        r.out,
        "{\"han\":5,\"fu\":20,\"yakuman\":0,\"points\":8000,\"payments\":{\"dealer\":4000,\"others\":2000},"
        "\"yaku\":[{\"name\":\"立直\",\"han\":1},{\"name\":\"門前清自摸和\",\"han\":1},{\"name\":\"平和\","
        "\"han\":1},{\"name\":\"ドラ\",\"han\":1},{\"name\":\"赤ドラ\",\"han\":1}],\"limit\":\"mangan\"}\n");

    r = Command("--chi 234m --honba 1 --win 2p 567m234p678s55p");
    EXPECT_EQ(r.out,
              "{\"han\":1,\"fu\":30,\"yakuman\":0,\"points\":1000,\"payments\":{\"ron\":1300},"
              "\"yaku\":[{\"name\":\"断幺九\",\"han\":1}],\"limit\":null}\n");

    // A dealer's tsumo: every payer pays the same, written as dealer and others.
    r = Command("--seat E --tsumo --win 1m 119m19p19s1234567z");
    EXPECT_EQ(
        r.out,
        "{\"han\":0,\"fu\":0,\"yakuman\":2,\"points\":96000,\"payments\":{\"dealer\":32000,\"others\":32000},"
        "\"yaku\":[{\"name\":\"国士無双十三面\",\"han\":26}],\"limit\":\"yakuman\"}\n");
}

TEST(ZvscoreTest, OptionsTakeInlineValuesAndRepeat) {
    auto a = Command("--seat=E --dora=1m,2m --win=2m 234567m345p678s99p");
    auto b = Command("--seat E --dora 1m --dora 2m --win 2m 234567m345p678s99p");
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out.find("\"ドラ\",\"han\":2"), std::string::npos) << a.out;
}

TEST(ZvscoreTest, HelpAndShanten) {
    auto r = Command("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("usage: zvscore", 0), 0u);
    EXPECT_EQ(Command("--shanten 123m456p789s1122z").out, "0\n");
    EXPECT_EQ(Command("--shanten 123m456p789s11222z").out, "-1\n");
    EXPECT_EQ(Command("--shanten 19m19p19s1234567z").out, "0\n");
    EXPECT_EQ(Command("--shanten 11223344556m78p").out, "1\n");
    EXPECT_EQ(Command("--shanten 123m").exitCode, 1);
    EXPECT_EQ(Command("--shanten").exitCode, 1);
}

TEST(ZvscoreTest, ReadsTheRulesFileThroughTheReader) {
    std::string asked;
    RulesReader reader = [&](const std::string& path) -> std::optional<std::string> {
        asked = path;
        return std::string("# rules\r\nnopintumo 1\r\nnoakadora 1\r\n");
    };
    auto r = Command("--rules my.pf --tsumo --win 2m 234067m345p678s99p", reader);
    EXPECT_EQ(asked, "my.pf");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"points\":1100"), std::string::npos) << r.out;
    RulesReader missing = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
    r = Command("--rules gone.pf --win 2m 234567m345p678s99p", missing);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "zvscore: cannot read the rules file gone.pf\n");
}

TEST(ZvscoreTest, WithoutRedFivesFourPlainFivesAreAHand) {
    RulesReader noReds = [](const std::string&) -> std::optional<std::string> { return "noakadora 1\n"; };
    // Riichi, 40 fu (a concealed triplet of fives), no red five counted.
    auto r = Command("--rules plain.pf --riichi --win 3m 345m555m345p678s99p", noReds);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"han\":1,\"fu\":40,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"points\":1300,"), std::string::npos) << r.out;
    // A five written red is a plain five then; a fifth five is still refused.
    EXPECT_EQ(Command("--rules plain.pf --riichi --win 3m 340m555m345p678s99p", noReds).out, r.out);
    EXPECT_EQ(Command("--rules plain.pf --pon 555m --win 3m 345m345p678s88p", noReds).exitCode, 0);
    r = Command("--rules plain.pf --riichi --win 3m 345m5555m45p678s99p", noReds);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "zvscore: bad tiles \"345m5555m45p678s99p\": a fifth tile 5m\n");
    // With red fives the fourth five is the red one.
    EXPECT_EQ(Command("--riichi --win 3m 345m555m345p678s99p").exitCode, 1);
}

TEST(ZvscoreTest, BadInputExitsWithOneLine) {
    for (const char* args : {"", "--win 2m", "--win 2m 234567m345p678s99z1", "--win 2m 2345678m345p678s99p",
                             "--win 2m 234567m345p678s19p", "--win 3m 234m567p123s789s99m", "--what",
                             "--win 2m 234567m345p678s99p --seat", "--win 5z 55555z234m567p678s",
                             "--win 2m 0000m234567m345p678s", "--chi 789z --win 2m 234567m345p99s"}) {
        SCOPED_TRACE(args);
        auto r = Command(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.rfind("zvscore: ", 0), 0u);
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
    }
}

// Three players.

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
