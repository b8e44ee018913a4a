#include "viewers/ui/ImageViewerWindow.h"

#include "comments/PathComments.h"
#include "comments/ui/CommentEditDialog.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/OperationTexts.h"
#include "fileops/ui/FileOperationService.h"
#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "image/ui/RasterQImage.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ImageConversion.h"
#include "viewers/ImageViewerTexts.h"
#include "viewers/ui/ImageColorsDialog.h"
#include "viewers/ui/ImageConversionDialog.h"
#include "viewers/ui/ViewerHost.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace orvo {

namespace {

constexpr int kSlideshowTickMs = 100;
constexpr int kTicksPerImage = 20;

QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

ImageViewerWindow::ImageViewerWindow(const std::string& path, const std::string& directory,
                                     ViewerHost* host, bool openedByQuickView, QWidget* owner)
    : QMainWindow(owner, Qt::Window), path_(path), directory_(directory),
      openedByQuickView_(openedByQuickView), host_(host) {
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
    connect(area_, &ImagePictureArea::ContextMenuWanted, this, &ImageViewerWindow::ShowContextMenu);
    connect(area_, &ImagePictureArea::AreaResized, this, [this] {
        if (windowOpened_)
            return;
        windowOpened_ = true;
        BestFit();
    });
    connect(&FileOperationNotifier::Instance(), &FileOperationNotifier::RefreshDirectories, this,
            &ImageViewerWindow::OnDirectoriesChanged);

    BuildActions();
    BuildKeys();
    if (path_.empty())
        setWindowTitle(QString::fromLatin1(kEmptyModeTitle));
    else
        Load(path_);
    timer_.start(kSlideshowTickMs, this);
    SetTool(ImagePictureArea::Tool::Hand);
    setFocus();
}

ImageViewerWindow::~ImageViewerWindow() {
    timer_.stop();
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
    if (otherDirectory && list_.IsBuilt())
        list_.Build(ListDirectory());
    area_->repaint();
}

std::string ImageViewerWindow::ListDirectory() const {
    return path_.empty() ? directory_ : ParentDirectoryOf(path_);
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
    if (!lockSize_) {
        view_.SetZoom(1.0);
        view_.SetImageSize(image_.Width(), image_.Height());
        view_.BestFit();
    }
    setWindowTitle(ToQ(path));
    Repaint();
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
    QTimer::singleShot(0, this, &ImageViewerWindow::BestFit);
}

bool ImageViewerWindow::event(QEvent* event) {
    if (keys_.Handle(event))
        return true;
    return QMainWindow::event(event);
}

void ImageViewerWindow::closeEvent(QCloseEvent* event) {
    timer_.stop();
    QMainWindow::closeEvent(event);
}

void ImageViewerWindow::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId())
        SlideshowTick();
    else
        QMainWindow::timerEvent(event);
}

void ImageViewerWindow::SlideshowTick() {
    // The comment editor holds the slideshow where it is.
    if (busy_)
        return;
    ++ticks_;
    if (ticks_ % kTicksPerImage == 0 && slideshow_)
        Next();
}

void ImageViewerWindow::EnsurePictureList() {
    if (!list_.IsBuilt())
        list_.Build(ListDirectory());
}

void ImageViewerWindow::GoTo(const std::string& path) {
    if (path.empty())
        return;
    Load(path);
}

void ImageViewerWindow::Next() {
    EnsurePictureList();
    GoTo(list_.Next(path_, slideshow_));
}

void ImageViewerWindow::Previous() {
    EnsurePictureList();
    GoTo(list_.Previous(path_));
}

void ImageViewerWindow::First() {
    EnsurePictureList();
    GoTo(list_.First());
}

void ImageViewerWindow::Last() {
    EnsurePictureList();
    GoTo(list_.Last());
}

void ImageViewerWindow::OnDirectoriesChanged(const QStringList& directories) {
    if (list_.IsBuilt() && directories.contains(ToQ(StripTrailingSlash(list_.Directory()))))
        list_.Build(list_.Directory());
}

