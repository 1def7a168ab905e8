#include "start/startup_tip.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

TEST(StartupTipTest, FirstStartMentionsColoursOnlyOnLowColourScreens) {
    EXPECT_EQ(StartupTip(0, true), "ボタン２でツモぎりです。");
    EXPECT_EQ(StartupTip(0, false),
              "ボタン２でツモぎりです。カラーは、65535色以上同時発色であることが望まれます。"
              "そうでない場合は色化けを避けることはできません。");
}

TEST(StartupTipTest, OnlyTheListedCountsHaveTips) {
    for (int count : {100, 200, 300, 400, 500, 600, 700, 800, 900, 5000}) {
        auto tip = StartupTip(count, false);
        ASSERT_TRUE(tip.has_value()) << count;
        EXPECT_EQ(tip, StartupTip(count, true)) << count;
    }
    EXPECT_EQ(StartupTip(100, true), "どうですか？操作しにくいところはありませんか？");
    EXPECT_EQ(StartupTip(700, true), "いそがばまわれと申します。");
    for (int count : {-1, 1, 5, 99, 101, 150, 1000, 4999, 5001})
        EXPECT_FALSE(StartupTip(count, true)) << count;
}

TEST(StartupTipTest, HiColorMeansMoreThanEightBits) {
    EXPECT_FALSE(IsHiColorDepth(8));
    EXPECT_TRUE(IsHiColorDepth(16));
}

}  // namespace
}  // namespace zv
