#include "browse/ui/BrowseNotice.h"

#include "browse/DirectoryListing.h"
#include "browse/ui/COrvoBrowserView.h"
#include "platform/ui/QtText.h"

#include <cstring>

namespace orvo {

BrowseNotice::BrowseNotice(COrvoBrowserView* view) : QLabel(view), view_(view) {
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setContentsMargins(6, 3, 6, 3);
    setAutoFillBackground(true);
    // Fixed colours: a warning reads the same in light and dark themes.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 232, 160));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    hide();
    connect(view, &COrvoBrowserView::ListingRebuilt, this, &BrowseNotice::AfterRebuild);
}

void BrowseNotice::Say(const QString& text) {
    setText(text);
    show();
}

void BrowseNotice::SayHere(const QString& text) {
    unreadable_.clear();
    here_ = view_->CurrentPath();
    Say(text);
}

void BrowseNotice::Clear() {
    unreadable_.clear();
    here_.clear();
    clear();
    hide();
}

void BrowseNotice::mousePressEvent(QMouseEvent*) {
    // Dismissed, not forgotten: refreshes of the same directory stay quiet.
    hide();
}

void BrowseNotice::AfterRebuild() {
    const std::string& shown = view_->CurrentPath();
    const DirectoryListing& listing = view_->Listing();
    const bool failed = !shown.empty() && shown != kComputerPath && listing.ReadFailed();
    if (!here_.empty() && here_ != shown)
        Clear();
    if (!failed) {
        if (!unreadable_.empty())
            Clear();
        return;
    }
    if (unreadable_ == shown)
        return;
    unreadable_ = shown;
    Say(tr("Cannot read \"%1\": %2.")
            .arg(PathToQ(shown), QString::fromLocal8Bit(std::strerror(listing.ReadError()))));
}

} // namespace orvo
