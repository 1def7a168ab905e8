// The fast results reader against the plain one, over many generated files
// of usual and malformed lines.
#include "records/results_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "records/results.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

class ResultsFileMaker {
public:
    explicit ResultsFileMaker(unsigned seed) : random_(seed) {}

    // `lines` lines of every kind; the last one may lack its line end.
    std::string File(int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += Line() + LineEnd();
        if (Chance(3)) text += Line();
        return text;
    }

private:
    bool Chance(unsigned oneIn) { return random_() % oneIn == 0; }
    std::size_t Below(std::size_t n) { return random_() % n; }

    std::string Digits(std::size_t count) {
        std::string digits;
        for (std::size_t i = 0; i < count; ++i) digits += static_cast<char>('0' + Below(10));
        return digits;
    }

    std::string Blanks() {
        static const char* const kinds[] = {" ", " ", " ", "\t", "  ", " \t ", "\t\t"};
        return kinds[Below(std::size(kinds))];
    }

    // Mostly numbers the engines write; now and then anything a damaged
    // file could hold in their place.
    std::string Word() {
        switch (Below(12)) {
            case 0:
                return "-" + Digits(1 + Below(8));
            case 1:
                return Digits(9 + Below(4));  // too long for the quick paths
            case 2: {
                static const char* const odd[] = {"-",        "+",        "+17",        "$1F",        "-$10",
                                                  "12x",      "-7x",      "--5",        "5-",         "-0",
                                                  "00000042", "\x82\xa0", "1\x82\xa0",  "\x7f",       "1\v2",
                                                  "\f",       "9\r",      "4294967297", "-2147483648"};
                return odd[Below(std::size(odd))];
            }
            case 3: {
                std::string bytes;
                for (std::size_t i = 0, n = 1 + Below(6); i < n; ++i) bytes += RandomByte();
                return bytes;
            }
            default:
                return Digits(1 + Below(Chance(4) ? 8 : 4));
        }
    }

    // Any byte but blanks, tabs and line ends.
    char RandomByte() {
        for (;;) {
            const char c = static_cast<char>(Below(256));
            if (c != ' ' && c != '\t' && c != '\n') return c;
        }
    }

    std::string ResultLine() {
        std::string line = "result:";
        for (std::size_t w = 0, words = Below(17); w < words; ++w) line += Blanks() + Word();
        if (Chance(5)) line += Blanks();
        if (Chance(12)) line += Blanks() + Digits(60 + Below(200));  // beyond one look at the bytes
        return line;
    }

    std::string YakuLine() {
        std::string digits = Digits(kYakuCount);
        if (Chance(6)) digits[Below(kYakuCount)] = RandomByte();
        if (Chance(9)) digits.pop_back();
        if (Chance(9)) digits += Digits(1 + Below(3));
        std::string line = "yaku:" + (Chance(4) ? Blanks() : std::string(" ")) + digits;
        if (Chance(5)) line += Blanks() + Word();
        return line;
    }

    std::string Garbage() {
        std::string line;
        for (std::size_t i = 0, n = Below(100); i < n; ++i) line += Chance(8) ? ' ' : RandomByte();
        return line;
    }

    std::string Line() {
        const std::string lead = Chance(8) ? Blanks() : std::string();
        switch (Below(10)) {
            case 0:
            case 1:
            case 2:
            case 3:
                return lead + ResultLine();
            case 4:
            case 5:
                return lead + YakuLine();
            case 6: {
                static const char* const nearKeywords[] = {"result", "Result:",    "result:x", "yaku",
                                                           "yaku:x", "result:\r",  "yaku:\r",  "",
                                                           "\r",     "# result: 1"};
                return nearKeywords[Below(std::size(nearKeywords))] + Blanks() + Word();
            }
            default:
                return Garbage();
        }
    }

    std::string LineEnd() {
        static const char* const ends[] = {"\n", "\n", "\r\n", "\r\n", "\r\r\n", "\n\n"};
        return ends[Below(std::size(ends))];
    }

    std::mt19937 random_;
};

// The totals of the file read by ReadResultsFile.
PlayerResults ReadBack(const test::TempDir& dir, const std::string& text) {
    PlayerResults read;
    read.games = -1;  // shows a failed read
    EXPECT_TRUE(ReadResultsFile(dir.Write("r.res", text), read));
    return read;
}

// The first line on which the two readers disagree when it is read as a
// file of its own, for the failure message.
std::string FirstDisagreement(const test::TempDir& dir, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (!(ReadBack(dir, line + "\n") == ReferenceResults(line))) return line;
        start = end + 1;
    }
    return "(none alone)";
}

TEST(ResultsReferenceTest, FastReaderAgreesOnManyGeneratedFiles) {
    test::TempDir dir;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        ResultsFileMaker maker(seed);
        const std::string text = maker.File(static_cast<int>(seed % 97));
        ASSERT_EQ(ReadBack(dir, text), ReferenceResults(text))
            << "seed " << seed << ", line: " << FirstDisagreement(dir, text);
    }
}

TEST(ResultsReferenceTest, FastReaderAgreesAcrossReadBlocksAndHalves) {
    // Enough lines to fill several read blocks, and once a file large enough
    // to be read in two halves side by side.
    test::TempDir dir;
    for (int lines : {9000, 30000, 90000}) {
        ResultsFileMaker maker(static_cast<unsigned>(lines));
        const std::string text = maker.File(lines);
        if (lines == 90000) {
            ASSERT_GT(text.size(), 4u << 20);
        }
        ASSERT_EQ(ReadBack(dir, text), ReferenceResults(text))
            << lines << " lines, line: " << FirstDisagreement(dir, text);
    }
}

TEST(ResultsReferenceTest, EachLineAloneAgrees) {
    ResultsFileMaker maker(2024);
    for (int i = 0; i < 20000; ++i) {
        const std::string line = maker.File(1);
        const std::string withoutEnd = line.substr(0, line.find('\n'));
        PlayerResults fast;
        AddResultsLine(withoutEnd, fast);
        ASSERT_EQ(fast, ReferenceResults(withoutEnd)) << "line " << i << ": " << withoutEnd;
    }
}

TEST(ResultsReferenceTest, ReferenceReadsTheUsualLines) {
    const PlayerResults r = ReferenceResults(
        "result: 2 -10 3 12 1 2 1000 1 0 0 5900 2\r\n"
        "yaku: " +
        std::string(59, '0') + "7\n  result:\t4\nresult: 5 1\nyaku: 12\nrest\n");
    EXPECT_EQ(r.games, 3);
    EXPECT_EQ(r.places, (std::array<std::int32_t, 4>{0, 1, 0, 1}));
    EXPECT_EQ(r.points, -9);
    EXPECT_EQ(r.dealInPoints, 5900);
    EXPECT_EQ(r.yaku[59], 7);
    EXPECT_EQ(r.yaku[0], 0);
}

}  // namespace
}  // namespace zv
