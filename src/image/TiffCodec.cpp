// TIFF through libtiff, over memory in both directions. Simple layouts
// (palette, grey, 8-bit RGB in strips) are read strip by strip; every other
// one goes through the library's RGBA reader into 24 bits.
#include "image/ImageCodec.h"
#include "image/ImageOrientation.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <tiffio.h>
#include <vector>

namespace orvo {

namespace {

constexpr const char* kCorrupt = "Corrupted TIFF file!";
constexpr const char* kNoRaster = "No space for raster buffer";
constexpr uint64_t kMaxRasterBytes = uint64_t(64) << 20;
constexpr uint64_t kMaxLibraryBuffer = uint64_t(512) << 20;

struct TiffMemory {
    const uint8_t* data = nullptr;
    uint64_t size = 0;
    uint64_t pos = 0;
    std::string* out = nullptr; // set when writing
};

tmsize_t ReadProc(thandle_t h, void* buffer, tmsize_t n) {
    auto* m = static_cast<TiffMemory*>(h);
    if (m->out || n < 0 || m->pos >= m->size)
        return 0;
    const uint64_t count = std::min<uint64_t>(static_cast<uint64_t>(n), m->size - m->pos);
    std::memcpy(buffer, m->data + m->pos, count);
    m->pos += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t WriteProc(thandle_t h, void* buffer, tmsize_t n) {
    auto* m = static_cast<TiffMemory*>(h);
    if (!m->out || n < 0)
        return 0;
    const size_t end = m->pos + static_cast<size_t>(n);
    if (m->out->size() < end)
        m->out->resize(end);
    std::memcpy(m->out->data() + m->pos, buffer, static_cast<size_t>(n));
    m->pos = end;
    return n;
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
    auto* m = static_cast<TiffMemory*>(h);
    const uint64_t size = m->out ? m->out->size() : m->size;
    const uint64_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? size : 0;
    const uint64_t target = base + offset;
    // Reading may not pass the end; writing may, the gap is filled later.
    if (!m->out && target > size)
        return static_cast<toff_t>(-1);
    m->pos = target;
    return m->pos;
}

int CloseProc(thandle_t) {
    return 0;
}
toff_t SizeProc(thandle_t h) {
    auto* m = static_cast<TiffMemory*>(h);
    return m->out ? m->out->size() : m->size;
}
// Reading maps the bytes in place: no copies, and the library's own
// unmapped path misreads some uncompressed tiled files.
int MapProc(thandle_t h, void** base, toff_t* size) {
    auto* m = static_cast<TiffMemory*>(h);
    if (m->out)
        return 0;
    *base = const_cast<uint8_t*>(m->data);
    *size = m->size;
    return 1;
}
void UnmapProc(thandle_t, void*, toff_t) {}

void Silence(const char*, const char*, va_list) {}

TIFF* OpenMemory(TiffMemory& memory, const char* mode) {
    // The library reports through process-wide handlers; the texts the
    // user sees are ours, so its own are dropped.
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(Silence);
        TIFFSetWarningHandler(Silence);
    });
    return TIFFClientOpen("image", mode, &memory, ReadProc, WriteProc, SeekProc, CloseProc,
                          SizeProc, MapProc, UnmapProc);
}

struct CloseTiff {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffHandle = std::unique_ptr<TIFF, CloseTiff>;

int ResolutionToDpi(TIFF* tif, ttag_t tag) {
    float resolution = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, tag, &resolution) || !(resolution > 0) || resolution > 1e6f)
        return 72;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    return static_cast<int>((unit == RESUNIT_CENTIMETER ? resolution * 2.54f : resolution) + 0.5f);
}

