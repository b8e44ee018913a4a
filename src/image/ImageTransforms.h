#pragma once

#include "image/RasterImage.h"

namespace orvo {

// Every transformation returns false for an empty image and then changes
// nothing. Results are built beside the image and moved into it, so the
// object the caller holds stays the same.
//
// The long ones (Rotate, Resample, ReduceColors, Dither, Threshold) update
// Progress and test AbortFlag once per row; when stopped they keep the
// partial result, as a viewer showing progress expects, but return false so
// that a caller saving the result can tell it is incomplete.
//
// Coordinates: the pixel accessors count rows from the bottom of the stored
// bitmap; Crop, CopyRect and the scaling functions take rows counted from
// the top of the picture.

bool Flip(RasterImage& image);
bool Mirror(RasterImage& image);
// Inverts 24-bit pixels (and the background colour), or the palette.
bool Negative(RasterImage& image);
// grey = (30 red + 59 green + 11 blue) / 100; the result is an 8-bit image
// with the grey palette, the pixel index being the grey level.
bool GreyScale(RasterImage& image);
// Grey scale, then 1 bit: white where grey > level. A 1-bit image is kept.
bool Threshold(RasterImage& image, int level);
// Grey scale, then 1 bit: method 1 is a 4×4 ordered dither, any other
// value error diffusion. A 1-bit image is kept.
bool Dither(RasterImage& image, int method);
// To 1 bit (palette black, white; the given palette is not used), or to 4 or
// 8 bits with the given palette (16 or 256 entries) or the standard one.
// Fails for a target above the image's depth, does nothing when equal.
bool ReduceColors(RasterImage& image, int bits, const RgbQuad* palette = nullptr);
// To 4, 8 or 24 bits; palette images keep their palette. Fails for a target
// below the image's depth, does nothing when equal.
bool IncreaseColors(RasterImage& image, int bits);
// Clockwise by angle degrees (nearest neighbour); the result goes to dest
// when given, else replaces the image.
bool Rotate(RasterImage& image, double angle, RasterImage* dest = nullptr);
// Every channel c becomes (c - 128) × contrast / 100 + brightness + 128.
bool Light(RasterImage& image, int brightness, int contrast);
// Keeps the rectangle [left, right) × [top, bottom), rows from the top, each
// side clamped to the picture. Fails when the clamped rectangle is empty.
bool Crop(RasterImage& image, int left, int top, int right, int bottom,
          RasterImage* dest = nullptr);
// Makes dest a copy of the rectangle of source (clipped to source), with its
// palette and information. Fails when the clipped rectangle is empty.
bool CopyRect(const RasterImage& source, RasterImage& dest, int left, int top, int right,
              int bottom);

enum ResampleMode : int {
    ResampleBilinear = 0,
    ResampleNearest = 1, // any value other than 0
};
bool Resample(RasterImage& image, int newWidth, int newHeight, int mode);
// Scales to fit the limits keeping the aspect ratio (a limit of 0 or less is
// no limit); an image that already fits is left alone unless force is set.
// With both limits, longerSide picks the side that governs: the longer one
// (fit inside) when set, the shorter one (fill) when clear.
bool ResampleToFit(RasterImage& image, int maxWidth, int maxHeight, int mode, bool force,
                   bool longerSide);

// Where drawing puts an image; the ui layer paints with these.
struct ImageRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const ImageRect&, const ImageRect&) = default;
};
// At (x, y); a negative width or height means the image's own.
ImageRect DrawRect(const RasterImage& image, int x, int y, int width = -1, int height = -1);
// Fitted into the box from its top-left corner, keeping the aspect ratio.
// A box side of 0 or less leaves the other side to govern.
ImageRect DrawToFit(const RasterImage& image, int x, int y, int boxWidth, int boxHeight);
// Tiling repeats the image at its own size from the area's top-left corner;
// the last column and row of copies are clipped to the area.
struct TileCell {
    ImageRect target;
    ImageRect source; // the part of the picture shown, rows from the top
};
struct TileGrid {
    ImageRect area;
    int tileWidth = 0, tileHeight = 0;
    int columns = 0, rows = 0;
    TileCell Cell(int column, int row) const;
};
TileGrid TileLayout(const RasterImage& image, const ImageRect& area);

} // namespace orvo
