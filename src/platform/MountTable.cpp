#include "platform/MountTable.h"

#include "platform/DisplayText.h"
#include "platform/FileIO.h"
#include "platform/GvfsShare.h"
#include "platform/PathText.h"
#include "platform/TimedCall.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace orvo {

namespace {

// mountinfo writes space, tab, newline and backslash as \ooo.
std::string DecodeOctal(std::string_view field) {
    auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && octal(field[i + 1]) &&
            octal(field[i + 2]) && octal(field[i + 3])) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
            continue;
        }
        out.push_back(field[i]);
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t end = line.find(' ', pos);
        if (end == std::string_view::npos)
            end = line.size();
        if (end > pos)
            fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

bool IsPathPrefix(std::string_view prefix, std::string_view path) {
    if (prefix == "/")
        return !path.empty() && path.front() == '/';
    return path.substr(0, prefix.size()) == prefix &&
           (path.size() == prefix.size() || path[prefix.size()] == '/');
}

bool IsNetworkType(std::string_view type) {
    static const std::array<std::string_view, 18> kNetwork = {
        "nfs",        "nfs4",          "cifs",          "smb3",         "smbfs",
        "9p",         "virtiofs",      "afs",           "ceph",         "davfs",
        "fuse.sshfs", "fuse.rclone",   "fuse.s3fs",     "fuse.gcsfuse", "fuse.curlftpfs",
        "fuse.davfs", "fuse.smbnetfs", "fuse.glusterfs"};
    return std::find(kNetwork.begin(), kNetwork.end(), type) != kNetwork.end();
}

std::string RealPathOf(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

bool IsMediaPlace(std::string_view mountPoint) {
    return (IsPathPrefix("/media", mountPoint) || IsPathPrefix("/run/media", mountPoint)) &&
           mountPoint != "/media" && mountPoint != "/run/media";
}

bool IsFuse(std::string_view type) {
    return type == "fuse" || type == "fuseblk" || type.rfind("fuse.", 0) == 0;
}

// The desktop's folder of network places, listed by its folders instead.
constexpr std::string_view kGvfsType = "fuse.gvfsd-fuse";

// FUSE file systems that serve the desktop or a package manager rather
// than hold the user's files.
bool IsPseudoFuse(std::string_view type) {
    static const std::array<std::string_view, 7> kPseudo = {
        "fuse.portal",   "fuse.lxcfs",      "fuse.snapfuse",           "fuse.squashfuse",
        "fuse.kio-fuse", "fuse.gvfsd-fuse", "fuse.xdg-document-portal"};
    return std::find(kPseudo.begin(), kPseudo.end(), type) != kPseudo.end();
}

// A mount inside a dot-directory (an AppImage's /tmp/.mount_XXXX) is some
// program's own business.
bool HasHiddenComponent(std::string_view path) {
    return path.find("/.") != std::string_view::npos;
}

bool FileContains(const std::string& path, std::string_view text) {
    try {
        return ReadWholeFile(path).rfind(text, 0) == 0;
    } catch (const FileError&) {
        return false;
    }
}

// USB sticks and card readers: the device sits on a USB bus, or the
// system calls its disk removable (a partition asks its disk).
bool IsRemovableDevice(const std::string& blockDevices, const std::string& deviceNumber) {
    if (blockDevices.empty() || deviceNumber.empty())
        return false;
    char buffer[PATH_MAX];
    if (!::realpath(JoinPath(blockDevices, deviceNumber).c_str(), buffer))
        return false;
    const std::string device = buffer;
    if (device.find("/usb") != std::string::npos)
        return true;
    struct stat st {};
    const bool partition = ::stat(JoinPath(device, "partition").c_str(), &st) == 0;
    const std::string disk = partition ? ParentDirectoryOf(device) : device;
    return FileContains(JoinPath(disk, "removable"), "1");
}

// One volume per place the desktop's network mount shows.
// False when the mount did not answer in time: its places are then unknown,
// which is not the same as gone.
bool AddGvfsShares(const MountInfoEntry& mount, int timeoutMs, std::vector<MountedVolume>& out) {
    const auto names = EntryNamesWithin(mount.mountPoint, timeoutMs);
    if (!names)
        return false;
    for (const std::string& name : *names) {
        GvfsShare share;
        if (!DescribeGvfsShare(name, share))
            continue;
        MountedVolume v;
        v.mountPoint = JoinPath(mount.mountPoint, name);
        v.device = name;
        v.fsType = share.kind;
        v.label = share.label;
        v.driveType = share.device ? DRIVE_REMOVABLE : DRIVE_REMOTE;
        v.mayHang = true;
        out.push_back(std::move(v));
    }
    return true;
}

} // namespace

