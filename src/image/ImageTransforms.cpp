#include "image/ImageTransforms.h"

#include "image/ImageTransformSupport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace orvo {

using transform_detail::Adopt;
using transform_detail::ClampByte;
using transform_detail::CreateLike;

bool Flip(RasterImage& image) {
    if (image.IsEmpty())
        return false;
    std::vector<uint8_t> spare(image.Stride());
    for (int low = 0, high = image.Height() - 1; low < high; ++low, --high) {
        std::memcpy(spare.data(), image.Row(low), spare.size());
        std::memcpy(image.Row(low), image.Row(high), spare.size());
        std::memcpy(image.Row(high), spare.data(), spare.size());
    }
    return true;
}

bool Mirror(RasterImage& image) {
    if (image.IsEmpty())
        return false;
    const int w = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.Row(y);
        switch (image.Bits()) {
        case 24:
            for (int l = 0, r = w - 1; l < r; ++l, --r)
                std::swap_ranges(row + l * 3, row + l * 3 + 3, row + r * 3);
            break;
        case 8:
            std::reverse(row, row + w);
            break;
        default:
            for (int l = 0, r = w - 1; l < r; ++l, --r) {
                const uint8_t left = image.GetPixelIndex(l, y);
                image.SetPixelIndex(l, y, image.GetPixelIndex(r, y));
                image.SetPixelIndex(r, y, left);
            }
            break;
        }
    }
    return true;
}

bool Negative(RasterImage& image) {
    if (image.IsEmpty())
        return false;
    if (image.HasPalette()) {
        RgbQuad* palette = image.Palette();
        for (int i = 0; i < image.PaletteSize(); ++i) {
            palette[i].red = static_cast<uint8_t>(~palette[i].red);
            palette[i].green = static_cast<uint8_t>(~palette[i].green);
            palette[i].blue = static_cast<uint8_t>(~palette[i].blue);
        }
        return true;
    }
    const int bytes = image.Width() * 3; // the row padding stays zero
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.Row(y);
        for (int i = 0; i < bytes; ++i)
            row[i] = static_cast<uint8_t>(~row[i]);
    }
    RgbQuad back = image.BackgroundColor();
    back.red = static_cast<uint8_t>(~back.red);
    back.green = static_cast<uint8_t>(~back.green);
    back.blue = static_cast<uint8_t>(~back.blue);
    image.SetBackgroundColor(back);
    return true;
}

bool Light(RasterImage& image, int brightness, int contrast) {
    if (image.IsEmpty())
        return false;
    const float factor = static_cast<float>(contrast * 0.01);
    uint8_t table[256];
    for (int c = 0; c < 256; ++c) {
        float v = static_cast<float>(c - 128) * factor + static_cast<float>(brightness) + 128.0f;
        // Clamped before the conversion: a float beyond int's range has no
        // defined conversion, and huge sliders values are possible.
        v = std::clamp(v, -1.0f, 256.0f);
        table[c] = ClampByte(static_cast<int>(v));
    }
    if (image.HasPalette()) {
        RgbQuad* palette = image.Palette();
        for (int i = 0; i < image.PaletteSize(); ++i) {
            palette[i].red = table[palette[i].red];
            palette[i].green = table[palette[i].green];
            palette[i].blue = table[palette[i].blue];
        }
        return true;
    }
    const int bytes = image.Width() * 3;
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.Row(y);
        for (int i = 0; i < bytes; ++i)
            row[i] = table[row[i]];
    }
    return true;
}

bool CopyRect(const RasterImage& source, RasterImage& dest, int left, int top, int right,
              int bottom) {
    if (source.IsEmpty())
        return false;
    const int w = source.Width(), h = source.Height();
    left = std::clamp(left, 0, w);
    right = std::clamp(right, 0, w);
    top = std::clamp(top, 0, h);
    bottom = std::clamp(bottom, 0, h);
    if (right <= left || bottom <= top)
        return false;
    const int cw = right - left, ch = bottom - top;
    RasterImage result;
    if (!CreateLike(source, result, cw, ch, source.Bits()))
        return false;
    result.SetPalette(source.Palette(), source.PaletteSize());
    const int bytesPerPixel = source.Bits() / 8;
    for (int ty = 0; ty < ch; ++ty) {
        const int sy = h - 1 - (top + ty);
        const int dy = ch - 1 - ty;
        if (bytesPerPixel) {
            std::memcpy(result.Row(dy), source.Row(sy) + left * bytesPerPixel,
                        static_cast<size_t>(cw) * bytesPerPixel);
        } else {
            for (int x = 0; x < cw; ++x)
                result.SetPixelIndex(x, dy, source.GetPixelIndex(left + x, sy));
        }
    }
    Adopt(dest, result);
    return true;
}

bool Crop(RasterImage& image, int left, int top, int right, int bottom, RasterImage* dest) {
    return CopyRect(image, dest ? *dest : image, left, top, right, bottom);
}

ImageRect DrawRect(const RasterImage& image, int x, int y, int width, int height) {
    return ImageRect{x, y, width < 0 ? image.Width() : width, height < 0 ? image.Height() : height};
}

ImageRect DrawToFit(const RasterImage& image, int x, int y, int boxWidth, int boxHeight) {
    const double w = image.Width(), h = image.Height();
    if (image.IsEmpty() || (boxWidth <= 0 && boxHeight <= 0))
        return DrawRect(image, x, y);
    // The side that governs is the one whose box limit is tighter for this
    // picture, so the result never leaves the box whatever its shape.
    bool byWidth;
    if (boxHeight <= 0)
        byWidth = true;
    else if (boxWidth <= 0)
        byWidth = false;
    else
        byWidth = w * boxHeight > h * boxWidth;
    if (byWidth)
        return ImageRect{x, y, boxWidth, static_cast<int>(h / (w / boxWidth))};
    return ImageRect{x, y, static_cast<int>(w / (h / boxHeight)), boxHeight};
}

TileGrid TileLayout(const RasterImage& image, const ImageRect& area) {
    TileGrid grid;
    grid.area = area;
    if (image.IsEmpty() || area.width <= 0 || area.height <= 0)
        return grid;
    grid.tileWidth = image.Width();
    grid.tileHeight = image.Height();
    grid.columns = (area.width + grid.tileWidth - 1) / grid.tileWidth;
    grid.rows = (area.height + grid.tileHeight - 1) / grid.tileHeight;
    return grid;
}

TileCell TileGrid::Cell(int column, int row) const {
    const int x = column * tileWidth, y = row * tileHeight;
    const int w = std::clamp(area.width - x, 0, tileWidth);
    const int h = std::clamp(area.height - y, 0, tileHeight);
    return TileCell{{area.x + x, area.y + y, w, h}, {0, 0, w, h}};
}

} // namespace orvo
