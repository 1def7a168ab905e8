#include "records/results.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "config/tokenizer.h"

#include "config/codec.h"
#include "records/rating.h"
#include "riichi/yaku_table.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

class ResultsTest : public ::testing::Test {
protected:
    ResultsTest() { platform.installDir = dir.path() + "/"; }

    void WriteNetwork(const std::string& name, const std::string& text) {
        dir.Write("usr/" + name + "/zvclient.res", text);
    }

    std::string Text(const std::vector<std::pair<std::string, std::string>>& texts,
                     const std::string& label) {
        for (const auto& [name, text] : texts)
            if (name == label) return text;
        ADD_FAILURE() << "no label " << label;
        return {};
    }

    test::TempDir dir;
    test::FakePlatform platform;
};

std::string YakuWord(int index, char digit) {
    std::string word(kYakuCount, '0');
    word[index] = digit;
    return word;
}

TEST_F(ResultsTest, TwoGamesAreTotalledWithMoneyAndPlaces) {
    WriteNetwork("alice",
                 "result: 1 25 2 10 3 4 3000 2 8000 1 2000 1\r\n"
                 "result: 3 -10 0 12 1 2 1000 1 0 0 5900 2\r\n");
    PlayerResults r;
    ASSERT_TRUE(ReadResults(r, "alice", true));
    EXPECT_EQ(r.games, 2);
    EXPECT_EQ(r.places, (std::array<std::int32_t, 4>{1, 0, 1, 0}));
    EXPECT_EQ(r.points, 15);
    EXPECT_EQ(r.chips, 2);
    EXPECT_EQ(r.Money(), 2500);
    EXPECT_EQ(r.plays, 22);
    EXPECT_EQ(r.reaches, 4);
    EXPECT_EQ(r.calls, 6);
    EXPECT_EQ(r.tsumoPoints, 4000);
    EXPECT_EQ(r.tsumoCount, 3);
    EXPECT_EQ(r.ronPoints, 8000);
    EXPECT_EQ(r.ronCount, 1);
    EXPECT_EQ(r.dealInPoints, 7900);
    EXPECT_EQ(r.dealInCount, 3);

    auto texts = StatisticsTexts("alice", r);
    ASSERT_EQ(texts.size(), 18u);
    EXPECT_EQ(texts.front().first, "PlayerName");
    EXPECT_EQ(Text(texts, "PlayerName"), "alice");
    EXPECT_EQ(Text(texts, "TotalMoney"), "2500");
    EXPECT_EQ(Text(texts, "First"), "1");
    EXPECT_EQ(Text(texts, "Third"), "1");
    EXPECT_EQ(Text(texts, "FuriCount"), "3");
    EXPECT_EQ(Text(texts, "TumoAve"), "1333");  // 4000 / 3, truncated
    EXPECT_EQ(Text(texts, "RonAve"), "8000");
    EXPECT_EQ(Text(texts, "FuriAve"), "2633");
}

TEST_F(ResultsTest, ChoosesNetworkOrOnePlayerFile) {
    WriteNetwork("bob", "result: 2 10 1\n");
    dir.Write("usr/bob/bob.res", "result: 4 -30 0\nresult: 4 -5 0\n");
    PlayerResults network, single;
    ASSERT_TRUE(ReadResults(network, "bob", true));
    ASSERT_TRUE(ReadResults(single, "bob", false));
    EXPECT_EQ(network.games, 1);
    EXPECT_EQ(network.places[1], 1);
    EXPECT_EQ(single.games, 2);
    EXPECT_EQ(single.places[3], 2);
    EXPECT_EQ(single.points, -35);
    EXPECT_EQ(ResultsPath("bob", false), dir.path() + "/usr/bob/bob.res");
}

