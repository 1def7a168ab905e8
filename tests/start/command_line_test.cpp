#include "start/command_line.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, ConfirmFlagIsFoundAnywhereIncludingTheProgramPath) {
    EXPECT_FALSE(HasConfirmFlag({"zelvan"}));
    EXPECT_FALSE(HasConfirmFlag({"zelvan", "-D", "-dd", "d"}));
    EXPECT_TRUE(HasConfirmFlag({"zelvan", "-u", "x", "-d"}));
    EXPECT_TRUE(HasConfirmFlag({"-d"}));
}

TEST(CommandLineTest, UserOverrideTakesTheNextArgumentAndTheLastOneWins) {
    EXPECT_EQ(UserOverrideArgument({"zelvan"}), std::nullopt);
    EXPECT_EQ(UserOverrideArgument({"zelvan", "-u", "guest"}), "guest");
    EXPECT_EQ(UserOverrideArgument({"zelvan", "-u", "one", "-1", "-u", "two"}), "two");
    // A trailing -u has nothing to take and changes nothing.
    EXPECT_EQ(UserOverrideArgument({"zelvan", "-u"}), std::nullopt);
    EXPECT_EQ(UserOverrideArgument({"zelvan", "-u", "first", "-u"}), "first");
    // Case matters; the program path is not an option.
    EXPECT_EQ(UserOverrideArgument({"zelvan", "-U", "x"}), std::nullopt);
    EXPECT_EQ(UserOverrideArgument({"-u", "path"}), std::nullopt);
    // The name may look like an option; it is still taken.
    EXPECT_EQ(UserOverrideArgument({"zelvan", "-u", "-d"}), "-d");
}

TEST(CommandLineTest, StartActionsKeepTheirOrder) {
    EXPECT_TRUE(StartActions({"zelvan", "-u", "x", "-d"}).empty());
    EXPECT_EQ(StartActions({"zelvan", "-help", "-u", "g", "-1"}),
              (std::vector<StartAction>{StartAction::OpenHelp, StartAction::DirectPlay}));
    EXPECT_TRUE(StartActions({"-1"}).empty());
    EXPECT_TRUE(StartActions({"zelvan", "-Help", "1", "--1"}).empty());
}

}  // namespace
}  // namespace zv
