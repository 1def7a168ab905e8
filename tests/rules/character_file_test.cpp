#include "rules/character_file.h"

#include <gtest/gtest.h>

#include "config/codec.h"
#include "support/default_character.h"
#include "support/fault_env.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using test::SaveFault;

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

const std::string kDefaultFile = test::DefaultAbcCharacterFile();

class CharacterFileTest : public ::testing::Test {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says
    test::TempDir dir;
    RecordingDialogs dialogs;
};

TEST_F(CharacterFileTest, DefaultsAreWrittenInTheEnginesLineOrder) {
    std::string path = dir.Path("abc.pf");
    ASSERT_EQ(SaveCharacterFile(path, DefaultCharacterValues("abc")), SaveResult::Saved);
    EXPECT_EQ(dir.Read("abc.pf"), kDefaultFile);
}

TEST_F(CharacterFileTest, EachFieldReachesItsOwnLines) {
    // Distinct values show that no field is written under another's key.
    CharacterValues values = DefaultCharacterValues("x");
    for (std::size_t i = 0; i < kCharacterParamCount; ++i) values.weights[i] = static_cast<int>(i) + 1;
    values.noisy = true;
    values.displayName = "";
    auto params = CharacterFileParams(values);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"yaku", "19"},    {"chitoi", "15"}, {"kokushi", "16"}, {"toitoi", "17"},  {"tanyao", "18"},
        {"kyusyu", "1"},   {"random", "2"},  {"dora", "3"},     {"color", "4"},    {"suji", "5"},
        {"zone", "6"},     {"deep", "7"},    {"reach", "8"},    {"kan", "9"},      {"pon", "10"},
        {"tie", "11"},     {"yomi", "12"},   {"zone", "13"},    {"tsuyoki", "14"}, {"chitoi", "15"},
        {"kokushi", "16"}, {"toitoi", "17"}, {"tanyao", "18"},  {"yaku", "19"},    {"noisy", "1"},
    };
    EXPECT_EQ(params, expected);  // no name line for an empty display name
}

