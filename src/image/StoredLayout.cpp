#include "image/StoredLayout.h"

#include "image/ImageCodec.h"

#include <cstdint>

namespace orvo {

namespace {

uint32_t Le(std::string_view b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return v;
}

StoredLayout BmpLayout(std::string_view b) {
    StoredLayout layout;
    if (b.size() < 14 + 12)
        return layout;
    const uint32_t headerSize = Le(b, 14, 4);
    if (headerSize == 12) {
        layout.bitsPerPixel = static_cast<int>(Le(b, 24, 2));
        layout.compression = "none";
        return layout;
    }
    if (headerSize < 40 || b.size() < 14 + 40)
        return layout;
    layout.bitsPerPixel = static_cast<int>(Le(b, 28, 2));
    const uint32_t compression = Le(b, 30, 4);
    static const char* const names[] = {"none", "RLE8", "RLE4", "bit fields", "JPEG", "PNG",
                                        "alpha bit fields"};
    layout.compression = compression < 7 ? names[compression] : "unknown";
    // The alpha mask sits in the V4/V5 header, or after the colour masks of
    // the alpha-bit-fields form.
    if (compression == 6 && b.size() >= 14 + 40 + 16)
        layout.alpha = Le(b, 14 + 40 + 12, 4) != 0;
    else if (compression == 3 && headerSize >= 56 && b.size() >= 14 + 56)
        layout.alpha = Le(b, 14 + 52, 4) != 0;
    return layout;
}

StoredLayout PngLayout(std::string_view b) {
    StoredLayout layout;
    if (b.size() < 33 || b.substr(12, 4) != "IHDR")
        return layout;
    const int depth = static_cast<uint8_t>(b[24]);
    const int colourType = static_cast<uint8_t>(b[25]);
    int channels = 0;
    switch (colourType) {
    case 0: case 3: channels = 1; break;
    case 2: channels = 3; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: return layout;
    }
    layout.bitsPerPixel = depth * channels;
    layout.compression = "deflate";
    layout.alpha = colourType == 4 || colourType == 6;
    return layout;
}

} // namespace

StoredLayout ReadStoredLayout(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "BM")
        return BmpLayout(bytes);
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
