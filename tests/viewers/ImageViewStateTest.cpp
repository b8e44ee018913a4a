#include "viewers/ImageViewState.h"

#include "viewers/ViewportRenderer.h"

#include <gtest/gtest.h>
#include <vector>

using namespace orvo;

namespace {

ImageViewState View(int imageW, int imageH, int areaW = 600, int areaH = 400) {
    ImageViewState view;
    view.SetImageSize(imageW, imageH);
    view.SetAreaSize(areaW, areaH);
    return view;
}

} // namespace

TEST(ImageViewState, BestFitNeverEnlargesAndKeepsAMargin) {
    ImageViewState small = View(100, 100);
    small.SetZoom(3.0);
    small.BestFit();
    EXPECT_DOUBLE_EQ(small.Zoom(), 1.0);
    ImageViewState wide = View(2000, 1000);
    wide.BestFit();
    EXPECT_NEAR(wide.Zoom(), 0.27, 1e-12);
    // As large as the area in one direction only: still reduced.
    ImageViewState tall = View(500, 400);
    tall.BestFit();
    EXPECT_NEAR(tall.Zoom(), 0.97, 1e-12);
}

TEST(ImageViewState, ZoomStepsAndLimits) {
    ImageViewState view = View(2000, 1000);
    view.ZoomIn();
    view.ZoomOut();
    EXPECT_NEAR(view.Zoom(), 0.96, 1e-12);
    for (int i = 0; i < 100; ++i)
        view.ZoomInCentred();
    view.Arrange();
    EXPECT_DOUBLE_EQ(view.Zoom(), kMaxZoom);
    for (int i = 0; i < 100; ++i)
        view.ZoomOutCentred();
    view.Arrange();
    EXPECT_DOUBLE_EQ(view.Zoom(), kMinZoom);
}

TEST(ImageViewState, CentredZoomMovesTheViewByAnEighthOfTheArea) {
    ImageViewState view = View(2000, 1000);
    view.SetScroll(100, 100);
    view.ZoomInCentred(); // 1.2: scroll += trunc(75 / 1.2), trunc(50 / 1.2)
    EXPECT_EQ(view.ScrollX(), 162);
    EXPECT_EQ(view.ScrollY(), 141);
    view.ZoomOutCentred(); // 0.96: scroll -= trunc(75 / 0.96), trunc(50 / 0.96)
    EXPECT_EQ(view.ScrollX(), 83);
    EXPECT_EQ(view.ScrollY(), 88);
    // A picture narrower than the area is not moved sideways.
    ImageViewState narrow = View(100, 1000);
    narrow.ZoomInCentred();
    EXPECT_EQ(narrow.ScrollX(), 0);
    EXPECT_GT(narrow.ScrollY(), 0);
}

TEST(ImageViewState, ArrangeCentresSmallPicturesAndStopsScrollingAtTheEdge) {
    ImageViewState small = View(100, 50);
    small.SetScroll(30, 30);
    const ViewLayout& layout = small.Arrange();
    EXPECT_EQ(layout.originX, 250);
    EXPECT_EQ(layout.originY, 175);
    EXPECT_EQ(small.ScrollX(), 0);
    EXPECT_FALSE(layout.coversArea);

    ImageViewState big = View(1000, 1000);
    big.SetZoom(2.0);
    big.SetScroll(5000, 5000);
    const ViewLayout& covered = big.Arrange();
    EXPECT_TRUE(covered.coversArea);
    EXPECT_EQ(big.ScrollX(), 1000 - 300);
    EXPECT_EQ(big.ScrollY(), 1000 - 200);
    big.ScrollBy(-2000, 0);
    EXPECT_EQ(big.ScrollX(), 0);
}

TEST(ImageViewState, TileModeReducesByStepsUntilNoTileExceedsTheLimit) {
    ImageViewState view = View(6000, 1000);
    view.SetZoom(1.0);
    view.ReduceForTile();
    // 6000 × 0.8^7 = 1258.3 is still too wide; one more step gives 1006.
    EXPECT_NEAR(view.Zoom(), 0.16777216, 1e-9);
    EXPECT_LE(view.ScaledWidth(), kTileSizeLimit);
    ImageViewState fits = View(1200, 1200);
    fits.ReduceForTile();
    EXPECT_DOUBLE_EQ(fits.Zoom(), 1.0);
}

