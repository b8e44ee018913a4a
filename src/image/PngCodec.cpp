// PNG through libpng. Transparency is composited on load (the image object
// has no alpha); library errors come back by longjmp, so the functions
// holding libpng objects keep plain locals only.
#include "image/ImageCodec.h"

#include <cstdlib>
#include <png.h>
#include <vector>

namespace orvo {

namespace {

constexpr const char* kReadError = "Error reading PNG file";
constexpr const char* kWriteError = "Error saving PNG file";

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadData(png_structp png, png_bytep out, png_size_t length) {
    auto* src = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > src->size - src->pos)
        png_error(png, "Read Error");
    std::memcpy(out, src->data + src->pos, length);
    src->pos += length;
}

void WriteData(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void Flush(png_structp) {}

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// The library's own buffers (rows, chunks, zlib state) stay small for any
// picture we accept; a chunk that claims gigabytes is refused here instead
// of being allocated.
constexpr png_alloc_size_t kMaxLibraryBlock = png_alloc_size_t(64) << 20;

png_voidp LimitedMalloc(png_structp, png_alloc_size_t size) {
    return size > kMaxLibraryBlock ? nullptr : std::malloc(size);
}

void Free(png_structp, png_voidp p) {
    std::free(p);
}

// Ancillary chunks the image object has no place for are skipped unread.
const png_byte kIgnoredChunks[] = "sPLT\0iCCP\0zTXt\0iTXt\0tEXt\0eXIf\0hIST\0sBIT\0sCAL\0pCAL\0"
                                  "tIME\0oFFs\0gAMA\0cHRM\0sRGB";

// The first palette entry that is fully transparent, else the most
// transparent one; -1 when every entry is opaque.
int TransparentEntry(png_structp png, png_infop info) {
    png_bytep alpha = nullptr;
    int count = 0;
    png_color_16p colour = nullptr;
    if (!png_get_tRNS(png, info, &alpha, &count, &colour) || !alpha)
        return -1;
    int best = -1, bestAlpha = 255;
    for (int i = 0; i < count; ++i)
        if (alpha[i] < bestAlpha) {
            bestAlpha = alpha[i];
            best = i;
        }
    return best;
}

void SetUpTransparency(png_structp png, png_infop info, int colourType, RgbQuad& background) {
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (!(colourType & PNG_COLOR_MASK_ALPHA) && !hasTrns)
        return;
    if (hasTrns && colourType != PNG_COLOR_TYPE_PALETTE)
        png_set_tRNS_to_alpha(png);
    png_color_16p fileBackground = nullptr;
    if (png_get_bKGD(png, info, &fileBackground)) {
        png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        if (colourType == PNG_COLOR_TYPE_PALETTE) {
            png_colorp palette = nullptr;
            int entries = 0;
            if (png_get_PLTE(png, info, &palette, &entries) && fileBackground->index < entries) {
                const png_color& c = palette[fileBackground->index];
                background = MakeRgb(c.red, c.green, c.blue);
            }
        } else {
            const int shift = png_get_bit_depth(png, info) == 16 ? 8 : 0;
            background = (colourType & PNG_COLOR_MASK_COLOR)
                             ? MakeRgb(static_cast<uint8_t>(fileBackground->red >> shift),
                                       static_cast<uint8_t>(fileBackground->green >> shift),
                                       static_cast<uint8_t>(fileBackground->blue >> shift))
                             : MakeRgb(static_cast<uint8_t>(fileBackground->gray >> shift),
                                       static_cast<uint8_t>(fileBackground->gray >> shift),
                                       static_cast<uint8_t>(fileBackground->gray >> shift));
        }
    } else {
        // Given as a colour, not as an index into a palette.
        const png_uint_16 level = png_get_bit_depth(png, info) == 16 ? 192 * 257 : 192;
        png_color_16 grey{};
        grey.red = grey.green = grey.blue = grey.gray = level;
        png_set_background(png, &grey, PNG_BACKGROUND_GAMMA_SCREEN, 1, 1.0);
        background = MakeRgb(192, 192, 192);
    }
}

// Returns the failure text, or nullptr on success (the image then holds
// the picture); rows is the caller's so no destructor is skipped by a jump.
const char* Decode(RasterImage& image, MemorySource* source, std::vector<png_bytep>* rows) {
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning,
                                               nullptr, LimitedMalloc, Free);
    if (!png)
        return "Failed to create PNG structure";
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "Failed to initialize PNG info structure";
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        image.Destroy();
        return kReadError;
    }
    png_set_read_fn(png, source, ReadData);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // A mutated chunk almost never carries a right checksum; a fuzz build
    // reads it anyway so the mutations reach the chunk's contents.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(png, 16u << 20);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks,
                                static_cast<int>(sizeof kIgnoredChunks / 5));
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int depth = png_get_bit_depth(png, info);
    const int colourType = png_get_color_type(png, info);
    if (uint64_t(width) * height > uint64_t(kMaxImagePixels))
        png_error(png, "too large");

    const bool rgbaPixels = colourType == PNG_COLOR_TYPE_RGB_ALPHA && depth == 8;
    const bool rgbTrns =
        colourType == PNG_COLOR_TYPE_RGB && png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    const int paletteTransparent =
        colourType == PNG_COLOR_TYPE_PALETTE ? TransparentEntry(png, info) : -1;
    if (depth == 16)
        png_set_strip_16(png);
    if (depth == 2)
        colourType == PNG_COLOR_TYPE_PALETTE ? png_set_packing(png)
                                             : png_set_expand_gray_1_2_4_to_8(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8 && png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_expand_gray_1_2_4_to_8(png);
    RgbQuad background = MakeRgb(192, 192, 192);
    SetUpTransparency(png, info, colourType, background);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    const int outDepth = png_get_bit_depth(png, info);
    const int outType = png_get_color_type(png, info);
    int bits = channels * outDepth;
    if ((channels != 1 && channels != 3) || outDepth > 8 || bits == 2)
        png_error(png, "unexpected layout");
    if (!image.Create(static_cast<int>(width), static_cast<int>(height), bits))
        png_error(png, "no memory");
    if (png_get_rowbytes(png, info) > static_cast<size_t>(image.Stride()))
        png_error(png, "row too long");
    if (outType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int entries = 0;
        png_get_PLTE(png, info, &palette, &entries);
        for (int i = 0; i < entries && i < image.PaletteSize(); ++i)
            image.Palette()[i] = MakeRgb(palette[i].red, palette[i].green, palette[i].blue);
        image.SetTransparentIndex(paletteTransparent < image.PaletteSize() ? paletteTransparent
                                                                           : -1);
    } else if (channels == 1) {
        image.SetGreyPalette();
    } else if (rgbaPixels || rgbTrns) {
        image.SetTransparentIndex(0);
        image.SetBackgroundColor(background);
    }
    png_uint_32 resX = 0, resY = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &resX, &resY, &unit) && unit == PNG_RESOLUTION_METER)
        image.SetDpi(DpiFromPelsPerMeter(static_cast<int32_t>(resX)),
                     DpiFromPelsPerMeter(static_cast<int32_t>(resY)));
    rows->resize(height);
    for (png_uint_32 i = 0; i < height; ++i)
        (*rows)[i] = image.Row(static_cast<int>(height - 1 - i));
    png_read_image(png, rows->data());
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
}

