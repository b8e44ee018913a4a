// Pictures made by another program and kept under data/image, with the
// pixels that program decoded from them.
#pragma once

#include "image/RasterImage.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace orvo::test {

inline std::string Fixture(const std::string& name) {
    const char* root = std::getenv("ORVO_TEST_DATA");
    std::ifstream in(std::string(root ? root : "tests/data") + "/image/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Binary PPM (P6, maxval 255) into a 24-bit image.
inline RasterImage ReadPpm(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    RasterImage image;
    if (magic != "P6" || maxval != 255 || !image.Create(width, height, 24))
        return image;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char rgb[3];
            in.read(rgb, 3);
            image.SetPixelColor(x, height - 1 - y,
                                MakeRgb(static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]),
                                        static_cast<uint8_t>(rgb[2])));
        }
    return image;
}

// Empty when equal within tolerance, else the first pixel that is not.
inline std::string Compare(const RasterImage& want, const RasterImage& got, int tolerance) {
    if (got.Width() != want.Width() || got.Height() != want.Height())
        return "size differs";
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x) {
            const RgbQuad a = want.GetPixelColor(x, y), b = got.GetPixelColor(x, y);
            if (std::abs(a.red - b.red) > tolerance || std::abs(a.green - b.green) > tolerance ||
                std::abs(a.blue - b.blue) > tolerance) {
                std::ostringstream o;
                o << "pixel " << x << "," << y << ": want " << int(a.red) << " " << int(a.green)
                  << " " << int(a.blue) << ", got " << int(b.red) << " " << int(b.green) << " "
                  << int(b.blue);
                return o.str();
            }
        }
    return "";
}

} // namespace orvo::test