TEST_F(ResultsTest, EmptyFileGivesZerosAndEmptyAverages) {
    WriteNetwork("empty", "");
    PlayerResults r;
    r.games = 99;
    r.yaku[5] = 3;
    ASSERT_TRUE(ReadResults(r, "empty", true));
    EXPECT_EQ(r, PlayerResults{});
    for (const auto& [label, text] : StatisticsTexts("empty", r)) {
        if (label == "PlayerName") continue;
        if (label == "TumoAve" || label == "RonAve" || label == "FuriAve")
            EXPECT_EQ(text, "") << label;
        else
            EXPECT_EQ(text, "0") << label;
    }
    EXPECT_TRUE(YakuListLines(r).empty());
}

TEST_F(ResultsTest, OnlyTheAverageWithZeroCountIsEmpty) {
    WriteNetwork("p", "result: 1 0 0 0 0 0 -700 2 0 0 100 0\n");
    PlayerResults r;
    ASSERT_TRUE(ReadResults(r, "p", true));
    auto texts = StatisticsTexts("p", r);
    EXPECT_EQ(Text(texts, "TumoAve"), "-350");
    EXPECT_EQ(Text(texts, "RonAve"), "");
    EXPECT_EQ(Text(texts, "FuriAve"), "");  // points without a count stay hidden
}

TEST_F(ResultsTest, MissingFileOrFolderLeavesRecordUntouched) {
    PlayerResults r;
    r.games = 7;
    EXPECT_FALSE(ReadResults(r, "nobody", true));
    dir.Write("usr/carol/carol.res/x", "");  // a folder where the file should be
    EXPECT_FALSE(ReadResults(r, "carol", false));
    EXPECT_EQ(r.games, 7);
}

TEST_F(ResultsTest, YakuDigitsAddToTheirCounters) {
    WriteNetwork("y", "yaku: " + YakuWord(16, '2') + "\nyaku: " + YakuWord(16, '1') + "\n" + "yaku:\t" +
                          YakuWord(56, '9') + "\n");
    PlayerResults r;
    ASSERT_TRUE(ReadResults(r, "y", true));
    EXPECT_EQ(r.yaku[16], 3);
    EXPECT_EQ(r.yaku[56], 9);
    EXPECT_EQ(r.games, 0);
    auto lines = YakuListLines(r);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "リーチ" + std::string(14, ' ') + "3");
    EXPECT_EQ(Cp932Width(lines[1]), 21u);  // "ノーテンリーチ" is 14 bytes
}

TEST(YakuListLinesTest, ReachCountOfTwoAndLongNames) {
    PlayerResults r;
    r.yaku[16] = 2;
    EXPECT_EQ(YakuListLines(r), std::vector<std::string>{"リーチ" + std::string(14, ' ') + "2"});

    r.yaku[16] = 0;
    r.yaku[0] = 12;   // first in index order
    r.yaku[46] = 1;   // "二ペイコウ(3)": 13 bytes
    r.yaku[57] = -4;  // negative counts are not listed
    auto lines = YakuListLines(r);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "役満" + std::string(16, ' ') + "12");
    EXPECT_EQ(lines[1], "二ペイコウ(3)" + std::string(7, ' ') + "1");
}

