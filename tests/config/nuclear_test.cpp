#include "config/nuclear.h"

#include <gtest/gtest.h>

#include <vector>

namespace zv {
namespace {

class NucTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetNucErrorHook([this](const std::string& m) { errors.push_back(m); });
    }
    void TearDown() override { SetNucErrorHook(nullptr); }

    std::vector<std::string> errors;
};

TEST_F(NucTest, DefineWithStringValue) {
    NucOpen("(define port \"4112\")");
    NucNode* form = NucRead();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(NucLength(form), 3);
    EXPECT_EQ(NucNth(form, 0)->kind, kNucSymbol);
    EXPECT_EQ(NucNth(form, 2)->kind, kNucString);
    std::string name, value;
    NucGetString(form, 1, name);
    NucGetString(form, 2, value);
    EXPECT_EQ(name, "port");
    EXPECT_EQ(value, "4112");
    EXPECT_EQ(NucGetInt(form, 2), 4112);
    EXPECT_EQ(NucRead(), nullptr);
}

TEST_F(NucTest, NumbersAndMissingValues) {
    NucOpen("(define count 7) (define x -12) (define a) (define q '42') (define m -)");
    NucNode* form = NucRead();
    std::string text;
    NucGetString(form, 2, text);
    EXPECT_EQ(text, "7");
    EXPECT_EQ(NucGetInt(form, 2), 7);
    EXPECT_EQ(NucGetInt(NucRead(), 2), -12);
    form = NucRead();
    std::string untouched = "keep";
    NucGetString(form, 2, untouched);
    EXPECT_EQ(untouched, "keep");
    EXPECT_EQ(NucGetInt(form, 2), 0);
    form = NucRead();
    EXPECT_EQ(NucNth(form, 2)->kind, kNucQuotedNumber);
    EXPECT_EQ(NucNth(form, 2)->number, 42);
    NucGetString(form, 2, untouched);
    EXPECT_EQ(untouched, "");  // a quoted number has no text
    EXPECT_EQ(NucGetInt(form, 2), 0);
    EXPECT_EQ(NucGetInt(NucRead(), 2), 0);  // a lone '-' is the number 0
}

TEST_F(NucTest, CommentsSeparatorsAndNesting) {
    NucOpen("(a\t(b c)\r\n d)\n# comment (x y)\n\t( e 12ab )");
    NucNode* first = NucRead();
    ASSERT_EQ(NucLength(first), 3);
    EXPECT_EQ(NucLength(NucNth(first, 1)), 2);
    NucNode* second = NucRead();
    ASSERT_EQ(NucLength(second), 3);  // 12ab is the number 12 then the symbol ab
    EXPECT_EQ(NucNth(second, 1)->number, 12);
    EXPECT_EQ(NucNth(second, 2)->text, "ab");
    EXPECT_EQ(NucRead(), nullptr);
}

TEST_F(NucTest, EmptyListAtTopLevelEndsReading) {
    NucOpen("() (define a 1)");
    EXPECT_EQ(NucRead(), nullptr);
}

TEST_F(NucTest, MalformedInputEndsCleanly) {
    NucOpen("(define x 1");
    NucNode* item = NucRead();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->kind, kNucInteger);  // the last element read, not the list
    EXPECT_EQ(item->number, 1);
    EXPECT_EQ(NucRead(), nullptr);
    EXPECT_EQ(errors, std::vector<std::string>{"illegal eof"});

    NucOpen(") (define a 1)");
    EXPECT_EQ(NucRead(), nullptr);  // stray ')'
    NucOpen("(define v %(1 2))");
    EXPECT_EQ(NucRead(), nullptr);  // vector opener
    errors.clear();
    NucOpen("(define p %x 3)");
    NucNode* form = NucRead();  // '%' without '(' is reported and skipped
    EXPECT_EQ(NucLength(form), 4);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(NucTest, UnterminatedStringRunsToTheEnd) {
    NucOpen("\"abc\ndef");
    NucNode* item = NucRead();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, "abc\ndef");
}

