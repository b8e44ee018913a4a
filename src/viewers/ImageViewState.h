#pragma once

#include "image/ImageTransforms.h"

namespace orvo {

// The image viewer's numbers, as the keys, buttons and mouse tools change
// them. Zoom out is ×0.8, not 1/1.2: zooming in and out again does not
// come back to the same factor, and users are used to that.
inline constexpr double kZoomInStep = 1.2;
inline constexpr double kZoomOutStep = 0.8;
inline constexpr double kMinZoom = 0.1;
inline constexpr double kMaxZoom = 220.0;
inline constexpr double kBestFitMargin = 0.03;
inline constexpr int kArrowScrollStep = 10; // image pixels
inline constexpr int kTileSizeLimit = 1200;

// Where a paint puts the picture: the scaled size, the top-left corner of
// the picture inside the area (a small picture is centred) and the range
// the scroll offsets may take.
struct ViewLayout {
    int scaledWidth = 0;
    int scaledHeight = 0;
    int originX = 0;
    int originY = 0;
    int maxScrollX = 0;
    int maxScrollY = 0;
    bool coversArea = false; // nothing of the background shows
};

// Zoom, scroll offsets (in image pixels) and picture origin of one viewer.
class ImageViewState {
public:
    void SetImageSize(int width, int height);
    void SetAreaSize(int width, int height);
    int ImageWidth() const { return imageWidth_; }
    int ImageHeight() const { return imageHeight_; }
    int AreaWidth() const { return areaWidth_; }
    int AreaHeight() const { return areaHeight_; }

    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    void SetScroll(int x, int y);
    void ScrollBy(int dx, int dy) { SetScroll(scrollX_ + dx, scrollY_ + dy); }

    int ScaledWidth() const;
    int ScaledHeight() const;
    // Whether the scaled picture fits the area both ways (the hand tool
    // has nothing to move then).
    bool FitsArea() const;

    // What every paint does first: the zoom within its limits, the scroll
    // offsets within the picture (reset where the picture is narrower than
    // the area), the origin of a centred picture.
    const ViewLayout& Arrange();
    const ViewLayout& Layout() const { return layout_; }

    // The menu's zoom commands leave the scroll offsets alone...
    void ZoomIn();
    void ZoomOut();
    // ...the keys and buttons keep the middle of the view where it was.
    void ZoomInCentred();
    void ZoomOutCentred();
    // The largest zoom that shows the whole picture with a small margin;
    // never above 1, so a small picture keeps its own size.
    void BestFit();
    // Zoom 1 from the top-left corner.
    void Original();
    // Tile mode shows copies no larger than the tile limit: the zoom drops
    // by 0.8 steps until the scaled picture fits it.
    void ReduceForTile();

    // The hand tool: the offsets at the press minus the cursor's way since,
    // in image pixels.
    void DragTo(int pressScrollX, int pressScrollY, int movedX, int movedY);
    // The magnifier on release, rect in area coordinates: a click zooms by
    // one step (out with Shift); a rectangle comes to the top-left corner
    // and is enlarged to fill the area.
    void Magnify(const ImageRect& rect, bool shift);
    // A rectangle of the area in image pixels (rows from the top), as the
    // last arranged paint placed the picture.
    ImageRect AreaToImage(const ImageRect& rect) const;

private:
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int areaWidth_ = 0;
    int areaHeight_ = 0;
    double zoom_ = 1.0;
    int scrollX_ = 0;
    int scrollY_ = 0;
    ViewLayout layout_;
};

} // namespace orvo