TEST(ResultsLineTest, MalformedLinesCannotReachOutsideTheRecord) {
    PlayerResults r;
    AddResultsLine("result: 0 5", r);
    AddResultsLine("result: 5 5", r);
    AddResultsLine("result: -1 5", r);
    AddResultsLine("result: 2147483647 5", r);
    EXPECT_EQ(r.games, 4);  // the games count; the impossible place does not
    EXPECT_EQ(r.places, (std::array<std::int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(r.points, 20);

    PlayerResults y;
    AddResultsLine("yaku: " + std::string(59, '1'), y);
    AddResultsLine("yaku: " + std::string(61, '1'), y);
    AddResultsLine("yaku: " + std::string(59, '1') + "x", y);
    AddResultsLine("yaku: " + std::string(59, '1') + "-", y);
    AddResultsLine("yaku:", y);
    EXPECT_EQ(y, PlayerResults{});
}

TEST(ResultsLineTest, OnlyExactKeywordsCount) {
    PlayerResults r;
    AddResultsLine("Result: 1 10", r);
    AddResultsLine("result 1 10", r);
    AddResultsLine("result:1 10", r);
    AddResultsLine("# result: 1 10", r);
    AddResultsLine("yaku: x result: 1", r);
    AddResultsLine("", r);
    AddResultsLine("   \t ", r);
    EXPECT_EQ(r, PlayerResults{});

    AddResultsLine("  \tresult:\t 2\t\t-3  +4\r", r);  // leading blanks, tabs, CR LF
    EXPECT_EQ(r.games, 1);
    EXPECT_EQ(r.places[1], 1);
    EXPECT_EQ(r.points, -3);
    EXPECT_EQ(r.chips, 4);
    AddResultsLine("result: 1 12abc -7x", r);  // leading digits count; a partial minus does not
    EXPECT_EQ(r.points, 9);
    EXPECT_EQ(r.chips, 11);
}

TEST(ResultsLineTest, ALoneSignAtTheEndOfALongLineIsNoNumber) {
    // The sign is the 64th byte after the keyword: no shift past the word.
    PlayerResults r;
    AddResultsLine("result:" + std::string(63, ' ') + "-", r);
    AddResultsLine("result: 3" + std::string(61, ' ') + "+", r);
    EXPECT_EQ(r.games, 2);
    EXPECT_EQ(r.places[2], 1);
    EXPECT_EQ(r.points, 0);
}

TEST_F(ResultsTest, LastLineWithoutLineEndAndLongLinesCount) {
    std::string text = "comment " + std::string(600000, 'x') + "\nresult: 1 1\nresult: 2 2";
    WriteNetwork("long", text);
    PlayerResults r;
    ASSERT_TRUE(ReadResults(r, "long", true));
    EXPECT_EQ(r.games, 2);
    EXPECT_EQ(r.points, 3);
}

TEST_F(ResultsTest, OnlyOneCarriageReturnIsDroppedBeforeTheLineEnd) {
    // "result:" followed by a stray CR and then CR LF is not a result line:
    // the file reader used to drop both CRs and count a game that the line
    // reader does not.
    WriteNetwork("cr", "result:\r\r\nresult:\t\r\r\nyaku: 1\r\r\nresult: 2 5\r\n");
    PlayerResults whole;
    ASSERT_TRUE(ReadResults(whole, "cr", true));
    PlayerResults lines;
    for (const char* line : {"result:\r\r", "result:\t\r\r", "yaku: 1\r\r", "result: 2 5\r"})
        AddResultsLine(line, lines);
    EXPECT_EQ(whole, lines);
    EXPECT_EQ(whole.games, 2);  // "result:\t\r" is a result line with no numbers
    EXPECT_EQ(whole.points, 5);
}

TEST_F(ResultsTest, AShortYakuLineDoesNotSwallowTheLinesAfterIt) {
    // Byte 66 after a "yaku: " line start is a line end, as for a full
    // 60-digit line, but the line is short: the result line after it used
    // to be taken as part of the yaku digits and lost.
    std::string text = "yaku: 33\nresult: 2 10\r\n";
    text += std::string(66 - text.size(), 'x') + "\n";
    ASSERT_EQ(text[66], '\n');
    WriteNetwork("short", text);
    PlayerResults r;
    ASSERT_TRUE(ReadResults(r, "short", true));
    EXPECT_EQ(r.games, 1);
    EXPECT_EQ(r.points, 10);
    EXPECT_EQ(r.yaku, PlayerResults{}.yaku);
}

TEST_F(ResultsTest, LinesAcrossReadBoundariesAreNotSplit) {
    // Enough lines that several reads are needed; each line counts once.
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += i % 2 ? "result: 1 3 1\n" : "yaku: " + YakuWord(i % 60, '1') + "\n";
    WriteNetwork("many", text);
    PlayerResults r;
    ASSERT_TRUE(ReadResults(r, "many", true));
    EXPECT_EQ(r.games, 20000);
    EXPECT_EQ(r.points, 60000);
    std::int32_t yakuTotal = 0;
    for (auto count : r.yaku) yakuTotal += count;
    EXPECT_EQ(yakuTotal, 20000);
}

// The totals of `text` added line by line, as the whole-file reader must
// give them.
PlayerResults TotalsByLine(const std::string& text) {
    PlayerResults totals;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        AddResultsLine(std::string_view(text).substr(start, end - start), totals);
        start = end + 1;
    }
    return totals;
}

// A mix of usual lines and odd ones, with LF or CR LF line ends.
std::string MixedLines(int count, unsigned seed) {
    std::mt19937 random(seed);
    auto number = [&](int digits) {
        std::string word = random() % 4 == 0 ? "-" : "";
        for (int d = 0; d < digits; ++d) word += char('0' + random() % 10);
        return word;
    };
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string line;
        switch (random() % 8) {
            case 0:
            case 1:
            case 2: {  // usual, numbers of 1 to 8 digits
                line = "result:";
                for (int k = 0, words = 1 + random() % 14; k < words; ++k)
                    line +=
                        std::string(1 + random() % 2, random() % 5 ? ' ' : '\t') + number(1 + random() % 8);
                break;
            }
            case 3: {  // usual yaku
                std::string digits;
                for (int k = 0; k < kYakuCount; ++k) digits += char('0' + random() % 10);
                line = "yaku: " + digits;
                break;
            }
            case 4:  // long numbers, hex, signs and letters
                line = "result: " + number(9) + " +" + number(3) + " $1F 12x " + number(10) + " -";
                break;
            case 5:  // yaku words that are not 60 digits, and odd blanks
                line = random() % 2 ? "yaku:\t" + std::string(60, '7') + " x"
                                    : "yaku: " + std::string(60, '8') + "-";
                break;
            case 6:
                line = " result: 3 " + number(2);
                break;
            default:
                line = "comment " + std::string(random() % 90, 'c');
        }
        text += line + (random() % 2 ? "\r\n" : "\n");
    }
    return text;
}

