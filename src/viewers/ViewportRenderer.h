#pragma once

#include "image/RasterImage.h"

#include <cstdint>

namespace orvo {

// A block of 32-bit pixels 0xffRRGGBB, rows from the top (the layout a
// display buffer of the ui layer hands over).
struct PixelBuffer {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int strideBytes = 0;
    uint32_t* Row(int y) const {
        return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(pixels) +
                                           static_cast<ptrdiff_t>(y) * strideBytes);
    }
};

// Fills the buffer with one colour.
void FillBuffer(const PixelBuffer& out, uint32_t colour);

// Renders the visible part of a picture at a zoom, nearest neighbour: the
// buffer pixel (originX + c, originY + r) shows the picture pixel
// (scrollX + c / zoom, scrollY + r / zoom), rows from the top. Buffer
// pixels left of or above the origin, and those beyond the picture, are
// left as they are. Only the buffer's pixels are visited, so the cost
// follows the window's size, not the picture's.
void RenderViewport(const RasterImage& image, double zoom, int scrollX, int scrollY, int originX,
                    int originY, const PixelBuffer& out);

// Repeats the picture at its own size from the buffer's top-left corner.
void RenderTiles(const RasterImage& image, const PixelBuffer& out);

} // namespace orvo
