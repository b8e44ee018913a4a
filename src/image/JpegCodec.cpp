// JPEG through libjpeg. Library errors come back by longjmp, so the
// functions that hold a libjpeg object keep only plain locals.
#include "image/ImageCodec.h"
#include "image/ImageOrientation.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace orvo {

namespace {

// Progressive files may hold any number of scans; real ones have a few
// dozen, crafted ones millions that each cost a pass over the image.
constexpr int kMaxScans = 1000;
// Every 8 × 8 block costs at least one bit in its first scan.
constexpr uint64_t kMaxPixelsPerByte = 1024;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

[[noreturn]] void Fail(j_common_ptr cinfo, const char* message) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "%s", message);
    std::longjmp(err->jump, 1);
}

void OnProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans)
        Fail(cinfo, "Corrupted JPEG file");
}

void InstallErrors(jpeg_error_mgr* pub) {
    jpeg_std_error(pub);
    pub->error_exit = OnError;
    pub->emit_message = OnMessage;
}

int DensityToDpi(int unit, int density) {
    if (density <= 0)
        return 72;
    return unit == 2 ? static_cast<int>(density * 2.54 + 0.5) : unit == 1 ? density : 72;
}

void StoreRow(RasterImage& image, const uint8_t* src, int components, int y) {
    uint8_t* dst = image.Row(y);
    const int width = image.Width();
    if (components == 4) {
        // Adobe writes inverted CMYK, so channel × K / 255 gives the colour.
        for (int x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = static_cast<uint8_t>(src[2] * src[3] / 255);
            dst[1] = static_cast<uint8_t>(src[1] * src[3] / 255);
            dst[2] = static_cast<uint8_t>(src[0] * src[3] / 255);
        }
    } else if (components == 3) {
        for (int x = 0; x < width; ++x, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
}

// Returns false with the library's message; the image is then empty.
bool Decode(RasterImage& image, const uint8_t* data, size_t size, int scaleDenom, char* message,
            size_t messageSize) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    cinfo.err = &err.pub;
    InstallErrors(&err.pub);
    if (setjmp(err.jump)) {
        std::snprintf(message, messageSize, "%s", err.message);
        jpeg_destroy_decompress(&cinfo);
        image.Destroy();
        return false;
    }
    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = OnProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const uint64_t pixels = uint64_t(cinfo.image_width) * cinfo.image_height;
    if (cinfo.image_width > kMaxImageSide || cinfo.image_height > kMaxImageSide ||
        pixels > uint64_t(kMaxImagePixels))
        Fail(reinterpret_cast<j_common_ptr>(&cinfo), "Can't allocate memory");
    if (pixels > (size + 1) * kMaxPixelsPerByte)
        Fail(reinterpret_cast<j_common_ptr>(&cinfo), "Corrupted JPEG file");
    if (scaleDenom > 1) {
        cinfo.scale_num = 1;
        cinfo.scale_denom = static_cast<unsigned>(scaleDenom);
        // Only a thumbnail is made from a scaled decode.
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
    if (cinfo.out_color_space == JCS_RGB)
        cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    if (components != 1 && components != 3 && components != 4)
        Fail(reinterpret_cast<j_common_ptr>(&cinfo), "Corrupted JPEG file");
    if (!image.Create(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                      components * 8))
        Fail(reinterpret_cast<j_common_ptr>(&cinfo), "Can't allocate memory");
    if (components == 1)
        image.SetGreyPalette();
    if (cinfo.saw_JFIF_marker)
        image.SetDpi(DensityToDpi(cinfo.density_unit, cinfo.X_density),
                     DensityToDpi(cinfo.density_unit, cinfo.Y_density));
    const bool direct = components == 1 || cinfo.out_color_space == JCS_EXT_BGR;
    JSAMPARRAY buffer =
        direct ? nullptr
               : (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                            cinfo.output_width * components, 1);
    const int height = image.Height();
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = height - 1 - static_cast<int>(cinfo.output_scanline);
        if (direct) {
            JSAMPROW row = image.Row(y);
            jpeg_read_scanlines(&cinfo, &row, 1);
        } else {
            jpeg_read_scanlines(&cinfo, buffer, 1);
            StoreRow(image, buffer[0], components, y);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool Encode(const RasterImage& image, unsigned char** out, unsigned long* outSize, char* message,
            size_t messageSize) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = &err.pub;
    InstallErrors(&err.pub);
    if (setjmp(err.jump)) {
        std::snprintf(message, messageSize, "%s", err.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, outSize);
    // Only grey palettes get this far; 1- and 4-bit ones are widened to a
    // byte per pixel, as libjpeg takes no packed rows.
    const bool grey = image.HasPalette();
    cinfo.image_width = static_cast<JDIMENSION>(image.Width());
    cinfo.image_height = static_cast<JDIMENSION>(image.Height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, image.JpegQuality(), TRUE);
    cinfo.density_unit = 1;
    cinfo.X_density = static_cast<UINT16>(std::clamp(image.DpiX(), 1, 65535));
    cinfo.Y_density = static_cast<UINT16>(std::clamp(image.DpiY(), 1, 65535));
    std::vector<uint8_t> wide(grey && image.Bits() < 8 ? image.Width() : 0);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = image.Height() - 1 - static_cast<int>(cinfo.next_scanline);
        JSAMPROW row = const_cast<JSAMPROW>(image.Row(y));
        if (!wide.empty()) {
            for (int x = 0; x < image.Width(); ++x)
                wide[x] = image.Palette()[image.GetPixelIndex(x, y)].red;
            row = wide.data();
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

void ReadJpeg(RasterImage& image, std::string_view data, int scaleDenom) {
    char message[JMSG_LENGTH_MAX] = "";
    if (!Decode(image, reinterpret_cast<const uint8_t*>(data.data()), data.size(), scaleDenom,
                message, sizeof message))
        throw ImageFormatError(message);
    if (!ApplyOrientation(image, JpegExifOrientation(data)))
        throw ImageFormatError("Can't allocate memory");
}

bool PeekJpegSize(std::string_view data, int& width, int& height) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = &err.pub;
    InstallErrors(&err.pub);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    width = static_cast<int>(cinfo.image_width);
    height = static_cast<int>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    // The size as shown: a turned photo swaps its sides.
    if (JpegExifOrientation(data) >= 5)
        std::swap(width, height);
    return true;
}

std::string WriteJpeg(const RasterImage& image) {
    if (image.IsEmpty())
        throw ImageFormatError("Can't save an empty image");
    if (image.HasPalette() && !image.IsGreyScale())
        throw ImageFormatError("JPEG can save only RGB or GreyScale images");
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = "";
    const bool ok = Encode(image, &buffer, &size, message, sizeof message);
    std::string bytes = ok ? std::string(reinterpret_cast<char*>(buffer), size) : std::string();
    std::free(buffer);
    if (!ok)
        throw ImageFormatError(message);
    return bytes;
}

} // namespace orvo
