#pragma once

// Internal to the image library: the per-format readers and writers and the
// bounded byte access they share. Callers use ImageFile.h.

#include "image/RasterImage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvo {

// A reader or writer failure; the text becomes the image's LastError.
class ImageFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Little-endian reads that never pass the end of the data: running out
// throws ImageFormatError with the text the format gives for it.
class ByteReader {
public:
    ByteReader(std::string_view data, const char* truncatedMessage)
        : data_(reinterpret_cast<const uint8_t*>(data.data())), size_(data.size()),
          truncated_(truncatedMessage) {}

    size_t Size() const { return size_; }
    size_t Pos() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool Has(size_t n) const { return n <= size_ - pos_; }
    void Seek(size_t pos) {
        if (pos > size_)
            Fail();
        pos_ = pos;
    }
    void Skip(size_t n) {
        Need(n);
        pos_ += n;
    }
    const uint8_t* Take(size_t n) {
        Need(n);
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    uint8_t U8() { return *Take(1); }
    uint16_t U16() {
        const uint8_t* p = Take(2);
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
    }
    const uint8_t* Data() const { return data_; }
    [[noreturn]] void Fail() const { throw ImageFormatError(truncated_); }

private:
    void Need(size_t n) const {
        if (!Has(n))
            Fail();
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    const char* truncated_;
};

class ByteWriter {
public:
    void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void Bytes(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
    void Zeros(size_t n) { out_.append(n, '\0'); }
    void Header(const BitmapInfoHeader& h);
    // GIF data sub-blocks of at most 255 bytes, then the empty terminator.
    void SubBlocks(std::string_view data) {
        for (size_t pos = 0; pos < data.size(); pos += 255) {
            const size_t n = std::min<size_t>(255, data.size() - pos);
            U8(static_cast<uint8_t>(n));
            Bytes(data.data() + pos, n);
        }
        U8(0);
    }
    std::string& Out() { return out_; }

private:
    std::string out_;
};

// Rebuilds dots per inch from a header's pixels per metre (72 when unset).
int DpiFromPelsPerMeter(int32_t pelsPerMeter);

// A reader fills an empty image and throws ImageFormatError on any fault;
// a writer returns the file's bytes or throws.
void ReadBmp(RasterImage& image, std::string_view data);
// The header's bits per pixel, compression code and whether an alpha mask
// is set; false when the header cannot be read.
bool PeekBmpLayout(std::string_view data, int& bitsPerPixel, int& compression, bool& alpha);
std::string WriteBmp(const RasterImage& image);
void ReadGif(RasterImage& image, std::string_view data);
std::string WriteGif(const RasterImage& image);
void ReadIco(RasterImage& image, std::string_view data);
std::string WriteIco(const RasterImage& image);
// scaleDenom 1, 2, 4 or 8 decodes at that fraction of the full size.
void ReadJpeg(RasterImage& image, std::string_view data, int scaleDenom = 1);
std::string WriteJpeg(const RasterImage& image);
// The size in the header of a JPEG, without decoding; false when none.
bool PeekJpegSize(std::string_view data, int& width, int& height);
void ReadPng(RasterImage& image, std::string_view data);
std::string WritePng(const RasterImage& image);
void ReadTiff(RasterImage& image, std::string_view data);
std::string WriteTiff(const RasterImage& image);
// The first page's bits per pixel (samples times bits per sample),
// compression tag and whether an extra sample is alpha; false when the
// header cannot be read.
bool PeekTiffLayout(std::string_view data, int& bitsPerPixel, int& compression, bool& alpha);
// "none", "LZW", "JPEG", "deflate", "PackBits", ... for a compression tag.
const char* TiffCompressionName(int compression);

// Create or throw the readers' allocation text.
void CreateOrThrow(RasterImage& image, int width, int height, int bits, const char* message);

} // namespace orvo
