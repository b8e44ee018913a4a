#pragma once

// Helpers shared by the transformation files; not part of the image API.

#include "image/ImageTransforms.h"
#include "image/RasterImage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orvo::transform_detail {

// A fresh image that carries the information (format, dpi, transparency,
// frames...) of model, so that moving it into model keeps them.
inline bool CreateLike(const RasterImage& model, RasterImage& result, int width, int height,
                       int bits) {
    result.Destroy();
    result.SetFormat(model.Format());
    result.SetDpi(model.DpiX(), model.DpiY());
    if (!result.Create(width, height, bits))
        return false;
    result.SetTransparentIndex(model.TransparentIndex());
    result.SetBackgroundColor(model.BackgroundColor());
    result.SetFrameIndex(model.FrameIndex());
    result.SetFrameCount(model.FrameCount());
    result.SetFrameDelay(model.FrameDelay());
    result.SetJpegQuality(model.JpegQuality());
    result.SetInterlaced(model.Interlaced());
    if (!model.LastError().empty())
        result.SetLastError(model.LastError());
    return true;
}

// Moves result into image; progress and a pending stop request stay with
// the image, since another thread may be watching them.
inline void Adopt(RasterImage& image, RasterImage& result) {
    const int progress = image.Progress();
    const bool abort = image.AbortFlag();
    image.TransferFrom(result);
    image.SetProgress(progress);
    image.SetAbortFlag(abort);
}

// Per-row progress and stop test of the long loops.
inline bool StopAtRow(RasterImage& image, int row, int rows) {
    image.SetProgress(static_cast<int>(100LL * row / rows));
    return image.AbortFlag();
}

inline int GreyOf(RgbQuad c) {
    return (30 * c.red + 59 * c.green + 11 * c.blue) / 100;
}

inline uint8_t ClampByte(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// The answer of RasterImage::NearestPaletteIndex (smallest squared
// distance, the first entry on a tie) without trying every entry: the colour
// cube is cut into cells of 8 levels a side, and each cell, when first met,
// lists the entries that can be nearest to some colour inside it. A search
// through 256 entries per pixel would dominate colour reduction of photos.
class NearestPaletteSearch {
public:
    explicit NearestPaletteSearch(const RasterImage& image);
    uint8_t Find(RgbQuad color);

private:
    const std::vector<uint8_t>& Candidates(int cell);

    std::vector<RgbQuad> palette_;
    std::vector<std::vector<uint8_t>> cells_; // empty until met
};

// Remembers recent answers: pictures repeat colours.
class NearestIndexCache {
public:
    explicit NearestIndexCache(const RasterImage& image) : search_(image) { keys_.fill(kEmpty); }

    uint8_t Find(RgbQuad c) {
        const uint32_t key = (uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue;
        const uint32_t slot = ((key * 2654435761u) >> 20) & (kSlots - 1);
        if (keys_[slot] != key) {
            keys_[slot] = key;
            values_[slot] = search_.Find(c);
        }
        return values_[slot];
    }

private:
    static constexpr uint32_t kSlots = 4096;
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu; // no 24-bit colour has this key
    NearestPaletteSearch search_;
    std::array<uint32_t, kSlots> keys_;
    std::array<uint8_t, kSlots> values_{};
};

inline constexpr RgbQuad kBlackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

inline void SetBit(uint8_t* row, int x) {
    row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
}

// What Threshold and Dither share: grey scale the image, then build a
// black-and-white image whose set bits makeRow(greyRow, resultRow, y)
// chooses, row by row. A 1-bit image is kept as it is.
template <class MakeRow> bool ToBlackWhite(RasterImage& image, MakeRow makeRow) {
    if (image.IsEmpty())
        return false;
    if (image.Bits() == 1)
        return true;
    if (!GreyScale(image))
        return false;
    const int h = image.Height();
    RasterImage result;
    if (!CreateLike(image, result, image.Width(), h, 1))
        return false;
    result.SetPalette(kBlackWhite, 2);
    // One of two colours cannot stand for transparency without taking half
    // the picture with it.
    result.SetTransparentIndex(-1);
    bool complete = true;
    for (int y = 0; y < h; ++y) {
        if (StopAtRow(image, y, h)) {
            complete = false;
            break;
        }
        makeRow(image.Row(y), result.Row(y), y);
    }
    Adopt(image, result);
    return complete;
}

} // namespace orvo::transform_detail
