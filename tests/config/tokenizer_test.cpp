#include "config/tokenizer.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

TEST(Tokenizer, WordsAndTrailingBlanks) {
    EXPECT_EQ(TokenizeLine("param: nofly = 1"), 4);
    EXPECT_EQ(Token(0), "param: nofly = 1");
    EXPECT_EQ(Token(1), "param:");
    EXPECT_EQ(Token(2), "nofly");
    EXPECT_EQ(Token(4), "1");

    EXPECT_EQ(TokenizeLine("  a\tb "), 3);
    EXPECT_EQ(Token(1), "a");
    EXPECT_EQ(Token(2), "b");
    EXPECT_EQ(Token(3), "");

    EXPECT_EQ(TokenizeLine("   "), 1);
    EXPECT_EQ(Token(1), "");
    EXPECT_EQ(TokenizeLine(""), 0);
    EXPECT_EQ(Token(1), "");
    EXPECT_EQ(Token(-1), "");
}

TEST(Tokenizer, MoreThan32WordsKeepsTheFirst32) {
    std::string line;
    for (int i = 1; i <= 40; ++i) line += "w" + std::to_string(i) + " ";
    EXPECT_EQ(TokenizeLine(line), kMaxTokens);
    EXPECT_EQ(Token(32), "w32");
    EXPECT_EQ(Token(33), "");
    EXPECT_EQ(Token(0), line);
}

TEST(Tokenizer, TokenInt) {
    TokenizeLine("12ab -5 -5x $ff +3 x");
    EXPECT_EQ(TokenInt(1), 12);
    EXPECT_EQ(TokenInt(2), -5);
    EXPECT_EQ(TokenInt(3), 5);  // the minus applies only to a whole number
    EXPECT_EQ(TokenInt(4), 255);
    EXPECT_EQ(TokenInt(5), 3);
    EXPECT_EQ(TokenInt(6), 0);
    EXPECT_EQ(TokenInt(7), 0);
    EXPECT_EQ(TokenInt(-3), 0);
}

TEST(Tokenizer, LineSourceAcceptsCrLfAndLf) {
    LineSource source("a b\r\nc\n\nlast");
    EXPECT_EQ(ReadTokenLine(source), 2);
    EXPECT_EQ(ReadTokenLine(source), 1);
    EXPECT_EQ(Token(1), "c");
    EXPECT_EQ(ReadTokenLine(source), 0);
    EXPECT_EQ(ReadTokenLine(source), 1);
    EXPECT_EQ(Token(1), "last");
    EXPECT_TRUE(source.AtEnd());
}

}  // namespace
}  // namespace zv
