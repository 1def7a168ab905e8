#include "invoker/command_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/codec.h"
#include "platform/process.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

TEST(SubstituteMarkersTest, EveryMarkerIsReplacedWhereverItStands) {
    EXPECT_EQ(SubstituteMarkers("$(EXEDIR)zelvan1.exe -n $(USER)", "/opt/zv/", "taro"),
              "/opt/zv/zelvan1.exe -n taro");
    EXPECT_EQ(SubstituteMarkers("a $(USER) b $(USER)$(USER) $(EXEDIR)$(EXEDIR)", "/d/", "u"),
              "a u b uu /d//d/");
    EXPECT_EQ(SubstituteMarkers("$(USER)", "/d/", ""), "");
    EXPECT_EQ(SubstituteMarkers("", "/d/", "u"), "");
    EXPECT_EQ(SubstituteMarkers("plain -x \"y\"", "/d/", "u"), "plain -x \"y\"");
}

TEST(SubstituteMarkersTest, OnlyExactMarkersCount) {
    EXPECT_EQ(SubstituteMarkers("$(exedir)x $(user) $(User) $(USER $USER (USER) $(EXEDIR", "/d/", "u"),
              "$(exedir)x $(user) $(User) $(USER $USER (USER) $(EXEDIR");
    EXPECT_EQ(SubstituteMarkers("$$(USER)) $($(USER))", "/d/", "u"), "$u) $(u)");
}

TEST(SubstituteMarkersTest, InsertedTextIsNeverScannedAgain) {
    EXPECT_EQ(SubstituteMarkers("-n $(USER) $(USER)", "/d/", "$(USER)"), "-n $(USER) $(USER)");
    EXPECT_EQ(SubstituteMarkers("$(EXEDIR) $(USER)", "/a/$(USER)/", "$(EXEDIR)"), "/a/$(USER)/ $(EXEDIR)");
    // A name that completes a marker with the text after it stays as it is.
    EXPECT_EQ(SubstituteMarkers("$(USER)(USER)", "/d/", "x$"), "x$(USER)");
}

class RecordingStarter : public LinuxProcessStarter {
public:
    RecordingStarter() { SetProcessStarter(this); }
    ~RecordingStarter() override { SetProcessStarter(nullptr); }
    unsigned WinExec(const std::string& line, int showMode) override {
        lines.push_back(line);
        modes.push_back(showMode);
        return kStartFileNotFound;
    }
    std::vector<std::string> lines;
    std::vector<int> modes;
};

class InvokeCommandTest : public ::testing::Test {
protected:
    std::string Dir() const { return install_.path() + "/"; }
    test::TempDir install_;
    RecordingStarter starter_;
};

TEST_F(InvokeCommandTest, StartsTheFirstLineFilledIn) {
    install_.Write("command/zvcomm.arg",
                   ToCp932("\"$(EXEDIR)zvauto.exe\" -n \"$(USER)\" -h 名前\r\nsecond $(USER)\r\n"));
    auto started = InvokeCommand(Dir(), "花子", starter_);
    ASSERT_TRUE(started);
    std::string expected = "\"" + Dir() + "zvauto.exe\" -n \"花子\" -h 名前";
    EXPECT_EQ(*started, expected);
    EXPECT_EQ(starter_.lines, std::vector<std::string>{expected});
    EXPECT_EQ(starter_.modes, std::vector<int>{kShowNormal});
}

TEST_F(InvokeCommandTest, LastLineWithoutLineEndAndLfOnly) {
    install_.Write("command/zvcomm.arg", "run $(USER)");
    EXPECT_EQ(InvokeCommand(Dir(), "u", starter_), "run u");
    install_.Write("command/zvcomm.arg", "run2\nignored\n");
    EXPECT_EQ(InvokeCommand(Dir(), "u", starter_), "run2");
    EXPECT_EQ(starter_.lines, (std::vector<std::string>{"run u", "run2"}));
}

TEST_F(InvokeCommandTest, NothingStartsWithoutACommand) {
    EXPECT_FALSE(InvokeCommand(Dir(), "u", starter_));
    install_.Write("command/zvcomm.arg", "\r\n$(EXEDIR)zelvan1.exe\r\n");
    EXPECT_FALSE(InvokeCommand(Dir(), "u", starter_));
    install_.Write("command/zvcomm.arg", "");
    EXPECT_FALSE(InvokeCommand(Dir(), "u", starter_));
    std::filesystem::remove(install_.Path("command/zvcomm.arg"));
    std::filesystem::create_directory(install_.Path("command/zvcomm.arg"));
    EXPECT_FALSE(InvokeCommand(Dir(), "u", starter_));
    EXPECT_TRUE(starter_.lines.empty());
}

TEST(InvokerUserNameTest, FallsBackThroughSystemAndRegistry) {
    test::FakePlatform platform;
    EXPECT_EQ(InvokerUserName(), "unknown");
    platform.registry[{"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "DefaultUserName"}] =
        "winlogon";
    EXPECT_EQ(InvokerUserName(), "winlogon");
    platform.registry[{"SOFTWARE\\Microsoft\\Windows\\Current\\Version", "Registered Owner"}] = "owner";
    EXPECT_EQ(InvokerUserName(), "owner");
    platform.registry[{"System\\CurrentControlSet\\control", "Current User"}] = "current";
    EXPECT_EQ(InvokerUserName(), "current");
    platform.registry[{"Network\\Logon", "username"}] = "logon";
    EXPECT_EQ(InvokerUserName(), "logon");
    platform.userName = "system";
    EXPECT_EQ(InvokerUserName(), "system");
    platform.userName = std::string(300, 'n');
    EXPECT_EQ(InvokerUserName(), std::string(255, 'n'));
}

TEST(InvokerUserNameTest, NameHoldingAMarkerEndsUpLiterally) {
    test::FakePlatform platform;
    platform.userName = "$(USER)$(EXEDIR)";
    test::TempDir install;
    platform.installDir = install.path() + "/";
    install.Write("command/zvcomm.arg", "$(EXEDIR)p -u $(USER) $(USER)\r\n");
    RecordingStarter starter;
    auto started = InvokeCommand(platform.installDir, InvokerUserName(), CurrentProcessStarter());
    ASSERT_TRUE(started);
    EXPECT_EQ(*started, platform.installDir + "p -u $(USER)$(EXEDIR) $(USER)$(EXEDIR)");
}

}  // namespace
}  // namespace zv
