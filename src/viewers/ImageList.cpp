#include "viewers/ImageList.h"

#include "browse/DirectoryListing.h"
#include "image/ImageFile.h"
#include "viewers/ViewerKind.h"

#include <algorithm>

namespace orvo {

void ImageList::Build(std::string directory) {
    Clear();
    directory_ = std::move(directory);
    built_ = true;
    DirectoryListing listing;
    listing.ReadDirectory(directory_, "*.*");
    // Only files: a directory named like a picture would load as nothing.
    for (int row = listing.GetRecordCount() - 1; row >= 0; --row)
        if (listing.GetValue(listing.FieldIndex("Directory"), row).AsBool() ||
            !IsInExtensionList(listing.GetText("Extension", row), ImageExtensionList))
            listing.DeleteRecord(row);
    listing.Sort("Name", true);
    const int path = listing.FieldIndex("Path");
    paths_.reserve(static_cast<size_t>(listing.GetRecordCount()));
    for (int row = 0; row < listing.GetRecordCount(); ++row)
        paths_.emplace_back(listing.GetValue(path, row).AsStringView());
}

void ImageList::Clear() {
    directory_.clear();
    paths_.clear();
    built_ = false;
}

int ImageList::IndexOf(const std::string& path) const {
    auto it = std::find(paths_.begin(), paths_.end(), path);
    return it == paths_.end() ? -1 : static_cast<int>(it - paths_.begin());
}

std::string ImageList::Next(const std::string& current, bool wrap) const {
    const int index = IndexOf(current);
    if (index < 0)
        return {};
    if (index + 1 < static_cast<int>(paths_.size()))
        return paths_[static_cast<size_t>(index) + 1];
    return wrap && paths_.size() > 1 ? paths_.front() : std::string();
}

std::string ImageList::Previous(const std::string& current) const {
    const int index = IndexOf(current);
    return index > 0 ? paths_[static_cast<size_t>(index) - 1] : std::string();
}

std::string ImageList::First() const {
    return paths_.empty() ? std::string() : paths_.front();
}
std::string ImageList::Last() const {
    return paths_.empty() ? std::string() : paths_.back();
}

void ImageList::Remove(const std::string& path) {
    std::erase(paths_, path);
}

} // namespace orvo
