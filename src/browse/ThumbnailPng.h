#pragma once

#include "image/RasterImage.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo {

using PngTexts = std::vector<std::pair<std::string, std::string>>;

// A 24-bit picture as PNG bytes carrying the given text chunks, compressed
// for speed: the shared thumbnail cache stores thumbnails this way. Empty
// when the picture cannot be encoded.
std::string EncodeThumbnailPng(const RasterImage& picture, const PngTexts& texts);

// The text chunks (tEXt, zTXt, iTXt) of PNG bytes, keyword and text, in
// file order. Damaged or foreign bytes give what could be read before the
// damage, never more than a bounded amount of text.
PngTexts ReadPngTexts(std::string_view bytes);

} // namespace orvo
