#include "viewers/ui/ImageViewerCommands.h"

#include "comments/ui/CommentEditDialog.h"
#include "fileops/FileOperationRequest.h"
#include "fileops/OperationTexts.h"
#include "fileops/ui/CFileOperationDlg.h"
#include "fileops/ui/FileOperationService.h"
#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "image/ui/RasterQImage.h"
#include "platform/FileStatus.h"
#include "platform/PathText.h"
#include "platform/ui/QtText.h"
#include "platform/ui/SaveQuestion.h"
#include "platform/ui/UserPrompt.h"
#include "viewers/ImageConversion.h"
#include "viewers/ImageViewerTexts.h"
#include "viewers/ui/ImageColorsDialog.h"
#include "viewers/ui/ImageConversionDialog.h"
#include "viewers/ui/ImageDirectoryWalk.h"
#include "viewers/ui/ImageViewerWindow.h"
#include "viewers/ui/ViewerHost.h"

#include <QApplication>
#include <QClipboard>

namespace orvo {

ImageViewerCommands::ImageViewerCommands(ImageViewerWindow& window, RasterImage& image,
                                         ImageDirectoryWalk& walk, ViewerHost* host)
    : window_(window), image_(image), walk_(walk), host_(host) {}

void ImageViewerCommands::Reload() {
    if (!window_.Path().empty())
        window_.Load(window_.Path());
}

void ImageViewerCommands::CopyToClipboard() {
    if (image_.IsEmpty())
        return;
    RasterImage part;
    const RasterImage* copied = &image_;
    const ImagePictureArea* area = window_.Area();
    if (area->HasSelection()) {
        const QRect s = area->Selection();
        const ImageRect r =
            window_.View().AreaToImage(ImageRect{s.x(), s.y(), s.width(), s.height()});
        if (CopyRect(image_, part, r.x, r.y, r.x + r.width, r.y + r.height))
            copied = &part;
    }
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(ToQImage(*copied));
    window_.Repaint();
}

void ImageViewerCommands::PasteFromClipboard() {
    const QImage picture = QApplication::clipboard()->image();
    if (picture.isNull())
        return;
    RasterImage pasted;
    if (!FromQImage(picture, pasted))
        return;
    window_.ShowPasted(pasted);
}

void ImageViewerCommands::Save() {
    const std::string& path = window_.Path();
    if (path.empty()) {
        SaveAs();
        return;
    }
    if (image_.IsEmpty())
        return;
    const std::optional<ReadOnlyFiles> allowed = AskBeforeSaving(path);
    if (!allowed)
        return;
    image_.ClearLastError();
    // A failed save must not pass for a saved picture.
    if (!SaveImage(image_, path, -1, true, *allowed))
        UserPrompt::Message(
            &window_,
            ToQ(image_.LastError().empty() ? "Couldn't save " + path : image_.LastError()),
            UserPrompt::Icon::Warning);
    window_.Area()->ImageChanged();
    window_.Repaint();
}

void ImageViewerCommands::SaveAs() {
    if (image_.IsEmpty())
        return;
    // Held until the picture is written: the overwrite question must not
    // let another picture take this one's place.
    const ImageDirectoryWalk::Hold hold(walk_);
    const std::string path = window_.Path();
    const std::string proposed = path.empty() ? JoinPath(window_.Directory(), "dropped.bmp") : path;
    ImageConversionDialog dialog(&image_, proposed, &window_);
    const bool ok = dialog.Run();
    window_.Area()->ImageChanged();
    if (!ok) {
        window_.Repaint();
        return;
    }
    const ImageConversion& chosen = dialog.Model();
    const std::string target =
        chosen.SaveAsTarget(path, path.empty() ? window_.Directory() : ParentDirectoryOf(path));
    if (target.empty()) {
        UserPrompt::Message(&window_, QStringLiteral("Please give the picture a file name."),
                            UserPrompt::Icon::Warning);
        window_.Repaint();
        return;
    }
    // Another file of that name is replaced only when the user says so.
    if (target != path && PathExists(target) &&
        !UserPrompt::AskYesNo(&window_,
                              ToQ(target + " already exists.\nDo you want to replace it ?"),
                              QStringLiteral("Confirmation "))) {
        window_.Repaint();
        return;
    }
    const std::optional<ReadOnlyFiles> allowed = AskBeforeSaving(target);
    if (!allowed)
        return;
    image_.SetJpegQuality(chosen.jpegQuality);
    image_.ClearLastError();
    const bool saved = SaveImage(image_, target, -1, true, *allowed);
    if (!saved || !image_.LastError().empty())
        UserPrompt::Message(
            &window_,
            ToQ(image_.LastError().empty() ? "Couldn't save " + target : image_.LastError()),
            UserPrompt::Icon::Warning);
    window_.Area()->ImageChanged();
    window_.Repaint();
}

std::optional<ReadOnlyFiles> ImageViewerCommands::AskBeforeSaving(const std::string& path) {
    std::optional<ReadOnlyFiles> allowed;
    {
        const ImageDirectoryWalk::Hold hold(walk_);
        allowed = AskBeforeSavingOver(&window_, path);
    }
    if (!allowed)
        window_.Repaint();
    return allowed;
}

void ImageViewerCommands::RunImageDialog(const std::function<bool()>& run) {
    if (image_.IsEmpty())
        return;
    const ImageDirectoryWalk::Hold hold(walk_);
    const bool ok = run();
    if (ok) {
        window_.Area()->ImageChanged();
        window_.Repaint();
    }
}

void ImageViewerCommands::Convert() {
    RunImageDialog([this] {
        ImageConversionDialog dialog(&image_, window_.Path(), &window_);
        return dialog.Run();
    });
}

void ImageViewerCommands::BrightnessAndContrast() {
    RunImageDialog([this] {
        ImageColorsDialog dialog(&image_, &window_);
        return dialog.Run();
    });
}

void ImageViewerCommands::ShowInformation() {
    const ImageDirectoryWalk::Hold hold(walk_);
    const std::string path = window_.Path();
    ImageFacts facts;
    facts.fileName = path;
    facts.width = image_.Width();
    facts.height = image_.Height();
    facts.dpiX = image_.DpiX();
    facts.dpiY = image_.DpiY();
    facts.bits = image_.Bits();
    facts.memorySize = image_.MemorySize();
    facts.diskSize = path.empty() ? 0 : GetFileStatus(path).size;
    facts.greyScale = image_.IsGreyScale();
    facts.frames = image_.FrameCount();
    facts.comment = window_.Comment();
    UserPrompt::Message(&window_, ToQ(ImageInformationText(facts)), UserPrompt::Icon::Information,
                        QString::fromLatin1(kImageInformationTitle));
}

void ImageViewerCommands::EditComment() {
    if (window_.Path().empty())
        return;
    const ImageDirectoryWalk::Hold hold(walk_);
    std::string comment = CommentEditDialog::EditComment(window_.Path(), &window_);
    window_.SetComment(std::move(comment));
}

void ImageViewerCommands::DeleteFile() {
    // A copy: the view moves on and the window's path with it.
    const std::string path = window_.Path();
    if (path.empty())
        return;
    const ImageDirectoryWalk::Hold hold(walk_);
    const UserPrompt::Answer answer =
        UserPrompt::Instance().Ask(&window_, QStringLiteral("Deleting"), ToQ(DeleteQuestion(path)),
                                   UserPrompt::Buttons::YesNoCancel, UserPrompt::Icon::Question);
    if (answer != UserPrompt::Answer::Yes)
        return;
    // The neighbour is found before the file can be gone.
    const std::string neighbour = walk_.NeighbourOf(path);
    StartFileOperation({path}, std::string(), OpDelete, 1);
    walk_.Forget(path);
    if (!neighbour.empty())
        window_.Load(neighbour);
}

void ImageViewerCommands::TransferFile(bool move) {
    // The file named when the command began, whatever the view shows later.
    const std::string path = window_.Path();
    if (path.empty() || !host_)
        return;
    const ImageDirectoryWalk::Hold hold(walk_);
    const QString destination = host_->ChooseDestination(&window_);
    if (destination.isEmpty())
        return;
    const std::string target = QToPath(destination);
    if (!IsDirectory(target)) {
        UserPrompt::Message(&window_, QString::fromLatin1(kNotADirectory),
                            UserPrompt::Icon::Warning);
        return;
    }
    CFileOperationDlg* run = StartFileOperation({path}, target, move ? OpMove : OpCopy, 1);
    if (!move || !run)
        return;
    // A picture moved away is left as a deleted one is: the walk goes on
    // from its neighbour, found while the file is still there. A move the
    // user stopped or skipped leaves the view where it is.
    const std::string neighbour = walk_.NeighbourOf(path);
    connect(run, &CFileOperationDlg::Finished, this, [this, path, neighbour] {
        if (PathExists(path) || window_.Path() != path)
            return;
        walk_.Forget(path);
        if (!neighbour.empty())
            window_.Load(neighbour);
    });
}

} // namespace orvo
