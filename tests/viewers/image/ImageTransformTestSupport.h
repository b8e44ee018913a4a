#pragma once

#include "viewers/image/RasterImage.h"

#include <string>

namespace orvo::test {

// Pictures are written top row first in tests, as a person reads them;
// these helpers turn that into the bottom-up storage.
inline RgbQuad TopColor(const RasterImage& image, int x, int rowFromTop) {
    return image.GetPixelColor(x, image.Height() - 1 - rowFromTop);
}
inline int TopIndex(const RasterImage& image, int x, int rowFromTop) {
    return image.GetPixelIndex(x, image.Height() - 1 - rowFromTop);
}

// One letter per pixel, rows from the top separated by '/', e.g. "KW/WK"
// for a 1-bit picture (K black, W white).
inline std::string BlackWhite(const RasterImage& image) {
    std::string out;
    for (int ty = 0; ty < image.Height(); ++ty) {
        if (ty)
            out += '/';
        for (int x = 0; x < image.Width(); ++x)
            out += TopColor(image, x, ty) == MakeRgb(255, 255, 255) ? 'W' : 'K';
    }
    return out;
}

// An 8-bit grey image from rows of levels, top row first.
inline RasterImage GreyImage(std::initializer_list<std::initializer_list<int>> rows) {
    RasterImage image;
    const int h = static_cast<int>(rows.size());
    image.Create(static_cast<int>(rows.begin()->size()), h, 8);
    image.SetGreyPalette();
    int ty = 0;
    for (const auto& row : rows) {
        int x = 0;
        for (int v : row)
            image.SetPixelIndex(x++, h - 1 - ty, static_cast<uint8_t>(v));
        ++ty;
    }
    return image;
}

// A 24-bit image with a different colour at every pixel.
inline RasterImage Gradient(int width, int height) {
    RasterImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelColor(x, y,
                                MakeRgb(static_cast<uint8_t>(x * 16 + 1),
                                        static_cast<uint8_t>(y * 16 + 2),
                                        static_cast<uint8_t>(x * y + 3)));
    return image;
}

} // namespace orvo::test