TEST_F(ResultsTest, WholeFileAndLineByLineTotalsAgree) {
    // Files are read in blocks, large ones in two halves side by side; the
    // cut points (each block, the middle) fall at every kind of place
    // across the sizes tried here.
    for (int lines : {1, 7, 300, 9000, 40000, 160000}) {
        std::string text = MixedLines(lines, static_cast<unsigned>(lines));
        if (lines == 160000) {
            ASSERT_GT(text.size(), 4u << 20) << "large enough to be read in halves";
        }
        for (const std::string& tail : {std::string(), std::string("result: 2 -17 3"),
                                        "yaku: " + std::string(60, '9'), std::string("yaku: 1\r")}) {
            WriteNetwork("mix", text + tail);
            PlayerResults whole;
            ASSERT_TRUE(ReadResults(whole, "mix", true));
            EXPECT_EQ(whole, TotalsByLine(text + tail)) << lines << " lines, tail " << tail;
        }
    }
}

TEST_F(ResultsTest, NarrowCountersAreFoldedBeforeTheyOverflow) {
    // 1,001 lines of nines: more than any byte or 16-bit counter holds.
    const std::string yaku = "yaku: " + std::string(kYakuCount, '9') + "\n";
    const std::string result = "result: 4 99999999 -9999999 9 -9 99 -99 999 -999 9999 -9999 99999\r\n";
    std::string text;
    for (int i = 0; i < 1001; ++i) text += yaku + result;
    WriteNetwork("nines", text);
    PlayerResults r;
    ASSERT_TRUE(ReadResults(r, "nines", true));
    for (std::int32_t count : r.yaku) EXPECT_EQ(count, 9009);
    EXPECT_EQ(r.games, 1001);
    EXPECT_EQ(r.places[3], 1001);
    // The 32-bit totals wrap as if every line had been added on its own.
    EXPECT_EQ(r.points, static_cast<std::int32_t>(static_cast<std::uint32_t>(99999999u * 1001u)));
    EXPECT_EQ(r.chips, static_cast<std::int32_t>(static_cast<std::uint32_t>(-9999999 * 1001LL)));
    EXPECT_EQ(r.plays, 9 * 1001);
    EXPECT_EQ(r.reaches, -9 * 1001);
    EXPECT_EQ(r.dealInPoints, -9999 * 1001);
    EXPECT_EQ(r.dealInCount, 99999 * 1001);
    EXPECT_EQ(r, TotalsByLine(text));
}

