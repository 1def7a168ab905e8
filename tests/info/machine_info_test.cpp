#include "info/machine_info.h"

#include <gtest/gtest.h>

#include "platform/system_info.h"
#include "support/fake_platform.h"
#include "support/fake_system_info.h"

namespace zv {
namespace {

class MachineInfoTest : public ::testing::Test {
protected:
    void SetUp() override { platform.installDir = "/opt/zelvan/"; }
    test::FakePlatform platform;
    test::FakeSystemInfo system;
};

TEST_F(MachineInfoTest, ColourDepthNames) {
    EXPECT_EQ(ColorDepthName(1), "Mono");
    EXPECT_EQ(ColorDepthName(4), "16 色");
    EXPECT_EQ(ColorDepthName(8), "256 色");
    EXPECT_EQ(ColorDepthName(16), "65535 色");
    EXPECT_EQ(ColorDepthName(15), "不明");
    EXPECT_EQ(ColorDepthName(24), "True Color");
    EXPECT_EQ(ColorDepthName(32), "True Color");
    EXPECT_EQ(ColorDepthName(0), "不明");
}

TEST_F(MachineInfoTest, MemoryFormatting) {
    EXPECT_EQ(FormatPhysicalMemory(65536ull * 1024), "65,536 KB");
    EXPECT_EQ(FormatPhysicalMemory(512), "1 KB");  // rounded
    EXPECT_EQ(FormatPhysicalMemory(0), "0 KB");
    EXPECT_EQ(FormatPhysicalMemory(24ull * 1024 * 1024 * 1024), "25,165,824 KB");
    EXPECT_EQ(FormatMemoryLoad(42), "42 %");
}

TEST_F(MachineInfoTest, FromTheSystemWhenTheUserNameIsKnown) {
    platform.userName = "taro";
    system.computerName = "mahjong-pc";
    system.version = OsVersion{3, "Linux", "Debian GNU/Linux 12 (bookworm)", 6, 1, 0};
    MachineInfo info = GatherMachineInfo(16);
    EXPECT_EQ(info.User, "taro");
    EXPECT_EQ(info.Comp, "mahjong-pc");
    EXPECT_EQ(info.OS, "Linux Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(info.OSversion, "6.1 0");
    EXPECT_EQ(info.InstallFolder, "/opt/zelvan/");
    EXPECT_EQ(info.disp, "65535 色");
    EXPECT_EQ(CurrentOsKind(), 0);

    system.version = OsVersion{1, "", "B", 4, 10, 2222};
    info = GatherMachineInfo(8);
    EXPECT_EQ(info.OS, "Windows 95 B");
    EXPECT_EQ(info.OSversion, "4.10 2222");
    EXPECT_EQ(CurrentOsKind(), 95);
}

TEST_F(MachineInfoTest, RegistryBranchWhenTheUserNameCannotBeRead) {
    system.version = OsVersion{2, "", "", 4, 0, 1381};  // an NT system
    system.computerName = "not-used";
    platform.registry[{"System\\CurrentControlSet\\control", "Current User"}] = "hanako";
    platform.registry[{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Version"}] = "Windows 95";
    MachineInfo info = GatherMachineInfo(32);
    EXPECT_EQ(CurrentOsKind(), 95);
    EXPECT_EQ(info.User, "hanako");
    EXPECT_EQ(info.Comp, "unknown");
    EXPECT_EQ(info.OS, "Windows 95");
    EXPECT_EQ(info.OSversion, "unknown");
    EXPECT_EQ(info.disp, "True Color");
}

TEST(OsKind, NinetyFiveForThatFamilyOrAnUnknownUser) {
    EXPECT_EQ(OsKindOf(true, OsVersion{1, "", "", 4, 10, 2222}), 95);
    EXPECT_EQ(OsKindOf(true, OsVersion{2, "", "", 4, 0, 1381}), 0);
    EXPECT_EQ(OsKindOf(true, std::nullopt), 0);
    EXPECT_EQ(OsKindOf(false, OsVersion{2, "", "", 4, 0, 1381}), 95);
}

}  // namespace
}  // namespace zv
