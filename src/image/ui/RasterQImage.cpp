#include "image/ui/RasterQImage.h"

#include <QPainter>
#include <cmath>
#include <cstring>

namespace orvo {

namespace {

QList<QRgb> ColorTable(const RasterImage& image) {
    QList<QRgb> table;
    table.reserve(image.PaletteSize());
    for (int i = 0; i < image.PaletteSize(); ++i) {
        const RgbQuad c = image.Palette()[i];
        table.append(qRgb(c.red, c.green, c.blue));
    }
    return table;
}

int DpiOf(int dotsPerMeter) {
    return dotsPerMeter > 0 ? static_cast<int>(std::lround(dotsPerMeter * 0.0254)) : 72;
}

// Blends a non-premultiplied pixel over white.
uint8_t OverWhite(int channel, int alpha) {
    return static_cast<uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

// The picture is the desktop's bitmap: failing to take its pixels is the
// failure the image object reports under this text.
bool Refuse(RasterImage& image) {
    image.SetLastError("GetDIBits failed");
    return false;
}

} // namespace

QImage ToQImage(const RasterImage& image) {
    if (image.IsEmpty())
        return {};
    const int w = image.Width(), h = image.Height();
    QImage out;
    switch (image.Bits()) {
    case 24:
        out = QImage(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            const uint8_t* src = image.Row(h - 1 - y);
            auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x)
                dst[x] = qRgb(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
        }
        break;
    case 1:
        out = QImage(w, h, QImage::Format_Mono); // most significant bit first, as stored
        out.setColorTable(ColorTable(image));
        for (int y = 0; y < h; ++y)
            std::memcpy(out.scanLine(y), image.Row(h - 1 - y), (w + 7) / 8);
        break;
    case 4:
        out = QImage(w, h, QImage::Format_Indexed8);
        out.setColorTable(ColorTable(image));
        for (int y = 0; y < h; ++y) {
            uchar* dst = out.scanLine(y);
            for (int x = 0; x < w; ++x)
                dst[x] = image.GetPixelIndex(x, h - 1 - y);
        }
        break;
    default:
        out = QImage(w, h, QImage::Format_Indexed8);
        out.setColorTable(ColorTable(image));
        for (int y = 0; y < h; ++y)
            std::memcpy(out.scanLine(y), image.Row(h - 1 - y), w);
        break;
    }
    out.setDotsPerMeterX(image.Header().xPelsPerMeter);
    out.setDotsPerMeterY(image.Header().yPelsPerMeter);
    return out;
}

bool FromQImage(const QImage& picture, RasterImage& image) {
    image.Destroy();
    image.ClearLastError();
    image.SetTransparentIndex(-1);
    if (picture.isNull())
        return Refuse(image);
    const int w = picture.width(), h = picture.height();
    image.SetDpi(DpiOf(picture.dotsPerMeterX()), DpiOf(picture.dotsPerMeterY()));

    QImage source = picture;
    if (source.format() == QImage::Format_MonoLSB)
        source = source.convertToFormat(QImage::Format_Mono);
    const auto format = source.format();
    if (format == QImage::Format_Mono || format == QImage::Format_Indexed8) {
        const bool mono = format == QImage::Format_Mono;
        if (!image.Create(w, h, mono ? 1 : 8))
            return Refuse(image);
        const QList<QRgb> table = source.colorTable();
        const int entries = std::min<int>(table.size(), image.PaletteSize());
        for (int i = 0; i < entries; ++i) {
            image.Palette()[i] = MakeRgb(qRed(table[i]), qGreen(table[i]), qBlue(table[i]));
            if (qAlpha(table[i]) == 0 && image.TransparentIndex() < 0)
                image.SetTransparentIndex(i);
        }
        const size_t bytes = mono ? (w + 7) / 8 : w;
        for (int y = 0; y < h; ++y)
            std::memcpy(image.Row(h - 1 - y), source.constScanLine(y), bytes);
        return true;
    }
    if (format == QImage::Format_Grayscale8) {
        if (!image.Create(w, h, 8))
            return Refuse(image);
        image.SetGreyPalette();
        for (int y = 0; y < h; ++y)
            std::memcpy(image.Row(h - 1 - y), source.constScanLine(y), w);
        return true;
    }

    const bool alpha = source.hasAlphaChannel();
    source = source.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (!image.Create(w, h, 24))
        return Refuse(image);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uint8_t* dst = image.Row(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const QRgb p = src[x];
            const int a = alpha ? qAlpha(p) : 255;
            dst[x * 3] = OverWhite(qBlue(p), a);
            dst[x * 3 + 1] = OverWhite(qGreen(p), a);
            dst[x * 3 + 2] = OverWhite(qRed(p), a);
        }
    }
    return true;
}

} // namespace orvo
