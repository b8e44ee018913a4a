#include "browse/BrowseHistory.h"

namespace orvo {

void BrowseHistory::Add(std::string path, int row) {
    entries_.push_back({std::move(path), row});
    position_ = static_cast<int>(entries_.size()) - 1;
}

void BrowseHistory::SetCurrentRow(int row) {
    if (position_ >= 0)
        entries_[static_cast<size_t>(position_)].row = row;
}

const BrowseHistory::Entry* BrowseHistory::Back() {
    if (!CanGoBack())
        return nullptr;
    return &entries_[static_cast<size_t>(--position_)];
}

const BrowseHistory::Entry* BrowseHistory::Forward() {
    if (!CanGoForward())
        return nullptr;
    return &entries_[static_cast<size_t>(++position_)];
}

} // namespace orvo
