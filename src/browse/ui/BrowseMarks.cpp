#include "browse/ui/BrowseMarks.h"

#include "browse/ui/BrowseListMode.h"
#include "browse/ui/COrvoBrowserView.h"

#include <QAbstractItemView>

namespace orvo {

namespace {
std::function<std::vector<std::string>(QWidget*)>& FavoriteTargetsSource() {
    static std::function<std::vector<std::string>(QWidget*)> source;
    return source;
}
} // namespace

BrowseMarks::BrowseMarks(COrvoBrowserView* view) : QObject(view), view_(view) {}

void BrowseMarks::SetQuickAccessPaths(const std::vector<std::string>& paths) {
    marks_.SetQuickAccessPaths(paths);
    view_->CurrentList()->viewport()->update();
}

std::vector<std::string> BrowseMarks::FavoriteTargets() {
    if (view_->ListMode().IsListMode() || !FavoriteTargetsSource())
        return {};
    return FavoriteTargetsSource()(view_);
}

void BrowseMarks::SetFavoriteTargetsSource(
    std::function<std::vector<std::string>(QWidget*)> source) {
    FavoriteTargetsSource() = std::move(source);
}

} // namespace orvo
