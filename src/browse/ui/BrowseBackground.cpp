#include "browse/ui/BrowseBackground.h"

#include "browse/BackgroundPicture.h"
#include "image/ui/RasterQImage.h"

#include <QAbstractItemView>
#include <QFutureWatcher>
#include <QScreen>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

namespace orvo {

BrowseBackground::BrowseBackground(QWidget* window, std::vector<QAbstractItemView*> lists)
    : QObject(window), window_(window), lists_(std::move(lists)) {}

void BrowseBackground::Start(const std::string& picture) {
    picture_ = picture;
    const uint64_t generation = ++generation_;
    tone_ = BackgroundTone{};
    pixmap_ = QPixmap();
    Show();
    if (picture_.empty())
        return;
    // Decoded away from the interface thread: a large picture takes a while.
    using Loaded = std::pair<QImage, BackgroundTone>;
    auto* watcher = new QFutureWatcher<Loaded>(this);
    connect(watcher, &QFutureWatcher<Loaded>::finished, this, [this, watcher, generation] {
        const Loaded loaded = watcher->result();
        watcher->deleteLater();
        if (generation != generation_ || loaded.first.isNull())
            return;
        tone_ = loaded.second;
        pixmap_ = QPixmap::fromImage(loaded.first);
        Show();
    });
    // The picture covers a whole screen, keeping its proportions, and lies
    // under the list from its top-left corner like a wallpaper, so no list
    // is ever large enough to show it repeated.
    const QSize cover = window_->screen() ? window_->screen()->size() : QSize(1920, 1080);
    watcher->setFuture(QtConcurrent::run([path = picture_, cover] {
        RasterImage picture;
        BackgroundTone tone;
        if (!LoadBackgroundPicture(path, picture, tone))
            return Loaded{};
        return Loaded{ToQImage(picture).scaled(cover, Qt::KeepAspectRatioByExpanding,
                                               Qt::SmoothTransformation),
                      tone};
    }));
}

void BrowseBackground::Show() {
    for (QAbstractItemView* list : lists_) {
        if (pixmap_.isNull()) {
            list->viewport()->setPalette(QPalette());
        } else {
            QPalette palette = list->palette();
            palette.setBrush(QPalette::Base, QBrush(pixmap_));
            list->viewport()->setPalette(palette);
        }
        list->viewport()->update();
    }
}

} // namespace orvo
