#include "platform/MountTable.h"

#include "TestDirectory.h"
#include "platform/PathText.h"

#include <algorithm>
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
    DeviceDirectories devices;
    devices.labels = labels.Path();
    devices.blockDevices.clear();
    std::vector<MountedVolume> volumes = VolumesFromMountInfo(kMountInfo, devices);

    EXPECT_EQ(MountPoints(volumes), (std::vector<std::string>{"/", "/home", "/media/usb stick",
                                                              "/mnt/over", "/mnt/share", "/tmp"}));
    const MountedVolume& usb = volumes[2];
    EXPECT_EQ(usb.label, "MY STICK");
    EXPECT_EQ(usb.DisplayName(), "MY STICK (vfat)");
    EXPECT_EQ(usb.driveType, DRIVE_REMOVABLE);
    EXPECT_EQ(volumes[0].DisplayName(), "/dev/sda1 (ext4)");
    EXPECT_EQ(volumes[0].driveType, DRIVE_FIXED);
    EXPECT_FALSE(volumes[0].mayHang);
    // The later mount over /mnt/over is the one in use.
    EXPECT_EQ(volumes[3].fsType, "xfs");
    EXPECT_EQ(volumes[4].driveType, DRIVE_REMOTE);
    EXPECT_TRUE(volumes[4].mayHang);
    EXPECT_EQ(volumes[5].driveType, DRIVE_RAMDISK);

    // Seen from a chroot the table holds mounts below the root only; the
    // root is a drive all the same.
    volumes = VolumesFromMountInfo("30 1 0:5 / /proc rw - proc proc rw\n"
                                   "31 1 8:1 / /home rw - ext4 /dev/sda2 rw\n",
                                   devices);
    EXPECT_EQ(MountPoints(volumes), (std::vector<std::string>{"/", "/home"}));
    EXPECT_EQ(volumes[0].DisplayName(), "");
    EXPECT_EQ(volumes[0].driveType, DRIVE_FIXED);
}

