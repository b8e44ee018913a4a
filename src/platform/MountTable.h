#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// Drive type codes of the drive list, kept with the numbers the icons and
// the size display were designed around.
enum DriveType : int {
    DRIVE_UNKNOWN = 0,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

// One line of /proc/self/mountinfo, octal escapes decoded.
struct MountInfoEntry {
    std::string root;         // the directory of the file system mounted here
    std::string deviceNumber; // "major:minor"
    std::string mountPoint;
    std::string fsType;
    std::string source; // device or remote name
};

// The mounts of a mountinfo text in its order; malformed lines are skipped.
std::vector<MountInfoEntry> ParseMountInfo(std::string_view text);

// Whether a mount is a place of the user's data rather than a kernel or
// container pseudo file system: block devices, network shares, the user's
// FUSE mounts, whatever is mounted under /media and /run/media, the root
// and /tmp. Bind mounts of a subtree are left out (they are not a file
// system of their own), except btrfs subvolumes, which look the same.
bool IsUserVolume(const MountInfoEntry& mount);

// The type by the mount alone; a block device the system calls removable
// is found by VolumesFromMountInfo.
int DriveTypeOf(const MountInfoEntry& mount);

// Whether a mount is the desktop's FUSE mount of network places, whose
// folders are drives of their own.
bool IsPlacesMount(const MountInfoEntry& mount);

// A network or FUSE file system: asking it anything (stat, free space) may
// take as long as its server or daemon likes, so the interface never waits
// on it.
bool MayHang(const MountInfoEntry& mount);

// A drive of the drive list.
struct MountedVolume {
    std::string mountPoint;
    std::string device;
    std::string fsType;
    // The file-system label, else the mount point's name under /media
    // and /run/media, else empty (the device names the volume).
    std::string label;
    int driveType = DRIVE_UNKNOWN;
    bool mayHang = false; // see MayHang

    // "LABEL (type)", or "device (type)" without a label; no "(type)" when
    // the type is not known.
    std::string DisplayName() const;
};

// Where the system describes its devices.
struct DeviceDirectories {
    // Symbolic links named after file-system labels, pointing at devices.
    std::string labels = "/dev/disk/by-label";
    // Links named "major:minor" into the device tree, whose folders hold
    // "removable" (and whose path names the bus, "usb").
    std::string blockDevices = "/sys/dev/block";
    // How long the folder list of the desktop's network mount may take.
    int shareListTimeoutMs = 300;
};

// The user's volumes of a mountinfo text, in mount-point order; a mount
// point mounted over keeps only its topmost mount. The desktop's FUSE
// mount of network places gives one volume per folder in it; when that mount
// does not list them in time, placesAnswered (if given) is set false.
std::vector<MountedVolume> VolumesFromMountInfo(std::string_view text,
                                                const DeviceDirectories& devices = {},
                                                bool* placesAnswered = nullptr);
// The volumes of this system, from /proc/self/mountinfo; empty when the
// mount table cannot be read.
std::vector<MountedVolume> ListMountedVolumes(bool* placesAnswered = nullptr,
                                              int placesTimeoutMs = 300);
// The volume of a list that holds a path: the one with the longest mount
// point that is the path or one of its ancestors; null when none does.
const MountedVolume* VolumeOf(const std::string& path, const std::vector<MountedVolume>& volumes);

// The mount point that holds a path: the longest mount point of the system
// that is the path or one of its ancestors ("/" when nothing else fits).
// Pure text, as the user sees the path; links are not followed.
std::string MountPointOf(const std::string& path);
std::string MountPointOf(const std::string& path, const std::vector<MountInfoEntry>& mounts);

// Whether two paths are on one file system: the same device for the two
// paths, or for their nearest existing ancestors (a target not made yet).
bool SameFileSystem(const std::string& a, const std::string& b);

struct VolumeSpace {
    bool known = false;
    uint64_t totalBytes = 0;
    uint64_t freeBytes = 0; // what an unprivileged user may still fill
};
VolumeSpace GetVolumeSpace(const std::string& path);
// The same for a volume that may not answer: unknown after timeoutMs.
VolumeSpace GetVolumeSpaceWithin(const std::string& path, int timeoutMs);

} // namespace orvo
