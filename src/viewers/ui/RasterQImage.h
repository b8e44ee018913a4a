#pragma once

#include "viewers/image/ImageTransforms.h"
#include "viewers/image/RasterImage.h"

#include <QImage>

class QPainter;

namespace orvo {

// The picture for painting and for the clipboard: 24-bit images become
// RGB32, 8- and 4-bit ones Indexed8, 1-bit ones Mono, with the image's dots
// per inch. A null QImage for an empty image.
QImage ToQImage(const RasterImage& image);

// Replaces the image with the picture: Mono and Indexed8 keep their palette
// (an entry that is fully transparent becomes TransparentIndex), Grayscale8
// becomes 8-bit grey, anything else 24-bit with transparency composited
// over white. Fails for a null or oversized picture, leaving the image empty.
bool FromQImage(const QImage& picture, RasterImage& image);

// Paints at the rectangle's size without smoothing, as colour-on-colour
// stretching does.
void PaintImage(QPainter& painter, const QImage& picture, const ImageRect& target);
// Repeats the picture at its own size from the area's top-left corner,
// clipping the last column and row.
void PaintTiled(QPainter& painter, const QImage& picture, const ImageRect& area);

} // namespace orvo
