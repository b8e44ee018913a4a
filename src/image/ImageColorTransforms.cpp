// Transformations that change the colour depth or the colours themselves.

#include "image/ImageTransformSupport.h"
#include "image/ImageTransforms.h"

#include <cstring>

namespace orvo {

using transform_detail::Adopt;
using transform_detail::CreateLike;
using transform_detail::GreyOf;
using transform_detail::kBlackWhite;
using transform_detail::NearestIndexCache;
using transform_detail::StopAtRow;

namespace {

bool IsSupportedDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

// Colour of pixel x of a stored row, without the bounds checks of the
// accessors (the loops here stay inside the image).
RgbQuad ColorAt(const RasterImage& image, const uint8_t* row, int x) {
    switch (image.Bits()) {
    case 24:
        return RgbQuad{row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 0};
    case 8:
        return image.Palette()[row[x]];
    case 4:
        return image.Palette()[(x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4)];
    default:
        return image.Palette()[(row[x >> 3] >> (7 - (x & 7))) & 1];
    }
}

} // namespace

bool GreyScale(RasterImage& image) {
    if (image.IsEmpty())
        return false;
    const int w = image.Width(), h = image.Height();
    if (!image.HasPalette()) {
        RasterImage result;
        if (!CreateLike(image, result, w, h, 8))
            return false;
        result.SetGreyPalette();
        for (int y = 0; y < h; ++y) {
            const uint8_t* src = image.Row(y);
            uint8_t* dst = result.Row(y);
            for (int x = 0; x < w; ++x)
                dst[x] = static_cast<uint8_t>(
                    GreyOf(RgbQuad{src[x * 3], src[x * 3 + 1], src[x * 3 + 2], 0}));
        }
        // The transparent colour of an RGB picture is its background colour;
        // its grey level keeps that meaning (index 0 would make black
        // pixels transparent).
        if (image.TransparentIndex() >= 0)
            result.SetTransparentIndex(GreyOf(image.BackgroundColor()));
        Adopt(image, result);
        return true;
    }

    uint8_t level[256] = {};
    for (int i = 0; i < image.PaletteSize(); ++i)
        level[i] = static_cast<uint8_t>(GreyOf(image.Palette()[i]));
    const int transparent = image.TransparentIndex();
    const int newTransparent =
        transparent >= 0 && transparent < image.PaletteSize() ? level[transparent] : -1;
    if (image.Bits() == 8) {
        for (int y = 0; y < h; ++y) {
            uint8_t* row = image.Row(y);
            for (int x = 0; x < w; ++x)
                row[x] = level[row[x]];
        }
        image.SetGreyPalette();
        image.SetTransparentIndex(newTransparent);
        return true;
    }
    RasterImage result;
    if (!CreateLike(image, result, w, h, 8))
        return false;
    result.SetGreyPalette();
    for (int y = 0; y < h; ++y) {
        uint8_t* dst = result.Row(y);
        for (int x = 0; x < w; ++x)
            dst[x] = level[image.GetPixelIndex(x, y)];
    }
    result.SetTransparentIndex(newTransparent);
    Adopt(image, result);
    return true;
}

bool Threshold(RasterImage& image, int level) {
    const int w = image.Width();
    return transform_detail::ToBlackWhite(image, [&](const uint8_t* grey, uint8_t* dst, int) {
        for (int x = 0; x < w; ++x)
            if (grey[x] > level)
                transform_detail::SetBit(dst, x);
    });
}

bool ReduceColors(RasterImage& image, int bits, const RgbQuad* palette) {
    if (image.IsEmpty())
        return false;
    if (bits != 1 && bits != 4 && bits != 8)
        return false;
    if (bits != 1) {
        if (image.Bits() < bits)
            return false;
        if (image.Bits() == bits)
            return true;
    }
    const int w = image.Width(), h = image.Height();
    RasterImage result;
    if (!CreateLike(image, result, w, h, bits))
        return false;
    if (bits == 1)
        result.SetPalette(kBlackWhite, 2);
    else if (palette)
        result.SetPalette(palette, result.PaletteSize());
    else
        result.SetPalette(bits == 4 ? RasterImage::StandardPalette16()
                                    : RasterImage::StandardPalette256(),
                          result.PaletteSize());
    // A palette source maps each of its entries once.
    uint8_t entryMap[256] = {};
    NearestIndexCache nearest(result);
    if (image.HasPalette())
        for (int i = 0; i < image.PaletteSize(); ++i)
            entryMap[i] = nearest.Find(image.Palette()[i]);

    bool complete = true;
    for (int y = 0; y < h; ++y) {
        if (StopAtRow(image, y, h)) {
            complete = false;
            break;
        }
        const uint8_t* src = image.Row(y);
        for (int x = 0; x < w; ++x) {
            const uint8_t index = image.HasPalette() ? entryMap[image.GetPixelIndex(x, y)]
                                                     : nearest.Find(ColorAt(image, src, x));
            result.SetPixelIndex(x, y, index);
        }
    }
    if (bits == 1 || image.TransparentIndex() < 0)
        result.SetTransparentIndex(-1);
    else
        result.SetTransparentIndex(result.NearestPaletteIndex(image.TransparentColor()));
    Adopt(image, result);
    return complete;
}

bool IncreaseColors(RasterImage& image, int bits) {
    if (image.IsEmpty() || !IsSupportedDepth(bits))
        return false;
    if (image.Bits() == bits)
        return true;
    if (image.Bits() > bits)
        return false;
    const int w = image.Width(), h = image.Height();
    RasterImage result;
    if (!CreateLike(image, result, w, h, bits))
        return false;
    if (bits <= 8) {
        result.SetPalette(image.Palette(), image.PaletteSize());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                result.SetPixelIndex(x, y, image.GetPixelIndex(x, y));
    } else {
        for (int y = 0; y < h; ++y) {
            const uint8_t* src = image.Row(y);
            uint8_t* dst = result.Row(y);
            for (int x = 0; x < w; ++x) {
                const RgbQuad c = ColorAt(image, src, x);
                dst[x * 3] = c.blue;
                dst[x * 3 + 1] = c.green;
                dst[x * 3 + 2] = c.red;
            }
        }
        // An RGB picture keeps its transparent colour as the background.
        if (image.TransparentIndex() >= 0)
            result.SetBackgroundColor(image.TransparentColor());
    }
    Adopt(image, result);
    return true;
}

} // namespace orvo
