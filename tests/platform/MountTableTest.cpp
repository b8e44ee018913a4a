#include "platform/MountTable.h"

#include "TestDirectory.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace orvo;
using orvo::test::TestDirectory;

namespace {

// Mount points under /media and /mnt that do not exist on a test machine:
// the volume list keeps mounts it cannot examine.
const char* kMountInfo = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                         "23 22 0:5 / /proc rw,nosuid - proc proc rw\n"
                         "24 22 0:20 / /dev/shm rw - tmpfs tmpfs rw\n"
                         "25 22 0:21 / /tmp rw shared:5 master:2 - tmpfs tmpfs rw\n"
                         "26 22 8:17 / /media/usb\\040stick rw - vfat /dev/null rw\n"
                         "27 22 8:2 /@home /home rw - btrfs /dev/sda2 rw\n"
                         "28 22 8:1 /srv/data /mnt/bound rw - ext4 /dev/sda1 rw\n"
                         "29 22 0:40 / /mnt/share rw - nfs4 server:/export rw\n"
                         "30 22 0:41 / /var/lib/docker/overlay2/x/merged rw - overlay overlay rw\n"
                         "31 22 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
                         "garbage line without the separator\n"
                         "32 22 8:3 / /mnt/over rw - ext4 /dev/sda3 rw\n"
                         "33 32 8:4 / /mnt/over rw - xfs /dev/sda4 rw\n";

std::vector<std::string> MountPoints(const std::vector<MountedVolume>& volumes) {
    std::vector<std::string> points;
    for (const MountedVolume& v : volumes)
        points.push_back(v.mountPoint);
    return points;
}

} // namespace

TEST(MountTable, DriveListHoldsTheUsersVolumesOnly) {
    TestDirectory labels;
    ASSERT_EQ(::symlink("/dev/null", (labels / "MY\\x20STICK").c_str()), 0);
    std::vector<MountedVolume> volumes = VolumesFromMountInfo(kMountInfo, labels.Path());

    EXPECT_EQ(MountPoints(volumes), (std::vector<std::string>{"/", "/home", "/media/usb stick",
                                                              "/mnt/over", "/mnt/share", "/tmp"}));
    const MountedVolume& usb = volumes[2];
    EXPECT_EQ(usb.label, "MY STICK");
    EXPECT_EQ(usb.DisplayName(), "MY STICK (vfat)");
    EXPECT_EQ(usb.driveType, DRIVE_REMOVABLE);
    EXPECT_EQ(volumes[0].DisplayName(), "/dev/sda1 (ext4)");
    EXPECT_EQ(volumes[0].driveType, DRIVE_FIXED);
    // The later mount over /mnt/over is the one in use.
    EXPECT_EQ(volumes[3].fsType, "xfs");
    EXPECT_EQ(volumes[4].driveType, DRIVE_REMOTE);
    EXPECT_EQ(volumes[5].driveType, DRIVE_RAMDISK);
}

TEST(MountTable, MountPointIsTheLongestAncestor) {
    std::vector<MountInfoEntry> mounts = ParseMountInfo(kMountInfo);
    ASSERT_EQ(mounts.size(), 12u); // the garbage line is skipped
    EXPECT_EQ(mounts[5].root, "/@home");
    EXPECT_EQ(MountPointOf("/media/usb stick/photos/a.jpg", mounts), "/media/usb stick");
    EXPECT_EQ(MountPointOf("/media/usb stick", mounts), "/media/usb stick");
    EXPECT_EQ(MountPointOf("/media/usb sticks", mounts), "/");
    EXPECT_EQ(MountPointOf("/proc/self", mounts), "/proc");
    EXPECT_EQ(MountPointOf("/home/u", {}), "/");
}

TEST(MountTable, SameFileSystemLooksAtTheNearestExistingAncestor) {
    TestDirectory dir;
    dir.Write("a");
    EXPECT_TRUE(SameFileSystem(dir / "a", dir / "not/made/yet"));
    EXPECT_FALSE(SameFileSystem(dir / "a", "/proc/self"));

    VolumeSpace space = GetVolumeSpace(dir.Path());
    EXPECT_TRUE(space.known && space.totalBytes >= space.freeBytes && space.totalBytes > 0);
    EXPECT_FALSE(GetVolumeSpace(dir / "missing").known);
}
