#pragma once

#include <string>
#include <string_view>

namespace orvo {

// How a picture is kept in its file, which can differ from the depth it is
// held in once read (a 32-bit BMP or an RGBA TIFF is held in 24 bits).
struct StoredLayout {
    int bitsPerPixel = 0;    // 0 when the format is not one this knows
    std::string compression; // "none", "LZW", "bit fields", ...
    bool alpha = false;      // the file carries an alpha channel
};

// The layout of a BMP, PNG or TIFF from its header; bitsPerPixel stays 0
// for other or damaged files. Reads headers only, never pixels.
StoredLayout ReadStoredLayout(std::string_view bytes);

} // namespace orvo
