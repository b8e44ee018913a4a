#include "image/ImageTransformSupport.h"

#include <algorithm>
#include <climits>

namespace orvo::transform_detail {

namespace {

constexpr int kCellShift = 3; // 8 levels a side, 32 × 32 × 32 cells

int CellOf(RgbQuad c) {
    return ((c.red >> kCellShift) << 10) | ((c.green >> kCellShift) << 5) | (c.blue >> kCellShift);
}

// Nearest and farthest squared distance from one channel value to a span.
int Near(int value, int low, int high) {
    const int d = value < low ? low - value : (value > high ? value - high : 0);
    return d * d;
}
int Far(int value, int low, int high) {
    const int d = std::max(std::abs(value - low), std::abs(value - high));
    return d * d;
}

} // namespace

NearestPaletteSearch::NearestPaletteSearch(const RasterImage& image)
    : palette_(image.Palette(), image.Palette() + image.PaletteSize()) {}

const std::vector<uint8_t>& NearestPaletteSearch::Candidates(int cell) {
    if (cells_.empty())
        cells_.resize(1 << 15); // only when needed: RGB resampling never asks
    std::vector<uint8_t>& list = cells_[cell];
    if (!list.empty() || palette_.empty())
        return list;
    const int size = 1 << kCellShift;
    const int r = (cell >> 10) << kCellShift, g = ((cell >> 5) & 31) << kCellShift,
              b = (cell & 31) << kCellShift;
    // No colour of the cell is farther than this from its nearest entry, so
    // an entry whose nearest point is farther can never win or tie.
    int bound = INT_MAX;
    for (const RgbQuad& p : palette_)
        bound = std::min(bound, Far(p.red, r, r + size - 1) + Far(p.green, g, g + size - 1) +
                                    Far(p.blue, b, b + size - 1));
    for (size_t i = 0; i < palette_.size(); ++i) {
        const RgbQuad& p = palette_[i];
        if (Near(p.red, r, r + size - 1) + Near(p.green, g, g + size - 1) +
                Near(p.blue, b, b + size - 1) <=
            bound)
            list.push_back(static_cast<uint8_t>(i));
    }
    return list;
}

uint8_t NearestPaletteSearch::Find(RgbQuad color) {
    int best = INT_MAX, bestIndex = 0;
    // Candidates are in index order, so a strict comparison keeps the first
    // of equally near entries.
    for (uint8_t i : Candidates(CellOf(color))) {
        const RgbQuad& p = palette_[i];
        const int dr = p.red - color.red, dg = p.green - color.green, db = p.blue - color.blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best) {
            best = distance;
            bestIndex = i;
        }
    }
    return static_cast<uint8_t>(bestIndex);
}

} // namespace orvo::transform_detail
