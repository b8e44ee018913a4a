#include "browse/BackgroundPicture.h"

#include "image/ImageFile.h"
#include "image/ImageTransforms.h"
#include "image/LoadImageGuarded.h"

#include <algorithm>
#include <random>

namespace orvo {

namespace {
constexpr int kSamples = 1000;
// Larger than any screen; only a picture beyond it is decoded smaller.
constexpr int kLargestBackground = 4096;
} // namespace

BackgroundTone AnalyseBackgroundPicture(const RasterImage& picture, uint32_t seed) {
    BackgroundTone tone;
    if (picture.IsEmpty() || picture.Width() <= 0 || picture.Height() <= 0)
        return tone;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> xs(0, picture.Width() - 1), ys(0, picture.Height() - 1);
    int64_t red = 0, green = 0, blue = 0, light = 0;
    for (int i = 0; i < kSamples; ++i) {
        const RgbQuad c = picture.GetPixelColor(xs(random), ys(random));
        red += c.red;
        green += c.green;
        blue += c.blue;
        light += (c.red + c.green + c.blue) / 3;
    }
    tone.present = true;
    tone.brightness = static_cast<int>(std::min<int64_t>(light / kSamples, 255));
    tone.average = {static_cast<uint8_t>(red / kSamples), static_cast<uint8_t>(green / kSamples),
                    static_cast<uint8_t>(blue / kSamples)};
    return tone;
}

bool LoadBackgroundPicture(const std::string& path, RasterImage& picture, BackgroundTone& tone) {
    tone = BackgroundTone{};
    bool loaded;
    if (FormatOfExtension(ExtensionOfPath(path)) == ImageFormatIco) {
        // The guarded loader leaves icons to the icon theme; a background
        // icon is still a picture.
        loaded = LoadImage(picture, path) && (picture.Bits() == 24 || IncreaseColors(picture, 24));
    } else {
        loaded = LoadImageGuarded(picture, path, kLargestBackground, kLargestBackground) ==
                 GuardedLoad::Loaded;
    }
    if (!loaded) {
        picture.Destroy();
        return false;
    }
    tone = AnalyseBackgroundPicture(picture);
    return true;
}

} // namespace orvo
