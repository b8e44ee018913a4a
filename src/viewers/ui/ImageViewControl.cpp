#include "viewers/ui/ImageViewControl.h"

#include "viewers/ui/ImageViewerWindow.h"

namespace orvo {

ImageViewControl::ImageViewControl(ImageViewerWindow& window) : window_(window) {}

void ImageViewControl::ZoomIn(bool centred) {
    if (centred)
        window_.View().ZoomInCentred();
    else
        window_.View().ZoomIn();
    window_.Repaint();
}

void ImageViewControl::ZoomOut(bool centred) {
    if (centred)
        window_.View().ZoomOutCentred();
    else
        window_.View().ZoomOut();
    window_.Repaint();
}

void ImageViewControl::BestFit() {
    ImageViewState& view = window_.View();
    const ImagePictureArea* area = window_.Area();
    view.SetImageSize(window_.Image().Width(), window_.Image().Height());
    view.SetAreaSize(area->viewport()->width(), area->viewport()->height());
    view.BestFit();
    window_.Repaint();
}

void ImageViewControl::Original() {
    window_.View().Original();
    window_.Repaint();
}

void ImageViewControl::Scroll(int dx, int dy) {
    window_.View().ScrollBy(dx, dy);
    window_.Repaint();
}

void ImageViewControl::ToggleTile() {
    const bool on = !window_.Area()->TileMode();
    if (on)
        window_.View().SetZoom(1.0);
    emit TileModeChanged(on);
    window_.Area()->SetTileMode(on);
    window_.UpdateInfoLine();
}

void ImageViewControl::ToggleLockSize() {
    lockSize_ = !lockSize_;
    emit SizeLockChanged(lockSize_);
}

void ImageViewControl::SetTool(ImagePictureArea::Tool tool) {
    window_.Area()->SetTool(tool);
    emit ToolChanged(tool);
}

void ImageViewControl::AreaResized() {
    if (fittedOnce_)
        return;
    fittedOnce_ = true;
    BestFit();
}

} // namespace orvo
