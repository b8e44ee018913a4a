#include "browse/ui/BackgroundLoader.h"

#include "browse/BackgroundLoading.h"
#include "browse/DirectoryListing.h"
#include "browse/ThumbnailPool.h"
#include "browse/ui/BrowseIcons.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "image/ImageFile.h"
#include "image/ui/RasterQImage.h"
#include "platform/PathText.h"
#include "platform/ui/UserPrompt.h"
#include "store/Collation.h"

#include <QPointer>
#include <algorithm>
#include <unistd.h>

namespace orvo {

namespace {

// One slice of icon loading stops after this long, so input stays fluid.
constexpr qint64 kSliceNanoseconds = 5'000'000;
// Icons come from caches almost always; the slice still ends after this
// many rows, so that a slow icon theme cannot stretch it.
constexpr int kRowsPerSlice = 64;
// The caption is a window title: a few changes a second are plenty.
constexpr qint64 kCaptionInterval = 100;
// Thumbnails of a huge directory would otherwise fill the memory: about
// 9 000 of 96 pixels fit in this.
constexpr size_t kThumbnailMemory = 256u << 20;

// A damaged picture is reported once in the program's run, however often
// a window loads it again.
std::unordered_set<std::string>& ReportedDamage() {
    static std::unordered_set<std::string> reported;
    return reported;
}

} // namespace

BackgroundLoader::BackgroundLoader(COrvoBrowserView* view, ThumbnailPool* pool)
    : QObject(view), view_(view), pool_(pool ? pool : &ThumbnailPool::Shared()),
      memoryLimit_(kThumbnailMemory) {
    stepTimer_.setSingleShot(true);
    stepTimer_.setInterval(0);
    connect(&stepTimer_, &QTimer::timeout, this, &BackgroundLoader::Step);
    client_ = pool_->AddClient([this](ThumbnailPool::Result&& r) {
        // On a worker thread: the picture becomes a QImage here, so the
        // interface thread only stores it.
        Delivery d;
        d.generation = r.generation;
        d.path = std::move(r.path);
        d.outcome = static_cast<int>(r.outcome);
        if (r.outcome == GuardedLoad::Loaded)
            d.picture = ToQImage(r.picture);
        d.message = std::move(r.message);
        bool first;
        {
            std::lock_guard lock(inboxMutex_);
            first = inbox_.empty();
            inbox_.push_back(std::move(d));
        }
        if (first)
            QMetaObject::invokeMethod(this, &BackgroundLoader::TakeDeliveries,
                                      Qt::QueuedConnection);
    });
}

BackgroundLoader::~BackgroundLoader() {
    pool_->RemoveClient(client_);
}

bool BackgroundLoader::WantsThumbnail(bool directory, std::string_view extension) {
    return !directory && IsImageExtension(extension);
}

void BackgroundLoader::Restart(bool thumbnails, int edge, bool forgetIcons) {
    ++generation_;
    thumbnails_ = thumbnails;
    edge_ = edge;
    if (forgetIcons)
        icons_.clear();
    thumbnailImages_.clear();
    keptBytes_ = 0;
    letGo_.clear();
    makingAgain_.clear();
    thumbnailsDone_.clear();
    rowOfPath_.clear();
    iconCursor_ = 0;
    allLoaded_ = false;
    lastFile_.clear();
    captionClock_.invalidate();
    {
        std::lock_guard lock(inboxMutex_);
        inbox_.clear();
    }
    std::vector<std::string> paths;
    if (thumbnails) {
        const ViewTableModel& model = *view_->Model();
        for (int row = 0; row < model.rowCount(); ++row) {
            const RowFacts f = model.Facts(row);
            if (!f.parent && WantsThumbnail(f.directory, f.extension))
                paths.emplace_back(f.path);
        }
    }
    thumbnailsAsked_ = paths.size();
    pool_->Restart(client_, generation_, edge, std::move(paths));
    emit CaptionChanged(QString());
    stepTimer_.start();
}

void BackgroundLoader::Stop() {
    ++generation_;
    pool_->Restart(client_, generation_, 0, {});
    stepTimer_.stop();
    allLoaded_ = true;
}

size_t BackgroundLoader::ThumbnailsPending() const {
    return thumbnailsAsked_ - std::min(thumbnailsAsked_, thumbnailsDone_.size());
}

QIcon BackgroundLoader::Icon(int row) {
    const ViewTableModel& model = *view_->Model();
    if (row < 0 || row >= model.rowCount())
        return {};
    const RowFacts f = model.Facts(row);
    if (f.parent)
        return BrowseIcons::ParentIcon();
    std::string path(f.path);
    auto known = icons_.find(path);
    if (known != icons_.end())
        return known->second;
    QIcon icon;
    if (view_->CurrentPath() == kComputerPath) {
        icon = BrowseIcons::DriveIcon(view_->DriveTypeOf(path));
    } else {
        const bool executable = !f.directory && ::access(path.c_str(), X_OK) == 0;
        IconKey key = IconKeyOf(path, f.extension, f.directory, executable);
        switch (key.share) {
        case IconShare::Directory:
            icon = BrowseIcons::DirectoryIcon();
            break;
        case IconShare::Extension:
            icon = BrowseIcons::ExtensionIcon(key.key);
            break;
        case IconShare::Path:
            icon = BrowseIcons::PathIcon(path, LowerCaseText(f.extension), executable);
            break;
        }
    }
    icons_.emplace(std::move(path), icon);
    return icon;
}

QImage BackgroundLoader::Thumbnail(int row) {
    const ViewTableModel& model = *view_->Model();
    if (!thumbnails_ || row < 0 || row >= model.rowCount())
        return {};
    const RowFacts f = model.Facts(row);
    if (f.parent || !WantsThumbnail(f.directory, f.extension))
        return {};
    std::string path(f.path);
    auto made = thumbnailImages_.find(path);
    if (made != thumbnailImages_.end()) {
        made->second.lastUse = ++useClock_;
        return made->second.picture;
    }
    if (letGo_.erase(path)) {
        makingAgain_.insert(path);
        pool_->Request(client_, path);
    } else if (!thumbnailsDone_.count(path)) {
        pool_->Prefer(client_, path); // on screen: make it next
    }
    return {};
}

void BackgroundLoader::Step() {
    if (allLoaded_)
        return;
    const int rows = view_->Model()->rowCount();
    QElapsedTimer slice;
    slice.start();
    for (int n = 0; iconCursor_ < rows && n < kRowsPerSlice; ++n) {
        Icon(iconCursor_++);
        if (slice.nsecsElapsed() > kSliceNanoseconds)
            break;
    }
    if (thumbnails_ && iconCursor_ > 0 && lastFile_.empty())
        UpdateCaption(std::string(view_->Model()->Facts(iconCursor_ - 1).path), false);
    CheckFinished();
    if (!allLoaded_ && iconCursor_ < rows)
        stepTimer_.start();
}

void BackgroundLoader::TakeDeliveries() {
    std::vector<Delivery> arrived;
    {
        std::lock_guard lock(inboxMutex_);
        arrived.swap(inbox_);
    }
    bool any = false;
    for (Delivery& d : arrived) {
        if (d.generation != generation_)
            continue;
        if (!thumbnailsDone_.insert(d.path).second && !makingAgain_.erase(d.path))
            continue;
        any = true;
        lastFile_ = d.path;
        if (d.outcome == static_cast<int>(GuardedLoad::Loaded) && !d.picture.isNull()) {
            Keep(d.path, std::move(d.picture));
            const int row = RowOfPath(d.path);
            if (row >= 0)
                view_->Model()->RowChanged(row);
        } else if (d.outcome == static_cast<int>(GuardedLoad::Damaged) &&
                   ReportedDamage().insert(d.path).second) {
            damagedMessages_.push_back(QString::fromStdString(d.message));
        }
    }
    if (!any)
        return;
    UpdateCaption(lastFile_, false);
    CheckFinished();
    if (!damagedMessages_.empty() && !showingMessage_)
        QMetaObject::invokeMethod(this, &BackgroundLoader::ShowDamagedMessages,
                                  Qt::QueuedConnection);
}

void BackgroundLoader::Keep(const std::string& path, QImage picture) {
    keptBytes_ += static_cast<size_t>(picture.sizeInBytes());
    Kept& kept = thumbnailImages_[path];
    keptBytes_ -= static_cast<size_t>(kept.picture.sizeInBytes());
    kept.picture = std::move(picture);
    kept.lastUse = ++useClock_;
    if (keptBytes_ <= memoryLimit_)
        return;
    // Down to three quarters at once, so that trimming is rare.
    std::vector<std::pair<uint64_t, std::string>> byUse;
    byUse.reserve(thumbnailImages_.size());
    for (const auto& [p, k] : thumbnailImages_)
        byUse.emplace_back(k.lastUse, p);
    std::sort(byUse.begin(), byUse.end());
    for (const auto& [use, p] : byUse) {
        if (keptBytes_ <= memoryLimit_ / 4 * 3)
            break;
        auto it = thumbnailImages_.find(p);
        keptBytes_ -= static_cast<size_t>(it->second.picture.sizeInBytes());
        thumbnailImages_.erase(it);
        letGo_.insert(p);
    }
}

void BackgroundLoader::ShowDamagedMessages() {
    if (showingMessage_)
        return;
    showingMessage_ = true;
    // The message box runs its own event loop, in which the window may go.
    QPointer<BackgroundLoader> self(this);
    while (self && !damagedMessages_.empty()) {
        const QString text = damagedMessages_.front();
        damagedMessages_.pop_front();
        UserPrompt::Message(view_, text, UserPrompt::Icon::Warning);
    }
    if (self)
        showingMessage_ = false;
}

void BackgroundLoader::UpdateCaption(const std::string& path, bool force) {
    if (!thumbnails_ || allLoaded_)
        return;
    if (!force && captionClock_.isValid() && captionClock_.elapsed() < kCaptionInterval)
        return;
    captionClock_.restart();
    const int64_t rows = view_->Model()->rowCount();
    const int percent = LoadingPercent(iconCursor_ + static_cast<int64_t>(thumbnailsDone_.size()),
                                       rows + static_cast<int64_t>(thumbnailsAsked_));
    emit CaptionChanged(QString::fromStdString(
        LoadingCaption(view_->DocumentTitle().toStdString(), percent, FileNameOf(path))));
}

void BackgroundLoader::CheckFinished() {
    if (allLoaded_ || iconCursor_ < view_->Model()->rowCount() || ThumbnailsPending() > 0)
        return;
    if (thumbnails_)
        UpdateCaption(lastFile_, true); // 100 % shows before the plain title returns
    allLoaded_ = true;
    emit CaptionChanged(QString());
    emit Finished();
}

int BackgroundLoader::RowOfPath(const std::string& path) {
    const ViewTableModel& model = *view_->Model();
    auto at = [&](int row) {
        return row >= 0 && row < model.rowCount() && model.Facts(row).path == path;
    };
    auto it = rowOfPath_.find(path);
    if (it != rowOfPath_.end() && at(it->second))
        return it->second;
    // The rows were sorted since the map was made (or it was never made).
    rowOfPath_.clear();
    for (int row = 0; row < model.rowCount(); ++row)
        rowOfPath_.emplace(std::string(model.Facts(row).path), row);
    it = rowOfPath_.find(path);
    return it != rowOfPath_.end() && at(it->second) ? it->second : -1;
}

} // namespace orvo
