#include "comments/CommentFileLock.h"

#include <mutex>
#include <unordered_map>

namespace orvo {

struct CommentFileLock::Slot {
    std::recursive_mutex mutex;
    int users = 0; // holders and waiters; the slot goes when none is left
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

} // namespace

void CommentFileLock::Acquire(const std::string& directory) {
    if (slot_ && directory == directory_)
        return;
    Release();
    Slot* slot;
    {
        std::lock_guard<std::mutex> guard(RegistryMutex());
        auto& entry = Registry()[directory];
        if (!entry)
            entry = std::make_unique<Slot>();
        slot = entry.get();
        ++slot->users;
    }
    slot->mutex.lock();
    slot_ = slot;
    directory_ = directory;
}

void CommentFileLock::Release() {
    if (!slot_)
        return;
    slot_->mutex.unlock();
    {
        std::lock_guard<std::mutex> guard(RegistryMutex());
        if (--slot_->users == 0)
            Registry().erase(directory_);
    }
    slot_ = nullptr;
    directory_.clear();
}

} // namespace orvo
