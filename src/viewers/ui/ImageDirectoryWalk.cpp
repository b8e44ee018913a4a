#include "viewers/ui/ImageDirectoryWalk.h"

#include "fileops/ui/FileOperationService.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "viewers/ui/ImageViewerWindow.h"

namespace orvo {

namespace {

constexpr int kSlideshowTickMs = 100;
constexpr int kTicksPerImage = 20;

} // namespace

ImageDirectoryWalk::ImageDirectoryWalk(ImageViewerWindow& window) : window_(window) {
    connect(&clock_, &QTimer::timeout, this, &ImageDirectoryWalk::Tick);
    connect(&FileOperationNotifier::Instance(), &FileOperationNotifier::RefreshDirectories, this,
            &ImageDirectoryWalk::OnDirectoriesChanged);
    clock_.start(kSlideshowTickMs);
}

void ImageDirectoryWalk::Next() {
    EnsurePictureList();
    GoTo(list_.Next(window_.Path(), slideshow_));
}

void ImageDirectoryWalk::Previous() {
    EnsurePictureList();
    GoTo(list_.Previous(window_.Path()));
}

void ImageDirectoryWalk::First() {
    EnsurePictureList();
    GoTo(list_.First());
}

void ImageDirectoryWalk::Last() {
    EnsurePictureList();
    GoTo(list_.Last());
}

void ImageDirectoryWalk::ToggleSlideshow() {
    slideshow_ = !slideshow_;
    emit SlideshowToggled(slideshow_);
}

void ImageDirectoryWalk::Tick() {
    if (Held())
        return;
    ++ticks_;
    if (ticks_ % kTicksPerImage == 0 && slideshow_)
        Next();
}

void ImageDirectoryWalk::StopClock() {
    clock_.stop();
}

void ImageDirectoryWalk::DirectoryChanged() {
    if (list_.IsBuilt())
        list_.Build(ListDirectory());
}

std::string ImageDirectoryWalk::NeighbourOf(const std::string& path) {
    EnsurePictureList();
    std::string neighbour = list_.Next(path, false);
    if (neighbour.empty())
        neighbour = list_.Previous(path);
    return neighbour;
}

void ImageDirectoryWalk::Forget(const std::string& path) {
    list_.Remove(path);
}

void ImageDirectoryWalk::EnsurePictureList() {
    if (!list_.IsBuilt())
        list_.Build(ListDirectory());
}

void ImageDirectoryWalk::GoTo(const std::string& path) {
    if (path.empty())
        return;
    window_.Load(path);
}

std::string ImageDirectoryWalk::ListDirectory() const {
    return window_.Path().empty() ? window_.Directory() : ParentDirectoryOf(window_.Path());
}

void ImageDirectoryWalk::OnDirectoriesChanged(const QStringList& directories) {
    if (list_.IsBuilt() && directories.contains(PathToQ(StripTrailingSlash(list_.Directory()))))
        list_.Build(list_.Directory());
}

} // namespace orvo
