#include "platform/DirectoryWatchSet.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <set>
#include <sys/inotify.h>
#include <unistd.h>

namespace orvo {

namespace {

// Writes into a file count as changes too: a file being filled shows its
// growing size.
constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                           IN_MODIFY | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

DirectoryWatchSet::DirectoryWatchSet() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

DirectoryWatchSet::~DirectoryWatchSet() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool DirectoryWatchSet::Add(const std::string& directory) {
    Entry& entry = directories_[directory];
    if (entry.users++ > 0 && entry.wd >= 0)
        return true;
    if (fd_ < 0) {
        errno = ENOSYS;
        return false;
    }
    // A directory whose watch was lost (it went away) is tried again: it
    // may be back.
    int wd = ::inotify_add_watch(fd_, directory.c_str(), kMask);
    if (wd < 0)
        return false;
    entry.wd = wd;
    paths_.emplace(wd, directory);
    return true;
}

void DirectoryWatchSet::Remove(const std::string& directory) {
    auto it = directories_.find(directory);
    if (it == directories_.end() || --it->second.users > 0)
        return;
    const int wd = it->second.wd;
    directories_.erase(it);
    if (wd < 0)
        return;
    auto [first, last] = paths_.equal_range(wd);
    for (auto p = first; p != last; ++p) {
        if (p->second == directory) {
            paths_.erase(p);
            break;
        }
    }
    if (paths_.count(wd) == 0)
        ::inotify_rm_watch(fd_, wd);
}

bool DirectoryWatchSet::IsWatched(const std::string& directory) const {
    auto it = directories_.find(directory);
    return it != directories_.end() && it->second.wd >= 0;
}

void DirectoryWatchSet::Forget(int wd) {
    auto [first, last] = paths_.equal_range(wd);
    for (auto p = first; p != last; ++p) {
        auto entry = directories_.find(p->second);
        if (entry != directories_.end())
            entry->second.wd = -1;
    }
    paths_.erase(wd);
}

std::vector<std::string> DirectoryWatchSet::ReadChanges() {
    std::vector<std::string> unmounted;
    std::vector<std::string> changed = ReadChanges(unmounted);
    changed.insert(changed.end(), unmounted.begin(), unmounted.end());
    std::sort(changed.begin(), changed.end());
    return changed;
}

std::vector<std::string> DirectoryWatchSet::ReadChanges(std::vector<std::string>& unmounted) {
    std::set<std::string> changed;
    std::set<std::string> gone;
    std::vector<int> lost;
    if (fd_ >= 0) {
        alignas(inotify_event) char buffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
        for (;;) {
            ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                p += sizeof(inotify_event) + event->len;
                if (event->mask & IN_Q_OVERFLOW) {
                    for (const auto& [wd, path] : paths_)
                        changed.insert(path);
                    continue;
                }
                auto [first, last] = paths_.equal_range(event->wd);
                for (auto it = first; it != last; ++it)
                    (event->mask & IN_UNMOUNT ? gone : changed).insert(it->second);
                if (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF))
                    lost.push_back(event->wd);
            }
        }
    }
    for (int wd : lost) {
        // A moved directory keeps its watch in the kernel, under a name it
        // no longer has: let it go, so the path is watched afresh if a
        // directory of that name appears again.
        if (paths_.count(wd))
            ::inotify_rm_watch(fd_, wd);
        Forget(wd);
    }
    for (const std::string& path : gone)
        changed.erase(path);
    unmounted.assign(gone.begin(), gone.end());
    return {changed.begin(), changed.end()};
}

} // namespace orvo