TEST(ImageViewState, MouseToolsInImagePixels) {
    ImageViewState view = View(2000, 1000);
    view.SetZoom(2.0);
    view.Arrange();
    view.DragTo(500, 300, -100, 40); // the cursor moved 100 left, 40 down
    EXPECT_EQ(view.ScrollX(), 550);
    EXPECT_EQ(view.ScrollY(), 280);

    // A click zooms by one step, out with Shift.
    view.Magnify(ImageRect{10, 10, 3, 2}, false);
    EXPECT_DOUBLE_EQ(view.Zoom(), 2.4);
    view.Magnify(ImageRect{10, 10, 3, 2}, true);
    EXPECT_NEAR(view.Zoom(), 1.92, 1e-12);

    // A rectangle comes to the corner and fills the area.
    ImageViewState fitted = View(2000, 1000);
    fitted.SetZoom(0.25);
    const ViewLayout layout = fitted.Arrange(); // the picture centred at (50, 75)
    const ImageRect rect{layout.originX + 25, layout.originY + 50, 50, 25};
    const ImageRect image = fitted.AreaToImage(rect);
    EXPECT_EQ(image, (ImageRect{100, 200, 200, 100}));
    fitted.Magnify(rect, false);
    EXPECT_EQ(fitted.ScrollX(), 100);
    EXPECT_EQ(fitted.ScrollY(), 200);
    EXPECT_DOUBLE_EQ(fitted.Zoom(), 3.0); // 600 / 200 wide, 400 / 100 high

    // A rectangle thinner than an image pixel does not divide by zero.
    ImageViewState deep = View(1000, 1000);
    deep.SetZoom(100.0);
    deep.Arrange();
    deep.Magnify(ImageRect{0, 0, 50, 6}, false);
    EXPECT_DOUBLE_EQ(deep.Zoom(), kMaxZoom);
}

TEST(ViewportRenderer, NearestNeighbourOfTheVisiblePartOnly) {
    RasterImage image;
    ASSERT_TRUE(image.Create(4, 2, 24));
    for (int x = 0; x < 4; ++x) {
        image.SetPixelColor(x, 1, MakeRgb(uint8_t(10 * x), 0, 0)); // top row
        image.SetPixelColor(x, 0, MakeRgb(0, uint8_t(10 * x), 0)); // bottom row
    }
    std::vector<uint32_t> pixels(8 * 5, 0x12345678u);
    const PixelBuffer out{pixels.data(), 8, 5, 8 * 4};
    RenderViewport(image, 2.0, 1, 0, 1, 1, out);
    auto at = [&](int x, int y) { return pixels[size_t(y * 8 + x)]; };
    EXPECT_EQ(at(0, 0), 0x12345678u); // left of and above the origin: untouched
    EXPECT_EQ(at(1, 1), 0xff0a0000u); // picture (1, 0)
    EXPECT_EQ(at(2, 2), 0xff0a0000u);
    EXPECT_EQ(at(3, 3), 0xff001400u); // picture (2, 1)
    EXPECT_EQ(at(6, 4), 0xff001e00u); // picture (3, 1)
    EXPECT_EQ(at(7, 4), 0x12345678u); // beyond the picture's right edge

    // At zoom 1 whole runs are converted at once; the tail of a row too.
    RasterImage seven;
    ASSERT_TRUE(seven.Create(7, 1, 24));
    for (int x = 0; x < 7; ++x)
        seven.SetPixelColor(x, 0, MakeRgb(uint8_t(x), uint8_t(100 + x), uint8_t(200 + x)));
    std::vector<uint32_t> row(6, 0);
    RenderViewport(seven, 1.0, 1, 0, 0, 0, PixelBuffer{row.data(), 6, 1, 24});
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(row[size_t(c)],
                  0xff000000u | uint32_t(c + 1) << 16 | uint32_t(101 + c) << 8 | uint32_t(201 + c));

    RasterImage mono;
    ASSERT_TRUE(mono.Create(9, 1, 1));
    mono.Palette()[1] = MakeRgb(255, 255, 255);
    mono.SetPixelIndex(8, 0, 1);
    std::vector<uint32_t> line(5, 0);
    RenderViewport(mono, 0.5, 0, 0, 0, 0, PixelBuffer{line.data(), 5, 1, 20});
    EXPECT_EQ(line[0], 0xff000000u);
    EXPECT_EQ(line[4], 0xffffffffu); // picture column 8
}
