#include "comments/CommentFileLock.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace orvo {

struct CommentFileLock::Slot {
    std::recursive_mutex mutex;
    int users = 0; // holders and waiters; the slot goes when none is left
    // Guarded by mutex: the holding thread's depth of holds, and the
    // directory it flocked at the outermost one (-1: none).
    int depth = 0;
    int fd = -1;
};

namespace {

std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}

// Slots are created on demand and removed when unused, so a long run over
// many directories does not accumulate them.
std::unordered_map<std::string, std::unique_ptr<CommentFileLock::Slot>>& Registry() {
    static std::unordered_map<std::string, std::unique_ptr<CommentFileLock::Slot>> registry;
    return registry;
}

// flock holds per open file, even within one process: a second open of the
// same directory would wait for the first. Slots are therefore keyed by the
// directory itself, so two spellings of its path share one.
std::string SlotKey(int fd, const std::string& directory) {
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0)
        return std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino);
    return "path:" + directory;
}

// Whether the directory is now flocked. A waiting flock is woken by the
// kernel when the holder lets go, which is fair where retrying now and then
// is not: a process that saves in a loop would take the lock again before
// a sleeping retrier looked. flock cannot time out, so the wait runs on a
// thread of its own, on a duplicate of fd (the lock belongs to the open
// file both share); a wait given up on lets go of the lock when it comes.
bool LockAcrossProcesses(int fd) {
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno != EWOULDBLOCK)
        return false; // no flock here (EBADF, ENOLCK, EINVAL...)
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool locked = false;
        bool abandoned = false;
    };
    auto wait = std::make_shared<Wait>();
    int duplicate = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0)
        return false;
    try {
        std::thread([wait, duplicate] {
            int result;
            do
                result = ::flock(duplicate, LOCK_EX);
            while (result != 0 && errno == EINTR);
            std::lock_guard<std::mutex> guard(wait->mutex);
            if (wait->abandoned && result == 0)
                ::flock(duplicate, LOCK_UN);
            ::close(duplicate); // the lock stays with fd
            wait->locked = result == 0;
            wait->finished = true;
            wait->done.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        ::close(duplicate);
        return false;
    }
    std::unique_lock<std::mutex> lock(wait->mutex);
    if (!wait->done.wait_for(lock, std::chrono::milliseconds(CommentFileLock::kMaxWaitMs),
                             [&] { return wait->finished; })) {
        wait->abandoned = true;
        return false;
    }
    return wait->locked;
}

} // namespace

void CommentFileLock::Acquire(const std::string& directory) {
    if (slot_ && directory == directory_)
        return;
    Release();
    // O_RDONLY, not O_PATH: flock refuses an O_PATH descriptor.
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string key = SlotKey(fd, directory);
    Slot* slot;
    {
        std::lock_guard<std::mutex> guard(RegistryMutex());
        auto& entry = Registry()[key];
        if (!entry)
            entry = std::make_unique<Slot>();
        slot = entry.get();
        ++slot->users;
    }
    slot->mutex.lock();
    if (slot->depth++ == 0 && LockAcrossProcesses(fd)) {
        slot->fd = fd;
        fd = -1;
    }
    if (fd >= 0)
        ::close(fd);
    slot_ = slot;
    directory_ = directory;
    key_ = std::move(key);
}

void CommentFileLock::Release() {
    if (!slot_)
        return;
    if (--slot_->depth == 0 && slot_->fd >= 0) {
        // Unlocked explicitly: a child forked meanwhile shares the open
        // file, and closing ours alone would leave the lock to it.
        ::flock(slot_->fd, LOCK_UN);
        ::close(slot_->fd);
        slot_->fd = -1;
    }
    slot_->mutex.unlock();
    {
        std::lock_guard<std::mutex> guard(RegistryMutex());
        if (--slot_->users == 0)
            Registry().erase(key_);
    }
    slot_ = nullptr;
    directory_.clear();
    key_.clear();
}

} // namespace orvo
