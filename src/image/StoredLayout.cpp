#include "image/StoredLayout.h"

#include "image/ImageCodec.h"

#include <cstdint>

namespace orvo {

namespace {

StoredLayout PngLayout(std::string_view b) {
    StoredLayout layout;
    if (b.size() < 33 || b.substr(12, 4) != "IHDR")
        return layout;
    const int depth = static_cast<uint8_t>(b[24]);
    const int colourType = static_cast<uint8_t>(b[25]);
    int channels = 0;
    switch (colourType) {
    case 0:
    case 3:
        channels = 1;
        break;
    case 2:
        channels = 3;
        break;
    case 4:
        channels = 2;
        break;
    case 6:
        channels = 4;
        break;
    default:
        return layout;
    }
    layout.bitsPerPixel = depth * channels;
    layout.compression = "deflate";
    layout.alpha = colourType == 4 || colourType == 6;
    return layout;
}

} // namespace

StoredLayout ReadStoredLayout(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "BM") {
        StoredLayout layout;
        int bits = 0, compression = 0;
        if (PeekBmpLayout(bytes, bits, compression, layout.alpha)) {
            static const char* const names[] = {
                "none", "RLE8", "RLE4", "bit fields", "JPEG", "PNG", "alpha bit fields"};
            layout.bitsPerPixel = bits;
            layout.compression =
                compression >= 0 && compression < 7 ? names[compression] : "unknown";
        }
        return layout;
    }
    if (bytes.size() >= 8 && bytes.substr(0, 8) == "\x89PNG\r\n\x1a\n")
        return PngLayout(bytes);
    if (bytes.size() >= 4 && (bytes.substr(0, 4) == std::string_view("II*\0", 4) ||
                              bytes.substr(0, 4) == std::string_view("MM\0*", 4))) {
        StoredLayout layout;
        int bits = 0, compression = 0;
        if (PeekTiffLayout(bytes, bits, compression, layout.alpha)) {
            layout.bitsPerPixel = bits;
            layout.compression = TiffCompressionName(compression);
        }
        return layout;
    }
    return {};
}

} // namespace orvo
