#pragma once

#include "image/RasterImage.h"
#include "viewers/ImageViewState.h"
#include "viewers/ui/ImageDirectoryWalk.h"
#include "viewers/ui/ImagePictureArea.h"
#include "viewers/ui/ImageViewControl.h"
#include "viewers/ui/ImageViewerActions.h"
#include "viewers/ui/ImageViewerCommands.h"

#include <QMainWindow>
#include <QPointer>
#include <string>

class QLabel;

namespace orvo {

class ViewerHost;

// "Image quick view": one picture file, zoomed and scrolled in its picture
// area, with the other pictures of its directory a key away, the
// clipboard, the conversion dialogs, saving, deleting, copying and moving.
// With an empty path it starts in empty mode, waiting for a pasted picture.
// It frees itself when closed and tells its host.
//
// The window holds the picture it shows; its jobs (the view of the
// picture, the way through the directory, the commands, the menus and
// keys) work on it through the functions below.
class ImageViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    ImageViewerWindow(const std::string& path, const std::string& directory, ViewerHost* host,
                      bool openedByQuickView, QWidget* owner = nullptr);
    ~ImageViewerWindow() override;

    // Auto view moves the window to another file; the directory's pictures
    // are read again when the directory changes.
    void ShowFile(const std::string& path, const std::string& directory);
    // Another picture of the same directory.
    void Load(const std::string& path);
    // A picture that has no file yet; it is taken over.
    void ShowPasted(RasterImage& picture);

    const std::string& Path() const { return path_; }
    const std::string& Directory() const { return directory_; }
    const RasterImage& Image() const { return image_; }
    ImageViewState& View() { return view_; }
    ImagePictureArea* Area() const { return area_; }
    const std::string& Comment() const { return comment_; }
    void SetComment(std::string comment);
    QString InfoLine() const;
    bool OpenedByQuickView() const { return openedByQuickView_; }

    // After any change of the picture or the view.
    void Repaint();
    void UpdateInfoLine();

    ImageViewControl& ViewControl() { return viewControl_; }
    ImageDirectoryWalk& Walk() { return walk_; }
    ImageViewerCommands& Commands() { return commands_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::string path_;
    std::string directory_;
    RasterImage image_;
    ImageViewState view_;
    std::string comment_;
    bool openedByQuickView_ = false;
    QPointer<ViewerHost> host_;

    ImagePictureArea* area_ = nullptr;
    QLabel* infoLine_ = nullptr;

    // Declared last: they go before the picture they work on.
    ImageViewControl viewControl_;
    ImageDirectoryWalk walk_;
    ImageViewerCommands commands_;
    ImageViewerActions actions_;
};

} // namespace orvo
