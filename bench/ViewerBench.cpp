// The image viewer on a 6000 × 4000 photo: how long one paint of a
// 1600 × 1000 picture area takes at several zooms while the view scrolls,
// rendering only the visible part from the picture itself (ours) against
// QPainter drawing the same part of the picture held as a QImage (what a Qt
// viewer would do, after converting the whole picture once). Pairs of runs
// alternate; the figure is the median of the per-pair ratios.
//
// Usage: bench_viewer [PAIRS] [FRAMES]   (QT_QPA_PLATFORM=offscreen)
#include "image/ImageFile.h"
#include "image/ui/RasterQImage.h"
#include "viewers/ImageViewState.h"
#include "viewers/ViewportRenderer.h"
#include "viewers/ui/ImageViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace orvo;

namespace {

constexpr int kWidth = 6000, kHeight = 4000;
constexpr int kAreaWidth = 1600, kAreaHeight = 1000;

// Smooth gradients with grain, so no row or column repeats.
RasterImage MakePhoto() {
    RasterImage image;
    image.Create(kWidth, kHeight, 24);
    std::mt19937 random(7);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = image.Row(y);
        for (int x = 0; x < kWidth; ++x) {
            const int grain = static_cast<int>(random() % 24);
            row[3 * x] = static_cast<uint8_t>((x * 255 / kWidth + grain) & 0xff);
            row[3 * x + 1] = static_cast<uint8_t>((y * 255 / kHeight + grain) & 0xff);
            row[3 * x + 2] = static_cast<uint8_t>(((x + y) / 40 + grain) & 0xff);
        }
    }
    return image;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Milliseconds per frame of one run of frames, the view moving 10 image
// pixels right and down each frame (arrow-key scrolling).
template <typename Paint> double RunFrames(int frames, Paint paint) {
    QElapsedTimer timer;
    timer.start();
    for (int f = 0; f < frames; ++f)
        paint(f * 10);
    return timer.nsecsElapsed() / 1e6 / frames;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int pairs = argc > 1 ? std::max(1, atoi(argv[1])) : 11;
    const int frames = argc > 2 ? std::max(1, atoi(argv[2])) : 30;

    const RasterImage photo = MakePhoto();
    QElapsedTimer timer;
    timer.start();
    const QImage converted = ToQImage(photo);
    const double conversionMs = timer.nsecsElapsed() / 1e6;
    QImage buffer(kAreaWidth, kAreaHeight, QImage::Format_RGB32);
    const PixelBuffer out{reinterpret_cast<uint32_t*>(buffer.bits()), kAreaWidth, kAreaHeight,
                          static_cast<int>(buffer.bytesPerLine())};

    ImageViewState fit;
    fit.SetImageSize(kWidth, kHeight);
    fit.SetAreaSize(kAreaWidth, kAreaHeight);
    fit.BestFit();
    std::printf("picture %d x %d, area %d x %d, %d pairs of %d frames; converting the whole "
                "picture to a QImage once: %.1f ms\n\n",
                kWidth, kHeight, kAreaWidth, kAreaHeight, pairs, frames, conversionMs);
    std::printf("%-10s %14s %16s %8s\n", "zoom", "ours ms/frame", "QPainter ms/frame", "ratio");
    for (double zoom : {fit.Zoom(), 1.0, 4.0}) {
        ImageViewState view = fit;
        view.SetZoom(zoom);
        auto ours = [&](int step) {
            view.SetScroll(1000 + step, 1000 + step);
            const ViewLayout& layout = view.Arrange();
            if (!layout.coversArea)
                FillBuffer(out, 0xff000000u);
            RenderViewport(photo, view.Zoom(), view.ScrollX(), view.ScrollY(), layout.originX,
                           layout.originY, out);
        };
        auto theirs = [&](int step) {
            view.SetScroll(1000 + step, 1000 + step);
            const ViewLayout& layout = view.Arrange();
            QPainter painter(&buffer);
            if (!layout.coversArea)
                painter.fillRect(buffer.rect(), Qt::black);
            const QRectF target(
                layout.originX, layout.originY,
                std::min<double>(kAreaWidth - layout.originX, layout.scaledWidth),
                std::min<double>(kAreaHeight - layout.originY, layout.scaledHeight));
            const QRectF source(view.ScrollX(), view.ScrollY(), target.width() / view.Zoom(),
                                target.height() / view.Zoom());
            painter.drawImage(target, converted, source);
        };
        RunFrames(frames, ours); // warm-up of each
        RunFrames(frames, theirs);
        std::vector<double> a, b, r;
        for (int p = 0; p < pairs; ++p) {
            a.push_back(RunFrames(frames, ours));
            b.push_back(RunFrames(frames, theirs));
            r.push_back(a.back() / b.back());
        }
        std::printf("%-10.4g %14.2f %16.2f %8.2f\n", zoom, Median(a), Median(b), Median(r));
    }

    // The whole window: a repaint of the picture area as the user scrolls,
    // and opening the photo from a JPEG file.
    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath("photo.jpg").toStdString();
    RasterImage saved = photo;
    SaveImage(saved, path);
    timer.restart();
    ImageViewerWindow window(path, dir.path().toStdString(), nullptr, false);
    const double openMs = timer.nsecsElapsed() / 1e6;
    window.resize(kAreaWidth + 20, kAreaHeight + 90);
    window.show();
    QApplication::processEvents();
    std::printf("\nopening the photo as a JPEG (decode and first layout): %.0f ms\n", openMs);
    std::printf("%-10s %20s\n", "zoom", "window repaint ms");
    for (double zoom : {fit.Zoom(), 1.0, 4.0}) {
        window.View().SetZoom(zoom);
        std::vector<double> runs;
        for (int p = 0; p < pairs; ++p)
            runs.push_back(RunFrames(frames, [&](int step) {
                window.View().SetScroll(1000 + step, 1000 + step);
                window.Area()->Refresh();
                window.Area()->viewport()->repaint();
            }));
        std::printf("%-10.4g %20.2f\n", zoom, Median(runs));
    }
    return 0;
}
