// Rotation and scaling.

#include "image/ImageTransformSupport.h"
#include "image/ImageTransforms.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orvo {

using transform_detail::Adopt;
using transform_detail::ClampByte;
using transform_detail::CreateLike;
using transform_detail::NearestIndexCache;
using transform_detail::StopAtRow;

bool Rotate(RasterImage& image, double angle, RasterImage* dest) {
    if (image.IsEmpty() || !std::isfinite(angle))
        return false;
    const double theta = -angle * std::numbers::pi / 180.0;
    const double c = std::cos(theta), s = std::sin(theta);
    const int w = image.Width(), h = image.Height();
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    const double corners[3][2] = {{double(w), 0.0}, {0.0, double(h)}, {double(w - 1), double(h)}};
    for (const auto& p : corners) {
        const int x = static_cast<int>(p[0] * c - p[1] * s);
        const int y = static_cast<int>(p[0] * s + p[1] * c);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    // A picture of one pixel turned by 45 degrees has an empty box.
    const int newWidth = std::max(1, maxX - minX), newHeight = std::max(1, maxY - minY);
    RasterImage result;
    if (!CreateLike(image, result, newWidth, newHeight, image.Bits()))
        return false;
    result.SetPalette(image.Palette(), image.PaletteSize());

    const bool palette = image.HasPalette();
    bool complete = true;
    for (int row = 0; row < newHeight; ++row) {
        if (StopAtRow(image, row, newHeight)) {
            complete = false;
            break;
        }
        // Pixel centres are mapped back, so a turn by 0 or 90 degrees lands
        // every pixel exactly on its source.
        const double y = minY + row + 0.5;
        for (int column = 0; column < newWidth; ++column) {
            const double x = minX + column + 0.5;
            const int sx = static_cast<int>(std::floor(x * c + y * s));
            const int sy = static_cast<int>(std::floor(y * c - x * s));
            if (palette)
                result.SetPixelIndex(column, row, image.GetPixelIndex(sx, sy));
            else
                result.SetPixelColor(column, row, image.GetPixelColor(sx, sy));
        }
    }
    Adopt(dest ? *dest : image, result);
    return complete;
}

namespace {

// A stored row as blue, green, red bytes, whatever the depth: the row
// itself for RGB pictures, else decoded into the buffer.
const uint8_t* RowColors(const RasterImage& image, int y, std::vector<uint8_t>& buffer) {
    if (image.Bits() == 24)
        return image.Row(y);
    const int w = image.Width();
    buffer.resize(static_cast<size_t>(w) * 3);
    const RgbQuad* palette = image.Palette();
    for (int x = 0; x < w; ++x) {
        const RgbQuad c = palette[image.GetPixelIndex(x, y)];
        buffer[x * 3] = c.blue;
        buffer[x * 3 + 1] = c.green;
        buffer[x * 3 + 2] = c.red;
    }
    return buffer.data();
}

struct Sample {
    int low, high; // source column or row and its clamped neighbour
    float fraction;
};

std::vector<Sample> Samples(int count, float factor, int sourceCount) {
    std::vector<Sample> samples(count);
    for (int i = 0; i < count; ++i) {
        const float f = static_cast<float>(i) * factor;
        const int low = std::min(static_cast<int>(std::floor(f)), sourceCount - 1);
        samples[i] = Sample{low, std::min(low + 1, sourceCount - 1), f - static_cast<float>(low)};
    }
    return samples;
}

void BilinearRow(const RasterImage& image, const Sample& sy, const std::vector<Sample>& columns,
                 std::vector<uint8_t>& upper, std::vector<uint8_t>& lower,
                 std::vector<uint8_t>& out) {
    const int h = image.Height();
    // Sample rows count from the top; stored rows from the bottom.
    const uint8_t* up = RowColors(image, h - 1 - sy.low, upper);
    const uint8_t* low = RowColors(image, h - 1 - sy.high, lower);
    const float dy = sy.fraction;
    out.resize(columns.size() * 3);
    for (size_t x = 0; x < columns.size(); ++x) {
        const Sample& sx = columns[x];
        const float dx = sx.fraction;
        for (int ch = 0; ch < 3; ++ch) {
            const float top = up[sx.low * 3 + ch] * (1.0f - dx) + up[sx.high * 3 + ch] * dx;
            const float bottom = low[sx.low * 3 + ch] * (1.0f - dx) + low[sx.high * 3 + ch] * dx;
            out[x * 3 + ch] = ClampByte(static_cast<int>(top * (1.0f - dy) + bottom * dy));
        }
    }
}

} // namespace

bool Resample(RasterImage& image, int newWidth, int newHeight, int mode) {
    if (image.IsEmpty() || newWidth <= 0 || newHeight <= 0)
        return false;
    const int w = image.Width(), h = image.Height();
    const float xFactor = static_cast<float>(w) / static_cast<float>(newWidth);
    const float yFactor = static_cast<float>(h) / static_cast<float>(newHeight);
    RasterImage result;
    if (!CreateLike(image, result, newWidth, newHeight, image.Bits()))
        return false;
    result.SetPalette(image.Palette(), image.PaletteSize());

    const std::vector<Sample> columns = Samples(newWidth, xFactor, w);
    const std::vector<Sample> rows = Samples(newHeight, yFactor, h);
    const bool palette = image.HasPalette();
    NearestIndexCache nearest(result);
    std::vector<uint8_t> upper, lower, out;
    bool complete = true;
    for (int ty = 0; ty < newHeight; ++ty) {
        if (StopAtRow(image, ty, newHeight)) {
            complete = false;
            break;
        }
        const int dy = newHeight - 1 - ty;
        if (mode != ResampleBilinear) {
            // Nearest neighbour: the truncated position is the low sample.
            const int sy = h - 1 - rows[ty].low;
            if (palette) {
                for (int x = 0; x < newWidth; ++x)
                    result.SetPixelIndex(x, dy, image.GetPixelIndex(columns[x].low, sy));
            } else {
                const uint8_t* src = image.Row(sy);
                uint8_t* dst = result.Row(dy);
                for (int x = 0; x < newWidth; ++x)
                    std::copy_n(src + columns[x].low * 3, 3, dst + x * 3);
            }
            continue;
        }
        BilinearRow(image, rows[ty], columns, upper, lower, out);
        if (palette) {
            for (int x = 0; x < newWidth; ++x)
                result.SetPixelIndex(
                    x, dy, nearest.Find(RgbQuad{out[x * 3], out[x * 3 + 1], out[x * 3 + 2], 0}));
        } else {
            std::copy(out.begin(), out.end(), result.Row(dy));
        }
    }
    Adopt(image, result);
    return complete;
}

bool ResampleToFit(RasterImage& image, int maxWidth, int maxHeight, int mode, bool force,
                   bool longerSide) {
    if (image.IsEmpty())
        return false;
    const bool hasWidth = maxWidth > 0, hasHeight = maxHeight > 0;
    if (!hasWidth && !hasHeight)
        return false;
    const int w = image.Width(), h = image.Height();
    const bool fits = (!hasWidth || w <= maxWidth) && (!hasHeight || h <= maxHeight);
    if (fits && !force)
        return true;
    bool byWidth;
    if (!hasHeight)
        byWidth = true;
    else if (!hasWidth)
        byWidth = false;
    else if (longerSide)
        byWidth = w > h;
    else
        byWidth = w < h;
    // Sides beyond the size guard fail in Resample; clamping first keeps the
    // conversion to int defined. A thin strip keeps at least one pixel.
    auto side = [](double v) { return static_cast<int>(std::clamp(v, 1.0, kMaxImageSide + 1.0)); };
    if (byWidth)
        return Resample(image, maxWidth, side(h / (static_cast<double>(w) / maxWidth)), mode);
    return Resample(image, side(w / (static_cast<double>(h) / maxHeight)), maxHeight, mode);
}

} // namespace orvo
