#pragma once

#include "browse/RowDrawing.h"
#include "image/RasterImage.h"

#include <cstdint>
#include <string>

namespace orvo {

// Brightness and average colour of a picture from 1000 pixels at random
// places (the same places for the same seed), so that text drawn over a
// dark picture can be lightened.
BackgroundTone AnalyseBackgroundPicture(const RasterImage& picture, uint32_t seed = 1);

// Loads a directory's background picture (orvoimage.*) as 24 bits, a huge
// one scaled down to a size a window can show, and analyses it. False, with
// the picture empty and the tone absent, when it cannot be read.
bool LoadBackgroundPicture(const std::string& path, RasterImage& picture, BackgroundTone& tone);

} // namespace orvo
