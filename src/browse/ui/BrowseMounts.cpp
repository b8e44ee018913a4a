#include "browse/ui/BrowseMounts.h"

#include "browse/DirectoryListing.h"
#include "browse/ui/BrowseNotice.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/DirectoryWatch.h"
#include "browse/ui/DirectoryWatcher.h"
#include "browse/ui/MountWatcher.h"
#include "platform/GvfsShare.h"
#include "platform/ui/QtText.h"

namespace orvo {

BrowseMounts::BrowseMounts(COrvoBrowserView* view) : QObject(view), view_(view) {
    connect(view, &COrvoBrowserView::PathChanged, this, &BrowseMounts::Follow);
    connect(&MountWatcher::Instance(), &MountWatcher::MountsChanged, this,
            &BrowseMounts::OnMountsChanged);
    connect(&DirectoryWatcher::Instance(), &DirectoryWatcher::Unmounted, this,
            &BrowseMounts::OnUnmounted);
}

void BrowseMounts::Follow() {
    mountPoint_.clear();
    volumeName_.clear();
    const std::string& shown = view_->CurrentPath();
    if (shown.empty() || shown == kComputerPath)
        return;
    // Read afresh: the window may be shown a mount before the watcher
    // heard of it. A place of the desktop's network mount is a drive below
    // a mount point.
    std::string point = MountPointOf(shown);
    const MountedVolume* volume = VolumeOf(shown, MountWatcher::Instance().Volumes());
    std::string label;
    if (volume && volume->mountPoint.size() >= point.size()) {
        point = volume->mountPoint;
        label = volume->label;
    } else if (MountWatcher::Instance().IsPlacesMount(point) && shown.size() > point.size() + 1) {
        // A place the watcher could not list yet is still the folder right
        // below the network mount, and goes with that folder.
        const size_t start = point.size() + (point.back() == '/' ? 0 : 1);
        point = shown.substr(0, shown.find('/', start));
        GvfsShare share;
        if (DescribeGvfsShare(point.substr(start), share))
            label = share.label;
    }
    if (point == "/")
        return;
    mountPoint_ = point;
    volumeName_ = PathToQ(label.empty() ? point : label);
}

void BrowseMounts::OnMountsChanged() {
    if (view_->CurrentPath() == kComputerPath) {
        view_->Watch().Refresh();
        return;
    }
    if (!mountPoint_.empty() && !MountWatcher::Instance().IsMounted(mountPoint_))
        LeaveForDriveList();
    else
        Follow(); // something may have been mounted over the directory
}

void BrowseMounts::OnUnmounted(const std::string& directory) {
    if (directory == view_->CurrentPath())
        LeaveForDriveList();
}

void BrowseMounts::LeaveForDriveList() {
    const QString name = volumeName_.isEmpty() ? PathToQ(view_->CurrentPath()) : volumeName_;
    view_->Navigate(std::string(kComputerPath), true, true, false);
    view_->Notice().SayHere(tr("%1 was unmounted.").arg(name));
}

} // namespace orvo
