#include "image/RasterImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace orvo {

namespace {

constexpr size_t kHeaderSize = sizeof(BitmapInfoHeader);

std::array<RgbQuad, 16> BuildPalette16() {
    return {
        MakeRgb(0, 0, 0),       MakeRgb(128, 0, 0),   MakeRgb(0, 128, 0),   MakeRgb(128, 128, 0),
        MakeRgb(0, 0, 128),     MakeRgb(128, 0, 128), MakeRgb(0, 128, 128), MakeRgb(192, 192, 192),
        MakeRgb(128, 128, 128), MakeRgb(255, 0, 0),   MakeRgb(0, 255, 0),   MakeRgb(255, 255, 0),
        MakeRgb(0, 0, 255),     MakeRgb(255, 0, 255), MakeRgb(0, 255, 255), MakeRgb(255, 255, 255)};
}

// The ten fixed colours at each end are the ones every display palette
// reserves; the middle is a 6×6×6 colour cube followed by a grey ramp, so
// reducing to it keeps both hues and neutral tones.
std::array<RgbQuad, 256> BuildPalette256() {
    std::array<RgbQuad, 256> p{};
    const auto p16 = BuildPalette16();
    for (int i = 0; i < 8; ++i)
        p[i] = p16[i];
    p[8] = MakeRgb(192, 220, 192);
    p[9] = MakeRgb(166, 202, 240);
    int n = 10;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p[n++] = MakeRgb(static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51),
                                 static_cast<uint8_t>(b * 51));
    // 20 greys strictly between the cube's levels.
    for (int i = 0; n < 246; ++i) {
        uint8_t v = static_cast<uint8_t>(8 + i * 12);
        p[n++] = MakeRgb(v, v, v);
    }
    const RgbQuad tail[10] = {MakeRgb(255, 251, 240), MakeRgb(160, 160, 164),
                              MakeRgb(128, 128, 128), MakeRgb(255, 0, 0),
                              MakeRgb(0, 255, 0),     MakeRgb(255, 255, 0),
                              MakeRgb(0, 0, 255),     MakeRgb(255, 0, 255),
                              MakeRgb(0, 255, 255),   MakeRgb(255, 255, 255)};
    for (int i = 0; i < 10; ++i)
        p[246 + i] = tail[i];
    return p;
}

} // namespace

void RasterImage::FreeBlock::operator()(uint8_t* p) const {
    std::free(p);
}

RasterImage::RasterImage(ImageFormat format) : format_(format) {}

RasterImage::RasterImage(const RasterImage& other) : format_(other.format_) {
    *this = other;
}

RasterImage& RasterImage::operator=(const RasterImage& other) {
    if (this == &other)
        return *this;
    Destroy();
    if (!other.IsEmpty() && Create(other.Width(), other.Height(), other.Bits())) {
        std::memcpy(block_.get(), other.block_.get(), other.MemorySize());
        header_ = other.header_;
    }
    CopyInformation(other);
    return *this;
}

RasterImage::~RasterImage() = default;

void RasterImage::CopyInformation(const RasterImage& other) {
    format_ = other.format_;
    lastError_ = other.lastError_;
    progress_.store(other.Progress());
    abort_.store(other.abort_.load());
    transparentIndex_ = other.transparentIndex_;
    background_ = other.background_;
    frameIndex_ = other.frameIndex_;
    frameCount_ = other.frameCount_;
    frameDelay_ = other.frameDelay_;
    dpiX_ = other.dpiX_;
    dpiY_ = other.dpiY_;
    jpegQuality_ = other.jpegQuality_;
    interlaced_ = other.interlaced_;
}

int RasterImage::NormaliseBits(int bits) {
    if (bits < 2)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    return 24;
}

int RasterImage::StrideFor(int width, int bits) {
    return static_cast<int>(((static_cast<int64_t>(bits) * width + 31) / 32) * 4);
}

