#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace orvo {

// The numbers are stored in options and passed between dialogs, so they
// must not change.
enum ImageFormat : int {
    ImageFormatBmp = 0,
    ImageFormatGif = 1,
    ImageFormatJpeg = 2,
    ImageFormatPng = 3,
    ImageFormatIco = 4,
    ImageFormatTiff = 5,
    ImageFormatCount = 6,
};

struct RgbQuad {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
static_assert(sizeof(RgbQuad) == 4);

inline RgbQuad MakeRgb(uint8_t red, uint8_t green, uint8_t blue) {
    return RgbQuad{blue, green, red, 0};
}

// The 40-byte bitmap information header, laid out as in BMP files and
// clipboard bitmap blocks (little-endian, no padding).
struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// Size guards: every reader refuses pictures beyond these before it
// allocates, so a lying header cannot ask for gigabytes.
constexpr int kMaxImageSide = 30000;
constexpr int64_t kMaxImagePixels = 500000000;

// A picture held as one device-independent bitmap block (header, palette,
// bottom-up rows) plus the information the formats and viewers share.
// Coordinates of the pixel accessors count rows from the bottom of the
// stored bitmap.
class RasterImage {
public:
    explicit RasterImage(ImageFormat format = ImageFormatBmp);
    RasterImage(const RasterImage& other);
    RasterImage& operator=(const RasterImage& other);
    ~RasterImage();

    // Makes a width × height image of the normalised bit count (1, 4, 8 or
    // 24), all pixels and palette entries zero. Fails, leaving the image
    // empty, for a side that is not positive or beyond the size guards.
    bool Create(int width, int height, int bits);
    // Frees the pixels; the information (format, dpi, frame index...) stays.
    void Destroy();
    // Takes over the other image's block and information, leaving it empty.
    void TransferFrom(RasterImage& other);
    static int NormaliseBits(int bits);
    static int StrideFor(int width, int bits);

    bool IsEmpty() const { return block_ == nullptr; }
    int Width() const { return header_.width; }
    int Height() const { return header_.height; }
    int Bits() const { return header_.bitCount; }
    int Stride() const { return stride_; }
    int PaletteSize() const { return paletteSize_; }
    bool HasPalette() const { return !IsEmpty() && header_.bitCount <= 8; }
    const BitmapInfoHeader& Header() const { return header_; }

    RgbQuad* Palette();
    const RgbQuad* Palette() const;
    // Copies up to count entries (never more than the image holds).
    void SetPalette(const RgbQuad* entries, int count);
    void SetGreyPalette();
    uint8_t* PixelData();
    const uint8_t* PixelData() const;
    size_t PixelBytes() const { return static_cast<size_t>(stride_) * Height(); }
    // Stored row y, bottom row first; nullptr outside the image.
    uint8_t* Row(int y);
    const uint8_t* Row(int y) const;
    // The whole block: header, palette, rows (MemorySize bytes).
    const uint8_t* Block() const { return block_.get(); }
    size_t MemorySize() const;
    void FillBits(uint8_t value);

    uint8_t GetPixelIndex(int x, int y) const;
    RgbQuad GetPixelColor(int x, int y) const;
    void SetPixelIndex(int x, int y, uint8_t index);
    void SetPixelColor(int x, int y, RgbQuad color);
    uint8_t NearestPaletteIndex(RgbQuad color) const;
    bool IsInside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

    bool IsGreyScale() const;
    RgbQuad TransparentColor() const;

    ImageFormat Format() const { return format_; }
    void SetFormat(ImageFormat format) { format_ = format; }
    const std::string& LastError() const { return lastError_; }
    void SetLastError(const std::string& text);
    void ClearLastError() { lastError_.clear(); }
    int Progress() const { return progress_.load(std::memory_order_relaxed); }
    void SetProgress(int percent) { progress_.store(percent, std::memory_order_relaxed); }
    // Set from any thread; long operations stop after their current row.
    bool AbortFlag() const { return abort_.load(std::memory_order_relaxed) != 0; }
    void SetAbortFlag(bool abort) { abort_.store(abort ? 1 : 0, std::memory_order_relaxed); }
    int TransparentIndex() const { return transparentIndex_; }
    void SetTransparentIndex(int index) { transparentIndex_ = index; }
    RgbQuad BackgroundColor() const { return background_; }
    void SetBackgroundColor(RgbQuad color) { background_ = color; }
    int FrameIndex() const { return frameIndex_; }
    void SetFrameIndex(int index) { frameIndex_ = index; }
    int FrameCount() const { return frameCount_; }
    void SetFrameCount(int count) { frameCount_ = count; }
    // Hundredths of a second, from the GIF graphic control extension.
    int FrameDelay() const { return frameDelay_; }
    void SetFrameDelay(int delay) { frameDelay_ = delay; }
    int DpiX() const { return dpiX_; }
    int DpiY() const { return dpiY_; }
    void SetDpiX(int dpi);
    void SetDpiY(int dpi);
    void SetDpi(int x, int y) {
        SetDpiX(x);
        SetDpiY(y);
    }
    static int32_t PelsPerMeter(int dpi);
    int JpegQuality() const { return jpegQuality_; }
    void SetJpegQuality(int quality);
    bool Interlaced() const { return interlaced_; }
    void SetInterlaced(bool interlaced) { interlaced_ = interlaced; }

    // The standard palettes used when colours are reduced without one.
    static const RgbQuad* StandardPalette16();
    static const RgbQuad* StandardPalette256();
    // Entry i is grey (255 / (entries - 1)) * i, the division done first.
    static void MakeGreyPalette(RgbQuad* out, int entries);

private:
    struct FreeBlock {
        void operator()(uint8_t* p) const;
    };
    void CopyInformation(const RasterImage& other);
    void SyncHeaderToBlock();

    std::unique_ptr<uint8_t, FreeBlock> block_;
    BitmapInfoHeader header_;
    ImageFormat format_;
    int stride_ = 0;
    int paletteSize_ = 0;
    std::string lastError_;
    std::atomic<int> progress_{0};
    std::atomic<int> abort_{0};
    int transparentIndex_ = -1;
    RgbQuad background_{};
    int frameIndex_ = 0;
    int frameCount_ = 0;
    int frameDelay_ = 0;
    int dpiX_ = 72;
    int dpiY_ = 72;
    int jpegQuality_ = 75;
    bool interlaced_ = false;
};

} // namespace orvo