// What a desktop with a stick, a card, a phone and network places mounts,
// next to the packages' and containers' mounts that are no drives.
TEST(MountTable, RemovableFuseAndNetworkPlacesAreDrivesWithReadableNames) {
    TestDirectory sys;
    auto device = [&](const std::string& number, const std::string& partition,
                      const char* removable) {
        const std::string disk = ParentDirectoryOf(partition);
        sys.Write(partition + "/partition", "1\n");
        if (removable)
            sys.Write(disk + "/removable", removable);
        sys.MakeDirectory("dev/block");
        ASSERT_EQ(::symlink((sys / partition).c_str(), (sys / ("dev/block/" + number)).c_str()), 0);
    };
    device("8:17", "devices/pci0/usb1/1-1/host6/block/sdb/sdb1", "0");
    device("179:1", "devices/platform/mmc0/block/mmcblk0/mmcblk0p1", "1");
    device("8:2", "devices/pci0/ata1/host0/block/sda/sda2", "0");

    TestDirectory gvfs;
    for (const char* share :
         {"sftp:host=example.org,user=me", "smb-share:server=nas,share=my%20music",
          "mtp:host=Phone_0123", "dav:host=cloud.example.org,ssl=true,prefix=%2Fdav", "not a share",
          "sftp:user=nohost"})
        gvfs.MakeDirectory(share);

    const std::string text =
        "22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
        "40 22 8:17 / /media/ann/CAMERA\\040ROLL rw - vfat /dev/sdb1 rw\n"
        "41 22 179:1 / /run/media/ann/\xff\xfe\\011card rw - exfat /dev/mmcblk0p1 rw\n"
        "42 22 0:50 / /home/ann/remote rw - fuse.sshfs ann@example.org:/srv rw,user_id=1000\n"
        "43 22 0:51 / /home/ann/drive rw - fuse.rclone gdrive: rw,user_id=1000\n"
        "44 22 0:52 / " +
        gvfs.Path() +
        " rw - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000\n"
        "45 22 0:53 / /run/user/1000/doc rw - fuse.portal portal rw\n"
        "46 22 0:54 / /sys/fs/fuse/connections rw - fusectl fusectl rw\n"
        "47 22 0:55 / /tmp/.mount_AppXyz ro - fuse.App.AppImage App.AppImage ro\n"
        "48 22 7:3 / /snap/firefox/42 ro - squashfs /dev/loop3 ro\n"
        "49 22 7:4 / /var/lib/snapd/snap/core/1 ro - squashfs /dev/loop4 ro\n"
        "50 22 0:60 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw\n"
        "51 22 8:2 /home/ann/shared /srv/shared rw - ext4 /dev/sda2 rw\n"
        "52 22 0:61 / /media/ann/RAM rw - tmpfs tmpfs rw\n"
        "53 22 0:62 / /mnt/crypt rw - fuse.gocryptfs /home/ann/.crypt rw\n";
    DeviceDirectories devices;
    devices.labels = (sys / "no labels");
    devices.blockDevices = sys / "dev/block";
    std::vector<MountedVolume> volumes = VolumesFromMountInfo(text, devices);

    const std::string g = gvfs.Path() + "/";
    std::vector<std::string> expected = {"/",
                                         g + "dav:host=cloud.example.org,ssl=true,prefix=%2Fdav",
                                         g + "mtp:host=Phone_0123",
                                         g + "sftp:host=example.org,user=me",
                                         g + "smb-share:server=nas,share=my%20music",
                                         "/home/ann/drive",
                                         "/home/ann/remote",
                                         "/media/ann/CAMERA ROLL",
                                         "/media/ann/RAM",
                                         "/mnt/crypt",
                                         "/run/media/ann/\xff\xfe\tcard"};
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(MountPoints(volumes), expected);
    auto volume = [&](const std::string& point) { return *VolumeOf(point, volumes); };

    // A stick on the USB bus, named after its mount point for want of a label.
    EXPECT_EQ(volume("/media/ann/CAMERA ROLL").driveType, DRIVE_REMOVABLE);
    EXPECT_EQ(volume("/media/ann/CAMERA ROLL").DisplayName(), "CAMERA ROLL (vfat)");
    // A card the system calls removable keeps its name's bytes.
    EXPECT_EQ(volume("/run/media/ann/\xff\xfe\tcard").label, "\xff\xfe\tcard");
    EXPECT_EQ(volume("/run/media/ann/\xff\xfe\tcard").driveType, DRIVE_REMOVABLE);
    EXPECT_EQ(volume("/").driveType, DRIVE_FIXED);
    EXPECT_EQ(volume("/mnt/crypt").driveType, DRIVE_FIXED);

    const MountedVolume& sshfs = volume("/home/ann/remote");
    EXPECT_EQ(sshfs.driveType, DRIVE_REMOTE);
    EXPECT_TRUE(sshfs.mayHang);
    EXPECT_EQ(sshfs.DisplayName(), "ann@example.org:/srv (fuse.sshfs)");
    EXPECT_EQ(volume("/home/ann/drive").driveType, DRIVE_REMOTE);

    const MountedVolume& sftp = volume(g + "sftp:host=example.org,user=me/deep/inside");
    EXPECT_EQ(sftp.DisplayName(), "me on example.org (sftp)");
    EXPECT_EQ(sftp.driveType, DRIVE_REMOTE);
    EXPECT_TRUE(sftp.mayHang);
    EXPECT_EQ(volume(g + "smb-share:server=nas,share=my%20music").DisplayName(),
              "my music on nas (smb)");
    EXPECT_EQ(volume(g + "dav:host=cloud.example.org,ssl=true,prefix=%2Fdav").DisplayName(),
              "cloud.example.org (davs)");
    EXPECT_EQ(volume(g + "mtp:host=Phone_0123").driveType, DRIVE_REMOVABLE);
    EXPECT_EQ(VolumeOf("/proc/1", {volume("/media/ann/RAM")}), nullptr);
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