void ImageViewerWindow::ToggleSlideshow() {
    slideshow_ = !slideshow_;
    UpdateSlideshowButton();
}

void ImageViewerWindow::ToggleTile() {
    const bool on = !area_->TileMode();
    if (on)
        view_.SetZoom(1.0);
    tileAction_->setChecked(on);
    area_->SetTileMode(on);
    UpdateInfoLine();
}

void ImageViewerWindow::ZoomIn(bool centred) {
    if (centred)
        view_.ZoomInCentred();
    else
        view_.ZoomIn();
    Repaint();
}

void ImageViewerWindow::ZoomOut(bool centred) {
    if (centred)
        view_.ZoomOutCentred();
    else
        view_.ZoomOut();
    Repaint();
}

void ImageViewerWindow::BestFit() {
    view_.SetImageSize(image_.Width(), image_.Height());
    view_.SetAreaSize(area_->viewport()->width(), area_->viewport()->height());
    view_.BestFit();
    Repaint();
}

void ImageViewerWindow::Original() {
    view_.Original();
    Repaint();
}

void ImageViewerWindow::Scroll(int dx, int dy) {
    view_.ScrollBy(dx, dy);
    Repaint();
}

void ImageViewerWindow::ToggleLockSize() {
    lockSize_ = !lockSize_;
    lockAction_->setChecked(lockSize_);
}

void ImageViewerWindow::SetTool(ImagePictureArea::Tool tool) {
    area_->SetTool(tool);
    handAction_->setChecked(tool == ImagePictureArea::Tool::Hand);
    magnifyAction_->setChecked(tool == ImagePictureArea::Tool::Magnify);
    selectionAction_->setChecked(tool == ImagePictureArea::Tool::Selection);
}

void ImageViewerWindow::Reload() {
    if (!path_.empty())
        Load(path_);
}

void ImageViewerWindow::CopyToClipboard() {
    if (image_.IsEmpty())
        return;
    RasterImage part;
    const RasterImage* copied = &image_;
    if (area_->HasSelection()) {
        const QRect s = area_->Selection();
        const ImageRect r = view_.AreaToImage(ImageRect{s.x(), s.y(), s.width(), s.height()});
        if (CopyRect(image_, part, r.x, r.y, r.x + r.width, r.y + r.height))
            copied = &part;
    }
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(ToQImage(*copied));
    Repaint();
}

void ImageViewerWindow::PasteFromClipboard() {
    const QImage picture = QApplication::clipboard()->image();
    if (picture.isNull())
        return;
    RasterImage pasted;
    if (!FromQImage(picture, pasted))
        return;
    image_.TransferFrom(pasted);
    path_.clear();
    comment_.clear();
    area_->SetEmptyText(QString());
    area_->ClearSelection();
    area_->ImageChanged();
    setWindowTitle(QString::fromLatin1(kPastedImageTitle));
    if (!lockSize_) {
        view_.SetZoom(1.0);
        BestFit();
    }
    Repaint();
}

void ImageViewerWindow::Save() {
    if (path_.empty()) {
        SaveAs();
        return;
    }
    if (image_.IsEmpty())
        return;
    image_.ClearLastError();
    // A failed save must not pass for a saved picture.
    if (!SaveImage(image_, path_, -1, true))
        UserPrompt::Message(
            this, ToQ(image_.LastError().empty() ? "Couldn't save " + path_ : image_.LastError()),
            UserPrompt::Icon::Warning);
    area_->ImageChanged();
    Repaint();
}