TEST_F(NucTest, LongTokensAreCutAtTheLimit) {
    NucOpen("\"" + std::string(1000, 'x') + "\" sym");
    NucNode* item = NucRead();
    EXPECT_EQ(item->text.size(), kNucTokenLimit);
    EXPECT_EQ(NucRead()->text, "sym");  // reading goes on after the long token
    EXPECT_FALSE(errors.empty());

    // Japanese text is cut at a character boundary (two bytes each in CP932).
    std::string kana;
    for (int i = 0; i < 200; ++i) kana += "あ";
    NucOpen("\"" + kana + "\"");
    item = NucRead();
    EXPECT_EQ(item->text.size(), 129u * 3);  // 129 characters = 258 CP932 bytes
}

TEST_F(NucTest, TokenLimitIsExactForEveryKindOfToken) {
    // 259 bytes stay whole; one more is cut, for symbols and numbers too.
    std::string letters(kNucTokenLimit, 'x');
    NucOpen("\"" + letters + "\" " + letters + "y " + std::string(300, '7') + " 'q");
    EXPECT_EQ(NucRead()->text, letters);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(NucRead()->text, letters);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(NucRead()->number, NucTextToInt(std::string(kNucTokenLimit, '7')));
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(NucRead()->number, 0);  // 'q: a quoted token running to the end
    EXPECT_EQ(errors.size(), 2u);

    // Stray UTF-8 bytes count two CP932 bytes each: 129 fit, 130 do not.
    NucOpen("\"" + std::string(129, '\x80') + "\" \"" + std::string(130, '\x80') + "\"");
    EXPECT_EQ(NucRead()->text.size(), 129u);
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(NucRead()->text.size(), 129u);
    EXPECT_EQ(errors.size(), 3u);
}

TEST_F(NucTest, CommentsAtTheEndAndBetweenTokens) {
    NucOpen("# only a comment");
    EXPECT_EQ(NucRead(), nullptr);
    NucOpen("(a#comment)\nb)\n\"s#t\"# last");
    NucNode* list = NucRead();
    ASSERT_EQ(NucLength(list), 2);
    EXPECT_EQ(NucNth(list, 1)->text, "b");
    EXPECT_EQ(NucRead()->text, "s#t");
    EXPECT_EQ(NucRead(), nullptr);
}

TEST_F(NucTest, NestingLimit) {
    std::string ok(255, '(');
    ok += "x" + std::string(255, ')');
    NucOpen(ok);
    EXPECT_NE(NucRead(), nullptr);
    EXPECT_TRUE(errors.empty());

    std::string deep(256, '(');
    deep += "x" + std::string(256, ')');
    NucOpen(deep);
    EXPECT_EQ(NucRead(), nullptr);
    EXPECT_FALSE(errors.empty());

    NucOpen(std::string(100000, '('));  // far beyond the limit: no overflow
    EXPECT_EQ(NucRead(), nullptr);
}

TEST_F(NucTest, LookupAndEntries) {
    NucOpen("((\"a\" \"1\") (\"b\" \"2\") (\"a\" \"3\") (x \"4\") (() \"5\") 7)");
    NucNode* list = NucRead();
    std::string value = "old";
    NucLookup(list, "b", value);
    EXPECT_EQ(value, "2");
    NucLookup(list, "a", value);
    EXPECT_EQ(value, "1");  // the first match wins
    NucLookup(list, "zz", value);
    EXPECT_EQ(value, "");

    std::string name = "old";
    NucEntryName(list, 3, name);
    EXPECT_EQ(name, "");  // first item a symbol
    name = "old";
    NucEntryName(list, 4, name);
    EXPECT_EQ(name, "old");  // first item the empty list
    NucEntryName(list, 5, name);
    EXPECT_EQ(name, "");  // not a list
    NucEntryName(list, 9, name);
    EXPECT_EQ(name, "");
    NucEntryValue(list, 5, value);
    EXPECT_EQ(value, "");
}

TEST(NucText, NumberConversion) {
    EXPECT_EQ(NucTextToInt("  42abc"), 42);
    EXPECT_EQ(NucTextToInt("-7"), -7);
    EXPECT_EQ(NucTextToInt("+8"), 8);
    EXPECT_EQ(NucTextToInt("$1f"), 31);
    EXPECT_EQ(NucTextToInt("abc"), 0);
    EXPECT_EQ(NucTextToInt(""), 0);
    NucTextToInt("99999999999999999999");  // wraps, no undefined behaviour
}

}  // namespace
}  // namespace zv