bool RasterImage::Create(int width, int height, int bits) {
    Destroy();
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<int64_t>(width) * height > kMaxImagePixels)
        return false;
    bits = NormaliseBits(bits);
    const int entries = bits <= 8 ? (1 << bits) : 0;
    const int stride = StrideFor(width, bits);
    const size_t total =
        kHeaderSize + entries * sizeof(RgbQuad) + static_cast<size_t>(stride) * height;
    // calloc leaves untouched pages of a huge picture unmapped until drawn.
    auto* memory = static_cast<uint8_t*>(std::calloc(total, 1));
    if (!memory)
        return false;
    block_.reset(memory);
    stride_ = stride;
    paletteSize_ = entries;
    header_ = BitmapInfoHeader{};
    header_.width = width;
    header_.height = height;
    header_.bitCount = static_cast<uint16_t>(bits);
    header_.sizeImage = static_cast<uint32_t>(static_cast<size_t>(stride) * height);
    header_.xPelsPerMeter = PelsPerMeter(dpiX_);
    header_.yPelsPerMeter = PelsPerMeter(dpiY_);
    header_.clrUsed = static_cast<uint32_t>(entries);
    SyncHeaderToBlock();
    return true;
}

void RasterImage::Destroy() {
    block_.reset();
    header_ = BitmapInfoHeader{};
    stride_ = 0;
    paletteSize_ = 0;
}

void RasterImage::TransferFrom(RasterImage& other) {
    if (this == &other)
        return;
    block_ = std::move(other.block_);
    header_ = other.header_;
    stride_ = other.stride_;
    paletteSize_ = other.paletteSize_;
    CopyInformation(other);
    other.Destroy();
}

void RasterImage::SyncHeaderToBlock() {
    if (block_)
        std::memcpy(block_.get(), &header_, kHeaderSize);
}

RgbQuad* RasterImage::Palette() {
    return paletteSize_ ? reinterpret_cast<RgbQuad*>(block_.get() + kHeaderSize) : nullptr;
}

const RgbQuad* RasterImage::Palette() const {
    return paletteSize_ ? reinterpret_cast<const RgbQuad*>(block_.get() + kHeaderSize) : nullptr;
}

void RasterImage::SetPalette(const RgbQuad* entries, int count) {
    if (!paletteSize_ || !entries)
        return;
    count = std::clamp(count, 0, paletteSize_);
    std::memcpy(Palette(), entries, count * sizeof(RgbQuad));
}

void RasterImage::SetGreyPalette() {
    if (paletteSize_)
        MakeGreyPalette(Palette(), paletteSize_);
}

uint8_t* RasterImage::PixelData() {
    return block_ ? block_.get() + kHeaderSize + paletteSize_ * sizeof(RgbQuad) : nullptr;
}

const uint8_t* RasterImage::PixelData() const {
    return block_ ? block_.get() + kHeaderSize + paletteSize_ * sizeof(RgbQuad) : nullptr;
}

uint8_t* RasterImage::Row(int y) {
    if (!block_ || y < 0 || y >= Height())
        return nullptr;
    return PixelData() + static_cast<size_t>(stride_) * y;
}

const uint8_t* RasterImage::Row(int y) const {
    if (!block_ || y < 0 || y >= Height())
        return nullptr;
    return PixelData() + static_cast<size_t>(stride_) * y;
}

size_t RasterImage::MemorySize() const {
    if (!block_)
        return 0;
    return kHeaderSize + paletteSize_ * sizeof(RgbQuad) + PixelBytes();
}

void RasterImage::FillBits(uint8_t value) {
    if (block_)
        std::memset(PixelData(), value, PixelBytes());
}