TEST_F(CharacterFileTest, ReadingClampsBoundedFieldsOnly) {
    dir.Write("c.pf", Lines({"#!/bin/sh", "param: random = 5000", "param: dora = -5", "param: tsuyoki = 5000",
                             "param: deep = -70", "param: kan = 1001", "param: pon = 12abc"}));
    CharacterValues values = DefaultCharacterValues("c");
    ASSERT_TRUE(LoadCharacterFile(dir.Path("c.pf"), values, dialogs));
    EXPECT_EQ(values["Random"], 1000);
    EXPECT_EQ(values["PreferDora"], 0);
    EXPECT_EQ(values["Tsuyoki"], 5000);
    EXPECT_EQ(values["SyantenPrefer"], -70);
    EXPECT_EQ(values["KanRate"], 1000);
    EXPECT_EQ(values["PonRate"], 12);
    EXPECT_EQ(values["Kyusyu"], 700);  // not in the file: kept
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(CharacterFileTest, EveryZoneLineSetsBothFieldsAndTheLastLineWins) {
    dir.Write("z.pf", Lines({"param: zone = 10", "param: yaku = 5", "param: zone = 20", "param: yaku = 6",
                             "param: unknown = 7", "# param: kan = 9", "Param: kan = 9", "param: kan=9"}));
    CharacterValues values = DefaultCharacterValues("z");
    ASSERT_TRUE(LoadCharacterFile(dir.Path("z.pf"), values, dialogs));
    EXPECT_EQ(values["SamePrefer"], 20);
    EXPECT_EQ(values["NumberPrefer"], 20);
    EXPECT_EQ(values["PreferYaku"], 6);
    EXPECT_EQ(values["KanRate"], 0);
}

TEST_F(CharacterFileTest, NoisyAndNameLines) {
    CharacterValues values = DefaultCharacterValues("n");
    dir.Write("a.pf", ToCp932(Lines({"param: noisy = 1", "param: name = 麻雀　太郎"})));
    ASSERT_TRUE(LoadCharacterFile(dir.Path("a.pf"), values, dialogs));
    EXPECT_TRUE(values.noisy);
    EXPECT_EQ(values.displayName, "麻雀　太郎");  // a full-width blank is part of the word

    dir.Write("b.pf", Lines({"param: noisy = 0", "param: name = two words"}));
    ASSERT_TRUE(LoadCharacterFile(dir.Path("b.pf"), values, dialogs));
    EXPECT_FALSE(values.noisy);
    EXPECT_EQ(values.displayName, "two");
}

TEST_F(CharacterFileTest, CharacterFileIsCp932OnDisk) {
    CharacterValues values = DefaultCharacterValues("k");
    values.displayName = "とまと";
    std::string path = dir.Path("k.pf");
    ASSERT_EQ(SaveCharacterFile(path, values), SaveResult::Saved);
    EXPECT_NE(dir.Read("k.pf").find("param: name = " + ToCp932("とまと") + "\r\n\r\n"), std::string::npos);
    CharacterValues read = DefaultCharacterValues("k");
    read.displayName = "";
    ASSERT_TRUE(LoadCharacterFile(path, read, dialogs));
    EXPECT_EQ(read.displayName, "とまと");
}

TEST_F(CharacterFileTest, SaveAndLoadRoundTrip) {
    CharacterValues values = DefaultCharacterValues("r");
    for (std::size_t i = 0; i < kCharacterParamCount; ++i) values.weights[i] = static_cast<int>(i) * 37;
    values["SamePrefer"] = values["NumberPrefer"];  // they share the key
    values["Tsuyoki"] = -12345;
    values.noisy = true;
    ASSERT_EQ(SaveCharacterFile(dir.Path("r.pf"), values), SaveResult::Saved);
    CharacterValues read = DefaultCharacterValues("other");
    ASSERT_TRUE(LoadCharacterFile(dir.Path("r.pf"), read, dialogs));
    EXPECT_EQ(read.weights, values.weights);
    EXPECT_EQ(read.noisy, true);
    EXPECT_EQ(read.displayName, "r");
}

TEST_F(CharacterFileTest, UnreadableFilesAreReportedAndChangeNothing) {
    CharacterValues values = DefaultCharacterValues("m");
    values["Random"] = 7;
    std::string missing = dir.Path("missing.pf");
    EXPECT_FALSE(LoadCharacterFile(missing, values, dialogs));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{missing, "ファイルをオープンできません",
                                                                "ファイルがみつかりません"}));

    std::filesystem::create_directories(dir.Path("folder.pf"));
    EXPECT_FALSE(LoadCharacterFile(dir.Path("folder.pf"), values, dialogs));
    EXPECT_EQ(dialogs.calls.back().texts[1], "ファイルをオープンできません");

    dir.Write("broken.pf", std::string("param: random = 9\r\n\0\0\0", 23));
    EXPECT_FALSE(LoadCharacterFile(dir.Path("broken.pf"), values, dialogs));
    EXPECT_EQ(dialogs.calls.back().texts,
              (std::vector<std::string>{dir.Path("broken.pf"), "ファイルの読み込み時にエラーです",
                                        "ファイルが壊れています"}));
    EXPECT_EQ(values["Random"], 7);
}

TEST_F(CharacterFileTest, FailedSaveKeepsTheOldFile) {
    std::string path = dir.Path("abc.pf");
    ASSERT_EQ(SaveCharacterFile(path, DefaultCharacterValues("abc")), SaveResult::Saved);
    CharacterValues changed = DefaultCharacterValues("abc");
    changed["Random"] = 1;
    faults.Inject(SaveFault::Write);
    EXPECT_EQ(SaveCharacterFile(path, changed), SaveResult::WriteFailed);
    faults.Inject(SaveFault::None);
    EXPECT_EQ(dir.Read("abc.pf"), kDefaultFile);
    EXPECT_EQ(SaveCharacterFile(dir.Path("nodir/abc.pf"), changed), SaveResult::CannotCreate);
}

TEST(CharacterParamsTest, TableHoldsEveryFieldOnceWithItsRange) {
    const auto& params = CharacterParams();
    int perTab[4] = {};
    for (const auto& param : params) {
        ASSERT_GE(param.tab, 1);
        ASSERT_LE(param.tab, 3);
        ++perTab[param.tab];
        EXPECT_EQ(CharacterParamIndex(param.control), static_cast<std::size_t>(&param - params.data()));
        bool unbounded =
            std::string(param.control) == "SyantenPrefer" || std::string(param.control) == "Tsuyoki";
        EXPECT_EQ(param.bounded, !unbounded) << param.control;
    }
    EXPECT_EQ(perTab[1], 7);
    EXPECT_EQ(perTab[2], 7);
    EXPECT_EQ(perTab[3], 5);
    EXPECT_FALSE(CharacterParamIndex("Tomato"));
    EXPECT_EQ(ClampCharacterValue(params[0], 1001), 1000);
    EXPECT_EQ(ClampCharacterValue(params[0], -1), 0);
    EXPECT_EQ(CharacterFilePath("/i/", "abc"), "/i/usr/abc/abc.pf");
}

}  // namespace
}  // namespace zv
