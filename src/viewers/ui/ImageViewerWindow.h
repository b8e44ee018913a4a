#pragma once

#include "image/RasterImage.h"
#include "viewers/ImageList.h"
#include "viewers/ImageViewState.h"
#include "viewers/ui/ImagePictureArea.h"
#include "viewers/ui/ViewerKeys.h"

#include <QBasicTimer>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>

class QAction;
class QLabel;
class QMenu;

namespace orvo {

class ViewerHost;

// "Image quick view": one picture file, zoomed and scrolled in its picture
// area, with the other pictures of its directory a key away, the
// clipboard, the conversion dialogs, saving, deleting, copying and moving.
// With an empty path it starts in empty mode, waiting for a pasted picture.
// It frees itself when closed and tells its host.
class ImageViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    ImageViewerWindow(const std::string& path, const std::string& directory, ViewerHost* host,
                      bool openedByQuickView, QWidget* owner = nullptr);
    ~ImageViewerWindow() override;

    // Auto view moves the window to another file; the directory's pictures
    // are read again when the directory changes.
    void ShowFile(const std::string& path, const std::string& directory);

    const std::string& Path() const { return path_; }
    const std::string& Directory() const { return directory_; }
    const RasterImage& Image() const { return image_; }
    ImageViewState& View() { return view_; }
    ImagePictureArea* Area() const { return area_; }
    const ImageList& Pictures() const { return list_; }
    QString InfoLine() const;
    bool SlideshowRunning() const { return slideshow_; }
    bool SizeLocked() const { return lockSize_; }
    bool OpenedByQuickView() const { return openedByQuickView_; }

    // The commands of the menus, keys and buttons.
    void Reload();
    void PasteFromClipboard();
    void Save();
    void SaveAs();
    void EditComment();
    void DeleteFile();
    void TransferFile(bool move);
    void CopyToClipboard();
    void Next();
    void Previous();
    void First();
    void Last();
    void ToggleSlideshow();
    void ToggleTile();
    void ZoomIn(bool centred);
    void ZoomOut(bool centred);
    void BestFit();
    void Original();
    void ToggleLockSize();
    void SetTool(ImagePictureArea::Tool tool);
    void Convert();
    void BrightnessAndContrast();
    void ShowInformation();
    void Scroll(int dx, int dy);
    // One 100 ms tick of the slideshow clock.
    void SlideshowTick();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void BuildActions();
    void BuildKeys();
    void Load(const std::string& path);
    void GoTo(const std::string& path);
    void EnsurePictureList();
    void Repaint();
    void UpdateInfoLine();
    void UpdateSlideshowButton();
    // A conversion dialog on the picture; the view follows an OK.
    void RunImageDialog(const std::function<bool()>& run);
    void ShowContextMenu(const QPoint& globalPos);
    void OnDirectoriesChanged(const QStringList& directories);
    std::string ListDirectory() const;

    std::string path_;
    std::string directory_;
    RasterImage image_;
    ImageViewState view_;
    ImageList list_;
    std::string comment_;
    bool windowOpened_ = false;
    bool slideshow_ = false;
    int ticks_ = 0;
    bool busy_ = false;
    bool lockSize_ = false;
    bool openedByQuickView_ = false;
    QPointer<ViewerHost> host_;
    QBasicTimer timer_;

    ImagePictureArea* area_;
    QLabel* infoLine_;
    ViewerKeys keys_;
    QList<QMenu*> menus_;
    QAction* slideshowAction_ = nullptr;
    QAction* tileAction_ = nullptr;
    QAction* lockAction_ = nullptr;
    QAction* handAction_ = nullptr;
    QAction* magnifyAction_ = nullptr;
    QAction* selectionAction_ = nullptr;
};

} // namespace orvo
