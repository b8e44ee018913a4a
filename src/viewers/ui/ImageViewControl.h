#pragma once

#include "viewers/ui/ImagePictureArea.h"

#include <QObject>

namespace orvo {

class ImageViewerWindow;

// How the image viewer's picture sits in its area: zoom, scrolling, tiles,
// the locked size and the mouse tool. The menu's check marks follow the
// signals, whether a key, a button or the menu made the change.
class ImageViewControl : public QObject {
    Q_OBJECT
public:
    explicit ImageViewControl(ImageViewerWindow& window);

    // centred: the keys and buttons keep the middle of the view where it
    // was; the menu leaves the scroll offsets alone.
    void ZoomIn(bool centred);
    void ZoomOut(bool centred);
    void BestFit();
    void Original();
    void Scroll(int dx, int dy);
    void ToggleTile();
    // A locked size keeps the zoom and offsets when another picture comes.
    void ToggleLockSize();
    bool SizeLocked() const { return lockSize_; }
    void SetTool(ImagePictureArea::Tool tool);
    // The area's first size is the window's opening size: the picture is
    // fitted to it once, later sizes leave the view as the user set it.
    void AreaResized();

signals:
    void TileModeChanged(bool on);
    void SizeLockChanged(bool locked);
    void ToolChanged(ImagePictureArea::Tool tool);

private:
    ImageViewerWindow& window_;
    bool lockSize_ = false;
    bool fittedOnce_ = false;
};

} // namespace orvo