void ReadColourMap(TIFF* tif, RasterImage& image, int bits) {
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue)
        throw ImageFormatError("Unable to allocate TIFF palette");
    const int entries = 1 << bits;
    // Some writers store 8-bit values in the 16-bit map.
    bool eightBit = true;
    for (int i = 0; i < entries; ++i)
        if (red[i] > 255 || green[i] > 255 || blue[i] > 255)
            eightBit = false;
    const int shift = eightBit ? 0 : 8;
    for (int i = 0; i < entries; ++i)
        image.Palette()[i] =
            MakeRgb(static_cast<uint8_t>(red[i] >> shift), static_cast<uint8_t>(green[i] >> shift),
                    static_cast<uint8_t>(blue[i] >> shift));
}

// Row by row: the library decodes each strip as far as needed, so a
// single huge strip costs no buffer of its size.
void ReadScanlines(TIFF* tif, RasterImage& image) {
    const int height = image.Height();
    const tmsize_t scanline = TIFFScanlineSize(tif);
    if (scanline <= 0 || scanline > image.Stride())
        throw ImageFormatError(kCorrupt);
    for (int top = 0; top < height; ++top) {
        uint8_t* dst = image.Row(height - 1 - top);
        if (TIFFReadScanline(tif, dst, static_cast<uint32_t>(top), 0) < 0)
            throw ImageFormatError(kCorrupt);
        if (image.Bits() == 24)
            for (int x = 0; x < image.Width(); ++x)
                std::swap(dst[3 * x], dst[3 * x + 2]);
    }
}

void PutRgba(RasterImage& image, int x, int y, uint32_t p) {
    uint8_t* dst = image.Row(y) + 3 * x;
    dst[0] = static_cast<uint8_t>(TIFFGetB(p));
    dst[1] = static_cast<uint8_t>(TIFFGetG(p));
    dst[2] = static_cast<uint8_t>(TIFFGetR(p));
}

std::vector<uint32_t> RasterBuffer(uint64_t pixels) {
    if (pixels * 4 > kMaxRasterBytes)
        throw ImageFormatError(kNoRaster);
    try {
        return std::vector<uint32_t>(pixels);
    } catch (const std::bad_alloc&) {
        throw ImageFormatError(kNoRaster);
    }
}

struct EndRgba {
    void operator()(TIFFRGBAImage* img) const { TIFFRGBAImageEnd(img); }
};

// Reads bands of whole strips or tile rows at a time, each band no larger
// than the raster limit, so a file of one huge strip still reads.
void ReadRgba(TIFF* tif, RasterImage& image, uint32_t rowsPerStrip) {
    TIFFRGBAImage img;
    char message[1024];
    if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&img, tif, 0, message))
        throw ImageFormatError(kCorrupt);
    std::unique_ptr<TIFFRGBAImage, EndRgba> end(&img);
    const uint32_t width = static_cast<uint32_t>(image.Width());
    const uint32_t height = static_cast<uint32_t>(image.Height());
    // The RGBA reader decodes whole strips or tiles into buffers of their
    // own; a header can make those absurd while the picture looks small.
    uint16_t planar = PLANARCONFIG_CONTIG, samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    const uint64_t planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
    const uint64_t unit = TIFFIsTiled(tif) ? TIFFTileSize64(tif)
                                           : TIFFVStripSize64(tif, std::min(rowsPerStrip, height));
    if (unit == 0 || unit > kMaxLibraryBuffer / planes)
        throw ImageFormatError(kNoRaster);
    uint32_t band = rowsPerStrip;
    if (TIFFIsTiled(tif))
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &band);
    band = std::clamp<uint32_t>(band, 1, height);
    const uint64_t maxRows = std::max<uint64_t>(1, kMaxRasterBytes / (uint64_t(width) * 4));
    if (band > maxRows)
        band = static_cast<uint32_t>(maxRows);
    std::vector<uint32_t> raster = RasterBuffer(uint64_t(width) * band);
    for (uint32_t row = 0; row < height; row += band) {
        const uint32_t rows = std::min(band, height - row);
        img.row_offset = static_cast<int>(row);
        img.col_offset = 0;
        if (!TIFFRGBAImageGet(&img, raster.data(), width, rows))
            throw ImageFormatError(kCorrupt);
        // The band's last row comes first.
        for (uint32_t r = 0; r < rows; ++r)
            for (uint32_t x = 0; x < width; ++x)
                PutRgba(image, static_cast<int>(x), static_cast<int>(height - 1 - (row + r)),
                        raster[size_t(rows - 1 - r) * width + x]);
    }
}

