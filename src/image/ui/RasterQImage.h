#pragma once

#include "image/RasterImage.h"

#include <QImage>

namespace orvo {

// The picture for painting and for the clipboard: 24-bit images become
// RGB32, 8- and 4-bit ones Indexed8, 1-bit ones Mono, with the image's dots
// per inch. A null QImage for an empty image.
QImage ToQImage(const RasterImage& image);

// Replaces the image with the picture: Mono and Indexed8 keep their palette
// (an entry that is fully transparent becomes TransparentIndex), Grayscale8
// becomes 8-bit grey, anything else 24-bit with transparency composited
// over white. Fails for a null or oversized picture, leaving the image empty
// and "GetDIBits failed" in LastError.
bool FromQImage(const QImage& picture, RasterImage& image);

} // namespace orvo
