#include "viewers/ui/ImageViewerWindow.h"

#include "comments/PathComments.h"
#include "image/ImageFile.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "viewers/ImageViewerTexts.h"
#include "viewers/ui/ViewerHost.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace orvo {

ImageViewerWindow::ImageViewerWindow(const std::string& path, const std::string& directory,
                                     ViewerHost* host, bool openedByQuickView, QWidget* owner)
    : QMainWindow(owner, Qt::Window), path_(path), directory_(directory),
      openedByQuickView_(openedByQuickView), host_(host), viewControl_(*this), walk_(*this),
      commands_(*this, image_, walk_, host), actions_(*this) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(kImageViewerTitle));
    setFocusPolicy(Qt::StrongFocus);
    resize(800, 600);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    infoLine_ = new QLabel(central);
    infoLine_->setTextInteractionFlags(Qt::NoTextInteraction);
    infoLine_->setFocusPolicy(Qt::NoFocus);
    area_ = new ImagePictureArea(image_, view_, central);
    layout->addWidget(infoLine_);
    layout->addWidget(area_, 1);
    setCentralWidget(central);

    connect(area_, &ImagePictureArea::ViewChangedByMouse, this, &ImageViewerWindow::UpdateInfoLine);
    connect(area_, &ImagePictureArea::RectangleSize, infoLine_, &QLabel::setText);
    connect(area_, &ImagePictureArea::ContextMenuWanted, &actions_,
            &ImageViewerActions::ShowContextMenu);
    connect(area_, &ImagePictureArea::AreaResized, &viewControl_, &ImageViewControl::AreaResized);

    actions_.Build();
    if (path_.empty())
        setWindowTitle(QString::fromLatin1(kEmptyModeTitle));
    else
        Load(path_);
    viewControl_.SetTool(ImagePictureArea::Tool::Hand);
    setFocus();
}

ImageViewerWindow::~ImageViewerWindow() {
    walk_.StopClock();
    if (host_)
        host_->NotifyClosed(this);
}

void ImageViewerWindow::ShowFile(const std::string& path, const std::string& directory) {
    const bool otherDirectory = directory != directory_;
    directory_ = directory;
    if (path.empty()) {
        path_.clear();
        comment_.clear();
        image_.Destroy();
        area_->SetEmptyText(QString());
        area_->ClearSelection();
        area_->ImageChanged();
        setWindowTitle(QString::fromLatin1(kEmptyModeTitle));
        Repaint();
    } else {
        Load(path);
    }
    if (otherDirectory)
        walk_.DirectoryChanged();
    area_->repaint();
}

void ImageViewerWindow::Load(const std::string& path) {
    path_ = path;
    image_.ClearLastError();
    area_->SetEmptyText(QString());
    if (!LoadImage(image_, path)) {
        image_.Destroy();
        area_->SetEmptyText(ToQ(image_.LastError().empty() ? "The picture could not be read."
                                                           : image_.LastError()));
    }
    comment_ = GetComment(path);
    area_->ClearSelection();
    area_->ImageChanged();
    if (!viewControl_.SizeLocked()) {
        view_.SetZoom(1.0);
        view_.SetImageSize(image_.Width(), image_.Height());
        view_.BestFit();
    }
    setWindowTitle(ToQ(path));
    Repaint();
}

void ImageViewerWindow::ShowPasted(RasterImage& picture) {
    image_.TransferFrom(picture);
    path_.clear();
    comment_.clear();
    area_->SetEmptyText(QString());
    area_->ClearSelection();
    area_->ImageChanged();
    setWindowTitle(QString::fromLatin1(kPastedImageTitle));
    if (!viewControl_.SizeLocked()) {
        view_.SetZoom(1.0);
        viewControl_.BestFit();
    }
    Repaint();
}

void ImageViewerWindow::SetComment(std::string comment) {
    comment_ = std::move(comment);
    UpdateInfoLine();
}

void ImageViewerWindow::Repaint() {
    area_->Refresh();
    UpdateInfoLine();
}

void ImageViewerWindow::UpdateInfoLine() {
    infoLine_->setText(
        ToQ(ImageInfoLine(image_.Width(), image_.Height(), image_.Bits(), view_.Zoom(), comment_)));
}

QString ImageViewerWindow::InfoLine() const {
    return infoLine_->text();
}

void ImageViewerWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Once the layout has given the picture area its final size.
    QTimer::singleShot(0, &viewControl_, &ImageViewControl::BestFit);
}

bool ImageViewerWindow::event(QEvent* event) {
    if (actions_.HandleKey(event))
        return true;
    return QMainWindow::event(event);
}

void ImageViewerWindow::closeEvent(QCloseEvent* event) {
    walk_.StopClock();
    QMainWindow::closeEvent(event);
}

} // namespace orvo
