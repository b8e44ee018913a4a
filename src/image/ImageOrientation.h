#pragma once

#include "image/RasterImage.h"

#include <string_view>

namespace orvo {

// The orientation a camera records (1 upright .. 8), as the TIFF tag and
// the EXIF block of a JPEG give it: 1 when the bytes hold none or nonsense.
int JpegExifOrientation(std::string_view jpeg);

// Turns and mirrors the pixels so the picture shows upright; afterwards the
// picture's orientation is 1. Values outside 2..8 change nothing.
bool ApplyOrientation(RasterImage& image, int orientation);

} // namespace orvo