void ImageViewerWindow::SaveAs() {
    if (image_.IsEmpty())
        return;
    const std::string proposed = path_.empty() ? JoinPath(directory_, "dropped.bmp") : path_;
    ImageConversionDialog dialog(&image_, proposed, this);
    busy_ = true;
    const bool ok = dialog.Run();
    busy_ = false;
    area_->ImageChanged();
    if (!ok) {
        Repaint();
        return;
    }
    const ImageConversion& chosen = dialog.Model();
    std::string extension = chosen.FormatExtension();
    if (extension.empty())
        extension = ExtensionOfPath(path_);
    if (extension.empty())
        extension = ExtensionOfPath(chosen.fileName);
    if (extension.empty())
        extension = "bmp";
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string target = PathWithExtension(chosen.fileName, extension);
    // Another file of that name is replaced only when the user says so.
    if (target != path_ && PathExists(target) &&
        !UserPrompt::AskYesNo(this, ToQ(target + " already exists.\nDo you want to replace it ?"),
                              QStringLiteral("Confirmation "))) {
        Repaint();
        return;
    }
    image_.SetJpegQuality(chosen.jpegQuality);
    image_.ClearLastError();
    const bool saved = SaveImage(image_, target, -1, true);
    if (!saved || !image_.LastError().empty())
        UserPrompt::Message(
            this, ToQ(image_.LastError().empty() ? "Couldn't save " + target : image_.LastError()),
            UserPrompt::Icon::Warning);
    area_->ImageChanged();
    Repaint();
}

void ImageViewerWindow::RunImageDialog(const std::function<bool()>& run) {
    if (image_.IsEmpty())
        return;
    busy_ = true;
    const bool ok = run();
    busy_ = false;
    if (ok) {
        area_->ImageChanged();
        Repaint();
    }
}

void ImageViewerWindow::Convert() {
    RunImageDialog([this] {
        ImageConversionDialog dialog(&image_, path_, this);
        return dialog.Run();
    });
}

void ImageViewerWindow::BrightnessAndContrast() {
    RunImageDialog([this] {
        ImageColorsDialog dialog(&image_, this);
        return dialog.Run();
    });
}

void ImageViewerWindow::EditComment() {
    if (path_.empty())
        return;
    busy_ = true;
    comment_ = CommentEditDialog::EditComment(path_, this);
    busy_ = false;
    UpdateInfoLine();
}

void ImageViewerWindow::ShowInformation() {
    ImageFacts facts;
    facts.fileName = path_;
    facts.width = image_.Width();
    facts.height = image_.Height();
    facts.dpiX = image_.DpiX();
    facts.dpiY = image_.DpiY();
    facts.bits = image_.Bits();
    facts.memorySize = image_.MemorySize();
    facts.diskSize = path_.empty() ? 0 : GetFileStatus(path_).size;
    facts.greyScale = image_.IsGreyScale();
    facts.frames = image_.FrameCount();
    facts.comment = comment_;
    UserPrompt::Message(this, ToQ(ImageInformationText(facts)), UserPrompt::Icon::Information,
                        QString::fromLatin1(kImageInformationTitle));
}

void ImageViewerWindow::DeleteFile() {
    if (path_.empty())
        return;
    const UserPrompt::Answer answer =
        UserPrompt::Instance().Ask(this, QStringLiteral("Deleting"), ToQ(DeleteQuestion(path_)),
                                   UserPrompt::Buttons::YesNoCancel, UserPrompt::Icon::Question);
    if (answer != UserPrompt::Answer::Yes)
        return;
    // The view moves on to a neighbour (the last picture of the list gives
    // way to the one before it), found before the file can be gone.
    EnsurePictureList();
    std::string neighbour = list_.Next(path_, false);
    if (neighbour.empty())
        neighbour = list_.Previous(path_);
    StartFileOperation({path_}, std::string(), OpDelete, 1);
    list_.Remove(path_);
    GoTo(neighbour);
}

void ImageViewerWindow::TransferFile(bool move) {
    if (path_.empty() || !host_)
        return;
    const QString destination = host_->ChooseDestination(this);
    if (destination.isEmpty())
        return;
    const std::string target = destination.toStdString();
    if (!IsDirectory(target)) {
        UserPrompt::Message(this, QString::fromLatin1(kNotADirectory), UserPrompt::Icon::Warning);
        return;
    }
    StartFileOperation({path_}, target, move ? OpMove : OpCopy, 1);
}

} // namespace orvo
