// Camera orientation: found in the first EXIF block of a JPEG, applied by
// exact pixel moves (no resampling, so nothing blurs or shifts).
#include "image/ImageOrientation.h"

#include "image/ImageTransformSupport.h"

#include <cstdint>

namespace orvo {

using transform_detail::Adopt;
using transform_detail::CreateLike;

namespace {

constexpr uint16_t kOrientationTag = 0x0112;

class ExifBytes {
public:
    ExifBytes(std::string_view data, bool bigEndian) : data_(data), big_(bigEndian) {}
    bool Has(size_t at, size_t n) const { return at <= data_.size() && n <= data_.size() - at; }
    uint32_t Get(size_t at, int n) const {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            const uint32_t b = static_cast<uint8_t>(data_[at + (big_ ? i : n - 1 - i)]);
            v = (v << 8) | b;
        }
        return v;
    }

private:
    std::string_view data_;
    bool big_;
};

int OrientationInTiffBlock(std::string_view tiff) {
    if (tiff.size() < 8 || !(tiff.substr(0, 2) == "II" || tiff.substr(0, 2) == "MM"))
        return 1;
    const ExifBytes in(tiff, tiff[0] == 'M');
    if (in.Get(2, 2) != 42)
        return 1;
    const uint32_t ifd = in.Get(4, 4);
    if (!in.Has(ifd, 2))
        return 1;
    const uint32_t count = in.Get(ifd, 2);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = ifd + 2 + size_t(i) * 12;
        if (!in.Has(entry, 12))
            return 1;
        if (in.Get(entry, 2) != kOrientationTag)
            continue;
        // SHORT (3), one value, kept in the first two bytes of the field.
        if (in.Get(entry + 2, 2) != 3 || in.Get(entry + 4, 4) < 1)
            return 1;
        const uint32_t value = in.Get(entry + 8, 2);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

} // namespace

int JpegExifOrientation(std::string_view jpeg) {
    if (jpeg.size() < 4 || static_cast<uint8_t>(jpeg[0]) != 0xFF ||
        static_cast<uint8_t>(jpeg[1]) != 0xD8)
        return 1;
    size_t at = 2;
    // The EXIF block sits among the segments before the first scan.
    while (at + 4 <= jpeg.size() && static_cast<uint8_t>(jpeg[at]) == 0xFF) {
        const uint8_t marker = static_cast<uint8_t>(jpeg[at + 1]);
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break;
        const size_t length =
            static_cast<uint8_t>(jpeg[at + 2]) << 8 | static_cast<uint8_t>(jpeg[at + 3]);
        if (length < 2 || at + 2 + length > jpeg.size())
            break;
        const std::string_view body = jpeg.substr(at + 4, length - 2);
        if (marker == 0xE1 && body.size() >= 6 &&
            body.substr(0, 6) == std::string_view("Exif\0\0", 6))
            return OrientationInTiffBlock(body.substr(6));
        at += 2 + length;
    }
    return 1;
}

bool ApplyOrientation(RasterImage& image, int orientation) {
    if (image.IsEmpty() || orientation < 2 || orientation > 8)
        return true;
    const int w = image.Width(), h = image.Height();
    const bool turned = orientation >= 5;
    RasterImage result;
    if (!CreateLike(image, result, turned ? h : w, turned ? w : h, image.Bits()))
        return false;
    result.SetPalette(image.Palette(), image.PaletteSize());
    if (turned)
        result.SetDpi(image.DpiY(), image.DpiX());
    const int outW = result.Width(), outH = result.Height();
    const bool palette = image.HasPalette();
    // Each orientation is an optional swap of the axes followed by mirrors.
    // Coordinates are counted from the top here; the picture counts rows
    // from the bottom.
    const bool mirrorX =
        orientation == 2 || orientation == 3 || orientation == 7 || orientation == 8;
    const bool mirrorY =
        orientation == 3 || orientation == 4 || orientation == 6 || orientation == 7;
    for (int ty = 0; ty < outH; ++ty)
        for (int tx = 0; tx < outW; ++tx) {
            const int a = turned ? ty : tx, b = turned ? tx : ty;
            const int sx = mirrorX ? w - 1 - a : a, sy = mirrorY ? h - 1 - b : b;
            if (palette)
                result.SetPixelIndex(tx, outH - 1 - ty, image.GetPixelIndex(sx, h - 1 - sy));
            else
                result.SetPixelColor(tx, outH - 1 - ty, image.GetPixelColor(sx, h - 1 - sy));
        }
    Adopt(image, result);
    return true;
}

} // namespace orvo
