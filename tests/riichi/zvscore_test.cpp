// The zvscore command as a whole: its JSON line, --help, --shanten, the
// rules file and the way bad input is refused (exit 1, one line on standard
// error, nothing on standard output).
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

}  // namespace
}  // namespace zv::riichi