const char* Encode(const RasterImage& image, std::string* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return "Failed to create PNG structure";
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return "Failed to initialize PNG info structure";
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return kWriteError;
    }
    png_set_write_fn(png, out, WriteData, Flush);
    const int width = image.Width(), height = image.Height();
    if (image.HasPalette()) {
        png_set_IHDR(png, info, width, height, image.Bits(), PNG_COLOR_TYPE_PALETTE,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_color palette[256];
        for (int i = 0; i < image.PaletteSize(); ++i)
            palette[i] = png_color{image.Palette()[i].red, image.Palette()[i].green,
                                   image.Palette()[i].blue};
        png_set_PLTE(png, info, palette, image.PaletteSize());
        const int transparent = image.TransparentIndex();
        if (transparent >= 0 && transparent < image.PaletteSize()) {
            png_byte alpha[256];
            std::memset(alpha, 255, sizeof alpha);
            alpha[transparent] = 0;
            png_set_tRNS(png, info, alpha, transparent + 1, nullptr);
        }
    } else {
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_bgr(png);
    }
    png_set_pHYs(png, info, static_cast<png_uint_32>(image.Header().xPelsPerMeter),
                 static_cast<png_uint_32>(image.Header().yPelsPerMeter), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int top = 0; top < height; ++top)
        png_write_row(png, const_cast<png_bytep>(image.Row(height - 1 - top)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return nullptr;
}

} // namespace

void ReadPng(RasterImage& image, std::string_view data) {
    MemorySource source{reinterpret_cast<const uint8_t*>(data.data()), data.size(), 0};
    std::vector<png_bytep> rows;
    if (const char* error = Decode(image, &source, &rows))
        throw ImageFormatError(error);
}

std::string WritePng(const RasterImage& image) {
    if (image.IsEmpty())
        throw ImageFormatError("Can't save an empty image");
    std::string out;
    if (const char* error = Encode(image, &out))
        throw ImageFormatError(error);
    return out;
}

} // namespace orvo
