#include "viewers/ImageViewState.h"

#include <algorithm>
#include <cmath>

namespace orvo {

namespace {

double ClampZoom(double zoom) {
    if (!(zoom >= kMinZoom)) // also catches NaN
        return kMinZoom;
    return std::min(zoom, kMaxZoom);
}

int Truncate(double value) {
    if (!(value > -2e9))
        return -2000000000;
    if (value > 2e9)
        return 2000000000;
    return static_cast<int>(value);
}

// How many image pixels the area shows along a side, rounded up so the
// last partly visible pixel can still be reached.
int VisiblePixels(int areaSide, double zoom) {
    return static_cast<int>(std::ceil(areaSide / zoom));
}

} // namespace

void ImageViewState::SetImageSize(int width, int height) {
    imageWidth_ = std::max(0, width);
    imageHeight_ = std::max(0, height);
}

void ImageViewState::SetAreaSize(int width, int height) {
    areaWidth_ = std::max(0, width);
    areaHeight_ = std::max(0, height);
}

void ImageViewState::SetZoom(double zoom) {
    zoom_ = ClampZoom(zoom);
}

void ImageViewState::SetScroll(int x, int y) {
    scrollX_ = std::max(0, x);
    scrollY_ = std::max(0, y);
}

int ImageViewState::ScaledWidth() const {
    return Truncate(imageWidth_ * zoom_);
}
int ImageViewState::ScaledHeight() const {
    return Truncate(imageHeight_ * zoom_);
}

bool ImageViewState::FitsArea() const {
    return ScaledWidth() <= areaWidth_ && ScaledHeight() <= areaHeight_;
}

const ViewLayout& ImageViewState::Arrange() {
    zoom_ = ClampZoom(zoom_);
    ViewLayout layout;
    layout.scaledWidth = ScaledWidth();
    layout.scaledHeight = ScaledHeight();
    // Scrolling stops where the picture's far edge meets the area's, so
    // the view never runs off into black.
    layout.maxScrollX = std::max(0, imageWidth_ - VisiblePixels(areaWidth_, zoom_));
    layout.maxScrollY = std::max(0, imageHeight_ - VisiblePixels(areaHeight_, zoom_));
    if (layout.scaledWidth < areaWidth_)
        layout.maxScrollX = 0;
    if (layout.scaledHeight < areaHeight_)
        layout.maxScrollY = 0;
    scrollX_ = std::clamp(scrollX_, 0, layout.maxScrollX);
    scrollY_ = std::clamp(scrollY_, 0, layout.maxScrollY);
    layout.originX = std::max(0, areaWidth_ / 2 - layout.scaledWidth / 2);
    layout.originY = std::max(0, areaHeight_ / 2 - layout.scaledHeight / 2);
    layout.coversArea = layout.originX == 0 && layout.originY == 0 &&
                        layout.scaledWidth >= areaWidth_ && layout.scaledHeight >= areaHeight_;
    layout_ = layout;
    return layout_;
}

void ImageViewState::ZoomIn() {
    SetZoom(zoom_ * kZoomInStep);
}
void ImageViewState::ZoomOut() {
    SetZoom(zoom_ * kZoomOutStep);
}

void ImageViewState::ZoomInCentred() {
    const bool wide = ScaledWidth() >= areaWidth_;
    const bool tall = ScaledHeight() >= areaHeight_;
    SetZoom(zoom_ * kZoomInStep);
    int x = scrollX_, y = scrollY_;
    if (wide)
        x += Truncate((areaWidth_ / 8.0) / zoom_);
    if (tall)
        y += Truncate((areaHeight_ / 8.0) / zoom_);
    SetScroll(x, y);
}

void ImageViewState::ZoomOutCentred() {
    SetZoom(zoom_ * kZoomOutStep);
    SetScroll(Truncate(scrollX_ - (areaWidth_ / 8.0) / zoom_),
              Truncate(scrollY_ - (areaHeight_ / 8.0) / zoom_));
}

void ImageViewState::BestFit() {
    if (imageWidth_ <= 0 || imageHeight_ <= 0 || areaWidth_ <= 0 || areaHeight_ <= 0)
        return;
    const double rx = static_cast<double>(areaWidth_) / imageWidth_;
    const double ry = static_cast<double>(areaHeight_) / imageHeight_;
    if (rx > 1.0 && ry > 1.0)
        SetZoom(1.0);
    else
        SetZoom(std::min(rx, ry) - kBestFitMargin);
}

void ImageViewState::Original() {
    zoom_ = 1.0;
    scrollX_ = scrollY_ = 0;
}

void ImageViewState::ReduceForTile() {
    zoom_ = ClampZoom(zoom_);
    while ((ScaledWidth() > kTileSizeLimit || ScaledHeight() > kTileSizeLimit) &&
           zoom_ * kZoomOutStep >= kMinZoom)
        zoom_ *= kZoomOutStep;
}

void ImageViewState::DragTo(int pressScrollX, int pressScrollY, int movedX, int movedY) {
    SetScroll(Truncate(pressScrollX - movedX / zoom_), Truncate(pressScrollY - movedY / zoom_));
}

void ImageViewState::Magnify(const ImageRect& rect, bool shift) {
    if (rect.width < 5 && rect.height < 5) {
        SetZoom(zoom_ * (shift ? kZoomOutStep : kZoomInStep));
        return;
    }
    const ImageRect picked = AreaToImage(rect);
    SetScroll(picked.x, picked.y);
    if (imageWidth_ < 256 || imageHeight_ < 256) {
        SetZoom(zoom_ * kZoomInStep);
        return;
    }
    // The rectangle fills the area; a rectangle thinner than one image
    // pixel counts as one.
    const double fitX = static_cast<double>(areaWidth_) / std::max(1, picked.width);
    const double fitY = static_cast<double>(areaHeight_) / std::max(1, picked.height);
    SetZoom(std::min(fitX, fitY));
}

ImageRect ImageViewState::AreaToImage(const ImageRect& rect) const {
    auto toImageX = [this](int x) { return Truncate((x - layout_.originX) / zoom_) + scrollX_; };
    auto toImageY = [this](int y) { return Truncate((y - layout_.originY) / zoom_) + scrollY_; };
    const int left = toImageX(rect.x), top = toImageY(rect.y);
    return ImageRect{left, top, toImageX(rect.x + rect.width) - left,
                     toImageY(rect.y + rect.height) - top};
}

} // namespace orvo