TEST_F(ResultsTest, TheLastLineNeedsNoLineEnd) {
    for (const char* end : {"\n", "\r\n", ""}) {
        const std::string yaku = "yaku: " + YakuWord(3, '5');
        WriteNetwork("end", "result: 1 2\r\n" + yaku + end);
        PlayerResults r;
        ASSERT_TRUE(ReadResults(r, "end", true));
        EXPECT_EQ(r.games, 1);
        EXPECT_EQ(r.yaku[3], 5) << "line end " << end;
    }
}

TEST_F(ResultsTest, ALargeFileWithAVeryLongLineInItsMiddleIsReadWhole) {
    // The middle falls inside the long line: the second half is what follows
    // it, or nothing, and then the file is read from start to end.
    const std::string lines = MixedLines(50000, 3);
    const std::string longLine = "yaku: " + std::string(lines.size() + 1000, '1');
    for (const std::string& after : {std::string("\nresult: 3 5\n"), std::string()}) {
        WriteNetwork("long", lines + longLine + after);
        PlayerResults r;
        ASSERT_TRUE(ReadResults(r, "long", true));
        EXPECT_EQ(r, TotalsByLine(lines + longLine + after)) << after.size();
    }
}

TEST_F(ResultsTest, PipesAndProcFilesAreRead) {
    // A pipe, filled while it is read.
    const std::string text = MixedLines(3000, 5);
    const std::string fifo = dir.Path("pipe.res");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
    PlayerResults piped;
    const bool read = ReadResultsFile(fifo, piped);
    writer.join();
    ASSERT_TRUE(read);
    EXPECT_EQ(piped, TotalsByLine(text));

    // A file of /proc, which reports no size.
    PlayerResults proc;
    proc.games = 5;
    EXPECT_TRUE(ReadResultsFile("/proc/self/status", proc));
    EXPECT_EQ(proc, PlayerResults{});
}

TEST(ResultsMoneyTest, MoneyDoesNotOverflow) {
    PlayerResults r;
    r.points = 2147483647;
    r.chips = 2147483647;
    EXPECT_EQ(r.Money(), 2147483647LL * 600);
    r.tsumoPoints = -2147483647 - 1;
    r.tsumoCount = 1;
    EXPECT_EQ(r.TsumoAverage(), -2147483647 - 1);
    r.tsumoCount = -1;  // a negative count never divides
    EXPECT_EQ(r.TsumoAverage(), std::nullopt);
}

TEST(YakuNamesTest, TableShape) {
    EXPECT_STREQ(YakuNames[0], "役満");
    EXPECT_STREQ(YakuNames[16], "リーチ");
    EXPECT_STREQ(YakuNames[38], "対々(2)");
    EXPECT_STREQ(YakuNames[49], "七対子(2)");
    EXPECT_STREQ(YakuNames[56], "ノーテンリーチ");
    for (int i = 57; i < kYakuCount; ++i) EXPECT_STREQ(YakuNames[i], "");
}

