// The mjai export of recorded games: every export passes the validator and
// plays again from its own import to the record's scores; the validator
// finds what breaks a log (turn order, tiles not held, a fifth tile, scores
// that do not add up); tiles and JSON read back as written.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "format/mjai_export.h"
#include "format/record_replay.h"
#include "mjai/mjai.h"

namespace zv::engine {
namespace {

#ifdef NDEBUG
constexpr int kGames = 16;
#else
constexpr int kGames = 3;
#endif

std::array<RecordSeat, 4> Seats() {
    return {{{"guest", ""}, {"_todo", "トド"}, {"_min", ""}, {"_wizard", "a\"quoted\""}}};
}

// Players that call, make kans and declare riichi often, so that every kind
// of event appears.
std::array<SeatStyle, 4> Bold() {
    std::array<SeatStyle, 4> seats{};
    for (auto& s : seats) {
        s.style.pon = 1000;
        s.style.tie = 1000;
        s.style.kan = 1000;
        s.style.yaku = 0;
        s.style.kyusyu = 1000;
    }
    return seats;
}

RecordedGame Recorded(const riichi::Rules& rules, std::uint64_t seed,
                      const std::array<SeatStyle, 4>& styles) {
    GameOutcome played = PlayGame(rules, styles, seed);
    std::string text;
    for (const auto& line : RecordLines(1, "zelvan1", rules, Seats(), played)) text += line + "\n";
    RecordFile record = ParseRecord(text);
    EXPECT_TRUE(record.problems.empty());
    return record.games.at(0);
}

std::vector<std::string> Exported(const RecordedGame& game) {
    std::vector<std::string> lines;
    std::string error;
    EXPECT_TRUE(MjaiLines(game, lines, error)) << error;
    return lines;
}

std::string TypeOf(const std::string& line) {
    mjai::Json json;
    std::string error;
    if (!mjai::ParseJson(line, json, error)) return "";
    const mjai::Json* type = json.Find("type");
    return type != nullptr ? type->string : "";
}

TEST(MjaiExportTest, ExportsPassTheValidatorAndPlayAgainToTheRecordsScores) {
    std::map<std::string, int> types;
    for (int i = 0; i < kGames; ++i) {
        riichi::Rules rules;
        rules.eastOnly = i % 2 == 0;
        rules.pao = i % 3 == 0;
        std::uint64_t seed = 500 + static_cast<std::uint64_t>(i);
        RecordedGame game = Recorded(rules, seed, i % 4 == 3 ? std::array<SeatStyle, 4>{} : Bold());
        std::vector<std::string> lines = Exported(game);
        ASSERT_FALSE(lines.empty());
        auto problems = mjai::Validate(lines);
        ASSERT_TRUE(problems.empty())
            << "seed " << seed << " line " << problems[0].line << ": " << problems[0].text << "\n"
            << lines[static_cast<std::size_t>(std::max(problems[0].line - 1, 0))];
        EXPECT_EQ(TypeOf(lines.front()), "start_game");
        EXPECT_EQ(TypeOf(lines.back()), "end_game");
        for (const auto& line : lines) types[TypeOf(line)] += 1;

        mjai::ImportedGame imported;
        std::string error;
        ASSERT_TRUE(mjai::ReadGame(lines, imported, error)) << error;
        EXPECT_EQ(imported.names[1], "トド");
        EXPECT_EQ(imported.names[3], "a\"quoted\"");
        ASSERT_EQ(imported.hands.size(), game.hands.size());
        auto played = PlayImported(imported, RulesFromRecord(game.rules), error);
        ASSERT_NE(played, nullptr) << "seed " << seed << ": " << error;
        for (std::size_t h = 0; h < game.hands.size(); ++h)
            EXPECT_EQ(played->Results()[h].scoresAfter, game.hands[h].scoresAfter) << h;
        for (const RecordedFinal& f : game.finals) {
            EXPECT_EQ(played->Totals()[static_cast<std::size_t>(f.seat)].finalScore, f.score);
            EXPECT_EQ(played->Totals()[static_cast<std::size_t>(f.seat)].points, f.points);
        }
        // The import finds the recorded actions in order (the record also
        // keeps claims that lost to a stronger one, the log does not).
        for (std::size_t h = 0; h < game.hands.size(); ++h) {
            const auto& written = game.hands[h].actions;
            std::size_t at = 0;
            for (const riichi::LoggedAction& a : imported.hands[h].actions) {
                while (at < written.size() &&
                       (written[at].seat != a.seat || written[at].action.type != a.action.type ||
                        riichi::KindOf(written[at].action.tile) != riichi::KindOf(a.action.tile)))
                    ++at;
                ASSERT_LT(at, written.size()) << "hand " << h << ": " << riichi::ActionText(a.action);
                ++at;
            }
        }
    }
    for (const char* type : {"start_kyoku", "tsumo", "dahai", "hora", "end_kyoku"})
        EXPECT_GT(types[type], 0) << type;
#ifdef NDEBUG
    // Enough games for the rarer events too.
    for (const char* type : {"reach", "reach_accepted", "pon", "chi", "ryukyoku"})
        EXPECT_GT(types[type], 0) << type;
    EXPECT_GT(types["daiminkan"] + types["ankan"] + types["kakan"], 0);
#endif
    EXPECT_EQ(types[""], 0);  // every line an event
}

TEST(MjaiExportTest, WithoutRedFivesNoTileIsWrittenRedAndTheGameStillPlaysAgain) {
    riichi::Rules rules;
    rules.noRedFives = true;
    RecordedGame game = Recorded(rules, 31, Bold());
    std::vector<std::string> lines = Exported(game);
    for (const auto& line : lines) EXPECT_EQ(line.find("5mr"), std::string::npos);
    ASSERT_TRUE(mjai::Validate(lines).empty());
    mjai::ImportedGame imported;
    std::string error;
    ASSERT_TRUE(mjai::ReadGame(lines, imported, error)) << error;
    EXPECT_NE(PlayImported(imported, rules, error), nullptr) << error;
}

TEST(MjaiExportTest, OldRecordsCannotBeExported) {
    RecordedGame game = Recorded(riichi::Rules{}, 3, Bold());
    for (HandRecord& h : game.hands) h.actions.clear();
    std::vector<std::string> lines;
    std::string error;
    EXPECT_FALSE(MjaiLines(game, lines, error));
    EXPECT_NE(error.find("no actions recorded"), std::string::npos);
}

// The first bold east-only game from seed 1 on with a hand that `wanted`
// picks, and that hand's index (-1 when none of the first `seeds` has one).
struct FoundGame {
    RecordedGame game;
    int hand = -1;
};
FoundGame FirstBoldGameWith(const std::function<bool(const HandRecord&)>& wanted, int seeds) {
    riichi::Rules rules;
    rules.eastOnly = true;
    for (int seed = 1; seed <= seeds; ++seed) {
        RecordedGame game = Recorded(rules, static_cast<std::uint64_t>(seed), Bold());
        for (std::size_t h = 0; h < game.hands.size(); ++h)
            if (wanted(game.hands[h])) return {game, static_cast<int>(h)};
    }
    return {};
}

// The lines of hand `hand` (0-based) of an exported log.
std::vector<std::string> HandLines(const std::vector<std::string>& lines, int hand) {
    std::vector<std::string> out;
    int at = -1;
    for (const std::string& line : lines) {
        if (TypeOf(line) == "start_kyoku") ++at;
        if (at == hand) out.push_back(line);
    }
    return out;
}

void ExpectPlaysAgain(const RecordedGame& game, const std::vector<std::string>& lines) {
    auto problems = mjai::Validate(lines);
    ASSERT_TRUE(problems.empty()) << "line " << problems[0].line << ": " << problems[0].text;
    mjai::ImportedGame imported;
    std::string error;
    ASSERT_TRUE(mjai::ReadGame(lines, imported, error)) << error;
    auto played = PlayImported(imported, RulesFromRecord(game.rules), error);
    ASSERT_NE(played, nullptr) << error;
    for (std::size_t h = 0; h < game.hands.size(); ++h)
        EXPECT_EQ(played->Results()[h].scoresAfter, game.hands[h].scoresAfter) << h;
}

TEST(MjaiExportTest, ARobbedKanIsExportedAsItsKanJustBeforeTheWinOnIt) {
    // The record keeps the kan and the win on it as actions.
    auto robbed = [](const HandRecord& h) {
        const auto& a = h.actions;
        return h.end == HandEnd::Ron && a.size() >= 2 && a.back().action.type == riichi::ActionType::Ron &&
               a[a.size() - 2].action.type == riichi::ActionType::AddedKan;
    };
    FoundGame found = FirstBoldGameWith(robbed, 5000);
    ASSERT_GE(found.hand, 0) << "no robbed kan in the games searched";
    std::vector<std::string> lines = Exported(found.game);
    std::vector<std::string> hand = HandLines(lines, found.hand);
    auto hora = std::find_if(hand.begin(), hand.end(), [](const auto& l) { return TypeOf(l) == "hora"; });
    ASSERT_NE(hora, hand.end());
    ASSERT_NE(hora, hand.begin());
    const std::string& kan = *(hora - 1);
    EXPECT_EQ(TypeOf(kan), "kakan") << kan;
    mjai::Json kanJson, horaJson;
    std::string error;
    ASSERT_TRUE(mjai::ParseJson(kan, kanJson, error));
    ASSERT_TRUE(mjai::ParseJson(*hora, horaJson, error));
    EXPECT_EQ(kanJson.Find("actor")->number, horaJson.Find("target")->number);
    EXPECT_EQ(kanJson.Find("pai")->string, horaJson.Find("pai")->string);
    ExpectPlaysAgain(found.game, lines);
}

TEST(MjaiExportTest, UraIndicatorsGoOnlyWithAWinnerInRiichi) {
    auto mixed = [](const HandRecord& h) {
        return h.wins.size() == 2 && h.reached[static_cast<std::size_t>(h.wins[0].seat)] !=
                                         h.reached[static_cast<std::size_t>(h.wins[1].seat)];
    };
    FoundGame found = FirstBoldGameWith(mixed, 600);
    ASSERT_GE(found.hand, 0) << "no double ron of a riichi and a closed or open hand in the games searched";
    const HandRecord& record = found.game.hands[static_cast<std::size_t>(found.hand)];
    EXPECT_FALSE(record.ura.empty());  // the record's "dora:" line shows them
    std::vector<std::string> lines = Exported(found.game);
    int horas = 0;
    std::string firstUra;
    for (const std::string& line : HandLines(lines, found.hand)) {
        if (TypeOf(line) != "hora") continue;
        ++horas;
        mjai::Json json;
        std::string error;
        ASSERT_TRUE(mjai::ParseJson(line, json, error));
        int seat = static_cast<int>(json.Find("actor")->number);
        const mjai::Json* ura = json.Find("uradora_markers");
        ASSERT_NE(ura, nullptr) << line;
        EXPECT_EQ(ura->items.empty(), !record.reached[static_cast<std::size_t>(seat)]) << line;
        if (!ura->items.empty()) firstUra = ura->items[0].string;
    }
    EXPECT_EQ(horas, 2);
    ExpectPlaysAgain(found.game, lines);
    // The reader takes the indicators from whichever winner shows them.
    mjai::ImportedGame imported;
    std::string error;
    ASSERT_TRUE(mjai::ReadGame(lines, imported, error)) << error;
    const auto& wall = imported.hands.at(static_cast<std::size_t>(found.hand)).wall;
    EXPECT_EQ(mjai::TileText(wall[riichi::Wall::kFirstDora + 1]), firstUra);
}

TEST(MjaiExportTest, EveryWinnerOnOneDiscardHasItsOwnPaymentsAndTheScoresAfterThem) {
    auto doubleRon = [](const HandRecord& h) { return h.wins.size() == 2; };
    FoundGame found = FirstBoldGameWith(doubleRon, 80);
    ASSERT_GE(found.hand, 0) << "no double ron in the games searched";
    std::vector<std::string> lines = Exported(found.game);
    std::vector<std::array<double, 4>> scores;
    for (const std::string& line : HandLines(lines, found.hand)) {
        if (TypeOf(line) != "hora") continue;
        mjai::Json json;
        std::string error;
        ASSERT_TRUE(mjai::ParseJson(line, json, error));
        auto winner = static_cast<std::size_t>(json.Find("actor")->number);
        auto loser = static_cast<std::size_t>(json.Find("target")->number);
        const mjai::Json* deltas = json.Find("deltas");
        const mjai::Json* after = json.Find("scores");
        ASSERT_TRUE(deltas != nullptr && after != nullptr) << line;
        ASSERT_EQ(deltas->items.size(), 4u);
        ASSERT_EQ(after->items.size(), 4u);
        EXPECT_GT(deltas->items[winner].number, 0) << line;
        EXPECT_LT(deltas->items[loser].number, 0) << line;
        scores.push_back(
            {after->items[0].number, after->items[1].number, after->items[2].number, after->items[3].number});
    }
    ASSERT_EQ(scores.size(), 2u);
    EXPECT_NE(scores[0], scores[1]);
    // The reader checks every hora's scores against the deltas so far.
    ExpectPlaysAgain(found.game, lines);
}

// Each change breaks the log at a known line with a known complaint.
TEST(MjaiValidatorTest, FindsWhatBreaksALog) {
    riichi::Rules rules;
    rules.eastOnly = false;
    const std::vector<std::string> good = Exported(Recorded(rules, 8, Bold()));
    ASSERT_TRUE(mjai::Validate(good).empty());
    auto find = [&](const std::string& type, int nth = 0) {
        for (std::size_t i = 0; i < good.size(); ++i)
            if (TypeOf(good[i]) == type && nth-- == 0) return i;
        return good.size();
    };
    auto replace = [](std::string line, const std::string& from, const std::string& to) {
        std::size_t at = line.find(from);
        if (at != std::string::npos) line.replace(at, from.size(), to);
        return line;
    };
    struct Case {
        const char* what;
        std::function<void(std::vector<std::string>&)> change;
        std::size_t line;  // 1-based line of the expected complaint
        const char* complaint;
    };
    std::size_t draw = find("tsumo", 3), discard = find("dahai", 5), hora = find("hora");
    std::size_t start = find("start_kyoku", 1);
    ASSERT_LT(hora, good.size());
    std::vector<Case> cases = {
        {"a draw left out", [&](auto& l) { l.erase(l.begin() + static_cast<long>(draw)); }, draw + 1, "turn"},
        {"a discard of a tile not held",
         [&](auto& l) {
             mjai::Json j;
             std::string e;
             mjai::ParseJson(l[discard], j, e);
             std::string pai = j.Find("pai")->string;
             l[discard] = replace(l[discard], "\"pai\":\"" + pai + "\"",
                                  std::string("\"pai\":\"") + (pai == "C" ? "E" : "C") + "\"");
         },
         discard + 1, "does not hold"},
        {"a fifth tile at the deal",
         [&](auto& l) {
             l[start] =
                 replace(l[start], "\"tehais\":[[", "\"tehais\":[[\"1m\",\"1m\",\"1m\",\"1m\",\"1m\",");
         },
         start + 1, ""},
        {"not JSON", [&](auto& l) { l[draw] = "{\"type\":\"tsumo\","; }, draw + 1, "not JSON"},
        {"an unknown event", [&](auto& l) { l[draw] = "{\"type\":\"dance\"}"; }, draw + 1, "unknown event"},
        {"scores that do not follow",
         [&](auto& l) { l[hora] = replace(l[hora], "\"scores\":[", "\"scores\":[1"); }, hora + 1, "scores"},
        {"the end left out", [&](auto& l) { l.pop_back(); }, good.size() - 1, "end_game"},
        {"a second start", [&](auto& l) { l.insert(l.begin() + 1, l.front()); }, 2, "started"},
        {"a tile that is no tile", [&](auto& l) { l[draw] = replace(l[draw], "\"pai\":\"", "\"pai\":\"x"); },
         draw + 1, "not a tile"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = good;
        c.change(lines);
        auto problems = mjai::Validate(lines);
        ASSERT_EQ(problems.size(), 1u) << c.what;
        EXPECT_EQ(problems[0].line, static_cast<int>(c.line)) << c.what << ": " << problems[0].text;
        EXPECT_NE(problems[0].text.find(c.complaint), std::string::npos)
            << c.what << ": " << problems[0].text;
        mjai::ImportedGame imported;
        std::string error;
        EXPECT_FALSE(mjai::ReadGame(lines, imported, error)) << c.what;
    }
}

TEST(MjaiTilesTest, EveryTileReadsBackAndNonTilesAreRefused) {
    std::set<std::string> texts;
    for (riichi::TileId t = 0; t < riichi::kTiles; ++t) {
        std::string text = mjai::TileText(t);
        texts.insert(text);
        riichi::Kind kind = -1;
        bool red = true;
        ASSERT_TRUE(mjai::ParseTile(text, kind, red)) << text;
        EXPECT_EQ(kind, riichi::KindOf(t));
        EXPECT_EQ(red, riichi::IsRedFive(t));
        EXPECT_EQ(mjai::TileText(t, false).find('r'), std::string::npos);
    }
    EXPECT_EQ(texts.size(), 37u);  // 34 kinds and three red fives
    EXPECT_EQ(mjai::TileText(16), "5mr");
    EXPECT_EQ(mjai::TileText(27 * 4), "E");
    EXPECT_EQ(mjai::TileText(33 * 4), "C");
    for (const char* bad : {"", "0m", "5zr", "10m", "6mr", "5m5", "e", "Z", "1z", "?"}) {
        riichi::Kind kind = 0;
        bool red = false;
        EXPECT_FALSE(mjai::ParseTile(bad, kind, red)) << bad;
    }
}

TEST(MjaiJsonTest, ReadsWhatTheProtocolUsesAndRefusesTheRest) {
    mjai::Json json;
    std::string error;
    ASSERT_TRUE(mjai::ParseJson(R"( {"a":[1,-2.5e1,true,null,{"b":"x\"\\\/\u00e9\ud83c\udc04"}],"c":{}} )",
                                json, error))
        << error;
    ASSERT_EQ(json.Find("a")->items.size(), 5u);
    EXPECT_EQ(json.Find("a")->items[1].number, -25);
    EXPECT_EQ(json.Find("a")->items[4].Find("b")->string, "x\"\\/\xc3\xa9\xf0\x9f\x80\x84");
    EXPECT_EQ(json.Find("missing"), nullptr);
    std::string odd = "tab\t \"quote\" back\\slash \x01 名前";
    ASSERT_TRUE(mjai::ParseJson(mjai::Quote(odd), json, error)) << error;
    EXPECT_EQ(json.string, odd);
    for (const char* bad : {"", "{", "{\"a\"}", "{\"a\":1,}", "[1 2]", "\"open", "tru", "{\"a\":1} x",
                            "\"\\q\"", "\"\\ud800\"", "-", "[\"\x01\"]"}) {
        EXPECT_FALSE(mjai::ParseJson(bad, json, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    std::string deep(10000, '[');
    EXPECT_FALSE(mjai::ParseJson(deep, json, error));  // no stack overflow
}

}  // namespace
}  // namespace zv::engine
