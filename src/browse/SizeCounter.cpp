#include "browse/SizeCounter.h"

#include "browse/DirectoryListing.h"
#include "platform/DisplayText.h"
#include "platform/MountTable.h"

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

int SizeCountPercentage(uint64_t driveTotal, uint64_t bytes) {
    if (driveTotal == 0)
        return 0; // the volume's size is not known
    uint64_t q = bytes == UINT64_MAX ? 0 : driveTotal / (bytes + 1);
    if (q == 0)
        return 100;
    return static_cast<int>(100 / q);
}

namespace {

std::string CountsText(const SizeCountFigures& f, int percentage) {
    std::string text = std::to_string(f.directories) + " dirs, " + std::to_string(f.files) +
                       " files, " + std::to_string(percentage) + "% of total disk space)";
    if (f.otherFileSystems == 1)
        text += " Skipped 1 directory on another file system.";
    else if (f.otherFileSystems > 1)
        text += " Skipped " + std::to_string(f.otherFileSystems) +
                " directories on other file systems.";
    return text;
}

// One open directory at a time: a deep tree never runs out of descriptors,
// and the kernel's name cache makes the repeated path lookups cheap.
class TreeWalk {
public:
    TreeWalk(SizeCountControl& control, const SizeCounter::Progress& progress, int intervalMs)
        : control_(control), progress_(progress), interval_(intervalMs) {}

    SizeCounter::Result Run(const std::string& root) {
        struct stat st;
        if (::stat(root.c_str(), &st) != 0)
            return result_;
        device_ = st.st_dev;
        pending_.push_back(root);
        while (!pending_.empty() && !result_.stopped && !result_.cancelled) {
            std::string directory = std::move(pending_.back());
            pending_.pop_back();
            ReadOne(directory);
        }
        return result_;
    }

private:
    void ReadOne(const std::string& directory) {
        int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return;
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return;
        }
        SizeCountFigures& f = result_.figures;
        while (dirent* e = ::readdir(dir)) {
            const char* name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            struct stat st;
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since the directory was read
            if (S_ISDIR(st.st_mode) && st.st_dev != device_) {
                ++f.otherFileSystems;
            } else if (S_ISDIR(st.st_mode)) {
                ++f.directories;
                std::string child = directory;
                if (child.back() != '/')
                    child.push_back('/');
                child += name;
                pending_.push_back(std::move(child));
            } else {
                ++f.files;
                f.bytes += static_cast<uint64_t>(st.st_size);
            }
            if (++entries_ % 50 == 0 && Interrupted())
                break;
            if (entries_ % 500 == 0 && progress_)
                MaybeReport();
        }
        ::closedir(dir);
    }

    bool Interrupted() {
        if (control_.cancel.load(std::memory_order_relaxed)) {
            result_.cancelled = true;
            return true;
        }
        if (control_.stopCurrent.exchange(false)) {
            result_.stopped = true;
            return true;
        }
        return false;
    }

    void MaybeReport() {
        auto now = std::chrono::steady_clock::now();
        if (now - lastReport_ < interval_)
            return;
        lastReport_ = now;
        progress_(result_.figures);
    }

    SizeCountControl& control_;
    const SizeCounter::Progress& progress_;
    std::chrono::milliseconds interval_;
    std::chrono::steady_clock::time_point lastReport_{};
    std::vector<std::string> pending_;
    dev_t device_ = 0;
    uint64_t entries_ = 0;
    SizeCounter::Result result_;
};

} // namespace

std::string SizeCountProgressText(const SizeCountFigures& figures, int percentage) {
    return "*" + NumberText(figures.bytes) + " (" + CountsText(figures, percentage);
}

std::string SizeCountFinalText(const SizeCountFigures& figures, int percentage, bool stopped) {
    return std::string(stopped ? "User stopped." : "") + NumberText(figures.bytes) + "     (" +
           CountsText(figures, percentage);
}

SizeCounter::Result SizeCounter::CountTree(const std::string& directory, SizeCountControl& control,
                                           const Progress& progress, int progressIntervalMs) {
    TreeWalk walk(control, progress, progressIntervalMs);
    return walk.Run(directory);
}

void CountDirectories(const std::vector<SizeCountRow>& rows, SizeCountControl& control,
                      SizeCountSink& sink,
                      const std::function<uint64_t(const std::string&)>& driveTotal,
                      int progressIntervalMs, const std::string& home) {
    uint64_t total = 0;
    struct stat homeStat;
    const bool stayHome = !home.empty() && ::stat(home.c_str(), &homeStat) == 0;
    // Looking up a volume reads the mount table; a listing's rows share one.
    std::map<std::string, uint64_t> drives;
    auto totalOf = [&](const std::string& path) {
        if (driveTotal)
            return driveTotal(path);
        std::string mount = MountPointOf(path);
        auto it = drives.find(mount);
        if (it == drives.end())
            it = drives.emplace(mount, GetVolumeSpace(mount).totalBytes).first;
        return it->second;
    };
    for (const SizeCountRow& row : rows) {
        if (control.cancel.load())
            break;
        struct stat st;
        if (::lstat(row.path.c_str(), &st) != 0)
            continue;
        if (!S_ISDIR(st.st_mode)) {
            total += static_cast<uint64_t>(st.st_size);
            sink.TotalChanged(total);
            continue;
        }
        if (stayHome && st.st_dev != homeStat.st_dev) {
            sink.RowCounted(row.row, row.path, kOtherFileSystemText, 0);
            continue;
        }
        const uint64_t drive = totalOf(row.path);
        // An Escape pressed between two directories belongs to neither.
        control.stopCurrent.store(false);
        SizeCounter::Result result = SizeCounter::CountTree(
            row.path, control,
            [&](const SizeCountFigures& f) {
                sink.RowProgress(row.row, row.path,
                                 SizeCountProgressText(f, SizeCountPercentage(drive, f.bytes)));
            },
            progressIntervalMs);
        if (result.cancelled)
            break;
        const SizeCountFigures& f = result.figures;
        total += f.bytes;
        sink.RowCounted(row.row, row.path,
                        SizeCountFinalText(f, SizeCountPercentage(drive, f.bytes), result.stopped),
                        DirectoryListing::SizeCell(f.bytes / 1024));
        sink.TotalChanged(total);
    }
    sink.Finished(total, control.cancel.load());
}

} // namespace orvo
