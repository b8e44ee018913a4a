#pragma once

#include <string>
#include <vector>

namespace orvo {

// The navigation history of a browse window: append-only, with a position.
// Going back and then somewhere new appends after the last entry, so
// Forward is no longer possible from the new place and nothing is lost.
class BrowseHistory {
public:
    struct Entry {
        std::string path;
        int row = 0; // the selection mark when the window left the path
    };

    void Add(std::string path, int row);
    // Remembers where the selection is in the entry at the position, so
    // Back and Forward can put it there again.
    void SetCurrentRow(int row);
    bool CanGoBack() const { return position_ > 0; }
    bool CanGoForward() const { return position_ + 1 < static_cast<int>(entries_.size()); }
    // Moves the position and returns the entry to show; null when not possible.
    const Entry* Back();
    const Entry* Forward();

    int Position() const { return position_; }
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    int position_ = -1;
};

} // namespace orvo