std::vector<MountInfoEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountInfoEntry> mounts;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::vector<std::string_view> f = SplitFields(text.substr(pos, end - pos));
        pos = end + 1;
        // id parent major:minor root mountpoint options [optional...] - type source superoptions
        auto dash = std::find(f.begin(), f.end(), std::string_view("-"));
        if (f.size() < 5 || dash == f.end() || dash - f.begin() < 6 || f.end() - dash < 3)
            continue;
        MountInfoEntry m;
        m.deviceNumber = std::string(f[2]);
        m.root = DecodeOctal(f[3]);
        m.mountPoint = DecodeOctal(f[4]);
        m.fsType = DecodeOctal(dash[1]);
        m.source = DecodeOctal(dash[2]);
        if (m.mountPoint.empty() || m.mountPoint.front() != '/')
            continue;
        mounts.push_back(std::move(m));
    }
    return mounts;
}

bool IsUserVolume(const MountInfoEntry& m) {
    if (m.mountPoint == "/")
        return true;
    if (m.root != "/" && m.fsType != "btrfs")
        return false;
    static const std::array<std::string_view, 4> kSystemTrees = {"/proc", "/sys", "/dev", "/snap"};
    for (std::string_view tree : kSystemTrees)
        if (IsPathPrefix(tree, m.mountPoint))
            return false;
    if (IsPathPrefix("/run", m.mountPoint) && !IsPathPrefix("/run/media", m.mountPoint))
        return false;
    // The user put it where removable media go.
    if (IsMediaPlace(m.mountPoint))
        return true;
    if (m.fsType == "tmpfs")
        return m.mountPoint == "/tmp";
    if (m.fsType == "squashfs" || m.fsType == "overlay")
        return false; // snap packages and container layers
    if (IsNetworkType(m.fsType))
        return true;
    if (IsFuse(m.fsType))
        return !IsPseudoFuse(m.fsType) && !HasHiddenComponent(m.mountPoint);
    return m.source.rfind("/dev/", 0) == 0;
}

bool MayHang(const MountInfoEntry& m) {
    return IsNetworkType(m.fsType) || IsFuse(m.fsType);
}

bool IsPlacesMount(const MountInfoEntry& mount) {
    return mount.fsType == kGvfsType;
}

int DriveTypeOf(const MountInfoEntry& m) {
    if (IsNetworkType(m.fsType))
        return DRIVE_REMOTE;
    if (m.fsType == "iso9660" || m.fsType == "udf")
        return DRIVE_CDROM;
    if (IsMediaPlace(m.mountPoint))
        return DRIVE_REMOVABLE;
    if (m.fsType == "tmpfs" || m.fsType == "ramfs")
        return DRIVE_RAMDISK;
    return DRIVE_FIXED;
}

std::string MountedVolume::DisplayName() const {
    const std::string& name = label.empty() ? device : label;
    return fsType.empty() ? name : name + " (" + fsType + ")";
}