bool IsGreyRamp(const RasterImage& image) {
    RgbQuad ramp[256];
    RasterImage::MakeGreyPalette(ramp, image.PaletteSize());
    return std::equal(ramp, ramp + image.PaletteSize(), image.Palette());
}

} // namespace

void ReadTiff(RasterImage& image, std::string_view data) {
    TiffMemory memory;
    memory.data = reinterpret_cast<const uint8_t*>(data.data());
    memory.size = data.size();
    TiffHandle tif(OpenMemory(memory, "r"));
    if (!tif)
        throw ImageFormatError("Error encountered while opening TIFF file");
    TIFF* t = tif.get();
    image.SetFrameCount(static_cast<int>(TIFFNumberOfDirectories(t)));
    if (image.FrameIndex() < 0 || image.FrameIndex() >= image.FrameCount() ||
        !TIFFSetDirectory(t, static_cast<tdir_t>(image.FrameIndex())))
        throw ImageFormatError("Error: page not present in TIFF file");
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &compression);
    // LZW is the commonest TIFF form; only a library built without its codec
    // leaves it unreadable.
    if (compression == COMPRESSION_LZW && !TIFFIsCODECConfigured(COMPRESSION_LZW))
        throw ImageFormatError("LZW compression is no longer supported due to Unisys patent "
                               "enforcement");
    uint32_t width = 0, height = 0, rowsPerStrip = 0;
    uint16_t samples = 1, bitsPerSample = 1, photometric = 0, planar = PLANARCONFIG_CONTIG;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar);
    if (!TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric))
        photometric = samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    if (width == 0 || height == 0)
        throw ImageFormatError(kCorrupt);
    if (width > uint32_t(kMaxImageSide) || height > uint32_t(kMaxImageSide) ||
        uint64_t(width) * height > uint64_t(kMaxImagePixels))
        throw ImageFormatError(kNoRaster);

    const bool simpleDepth = bitsPerSample == 1 || bitsPerSample == 4 || bitsPerSample == 8;
    const bool strips = !TIFFIsTiled(t) && planar == PLANARCONFIG_CONTIG;
    const bool palette = photometric == PHOTOMETRIC_PALETTE && samples == 1 && simpleDepth;
    const bool grey =
        (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) &&
        samples == 1 && simpleDepth;
    const bool rgb = photometric == PHOTOMETRIC_RGB && samples == 3 && bitsPerSample == 8;
    const bool direct = strips && (palette || grey || rgb);
    CreateOrThrow(image, static_cast<int>(width), static_cast<int>(height),
                  direct ? samples * bitsPerSample : 24, kNoRaster);
    image.SetDpi(ResolutionToDpi(t, TIFFTAG_XRESOLUTION), ResolutionToDpi(t, TIFFTAG_YRESOLUTION));
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(t, TIFFTAG_ORIENTATION, &orientation);
    if (!direct) {
        ReadRgba(t, image, rowsPerStrip);
        // The RGBA reader already mirrors and flips, but it treats the
        // turned orientations (5-8) as the unturned ones 4 lower: undo that
        // before turning.
        if (orientation >= 5 && orientation <= 8 && !ApplyOrientation(image, orientation - 4))
            throw ImageFormatError(kNoRaster);
        if (orientation >= 5 && !ApplyOrientation(image, orientation))
            throw ImageFormatError(kNoRaster);
        return;
    }
    if (palette) {
        ReadColourMap(t, image, bitsPerSample);
    } else if (grey) {
        image.SetGreyPalette();
        if (photometric == PHOTOMETRIC_MINISWHITE)
            std::reverse(image.Palette(), image.Palette() + image.PaletteSize());
    }
    ReadScanlines(t, image);
    if (!ApplyOrientation(image, orientation))
        throw ImageFormatError(kNoRaster);
}

