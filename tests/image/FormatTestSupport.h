#pragma once

#include "image/RasterImage.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvo::test {

// A picture whose every pixel differs from its neighbours, with a palette
// of distinct colours, so a misplaced row, column or entry shows.
inline RasterImage PatternImage(int width, int height, int bits) {
    RasterImage image;
    image.Create(width, height, bits);
    for (int i = 0; i < image.PaletteSize(); ++i)
        image.Palette()[i] = MakeRgb(static_cast<uint8_t>(i * 37 + 5),
                                     static_cast<uint8_t>(255 - i * 11), static_cast<uint8_t>(i));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (image.HasPalette())
                image.SetPixelIndex(x, y,
                                    static_cast<uint8_t>((x * 7 + y * 3) % image.PaletteSize()));
            else
                image.SetPixelColor(x, y,
                                    MakeRgb(static_cast<uint8_t>(x * 19),
                                            static_cast<uint8_t>(y * 23),
                                            static_cast<uint8_t>(x * y)));
        }
    return image;
}

// A smooth picture (what photographs look like to a lossy coder).
inline RasterImage GradientImage(int width, int height) {
    RasterImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelColor(x, y,
                                MakeRgb(static_cast<uint8_t>(x * 255 / width),
                                        static_cast<uint8_t>(y * 255 / height),
                                        static_cast<uint8_t>((x + y) * 127 / (width + height))));
    return image;
}

// Empty string when equal, else where they first differ.
inline std::string PixelDifference(const RasterImage& a, const RasterImage& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.Bits() != b.Bits())
        return "size " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + "x" +
               std::to_string(a.Bits()) + " vs " + std::to_string(b.Width()) + "x" +
               std::to_string(b.Height()) + "x" + std::to_string(b.Bits());
    for (int i = 0; i < a.PaletteSize(); ++i)
        if (!(a.Palette()[i] == b.Palette()[i]))
            return "palette entry " + std::to_string(i);
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixelIndex(x, y) != b.GetPixelIndex(x, y) ||
                !(a.GetPixelColor(x, y) == b.GetPixelColor(x, y)))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return "";
}

// Largest channel difference between two pictures of one size.
inline int MaxChannelDifference(const RasterImage& a, const RasterImage& b) {
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            RgbQuad p = a.GetPixelColor(x, y), q = b.GetPixelColor(x, y);
            worst = std::max({worst, std::abs(p.red - q.red), std::abs(p.green - q.green),
                              std::abs(p.blue - q.blue)});
        }
    return worst;
}

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvo-image-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }

private:
    std::filesystem::path path_;
};

} // namespace orvo::test