std::vector<MountedVolume> VolumesFromMountInfo(std::string_view text,
                                                const DeviceDirectories& devices,
                                                bool* placesAnswered) {
    if (placesAnswered)
        *placesAnswered = true;
    std::vector<MountInfoEntry> mounts = ParseMountInfo(text);

    // Later lines mount over earlier ones at the same place.
    std::vector<MountInfoEntry> top;
    for (auto it = mounts.rbegin(); it != mounts.rend(); ++it) {
        bool hidden = std::any_of(top.begin(), top.end(), [&](const MountInfoEntry& m) {
            return m.mountPoint == it->mountPoint;
        });
        if (!hidden)
            top.push_back(*it);
    }

    std::vector<std::pair<std::string, std::string>> labels; // device, label
    if (DIR* dir = ::opendir(devices.labels.c_str())) {
        while (struct dirent* d = ::readdir(dir)) {
            std::string name = d->d_name;
            if (name == "." || name == "..")
                continue;
            labels.emplace_back(RealPathOf(JoinPath(devices.labels, name)),
                                DecodeHexEscapes(name, "\\x"));
        }
        ::closedir(dir);
    }

    std::vector<MountedVolume> volumes;
    for (const MountInfoEntry& m : top) {
        if (IsPlacesMount(m)) {
            if (!AddGvfsShares(m, devices.shareListTimeoutMs, volumes) && placesAnswered)
                *placesAnswered = false;
            continue;
        }
        if (!IsUserVolume(m))
            continue;
        // A file bound over a file (a container's /etc/hosts) is no drive.
        // A network mount is not asked: a bound file is no network share.
        struct stat st {};
        if (!MayHang(m) && ::stat(m.mountPoint.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
            continue;
        MountedVolume v;
        v.mountPoint = m.mountPoint;
        v.device = m.source;
        v.fsType = m.fsType;
        v.driveType = DriveTypeOf(m);
        v.mayHang = MayHang(m);
        const bool block = m.source.rfind("/dev/", 0) == 0;
        if (v.driveType == DRIVE_FIXED && block &&
            IsRemovableDevice(devices.blockDevices, m.deviceNumber))
            v.driveType = DRIVE_REMOVABLE;
        if (!labels.empty() && block) {
            std::string device = RealPathOf(m.source);
            for (const auto& [dev, label] : labels)
                if (dev == device)
                    v.label = label;
        }
        if (v.label.empty() && IsMediaPlace(m.mountPoint))
            v.label = std::string(FileNameOf(m.mountPoint));
        volumes.push_back(std::move(v));
    }
    // In a chroot the root is no mount of its own, and the table shows no
    // "/"; the root is still where every path starts.
    if (!mounts.empty() && std::none_of(volumes.begin(), volumes.end(), [](const MountedVolume& v) {
            return v.mountPoint == "/";
        })) {
        MountedVolume root;
        root.mountPoint = "/"; // nothing more is known: no device, no type
        root.driveType = DRIVE_FIXED;
        volumes.push_back(std::move(root));
    }
    std::sort(volumes.begin(), volumes.end(), [](const MountedVolume& a, const MountedVolume& b) {
        return a.mountPoint < b.mountPoint;
    });
    return volumes;
}

std::vector<MountedVolume> ListMountedVolumes(bool* placesAnswered, int placesTimeoutMs) {
    DeviceDirectories devices;
    devices.shareListTimeoutMs = placesTimeoutMs;
    if (placesAnswered)
        *placesAnswered = true;
    try {
        return VolumesFromMountInfo(ReadWholeFile("/proc/self/mountinfo"), devices, placesAnswered);
    } catch (const FileError&) {
        return {};
    }
}

const MountedVolume* VolumeOf(const std::string& path, const std::vector<MountedVolume>& volumes) {
    const MountedVolume* best = nullptr;
    for (const MountedVolume& v : volumes)
        if (IsPathPrefix(v.mountPoint, path) &&
            (!best || v.mountPoint.size() > best->mountPoint.size()))
            best = &v;
    return best;
}

std::string MountPointOf(const std::string& path, const std::vector<MountInfoEntry>& mounts) {
    std::string best = "/";
    for (const MountInfoEntry& m : mounts)
        if (m.mountPoint.size() > best.size() && IsPathPrefix(m.mountPoint, path))
            best = m.mountPoint;
    return best;
}

std::string MountPointOf(const std::string& path) {
    std::vector<MountInfoEntry> mounts;
    try {
        mounts = ParseMountInfo(ReadWholeFile("/proc/self/mountinfo"));
    } catch (const FileError&) {
    }
    return MountPointOf(StripTrailingSlash(path), mounts);
}

namespace {

bool DeviceOfNearest(std::string path, dev_t& device) {
    for (;;) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) {
            device = st.st_dev;
            return true;
        }
        std::string parent = ParentDirectoryOf(path);
        if (parent == path)
            return false;
        path = std::move(parent);
    }
}

} // namespace

bool SameFileSystem(const std::string& a, const std::string& b) {
    dev_t da{}, db{};
    return DeviceOfNearest(StripTrailingSlash(a), da) &&
           DeviceOfNearest(StripTrailingSlash(b), db) && da == db;
}

VolumeSpace GetVolumeSpace(const std::string& path) {
    VolumeSpace space;
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) != 0)
        return space;
    space.known = true;
    space.totalBytes = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
    space.freeBytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    return space;
}

VolumeSpace GetVolumeSpaceWithin(const std::string& path, int timeoutMs) {
    return CallWithin<VolumeSpace>(timeoutMs, [path] { return GetVolumeSpace(path); })
        .value_or(VolumeSpace());
}

} // namespace orvo
