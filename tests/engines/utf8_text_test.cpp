#include "base/utf8_text.h"

#include <gtest/gtest.h>

#include "app/engine_paths.h"

namespace zv::engine {
namespace {

TEST(Utf8Text, WellFormedTextIsValid) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("guest"));
    EXPECT_TRUE(IsValidUtf8("ゲスト"));
    EXPECT_TRUE(IsValidUtf8("\xC2\x80"));          // U+0080, the lowest two-byte form
    EXPECT_TRUE(IsValidUtf8("\xE0\xA0\x80"));      // U+0800
    EXPECT_TRUE(IsValidUtf8("\xED\x9F\xBF"));      // U+D7FF, just below the surrogates
    EXPECT_TRUE(IsValidUtf8("\xEE\x80\x80"));      // U+E000, just above them
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x80\x84"));  // U+1F004, a four-byte character
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
}

TEST(Utf8Text, MalformedTextIsNot) {
    for (const char* bad : {
             "\xFF\xFE",          // never in UTF-8
             "a\x80",             // a stray continuation byte
             "\xE3\x82",          // a character cut short at the end
             "\xE3\x82z",         // ... or by another character
             "\xF0\x9F\x80",      // a four-byte character cut short
             "\xC0\xAF",          // overlong '/'
             "\xC1\xBF",          // overlong two-byte form
             "\xE0\x80\xAF",      // overlong three-byte form
             "\xF0\x80\x80\xAF",  // overlong four-byte form
             "\xED\xA0\x80",      // U+D800, a surrogate
             "\xED\xBF\xBF",      // U+DFFF
             "\xF4\x90\x80\x80",  // U+110000
             "\xF5\x80\x80\x80",  // beyond any code point
         })
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
}

TEST(Utf8Text, CutsOnlyBetweenCharacters) {
    EXPECT_EQ(CutUtf8("guest", 64), "guest");
    EXPECT_EQ(CutUtf8("guest", 3), "gue");
    EXPECT_EQ(CutUtf8("ゲスト", 9), "ゲスト");
    EXPECT_EQ(CutUtf8("ゲスト", 8), "ゲス");
    EXPECT_EQ(CutUtf8("ゲスト", 2), "");
    // A four-byte character across the limit is left out whole.
    std::string tiles = std::string(62, 'a') + "\xF0\x9F\x80\x84";
    EXPECT_EQ(CutUtf8(tiles, 64), std::string(62, 'a'));
    EXPECT_EQ(CutUtf8(tiles, 66), tiles);
    EXPECT_EQ(CutUtf8(std::string(60, 'a') + "\xF0\x9F\x80\x84" + "b", 64),
              std::string(60, 'a') + "\xF0\x9F\x80\x84");
    // Bytes that are no character count one each.
    EXPECT_EQ(CutUtf8("a\xFF\xFE"
                      "b",
                      3),
              "a\xFF\xFE");
    EXPECT_EQ(CutUtf8("\xE3\x82", 64), "\xE3\x82");
}

TEST(Utf8Text, OneWordNamesEndBetweenCharacters) {
    std::string shown;
    for (int i = 0; i < 30; ++i) shown += "名";  // 90 bytes
    std::string word = OneWord(shown);
    EXPECT_EQ(word.size(), 63u);
    EXPECT_TRUE(IsValidUtf8(word));
    EXPECT_EQ(OneWord(word), word);
}

}  // namespace
}  // namespace zv::engine
