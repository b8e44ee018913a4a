#include "image/ClipboardBitmap.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace orvo {

static_assert(std::endian::native == std::endian::little,
              "bitmap headers are copied as they lie in memory");

namespace {

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;
constexpr size_t kHeaderSize = sizeof(BitmapInfoHeader);

const char* const kDamaged = "Damaged clipboard bitmap";
const char* const kUnsupported = "Unsupported clipboard bitmap";
const char* const kTooLarge = "Clipboard bitmap too large";

bool Fail(RasterImage& image, const char* text) {
    image.Destroy();
    image.SetLastError(text);
    return false;
}

uint32_t ReadU32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits.
class MaskChannel {
public:
    explicit MaskChannel(uint32_t mask)
        : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask ? mask >> shift_ : 0) {}
    uint8_t Of(uint32_t pixel) const {
        if (!max_)
            return 0;
        const uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<uint8_t>((v * 255 + max_ / 2) / max_);
    }

private:
    uint32_t mask_;
    int shift_;
    uint32_t max_;
};

int DpiOf(int32_t pelsPerMeter) {
    return pelsPerMeter > 0 ? static_cast<int>(std::lround(pelsPerMeter / 39.37007874015748)) : 72;
}

} // namespace

bool FromClipboardBitmap(RasterImage& image, const uint8_t* data, size_t size) {
    image.Destroy();
    image.ClearLastError();
    image.SetTransparentIndex(-1);
    if (!data || size < kHeaderSize)
        return Fail(image, kDamaged);
    BitmapInfoHeader header;
    std::memcpy(&header, data, kHeaderSize);
    if (header.size < kHeaderSize || header.size > size)
        return Fail(image, kDamaged);
    const int64_t width = header.width;
    const bool topDown = header.height < 0;
    const int64_t height = topDown ? -int64_t(header.height) : int64_t(header.height);
    if (width <= 0 || height <= 0)
        return Fail(image, kDamaged);
    const int bits = header.bitCount;
    const bool wide = bits == 16 || bits == 32;
    size_t offset = header.size;

    uint32_t masks[3] = {};
    if (wide) {
        if (header.compression == kCompressionBitFields) {
            // Headers longer than the basic one carry the masks themselves.
            if (header.size >= kHeaderSize + 12) {
                for (int i = 0; i < 3; ++i)
                    masks[i] = ReadU32(data + kHeaderSize + 4 * i);
            } else {
                if (size - offset < 12)
                    return Fail(image, kDamaged);
                for (int i = 0; i < 3; ++i)
                    masks[i] = ReadU32(data + offset + 4 * i);
                offset += 12;
            }
        } else if (header.compression == kCompressionNone) {
            if (bits == 16) {
                masks[0] = 0x7C00;
                masks[1] = 0x03E0;
                masks[2] = 0x001F;
            } else {
                masks[0] = 0xFF0000;
                masks[1] = 0x00FF00;
                masks[2] = 0x0000FF;
            }
        } else {
            return Fail(image, kUnsupported);
        }
    } else if (bits == 1 || bits == 4 || bits == 8 || bits == 24) {
        if (header.compression != kCompressionNone)
            return Fail(image, kUnsupported);
    } else {
        return Fail(image, kUnsupported);
    }

    // A palette of clrUsed entries (all of them when 0) follows; deeper
    // bitmaps may carry an optional one, which is skipped.
    const size_t fullPalette = bits <= 8 ? size_t(1) << bits : 0;
    const size_t entries = header.clrUsed ? header.clrUsed : fullPalette;
    if (entries > (size - offset) / 4)
        return Fail(image, kDamaged);
    const size_t paletteOffset = offset;
    offset += entries * 4;

    if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels)
        return Fail(image, kTooLarge);
    const int64_t sourceStride = RasterImage::StrideFor(static_cast<int>(width), bits);
    if (static_cast<uint64_t>(sourceStride) * height > size - offset)
        return Fail(image, kDamaged);

    image.SetDpi(DpiOf(header.xPelsPerMeter), DpiOf(header.yPelsPerMeter));
    if (!image.Create(static_cast<int>(width), static_cast<int>(height), wide ? 24 : bits))
        return Fail(image, kTooLarge);
    if (fullPalette) {
        std::vector<RgbQuad> palette(fullPalette);
        std::memcpy(palette.data(), data + paletteOffset, std::min(entries, fullPalette) * 4);
        image.SetPalette(palette.data(), static_cast<int>(fullPalette));
    }

    const MaskChannel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int64_t y = 0; y < height; ++y) {
        const int64_t sourceRow = topDown ? height - 1 - y : y;
        const uint8_t* src = data + offset + sourceRow * sourceStride;
        uint8_t* dst = image.Row(static_cast<int>(y));
        if (!wide) {
            std::memcpy(dst, src, static_cast<size_t>(sourceStride));
            continue;
        }
        for (int64_t x = 0; x < width; ++x) {
            const uint32_t pixel =
                bits == 16 ? uint32_t(src[x * 2] | (src[x * 2 + 1] << 8)) : ReadU32(src + x * 4);
            dst[x * 3] = blue.Of(pixel);
            dst[x * 3 + 1] = green.Of(pixel);
            dst[x * 3 + 2] = red.Of(pixel);
        }
    }
    return true;
}

std::vector<uint8_t> ToClipboardBitmap(const RasterImage& image) {
    if (image.IsEmpty())
        return {};
    return std::vector<uint8_t>(image.Block(), image.Block() + image.MemorySize());
}

} // namespace orvo
