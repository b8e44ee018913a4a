#pragma once

#include "image/RasterImage.h"

#include <cstring>
#include <string>

namespace orvo::test {

// Tests write pictures top row first, as a person reads them.
inline RgbQuad TopColor(const RasterImage& image, int x, int rowFromTop) {
    return image.GetPixelColor(x, image.Height() - 1 - rowFromTop);
}

// One letter per pixel (K black, W white), rows from the top split by '/'.
inline std::string BlackWhite(const RasterImage& image) {
    std::string out;
    for (int ty = 0; ty < image.Height(); ++ty) {
        out += ty ? "/" : "";
        for (int x = 0; x < image.Width(); ++x)
            out += TopColor(image, x, ty) == MakeRgb(255, 255, 255) ? 'W' : 'K';
    }
    return out;
}

// An 8-bit grey image of the given width from levels, top row first.
inline RasterImage GreyImage(int width, std::initializer_list<int> levels) {
    RasterImage image;
    const int h = static_cast<int>(levels.size()) / width;
    image.Create(width, h, 8);
    image.SetGreyPalette();
    int i = 0;
    for (int v : levels) {
        image.SetPixelIndex(i % width, h - 1 - i / width, static_cast<uint8_t>(v));
        ++i;
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
                                MakeRgb(uint8_t(x * 16 + 1), uint8_t(y * 16 + 2), uint8_t(x * y)));
    return image;
}

inline bool SameBlock(const RasterImage& a, const RasterImage& b) {
    return a.MemorySize() == b.MemorySize() &&
           std::memcmp(a.Block(), b.Block(), a.MemorySize()) == 0;
}

} // namespace orvo::test