// Each yaku of the rules library's table lands, through the reader, on a
// named counter of its own. Yaku share a counter only where the table means
// them to: the two last-tile yaku, and each double yakuman with its single.
// A yaku worth different han open and closed has a counter for each.
TEST(YakuNamesTest, TheRulesLibrarysYakuDigitsAreUniqueAndNamed) {
    const std::map<int, std::set<std::string>> shared = {{1, {"国士無双", "国士無双十三面"}},
                                                         {3, {"四暗刻", "四暗刻単騎"}},
                                                         {9, {"九蓮宝燈", "純正九蓮宝燈"}},
                                                         {22, {"海底摸月", "河底撈魚"}}};
    const std::set<int> events = {
        riichi::kYakumanDigit,  riichi::kNagashiDigit,   riichi::kNineTerminalsDigit, riichi::kFourWindsDigit,
        riichi::kFourKansDigit, riichi::kTripleRonDigit, riichi::kNotenRiichiDigit};
    std::map<int, std::set<std::string>> users;
    for (const riichi::YakuRow& row : riichi::YakuTable()) {
        EXPECT_EQ(&riichi::RowOf(row.yaku), &row) << row.name;
        bool twoValues = !row.yakuman && row.openHan > 0 && row.openHan != row.closedHan;
        EXPECT_EQ(twoValues, row.closedDigit != row.openDigit) << row.name;
        users[row.closedDigit].insert(row.name);
        users[row.openDigit].insert(row.name);
    }
    for (const auto& [digit, names] : users) {
        SCOPED_TRACE(*names.begin());
        ASSERT_GE(digit, 0);
        ASSERT_LT(digit, kYakuCount);
        std::set<std::string> expected = shared.count(digit) ? shared.at(digit) : std::set{*names.begin()};
        EXPECT_EQ(names, expected);
        EXPECT_EQ(events.count(digit), 0u);
        PlayerResults r;
        std::string word(kYakuCount, '0');
        word[static_cast<std::size_t>(digit)] = '1';
        AddResultsLine("yaku: " + word, r);
        EXPECT_EQ(r.yaku[static_cast<std::size_t>(digit)], 1);
        auto lines = YakuListLines(r);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_STRNE(YakuNames[static_cast<std::size_t>(digit)], "");
        EXPECT_EQ(lines[0].rfind(YakuNames[static_cast<std::size_t>(digit)], 0), 0u);
    }
}

TEST(RatingTest, WeightedSumsAndPlaceTerms) {
    PlayerResults r;
    r.places = {1, 2, 3, 4};
    PlayerRating places = RatePlayer(r);
    EXPECT_EQ(places.technique, 9 + 8 - 57 - 364);
    EXPECT_EQ(places.luck, -8 + 6 - 102 + 328);
    EXPECT_EQ(places.strength, 8 + 6 - 102 - 344);
    EXPECT_EQ(places.attribute, 7 + 4 - 66 - 300);

    PlayerResults y;
    y.yaku[1] = 2;
    y.yaku[56] = 1;
    PlayerRating rating = RatePlayer(y);
    EXPECT_EQ(rating.technique, -20 - 500);
    EXPECT_EQ(rating.luck, 3000 - 100);
    EXPECT_EQ(rating.strength, -200 + 10);
    EXPECT_EQ(rating.attribute, -1800 - 500);
    EXPECT_EQ(YakuPointTable[10][1], 9900);
    EXPECT_EQ(YakuPointTable[50][3], -700);
}

TEST(RatingTest, AttributeClassesInOrder) {
    EXPECT_EQ(AttributeClass(1201), "Angel");
    EXPECT_EQ(AttributeClass(1200), "Master");
    EXPECT_EQ(AttributeClass(-1201), "Wizard");
    EXPECT_EQ(AttributeClass(-1200), "Devil");
    EXPECT_EQ(AttributeClass(801), "Master");
    EXPECT_EQ(AttributeClass(800), "Law");
    EXPECT_EQ(AttributeClass(-801), "Devil");
    EXPECT_EQ(AttributeClass(-800), "Chaos");
    EXPECT_EQ(AttributeClass(401), "Law");
    EXPECT_EQ(AttributeClass(400), "Neutral");
    EXPECT_EQ(AttributeClass(-401), "Chaos");
    EXPECT_EQ(AttributeClass(-400), "Neutral");
    EXPECT_EQ(AttributeClass(0), "Neutral");
}

}  // namespace
}  // namespace zv

