#include "config/codec.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zv
