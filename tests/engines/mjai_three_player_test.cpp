// The mjai export of three-player games: the three-player form (three
// names, hands, scores and deltas; nukidora for a north set aside) passes
// the validator and plays again to the record's scores; the validator keeps
// the three-player game's limits (no 2m..8m, no chi, norths only with
// three players).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "format/game_rules.h"
#include "format/mjai_export.h"
#include "format/record_replay.h"
#include "mjai/mjai.h"

namespace zv::engine {
namespace {

std::array<RecordSeat, 4> Seats() {
    return {{{"guest", ""}, {"_todo", "トド"}, {"_min", ""}, {"_empty", ""}}};
}

RecordedGame RecordedThreePlayerGame(std::uint64_t seed, bool eastOnly) {
    riichi::Rules rules = riichi::ThreePlayerRules(riichi::Rules{});
    rules.eastOnly = eastOnly;
    std::array<SeatStyle, 4> styles{};
    for (auto& s : styles) {
        s.style.pon = 1000;
        s.style.kan = 1000;
    }
    GameOutcome played = PlayGame(rules, styles, seed);
    std::string text;
    for (const auto& line : RecordLines(1, "zelvan1", rules, Seats(), played)) text += line + "\n";
    RecordFile record = ParseRecord(text);
    for (const auto& problem : record.problems) ADD_FAILURE() << problem;
    return record.games.at(0);
}

mjai::Json Parsed(const std::string& line) {
    mjai::Json json;
    std::string error;
    EXPECT_TRUE(mjai::ParseJson(line, json, error)) << error;
    return json;
}

std::string TypeOf(const mjai::Json& json) {
    const mjai::Json* type = json.Find("type");
    return type != nullptr ? type->string : "";
}

std::size_t Entries(const mjai::Json& json, const char* key) {
    const mjai::Json* list = json.Find(key);
    return list != nullptr ? list->items.size() : 0;
}

TEST(MjaiThreePlayerExport, WritesTheThreePlayerFormAndPlaysAgain) {
    std::map<std::string, int> types;
    for (std::uint64_t seed : {11u, 12u, 13u, 14u}) {
        RecordedGame game = RecordedThreePlayerGame(seed, seed % 2 == 0);
        std::vector<std::string> lines;
        std::string error;
        ASSERT_TRUE(MjaiLines(game, lines, error)) << error;
        auto problems = mjai::Validate(lines);
        ASSERT_TRUE(problems.empty())
            << "seed " << seed << " line " << problems[0].line << ": " << problems[0].text << "\n"
            << lines[static_cast<std::size_t>(std::max(problems[0].line - 1, 0))];
        for (const std::string& line : lines) {
            mjai::Json json = Parsed(line);
            std::string type = TypeOf(json);
            types[type] += 1;
            if (type == "start_game") {
                EXPECT_EQ(Entries(json, "names"), 3u);
            }
            if (type == "start_kyoku") {
                EXPECT_EQ(Entries(json, "tehais"), 3u);
            }
            for (const char* key : {"scores", "deltas", "tenpais"}) {
                if (json.Find(key) != nullptr) {
                    EXPECT_EQ(Entries(json, key), 3u) << line;
                }
            }
            if (type == "nukidora") {
                EXPECT_EQ(line.find("\"pai\":\"N\""), line.size() - 10) << line;
            }
            for (char digit = '2'; digit <= '8'; ++digit)
                EXPECT_EQ(line.find(std::string("\"") + digit + "m"), std::string::npos) << line;
        }

        mjai::ImportedGame imported;
        ASSERT_TRUE(mjai::ReadGame(lines, imported, error)) << error;
        EXPECT_EQ(imported.players, 3);
        EXPECT_EQ(imported.names[1], "トド");
        auto played = PlayImported(imported, RulesFromRecord(game.rules), error);
        ASSERT_NE(played, nullptr) << "seed " << seed << ": " << error;
        ASSERT_EQ(played->Results().size(), game.hands.size());
        for (std::size_t h = 0; h < game.hands.size(); ++h)
            EXPECT_EQ(played->Results()[h].scoresAfter, game.hands[h].scoresAfter) << h;
        for (const RecordedFinal& f : game.finals)
            EXPECT_EQ(played->Totals()[static_cast<std::size_t>(f.seat)].finalScore, f.score);
        // Four-player rules do not play a three-player log.
        EXPECT_EQ(PlayImported(imported, riichi::Rules{}, error), nullptr);
    }
    EXPECT_GT(types["nukidora"], 0);
    EXPECT_GT(types["hora"], 0);
    EXPECT_GT(types["pon"], 0);
    EXPECT_EQ(types["chi"], 0);
    EXPECT_EQ(types[""], 0);
}

// A short log of three players: the deal, the dealer's draw and `more`.
std::vector<std::string> ThreePlayerLog(const std::vector<std::string>& more) {
    std::vector<std::string> lines = {
        R"({"type":"start_game","names":["a","b","c"]})",
        R"({"type":"start_kyoku","bakaze":"E","kyoku":1,"honba":0,"kyotaku":0,"oya":0,"dora_marker":"1p",)"
        R"("scores":[35000,35000,35000],"tehais":[["1m","1m","9m","9m","1p","2p","3p","4p","5p","6p","7p","8p","N"],)"
        R"(["1s","2s","3s","4s","5s","6s","7s","8s","9s","E","E","S","S"],)"
        R"(["1p","2p","3p","4p","5p","6p","7p","8p","9p","W","W","P","P"]]})",
        R"({"type":"tsumo","actor":0,"pai":"9p"})",
    };
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

std::string FirstProblem(const std::vector<std::string>& lines) {
    auto problems = mjai::Validate(lines);
    return problems.empty() ? "" : problems[0].text;
}

TEST(MjaiThreePlayerExport, TheValidatorKeepsTheThreePlayerGamesLimits) {
    // A north set aside, the replacement draw and a discard: sound so far
    // (the log only ends too early).
    auto sound = ThreePlayerLog({R"({"type":"nukidora","actor":0,"pai":"N"})",
                                 R"({"type":"tsumo","actor":0,"pai":"F"})",
                                 R"({"type":"dahai","actor":0,"pai":"F","tsumogiri":true})",
                                 R"({"type":"tsumo","actor":1,"pai":"C"})"});
    EXPECT_EQ(FirstProblem(sound), "the log ends before end_game");

    EXPECT_NE(FirstProblem(ThreePlayerLog({R"({"type":"dahai","actor":0,"pai":"N","tsumogiri":false})",
                                           R"({"type":"tsumo","actor":1,"pai":"5m"})"}))
                  .find("not played with three"),
              std::string::npos);
    EXPECT_NE(FirstProblem(ThreePlayerLog(
                               {R"({"type":"dahai","actor":0,"pai":"1p","tsumogiri":false})",
                                R"({"type":"chi","actor":1,"target":0,"pai":"1p","consumed":["2p","3p"]})"}))
                  .find("chi"),
              std::string::npos);
    // Another player's north, a north not held, and no fourth player.
    EXPECT_NE(FirstProblem(ThreePlayerLog({R"({"type":"nukidora","actor":1,"pai":"N"})"})).find("turn"),
              std::string::npos);
    EXPECT_NE(FirstProblem(ThreePlayerLog({R"({"type":"dahai","actor":0,"pai":"N","tsumogiri":false})",
                                           R"({"type":"tsumo","actor":1,"pai":"C"})",
                                           R"({"type":"dahai","actor":1,"pai":"C","tsumogiri":true})",
                                           R"({"type":"tsumo","actor":2,"pai":"F"})",
                                           R"({"type":"nukidora","actor":2,"pai":"N"})"}))
                  .find("does not hold N"),
              std::string::npos);
    EXPECT_NE(FirstProblem(ThreePlayerLog({R"({"type":"dahai","actor":3,"pai":"N","tsumogiri":false})"}))
                  .find("\"actor\""),
              std::string::npos);
    // After the third player the first draws again.
    auto order = ThreePlayerLog({R"({"type":"dahai","actor":0,"pai":"N","tsumogiri":false})",
                                 R"({"type":"tsumo","actor":1,"pai":"C"})",
                                 R"({"type":"dahai","actor":1,"pai":"C","tsumogiri":true})",
                                 R"({"type":"tsumo","actor":2,"pai":"F"})",
                                 R"({"type":"dahai","actor":2,"pai":"F","tsumogiri":true})",
                                 R"({"type":"tsumo","actor":0,"pai":"C"})"});
    EXPECT_EQ(FirstProblem(order), "the log ends before end_game");
    // Three hands where four players play, and a nukidora among four.
    auto four = ThreePlayerLog({});
    four[0] = R"({"type":"start_game","names":["a","b","c","d"]})";
    EXPECT_NE(FirstProblem(four).find("4 hands"), std::string::npos);
    std::vector<std::string> fourPlayers = {
        R"({"type":"start_game"})",
        R"({"type":"start_kyoku","bakaze":"E","kyoku":1,"honba":0,"kyotaku":0,"oya":0,"dora_marker":"1p",)"
        R"("scores":[25000,25000,25000,25000],"tehais":[["1m","1m","9m","9m","1p","2p","3p","4p","5p","6p","7p","8p","N"],)"
        R"(["1s","2s","3s","4s","5s","6s","7s","8s","9s","E","E","S","S"],)"
        R"(["1p","2p","3p","4p","5p","6p","7p","8p","9p","W","W","P","P"],)"
        R"(["2m","3m","4m","5m","6m","7m","8m","2m","3m","4m","5m","6m","7m"]]})",
        R"({"type":"tsumo","actor":0,"pai":"9p"})",
        R"({"type":"nukidora","actor":0,"pai":"N"})",
    };
    EXPECT_NE(FirstProblem(fourPlayers).find("only with three players"), std::string::npos);
}

}  // namespace
}  // namespace zv::engine
