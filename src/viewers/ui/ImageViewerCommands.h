#pragma once

#include "platform/FileIO.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

namespace orvo {

class ImageDirectoryWalk;
class ImageViewerWindow;
class RasterImage;
class ViewerHost;

// The image viewer's commands on the picture it shows and on its file:
// the clipboard, saving, the conversion dialogs, the comment, deleting,
// copying and moving.
class ImageViewerCommands : public QObject {
    Q_OBJECT
public:
    ImageViewerCommands(ImageViewerWindow& window, RasterImage& image, ImageDirectoryWalk& walk,
                        ViewerHost* host);

    void Reload();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Save();
    void SaveAs();
    void Convert();
    void BrightnessAndContrast();
    void ShowInformation();
    void EditComment();
    void DeleteFile();
    // F5 copies, F6 moves the file to a directory the host lets the user
    // choose.
    void TransferFile(bool move);

private:
    // A conversion dialog on the picture; the view follows an OK.
    void RunImageDialog(const std::function<bool()>& run);
    // The read-only question before a save, asked with the slideshow held;
    // nullopt when the user keeps the file.
    std::optional<ReadOnlyFiles> AskBeforeSaving(const std::string& path);

    ImageViewerWindow& window_;
    RasterImage& image_;
    ImageDirectoryWalk& walk_;
    QPointer<ViewerHost> host_;
};

} // namespace orvo
