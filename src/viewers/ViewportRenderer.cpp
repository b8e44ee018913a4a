#include "viewers/ViewportRenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace orvo {

namespace {

uint32_t Pack(RgbQuad c) {
    return 0xff000000u | (uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue;
}

// Reads pixels of one stored row at given columns; palette images go
// through a packed copy of their palette.
class RowReader {
public:
    explicit RowReader(const RasterImage& image) : bits_(image.Bits()) {
        if (image.HasPalette()) {
            const RgbQuad* palette = image.Palette();
            for (int i = 0; i < image.PaletteSize() && i < 256; ++i)
                palette_[i] = Pack(palette[i]);
        }
    }

    uint32_t At(const uint8_t* row, int x) const {
        switch (bits_) {
        case 24: {
            const uint8_t* p = row + x * 3;
            return 0xff000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        }
        case 8:
            return palette_[row[x]];
        case 4:
            return palette_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0f];
        default:
            return palette_[(row[x >> 3] >> (7 - (x & 7))) & 1];
        }
    }

private:
    int bits_;
    std::array<uint32_t, 256> palette_{};
};

// Pixels side by side at their own size: four at a time from three
// 32-bit words (blue, green, red bytes; little-endian words).
void ConvertRun24(const uint8_t* p, uint32_t* out, size_t count) {
    size_t c = 0;
    for (; c + 4 <= count; c += 4, p += 12) {
        uint32_t w[3];
        std::memcpy(w, p, sizeof w);
        out[c] = 0xff000000u | (w[0] & 0xffffffu);
        out[c + 1] = 0xff000000u | (w[0] >> 24) | ((w[1] & 0xffffu) << 8);
        out[c + 2] = 0xff000000u | (w[1] >> 16) | ((w[2] & 0xffu) << 16);
        out[c + 3] = 0xff000000u | (w[2] >> 8);
    }
    for (; c < count; ++c, p += 3)
        out[c] = 0xff000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

} // namespace

void FillBuffer(const PixelBuffer& out, uint32_t colour) {
    for (int y = 0; y < out.height; ++y)
        std::fill_n(out.Row(y), out.width, colour);
}

void RenderViewport(const RasterImage& image, double zoom, int scrollX, int scrollY, int originX,
                    int originY, const PixelBuffer& out) {
    if (image.IsEmpty() || !(zoom > 0) || out.width <= 0 || out.height <= 0)
        return;
    originX = std::max(0, originX);
    originY = std::max(0, originY);
    const int width = image.Width(), height = image.Height();
    // The picture column of every buffer column, worked out once per paint.
    std::vector<int> columns;
    columns.reserve(static_cast<size_t>(std::max(0, out.width - originX)));
    for (int c = 0; originX + c < out.width; ++c) {
        const double x = scrollX + std::floor(c / zoom);
        if (x < 0 || x >= width)
            break;
        columns.push_back(static_cast<int>(x));
    }
    if (columns.empty())
        return;
    const RowReader reader(image);
    const int bits = image.Bits();
    int previousY = -1;
    for (int r = 0; originY + r < out.height; ++r) {
        const double y = scrollY + std::floor(r / zoom);
        if (y < 0 || y >= height)
            break;
        uint32_t* target = out.Row(originY + r) + originX;
        // Enlarged pictures repeat each row; copying the one just made is
        // far cheaper than reading the picture again.
        if (static_cast<int>(y) == previousY) {
            std::copy_n(out.Row(originY + r - 1) + originX, columns.size(), target);
            continue;
        }
        previousY = static_cast<int>(y);
        // Stored rows run bottom first.
        const uint8_t* source = image.Row(height - 1 - previousY);
        if (bits == 24 && zoom == 1.0) {
            ConvertRun24(source + static_cast<size_t>(columns.front()) * 3, target, columns.size());
        } else if (bits == 24) {
            for (size_t c = 0; c < columns.size(); ++c) {
                const uint8_t* p = source + columns[c] * 3;
                target[c] = 0xff000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
            }
        } else {
            for (size_t c = 0; c < columns.size(); ++c)
                target[c] = reader.At(source, columns[c]);
        }
    }
}

void RenderTiles(const RasterImage& image, const PixelBuffer& out) {
    if (image.IsEmpty())
        return;
    for (int y = 0; y < out.height; y += image.Height())
        for (int x = 0; x < out.width; x += image.Width())
            RenderViewport(image, 1.0, 0, 0, x, y, out);
}

} // namespace orvo
