#include "comments/CommentLookup.h"

#include "store/Collation.h"

#include <dirent.h>

namespace orvo {

void DirectoryNames::GatherNow() {
    if (gathered_)
        return;
    gathered_ = true;
    if (gather_) {
        gather_(names_);
        return;
    }
    DIR* dir = ::opendir(directory_.c_str());
    if (!dir) {
        unreadable_ = true;
        return;
    }
    while (struct dirent* d = ::readdir(dir))
        names_.emplace(d->d_name);
    ::closedir(dir);
}

bool DirectoryNames::Has(std::string_view name) {
    GatherNow();
    return unreadable_ || names_.count(std::string(name)) != 0;
}

void CommentLookup::Invalidate() {
    indexed_ = folded_indexed_ = false;
    exact_.clear();
    folded_.clear();
}

void CommentLookup::Appended(const std::vector<CommentEntry>& entries) {
    const size_t i = entries.size() - 1;
    if (indexed_)
        exact_.emplace(entries[i].key, i);
    if (folded_indexed_ && entries[i].key != kThisDirKey)
        folded_.emplace(LowerCaseText(entries[i].key), i);
}

int CommentLookup::Exact(const std::vector<CommentEntry>& entries, std::string_view key) const {
    if (entries.empty())
        return -1;
    if (!indexed_) {
        exact_.reserve(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            exact_.emplace(entries[i].key, i); // the first entry of a key wins
        indexed_ = true;
    }
    auto it = exact_.find(std::string(key));
    return it == exact_.end() ? -1 : static_cast<int>(it->second);
}

int CommentLookup::ForName(const std::vector<CommentEntry>& entries, std::string_view name,
                           DirectoryNames& names) const {
    if (!NameCanHaveComment(name))
        return -1;
    int exact = Exact(entries, name);
    if (exact >= 0 || entries.empty())
        return exact;
    if (!folded_indexed_) {
        folded_.reserve(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].key != kThisDirKey)
                folded_.emplace(LowerCaseText(entries[i].key), i);
        folded_indexed_ = true;
    }
    auto [first, last] = folded_.equal_range(LowerCaseText(name));
    int found = -1;
    for (auto it = first; it != last; ++it) {
        const size_t i = it->second;
        if ((found < 0 || i < static_cast<size_t>(found)) && !names.Has(entries[i].key))
            found = static_cast<int>(i);
    }
    return found;
}

} // namespace orvo
