// Writes synthetic photographs for the thumbnail benchmark: smooth
// gradients, soft discs and fine grain, so the JPEG coder sees what it
// sees in real pictures (about half a megabyte at 1920 × 1080).
// Usage: bench_image_corpus DIR COUNT [WIDTH HEIGHT]
#include "image/ImageFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

orvo::RasterImage Photo(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    struct Disc {
        double x, y, r, red, green, blue;
    } discs[12];
    for (Disc& d : discs)
        d = {unit(random) * width, unit(random) * height, (0.05 + 0.2 * unit(random)) * height,
             unit(random) * 255,   unit(random) * 255,    unit(random) * 255};
    const double skyTop = 80 + 100 * unit(random), skyBottom = 180 + 70 * unit(random);
    orvo::RasterImage image;
    image.Create(width, height, 24);
    std::uniform_int_distribution<int> grain(-12, 12);
    for (int top = 0; top < height; ++top) {
        uint8_t* row = image.Row(height - 1 - top);
        const double t = static_cast<double>(top) / height;
        for (int x = 0; x < width; ++x) {
            double r = skyTop + (skyBottom - skyTop) * t, g = r * 0.9 + 20, b = 255 - r * 0.4;
            for (const Disc& d : discs) {
                const double dist = std::hypot(x - d.x, top - d.y) / d.r;
                if (dist < 1.0) {
                    const double w = 1.0 - dist * dist;
                    r += (d.red - r) * w;
                    g += (d.green - g) * w;
                    b += (d.blue - b) * w;
                }
            }
            const int n = grain(random);
            auto clamp = [](double v) {
                return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            };
            row[3 * x] = clamp(b + n);
            row[3 * x + 1] = clamp(g + n);
            row[3 * x + 2] = clamp(r + n);
        }
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: %s DIR COUNT [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const int count = std::atoi(argv[2]);
    const int width = argc == 5 ? std::atoi(argv[3]) : 1920;
    const int height = argc == 5 ? std::atoi(argv[4]) : 1080;
    for (int i = 0; i < count; ++i) {
        orvo::RasterImage photo = Photo(width, height, static_cast<unsigned>(i + 1));
        photo.SetJpegQuality(85);
        char name[32];
        std::snprintf(name, sizeof name, "/photo%03d.jpg", i);
        if (!orvo::SaveImageFile(photo, dir + name, orvo::ImageFormatJpeg)) {
            std::fprintf(stderr, "%s%s: %s\n", dir.c_str(), name, photo.LastError().c_str());
            return 1;
        }
    }
    return 0;
}