bool PeekTiffLayout(std::string_view data, int& bitsPerPixel, int& compression, bool& alpha) {
    TiffMemory memory;
    memory.data = reinterpret_cast<const uint8_t*>(data.data());
    memory.size = data.size();
    TiffHandle tif(OpenMemory(memory, "r"));
    if (!tif)
        return false;
    uint16_t samples = 1, bitsPerSample = 1, tag = COMPRESSION_NONE, extraCount = 0;
    uint16_t* extra = nullptr;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_COMPRESSION, &tag);
    alpha = TIFFGetField(tif.get(), TIFFTAG_EXTRASAMPLES, &extraCount, &extra) && extra &&
            std::any_of(extra, extra + extraCount, [](uint16_t e) {
                return e == EXTRASAMPLE_ASSOCALPHA || e == EXTRASAMPLE_UNASSALPHA;
            });
    // Both counts are the file's word; their product can pass any int.
    const int64_t bits = int64_t(samples) * bitsPerSample;
    if (bits <= 0 || bits > 4096)
        return false;
    bitsPerPixel = static_cast<int>(bits);
    compression = tag;
    return true;
}

const char* TiffCompressionName(int compression) {
    switch (compression) {
    case COMPRESSION_NONE: return "none";
    case COMPRESSION_CCITTRLE: return "CCITT RLE";
    case COMPRESSION_CCITTFAX3: return "CCITT group 3";
    case COMPRESSION_CCITTFAX4: return "CCITT group 4";
    case COMPRESSION_LZW: return "LZW";
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG: return "JPEG";
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return "deflate";
    case COMPRESSION_PACKBITS: return "PackBits";
    default: return "other";
    }
}

std::string WriteTiff(const RasterImage& image) {
    if (image.IsEmpty())
        throw ImageFormatError("Can't save an empty image");
    std::string out;
    TiffMemory memory;
    memory.out = &out;
    TiffHandle tif(OpenMemory(memory, "w"));
    if (!tif)
        throw ImageFormatError("Error encountered while opening TIFF file");
    TIFF* t = tif.get();
    const int bits = image.Bits();
    const int width = image.Width(), height = image.Height();
    const bool greyRamp = image.HasPalette() && IsGreyRamp(image);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(bits == 24 ? 3 : 1));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(bits == 24 ? 8 : bits));
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC,
                 bits == 24 ? PHOTOMETRIC_RGB
                 : greyRamp ? PHOTOMETRIC_MINISBLACK
                            : PHOTOMETRIC_PALETTE);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 1u);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(image.DpiX()));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(image.DpiY()));
    TIFFSetField(t, TIFFTAG_SUBFILETYPE, 0u);
    std::vector<uint16_t> red, green, blue;
    if (image.HasPalette() && !greyRamp) {
        for (int i = 0; i < image.PaletteSize(); ++i) {
            red.push_back(static_cast<uint16_t>(image.Palette()[i].red * 257));
            green.push_back(static_cast<uint16_t>(image.Palette()[i].green * 257));
            blue.push_back(static_cast<uint16_t>(image.Palette()[i].blue * 257));
        }
        TIFFSetField(t, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    switch (bits) {
    case 1:
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        break;
    case 8:
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
        break;
    case 24:
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
        TIFFSetField(t, TIFFTAG_JPEGQUALITY, image.JpegQuality());
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 8u);
        break;
    default:
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    }
    std::vector<uint8_t> row(static_cast<size_t>(image.Stride()));
    for (int top = 0; top < height; ++top) {
        std::memcpy(row.data(), image.Row(height - 1 - top), row.size());
        if (bits == 24)
            for (int x = 0; x < width; ++x)
                std::swap(row[3 * x], row[3 * x + 2]);
        if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(top), 0) < 0)
            throw ImageFormatError("Error saving TIFF file");
    }
    if (!TIFFWriteDirectory(t))
        throw ImageFormatError("Error saving TIFF file");
    tif.reset();
    return out;
}

} // namespace orvo
