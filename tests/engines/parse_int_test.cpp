// The one reader of whole numbers that the protocol's lines go through.
#include "base/parse_int.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace zv::engine {
namespace {

constexpr long kMin = std::numeric_limits<long>::min();
constexpr long kMax = std::numeric_limits<long>::max();

TEST(ParseInt, ReadsWholeNumbersInTheirRange) {
    long v = 0;
    ASSERT_TRUE(ParseInt("0", 0, 3, v));
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(ParseInt("3", 0, 3, v));
    EXPECT_EQ(v, 3);
    ASSERT_TRUE(ParseInt("-25000", -100000, 100000, v));
    EXPECT_EQ(v, -25000);
    ASSERT_TRUE(ParseInt("007", 0, 10, v));
    EXPECT_EQ(v, 7);
    ASSERT_TRUE(ParseInt(std::to_string(kMax), kMin, kMax, v));
    EXPECT_EQ(v, kMax);
    ASSERT_TRUE(ParseInt(std::to_string(kMin), kMin, kMax, v));
    EXPECT_EQ(v, kMin);
}

TEST(ParseInt, RefusesEverythingElseAndKeepsTheValue) {
    long v = 42;
    for (const char* bad :
         {"", "-", "+", "+5", "--5", "-+5", " 5", "5 ", "5x", "x5", "0x10", "1e3", "1.0", "5-", "９",
          "4294967297", "9223372036854775808", "-9223372036854775809", "99999999999999999999999999"})
        EXPECT_FALSE(ParseInt(bad, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), v))
            << bad;
    EXPECT_FALSE(ParseInt("4", 0, 3, v));
    EXPECT_FALSE(ParseInt("-1", 0, 3, v));
    EXPECT_EQ(v, 42);
    // Only the characters inside the view count.
    std::string_view part = std::string_view("123456").substr(0, 2);
    ASSERT_TRUE(ParseInt(part, 0, 100, v));
    EXPECT_EQ(v, 12);
}

}  // namespace
}  // namespace zv::engine
