#pragma once

#include "image/RasterImage.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvo {

// The packed device-independent bitmap exchanged with other programs (the
// clipboard's bitmap form, the body of a BMP file): an information header,
// the palette or colour masks, then the rows bottom first.

// Replaces the image with the bitmap in data. Uncompressed 1-, 4-, 8- and
// 24-bit bitmaps keep their depth and palette; 16- and 32-bit ones (bit
// fields, or the standard 5-5-5 and 8-8-8 layouts when uncompressed) become
// 24-bit. A bitmap that is damaged, truncated or of another kind leaves the
// image empty, a message in LastError, and returns false.
bool FromClipboardBitmap(RasterImage& image, const uint8_t* data, size_t size);

// Header, palette and rows exactly as the image holds them; empty for an
// empty image.
std::vector<uint8_t> ToClipboardBitmap(const RasterImage& image);

} // namespace orvo
