// Feeds arbitrary bytes to one image reader (chosen at build time) or to
// the whole loader with its retry in every format. Whatever the input, a
// reader must end in a picture or a message; a picture must be consistent
// and must survive being written and read back in BMP.
#include "image/ImageCodec.h"
#include "image/ImageFile.h"
#include "image/ImageOrientation.h"
#include "image/StoredLayout.h"

#include <cstdlib>

#ifndef ORVO_FUZZ_FORMAT
#define ORVO_FUZZ_FORMAT -1
#endif

namespace {

void CheckPicture(const orvo::RasterImage& image) {
    if (image.IsEmpty())
        return;
    if (image.Width() <= 0 || image.Height() <= 0 || image.Width() > orvo::kMaxImageSide ||
        image.Height() > orvo::kMaxImageSide)
        std::abort();
    if (image.Bits() != 1 && image.Bits() != 4 && image.Bits() != 8 && image.Bits() != 24)
        std::abort();
    // Large pictures from tiny inputs are legal (run-length codes); copying
    // them would only slow the search down.
    if (int64_t(image.Width()) * image.Height() > 4000000)
        return;
    orvo::RasterImage again;
    orvo::ReadBmp(again, orvo::WriteBmp(image));
    // A palette that reads as grey takes the writer's one-component path,
    // whatever the depth of the rows.
    if (image.HasPalette() && int64_t(image.Width()) * image.Height() <= 65536) {
        try {
            orvo::WriteJpeg(image);
        } catch (const orvo::ImageFormatError&) {
        }
    }
    if (again.MemorySize() != image.MemorySize())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orvo::RasterImage image;
    if (ORVO_FUZZ_FORMAT < 0) {
        // `orvo image info` reads the stored layout from the same bytes.
        orvo::ReadStoredLayout(bytes);
        if (orvo::LoadImageBytes(image, bytes, orvo::ImageFormatBmp))
            CheckPicture(image);
        else if (!image.IsEmpty() || image.LastError().empty())
            std::abort();
        return 0;
    }
    try {
        switch (ORVO_FUZZ_FORMAT) {
        case orvo::ImageFormatBmp:
            orvo::ReadBmp(image, bytes);
            break;
        case orvo::ImageFormatGif:
            orvo::ReadGif(image, bytes);
            break;
        case orvo::ImageFormatIco:
            orvo::ReadIco(image, bytes);
            break;
        case orvo::ImageFormatJpeg: {
            // Thumbnails take the size peek and the reduced-scale decode;
            // both read the same untrusted headers as the full decode.
            int width = 0, height = 0;
            orvo::PeekJpegSize(bytes, width, height);
            orvo::JpegExifOrientation(bytes);
            try {
                orvo::RasterImage thumbnail;
                orvo::ReadJpeg(thumbnail, bytes, 8);
                CheckPicture(thumbnail);
            } catch (const orvo::ImageFormatError&) {
            }
            orvo::ReadJpeg(image, bytes);
            break;
        }
        case orvo::ImageFormatPng:
            orvo::ReadPng(image, bytes);
            break;
        case orvo::ImageFormatTiff:
            orvo::ReadTiff(image, bytes);
            break;
        default:
            break;
        }
    } catch (const orvo::ImageFormatError&) {
        return 0;
    }
    CheckPicture(image);
    return 0;
}
