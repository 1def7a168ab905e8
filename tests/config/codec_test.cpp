#include "config/codec.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace zv {
namespace {

TEST(Codec, RoundTripsJapaneseAndAscii) {
    const std::string text = "麻雀  ルール設定 \\path~ ABC 123";
    std::string bytes = ToCp932(text);
    EXPECT_EQ(bytes.substr(0, 4), "\x96\x83\x90\x9D");  // 麻雀
    EXPECT_EQ(FromCp932(bytes), text);
    EXPECT_TRUE(IsCp932Encodable(text));
}

TEST(Codec, HalfWidthKatakanaIsOneByteEach) {
    std::string bytes = ToCp932("ﾌｧｲﾙ");
    EXPECT_EQ(bytes, "\xCC\xA7\xB2\xD9");
    EXPECT_EQ(FromCp932(bytes), "ﾌｧｲﾙ");
    EXPECT_EQ(Cp932Width("ﾌｧｲﾙ"), 4u);
    EXPECT_EQ(Cp932Width("ファイル"), 8u);
    EXPECT_EQ(Cp932Width("abc"), 3u);
}

TEST(Codec, WaveDashAndFullWidthTildeShareOneCode) {
    // 0x8160 reads as FULLWIDTH TILDE; WAVE DASH is written with that code.
    EXPECT_EQ(FromCp932("\x81\x60"), "～");
    EXPECT_EQ(ToCp932("〜"), "\x81\x60");
    EXPECT_EQ(ToCp932("～"), "\x81\x60");
    EXPECT_TRUE(IsCp932Encodable("〜"));
}

TEST(Codec, NecSpecialCharacters) {
    EXPECT_EQ(FromCp932("\x87\x40"), "①");
    EXPECT_EQ(ToCp932("①"), "\x87\x40");
    EXPECT_EQ(FromCp932("\x87\x8A"), "㈱");
    EXPECT_EQ(ToCp932("㈱"), "\x87\x8A");
}

TEST(Codec, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(FromCp932(std::string("a\x80"
                                    "b",
                                    3)),
              "a\uFFFD"
              "b");
    EXPECT_EQ(FromCp932("\xA0\xFD"), "\uFFFD\uFFFD");
    // A lead byte cut off at the end of the data is reported, not dropped.
    EXPECT_EQ(FromCp932("x\x82"), "x\uFFFD");
    // A lead byte followed by a byte that cannot trail.
    EXPECT_EQ(FromCp932("\x82\x20z"), "\uFFFD z");
}

TEST(Codec, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(ToCp932("a😀b"), "a?b");
    EXPECT_FALSE(IsCp932Encodable("😀"));
    EXPECT_EQ(ToCp932("\xFF"), "?");  // invalid UTF-8
    EXPECT_EQ(Cp932Width("😀"), 1u);
}

TEST(Codec, YenSignAndMinusUseTheirWindowsCodes) {
    EXPECT_EQ(ToCp932("¥"), "\\");
    EXPECT_EQ(ToCp932("−"), "\x81\x7C");
}

TEST(Codec, AsciiRunsOfEveryLengthAroundCharacters) {
    // Plain ASCII is copied in runs; a character may start at any offset.
    for (std::size_t run = 0; run <= 17; ++run) {
        std::string ascii(run, 'a');
        std::string text = ascii + "麻" + ascii + "ｱ\\~" + ascii;
        std::string bytes = ascii + "\x96\x83" + ascii + "\xB1\\~" + ascii;
        EXPECT_EQ(ToCp932(text), bytes) << run;
        EXPECT_EQ(FromCp932(bytes), text) << run;
        EXPECT_EQ(Cp932Width(text), bytes.size()) << run;
        EXPECT_EQ(FromCp932(ascii + "\x82"), ascii + "\uFFFD") << run;
        EXPECT_EQ(ToCp932(ascii + "\xE9\xBA"), ascii + "??") << run;  // cut-off UTF-8: per byte
    }
}

// Every kanji of the two JIS levels (leads 0x88..0x9F) reads back to its code.
std::string KanjiRoundTrips() {
    std::string failures;
    for (int lead = 0x88; lead <= 0x9F; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            std::string text = FromCp932(std::string_view(pair, 2));
            if (text.find("\uFFFD") != std::string::npos) continue;  // unassigned code
            if (ToCp932(text) != std::string_view(pair, 2) || Cp932Width(text) != 2 ||
                !IsCp932Encodable(text))
                failures += std::to_string(lead) + "/" + std::to_string(trail) + " ";
        }
    }
    return failures;
}

TEST(Codec, WholeKanjiTablesRoundTrip) {
    EXPECT_EQ(KanjiRoundTrips(), "");
    EXPECT_EQ(FromCp932("\x88\x9F\x9F\xFC"), "亜滌");
}

TEST(Codec, ThreadsConvertingAtOnceAgree) {
    // Conversions start on several threads at once, each meeting characters
    // no conversion has met before.
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (auto& result : results) threads.emplace_back([&result] { result = KanjiRoundTrips(); });
    for (auto& thread : threads) thread.join();
    for (const auto& result : results) EXPECT_EQ(result, "");
}

}  // namespace
}  // namespace zv