uint8_t RasterImage::GetPixelIndex(int x, int y) const {
    if (!HasPalette())
        return 0;
    if (!IsInside(x, y))
        return transparentIndex_ >= 0 ? static_cast<uint8_t>(transparentIndex_) : 0;
    const uint8_t* row = Row(y);
    switch (Bits()) {
    case 8:
        return row[x];
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

RgbQuad RasterImage::GetPixelColor(int x, int y) const {
    if (IsEmpty())
        return RgbQuad{};
    if (!IsInside(x, y)) {
        if (transparentIndex_ < 0)
            return RgbQuad{};
        if (!HasPalette())
            return background_;
        return transparentIndex_ < paletteSize_ ? Palette()[transparentIndex_] : RgbQuad{};
    }
    if (HasPalette()) {
        int index = GetPixelIndex(x, y);
        return index < paletteSize_ ? Palette()[index] : RgbQuad{};
    }
    const uint8_t* p = Row(y) + x * 3;
    return RgbQuad{p[0], p[1], p[2], 0};
}

void RasterImage::SetPixelIndex(int x, int y, uint8_t index) {
    if (!HasPalette() || !IsInside(x, y))
        return;
    uint8_t* row = Row(y);
    switch (Bits()) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (index & 0x0F))
                    : static_cast<uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
        break;
    }
    default: {
        uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
        uint8_t& b = row[x >> 3];
        b = (index & 1) ? (b | mask) : (b & ~mask);
        break;
    }
    }
}

void RasterImage::SetPixelColor(int x, int y, RgbQuad color) {
    if (IsEmpty() || !IsInside(x, y))
        return;
    if (HasPalette()) {
        SetPixelIndex(x, y, NearestPaletteIndex(color));
        return;
    }
    uint8_t* p = Row(y) + x * 3;
    p[0] = color.blue;
    p[1] = color.green;
    p[2] = color.red;
}

uint8_t RasterImage::NearestPaletteIndex(RgbQuad color) const {
    const RgbQuad* palette = Palette();
    if (!palette)
        return 0;
    long best = 200000;
    int bestIndex = 0;
    for (int i = 0; i < paletteSize_; ++i) {
        long dr = long(palette[i].red) - color.red;
        long dg = long(palette[i].green) - color.green;
        long db = long(palette[i].blue) - color.blue;
        long distance = dr * dr + dg * dg + db * db;
        if (distance == 0)
            return static_cast<uint8_t>(i);
        if (distance < best) {
            best = distance;
            bestIndex = i;
        }
    }
    return static_cast<uint8_t>(bestIndex);
}

bool RasterImage::IsGreyScale() const {
    if (!HasPalette())
        return false;
    const RgbQuad* p = Palette();
    for (int i = 0; i < paletteSize_; ++i)
        if (p[i].red != i || p[i].green != i || p[i].blue != i)
            return false;
    return true;
}

RgbQuad RasterImage::TransparentColor() const {
    if (HasPalette() && transparentIndex_ >= 0 && transparentIndex_ < paletteSize_)
        return Palette()[transparentIndex_];
    return background_;
}

void RasterImage::SetLastError(const std::string& text) {
    // The field is a fixed 256-byte text; keep the same limit.
    lastError_ = text.substr(0, 255);
}

int32_t RasterImage::PelsPerMeter(int dpi) {
    return static_cast<int32_t>(std::floor(dpi * 39.37007874015748 + 0.5));
}

void RasterImage::SetDpiX(int dpi) {
    dpiX_ = dpi;
    header_.xPelsPerMeter = PelsPerMeter(dpi);
    SyncHeaderToBlock();
}

void RasterImage::SetDpiY(int dpi) {
    dpiY_ = dpi;
    header_.yPelsPerMeter = PelsPerMeter(dpi);
    SyncHeaderToBlock();
}

void RasterImage::SetJpegQuality(int quality) {
    jpegQuality_ = std::clamp(quality, 0, 100);
}

const RgbQuad* RasterImage::StandardPalette16() {
    static const auto palette = BuildPalette16();
    return palette.data();
}

const RgbQuad* RasterImage::StandardPalette256() {
    static const auto palette = BuildPalette256();
    return palette.data();
}

void RasterImage::MakeGreyPalette(RgbQuad* out, int entries) {
    if (!out || entries <= 0)
        return;
    const int step = entries > 1 ? 255 / (entries - 1) : 0;
    for (int i = 0; i < entries; ++i) {
        uint8_t v = static_cast<uint8_t>(step * i);
        out[i] = RgbQuad{v, v, v, 0};
    }
}

} // namespace orvo
