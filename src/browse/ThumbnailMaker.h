#pragma once

#include "image/LoadImageGuarded.h"
#include "image/RasterImage.h"

#include <string>

namespace orvo {

// The thumbnail of a file for a browse window, fitted into edge × edge
// keeping its aspect ratio: taken from the shared thumbnail cache when it
// holds a current one, otherwise decoded and stored there for the next
// time. Safe to call from several threads at once.
//
// Loaded: out holds the picture (24 bits). UseIcon: the file is not a
// picture this program decodes, or it vanished or cannot be read; the row
// keeps its icon. Damaged: a picture file whose content cannot be decoded;
// message holds the text for the user.
GuardedLoad MakeThumbnail(const std::string& path, int edge, RasterImage& out,
                          std::string* message = nullptr);

} // namespace orvo