namespace zv {
namespace {

// Totals computed the slow, obvious way with the shared line tokenizer.
PlayerResults ReferenceTotals(const std::vector<std::string>& lines) {
    PlayerResults r;
    for (const std::string& line : lines) {
        std::string text = line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        TokenizeLine(text);
        if (Token(1) == "result:") {
            r.games = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.games) + 1u);
            std::int32_t place = TokenInt(2);
            if (place >= 1 && place <= 4) ++r.places[place - 1];
            std::int32_t* fields[] = {&r.points,   &r.chips,        &r.plays,      &r.reaches,
                                      &r.calls,    &r.tsumoPoints,  &r.tsumoCount, &r.ronPoints,
                                      &r.ronCount, &r.dealInPoints, &r.dealInCount};
            for (int k = 0; k < 11; ++k)
                *fields[k] = static_cast<std::int32_t>(static_cast<std::uint32_t>(*fields[k]) +
                                                       static_cast<std::uint32_t>(TokenInt(3 + k)));
        } else if (Token(1) == "yaku:") {
            std::string digits = Token(2);
            bool ok = digits.size() == kYakuCount;
            for (char c : digits) ok = ok && c >= '0' && c <= '9';
            if (ok)
                for (int k = 0; k < kYakuCount; ++k) r.yaku[k] += digits[k] - '0';
        }
    }
    return r;
}

TEST(ResultsReaderTest, AgreesWithTheTokenizerOnRandomLines) {
    std::mt19937 random(12345);
    const std::vector<std::string> oddWords = {
        "-",        "+",          "+17",      "$1F", "-$10", "12x", "-7x", "123456789", "-12345678",
        "99999999", "4294967297", "00000042", "ｱ",   "名前", "",    "-0",  "--5",       "5-"};
    auto number = [&]() -> std::string {
        switch (random() % 6) {
            case 0:
                return oddWords[random() % oddWords.size()];
            case 1:
                return "-" + std::to_string(random() % 100000);
            default:
                return std::to_string(random() % 20000);
        }
    };
    auto blanks = [&]() -> std::string {
        static const char* kinds[] = {" ", " ", " ", "\t", "  ", " \t "};
        return kinds[random() % 6];
    };
    std::vector<std::string> lines;
    for (int i = 0; i < 4000; ++i) {
        std::string line;
        int kind = static_cast<int>(random() % 10);
        if (kind < 5) {
            line = (random() % 8 == 0 ? blanks() : "") + "result:";
            int words = static_cast<int>(random() % 16);
            for (int w = 0; w < words; ++w) line += blanks() + number();
            if (random() % 5 == 0) line += blanks();
            if (random() % 9 == 0) line += blanks() + std::string(70, '7');  // longer than one look
        } else if (kind < 8) {
            std::string digits(kYakuCount, '0');
            for (char& c : digits) c = static_cast<char>('0' + random() % 10);
            if (random() % 6 == 0) digits[random() % kYakuCount] = 'x';
            if (random() % 9 == 0) digits.pop_back();
            if (random() % 9 == 0) digits += "1";
            line = (random() % 6 == 0 ? blanks() : "") + "yaku:" + blanks() + digits;
            if (random() % 4 == 0) line += blanks() + "tail";
        } else if (kind == 8) {
            line = random() % 2 ? "# result: 1 2 3" : "resultx: 1 2";
        }
        if (random() % 2) line += '\r';
        lines.push_back(line);
    }
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    text.pop_back();  // the last line without its line end

    test::TempDir dir;
    std::string path = dir.Write("r.res", text);
    PlayerResults read;
    ASSERT_TRUE(ReadResultsFile(path, read));
    PlayerResults expected = ReferenceTotals(lines);
    EXPECT_EQ(read.games, expected.games);
    EXPECT_EQ(read.places, expected.places);
    EXPECT_EQ(read.points, expected.points);
    EXPECT_EQ(read.chips, expected.chips);
    EXPECT_EQ(read.dealInCount, expected.dealInCount);
    EXPECT_EQ(read.yaku, expected.yaku);
    EXPECT_EQ(read, expected);

    // Line by line, too.
    PlayerResults byLine;
    for (const auto& line : lines) AddResultsLine(line, byLine);
    EXPECT_EQ(byLine, expected);
}

}  // namespace
}  // namespace zv
