#include "platform/MountTable.h"

#include "platform/FileIO.h"
#include "platform/PathText.h"

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

// udev names label links with \xNN for bytes it does not keep.
std::string DecodeHex(std::string_view text) {
    std::string out;
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && hex(text[i + 2]) >= 0 &&
            hex(text[i + 3]) >= 0) {
            out.push_back(static_cast<char>(hex(text[i + 2]) * 16 + hex(text[i + 3])));
            i += 3;
            continue;
        }
        out.push_back(text[i]);
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
    static const std::array<std::string_view, 10> kNetwork = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "9p", "virtiofs", "afs", "ceph"};
    return std::find(kNetwork.begin(), kNetwork.end(), type) != kNetwork.end();
}

std::string RealPathOf(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
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
    if (m.fsType == "tmpfs")
        return m.mountPoint == "/tmp";
    if (m.fsType == "squashfs" || m.fsType == "overlay")
        return false; // snap packages and container layers
    if (IsNetworkType(m.fsType))
        return true;
    return m.source.rfind("/dev/", 0) == 0;
}

int DriveTypeOf(const MountInfoEntry& m) {
    if (IsNetworkType(m.fsType))
        return DRIVE_REMOTE;
    if (m.fsType == "tmpfs" || m.fsType == "ramfs")
        return DRIVE_RAMDISK;
    if (m.fsType == "iso9660" || m.fsType == "udf")
        return DRIVE_CDROM;
    if (IsPathPrefix("/media", m.mountPoint) || IsPathPrefix("/run/media", m.mountPoint))
        return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
}

std::string MountedVolume::DisplayName() const {
    return (label.empty() ? device : label) + " (" + fsType + ")";
}

std::vector<MountedVolume> VolumesFromMountInfo(std::string_view text,
                                                const std::string& labelDirectory) {
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
    if (DIR* dir = ::opendir(labelDirectory.c_str())) {
        while (struct dirent* d = ::readdir(dir)) {
            std::string name = d->d_name;
            if (name == "." || name == "..")
                continue;
            labels.emplace_back(RealPathOf(JoinPath(labelDirectory, name)), DecodeHex(name));
        }
        ::closedir(dir);
    }

    std::vector<MountedVolume> volumes;
    for (const MountInfoEntry& m : top) {
        if (!IsUserVolume(m))
            continue;
        // A file bound over a file (a container's /etc/hosts) is no drive.
        struct stat st {};
        if (::stat(m.mountPoint.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
            continue;
        MountedVolume v;
        v.mountPoint = m.mountPoint;
        v.device = m.source;
        v.fsType = m.fsType;
        v.driveType = DriveTypeOf(m);
        if (!labels.empty() && m.source.rfind("/dev/", 0) == 0) {
            std::string device = RealPathOf(m.source);
            for (const auto& [dev, label] : labels)
                if (dev == device)
                    v.label = label;
        }
        volumes.push_back(std::move(v));
    }
    std::sort(volumes.begin(), volumes.end(), [](const MountedVolume& a, const MountedVolume& b) {
        return a.mountPoint < b.mountPoint;
    });
    return volumes;
}

std::vector<MountedVolume> ListMountedVolumes() {
    try {
        return VolumesFromMountInfo(ReadWholeFile("/proc/self/mountinfo"), "/dev/disk/by-label");
    } catch (const FileError&) {
        return {};
    }
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

} // namespace orvo
