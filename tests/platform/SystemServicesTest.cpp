#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/DriveClassifier.h"
#include "platform/FakeSystemServices.h"
#include "platform/PosixSystemServices.h"

using namespace tamber;

TEST(SystemServices, DataFolderComesFromTheOptionThenXdgThenHome)
{
    EXPECT_EQ(ChooseDataFolder("/opt/d", "/x", "/home/u"), "/opt/d");
    EXPECT_EQ(ChooseDataFolder("", "/x", "/home/u"), "/x/tamber");
    EXPECT_EQ(ChooseDataFolder("", "", "/home/u"), "/home/u/.local/share/tamber");
    EXPECT_EQ(ChooseDataFolder("", nullptr, "/home/u"), "/home/u/.local/share/tamber");
    EXPECT_EQ(PosixSystemServices("/tmp/some/dir/").CompanionFolder(), "/tmp/some/dir/zd");
}

TEST(SystemServices, FileSystemTypesMapToDriveKinds)
{
    EXPECT_EQ(DriveClassifier::ClassifyType("iso9660"), DriveKind::CdRom);
    EXPECT_EQ(DriveClassifier::ClassifyType("udf"), DriveKind::CdRom);
    EXPECT_EQ(DriveClassifier::ClassifyType("nfs4"), DriveKind::Network);
    EXPECT_EQ(DriveClassifier::ClassifyType("cifs"), DriveKind::Network);
    EXPECT_EQ(DriveClassifier::ClassifyType("fuse.sshfs"), DriveKind::Network);
    EXPECT_EQ(DriveClassifier::ClassifyType("fuse.portal"), DriveKind::Fixed);
    EXPECT_EQ(DriveClassifier::ClassifyType("ext4"), DriveKind::Fixed);
}

TEST(SystemServices, MountinfoGivesTheTypeOfTheInnermostMount)
{
    const char* mountinfo =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "40 22 11:0 / /media/cd\\040rom ro,relatime shared:20 - iso9660 /dev/sr0 ro\n"
        "41 22 0:44 / /mnt/share rw - cifs //srv/share rw\n"
        "42 41 0:45 / /mnt/share/inner rw - ext4 /dev/sdb1 rw\n"
        "garbage line\n"
        "43 22 0:46 / /mnt/sharedrive rw master:3 unbindable - nfs srv:/x rw\n";
    EXPECT_EQ(DriveClassifier::MountTypeOf(mountinfo, "/media/cd rom/APP.MMD"), "iso9660");
    EXPECT_EQ(DriveClassifier::MountTypeOf(mountinfo, "/media/cd"), "ext4");
    EXPECT_EQ(DriveClassifier::MountTypeOf(mountinfo, "/mnt/share/a.mmd"), "cifs");
    EXPECT_EQ(DriveClassifier::MountTypeOf(mountinfo, "/mnt/share/inner/a.mmd"), "ext4");
    EXPECT_EQ(DriveClassifier::MountTypeOf(mountinfo, "/mnt/sharedrive/a"), "nfs");
    EXPECT_EQ(DriveClassifier::MountTypeOf(mountinfo, "relative"), "");
    EXPECT_EQ(DriveClassifier::UnescapeMountField("a\\134b\\011"), "a\\b\t");
}

TEST(SystemServices, FakeDrivesAndForcedKinds)
{
    FakeSystemServices fake;
    fake.SetDriveKind("/media/cdrom", DriveKind::CdRom);
    fake.SetDriveKind("/net", DriveKind::Network);
    EXPECT_EQ(fake.DriveKindOf("/media/cdrom/a.mmd"), DriveKind::CdRom);
    EXPECT_EQ(fake.DriveKindOf("/media/cdrom2/a.mmd"), DriveKind::Fixed);
    EXPECT_EQ(fake.DriveKindOf("/net/a.mmd"), DriveKind::Network);
    fake.ForceDriveKind(DriveKind::Network);
    EXPECT_EQ(fake.DriveKindOf("/media/cdrom/a.mmd"), DriveKind::Network);
    fake.ForceDriveKind(std::nullopt);
    EXPECT_EQ(fake.DriveKindOf("/media/cdrom/a.mmd"), DriveKind::CdRom);
}

TEST(SystemServices, PosixListsAndCreatesDirectories)
{
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("tamber-sys-" + std::to_string(::getpid()));
    PosixSystemServices system(root.string());
    ASSERT_EQ(system.MakeDirectories(system.CompanionFolder() + "/deeper"), 1);
    EXPECT_TRUE(system.IsDirectory(system.CompanionFolder()));
    { std::ofstream(root / "B.txt") << "x"; }
    EXPECT_TRUE(system.IsFile((root / "B.txt").string()));
    EXPECT_FALSE(system.IsFile(system.CompanionFolder()));
    EXPECT_EQ(system.ListDirectory(root.string()), (std::vector<std::string> { "B.txt", "zd" }));
    EXPECT_EQ(system.DriveKindOf(root.string()), DriveKind::Fixed);
    fs::remove_all(root);
}
