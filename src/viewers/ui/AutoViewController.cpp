#include "viewers/ui/AutoViewController.h"

#include "platform/DataDirectory.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/OpenViewerList.h"
#include "viewers/ui/QuickView.h"
#include "viewers/ui/ViewerHost.h"

namespace orvo {

AutoViewController::AutoViewController(ViewerHost* host, QWidget* owner)
    : QObject(owner), host_(host), owner_(owner) {
    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, &AutoViewController::SelectionChanged);
    if (host)
        connect(host, &ViewerHost::ViewerClosed, this, &AutoViewController::OnViewerClosed);
}

void AutoViewController::SetSelectionSource(std::function<Selection()> source) {
    source_ = std::move(source);
}

std::string AutoViewController::InfoPicturePath() {
    const std::string own = DataFilePath("images/AutoViewInfo.jpg");
    if (PathExists(own))
        return own;
    // A data directory made by an older version lacks the picture.
    const std::string shipped = ShippedDataDirectory();
    return shipped.empty() ? own : JoinPath(shipped, "images/AutoViewInfo.jpg");
}

void AutoViewController::Toggle() {
    on_ = !on_;
    emit Toggled(on_);
    if (on_) {
        SelectionChanged();
        return;
    }
    if (QWidget* window = window_.data()) {
        OpenViewerList::Instance().Remove(window);
        Forget();
        window->close();
    }
    Forget();
}

void AutoViewController::TurnOn() {
    if (!on_)
        Toggle();
}

void AutoViewController::Forget() {
    window_.clear();
    windowIdentity_ = nullptr;
    windowGone_ = false;
    kind_.reset();
    shownPath_.clear();
}

void AutoViewController::OnViewerClosed(const QWidget* window) {
    if (window && window == windowIdentity_)
        windowGone_ = true;
}

void AutoViewController::ScheduleSelectionChange() {
    if (on_)
        pending_.start();
}

void AutoViewController::SelectionChanged() {
    pending_.stop();
    if (!on_ || !source_)
        return;
    const Selection selection = source_();
    if (!selection.valid)
        return;
    if (windowGone_ || (windowIdentity_ && window_.isNull())) {
        OpenViewerList::Instance().Remove(windowIdentity_);
        Forget();
        on_ = false;
        emit Toggled(false);
        return;
    }
    std::string path = selection.path;
    if (!path.empty() && IsDirectory(path))
        path = InfoPicturePath();
    QRect placement = DefaultPlacement();
    if (window_)
        placement = window_->geometry();
    const bool alt = AltHeldNow();
    const ViewerKind kind = QuickViewKind(path, alt);
    // The same file again (the browse window was only activated): the
    // window stays as it is, with whatever the user did in it.
    if (window_ && kind_ == kind && path == shownPath_)
        return;

    QPointer<QWidget> old;
    auto* picture = qobject_cast<ImageViewerWindow*>(window_.data());
    if (kind_ == kind && kind == ViewerKind::Image && picture) {
        picture->ShowFile(path, path.empty() ? selection.directory : ParentDirectoryOf(path));
    } else {
        old = window_;
        window_ = OpenQuickViewer(path, selection.directory, false, owner_, host_, alt);
        windowIdentity_ = window_.data();
        windowGone_ = false;
    }
    kind_ = kind;
    shownPath_ = path;
    if (QWidget* window = window_.data()) {
        OpenViewerList::Instance().Append(window);
        if (!(window->windowFlags() & Qt::Tool)) {
            // A small tool window that does not take the keyboard from the
            // browse window.
            window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowCloseButtonHint);
            window->setAttribute(Qt::WA_ShowWithoutActivating);
        }
        window->setGeometry(placement);
        window->show();
    }
    if (selection.focusBack) {
        selection.focusBack->activateWindow();
        selection.focusBack->setFocus();
    }
    if (old && old != window_) {
        OpenViewerList::Instance().Remove(old.data());
        old->close();
    }
}

} // namespace orvo
