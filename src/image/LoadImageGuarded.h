#pragma once

#include "image/RasterImage.h"

#include <string>

namespace orvo {

enum class GuardedLoad {
    Loaded,  // the image holds the picture, 24 bits, fitted into the box
    UseIcon, // not a picture, an icon file, or a load that failed: show the shell icon
    Damaged, // a decoder raised an exception; show the message once, keep the icon
};

// The picture of a file for a thumbnail or preview: loaded by its
// extension's format (with the usual retry), scaled to fit maxWidth ×
// maxHeight keeping its aspect ratio (never enlarged) and raised to 24 bits.
// A JPEG bigger than the box is decoded at a reduced scale first, since
// only the scaled result is shown. For Damaged, message holds the text for
// the user.
GuardedLoad LoadImageGuarded(RasterImage& image, const std::string& path, int maxWidth,
                             int maxHeight, std::string* message = nullptr);

// A width × height 24-bit field of one colour with the picture centred on
// it (cut where it is larger): the thumbnail cell as the list shows it.
bool ComposeOnField(const RasterImage& picture, int width, int height, RgbQuad field,
                    RasterImage& out);

} // namespace orvo
