#include "image/LoadImageGuarded.h"

#include "image/ImageCodec.h"
#include "image/ImageFile.h"
#include "image/ImageTransforms.h"

#include <algorithm>
#include <exception>

namespace orvo {

namespace {

constexpr int kThumbnailMode = ResampleBilinear;

struct Size {
    int width = 0, height = 0;
};

// The size ResampleToFit gives an image of width × height fitted inside
// the box; the image's own size when it fits already.
Size FittedSize(int width, int height, int maxWidth, int maxHeight) {
    if (width <= maxWidth && height <= maxHeight)
        return {width, height};
    auto side = [](double v) { return static_cast<int>(std::clamp(v, 1.0, kMaxImageSide + 1.0)); };
    if (width > height)
        return {maxWidth, side(height / (static_cast<double>(width) / maxWidth))};
    return {side(width / (static_cast<double>(height) / maxHeight)), maxHeight};
}

// libjpeg scales by 1/2, 1/4 or 1/8 almost for free while decoding; take
// the smallest picture that is still no smaller than the target.
int JpegScaleFor(int width, int height, Size target) {
    for (int denom : {8, 4, 2})
        if ((width + denom - 1) / denom >= target.width &&
            (height + denom - 1) / denom >= target.height)
            return denom;
    return 1;
}

bool DecodeScaledJpeg(RasterImage& image, const std::string& bytes, int maxWidth, int maxHeight) {
    int width = 0, height = 0;
    if (!PeekJpegSize(bytes, width, height) || width <= 0 || height <= 0)
        return false;
    const Size target = FittedSize(width, height, maxWidth, maxHeight);
    const int denom = JpegScaleFor(width, height, target);
    if (denom == 1)
        return false;
    try {
        ReadJpeg(image, bytes, denom);
    } catch (const ImageFormatError&) {
        image.Destroy();
        return false;
    }
    image.SetFormat(ImageFormatJpeg);
    return Resample(image, target.width, target.height, kThumbnailMode);
}

} // namespace

GuardedLoad LoadImageGuarded(RasterImage& image, const std::string& path, int maxWidth,
                             int maxHeight, std::string* message) {
    const std::string extension = ExtensionOfPath(path);
    if (!IsImageExtension(extension) || FormatOfExtension(extension) == ImageFormatIco) {
        image.Destroy();
        image.ClearLastError();
        return GuardedLoad::UseIcon;
    }
    try {
        std::string bytes, error;
        if (!ReadImageBytes(path, bytes, error)) {
            image.Destroy();
            image.SetLastError(error);
            return GuardedLoad::UseIcon;
        }
        const int format = FormatOfExtension(extension);
        const bool scaled = format == ImageFormatJpeg && maxWidth > 0 && maxHeight > 0 &&
                            DecodeScaledJpeg(image, bytes, maxWidth, maxHeight);
        if (!scaled) {
            if (!LoadImageBytes(image, bytes, format))
                return GuardedLoad::UseIcon;
            ResampleToFit(image, maxWidth, maxHeight, kThumbnailMode, false, true);
        }
        if (image.Bits() < 24)
            IncreaseColors(image, 24);
        return image.IsEmpty() ? GuardedLoad::UseIcon : GuardedLoad::Loaded;
    } catch (const std::exception&) {
        image.Destroy();
        if (message)
            *message = "Damaged image causing exception found : " + path +
                       ". Exception handled. Press ok. to continue.";
        return GuardedLoad::Damaged;
    }
}

bool ComposeOnField(const RasterImage& picture, int width, int height, RgbQuad field,
                    RasterImage& out) {
    if (picture.IsEmpty() || picture.Bits() != 24 || !out.Create(width, height, 24))
        return false;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = out.Row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = field.blue;
            row[3 * x + 1] = field.green;
            row[3 * x + 2] = field.red;
        }
    }
    const int left = (width - picture.Width()) / 2;
    const int bottom = (height - picture.Height()) / 2;
    const int fromX = std::max(0, -left), toX = std::min(picture.Width(), width - left);
    for (int y = 0; y < picture.Height(); ++y) {
        uint8_t* dst = out.Row(y + bottom);
        if (!dst || toX <= fromX)
            continue;
        std::memcpy(dst + 3 * (left + fromX), picture.Row(y) + 3 * fromX,
                    3 * static_cast<size_t>(toX - fromX));
    }
    out.SetDpi(picture.DpiX(), picture.DpiY());
    return true;
}

} // namespace orvo
