#include "viewer/drives.h"

#include <gtest/gtest.h>

namespace zv::viewer {
namespace {

const char* const kMounts =
    "proc /proc proc rw,relatime 0 0\n"
    "sysfs /sys sysfs rw 0 0\n"
    "/dev/vda / ext4 rw,relatime 0 0\n"
    "tmpfs /mnt/scratch tmpfs rw 0 0\n"
    "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
    "/dev/sdc1 /media/ann/USB\\040STICK vfat rw 0 0\n"
    "server:/export /mnt/nas nfs4 rw 0 0\n"
    "/dev/sdd1 /run/media/ann/Backup ext4 rw 0 0\n"
    "/dev/sda1 /boot/efi vfat rw 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
    "sshfs#me@host: /mnt/remote fuse.sshfs rw 0 0\n"
    "/dev/sde1 /media ext4 rw 0 0\n"
    "garbage line\n"
    "\n";

TEST(ParseMountsTest, ReadsFieldsAndDecodesEscapes) {
    auto entries = ParseMounts(kMounts);
    ASSERT_EQ(entries.size(), 12u);  // the malformed and empty lines are skipped
    EXPECT_EQ(entries[4].device, "/dev/sdb1");
    EXPECT_EQ(entries[4].mountPoint, "/media/ann/USB STICK");
    EXPECT_EQ(entries[4].fsType, "vfat");
    auto odd = ParseMounts("/dev/x /mnt/a\\134b\\011c\\12 ext4 rw 0 0\n");
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].mountPoint, "/mnt/a\\b\tc\\12");  // an incomplete escape stays as written
}

TEST(IsRealFileSystemTest, KeepsDisksSharesAndUserFileSystems) {
    EXPECT_TRUE(IsRealFileSystem({"/dev/sdb1", "/media/x", "vfat"}));
    EXPECT_TRUE(IsRealFileSystem({"srv:/e", "/mnt/n", "nfs"}));
    EXPECT_TRUE(IsRealFileSystem({"//srv/share", "/mnt/s", "cifs"}));
    EXPECT_TRUE(IsRealFileSystem({"me@h:", "/mnt/r", "fuse.sshfs"}));
    EXPECT_FALSE(IsRealFileSystem({"tmpfs", "/mnt/t", "tmpfs"}));
    EXPECT_FALSE(IsRealFileSystem({"proc", "/proc", "proc"}));
    EXPECT_FALSE(IsRealFileSystem({"devtmpfs", "/dev", "devtmpfs"}));
    EXPECT_FALSE(IsRealFileSystem({"gvfsd-fuse", "/run/user/1/gvfs", "fuse.gvfsd-fuse"}));
}

TEST(DriveRootsTest, RootHomeThenMountedVolumesSortedWithoutDuplicates) {
    auto roots = DriveRoots(kMounts, "/home/ann/");
    std::vector<std::string> expected = {"/",        "/home/ann",   "/media/ann/USB STICK",
                                         "/mnt/nas", "/mnt/remote", "/run/media/ann/Backup"};
    EXPECT_EQ(roots, expected);
}

TEST(DriveRootsTest, WithoutHomeOrMountsOnlyTheRoot) {
    EXPECT_EQ(DriveRoots("", ""), std::vector<std::string>{"/"});
    EXPECT_EQ(DriveRoots("", "/"), std::vector<std::string>{"/"});
    EXPECT_EQ(DriveRoots("", "relative/home"), std::vector<std::string>{"/"});
}

TEST(DriveOfFolderTest, PicksTheLongestRootHoldingTheFolder) {
    std::vector<std::string> roots = {"/", "/home/ann", "/mnt/nas"};
    EXPECT_EQ(DriveOfFolder(roots, "/home/ann/pics"), 1u);
    EXPECT_EQ(DriveOfFolder(roots, "/home/ann"), 1u);
    EXPECT_EQ(DriveOfFolder(roots, "/home/ann/"), 1u);
    EXPECT_EQ(DriveOfFolder(roots, "/home/anna"), 0u);  // a longer name is not a subfolder
    EXPECT_EQ(DriveOfFolder(roots, "/mnt/nas/x/y"), 2u);
    EXPECT_EQ(DriveOfFolder(roots, "/"), 0u);
    EXPECT_FALSE(DriveOfFolder({"/home/ann"}, "/etc").has_value());
    EXPECT_FALSE(DriveOfFolder(roots, "relative").has_value());
}

}  // namespace
}  // namespace zv::viewer
